#pragma once
// Converters between wide text (UTF-32 code points in wchar_t) and the byte
// encodings the framework reads and writes. They never depend on the
// process locale.
#include <cstddef>
#include <string>

namespace LLF {

constexpr wchar_t kReplacementChar = 0xFFFD;

// Appends code point cp as UTF-8 (four bytes above U+FFFF). Values that are
// not characters (surrogates, above U+10FFFF or negative) are written as
// U+FFFD, so the output is always valid UTF-8.
void Utf8Append(std::string& out, char32_t cp);
std::string Utf8Encode(const std::wstring& text);

// Strict UTF-8 check: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
bool IsValidUtf8(const char* data, size_t size);

// Decodes UTF-8; each invalid or truncated sequence becomes U+FFFD and
// decoding goes on. A surrogate pair written as two three-byte sequences
// (CESU-8) is joined into one code point.
std::wstring Utf8Decode(const char* data, size_t size);
inline std::wstring Utf8Decode(const std::string& bytes) {
  return Utf8Decode(bytes.data(), bytes.size());
}

// UTF-16 in either byte order: characters above U+FFFF are joined from and
// split into surrogate pairs. A lone surrogate or a trailing odd byte reads
// as U+FFFD; values that are not characters are written as U+FFFD.
std::wstring Utf16Decode(const unsigned char* data, size_t size, bool bigEndian);
std::string Utf16Encode(const std::wstring& text, bool bigEndian);

// UTF-32 in either byte order; a unit that is no character, or a cut-off
// last unit, reads as U+FFFD.
std::wstring Utf32Decode(const unsigned char* data, size_t size, bool bigEndian);

// Decodes Windows-1252 (the Western ANSI code page): 80-9F through the code
// page's table (the five unassigned bytes map to the C1 controls as Windows
// does), A0-FF as Latin-1.
std::wstring Cp1252Decode(const char* data, size_t size);

}  // namespace LLF
