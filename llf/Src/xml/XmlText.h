#pragma once
// Text conversions shared by the XML reader and writer, and the one place
// through which the XML code writes its log lines.
#include <string>
#include <string_view>

namespace LLF {

// Writes '&', '<', '>', '"', '\'', '\' and a carriage return as "&amp;",
// "&lt;", "&gt;", "&quot;", "&apos;", "&#x5C;" and "&#13;"; every other
// character as it is. The backslash is escaped because the reader's quoted
// strings take it as an escape prefix; the carriage return because line
// ends in a file do not keep their form (editors and version control
// change them).
std::wstring EscapeText(const std::wstring& text);
void AppendEscapedText(std::wstring& out, std::wstring_view text);
// The same for ASCII text given as bytes.
void AppendEscapedText(std::wstring& out, std::string_view asciiText);
// The same for an element's text, except that a text of blanks alone is
// written as references throughout: the reader passes over blanks between
// tags, so written as they are they would not read back.
void AppendEscapedElementText(std::wstring& out, std::wstring_view text);

// Replaces each reference from '&' to the next ';': the five named ones,
// "&#" decimal and "&#x" hexadecimal code points; any other reference
// becomes "UNKNOWN_IDENTIFIER". A number reference that names no character
// (0, a surrogate, above U+10FFFF, no digits) gives U+FFFD, so a reference
// never smuggles a NUL or half a UTF-16 pair into a name or value. An '&' with no ';' after it leaves the
// whole text unchanged and logs a warning.
std::wstring UnescapeText(const std::wstring& text);
// The decoding of UnescapeText appended to out, for a text holding an '&'.
// False, with part of the result appended, when an '&' has no ';' after it
// (UnescapeText then logs and keeps the text as it is).
bool AppendUnescapedText(std::wstring& out, std::wstring_view text);

// One line of the XML code's diagnostics, written to the log through its
// formatted write (so it is cut as every formatted entry is).
void WriteXmlLogLine(const std::wstring& line);

}  // namespace LLF
