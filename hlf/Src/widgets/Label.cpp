#include "widgets/Label.h"

#include <memory>

#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kLabelPage[] = L"Label properties";
const wchar_t kTextPage[] = L"Text properties";

}  // namespace

Label::Label() {
  InitDefaults();
}

Label::Label(const std::wstring& name, const std::wstring& caption) : Control(name) {
  InitDefaults();
  SetText(caption);
}

void Label::InitDefaults() {
  _tag = L"label";
  _passDragToParent = true;
  GetCaption().SetMultiline(false);
  GetCaption().SetInterval(2);
  CaptionedText::SetOwner(this);
  SoundProperty::SetOwner(this);
}

std::wstring Label::Dump() const {
  return L"Label: Name: " + GetName() + L" Text: " + GetText();
}

void Label::SetSize(int width, int height) {
  Control::SetSize(width, height);
  UpdateLines();
}

void Label::SetSidesOffset(const LLF::Rect& offset) {
  Control::SetSidesOffset(offset);
  UpdateLines();
}

// ---------------------------------------------------------------------------
// Input

bool Label::ProcessMessage(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return true;
  }
  return Control::ProcessMessage(msg);
}

void Label::OnMouseUp(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return;
  }
  if (_pressed) {
    SendCode(LABEL_MSG_CLICKED, 0, 0, 0, GetName());
    Play(kClickSlot);
    _pressed = false;
  }
  Control::OnMouseUp(msg);
}

// ---------------------------------------------------------------------------
// Drawing

void Label::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  if (IsRenderable()) {
    rs->PushTransform(context.matrix);
    DrawCaption(rs, context);
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

// ---------------------------------------------------------------------------
// XML and editor

const PropertyTable<Label>& Label::Properties() {
  using P = PropertyTable<Label>;
  static const P table(
      kLabelPage, {
                      P::Typed(L"multiline", &Label::IsMultiline, &Label::SetMultiline).Row(L"Multiline"),
                      P::Typed(L"interval", &Label::GetInterval, &Label::SetInterval).Row(L"Interval"),
                  });
  return table;
}

bool Label::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!Control::LoadFromXml(element) || !LoadSoundProps(element) || !LoadTextProps(element)) {
    return false;
  }
  return Properties().Load(*this, element);
}

LLF::XmlElement* Label::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  const std::unique_ptr<Control> made(CreateInstance());
  const Label& reference = dynamic_cast<const Label&>(*made);
  Properties().Save(*this, reference, *element);
  SaveTextProps(*element, reference);
  SaveSoundProps(*element);
  SaveFullText(*element, reference);
  return element;
}

void Label::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
  groups.push_back(GetCaptionGroup());
  groups.push_back(SoundProperty::GetPropertyGroup());
}

bool Label::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                  const std::wstring& value) {
  if (page == kLabelPage) {
    return Properties().Edit(*this, label, value);
  }
  if (page == kTextPage) {
    return TextProperty::SetPropertyFromPage(label, value);
  }
  if (page == SoundProperty::kPageTitle) {
    return SoundProperty::SetPropertyFromPage(label, value);
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

Control* Label::CreateInstance() const {
  return new Label();
}

}  // namespace HLF
