#include "io/TextFile.h"

#include <atomic>
#include <cstring>
#include <memory>

#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "io/TextEncoding.h"

namespace LLF {

namespace {

struct Mark {
  int encoding;
  unsigned char bytes[4];
  unsigned length;
};

// In the order they are tested: longer marks before the shorter ones they
// begin with (UTF-32 LE before UTF-16 LE).
constexpr Mark kMarks[] = {
    {TextFile::ENCODING_UTF7, {0x2B, 0x2F, 0x76}, 3},
    {TextFile::ENCODING_UTF32BE, {0x00, 0x00, 0xFE, 0xFF}, 4},
    {TextFile::ENCODING_UTF32LE, {0xFF, 0xFE, 0x00, 0x00}, 4},
    {TextFile::ENCODING_UTFEBCDIC, {0xDD, 0x73, 0x66, 0x73}, 4},
    {TextFile::ENCODING_UTF8, {0xEF, 0xBB, 0xBF}, 3},
    {TextFile::ENCODING_SCSU, {0x0E, 0xFE, 0xFF}, 3},
    {TextFile::ENCODING_BOCU1, {0xFB, 0xEE, 0x28}, 3},
    {TextFile::ENCODING_UTF16BE, {0xFE, 0xFF}, 2},
    {TextFile::ENCODING_UTF16LE, {0xFF, 0xFE}, 2},
};

bool IsWritable(int encoding) {
  return encoding >= TextFile::ENCODING_ANSI && encoding <= TextFile::ENCODING_UTF16LE;
}

// A name beside path for the new content, unique within this process.
std::wstring SiblingTempPath(const std::wstring& path) {
  static std::atomic<unsigned> counter{0};
  return path + L"." + ToString(OS_GetProcessId()) + L"." + ToString(counter.fetch_add(1)) + L".tmp";
}

// Removes the temporary files a process killed while saving left beside
// path: names of SiblingTempPath's form made by another process. One game
// runs at a time (the instance lock), so another process's temporary file
// is a leftover; without this every kill during a save would leave one for
// good.
void RemoveStaleTemps(const std::wstring& path) {
  const std::wstring folder = ExtractFolder(path);
  const std::wstring name = ExtractFileName(path);
  const std::wstring own = name + L"." + ToString(OS_GetProcessId()) + L".";
  for (const std::wstring& found : OS_FindFiles(path + L".*.tmp")) {
    if (found.compare(0, name.size() + 1, name + L".") != 0 || found.compare(0, own.size(), own) == 0)
      continue;
    const std::wstring middle = found.substr(name.size() + 1, found.size() - name.size() - 5);
    const size_t dot = middle.find(L'.');
    const auto digits = [](const std::wstring& text) {
      return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
    };
    if (dot != std::wstring::npos && digits(middle.substr(0, dot)) && digits(middle.substr(dot + 1))) {
      OS_DeleteFile(folder + found);
    }
  }
}

}  // namespace

TextFile::TextFile(const std::wstring& path, int operations, int openType) {
  Open(path, ENCODING_UTF8, operations, openType);
}

int TextFile::DetectEncoding(const unsigned char* bytes, unsigned count, unsigned& bomLength) {
  for (const Mark& m : kMarks) {
    if (bytes && count >= m.length && std::memcmp(bytes, m.bytes, m.length) == 0) {
      bomLength = m.length;
      return m.encoding;
    }
  }
  bomLength = 0;
  return ENCODING_ANSI;
}

std::string TextFile::ByteOrderMark(int encoding) {
  for (const Mark& m : kMarks) {
    if (m.encoding == encoding && IsWritable(encoding)) {
      return std::string(reinterpret_cast<const char*>(m.bytes), m.length);
    }
  }
  return {};
}

bool TextFile::Encode(const std::wstring& text, int encoding, std::string& bytes) {
  switch (encoding) {
    case ENCODING_ANSI:
      bytes = WideToAnsi(text);
      return true;
    case ENCODING_UTF8:
      bytes = Utf8Encode(text);
      return true;
    case ENCODING_UTF16BE:
    case ENCODING_UTF16LE:
      bytes = Utf16Encode(text, encoding == ENCODING_UTF16BE);
      return true;
    default:
      bytes.clear();
      return false;
  }
}

bool TextFile::Decode(const unsigned char* bytes, size_t count, int encoding, std::wstring& text) {
  const auto* chars = reinterpret_cast<const char*>(bytes);
  switch (encoding) {
    case ENCODING_ANSI:
      // A zero byte ends ANSI text.
      text = AnsiToWide(std::string(chars, count));
      return true;
    case ENCODING_UTF8:
      text = Utf8Decode(chars, count);
      return true;
    case ENCODING_UTF16BE:
    case ENCODING_UTF16LE:
      text = Utf16Decode(bytes, count, encoding == ENCODING_UTF16BE);
      return true;
    case ENCODING_UTF32BE:
    case ENCODING_UTF32LE:
      text = Utf32Decode(bytes, count, encoding == ENCODING_UTF32BE);
      return true;
    default:
      return false;
  }
}

bool TextFile::DetectFromPosition() {
  unsigned char head[5];
  const unsigned start = GetPosition();
  const unsigned n = Read(head, sizeof(head));
  unsigned bom = 0;
  _encoding = DetectEncoding(head, n, bom);
  return Seek(0, static_cast<int>(start + bom));
}

bool TextFile::Open(const std::wstring& path, int encoding, int operations, int openType) {
  if (openType == FILEOPEN_NEW && !IsWritable(encoding)) {
    // Refused before the file is created, so an existing one stays whole.
    Close();
    return false;
  }
  if (!File::Open(path, operations, openType)) {
    return false;
  }
  if (openType != FILEOPEN_NEW) {
    if (!DetectFromPosition()) {
      Close();
      return false;
    }
    return true;
  }
  _encoding = encoding;
  const std::string mark = ByteOrderMark(encoding);
  if (Write(mark.data(), static_cast<unsigned>(mark.size())) != mark.size()) {
    Close();
    return false;
  }
  return true;
}

bool TextFile::OpenMemory(void* base, unsigned size) {
  if (!File::OpenMemory(base, size, FILEOPS_READ)) {
    return false;
  }
  if (!DetectFromPosition()) {
    Close();
    return false;
  }
  return true;
}

bool TextFile::ReadText(std::wstring& text) {
  if (!IsOpen()) return false;
  const unsigned position = GetPosition();
  const unsigned size = GetSize();
  const unsigned left = size > position ? size - position : 0;
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[left ? left : 1]);
  if (Read(buffer.get(), left) != left) return false;
  std::wstring decoded;
  if (!Decode(buffer.get(), left, _encoding, decoded)) return false;
  text.swap(decoded);
  return true;
}

bool TextFile::WriteText(const std::wstring& text) {
  if (!IsOpen()) return false;
  std::string bytes;
  if (!Encode(text, _encoding, bytes)) return false;
  return Write(bytes.data(), static_cast<unsigned>(bytes.size())) == bytes.size();
}

bool TextFile::ReadAll(const std::wstring& path, std::wstring& text) {
  if (!OpenExisting(path, FILEOPS_READ)) return false;
  unsigned char* raw = nullptr;
  unsigned size = 0;
  const bool read = File::ReadAll(raw, size);
  Close();
  std::unique_ptr<unsigned char[]> buffer(raw);
  if (!read) return false;
  unsigned bom = 0;
  const int encoding = DetectEncoding(buffer.get(), size, bom);
  std::wstring decoded;
  if (!Decode(buffer.get() + bom, size - bom, encoding, decoded)) return false;
  _encoding = encoding;
  text.swap(decoded);
  return true;
}

bool TextFile::WriteAll(const std::wstring& path, const std::wstring& text, int encoding) {
  std::string bytes = ByteOrderMark(encoding);
  std::string body;
  if (!Encode(text, encoding, body)) return false;
  bytes += body;

  // A link is written through, so it stays a link to the new content; the
  // new file is made beside the one it replaces, with its permission bits
  // and owner, so a private file stays private.
  const std::wstring target = OS_ResolveLinks(path);
  if (target.empty()) return false;
  const std::wstring temp = SiblingTempPath(target);
  OS_CreateDirectories(ExtractFolder(target));
  if (!OS_CreateFileLike(temp, target)) return false;
  if (!File::Open(temp, FILEOPS_READ_WRITE, FILEOPEN_NEW)) {
    OS_DeleteFile(temp);
    return false;
  }
  const bool written = Write(bytes.data(), static_cast<unsigned>(bytes.size())) == bytes.size() && Flush();
  const bool closed = Close();
  if (!written || !closed || !OS_ReplaceFile(temp, target)) {
    OS_DeleteFile(temp);
    return false;
  }
  RemoveStaleTemps(target);
  _encoding = encoding;
  return true;
}

}  // namespace LLF
