// Feeds bytes to the XML reader and writes back what it read. Anything the
// reader accepts must be written so that it reads back to the same text: a
// second write that differs from the first is a finding (abort). Typed
// access runs over every attribute read.
//
// The reader must read as the plain reading over the lexer kept with the
// tests (QmTest::ReadThroughLexer) does: the same result, tree and log
// lines, for the wide text and for the bytes read as UTF-8
// (XmlDoc::ParseUtf8). A difference is a finding.
//
// Input starting with the byte 01 is taken, after that byte, four bytes at
// a time as raw wide characters, so that values no decoder produces (NUL,
// surrogates, numbers past U+10FFFF, negative ones) reach the reader too.
// Any other input is decoded as a file is: by its byte-order mark, as ANSI
// text without one. Log lines go to a private folder and are compared.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "XmlReferenceReader.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "io/TextEncoding.h"
#include "io/TextFile.h"
#include "xml/XmlDoc.h"

namespace {

volatile unsigned g_sink;  // keeps the typed reads from being optimised away

std::vector<std::wstring> g_lines;  // log lines of the running read, without their stamps
std::string g_logFolder;

void CollectLine(const std::wstring& line) {
  const size_t stamp = 22;  // "MM.DD.YYYY / hh:mm:ss "
  g_lines.push_back(line.size() > stamp ? line.substr(stamp) : line);
}

void RemoveLogFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(g_logFolder, ignored);
}

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

// The whole tree, without ambiguity: lengths before every string.
void Describe(const LLF::XmlElement& e, std::wstring& out) {
  auto add = [&](const std::wstring& s) { out += LLF::ToString(static_cast<int>(s.size())) + L':' + s; };
  out += e.IsComment() ? L"C" : L"E";
  add(e.GetName());
  add(e.GetText());
  out += LLF::ToString(e.GetAttributesCount()) + L'[';
  for (int i = 0; i < e.GetAttributesCount(); ++i) {
    add(e.GetAttribute(i)->GetName());
    add(e.GetAttribute(i)->GetValue());
  }
  out += LLF::ToString(e.GetChildsCount()) + L'{';
  for (int i = 0; i < e.GetChildsCount(); ++i) Describe(*e.GetChild(i), out);
  out += L'}';
}

// What a way of reading made of an input: result, tree and log lines.
struct Reading {
  bool ok = false;
  std::wstring tree;
  std::vector<std::wstring> lines;
  bool operator==(const Reading&) const = default;
};

template <class Read>
Reading ReadWith(LLF::XmlDoc& doc, Read read) {
  g_lines.clear();
  Reading r;
  r.ok = read(doc);
  Describe(*doc.GetRoot(), r.tree);
  r.lines = g_lines;
  // The next entry starts the file afresh, so it stays small.
  if (!g_lines.empty()) LLF::Log::GetInstance().Close();
  return r;
}

Reading ThroughLexer(const std::wstring& text) {
  LLF::XmlDoc doc;
  return ReadWith(doc, [&](LLF::XmlDoc& d) { return QmTest::ReadThroughLexer(text, *d.GetRoot()); });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory where there is such a folder: every read that logs writes it.
  std::string folder = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
  folder += "/xml_fuzz_log_XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  g_logFolder = folder;
  std::atexit(RemoveLogFolder);
  LLF::Log::GetInstance().SetFolder(LLF::FromOsPath(g_logFolder));
  LLF::Log::SetEcho(CollectLine);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text = ToWide(data, size);
  LLF::XmlDoc doc;
  const Reading direct = ReadWith(doc, [&](LLF::XmlDoc& d) { return d.Parse(text); });
  if (!(direct == ThroughLexer(text))) std::abort();

  if (size == 0 || data[0] != 0x01) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    LLF::XmlDoc fromBytes;
    const Reading utf8 = ReadWith(fromBytes, [&](LLF::XmlDoc& d) { return d.ParseUtf8(bytes); });
    if (!(utf8 == ThroughLexer(LLF::Utf8Decode(bytes)))) std::abort();
  }
  if (!direct.ok) return 0;

  unsigned sink = 0;
  ReadTyped(*doc.GetRoot(), sink);
  g_sink = sink;

  const std::wstring written = doc.Serialize(L"UTF-8");
  LLF::XmlDoc back;
  if (!back.Parse(written)) std::abort();
  if (back.Serialize(L"UTF-8") != written) std::abort();
  return 0;
}
