#include "modifiers/ModifierFactory.h"

#include "xml/XmlElement.h"

namespace HLF {

Modifier* ModifierFactory::CreateFromXml(LLF::XmlElement& element) {
  if (element.GetName() == L"vars") {
    return nullptr;
  }
  return AskPrototypes(element);
}

}  // namespace HLF
