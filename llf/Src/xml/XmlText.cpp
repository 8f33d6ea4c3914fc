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
  } else if (!digits.empty() && digits.size() <= 9 &&
             digits.find_first_not_of(L"0123456789") == std::wstring_view::npos) {
    // Plain decimal digits, too few to overflow: what the general reading
    // below gives, without its cost.
    for (const wchar_t c : digits) code = code * 10 + (c - L'0');
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

namespace {

template <class Char>
void AppendEscaped(std::wstring& out, std::basic_string_view<Char> text) {
  size_t start = 0;
  auto copy = [&](size_t end) {
    if constexpr (sizeof(Char) == sizeof(wchar_t)) {
      out.append(text.substr(start, end - start));
    } else {
      out.append(text.begin() + static_cast<std::ptrdiff_t>(start),
                 text.begin() + static_cast<std::ptrdiff_t>(end));
    }
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t* entity;
    switch (text[i]) {
      case '&':
        entity = L"&amp;";
        break;
      case '<':
        entity = L"&lt;";
        break;
      case '>':
        entity = L"&gt;";
        break;
      case '"':
        entity = L"&quot;";
        break;
      case '\'':
        entity = L"&apos;";
        break;
      case '\\':
        entity = L"&#x5C;";
        break;
      case '\r':
        entity = L"&#13;";
        break;
      default:
        continue;
    }
    copy(i);
    out.append(entity);
    start = i + 1;
  }
  copy(text.size());
}

// The character of one of the five named references ("&amp;" and so on,
// given whole), or 0 for any other text.
wchar_t NamedReference(std::wstring_view r) {
  switch (r.size()) {
    case 4:
      if (r[2] == L't' && (r[1] == L'l' || r[1] == L'g')) return r[1] == L'l' ? L'<' : L'>';
      return 0;
    case 5:
      return r[1] == L'a' && r[2] == L'm' && r[3] == L'p' ? L'&' : 0;
    case 6:
      if (r[1] == L'q' && r[2] == L'u' && r[3] == L'o' && r[4] == L't') return L'"';
      if (r[1] == L'a' && r[2] == L'p' && r[3] == L'o' && r[4] == L's') return L'\'';
      return 0;
    default:
      return 0;
  }
}

}  // namespace

void AppendEscapedText(std::wstring& out, std::wstring_view text) {
  AppendEscaped(out, text);
}

void AppendEscapedText(std::wstring& out, std::string_view asciiText) {
  AppendEscaped(out, asciiText);
}

void AppendEscapedElementText(std::wstring& out, std::wstring_view text) {
  const bool blanksOnly = !text.empty() && text.find_first_not_of(L" \t\r\n") == std::wstring_view::npos;
  if (!blanksOnly) {
    AppendEscapedText(out, text);
    return;
  }
  for (const wchar_t c : text) {
    out += L"&#";
    out += std::to_wstring(static_cast<int>(c));
    out += L';';
  }
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
    if (reference.size() >= 3 && reference[1] == L'#') {
      out.push_back(DecodeNumberReference(reference.substr(2, reference.size() - 3)));
    } else {
      out.push_back(NamedReference(reference));
    }
    if (out.back() == 0) {
      out.pop_back();
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
