#include "widgets/Edit.h"

#include <algorithm>
#include <memory>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "font/Font.h"
#include "font/TextDrawParams.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kEditPage[] = L"Edit properties";
const wchar_t kTextPage[] = L"Text properties";

bool IsAllowed(const std::wstring& allowed, wchar_t c) {
  return allowed.find(c) != std::wstring::npos;
}

// Sets read from files get a blank so that names can hold one; a set that
// has one already is left as it is, or every save and load would add
// another.
std::wstring WithBlank(std::wstring chars) {
  if (!IsAllowed(chars, L' ')) {
    chars += L' ';
  }
  return chars;
}

int TextWidth(const LLF::Font& font, const std::wstring& text) {
  LLF::TextDrawParams params;
  params.text = text;
  return font.GetTextWidth(params);
}

}  // namespace

Edit::Edit() {
  InitDefaults();
}

Edit::Edit(const std::wstring& name, const std::wstring& text) : Control(name) {
  InitDefaults();
  SetText(text);
  _allowedChars = WithBlank(_allowedChars);
}

void Edit::InitDefaults() {
  _size = LLF::Point(100, 30);
  _tag = L"edit";
  TextProperty::SetOwner(this);
  ImageProperty::SetOwner(this);
  LLF::Color back;
  LLF::Color line;
  LLF::Color over;
  LLF::Color pressed;
  GetStateColors(back, line, over, pressed);
  SetStateColors(back, line, over, over);
}

std::wstring Edit::Dump() const {
  return L"Edit: Name: " + GetName() + L" Text: " + GetText();
}

void Edit::SetText(const std::wstring& text) {
  TextProperty::SetText(text);
  _caret = static_cast<unsigned>(text.size());
}

void Edit::SetStateColors(const LLF::Color& back, const LLF::Color& line, const LLF::Color& over,
                          const LLF::Color& pressed) {
  (void)pressed;
  ImageProperty::SetStateColors(back, line, over, over);
}

void Edit::SetBlinkClock(LLF::Timer::Clock clock) {
  const bool started = _blinkTimer.IsStarted();
  _blinkTimer = LLF::Timer(clock);
  if (started) {
    _blinkTimer.Start(false);
  }
}

// ---------------------------------------------------------------------------
// Settings

void Edit::SetAllowedChars(const std::wstring& chars) {
  _allowedChars = chars;
  FilterText();
}

void Edit::SetActive(bool active) {
  _mouseActive = active;
  if (_activeAlways) {
    return;
  }
  if (active) {
    _blinkTimer.Start(false);
  } else {
    _blinkTimer.Stop();
  }
}

void Edit::SetActiveAlways(bool always) {
  _activeAlways = always;
  if (always) {
    _blinkTimer.Start(false);
  } else {
    _blinkTimer.Stop();
  }
}

void Edit::SetFitToWidth(bool fit) {
  _fitToWidth = fit;
}

void Edit::SetMaxLength(int length) {
  _maxLength = length;
}

void Edit::SetBlinkPeriod(unsigned period) {
  _blinkPeriod = period;
}

// ---------------------------------------------------------------------------
// Keys

void Edit::OnMouseEnter() {
  SetActive(true);
  Control::OnMouseEnter();
}

void Edit::OnMouseLeave() {
  SetActive(false);
  Control::OnMouseLeave();
}

bool Edit::ProcessMessage(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return true;
  }
  if (msg.GetSender() == &LLF::AppWindow::GetInstance() && msg.GetCode() == LLF::WMSG_KEY_DOWN &&
      (_mouseActive || _activeAlways)) {
    TakeKey(msg.GetParam(), msg.TextRef());
    NotifyText();
  }
  return Control::ProcessMessage(msg);
}

void Edit::TakeKey(int key, const std::wstring& typed) {
  _blinkTime = 0;
  std::wstring text = GetText();
  const unsigned length = static_cast<unsigned>(text.size());
  switch (key) {
    case LLF::KEY_BACKSPACE:
      if (text.empty()) {
        break;
      }
      if (_caret >= length) {
        text.pop_back();
        _caret = length - 1;
      } else if (_caret > 0) {
        text.erase(_caret - 1, 1);
        --_caret;
      }
      break;
    case LLF::KEY_HOME:
      _caret = 0;
      break;
    case LLF::KEY_END:
      _caret = length;
      break;
    case LLF::KEY_DELETE:
      if (_caret < length) {
        text.erase(_caret, 1);
      }
      break;
    case LLF::KEY_LEFT:
      if (_caret > 0) {
        --_caret;
      }
      break;
    case LLF::KEY_RIGHT:
      if (_caret < length) {
        ++_caret;
      }
      break;
    default: {
      if (typed.empty()) {
        return;
      }
      if (_caret >= length) {
        text += typed;
      } else {
        text.insert(_caret, typed);
      }
      // The caret moves past what the filter keeps of the typed text; a key
      // may type several characters at once.
      _caret += static_cast<unsigned>(
          std::count_if(typed.begin(), typed.end(), [&](wchar_t c) { return IsAllowed(_allowedChars, c); }));
      StoreText(text);
      FilterText();
      return;
    }
  }
  StoreText(text);
}

void Edit::NotifyText() {
  SendCode(EDIT_MSG_TEXT, 0, 0, 0, GetText());
}

void Edit::FilterText() {
  std::wstring text = GetText();
  std::erase_if(text, [&](wchar_t c) { return !IsAllowed(_allowedChars, c); });
  if (_fitToWidth) {
    if (const LLF::Font* font = GetFont()) {
      while (!text.empty() && TextWidth(*font, text) > GetSize().x) {
        text.pop_back();
      }
    }
  }
  // Any negative length means no limit.
  if (_maxLength >= 0 && text.size() > static_cast<size_t>(_maxLength)) {
    text.resize(static_cast<size_t>(_maxLength));
  }
  _caret = std::min(_caret, static_cast<unsigned>(text.size()));
  StoreText(text);
}

// ---------------------------------------------------------------------------
// Drawing

void Edit::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  if (IsRenderable()) {
    rs->PushTransform(context.matrix);
    DrawImage(rs, context);
    const LLF::Vector2 textPosition = DrawText(rs, context);
    DrawCaret(rs, textPosition);
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

void Edit::DrawCaret(LLF::IRenderSystem* rs, const LLF::Vector2& textPosition) {
  const LLF::Font* font = GetFont();
  if (!rs || !(_mouseActive || _activeAlways) || !font) {
    return;
  }
  _blinkTime += static_cast<unsigned>(std::max(_blinkTimer.GetDelta(), 0));
  // The phase, not a count of periods behind: after a long frame the caret
  // is at once where the clock says.
  if (_blinkPeriod > 0) {
    _blinkTime %= _blinkPeriod;
    if (_blinkTime >= _blinkPeriod / 2) {
      return;
    }
  }
  const std::wstring text = GetText();
  const float x = textPosition.x + static_cast<float>(TextWidth(*font, text.substr(0, _caret))) + 1.0f;
  LLF::TextDrawParams line;
  line.text = text;
  const float half = static_cast<float>(font->GetTextHeight(line)) / 2.0f;
  LLF::Color color;
  LLF::Color over;
  LLF::Color pressed;
  LLF::Color disabled;
  GetColors(color, over, pressed, disabled);
  rs->DrawLine(LLF::Vector2(x, textPosition.y - half), LLF::Vector2(x, textPosition.y - half + 4.0f * half),
               color);
}

// ---------------------------------------------------------------------------
// XML and editor

const PropertyTable<Edit>& Edit::Properties() {
  using P = PropertyTable<Edit>;
  static const P table(
      kEditPage,
      {
          P::Custom(
              L"allowedChars", [](const Edit& e) { return e._allowedChars; },
              [](Edit& e, const LLF::XmlAttribute& value) {
                e.SetAllowedChars(WithBlank(GetCharset(value.GetValue())));
              })
              .EditWith([](Edit& e, const std::wstring& value) { e.SetAllowedChars(value); })
              .Row(L"Allowed chars"),
          P::Typed(L"maxLength", &Edit::GetMaxLength, &Edit::SetMaxLength).Row(L"Max length"),
          P::Typed(L"activeAlways", &Edit::IsActiveAlways, &Edit::SetActiveAlways).Row(L"Active always"),
      });
  return table;
}

bool Edit::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!Control::LoadFromXml(element) || !Properties().Load(*this, element)) {
    return false;
  }
  return LoadTextProps(element) && LoadImageProps(element);
}

LLF::XmlElement* Edit::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  const std::unique_ptr<Control> made(CreateInstance());
  const Edit& reference = dynamic_cast<const Edit&>(*made);
  Properties().Save(*this, reference, *element);
  SaveTextProps(*element, reference);
  SaveImageProps(*element, reference);
  return element;
}

void Edit::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
  groups.push_back(TextProperty::GetPropertyGroup());
  groups.push_back(ImageProperty::GetPropertyGroup());
}

bool Edit::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                 const std::wstring& value) {
  if (page == kEditPage) {
    return Properties().Edit(*this, label, value);
  }
  if (page == kTextPage) {
    return TextProperty::SetPropertyFromPage(label, value);
  }
  if (page == ImageProperty::kPageTitle) {
    return ImageProperty::SetPropertyFromPage(label, value);
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

Control* Edit::CreateInstance() const {
  return new Edit();
}

}  // namespace HLF
