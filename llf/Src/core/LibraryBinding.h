#pragma once
// A run-time library bound by name, all or nothing: after Load either the
// library is loaded and every listed function was found, or nothing is held.
// The sound drivers bind their libraries with it.
#include <cstddef>
#include <string>
#include <vector>

#include "core/Object.h"

namespace LLF {

class LibraryBinding : public virtual Object {
 public:
  // names: count function names in binding order; the table is not copied
  // and must outlive the binding.
  LibraryBinding(const wchar_t* libraryName, const char* const* names, size_t count);
  LibraryBinding(const LibraryBinding&) = delete;
  LibraryBinding& operator=(const LibraryBinding&) = delete;

  LLF_KIND_OF(LibraryBinding, Object)
  // Releases the library.
  ~LibraryBinding() override;
  std::wstring Dump() const override;

  // Loads the library and looks up every name; when the library is missing
  // or lacks any name it is unloaded again and the result is false. True at
  // once when already loaded.
  bool Load();
  void Release();
  bool IsLoaded() const { return _library != nullptr; }
  const std::wstring& GetLibraryName() const { return _libraryName; }

  // Copies the bound addresses, in the order of the name table, into a
  // record of function pointers of exactly that many members; the record is
  // zeroed while the library is not loaded. False when the sizes differ.
  bool CopyFunctions(void* record, size_t size) const;

 private:
  std::wstring _libraryName;
  const char* const* _names;
  size_t _count;
  void* _library = nullptr;
  std::vector<void*> _functions;
};

}  // namespace LLF
