#include "xml/XmlNameTable.h"

#include <mutex>
#include <unordered_set>
#include <utility>

namespace LLF {

namespace {

// Node-based, so the names keep their places as the set grows. Never
// destroyed: names may be used by objects that outlive the program's static
// objects.
struct Pool {
  std::mutex lock;
  std::unordered_set<std::wstring> names;
  size_t chars = 0;
};

Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

const std::wstring* Pooled(std::wstring&& key) {
  Pool& pool = ThePool();
  std::lock_guard<std::mutex> guard(pool.lock);
  auto found = pool.names.find(key);
  if (found != pool.names.end()) return &*found;
  if (pool.names.size() >= XmlNameTable::kMaxNames || pool.chars + key.size() > XmlNameTable::kMaxChars) {
    return nullptr;
  }
  pool.chars += key.size();
  return &*pool.names.insert(std::move(key)).first;
}

}  // namespace

template <class Char>
bool XmlNameTable::Tail(const Entry& e, const Char* begin, size_t size) {
  const std::wstring& name = *e.name;
  for (size_t i = 16; i < size; ++i) {
    if (name[i] != static_cast<wchar_t>(begin[i])) return false;
  }
  return true;
}

template <class Char>
const std::wstring* XmlNameTable::Add(const Key& key, const Char* begin, const Char* end) {
  const std::wstring* name = Pooled(std::wstring(begin, end));
  if (!name) return nullptr;
  if (_entries.empty()) _entries.resize(64);
  const size_t mask = _entries.size() - 1;
  size_t i = key.Hash() & mask;
  while (_entries[i].name) i = (i + 1) & mask;
  _entries[i].name = name;
  _entries[i].key = key;
  if (++_used * 2 > _entries.size()) Grow();
  return name;
}

void XmlNameTable::Grow() {
  std::vector<Entry> old(_entries.size() * 2);
  old.swap(_entries);
  const size_t mask = _entries.size() - 1;
  for (const Entry& e : old) {
    if (!e.name) continue;
    size_t i = e.key.Hash() & mask;
    while (_entries[i].name) i = (i + 1) & mask;
    _entries[i] = e;
  }
}

template const std::wstring* XmlNameTable::Add(const Key&, const char*, const char*);
template const std::wstring* XmlNameTable::Add(const Key&, const wchar_t*, const wchar_t*);
template bool XmlNameTable::Tail(const Entry&, const char*, size_t);
template bool XmlNameTable::Tail(const Entry&, const wchar_t*, size_t);

}  // namespace LLF
