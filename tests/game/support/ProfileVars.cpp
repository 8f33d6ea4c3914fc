#include "ProfileVars.h"

#include "shell/Player.h"

namespace QmTest {

std::wstring ProfileVar(const std::wstring& path, const std::wstring& attribute) {
  HLF::Player player;
  std::wstring value = L"(absent)";
  player.GetVar(path, attribute, value);
  return value;
}

void SetProfileVar(const std::wstring& path, const std::wstring& attribute, const std::wstring& value) {
  HLF::Player player;
  player.SetVar(path, attribute, value);
}

}  // namespace QmTest
