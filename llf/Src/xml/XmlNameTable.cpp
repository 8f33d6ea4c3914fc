#include "xml/XmlNameTable.h"

#include <algorithm>
#include <cstdint>

namespace LLF {

template <class Char>
const XmlNameTable::Name& XmlNameTable::Get(const Char* begin, const Char* end) {
  const size_t size = static_cast<size_t>(end - begin);
  // The length and three characters tell the names of one document apart
  // well enough; the slot is checked in full anyway.
  uint32_t hash = static_cast<uint32_t>(size);
  if (size > 0) {
    hash = (hash ^ static_cast<uint32_t>(begin[0])) * 16777619u;
    hash = (hash ^ static_cast<uint32_t>(begin[size / 2])) * 16777619u;
    hash = (hash ^ static_cast<uint32_t>(begin[size - 1])) * 16777619u;
  }
  if (!_recent) _recent = std::make_unique<Name[]>(kRecent);
  Name& recent = _recent[(hash ^ (hash >> 15)) % kRecent];
  if (recent && recent->size() == size) {
    const wchar_t* known = recent->data();
    size_t i = 0;
    while (i < size && static_cast<wchar_t>(begin[i]) == known[i]) ++i;
    if (i == size) return recent;
  }
  _key.resize(size);
  std::copy(begin, end, _key.begin());
  recent = Find(_key);
  return recent;
}

const XmlNameTable::Name& XmlNameTable::Find(const std::wstring& key) {
  auto found = _all.find(key);
  if (found == _all.end()) {
    Name name = std::make_shared<const std::wstring>(key);
    found = _all.emplace(*name, name).first;
  }
  return found->second;
}

void XmlNameTable::Clear() {
  _recent.reset();
  _all.clear();
}

template const XmlNameTable::Name& XmlNameTable::Get(const char*, const char*);
template const XmlNameTable::Name& XmlNameTable::Get(const wchar_t*, const wchar_t*);

}  // namespace LLF
