#include "widgets/Checkbox.h"

#include <memory>

#include "image/Image.h"
#include "properties/PropertyTable.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kCheckboxPage[] = L"Checkbox properties";

}  // namespace

Checkbox::Checkbox() {
  _checked = false;
  SetAlignment(TEXT_ALIGN_LEFT | TEXT_ALIGN_MIDDLE);
  SetBoxAlignment(1);
  _size = LLF::Point(100, 20);
  _tag = L"checkbox";
}

std::wstring Checkbox::Dump() const {
  return L"Checkbox: Name: " + GetName();
}

void Checkbox::OnClick(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return;
  }
  SetChecked(!_checked);
  Button::OnClick(msg);
}

void Checkbox::SetChecked(bool checked) {
  _checked = checked;
  SetLoop(checked ? 1 : 0);
}

void Checkbox::SetBoxAlignment(int alignment) {
  _boxAlignment = alignment;
  const int width = GetSize().x;
  if ((alignment & CHECKBOX_BOX_RIGHT) != 0) {
    if (const LLF::Image* image = GetImage()) {
      SetImageOffset(LLF::Vector2(static_cast<float>(width - static_cast<int>(image->GetCellWidth())), 0.0f));
      SetTextOffset(LLF::Vector2(0.0f, 0.0f));
    }
    return;
  }
  SetImageOffset(LLF::Vector2(0.0f, 0.0f));
  SetTextOffset(LLF::Vector2(static_cast<float>(width + 2), 0.0f));
}

void Checkbox::SetSize(int width, int height) {
  Button::SetSize(width, height);
  SetBoxAlignment(_boxAlignment);
}

bool Checkbox::SetImageObject(LLF::Image* image) {
  const LLF::Point size = GetSize();
  const bool set = Button::SetImageObject(image);
  if (set) {
    SetSize(size);
    SetBoxAlignment(_boxAlignment);
  }
  return set;
}

// ---------------------------------------------------------------------------
// XML and editor

const PropertyTable<Checkbox>& Checkbox::Properties() {
  using P = PropertyTable<Checkbox>;
  static const P table(kCheckboxPage,
                       {
                           P::Typed(L"boxAlignment", &Checkbox::GetBoxAlignment, &Checkbox::SetBoxAlignment)
                               .Row(L"Box alignment"),
                       });
  return table;
}

bool Checkbox::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!Button::LoadFromXml(element)) {
    return false;
  }
  return Properties().Load(*this, element);
}

LLF::XmlElement* Checkbox::SaveToXml() {
  LLF::XmlElement* element = Button::SaveToXml();
  const std::unique_ptr<Control> made(CreateInstance());
  Properties().Save(*this, dynamic_cast<const Checkbox&>(*made), *element);
  // The loop is the state and the cell the mouse's: written, they would
  // show a box loaded unchecked as checked.
  const LLF::Image* image = GetImage();
  if (image && image->GetCellsCount() == 4 && image->GetLoopsCount() == 2) {
    element->RemoveAttribute(std::wstring(L"imageLoop"));
    element->RemoveAttribute(std::wstring(L"imageCell"));
  }
  return element;
}

void Checkbox::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Button::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
}

bool Checkbox::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                     const std::wstring& value) {
  if (page == kCheckboxPage) {
    return Properties().Edit(*this, label, value);
  }
  return Button::SetPropertyFromEditor(page, label, value);
}

Control* Checkbox::CreateInstance() const {
  return new Checkbox();
}

}  // namespace HLF
