#pragma once
// The current player's stored variables, as the level tests read and set
// them.
#include <string>

namespace QmTest {

// The value at path/attribute, or "(absent)".
std::wstring ProfileVar(const std::wstring& path, const std::wstring& attribute);
void SetProfileVar(const std::wstring& path, const std::wstring& attribute, const std::wstring& value);

}  // namespace QmTest
