#pragma once
// Typed attributes of an element as controls, their property mix-ins and
// modifiers read and write them: a setting is read only when its attribute
// is there, and written only when it differs from the reference object's.
#include <string>

#include "math/Color.h"
#include "math/Vector2.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

inline void ParseAttribute(const LLF::XmlAttribute& attribute, LLF::Color& out) {
  out = attribute.GetColor();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, LLF::Vector2& out) {
  out = attribute.GetFloatPair();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, float& out) {
  out = attribute.GetFloat();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, int& out) {
  out = attribute.GetInt();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, bool& out) {
  out = attribute.GetBool();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, std::wstring& out) {
  out = attribute.GetValue();
}

// The value of the element's attribute name into out; false, out unchanged,
// when the element has no such attribute.
template <class T>
bool ReadAttribute(const LLF::XmlElement& element, const wchar_t* name, T& out) {
  const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(name));
  if (!attribute) {
    return false;
  }
  ParseAttribute(*attribute, out);
  return true;
}

// Appends the attribute when value differs from reference.
template <class T>
void WriteChangedAttribute(LLF::XmlElement& element, const wchar_t* name, const T& value,
                           const T& reference) {
  if (value != reference) {
    element.AddAttribute(std::wstring(name), value);
  }
}

}  // namespace HLF
