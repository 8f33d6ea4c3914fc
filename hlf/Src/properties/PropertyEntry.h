#pragma once
// One row of the editor's property page: a kind, a label and the value in
// its attribute text form. Controls and their properties append rows to the
// page they fill; the editor shows them and hands edits back by page title
// and row label.
#include <cstdint>
#include <string>

namespace HLF {

enum PropertyEntryKind {
  PROPERTY_ORDINARY = 1,
  PROPERTY_FONT = 2,  // the editor offers a font choice for the value
};

struct PropertyEntry {
  int32_t kind = PROPERTY_ORDINARY;
  std::wstring label;
  std::wstring value;

  PropertyEntry() = default;
  PropertyEntry(int32_t entryKind, const std::wstring& entryLabel, const std::wstring& entryValue)
      : kind(entryKind), label(entryLabel), value(entryValue) {}
};

}  // namespace HLF
