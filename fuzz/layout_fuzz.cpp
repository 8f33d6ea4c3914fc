// A layout through the control factory, as a dialog's file is read: the
// text decoded by its mark, variables applied (includes read from files),
// styles from the shell's styles document, every tag the framework
// registers. What loads is saved as the editor saves it, and the saved
// element is loaded again.
//
// The input is split at NUL bytes: the layout, then the styles document,
// then the files "a.xml", "b.xml" and "c.xml" that includes may name. They
// lie in the process's private folder in memory, made the current folder,
// where relative include names resolve.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FrameworkPrototypes.h"
#include "FuzzFolder.h"
#include "io/TextFile.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "model/XmlDocEx.h"

namespace {

class FuzzShell : public HLF::GameServices {
 public:
  LLF::XmlDoc* GetStylesDoc() override { return &styles; }
  HLF::XmlDocEx styles;
};

FuzzShell* g_shell;

std::wstring Decode(const std::string& bytes) {
  std::wstring text;
  unsigned bomLength = 0;
  const auto* raw = reinterpret_cast<const unsigned char*>(bytes.data());
  const int encoding = LLF::TextFile::DetectEncoding(raw, unsigned(bytes.size()), bomLength);
  if (!LLF::TextFile::Decode(raw + bomLength, bytes.size() - bomLength, encoding, text)) text.clear();
  return text;
}

void WriteFile(const char* name, const std::string& bytes) {
  FILE* out = std::fopen(name, "wb");
  if (!out) std::abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) std::abort();
  std::fclose(out);
}

// Loads a control from the element; null when nothing loads.
std::unique_ptr<HLF::Control> Load(LLF::XmlElement& element) {
  return std::unique_ptr<HLF::Control>(HLF::ControlFactory::GetInstance().CreateFromXml(element));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (::chdir(FuzzFolder().c_str()) != 0) std::abort();
  HLF::RegisterFrameworkPrototypes();
  g_shell = new FuzzShell();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 5) {
      parts.emplace_back();
    } else {
      parts.back() += char(data[i]);
    }
  }
  parts.resize(5);
  const char* includes[] = {"a.xml", "b.xml", "c.xml"};
  for (int i = 0; i < 3; ++i) WriteFile(includes[i], parts[2 + i]);
  g_shell->styles.Clear();
  g_shell->styles.Parse(Decode(parts[1]));

  HLF::XmlDocEx doc;
  if (LLF::XmlElement* element = doc.ParseDocumentElement(Decode(parts[0]))) {
    if (std::unique_ptr<HLF::Control> control = Load(*element)) {
      std::unique_ptr<LLF::XmlElement> saved(control->SaveToXml());
      control.reset();
      HLF::GameServices::DeleteDeferred();
      if (!saved) std::abort();
      Load(*saved).reset();
    }
  }
  HLF::GameServices::DeleteDeferred();
  CloseLog();
  return 0;
}
