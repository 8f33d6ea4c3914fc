#pragma once
// A control element parsed from text, kept with its document, and the
// attributes of an element as "name=value" texts in order: what the
// attribute readers and writers of the controls and their properties are
// checked with.
#include <string>
#include <vector>

#include "model/XmlDocEx.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace QmTest {

struct ParsedElement {
  explicit ParsedElement(const std::wstring& text) : element(doc.ParseDocumentElement(text)) {}
  HLF::XmlDocEx doc;
  LLF::XmlElement* element;  // null when the text does not parse
};

inline std::vector<std::wstring> AttributeTexts(const LLF::XmlElement& element) {
  std::vector<std::wstring> out;
  for (int i = 0; i < element.GetAttributesCount(); ++i) {
    const LLF::XmlAttribute* attribute = element.GetAttribute(i);
    out.push_back(attribute->GetName() + L"=" + attribute->GetValue());
  }
  return out;
}

}  // namespace QmTest
