#pragma once
// The text of a control, drawn with a bitmap font (owned by the fonts
// manager): one line, or lines the owner has split itself, laid out by an
// alignment inside the owner's rectangle less its sides offset, with
// colours by the owner's state (disabled over pressed over mouse over), a
// shift while pressed, a permanent offset and an optional drop shadow.
//
// Everything is placed in the owner's own coordinates: the owner has pushed
// its transform, which scales and turns lines, gaps and the shadow's offset
// together with the glyphs, so a scaled control shows its text where it
// shows its box.
//
// XML attributes on the control's element, read in this order and written
// in the same order when they differ from a reference object:
// "drawShadow", "shadowColor", "shadowOffset" (read only when all three are
// there, so all three are written when one differs), "alignment", "text",
// "font" (an asset id of the fonts manager, or "##font_editor;" for the
// developer editor's font), "textPermanentOffset", "textPressShift",
// "textColor", "textColorDisabled", "textColorMouseOver",
// "textColorMousePressed".
//
// Editor page "Text properties": "Shadow enabled", "Shadow color",
// "Shadow offset", "Alignment", "Text", "Font" (a font row), "Permanent
// offset", "Press offset", "Color", "Color disabled", "Color over",
// "Color pressed".
#include <string>
#include <vector>

#include "font/TextDrawParams.h"
#include "math/Color.h"
#include "math/Transform.h"
#include "math/Vector2.h"
#include "properties/ControlProperty.h"

namespace LLF {
class Font;
class IRenderSystem;
class XmlElement;
}  // namespace LLF

namespace HLF {

template <class Owner>
class PropertyTable;

// Alignment bits. Of each axis the first bit set in this order wins; with
// none the line starts at x = 0 and the block at y = 0.
enum TextAlignment : unsigned {
  TEXT_ALIGN_LEFT = 1,
  TEXT_ALIGN_CENTER = 2,
  TEXT_ALIGN_RIGHT = 4,
  TEXT_ALIGN_TOP = 8,
  TEXT_ALIGN_MIDDLE = 16,
  TEXT_ALIGN_BOTTOM = 32,
};

class TextProperty : public ControlProperty {
 public:
  TextProperty();

  bool IsKindOf(const std::string& className) const override {
    return className == "TextProperty" || ControlProperty::IsKindOf(className);
  }
  // Final, so a control class cannot catch the pages of all its properties
  // with one override.
  bool SetPropertyFromPage(const std::wstring& label, const std::wstring& value) final;
  void FillPropertyPage() final;
  ~TextProperty() override = default;

  virtual unsigned GetAlignment() const { return _alignment; }
  virtual std::wstring GetText() const { return _drawParams.text; }
  virtual LLF::Font* GetFont() const { return _font; }
  virtual void GetColors(LLF::Color& normal, LLF::Color& over, LLF::Color& pressed,
                         LLF::Color& disabled) const;
  virtual LLF::Vector2 GetPressShift() const { return _textPressShift; }
  virtual LLF::Vector2 GetTextOffset() const { return _textPermanentOffset; }
  virtual void SetAlignment(unsigned alignment) { _alignment = alignment; }
  virtual void SetText(const std::wstring& text) { _drawParams.text = text; }
  // The font of the asset id; an unknown id logs, gives false and keeps
  // the font.
  virtual bool SetFont(const std::wstring& name);
  // Stores the font (not owned); null gives false and changes nothing.
  virtual bool SetFontObject(LLF::Font* font);
  virtual void SetColors(const LLF::Color& normal, const LLF::Color& over, const LLF::Color& pressed,
                         const LLF::Color& disabled);
  virtual void SetPressShift(const LLF::Vector2& shift) { _textPressShift = shift; }
  virtual void SetTextOffset(const LLF::Vector2& offset) { _textPermanentOffset = offset; }
  virtual void SetShadow(bool draw, const LLF::Vector2& offset, const LLF::Color& color);
  // Draws the lines one line height plus interval apart with the context's
  // alpha, at local coordinates (the owner has pushed its transform), and
  // returns the block's origin: press shift, permanent offset and vertical
  // start. The property's text is the last line drawn afterwards. Without a
  // font or an owner nothing is drawn and (0, 0) comes back.
  virtual LLF::Vector2 DrawLines(LLF::IRenderSystem* rs, const LLF::Transform& context,
                                 const std::vector<std::wstring>& lines, int interval);
  // The property's own text as one line.
  virtual LLF::Vector2 DrawText(LLF::IRenderSystem* rs, const LLF::Transform& context);
  // Reads the attributes present; false only when "font" asks for the
  // editor's font and the editor cannot be loaded (an unknown font id is
  // logged, not a failure).
  virtual bool LoadTextProps(LLF::XmlElement& element);
  // Adds the attributes whose values differ from the reference's.
  virtual void SaveTextProps(LLF::XmlElement& element, const TextProperty& reference) const;

  // The record lines are drawn and measured with; its text is the line
  // drawn last.
  const LLF::TextDrawParams& GetDrawParams() const { return _drawParams; }
  // The width lines are aligned in: the owner's less its sides offset (0
  // without an owner), held to the range of an int.
  int GetBoxWidth() const;
  void GetShadow(bool& draw, LLF::Vector2& offset, LLF::Color& color) const;
  // The name "font" is saved under: the font's asset id, else the editor's
  // marker when it is the loaded editor's font, else empty.
  std::wstring GetFontName() const;

  // The "font" value that names the developer editor's own font.
  static constexpr const wchar_t* kEditorFont = L"##font_editor;";

 private:
  static const PropertyTable<TextProperty>& Properties();
  // The font for a "font" value or the editor's "Font" row; false only when
  // the editor's font was asked for and the editor cannot be loaded.
  bool ApplyFontName(const std::wstring& name);
  LLF::Vector2 DrawBlock(LLF::IRenderSystem* rs, const LLF::Transform& context,
                         const std::vector<std::wstring>& lines, int interval);
  void DrawLine(LLF::IRenderSystem* rs, const LLF::Vector2& position, const LLF::Color& color) const;

  unsigned _alignment = TEXT_ALIGN_LEFT;
  LLF::TextDrawParams _drawParams;
  LLF::Color _textColor = LLF::Color(255, 255, 255, 255);
  LLF::Color _textColorMouseOver = LLF::Color(255, 255, 255, 255);
  LLF::Color _textColorMousePressed = LLF::Color(255, 255, 255, 255);
  LLF::Color _textColorDisabled = LLF::Color(255, 255, 255, 255);
  LLF::Vector2 _textPressShift;
  LLF::Vector2 _textPermanentOffset;
  LLF::Font* _font = nullptr;
  bool _drawShadow = false;
  LLF::Vector2 _shadowOffset = LLF::Vector2(2.0f, 2.0f);
  LLF::Color _shadowColor = LLF::Color(0, 0, 0, 64);
};

// The characters a text field accepts, by charset name: one of the fixed
// lists ("english_charset", "german_rich_charset", ...); for a name that
// starts with "file_", the whole text of the file named by the rest (empty,
// with a log line, when it cannot be opened or read); else the name itself.
std::wstring GetCharset(const std::wstring& name);

}  // namespace HLF
