#pragma once
// Helpers the operating-system services share (OSUtilsSystem.cpp and
// OSUtilsShell.cpp); private to the platform layer.
#include <string>

namespace LLF::OSInternal {

// s without the blanks, tabs and line ends around it.
inline std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  const size_t e = s.find_last_not_of(" \t\r\n");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

}  // namespace LLF::OSInternal
