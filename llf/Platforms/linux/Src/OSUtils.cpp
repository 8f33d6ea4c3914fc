#include "OSUtils.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Exception.h"
#include "StringUtils.h"

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
bool CopyToNewFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return false;
  }
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(out, buffer.data() + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        ok = false;
        break;
      }
      done += w;
    }
    if (!ok) break;
  }
  ok = ::fsync(out) == 0 && ok;
  ok = ::close(out) == 0 && ok;
  ::close(in);
  if (!ok) ::unlink(to.c_str());
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
    return CopyToNewFile(src, dst) && ::unlink(src.c_str()) == 0;
  }
  return false;
}

bool OS_ReplaceFile(const std::wstring& from, const std::wstring& to) {
  const std::string src = ToOsPath(from);
  const std::string dst = ToOsPath(to);
  return !src.empty() && !dst.empty() && ::rename(src.c_str(), dst.c_str()) == 0;
}

unsigned OS_GetProcessId() {
  return static_cast<unsigned>(::getpid());
}

void OS_GetLocalTime(int& year, int& month, int& day, int& hour, int& minute, int& second) {
  // localtime_r reads the time zone only once it is known.
  static const bool zoneRead = (tzset(), true);
  (void)zoneRead;
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  year = t.tm_year + 1900;
  month = t.tm_mon + 1;
  day = t.tm_mday;
  hour = t.tm_hour;
  minute = t.tm_min;
  second = t.tm_sec;
}

}  // namespace LLF
