#include "model/ControlFactory.h"

#include "xml/XmlElement.h"

namespace HLF {

Control* ControlFactory::CreateFromXml(LLF::XmlElement& element) {
  if (element.IsComment()) {
    return nullptr;
  }
  const std::wstring& name = element.GetName();
  if (name == L"vars" || name == L"effect" || name == L"pages") {
    return nullptr;
  }
  Control* control = AskPrototypes(element);
  if (!control) {
    return nullptr;
  }
  for (int i = 0; i < element.GetChildsCount(); ++i) {
    Control* child = CreateFrom(*element.GetChild(i));
    // A child the control refuses would otherwise belong to nobody.
    if (child && !control->AddChild(child)) {
      delete child;
    }
  }
  if (!control->OnCreated()) {
    delete control;
    return nullptr;
  }
  return control;
}

}  // namespace HLF
