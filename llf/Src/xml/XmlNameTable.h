#pragma once
// Element and attribute names as the reader keeps them: each name once, in
// a pool shared by every document and never freed, so that a name is a
// pointer that elements and attributes copy freely and that stays valid
// whatever happens to the document it was read with. The pool takes names
// until it holds kMaxNames of them or kMaxChars characters in all; past
// that the reader gives elements and attributes names of their own.
//
// A table serves one document's readings and finds the names it has met
// without a lock. The reader's names are ASCII, given as bytes or wide
// characters.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace LLF {

// For a name of n bytes (up to 16), the masks of two words loaded from it
// that keep its bytes in memory (the low ones on a little-endian machine).
struct XmlNameMasks {
  uint64_t at[17][2] = {};
};
inline constexpr XmlNameMasks kNameKeep = [] {
  XmlNameMasks m;
  const auto keep = [](size_t bytes) -> uint64_t {
    if (bytes >= 8) return ~uint64_t(0);
    if (bytes == 0) return 0;
    if (std::endian::native == std::endian::little) return (uint64_t(1) << (8 * bytes)) - 1;
    return ~(~uint64_t(0) >> (8 * bytes));
  };
  for (size_t n = 0; n <= 16; ++n) {
    m.at[n][0] = keep(n);
    m.at[n][1] = keep(n > 8 ? n - 8 : 0);
  }
  return m;
}();

class XmlNameTable {
 public:
  static constexpr size_t kMaxNames = 1 << 16;
  static constexpr size_t kMaxChars = 1 << 20;

  XmlNameTable() = default;
  // The table only speeds up finding names: a copy starts empty.
  XmlNameTable(const XmlNameTable&) {}
  XmlNameTable& operator=(const XmlNameTable&) { return *this; }

  // The pooled copy of the name [begin, end), or null when the pool is full.
  // readable: at least 16 characters from begin on may be read.
  template <class Char>
  const std::wstring* Get(const Char* begin, const Char* end, bool readable) {
    Key key;
    key.size = static_cast<size_t>(end - begin);
    key.Load(begin, readable);
    return Find(key, begin, end);
  }

  // Where GetAt keeps the names last found in runs of kind (a tag's name,
  // or null).
  size_t RunOf(const std::wstring* kind) const {
    const auto bits = reinterpret_cast<uintptr_t>(kind);
    return ((bits >> 4) ^ (bits >> 9)) & (kKinds - 1);
  }

  // The name GetAt last found in place slot of a run of that kind when the
  // text at begin starts with it (whether the name ends there is for the
  // caller to tell), with its length in size; null otherwise. Only for
  // bytes that may be read 16 at a time (readable).
  template <class Char>
  const std::wstring* Recent(size_t run, size_t slot, const Char* begin, bool readable, size_t& size) const {
    if (sizeof(Char) != 1 || !readable || slot >= kSlots) return nullptr;
    const Entry& recent = _recent[run][slot];
    if (!recent.name) return nullptr;
    uint64_t words[2];
    std::memcpy(words, begin, 16);
    const size_t n = recent.key.size;  // at most 16: longer names are not kept here
    if ((words[0] & kNameKeep.at[n][0]) != recent.key.words[0] ||
        (words[1] & kNameKeep.at[n][1]) != recent.key.words[1]) {
      return nullptr;
    }
    size = n;
    return recent.name;
  }

  // As Get, for the name in place slot of a run of names (an attribute's
  // place in its tag) of a kind (see RunOf): tags of one kind list the same
  // names in the same order, so the name last found there for that kind is
  // tried first.
  template <class Char>
  const std::wstring* GetAt(size_t run, size_t slot, const Char* begin, const Char* end, bool readable) {
    Key key;
    key.size = static_cast<size_t>(end - begin);
    key.Load(begin, readable);
    if (slot >= kSlots || key.size > 16) return Find(key, begin, end);
    Entry& recent = _recent[run][slot];
    if (recent.name && recent.key.Same(key)) return recent.name;
    const std::wstring* name = Find(key, begin, end);
    if (name) recent = Entry{name, key};
    return name;
  }

 private:
  static constexpr size_t kSlots = 16;
  static constexpr size_t kKinds = 8;  // a power of two

  struct Key;
  template <class Char>
  const std::wstring* Find(const Key& key, const Char* begin, const Char* end) {
    if (!_entries.empty()) {
      const size_t mask = _entries.size() - 1;
      for (size_t i = key.Hash() & mask; _entries[i].name; i = (i + 1) & mask) {
        const Entry& e = _entries[i];
        if (e.key.Same(key) && (key.size <= 16 || Tail(e, begin, key.size))) return e.name;
      }
    }
    return Add(key, begin, end);
  }

  // The length and the first sixteen characters, as bytes (zero past the
  // end of the name).
  struct Key {
    size_t size = 0;
    uint64_t words[2] = {0, 0};

    template <class Char>
    void Load(const Char* begin, bool readable) {
      const size_t n = size < 16 ? size : 16;
      if (sizeof(Char) == 1 && readable) {
        std::memcpy(words, begin, 16);
        // The bytes past the name become 0.
        words[0] &= kNameKeep.at[n][0];
        words[1] &= kNameKeep.at[n][1];
      } else {
        auto* bytes = reinterpret_cast<unsigned char*>(words);
        for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(begin[i]);
      }
    }
    bool Same(const Key& other) const {
      return size == other.size && words[0] == other.words[0] && words[1] == other.words[1];
    }
    size_t Hash() const {
      uint64_t h = (words[0] ^ (words[1] * 0x9E3779B97F4A7C15ull) ^ size) * 0xFF51AFD7ED558CCDull;
      return static_cast<size_t>(h ^ (h >> 29));
    }
  };

  struct Entry {
    const std::wstring* name = nullptr;
    Key key;
  };

  template <class Char>
  static bool Tail(const Entry& e, const Char* begin, size_t size);
  template <class Char>
  const std::wstring* Add(const Key& key, const Char* begin, const Char* end);
  void Grow();

  std::vector<Entry> _entries;  // open addressing; a power of two in size
  size_t _used = 0;
  Entry _recent[kKinds][kSlots];  // the name last found in each slot, by kind
};

}  // namespace LLF
