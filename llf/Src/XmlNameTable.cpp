#include "XmlNameTable.h"

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
    for (const Char c : {begin[0], begin[size / 2], begin[size - 1]})
      hash = (hash ^ static_cast<uint32_t>(c)) * 16777619u;
  }
  if (!_recent) _recent = std::make_unique<Name[]>(kRecent);
  Name& recent = _recent[(hash ^ (hash >> 15)) % kRecent];
  if (recent && recent->size() == size && std::equal(begin, end, recent->begin(), [](Char a, wchar_t b) {
        return static_cast<wchar_t>(a) == b;
      })) {
    return recent;
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
