// Run-time libraries over dlopen: the desktop's library names mapped to
// shared-object file names, looked for beside the program first.
#include <dlfcn.h>

#include <cctype>
#include <string>

#include "core/OSUtils.h"
#include "core/StringUtils.h"

namespace LLF {

namespace {

// "_Name@8" -> "Name": the decoration of a function that cleans its own
// arguments off the stack, which names here do not carry.
std::string Undecorated(const char* name) {
  std::string text(name);
  const size_t at = text.rfind('@');
  if (text.size() < 3 || text[0] != '_' || at == std::string::npos || at < 2 || at + 1 == text.size()) {
    return text;
  }
  for (size_t i = at + 1; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return text;
  }
  return text.substr(1, at - 1);
}

}  // namespace

std::string OS_LibraryFileName(const std::wstring& name) {
  std::string file = ToOsPath(StrToLower(ExtractFileName(name)));
  const std::string dll = ".dll";
  if (file.size() > dll.size() && file.compare(file.size() - dll.size(), dll.size(), dll) == 0) {
    file.resize(file.size() - dll.size());
  }
  return "lib" + file + ".so";
}

void* OS_LoadLibrary(const std::wstring& name) {
  const std::string file = OS_LibraryFileName(name);
  const std::wstring exe = OS_GetExePath();
  if (!exe.empty()) {
    if (void* library = dlopen((ToOsPath(ExtractFolder(exe)) + file).c_str(), RTLD_NOW | RTLD_LOCAL)) {
      return library;
    }
  }
  return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* OS_GetProcAddress(void* library, const char* name) {
  if (!library || !name) return nullptr;
  return dlsym(library, Undecorated(name).c_str());
}

bool OS_FreeLibrary(void* library) {
  return library && dlclose(library) == 0;
}

}  // namespace LLF
