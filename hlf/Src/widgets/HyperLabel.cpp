#include "widgets/HyperLabel.h"

#include "core/Log.h"
#include "core/OSUtils.h"
#include "properties/PropertyTable.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kHyperLabelPage[] = L"HyperLabel properties";

}  // namespace

HyperLabel::HyperLabel() {
  _tag = L"hyperlabel";
  SetColors(LLF::Color(0, 0, 255, 255), LLF::Color(0, 170, 255, 255), LLF::Color(155, 0, 255, 255),
            LLF::Color(175, 175, 175, 255));
}

std::wstring HyperLabel::Dump() const {
  return L"HyperLabel: Name: " + GetName() + L" Text: " + GetText();
}

bool HyperLabel::SetUrl(const std::wstring& url) {
  if (url.empty()) {
    return false;
  }
  _url = url;
  return true;
}

void HyperLabel::OnMouseUp(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return;
  }
  if (_pressed) {
    LLF::OS_OpenDocument(_url);
    LLF::Color normal;
    LLF::Color over;
    LLF::Color pressed;
    LLF::Color disabled;
    GetColors(normal, over, pressed, disabled);
    SetColors(pressed, pressed, pressed, disabled);
    SendCode(LABEL_MSG_CLICKED, 0, 0, 0, GetName());
    Play(kClickSlot);
    _pressed = false;
  }
  Control::OnMouseUp(msg);
}

// The read refuses an empty url with a warning; it never fails the load.
const PropertyTable<HyperLabel>& HyperLabel::Properties() {
  using P = PropertyTable<HyperLabel>;
  static const P table(kHyperLabelPage,
                       {
                           P::Custom(
                               L"url", [](const HyperLabel& h) { return h._url; },
                               [](HyperLabel& h, const LLF::XmlAttribute& value) {
                                 if (!h.SetUrl(value.GetValue())) {
                                   LLF::Log::GetInstance().Write(L"Warning: Can't set url attribute.");
                                 }
                               })
                               .EditWith([](HyperLabel& h, const std::wstring& value) { h.SetUrl(value); })
                               .Row(L"URL"),
                       });
  return table;
}

bool HyperLabel::LoadTextProps(LLF::XmlElement& element) {
  if (!element.GetAttribute(std::wstring(L"url"))) {
    LLF::Log::GetInstance().Write(L"Warning: The 'url' attribute is not set.");
  }
  Properties().Load(*this, element);
  return TextProperty::LoadTextProps(element);
}

LLF::XmlElement* HyperLabel::SaveToXml() {
  LLF::XmlElement* element = Label::SaveToXml();
  const HyperLabel reference;
  Properties().Save(*this, reference, *element);
  return element;
}

void HyperLabel::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Label::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
}

bool HyperLabel::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                       const std::wstring& value) {
  if (page == kHyperLabelPage) {
    return Properties().Edit(*this, label, value);
  }
  return Label::SetPropertyFromEditor(page, label, value);
}

Control* HyperLabel::CreateInstance() const {
  return new HyperLabel();
}

}  // namespace HLF
