#pragma once
// Converters between wide text (UTF-32 code points in wchar_t) and the byte
// encodings the framework reads and writes. They never depend on the
// process locale.
#include <cstddef>
#include <string>

namespace LLF {

constexpr wchar_t kReplacementChar = 0xFFFD;

// Appends code point cp as UTF-8 (four bytes above U+FFFF). Values that are
// not code points (above U+10FFFF or negative) are written as U+FFFD.
void Utf8Append(std::string& out, char32_t cp);
std::string Utf8Encode(const std::wstring& text);

// Strict UTF-8 check: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
bool IsValidUtf8(const char* data, size_t size);

// Decodes UTF-8; each invalid or truncated sequence becomes U+FFFD and
// decoding goes on. A surrogate pair written as two three-byte sequences
// (CESU-8) is joined into one code point.
std::wstring Utf8Decode(const char* data, size_t size);
inline std::wstring Utf8Decode(const std::string& bytes) { return Utf8Decode(bytes.data(), bytes.size()); }

// Decodes Windows-1252 (the Western ANSI code page): 80-9F through the code
// page's table (the five unassigned bytes map to the C1 controls as Windows
// does), A0-FF as Latin-1.
std::wstring Cp1252Decode(const char* data, size_t size);

}  // namespace LLF
