#pragma once
// The XML document every layout, effects file and script of the framework
// is read through: it parses as LLF::XmlDoc and then applies text
// variables. A "vars" child of the document element defines them, with
// "var" elements (name, value) and "include" elements (file, path) that
// take the "var" children of the element at path in another file; every
// attribute value below the document element may then refer to them as
// "#name;" ("##" stands for one '#').
//
// The document element is the first top-level element; comments before it
// are passed over, so a file that opens with a comment keeps its variables.
//
// Precedence: variables written in the section win over included ones,
// earlier includes over later ones. Only the "var" children of an included
// section count; "include" elements there are not followed. File names are
// used as given: a relative name resolves against the current directory.
#include <string>

#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace HLF {

class XmlDocEx : public LLF::XmlDoc {
 public:
  XmlDocEx() = default;

  LLF_KIND_OF(XmlDocEx, LLF::XmlDoc)
  ~XmlDocEx() override = default;

  // XmlDoc's parse, then the variables: the "vars" section is read and
  // every attribute of the document element's other children, at any
  // depth, is substituted. A document without a "vars" section is left as
  // written. Fails only when the text does not parse or has no element.
  bool Parse(const std::wstring& text) override;
  // The store becomes a copy of the section, then the includes add their
  // variables. True.
  virtual bool ProcessVars(LLF::XmlElement* vars);
  // Substitutes the element's attribute values and those of its
  // descendants, depth first; element text is left alone.
  virtual void ProcessElement(LLF::XmlElement* element);
  // The text with each "#name;" replaced by the variable's value (inserted
  // as it is, not scanned again). An unknown variable or one without a
  // value is logged and gives the text back unchanged.
  virtual std::wstring SubstituteVars(const std::wstring& text);

  // The first top-level element that is not a comment, or null.
  LLF::XmlElement* GetDocumentElement();
  // Parse, then the document element; null when the text does not parse.
  LLF::XmlElement* ParseDocumentElement(const std::wstring& text) {
    return Parse(text) ? GetDocumentElement() : nullptr;
  }
  // The first child of parent whose "name" attribute is name, or null.
  static LLF::XmlElement* FindNamedChild(LLF::XmlElement& parent, const std::wstring& name);
  // The variable store: its "var" children are the known variables.
  const LLF::XmlElement& GetVars() const { return _vars; }

 private:
  // Reads the "var" children of the element at path in file into the
  // store.
  void Include(const LLF::XmlElement& command);
  void AddVar(const LLF::XmlElement& var);
  const LLF::XmlElement* FindVar(const std::wstring& name) const;

  LLF::XmlElement _vars;
};

}  // namespace HLF
