#include "XmlText.h"

#include "Log.h"
#include "StringUtils.h"
#include "TextEncoding.h"

namespace LLF {

namespace {

// The code point of a number reference ("&#65;" or "&#x41;"), or U+FFFD
// when the digits name none.
wchar_t DecodeNumberReference(const std::wstring& text, size_t first, size_t last) {
  long long code = 0;
  if (first < last && text[first] == L'x') {
    // Hexadecimal: a character that is no hexadecimal digit counts as 0.
    for (size_t i = first + 1; i < last && code <= 0x10FFFF; ++i) {
      const wchar_t c = text[i];
      int v = 0;
      if (c >= L'0' && c <= L'9') {
        v = c - L'0';
      } else if (c >= L'a' && c <= L'f') {
        v = c - L'a' + 10;
      } else if (c >= L'A' && c <= L'F') {
        v = c - L'A' + 10;
      }
      code = code * 16 + v;
    }
  } else {
    // Decimal, read as a number is read anywhere: reading stops at the first
    // character that cannot continue it.
    int value = 0;
    if (!FromString(text.substr(first, last - first), value)) return kReplacementChar;
    code = value;
  }
  if (code <= 0 || code > 0x10FFFF) return kReplacementChar;
  return static_cast<wchar_t>(code);
}

}  // namespace

void AppendEscapedText(std::wstring& out, const std::wstring& text) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t* entity;
    switch (text[i]) {
      case L'&':
        entity = L"&amp;";
        break;
      case L'<':
        entity = L"&lt;";
        break;
      case L'>':
        entity = L"&gt;";
        break;
      case L'"':
        entity = L"&quot;";
        break;
      case L'\'':
        entity = L"&apos;";
        break;
      case L'\\':
        entity = L"&#x5C;";
        break;
      default:
        continue;
    }
    out.append(text, start, i - start);
    out.append(entity);
    start = i + 1;
  }
  out.append(text, start, std::wstring::npos);
}

std::wstring EscapeText(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  AppendEscapedText(out, text);
  return out;
}

std::wstring UnescapeText(const std::wstring& text) {
  size_t amp = text.find(L'&');
  if (amp == std::wstring::npos) return text;
  std::wstring out;
  out.reserve(text.size());
  size_t start = 0;
  for (; amp != std::wstring::npos; amp = text.find(L'&', start)) {
    const size_t semi = text.find(L';', amp);
    if (semi == std::wstring::npos) {
      WriteXmlLogLine(L"Warning: XML file include incorect special symbols coding. Wrong value: " + text);
      return text;
    }
    out.append(text, start, amp - start);
    const size_t length = semi - amp + 1;
    auto is = [&](const wchar_t* name) { return text.compare(amp, length, name) == 0; };
    if (is(L"&amp;")) {
      out.push_back(L'&');
    } else if (is(L"&lt;")) {
      out.push_back(L'<');
    } else if (is(L"&gt;")) {
      out.push_back(L'>');
    } else if (is(L"&quot;")) {
      out.push_back(L'"');
    } else if (is(L"&apos;")) {
      out.push_back(L'\'');
    } else if (length >= 3 && text[amp + 1] == L'#') {
      out.push_back(DecodeNumberReference(text, amp + 2, semi));
    } else {
      out.append(L"UNKNOWN_IDENTIFIER");
    }
    start = semi + 1;
  }
  out.append(text, start, std::wstring::npos);
  return out;
}

void WriteXmlLogLine(const std::wstring& line) {
  Log::GetInstance().WriteFormat(L"%s", line);
}

}  // namespace LLF
