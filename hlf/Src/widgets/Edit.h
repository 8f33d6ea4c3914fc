#pragma once
// The one-line text entry, the XML element "edit": it takes the window's
// key presses while the mouse is over it (or always, when so set), keeps a
// caret, lets in only the characters of its allowed set, can cut its text
// to a length and to its own width, and draws a blinking caret (shown in
// the first half of each period, and at once after a key). After every key
// it takes, changed or not, it sends code 10 with its text.
//
// Keys: Backspace, Delete, Home, End, Left and Right move and delete; any
// other key inserts the characters it typed at the caret, which moves past
// those that are allowed; then the text is filtered (characters not
// allowed removed, the width and the length enforced, the caret kept
// inside).
//
// XML attributes: Control's, then "allowedChars" (a charset name, "file_"
// and a path, or the characters themselves; a blank is added when the set
// has none, so names can be typed), "maxLength" (-1: no limit) and
// "activeAlways", then the text's and the image's.
//
// Editor: Control's page, "Edit properties" ("Allowed chars", taken as
// typed, "Max length", "Active always"), then the pages of the text and
// the image.
#include <string>
#include <vector>

#include "core/Timer.h"
#include "model/Control.h"
#include "properties/ImageProperty.h"
#include "properties/TextProperty.h"

namespace HLF {

template <class Owner>
class PropertyTable;

// The code an edit sends after each key it takes.
enum EditMessageCode { EDIT_MSG_TEXT = 10 };

class Edit : public Control, public TextProperty, public ImageProperty {
 public:
  Edit();
  // The text with the caret at its end.
  Edit(const std::wstring& name, const std::wstring& text);

  bool IsKindOf(const std::string& className) const override {
    return className == "Edit" || Control::IsKindOf(className) || TextProperty::IsKindOf(className) ||
           ImageProperty::IsKindOf(className);
  }
  ~Edit() override = default;
  // "Edit: Name: " name " Text: " text.
  std::wstring Dump() const override;
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  // A key down from the window while active; an edit that cannot take
  // messages keeps them (true).
  bool ProcessMessage(const LLF::Message& msg) override;
  void OnMouseEnter() override;
  void OnMouseLeave() override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;
  // The text as it is, not filtered; the caret goes to its end.
  void SetText(const std::wstring& text) override;
  // The pressed colour is always the mouse-over one.
  void SetStateColors(const LLF::Color& back, const LLF::Color& line, const LLF::Color& over,
                      const LLF::Color& pressed) override;

  virtual std::wstring GetAllowedChars() const { return _allowedChars; }
  // Whether the mouse is over the edit, so that it takes keys. The tree's
  // activation flag of an edit is never asked for; this answers in its
  // place.
  bool IsActive() const override { return _mouseActive; }
  virtual bool IsActiveAlways() const { return _activeAlways; }
  virtual int GetMaxLength() const { return _maxLength; }
  virtual unsigned GetBlinkPeriod() const { return _blinkPeriod; }
  // Stores the set and filters the text at once.
  virtual void SetAllowedChars(const std::wstring& chars);
  // Unless active always, the blink timer starts afresh or stops.
  virtual void SetActive(bool active);
  virtual void SetActiveAlways(bool always);
  // The limits apply from the next key (or FilterText) on.
  virtual void SetFitToWidth(bool fit);
  virtual void SetMaxLength(int length);
  virtual void SetBlinkPeriod(unsigned period);
  // Code 10 with the text.
  virtual void NotifyText();
  // The caret, when active with a font and in the shown half of the blink,
  // as a line twice the text height beside the text drawn at textPosition.
  virtual void DrawCaret(LLF::IRenderSystem* rs, const LLF::Vector2& textPosition);
  virtual void FilterText();

  bool IsFitToWidth() const { return _fitToWidth; }
  // Index before which typed text goes, 0 to the text's length.
  unsigned GetCaret() const { return _caret; }
  // The clock of the blink timer (tests move it by hand).
  void SetBlinkClock(LLF::Timer::Clock clock);

  // The set an edit allows by default.
  static constexpr const wchar_t* kDefaultAllowedChars =
      L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.! ";

 private:
  static const PropertyTable<Edit>& Properties();
  void InitDefaults();
  // One key: a move, a deletion, or the characters it typed.
  void TakeKey(int key, const std::wstring& typed);
  // The text property's own setter: the caret stays where it is.
  void StoreText(const std::wstring& text) { TextProperty::SetText(text); }

  bool _mouseActive = false;
  bool _activeAlways = false;
  std::wstring _allowedChars = kDefaultAllowedChars;
  bool _fitToWidth = false;
  int _maxLength = -1;
  unsigned _caret = 0;
  LLF::Timer _blinkTimer;
  unsigned _blinkTime = 0;
  unsigned _blinkPeriod = 1000;
};

}  // namespace HLF
