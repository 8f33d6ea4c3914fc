#pragma once
// Text of a control drawn with a bitmap font, and the character lists that
// text fields accept.
#include <string>

namespace HLF {

// The characters a text field accepts, by charset name: one of the fixed
// lists ("english_charset", "german_rich_charset", ...); for a name that
// starts with "file_", the whole text of the file named by the rest (empty,
// with a log line, when it cannot be opened or read); else the name itself.
std::wstring GetCharset(const std::wstring& name);

}  // namespace HLF
