#include "xml/XmlText.h"

#include "core/Log.h"
#include "core/StringUtils.h"
#include "io/TextEncoding.h"

namespace LLF {

namespace {

// The code point of a number reference ("&#65;" or "&#x41;": digits holds
// what stands between "&#" and ';'), or U+FFFD when the digits name no
// character.
wchar_t DecodeNumberReference(std::wstring_view digits) {
  long long code = 0;
  if (!digits.empty() && digits[0] == L'x') {
    // Hexadecimal: a character that is no hexadecimal digit counts as 0.
    for (size_t i = 1; i < digits.size() && code <= 0x10FFFF; ++i) {
      const wchar_t c = digits[i];
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
    if (!FromString(std::wstring(digits), value)) return kReplacementChar;
    code = value;
  }
  // A surrogate is half of a UTF-16 pair, no character: no encoding could
  // write it back.
  if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return kReplacementChar;
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

bool AppendUnescapedText(std::wstring& out, std::wstring_view text) {
  size_t start = 0;
  for (size_t amp; (amp = text.find(L'&', start)) != std::wstring_view::npos;) {
    const size_t semi = text.find(L';', amp);
    if (semi == std::wstring_view::npos) return false;
    out.append(text, start, amp - start);
    const std::wstring_view reference = text.substr(amp, semi - amp + 1);
    if (reference == L"&amp;") {
      out.push_back(L'&');
    } else if (reference == L"&lt;") {
      out.push_back(L'<');
    } else if (reference == L"&gt;") {
      out.push_back(L'>');
    } else if (reference == L"&quot;") {
      out.push_back(L'"');
    } else if (reference == L"&apos;") {
      out.push_back(L'\'');
    } else if (reference.size() >= 3 && reference[1] == L'#') {
      out.push_back(DecodeNumberReference(reference.substr(2, reference.size() - 3)));
    } else {
      out.append(L"UNKNOWN_IDENTIFIER");
    }
    start = semi + 1;
  }
  out.append(text, start, std::wstring_view::npos);
  return true;
}

std::wstring UnescapeText(const std::wstring& text) {
  if (text.find(L'&') == std::wstring::npos) return text;
  std::wstring out;
  out.reserve(text.size());
  if (!AppendUnescapedText(out, text)) {
    WriteXmlLogLine(L"Warning: XML file include incorect special symbols coding. Wrong value: " + text);
    return text;
  }
  return out;
}

void WriteXmlLogLine(const std::wstring& line) {
  Log::GetInstance().WriteFormat(L"%s", line);
}

}  // namespace LLF
