#include "Manifest.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "Report.h"
#include "core/StringUtils.h"
#include "xml/XmlDoc.h"

namespace Datagen {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

uint64_t Fnv(uint64_t hash, const char* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    hash ^= static_cast<unsigned char>(data[i]);
    hash *= kFnvPrime;
  }
  return hash;
}

std::string Hex(uint64_t value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i) {
    text[size_t(i)] = kDigits[value & 0xF];
    value >>= 4;
  }
  return text;
}

}  // namespace

std::string Manifest::HashBytes(std::string_view bytes) {
  return Hex(Fnv(kFnvOffset, bytes.data(), bytes.size()));
}

bool Manifest::HashFile(const fs::path& file, std::string& hash) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  uint64_t value = kFnvOffset;
  std::vector<char> buffer(1 << 16);
  while (in) {
    in.read(buffer.data(), std::streamsize(buffer.size()));
    value = Fnv(value, buffer.data(), size_t(in.gcount()));
  }
  if (in.bad()) return false;
  hash = Hex(value);
  return true;
}

bool Manifest::IsSafePath(const std::string& path) {
  if (path.empty() || path.front() == '/' || path.find('\\') != std::string::npos ||
      path.find('\0') != std::string::npos) {
    return false;
  }
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find('/', start), path.size());
    const std::string part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

bool Manifest::IsHash(const std::string& text) {
  if (text.size() != 16) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

const std::string* Manifest::Find(const std::string& path) const {
  const auto it = _entries.find(path);
  return it == _entries.end() ? nullptr : &it->second;
}

bool Manifest::Load(const fs::path& file, Report& report) {
  _entries.clear();
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(file, ec))) return true;
  LLF::XmlDoc doc;
  LLF::XmlElement* root = nullptr;
  if (doc.LoadFromFile(LLF::FromOsPath(file.string())))
    root = doc.GetRoot()->FindChild(std::wstring(L"manifest"));
  if (!root) {
    report.Error("the manifest " + file.string() +
                 " cannot be read; nothing is changed. Remove it to let the generator start afresh "
                 "(files already there are then kept as they are).");
    return false;
  }
  for (int i = 0; i < root->GetChildsCount(); ++i) {
    const LLF::XmlElement* entry = root->GetChild(i);
    if (entry->IsComment() || entry->GetName() != L"file") continue;
    const LLF::XmlAttribute* path = entry->GetAttribute(std::wstring(L"path"));
    const LLF::XmlAttribute* hash = entry->GetAttribute(std::wstring(L"hash"));
    const std::string pathText = path ? LLF::ToOsPath(path->GetValue()) : std::string();
    const std::string hashText = hash ? LLF::WideToAnsi(hash->GetValue()) : std::string();
    if (!IsSafePath(pathText) || !IsHash(hashText)) {
      report.Warning("manifest entry \"" + pathText +
                     "\" ignored: not a path inside the folder with its hash");
      continue;
    }
    _entries[pathText] = hashText;
  }
  return true;
}

bool Manifest::Save(const fs::path& file, Report& report) const {
  LLF::XmlDoc doc;
  LLF::XmlElement* root = doc.GetRoot()->AddChild(std::wstring(L"manifest"));
  for (const auto& [path, hash] : _entries) {
    LLF::XmlElement* entry = root->AddChild(std::wstring(L"file"));
    entry->AddAttribute(std::wstring(L"path"), LLF::FromOsPath(path));
    entry->AddAttribute(std::wstring(L"hash"), LLF::AnsiToWide(hash));
  }
  if (!doc.SaveToFile(LLF::FromOsPath(file.string()))) {
    report.Error("cannot write the manifest " + file.string());
    return false;
  }
  return true;
}

}  // namespace Datagen
