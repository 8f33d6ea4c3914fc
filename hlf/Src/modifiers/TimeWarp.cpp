#include "modifiers/TimeWarp.h"

#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

TimeWarp* TimeWarp::CreateFromXml(const LLF::XmlElement& element) {
  const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(L"timeWarp"));
  const std::wstring name = attribute ? attribute->GetValue() : std::wstring();
  return name == _tag ? CreateInstance() : nullptr;
}

float TimeWarp::Warp(float t) {
  return t;
}

TimeWarp* TimeWarp::CreateInstance() {
  return new TimeWarp();
}

}  // namespace HLF
