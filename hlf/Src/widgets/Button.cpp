#include "widgets/Button.h"

#include <memory>

#include "image/Image.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kButtonPage[] = L"Button properties";
const wchar_t kTextPage[] = L"Text properties";

}  // namespace

Button::Button() {
  InitDefaults();
}

Button::Button(const std::wstring& name) : Control(name) {
  InitDefaults();
}

void Button::InitDefaults() {
  _tag = L"button";
  _size = LLF::Point(100, 30);
  SetAlignment(TEXT_ALIGN_CENTER | TEXT_ALIGN_MIDDLE);
  SetPressShift(LLF::Vector2(1.0f, 1.0f));
  ImageProperty::SetOwner(this);
  CaptionedText::SetOwner(this);
  SoundProperty::SetOwner(this);
  _pressed = false;
  GetCaption().SetMultiline(false);
  GetCaption().SetInterval(2);
}

std::wstring Button::Dump() const {
  return L"Button: Name: " + GetName() + L" Text: " + GetText();
}

void Button::SendNamed(int code) {
  SendCode(code, 0, 0, 0, GetName());
}

// ---------------------------------------------------------------------------
// Input

void Button::SetEnabled(bool enabled) {
  if (!enabled) {
    OnMouseLeave();
    SetCell(BUTTON_CELL_DISABLED);
  } else {
    SetCell(IsMouseOver() ? BUTTON_CELL_OVER : BUTTON_CELL_NORMAL);
  }
  Control::SetEnabled(enabled);
}

void Button::OnMouseEnter() {
  if (!CanProcessMessages()) {
    return;
  }
  Play(L"soundMouseEnter");
  SetCell(BUTTON_CELL_OVER);
  Control::OnMouseEnter();
}

void Button::OnMouseLeave() {
  if (!CanProcessMessages()) {
    return;
  }
  SetCell(BUTTON_CELL_NORMAL);
  _pressed = false;
  Control::OnMouseLeave();
}

void Button::OnMouseDown(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return;
  }
  _pressed = true;
  SetCell(BUTTON_CELL_PRESSED);
  SendNamed(BUTTON_MSG_PRESSED);
  Control::OnMouseDown(msg);
}

void Button::OnMouseUp(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return;
  }
  const bool wasPressed = _pressed;
  Control::OnMouseUp(msg);
  if (!wasPressed) {
    // A press cancelled by a drag leaves the pressed look behind; the
    // mouse is over the button now.
    if (GetCell() == BUTTON_CELL_PRESSED) {
      SetCell(BUTTON_CELL_OVER);
    }
    return;
  }
  SetCell(BUTTON_CELL_OVER);
  SendNamed(BUTTON_MSG_RELEASED);
  OnClick(msg);
}

bool Button::OnDragStart(const LLF::Point& mouse) {
  _pressed = false;
  return Control::OnDragStart(mouse);
}

void Button::OnClick(const LLF::Message& msg) {
  (void)msg;
  if (!CanProcessMessages()) {
    return;
  }
  Play(kClickSlot);
  SendNamed(BUTTON_MSG_CLICKED);
}

// ---------------------------------------------------------------------------
// Drawing

void Button::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  if (IsRenderable()) {
    rs->PushTransform(context.matrix);
    DrawImage(rs, context);
    DrawCaption(rs, context);
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

// ---------------------------------------------------------------------------
// XML and editor

const PropertyTable<Button>& Button::Properties() {
  using P = PropertyTable<Button>;
  static const P table(
      kButtonPage, {
                       P::Typed(L"multiline", &Button::IsMultiline, &Button::SetMultiline).Row(L"Multiline"),
                       P::Typed(L"interval", &Button::GetInterval, &Button::SetInterval).Row(L"Interval"),
                   });
  return table;
}

bool Button::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!Control::LoadFromXml(element) || !LoadImageProps(element) || !LoadTextProps(element) ||
      !LoadSoundProps(element)) {
    return false;
  }
  return Properties().Load(*this, element);
}

LLF::XmlElement* Button::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  const std::unique_ptr<Control> made(CreateInstance());
  const Button& reference = dynamic_cast<const Button&>(*made);
  Properties().Save(*this, reference, *element);
  SaveTextProps(*element, reference);
  SaveImageProps(*element, reference);
  SaveSoundProps(*element);
  const LLF::Image* image = GetImage();
  if (image && image->GetCellsCount() == 4 && image->GetLoopsCount() == 1) {
    element->RemoveAttribute(std::wstring(L"imageLoop"));
    element->RemoveAttribute(std::wstring(L"imageCell"));
  }
  SaveFullText(*element, reference);
  return element;
}

void Button::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
  groups.push_back(GetCaptionGroup());
  groups.push_back(ImageProperty::GetPropertyGroup());
  groups.push_back(SoundProperty::GetPropertyGroup());
}

bool Button::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                   const std::wstring& value) {
  if (page == kButtonPage) {
    return Properties().Edit(*this, label, value);
  }
  if (page == kTextPage) {
    return TextProperty::SetPropertyFromPage(label, value);
  }
  if (page == ImageProperty::kPageTitle) {
    return ImageProperty::SetPropertyFromPage(label, value);
  }
  if (page == SoundProperty::kPageTitle) {
    return SoundProperty::SetPropertyFromPage(label, value);
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

Control* Button::CreateInstance() const {
  return new Button();
}

}  // namespace HLF
