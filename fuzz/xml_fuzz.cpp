// Feeds bytes to the XML reader and writes back what it read. Anything the
// reader accepts must be written so that it reads back to the same text: a
// second write that differs from the first is a finding (abort). Typed
// access runs over every attribute read.
//
// Input starting with the byte 01 is taken, after that byte, four bytes at
// a time as raw wide characters, so that values no decoder produces (NUL,
// surrogates, numbers past U+10FFFF, negative ones) reach the reader too.
// Any other input is decoded as a file is: by its byte-order mark, as ANSI
// text without one. Log entries are dropped (the log has no folder).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Log.h"
#include "TextFile.h"
#include "XmlDoc.h"

namespace {

volatile unsigned g_sink;  // keeps the typed reads from being optimised away

std::wstring ToWide(const uint8_t* data, size_t size) {
  std::wstring text;
  if (size > 0 && data[0] == 0x01) {
    text.resize((size - 1) / 4);
    for (size_t i = 0; i < text.size(); ++i) {
      uint32_t unit;
      std::memcpy(&unit, data + 1 + 4 * i, 4);
      text[i] = static_cast<wchar_t>(unit);
    }
    return text;
  }
  unsigned bomLength = 0;
  const unsigned count = static_cast<unsigned>(size);
  const int encoding = LLF::TextFile::DetectEncoding(data, count, bomLength);
  LLF::TextFile::Decode(data + bomLength, count - bomLength, encoding, text);
  return text;
}

// Reads every attribute in every typed form; the results do not matter,
// only that no conversion misbehaves.
void ReadTyped(const LLF::XmlElement& e, unsigned& sink) {
  for (int i = 0; i < e.GetAttributesCount(); ++i) {
    const LLF::XmlAttribute* a = e.GetAttribute(i);
    sink += static_cast<unsigned>(a->GetInt()) + static_cast<unsigned>(a->GetBool());
    sink += static_cast<unsigned>(a->GetFloat() == 0.0f) + static_cast<unsigned>(a->GetDouble() == 0.0);
    sink += static_cast<unsigned>(a->GetIntPair().x) + a->GetColor().a;
    sink += static_cast<unsigned>(a->GetInt4().height) + static_cast<unsigned>(a->GetFloat4().width == 1.0f);
    sink += static_cast<unsigned>(a->GetFloatPair().y == 2.0f) + static_cast<unsigned>(a->Dump().size());
  }
  for (int i = 0; i < e.GetChildsCount(); ++i) ReadTyped(*e.GetChild(i), sink);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LLF::Log::GetInstance().SetFolder(L"");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text = ToWide(data, size);
  LLF::XmlDoc doc;
  if (!doc.Parse(text)) return 0;

  unsigned sink = 0;
  ReadTyped(*doc.GetRoot(), sink);
  g_sink = sink;

  const std::wstring written = doc.Serialize(L"UTF-8");
  LLF::XmlDoc back;
  if (!back.Parse(written)) std::abort();
  if (back.Serialize(L"UTF-8") != written) std::abort();
  return 0;
}
