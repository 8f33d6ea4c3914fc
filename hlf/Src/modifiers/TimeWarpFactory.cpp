#include "modifiers/TimeWarpFactory.h"

#include "xml/XmlElement.h"

namespace HLF {

TimeWarp* TimeWarpFactory::CreateFromXml(LLF::XmlElement& element) {
  if (element.GetName() == L"vars") {
    return nullptr;
  }
  return AskPrototypes(element);
}

}  // namespace HLF
