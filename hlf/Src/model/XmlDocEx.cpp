#include "model/XmlDocEx.h"

#include "core/Log.h"
#include "xml/XmlAttribute.h"

namespace HLF {

namespace {

const std::wstring kVars = L"vars";
const std::wstring kVar = L"var";
const std::wstring kInclude = L"include";
const std::wstring kName = L"name";
const std::wstring kValue = L"value";

// The element as the writer gives it, without the final line end, so it
// sits on the log line that names it.
std::wstring OneLine(const LLF::XmlElement& element) {
  std::wstring text = element.Serialize(std::wstring());
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

LLF::XmlElement* XmlDocEx::GetDocumentElement() {
  LLF::XmlElement* root = GetRoot();
  for (int i = 0; i < root->GetChildsCount(); ++i) {
    LLF::XmlElement* child = root->GetChild(i);
    if (!child->IsComment()) {
      return child;
    }
  }
  return nullptr;
}

LLF::XmlElement* XmlDocEx::FindNamedChild(LLF::XmlElement& parent, const std::wstring& name) {
  for (int i = 0; i < parent.GetChildsCount(); ++i) {
    LLF::XmlElement* child = parent.GetChild(i);
    const LLF::XmlAttribute* childName = child->GetAttribute(kName);
    if (childName && childName->GetValue() == name) {
      return child;
    }
  }
  return nullptr;
}

bool XmlDocEx::Parse(const std::wstring& text) {
  if (!LLF::XmlDoc::Parse(text)) {
    return false;
  }
  LLF::XmlElement* document = GetDocumentElement();
  if (!document) {
    return false;
  }
  LLF::XmlElement* vars = nullptr;
  for (int i = 0; i < document->GetChildsCount() && !vars; ++i) {
    LLF::XmlElement* child = document->GetChild(i);
    if (!child->IsComment() && child->GetName() == kVars) {
      vars = child;
    }
  }
  if (!vars) {
    return true;
  }
  ProcessVars(vars);
  for (int i = 0; i < document->GetChildsCount(); ++i) {
    LLF::XmlElement* child = document->GetChild(i);
    if (child->GetName() != kVars) {
      ProcessElement(child);
    }
  }
  return true;
}

bool XmlDocEx::ProcessVars(LLF::XmlElement* vars) {
  _vars = *vars;
  for (int i = 0; i < vars->GetChildsCount(); ++i) {
    const LLF::XmlElement* child = vars->GetChild(i);
    if (!child->IsComment() && child->GetName() == kInclude) {
      Include(*child);
    }
  }
  return true;
}

void XmlDocEx::Include(const LLF::XmlElement& command) {
  const LLF::XmlAttribute* file = command.GetAttribute(std::wstring(L"file"));
  const LLF::XmlAttribute* path = command.GetAttribute(std::wstring(L"path"));
  if (!file || !path) {
    LLF::Log::GetInstance().Write(L"Error: No file or path attribute in include var command. Xml text: " +
                                  OneLine(command));
    return;
  }
  // The included file is a plain document: its own variables are not
  // applied to it, and the includes of the section are not followed, so
  // includes can neither loop nor multiply the files read.
  LLF::XmlDoc doc;
  if (!doc.LoadFromFile(file->GetValue())) {
    return;
  }
  const LLF::XmlElement* section = doc.GetRoot()->GetChildByPath(path->GetValue());
  if (!section) {
    return;
  }
  for (int i = 0; i < section->GetChildsCount(); ++i) {
    const LLF::XmlElement* child = section->GetChild(i);
    if (!child->IsComment() && child->GetName() == kVar && child->GetAttribute(kName)) {
      AddVar(*child);
    }
  }
}

void XmlDocEx::AddVar(const LLF::XmlElement& var) {
  const std::wstring& name = var.GetAttribute(kName)->GetValue();
  for (int i = 0; i < _vars.GetChildsCount(); ++i) {
    const LLF::XmlAttribute* held = _vars.GetChild(i)->GetAttribute(kName);
    if (held && held->GetValue() == name) {
      return;
    }
  }
  _vars.AddChild(var);
}

const LLF::XmlElement* XmlDocEx::FindVar(const std::wstring& name) const {
  for (int i = 0; i < _vars.GetChildsCount(); ++i) {
    const LLF::XmlElement* var = _vars.GetChild(i);
    if (var->IsComment() || var->GetName() != kVar) {
      continue;
    }
    const LLF::XmlAttribute* held = var->GetAttribute(kName);
    if (held && held->GetValue() == name) {
      return var;
    }
  }
  return nullptr;
}

void XmlDocEx::ProcessElement(LLF::XmlElement* element) {
  for (int i = 0; i < element->GetAttributesCount(); ++i) {
    LLF::XmlAttribute* attribute = element->GetAttribute(i);
    if (attribute->GetValue().find(L'#') != std::wstring::npos) {
      attribute->SetValue(SubstituteVars(attribute->GetValue()));
    }
  }
  for (int i = 0; i < element->GetChildsCount(); ++i) {
    ProcessElement(element->GetChild(i));
  }
}

std::wstring XmlDocEx::SubstituteVars(const std::wstring& text) {
  if (text.find(L'#') == std::wstring::npos) {
    return text;
  }
  std::wstring result;
  result.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const wchar_t c = text[i];
    if (c != L'#' || i + 1 == text.size()) {
      result += c;
      ++i;
      continue;
    }
    if (text[i + 1] == L'#') {
      result += L'#';
      i += 2;
      continue;
    }
    const size_t start = i + 1;
    const size_t semicolon = text.find(L';', start);
    const size_t end = semicolon == std::wstring::npos ? text.size() : semicolon;
    const std::wstring name = text.substr(start, end - start);
    const LLF::XmlElement* var = FindVar(name);
    if (!var) {
      LLF::Log::GetInstance().Write(L"Error: Unknown variable \"" + name + L"\" in text string \"" + text +
                                    L"\"");
      return text;
    }
    const LLF::XmlAttribute* value = var->GetAttribute(kValue);
    if (!value) {
      LLF::Log::GetInstance().Write(L"Error: No \"value\" attribute in variable \"" + name +
                                    L"\" for text string \"" + text + L"\"");
      return text;
    }
    result += value->GetValue();
    i = semicolon == std::wstring::npos ? text.size() : semicolon + 1;
  }
  return result;
}

}  // namespace HLF
