// Operating-system services, files: the folders, file operations and
// listings of OSUtils.h over POSIX calls.
#include "core/OSUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/StringUtils.h"
#include "io/FileHandle.h"

namespace LLF {

namespace {

std::wstring WithSeparator(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'/' && folder.back() != L'\\') folder += L'/';
  return folder;
}

bool IsFolder(const std::string& osPath) {
  struct stat st;
  return !osPath.empty() && ::stat(osPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& osPath) {
  struct stat st;
  return ::lstat(osPath.c_str(), &st) == 0;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home == '/') {
    return home;
  }
  std::vector<char> buffer(16384);
  struct passwd pw;
  struct passwd* result = nullptr;
  if (getpwuid_r(getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_dir &&
      *result->pw_dir == '/') {
    return result->pw_dir;
  }
  return {};
}

// Copies a regular file to a new file (never replacing one), with its data
// on the disk before the copy counts as done.
bool CopyToNewFile(const std::wstring& from, const std::wstring& to) {
  struct stat st;
  if (::stat(ToOsPath(from).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  FileHandle in, out;
  if (!in.Open(from, false, false) || !out.CreateNew(to, st.st_mode & 07777)) return false;
  unsigned long long size = 0, copied = 0;
  in.GetSize(size);
  std::vector<char> buffer(1 << 16);
  while (const unsigned n = in.Read(buffer.data(), static_cast<unsigned>(buffer.size()))) {
    if (out.Write(buffer.data(), n) != n) break;
    copied += n;
  }
  const bool ok = copied == size && out.Flush() && out.Close();
  if (!ok) ::unlink(ToOsPath(to).c_str());
  return ok;
}

}  // namespace

std::wstring OS_GetAppDataDir(bool /*perUser*/) {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
    return WithSeparator(FromOsPath(data));
  }
  const std::string home = HomeFolder();
  return home.empty() ? std::wstring() : WithSeparator(FromOsPath(home + "/.local/share"));
}

std::wstring OS_GetTempDir() {
  if (const char* tmp = std::getenv("TMPDIR"); tmp && IsFolder(tmp)) {
    return WithSeparator(FromOsPath(tmp));
  }
  if (IsFolder("/tmp")) {
    return L"/tmp/";
  }
  LLF_THROW(7, L"Can't get temp directory path.", L"");
}

std::wstring OS_GetCurrentDir() {
  std::vector<char> buffer(256);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) {
      LLF_THROW(7, L"Can't get current directory path.", L"");
    }
    buffer.resize(buffer.size() * 2);
  }
  return WithSeparator(FromOsPath(buffer.data()));
}

std::wstring OS_GetWindowsDir() {
  return L"/usr/share/";
}

std::wstring OS_GetSystemFontFile() {
  // Debian's fonts-dejavu-core, then the places other distributions use.
  static const char* const kCandidates[] = {
      "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
      "/usr/share/fonts/dejavu/DejaVuSans.ttf",
      "/usr/share/fonts/TTF/DejaVuSans.ttf",
      "/usr/share/fonts/dejavu-sans-fonts/DejaVuSans.ttf",
  };
  for (const char* candidate : kCandidates) {
    struct stat info {};
    if (::stat(candidate, &info) == 0 && S_ISREG(info.st_mode)) return AnsiToWide(candidate);
  }
  return {};
}

std::wstring OS_GetExePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size())
      return FromOsPath(std::string(buffer.data(), static_cast<size_t>(n)));
    if (buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
}

bool OS_SetCurrentDir(const std::wstring& folder) {
  return !folder.empty() && ::chdir(ToOsPath(folder).c_str()) == 0;
}

bool OS_CreateDir(const std::wstring& folder) {
  return !folder.empty() && ::mkdir(ToOsPath(folder).c_str(), 0777) == 0;
}

void OS_CreateDirectories(const std::wstring& folder) {
  const std::string path = ToOsPath(folder);
  for (size_t pos = path.find('/', 1);; pos = path.find('/', pos + 1)) {
    const std::string prefix = path.substr(0, pos);
    if (!prefix.empty() && prefix != "/") ::mkdir(prefix.c_str(), 0777);
    if (pos == std::string::npos) break;
  }
}

bool OS_DeleteFile(const std::wstring& path) {
  const std::string p = ToOsPath(path);
  struct stat st;
  return !p.empty() && ::lstat(p.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && ::unlink(p.c_str()) == 0;
}

bool OS_MoveFile(const std::wstring& from, const std::wstring& to) {
  const std::string src = ToOsPath(from);
  const std::string dst = ToOsPath(to);
  if (src.empty() || dst.empty()) return false;
  if (::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno == EINVAL || errno == ENOSYS) {
    // A file system without the no-replace rename: a hard link fails when
    // the target exists; folders fall back to a check before renaming.
    if (::link(src.c_str(), dst.c_str()) == 0) {
      ::unlink(src.c_str());
      return true;
    }
    if (errno == EEXIST || Exists(dst)) return false;
    return IsFolder(src) && ::rename(src.c_str(), dst.c_str()) == 0;
  }
  if (errno == EXDEV) {
    // Another file system: copy, then remove the original.
    return CopyToNewFile(from, to) && ::unlink(src.c_str()) == 0;
  }
  return false;
}

bool OS_ReplaceFile(const std::wstring& from, const std::wstring& to) {
  const std::string src = ToOsPath(from);
  const std::string dst = ToOsPath(to);
  return !src.empty() && !dst.empty() && ::rename(src.c_str(), dst.c_str()) == 0;
}

std::wstring OS_ResolveLinks(const std::wstring& path) {
  std::string current = ToOsPath(path);
  if (current.empty()) return std::wstring();
  // As many links as the kernel follows in one lookup.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return FromOsPath(current);
    std::vector<char> target(size_t(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length <= 0 || size_t(length) >= target.size()) return std::wstring();
    std::string next(target.data(), size_t(length));
    if (next[0] != '/') {
      const size_t slash = current.rfind('/');
      if (slash != std::string::npos) next = current.substr(0, slash + 1) + next;
    }
    current = std::move(next);
  }
  return std::wstring();
}

bool OS_CreateFileLike(const std::wstring& path, const std::wstring& model) {
  const std::string p = ToOsPath(path);
  if (p.empty()) return false;
  struct stat st;
  const bool modelled = ::stat(ToOsPath(model).c_str(), &st) == 0 && S_ISREG(st.st_mode);
  // Private until it has the model's bits, so nobody else can open it in
  // between and read what is written later.
  int fd;
  do {
    fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, modelled ? 0600 : 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  if (modelled) {
    // An owner the process may not give is left; the group may still be
    // one of the process's own. The bits come last: a change of owner
    // clears the set-id bits.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
      // The file stays the process's own.
    }
    if (::fchmod(fd, st.st_mode & 07777) != 0) {
      // It stays readable by its owner only.
    }
  }
  ::close(fd);
  return true;
}

// ---- listings ----

namespace {

// Pattern against name by the wildcard rules, in O(pattern x name).
bool MatchRun(const std::wstring& p, const std::wstring& s) {
  const size_t pn = p.size();
  const size_t sn = s.size();
  std::vector<char> next(sn + 1, 0);
  std::vector<char> cur(sn + 1, 0);
  next[sn] = 1;  // the empty pattern matches the empty rest
  for (size_t i = pn; i-- > 0;) {
    for (size_t j = sn + 1; j-- > 0;) {
      const wchar_t c = p[i];
      bool m;
      if (c == L'*') {
        m = next[j] || (j < sn && cur[j + 1]);
      } else if (c == L'?') {
        m = (j < sn && next[j + 1]) || ((j == sn || s[j] == L'.') && next[j]);
      } else {
        m = j < sn && (c == s[j] || CharToLower(c) == CharToLower(s[j])) && next[j + 1];
      }
      cur[j] = m;
    }
    std::swap(cur, next);
  }
  return next[0] != 0;
}

enum class EntryKind { kFiles, kFolders };

std::vector<std::wstring> Find(const std::wstring& pattern, EntryKind kind) {
  std::vector<std::wstring> names;
  const size_t sep = pattern.find_last_of(L"\\/");
  const std::wstring folder = sep == std::wstring::npos ? L"." : (sep == 0 ? L"/" : pattern.substr(0, sep));
  const std::wstring mask = sep == std::wstring::npos ? pattern : pattern.substr(sep + 1);
  if (mask.empty()) return names;
  DIR* dir = ::opendir(ToOsPath(folder).c_str());
  if (!dir) return names;
  const int fd = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    const std::string raw = e->d_name;
    if (raw == ".") continue;
    const std::wstring name = FromOsPath(raw);
    if (!OS_MatchWildcard(mask, name)) continue;
    struct stat st;
    // Links count as what they point at; a dangling one as a file.
    if (::fstatat(fd, raw.c_str(), &st, 0) != 0 &&
        ::fstatat(fd, raw.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    if (S_ISDIR(st.st_mode) == (kind == EntryKind::kFolders)) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    if ((a == L"..") != (b == L"..")) return a == L"..";
    const int c = StrCompareNoCase(a, b);
    return c != 0 ? c < 0 : a < b;
  });
  return names;
}

}  // namespace

bool OS_MatchWildcard(const std::wstring& pattern, const std::wstring& name) {
  if (pattern == L"*" || pattern == L"*.*") return true;
  const size_t n = pattern.size();
  if (n >= 2 && pattern.compare(n - 2, 2, L".*") == 0) {
    return MatchRun(pattern, name) || MatchRun(pattern.substr(0, n - 2), name);
  }
  if (n >= 2 && pattern.back() == L'.' && pattern != L"..") {
    return name.find(L'.') == std::wstring::npos && MatchRun(pattern.substr(0, n - 1), name);
  }
  return MatchRun(pattern, name);
}

std::vector<std::wstring> OS_FindFiles(const std::wstring& pattern) {
  return Find(pattern, EntryKind::kFiles);
}

std::vector<std::wstring> OS_FindDirs(const std::wstring& pattern) {
  return Find(pattern, EntryKind::kFolders);
}

}  // namespace LLF
