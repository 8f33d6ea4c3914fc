#pragma once
// The push button, the XML element "button": a four-cell image strip for
// its states (0 normal, 1 pressed, 2 mouse over and after a release, 3
// disabled), a caption on one line or word-wrapped, the sound
// "soundMouseEnter" when the mouse enters and "soundName" on a click.
//
// Messages to its receivers, each with the button's name as text: 10 when
// pressed, 11 when released after a press on it, 12 (the click) right
// after 11. A drag that starts on it cancels the click. Control's own codes
// go out besides (5, 6, 7 and the drag codes).
//
// XML attributes: Control's, the image's, the text's and the sounds', then
// "multiline" and "interval" (extra pixels between wrapped lines). The
// image is read after Control's attributes, so it sizes the button to one
// cell. Saved, a four-cell strip in one loop leaves out "imageLoop" and
// "imageCell" (the button sets them itself), and a multiline caption keeps
// its line breaks.
//
// Editor: Control's page, "Button properties" ("Multiline", "Interval"),
// then the pages of the text (whose "Text" row shows the caption with its
// line breaks), the image and the sounds.
#include <string>
#include <vector>

#include "model/Control.h"
#include "properties/ImageProperty.h"
#include "properties/SoundProperty.h"
#include "widgets/CaptionedText.h"

namespace HLF {

template <class Owner>
class PropertyTable;

// Codes a button sends to its receivers.
enum ButtonMessageCode {
  BUTTON_MSG_PRESSED = 10,
  BUTTON_MSG_RELEASED = 11,
  BUTTON_MSG_CLICKED = 12,
};

// The cells of a button's image strip.
enum ButtonCell {
  BUTTON_CELL_NORMAL = 0,
  BUTTON_CELL_PRESSED = 1,
  BUTTON_CELL_OVER = 2,
  BUTTON_CELL_DISABLED = 3,
};

class Button : public Control, public ImageProperty, public CaptionedText, public SoundProperty {
 public:
  Button();
  explicit Button(const std::wstring& name);

  bool IsKindOf(const std::string& className) const override {
    return className == "Button" || Control::IsKindOf(className) || ImageProperty::IsKindOf(className) ||
           CaptionedText::IsKindOf(className) || SoundProperty::IsKindOf(className);
  }
  ~Button() override = default;
  // "Button: Name: " name " Text: " text.
  std::wstring Dump() const override;
  // Disabling runs the leave handler, then shows cell 3; enabling shows
  // cell 2 under the mouse, else 0.
  void SetEnabled(bool enabled) override;
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  void OnMouseEnter() override;
  void OnMouseLeave() override;
  void OnMouseDown(const LLF::Message& msg) override;
  // Control's handling (code 7), then, after a press on the button, cell
  // 2, code 11 and the click.
  void OnMouseUp(const LLF::Message& msg) override;
  // A dragged button is not clicked by the release.
  bool OnDragStart(const LLF::Point& mouse) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;

  // The click: when the button can take messages, the sound "soundName",
  // then code 12.
  virtual void OnClick(const LLF::Message& msg);
  virtual void InitDefaults();

 private:
  static const PropertyTable<Button>& Properties();
  void SendNamed(int code);
};

}  // namespace HLF
