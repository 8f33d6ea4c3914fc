#pragma once
// The attribute names met in one reading, each kept once, so that the
// attributes of one name share a single copy of it (see XmlAttribute). The
// names of the reader are ASCII, given as bytes or wide characters.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace LLF {

class XmlNameTable {
 public:
  using Name = std::shared_ptr<const std::wstring>;

  XmlNameTable() = default;
  // The table serves one reading: a copy starts empty.
  XmlNameTable(const XmlNameTable&) {}
  XmlNameTable& operator=(const XmlNameTable&) { return *this; }

  // The copy of the name [begin, end), made on its first request.
  template <class Char>
  const Name& Get(const Char* begin, const Char* end);
  // Lets go of every name (the attributes keep theirs).
  void Clear();

 private:
  static constexpr size_t kRecent = 128;

  const Name& Find(const std::wstring& key);

  // The last name asked for under each hash of the characters, which
  // answers almost every request without a search.
  std::unique_ptr<Name[]> _recent;
  std::unordered_map<std::wstring_view, Name> _all;  // keys view the names
  std::wstring _key;
};

}  // namespace LLF
