#pragma once
// Typed attributes of an element as controls, their property mix-ins,
// particle settings and modifiers read and write them: a setting is read
// only when its attribute is there, and written only when it differs from
// the reference object's. The text forms are those of the XML model's typed
// accessors, so what is written reads back to the same value.
#include <cstdint>
#include <string>

#include "core/StringUtils.h"
#include "math/Color.h"
#include "math/Point.h"
#include "math/Rect.h"
#include "math/RectF.h"
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
inline void ParseAttribute(const LLF::XmlAttribute& attribute, LLF::Point& out) {
  out = attribute.GetIntPair();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, LLF::Rect& out) {
  out = attribute.GetInt4();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, LLF::RectF& out) {
  out = attribute.GetFloat4();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, float& out) {
  out = attribute.GetFloat();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, int& out) {
  out = attribute.GetInt();
}
// The low eight bits of the number, as colour bytes are read.
inline void ParseAttribute(const LLF::XmlAttribute& attribute, uint8_t& out) {
  out = static_cast<uint8_t>(attribute.GetInt());
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, bool& out) {
  out = attribute.GetBool();
}
inline void ParseAttribute(const LLF::XmlAttribute& attribute, std::wstring& out) {
  out = attribute.GetValue();
}

inline std::wstring AttributeText(const LLF::Color& value) {
  return LLF::ToString(value);
}
inline std::wstring AttributeText(const LLF::Vector2& value) {
  return LLF::ToString(value);
}
inline std::wstring AttributeText(const LLF::Point& value) {
  return LLF::ToString(value);
}
inline std::wstring AttributeText(const LLF::Rect& value) {
  return LLF::ToString(value);
}
inline std::wstring AttributeText(const LLF::RectF& value) {
  return LLF::ToString(value);
}
inline std::wstring AttributeText(float value) {
  return LLF::ToString(value);
}
inline std::wstring AttributeText(int value) {
  return LLF::ToString(value);
}
inline std::wstring AttributeText(uint8_t value) {
  return LLF::ToString(static_cast<unsigned>(value));
}
inline std::wstring AttributeText(bool value) {
  return LLF::BoolToStr(value);
}
inline std::wstring AttributeText(const std::wstring& value) {
  return value;
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
