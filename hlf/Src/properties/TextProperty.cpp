#include "properties/TextProperty.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "font/FontsManager.h"
#include "io/File.h"
#include "io/TextFile.h"
#include "model/Control.h"
#include "model/EditorServices.h"
#include "properties/ElementAttributes.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

// ---------------------------------------------------------------------------
// Text property

namespace {

const wchar_t* const kPageTitle = L"Text properties";

// Where a stretch of the given length starts in a box of the given length
// along one axis, whose three alignment bits are start, start << 1 and
// start << 2: the first one set wins; with none it starts at 0. Worked in
// doubles, so lengths from a file cannot overflow.
double AlignedStart(unsigned alignment, unsigned start, double box, double length) {
  if (alignment & start) {
    return 0.0;
  }
  if (alignment & (start << 1)) {
    return std::trunc(box / 2.0 - length / 2.0);
  }
  if (alignment & (start << 2)) {
    return box - length;
  }
  return 0.0;
}

}  // namespace

TextProperty::TextProperty()
    : _drawParams(std::wstring(), LLF::Vector2(), LLF::Color(255, 255, 255, 255), 0.0f,
                  LLF::Vector2(1.0f, 1.0f), 1, LLF::Vector2(), LLF::Vector2()) {
  // Lines are placed by position alone, under the owner's transform.
  _drawParams.transform = 0;
}

void TextProperty::GetColors(LLF::Color& normal, LLF::Color& over, LLF::Color& pressed,
                             LLF::Color& disabled) const {
  normal = _textColor;
  over = _textColorMouseOver;
  pressed = _textColorMousePressed;
  disabled = _textColorDisabled;
}

void TextProperty::SetColors(const LLF::Color& normal, const LLF::Color& over, const LLF::Color& pressed,
                             const LLF::Color& disabled) {
  _textColor = normal;
  _textColorMouseOver = over;
  _textColorMousePressed = pressed;
  _textColorDisabled = disabled;
}

bool TextProperty::SetFont(const std::wstring& name) {
  LLF::Font* font = LLF::FontsManager::GetInstance().FindResource(name);
  if (!font) {
    LLF::Log::GetInstance().Write(L"Error: Can't set font " + name);
    return false;
  }
  return SetFontObject(font);
}

bool TextProperty::SetFontObject(LLF::Font* font) {
  if (!font) {
    return false;
  }
  _font = font;
  return true;
}

void TextProperty::SetShadow(bool draw, const LLF::Vector2& offset, const LLF::Color& color) {
  _drawShadow = draw;
  _shadowOffset = offset;
  _shadowColor = color;
}

void TextProperty::GetShadow(bool& draw, LLF::Vector2& offset, LLF::Color& color) const {
  draw = _drawShadow;
  offset = _shadowOffset;
  color = _shadowColor;
}

std::wstring TextProperty::GetFontName() const {
  const std::wstring id = LLF::FontsManager::GetInstance().FindResourceId(_font);
  if (!id.empty() || !_font) {
    return id;
  }
  // The editor's font need not be held by the manager; its marker loads it
  // back. Asking must not load the editor.
  EditorServices* editor = EditorServices::GetInstance();
  if (editor && editor->IsInitialized() && editor->GetFont() == _font) {
    return kEditorFont;
  }
  return std::wstring();
}

bool TextProperty::ApplyFontName(const std::wstring& name) {
  if (name != kEditorFont) {
    SetFont(name);
    return true;
  }
  LLF::Font* font = EditorServices::GetEditorFont();
  if (!font) {
    return false;
  }
  SetFontObject(font);
  return true;
}

int TextProperty::GetBoxWidth() const {
  if (!_owner) {
    return 0;
  }
  const double width = static_cast<double>(_owner->GetSize().x) -
                       (static_cast<double>(_owner->GetSidesOffset().x) + _owner->GetSidesOffset().width);
  return static_cast<int>(std::clamp(width, static_cast<double>(std::numeric_limits<int>::min()),
                                     static_cast<double>(std::numeric_limits<int>::max())));
}

LLF::Vector2 TextProperty::DrawLines(LLF::IRenderSystem* rs, const LLF::Transform& context,
                                     const std::vector<std::wstring>& lines, int interval) {
  return DrawBlock(rs, context, lines, interval);
}

LLF::Vector2 TextProperty::DrawText(LLF::IRenderSystem* rs, const LLF::Transform& context) {
  return DrawBlock(rs, context, {_drawParams.text}, 0);
}

LLF::Vector2 TextProperty::DrawBlock(LLF::IRenderSystem* rs, const LLF::Transform& context,
                                     const std::vector<std::wstring>& lines, int interval) {
  if (!rs || !_font || !_owner) {
    return LLF::Vector2();
  }
  // The box is the owner's size less its sides offset; the block's origin
  // stays at the owner's corner.
  const LLF::Point size = _owner->GetSize();
  const LLF::Rect sides = _owner->GetSidesOffset();
  const double boxWidth = static_cast<double>(size.x) - (static_cast<double>(sides.x) + sides.width);
  const double boxHeight = static_cast<double>(size.y) - (static_cast<double>(sides.y) + sides.height);

  LLF::Vector2 origin;
  LLF::Color color = _textColor;
  if (_owner->IsMouseOver()) {
    color = _textColorMouseOver;
  }
  if (_owner->IsPressed()) {
    color = _textColorMousePressed;
    origin += _textPressShift;
  }
  if (!_owner->IsEnabled()) {
    color = _textColorDisabled;  // the press shift stays
  }
  color = Faded(color, context.alpha);
  origin += _textPermanentOffset;

  const double count = static_cast<double>(lines.size());
  const double step = static_cast<double>(_font->GetTextHeight(_drawParams)) + interval;
  const double block = count * step - interval;
  origin.y += static_cast<float>(AlignedStart(_alignment, TEXT_ALIGN_TOP, boxHeight, block));
  const LLF::Color shadowColor = Faded(_shadowColor, context.alpha);
  for (size_t i = 0; i < lines.size(); ++i) {
    _drawParams.text = lines[i];
    const double left = AlignedStart(_alignment, TEXT_ALIGN_LEFT, boxWidth, _font->GetTextWidth(_drawParams));
    const LLF::Vector2 position =
        origin + LLF::Vector2(static_cast<float>(left), static_cast<float>(static_cast<double>(i) * step));
    if (_drawShadow) {
      DrawLine(rs, position + _shadowOffset, shadowColor);
    }
    DrawLine(rs, position, color);
  }
  return origin;
}

void TextProperty::DrawLine(LLF::IRenderSystem* rs, const LLF::Vector2& position,
                            const LLF::Color& color) const {
  LLF::TextDrawParams params = _drawParams;
  params.position = position;
  params.color = color;
  rs->DrawText(*_font, params);
}

namespace {

// A text colour, set through SetColors with the other three as they are.
// Slots in SetColors' order: normal, over, pressed, disabled.
PropertyTable<TextProperty>::Field ColorField(const wchar_t* attribute, LLF::Color TextProperty::*member,
                                              int slot) {
  return PropertyTable<TextProperty>::Typed(attribute, member,
                                            [slot](TextProperty& p, const LLF::Color& color) {
                                              LLF::Color colors[4];
                                              p.GetColors(colors[0], colors[1], colors[2], colors[3]);
                                              colors[slot] = color;
                                              p.SetColors(colors[0], colors[1], colors[2], colors[3]);
                                            });
}

}  // namespace

const PropertyTable<TextProperty>& TextProperty::Properties() {
  using P = PropertyTable<TextProperty>;
  using T = TextProperty;
  static const P table(
      kPageTitle,
      {
          // The shadow is read only from all three attributes together, so
          // all three are written when one differs.
          P::Typed(L"drawShadow", &T::_drawShadow,
                   [](T& p, bool draw) { p.SetShadow(draw, p._shadowOffset, p._shadowColor); })
              .Group(1)
              .Row(L"Shadow enabled"),
          P::Typed(L"shadowColor", &T::_shadowColor,
                   [](T& p, const LLF::Color& color) { p.SetShadow(p._drawShadow, p._shadowOffset, color); })
              .Group(1)
              .Row(L"Shadow color"),
          P::Typed(
              L"shadowOffset", &T::_shadowOffset,
              [](T& p, const LLF::Vector2& offset) { p.SetShadow(p._drawShadow, offset, p._shadowColor); })
              .Group(1)
              .Row(L"Shadow offset"),
          P::Typed(
              L"alignment", [](const T& p) { return static_cast<int>(p._alignment); },
              [](T& p, int alignment) { p.SetAlignment(static_cast<unsigned>(alignment)); })
              .Row(L"Alignment"),
          P::Typed(
              L"text", [](const T& p) { return p._drawParams.text; }, &T::SetText)
              .Row(L"Text"),
          // An unknown font id is logged, not a failure; the editor's font
          // that cannot be loaded fails the read. A font without a name to
          // load it by is left out.
          P::Custom(
              L"font", [](const T& p) { return p.GetFontName(); },
              [](T& p, const LLF::XmlAttribute& value) { return p.ApplyFontName(value.GetValue()); })
              .FontRow(L"Font"),
          P::Typed(L"textPermanentOffset", &T::_textPermanentOffset, &T::SetTextOffset)
              .Row(L"Permanent offset"),
          P::Typed(L"textPressShift", &T::_textPressShift, &T::SetPressShift).Row(L"Press offset"),
          ColorField(L"textColor", &T::_textColor, 0).Row(L"Color"),
          ColorField(L"textColorDisabled", &T::_textColorDisabled, 3).Row(L"Color disabled"),
          ColorField(L"textColorMouseOver", &T::_textColorMouseOver, 1).Row(L"Color over"),
          ColorField(L"textColorMousePressed", &T::_textColorMousePressed, 2).Row(L"Color pressed"),
      });
  return table;
}

bool TextProperty::LoadTextProps(LLF::XmlElement& element) {
  return Properties().Load(*this, element);
}

void TextProperty::SaveTextProps(LLF::XmlElement& element, const TextProperty& reference) const {
  Properties().Save(*this, reference, element);
}

void TextProperty::FillPropertyPage() {
  _propertyGroup = Properties().Page(*this);
}

bool TextProperty::SetPropertyFromPage(const std::wstring& label, const std::wstring& value) {
  return Properties().Edit(*this, label, value) || ControlProperty::SetPropertyFromPage(label, value);
}

// ---------------------------------------------------------------------------
// Charsets

namespace {

const wchar_t kDigits[] = L"0123456789";
const wchar_t kPlainEnd[] = L".!";
const wchar_t kCapitalEnd[] = L"!&',.?";
// The punctuation of the rich lists; Spanish has its inverted marks before
// the ones they open.
std::wstring Rich(bool inverted) {
  return std::wstring(L"'`\"") + (inverted ? L"¡!¿?" : L"!?") + L"@#~%_&*(){}[]=\\+|-<>,./;:©®™";
}

const std::map<std::wstring, std::wstring>& FixedCharsets() {
  static const std::map<std::wstring, std::wstring> table = [] {
    const std::wstring latinUpper = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::wstring latinLower = L"abcdefghijklmnopqrstuvwxyz";
    const std::wstring germanUpper = latinUpper + L"ÄÖÜß";
    const std::wstring germanLower = latinLower + L"äöü";
    const std::wstring spanishUpper = latinUpper + L"ÁÉÍÓÚÜÑ";
    const std::wstring spanishLower = latinLower + L"áéíóúüñ";
    const std::wstring frenchUpper = latinUpper + L"ÀÂÇÉÈÊËÎÏÔÛÙÜŸÑŒÆ";
    const std::wstring frenchRichLower = latinLower + L"àâçéèêëîïôûùüÿñ";
    const std::wstring frenchLower = frenchRichLower + L"œæ";
    const std::wstring russianUpper = L"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
    const std::wstring russianLower = L"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
    // "Ch" is one letter of the alphabet, listed as its two characters.
    const std::wstring czechUpper = L"AÁBCČDĎEÉĚFGHChIÍJKLMNŇOÓPQRŘSŠTŤUÚŮVWXYÝZŽ";
    const std::wstring czechLower = L"aábcčdďeéěfghchiíjklmnňoópqrřsštťuúůvwxyýzž";
    const std::wstring rich = Rich(false);
    return std::map<std::wstring, std::wstring>{
        {L"english_charset", latinUpper + latinLower + kDigits + kPlainEnd},
        {L"english_rich_charset", latinUpper + latinLower + kDigits + rich},
        {L"german_charset", germanUpper + germanLower + kDigits + kPlainEnd},
        {L"german_rich_charset", germanUpper + germanLower + kDigits + rich},
        {L"spanish_charset", spanishUpper + spanishLower + kDigits + L".¡!¿?"},
        {L"spanish_rich_charset", spanishUpper + spanishLower + kDigits + Rich(true)},
        {L"french_charset", frenchUpper + frenchLower + kDigits + kPlainEnd},
        {L"french_rich_charset", frenchUpper + frenchRichLower + kDigits + rich},
        {L"russian_charset", russianUpper + russianLower + kDigits + kPlainEnd},
        {L"russian_rich_charset", russianUpper + russianLower + kDigits + rich},
        {L"russian_capital_charset", russianUpper + kCapitalEnd},
        {L"czech_charset", czechUpper + czechLower + kDigits + kPlainEnd},
        {L"czech_rich_charset", czechUpper + czechLower + kDigits + rich},
        {L"czech_capital_charset", czechUpper + kCapitalEnd},
    };
  }();
  return table;
}

const wchar_t kFilePrefix[] = L"file_";

}  // namespace

std::wstring GetCharset(const std::wstring& name) {
  const auto& table = FixedCharsets();
  const auto known = table.find(name);
  if (known != table.end()) {
    return known->second;
  }
  // Only a leading "file_" names a file: a list that merely holds those
  // characters somewhere is a list.
  if (name.compare(0, std::wstring(kFilePrefix).size(), kFilePrefix) != 0) {
    return name;
  }
  const std::wstring path = name.substr(std::wstring(kFilePrefix).size());
  LLF::TextFile file;
  std::wstring text;
  if (!file.Open(path, LLF::TextFile::ENCODING_ANSI, LLF::FILEOPS_READ, LLF::FILEOPEN_OPENEXISTING)) {
    LLF::Log::GetInstance().Write(L"Error: can't open charset file " + path);
    return std::wstring();
  }
  if (!file.ReadText(text)) {
    LLF::Log::GetInstance().Write(L"Error: can't read charset file " + path);
    return std::wstring();
  }
  return text;
}

}  // namespace HLF
