#include "core/LibraryBinding.h"

#include <cstring>

#include "core/OSUtils.h"

namespace LLF {

LibraryBinding::LibraryBinding(const wchar_t* libraryName, const char* const* names, size_t count)
    : _libraryName(libraryName), _names(names), _count(count) {}

LibraryBinding::~LibraryBinding() {
  Release();
}

std::wstring LibraryBinding::Dump() const {
  return L"Library " + _libraryName + (IsLoaded() ? L" (loaded)" : L" (not loaded)");
}

bool LibraryBinding::Load() {
  if (IsLoaded()) return true;
  void* library = OS_LoadLibrary(_libraryName);
  if (!library) return false;
  std::vector<void*> functions(_count);
  for (size_t i = 0; i < _count; ++i) {
    functions[i] = OS_GetProcAddress(library, _names[i]);
    if (!functions[i]) {
      OS_FreeLibrary(library);
      return false;
    }
  }
  _functions.swap(functions);
  _library = library;
  return true;
}

bool LibraryBinding::CopyFunctions(void* record, size_t size) const {
  // Function and object pointers have one size and form on the systems
  // run-time loading works on, so the addresses are copied as they are.
  static_assert(sizeof(void*) == sizeof(void (*)()));
  if (size != _count * sizeof(void*)) return false;
  if (IsLoaded()) {
    std::memcpy(record, _functions.data(), size);
  } else {
    std::memset(record, 0, size);
  }
  return true;
}

void LibraryBinding::Release() {
  if (!_library) return;
  OS_FreeLibrary(_library);
  _library = nullptr;
  _functions.clear();
}

}  // namespace LLF
