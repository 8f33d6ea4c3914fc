#include "core/OSUtils.h"

#include <SDL.h>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cwctype>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "app/MonitorFormat.h"
#include "core/Exception.h"
#include "core/Format.h"
#include "core/Log.h"
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

// ---- listings ----

namespace LLF {

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

// ---- system facts ----

bool OS_GetDesktopResolution(int& width, int& height) {
  width = height = 0;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return false;
  }
  SDL_DisplayMode mode;
  const bool ok = SDL_GetDesktopDisplayMode(0, &mode) == 0;
  if (ok) {
    width = mode.w;
    height = mode.h;
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return ok;
}

void OS_GetScreenSizeMM(int& widthMM, int& heightMM) {
  widthMM = heightMM = 0;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return;
  }
  SDL_DisplayMode mode;
  float horizontalDpi = 0.0f;
  float verticalDpi = 0.0f;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0 &&
      SDL_GetDisplayDPI(0, nullptr, &horizontalDpi, &verticalDpi) == 0 && horizontalDpi > 0.0f &&
      verticalDpi > 0.0f) {
    widthMM = static_cast<int>(std::lround(mode.w * 25.4 / horizontalDpi));
    heightMM = static_cast<int>(std::lround(mode.h * 25.4 / verticalDpi));
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int OS_GetMonitorFormat() {
  int widthMM = 0;
  int heightMM = 0;
  OS_GetScreenSizeMM(widthMM, heightMM);
  return MonitorFormatOf(widthMM, heightMM);
}

void OS_GetMemoryStatus(unsigned& totalMB, unsigned& freeMB) {
  totalMB = freeMB = 0;
  unsigned long long totalKB = 0, availableKB = 0;
  bool haveTotal = false, haveAvailable = false;
  if (std::FILE* f = std::fopen("/proc/meminfo", "re")) {
    char line[256];
    while (std::fgets(line, sizeof(line), f)) {
      haveTotal |= std::sscanf(line, "MemTotal: %llu kB", &totalKB) == 1;
      haveAvailable |= std::sscanf(line, "MemAvailable: %llu kB", &availableKB) == 1;
    }
    std::fclose(f);
  }
  if (!haveTotal || !haveAvailable) {
    struct sysinfo info;
    if (::sysinfo(&info) != 0) return;
    totalKB = static_cast<unsigned long long>(info.totalram) * info.mem_unit / 1024;
    availableKB = static_cast<unsigned long long>(info.freeram + info.bufferram) * info.mem_unit / 1024;
  }
  totalMB = static_cast<unsigned>(totalKB >> 10);
  freeMB = static_cast<unsigned>(availableKB >> 10);
}

bool OS_IsWinNT() {
  return false;
}

std::wstring OS_GetComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof(name) - 1) != 0) return {};
  return FromOsPath(name);
}

namespace {

std::string ReadSmallFile(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "re")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0 && text.size() < (1u << 20))
      text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  const size_t e = s.find_last_not_of(" \t\r\n");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Vendor and device names for two hexadecimal IDs from a pci.ids list.
std::string PciName(const std::string& idsFile, const std::string& vendor, const std::string& device) {
  std::FILE* f = std::fopen(idsFile.c_str(), "re");
  if (!f) return {};
  std::string vendorName, deviceName;
  char line[512];
  bool inVendor = false;
  while (std::fgets(line, sizeof(line), f)) {
    const std::string l = line;
    if (l.empty() || l[0] == '#') continue;
    if (l[0] != '\t') {
      if (inVendor) break;
      if (l.compare(0, 4, vendor) == 0 && l.size() > 6) {
        inVendor = true;
        vendorName = Trim(l.substr(4));
      }
    } else if (inVendor && l.size() > 7 && l[1] != '\t' && l.compare(1, 4, device) == 0) {
      deviceName = Trim(l.substr(5));
      break;
    }
  }
  std::fclose(f);
  if (vendorName.empty()) return {};
  return deviceName.empty() ? vendorName : vendorName + " " + deviceName;
}

}  // namespace

std::wstring OS_GetVideoCardName(const std::string& drmFolder, const std::string& pciIdsFile) {
  std::vector<std::string> cards;
  if (DIR* dir = ::opendir(drmFolder.c_str())) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string name = e->d_name;
      // "card0" is an adapter; "card0-HDMI-A-1" one of its outputs.
      if (name.compare(0, 4, "card") == 0 && name.size() > 4 && name.find('-') == std::string::npos) {
        cards.push_back(name);
      }
    }
    ::closedir(dir);
  }
  std::sort(cards.begin(), cards.end());
  for (const std::string& card : cards) {
    const std::string device = drmFolder + "/" + card + "/device";
    std::string vendorId = Trim(ReadSmallFile(device + "/vendor"));
    std::string deviceId = Trim(ReadSmallFile(device + "/device"));
    if (vendorId.compare(0, 2, "0x") == 0) vendorId.erase(0, 2);
    if (deviceId.compare(0, 2, "0x") == 0) deviceId.erase(0, 2);
    std::string driver;
    char target[PATH_MAX];
    const ssize_t n = ::readlink((device + "/driver").c_str(), target, sizeof(target) - 1);
    if (n > 0) {
      target[n] = '\0';
      driver = target;
      driver = driver.substr(driver.find_last_of('/') + 1);
    }
    if (vendorId.empty() && driver.empty()) continue;
    const std::string named = PciName(pciIdsFile, vendorId, deviceId);
    if (!named.empty()) return FromOsPath(named);
    return FromOsPath((driver.empty() ? std::string("display adapter") : driver) + " [" + vendorId + ":" +
                      deviceId + "]");
  }
  return {};
}

namespace {

// The OpenGL renderer's name, from a short-lived hidden window; "" when
// OpenGL cannot be started.
std::wstring OpenGlRendererName() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return {};
  }
  std::wstring name;
  if (SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN)) {
    if (SDL_GLContext context = SDL_GL_CreateContext(window)) {
      using GetString = const unsigned char* (*)(unsigned);
      constexpr unsigned kRenderer = 0x1F01;
      const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
      if (const unsigned char* text = getString ? getString(kRenderer) : nullptr) {
        name = AnsiToWide(reinterpret_cast<const char*>(text));
      }
      SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return name;
}

}  // namespace

std::wstring OS_GetVideoCardName() {
  const char* lists[] = {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"};
  const char* list = ::access(lists[0], R_OK) == 0 ? lists[0] : lists[1];
  const std::wstring adapter = OS_GetVideoCardName("/sys/class/drm", list);
  // Without an adapter listed (a virtual machine, a container), the OpenGL
  // renderer names what draws.
  return adapter.empty() ? OpenGlRendererName() : adapter;
}

std::wstring OS_MakeCommandLine(const std::vector<std::wstring>& args) {
  std::wstring line;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (i > 0) line += L' ';
    if (i > 0 && !arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
      line += arg;
      continue;
    }
    // Backslashes count only before a quote: there they are doubled, and
    // the quote gets one of its own.
    line += L'"';
    size_t backslashes = 0;
    for (wchar_t c : arg) {
      if (c == L'\\') {
        ++backslashes;
        continue;
      }
      line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
      backslashes = 0;
      line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
  }
  return line;
}

std::wstring OS_GetCommandLine() {
  std::vector<std::wstring> args;
  const std::string all = ReadSmallFile("/proc/self/cmdline");
  for (size_t start = 0; start < all.size();) {
    const size_t end = std::min(all.find('\0', start), all.size());
    args.push_back(AnsiToWide(all.substr(start, end - start)));
    start = end + 1;
  }
  // The program path as the desktop gives it: whole.
  const std::wstring program = OS_GetExePath();
  if (args.empty()) {
    args.push_back(program);
  } else if (!program.empty()) {
    args[0] = program;
  }
  return OS_MakeCommandLine(args);
}

std::wstring OS_GetVersionName() {
  struct utsname u;
  if (::uname(&u) != 0) {
    return L"uname failed.";
  }
  std::string name;
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    const std::string text = ReadSmallFile(path);
    const size_t at = text.rfind("PRETTY_NAME=", 0) == 0 ? 0 : text.find("\nPRETTY_NAME=");
    if (at == std::string::npos) continue;
    const size_t start = text.find('=', at) + 1;
    name = Trim(text.substr(start, text.find('\n', start) - start));
    if (name.size() >= 2 && (name[0] == '"' || name[0] == '\'') && name.back() == name[0]) {
      name = name.substr(1, name.size() - 2);
    }
    break;
  }
  if (name.empty()) name = u.sysname;
  unsigned v[3] = {0, 0, 0};
  std::sscanf(u.release, "%u.%u.%u", &v[0], &v[1], &v[2]);
  return FromOsPath(name) + Format(L"( %u.%u.%u )", v[0], v[1], v[2]);
}

}  // namespace LLF

// ---- shell ----

namespace LLF {

namespace {

// Starts args[0] from the PATH with stdin and stderr on /dev/null and
// stdout on /dev/null or the write end of a pipe; the child's process
// number, or -1.
pid_t Spawn(const std::vector<std::string>& args, int stdoutFd) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (stdoutFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int rc = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

int RealRunner(const std::vector<std::string>& args, bool wait, std::string* output) {
  if (args.empty() || args[0].empty()) return -1;
  if (!wait) {
    const pid_t pid = Spawn(args, -1);
    if (pid < 0) return -1;
    // Reap the child when it ends, without holding the caller up.
    try {
      std::thread([pid] { WaitFor(pid); }).detach();
    } catch (const std::system_error&) {
    }
    return 0;
  }
  int pipeFds[2] = {-1, -1};
  if (output && ::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  const pid_t pid = Spawn(args, output ? pipeFds[1] : -1);
  if (output) {
    ::close(pipeFds[1]);
    if (pid >= 0) {
      char buffer[4096];
      for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        output->append(buffer, static_cast<size_t>(n));
      }
    }
    ::close(pipeFds[0]);
  }
  return pid < 0 ? -1 : WaitFor(pid);
}

std::mutex g_runnerLock;
OS_CommandRunner g_runner;

// The desktop families that set wallpapers differently.
enum class Desktop { kGnome, kCinnamon, kMate, kXfce, kKde, kLxqt, kLxde, kOther };

Desktop CurrentDesktop() {
  const char* value = std::getenv("XDG_CURRENT_DESKTOP");
  std::wstring list = value ? FromOsPath(value) : std::wstring();
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(L':', start), list.size());
    const std::wstring name = list.substr(start, end - start);
    struct {
      const wchar_t* name;
      Desktop desktop;
    } const known[] = {
        {L"GNOME", Desktop::kGnome},
        {L"GNOME-Classic", Desktop::kGnome},
        {L"GNOME-Flashback", Desktop::kGnome},
        {L"Unity", Desktop::kGnome},
        {L"Budgie", Desktop::kGnome},
        {L"Pantheon", Desktop::kGnome},
        {L"X-Cinnamon", Desktop::kCinnamon},
        {L"Cinnamon", Desktop::kCinnamon},
        {L"MATE", Desktop::kMate},
        {L"XFCE", Desktop::kXfce},
        {L"KDE", Desktop::kKde},
        {L"LXQt", Desktop::kLxqt},
        {L"LXDE", Desktop::kLxde},
    };
    for (const auto& k : known) {
      if (StrEqualNoCase(name, k.name)) return k.desktop;
    }
    start = end + 1;
  }
  return Desktop::kOther;
}

// A GVariant string: single quotes, with '\' and '\'' escaped.
std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\\' || c == '\'') out += '\\';
    out += c;
  }
  return out + "'";
}

std::string FileUri(const std::string& absolutePath) {
  static const char* hex = "0123456789ABCDEF";
  std::string uri = "file://";
  for (unsigned char c : absolutePath) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += hex[c >> 4];
      uri += hex[c & 15];
    }
  }
  return uri;
}

}  // namespace

void OS_SetCommandRunner(OS_CommandRunner runner) {
  std::lock_guard<std::mutex> lock(g_runnerLock);
  g_runner = std::move(runner);
}

int OS_RunCommand(const std::vector<std::string>& args, bool wait, std::string* output) {
  OS_CommandRunner runner;
  {
    std::lock_guard<std::mutex> lock(g_runnerLock);
    runner = g_runner;
  }
  return runner ? runner(args, wait, output) : RealRunner(args, wait, output);
}

int OS_OpenDocument(const std::wstring& target) {
  if (target.empty()) return 2;
  // An address goes as it stands; a file path in the system's form, never
  // read as an option.
  const size_t colon = target.find(L':');
  const bool address = colon != std::wstring::npos && colon > 1 &&
                       std::all_of(target.begin(), target.begin() + static_cast<long>(colon), [](wchar_t c) {
                         return std::iswalnum(c) || c == L'+' || c == L'-' || c == L'.';
                       });
  std::string arg = address ? WideToAnsi(target) : ToOsPath(target);
  if (!arg.empty() && arg[0] == '-') arg = "./" + arg;
  return OS_RunCommand({"xdg-open", arg}, false) == 0 ? 33 : 2;
}

bool OS_SetWallpaper(const std::wstring& imagePath, int style) {
  Log& log = Log::GetInstance();
  const auto failCreate = [&log] {
    log.Write(L"Error: Can't create IActiveDesktop instance. CoCreateInstance failed.");
    return false;
  };
  const auto failImage = [&log, &imagePath] {
    log.Write(L"Error: Can't set wallpaper from file " + imagePath + L". SetWallpaper failed.");
    return false;
  };
  const auto failOptions = [&log] {
    log.Write(L"Error: Can't set wallpaper options. SetWallpaperOptions failed.");
    return false;
  };
  if (style < 0 || style > 3) {
    return failOptions();
  }
  // The image must be a readable file; the desktop gets its absolute path.
  char resolved[PATH_MAX];
  const std::string osPath = ToOsPath(imagePath);
  struct stat st;
  if (osPath.empty() || !::realpath(osPath.c_str(), resolved) || ::stat(resolved, &st) != 0 ||
      !S_ISREG(st.st_mode) || ::access(resolved, R_OK) != 0) {
    return failImage();
  }
  const std::string path = resolved;
  // Result of one command: true when it ran and succeeded; started tells
  // whether it could be started at all.
  bool started = true;
  const auto run = [&started](const std::vector<std::string>& args, std::string* output = nullptr) {
    const int status = OS_RunCommand(args, true, output);
    if (status < 0) started = false;
    return status == 0;
  };

  switch (CurrentDesktop()) {
    case Desktop::kGnome:
    case Desktop::kCinnamon:
    case Desktop::kMate: {
      const Desktop desktop = CurrentDesktop();
      const char* schema = desktop == Desktop::kGnome      ? "org.gnome.desktop.background"
                           : desktop == Desktop::kCinnamon ? "org.cinnamon.desktop.background"
                                                           : "org.mate.background";
      const char* options[] = {"wallpaper", "stretched", "centered", "scaled"};
      const bool image = desktop == Desktop::kMate
                             ? run({"gsettings", "set", schema, "picture-filename", Quoted(path)})
                             : run({"gsettings", "set", schema, "picture-uri", Quoted(FileUri(path))});
      if (!image) return started ? failImage() : failCreate();
      if (desktop == Desktop::kGnome) {
        // Only newer GNOME has a separate dark-style image; older ones refuse the key.
        run({"gsettings", "set", schema, "picture-uri-dark", Quoted(FileUri(path))});
      }
      if (!run({"gsettings", "set", schema, "picture-options", Quoted(options[style])})) return failOptions();
      return true;
    }
    case Desktop::kXfce: {
      std::string listing;
      if (!run({"xfconf-query", "-c", "xfce4-desktop", "-l"}, &listing))
        return started ? failImage() : failCreate();
      const char* styles[] = {"2", "3", "1", "4"};
      const std::string suffix = "/last-image";
      bool any = false;
      size_t start = 0;
      while (start < listing.size()) {
        const size_t end = std::min(listing.find('\n', start), listing.size());
        const std::string property = Trim(listing.substr(start, end - start));
        start = end + 1;
        if (property.size() <= suffix.size() ||
            property.compare(property.size() - suffix.size(), suffix.size(), suffix) != 0) {
          continue;
        }
        any = true;
        if (!run({"xfconf-query", "-c", "xfce4-desktop", "-p", property, "-s", path})) return failImage();
        const std::string styleProperty =
            property.substr(0, property.size() - suffix.size()) + "/image-style";
        if (!run({"xfconf-query", "-c", "xfce4-desktop", "-p", styleProperty, "-n", "-t", "int", "-s",
                  styles[style]})) {
          return failOptions();
        }
      }
      return any ? true : failImage();
    }
    case Desktop::kKde:
      // Plasma's command takes the image only; it keeps its own fill mode.
      if (!run({"plasma-apply-wallpaperimage", path})) return started ? failImage() : failCreate();
      return true;
    case Desktop::kLxqt:
    case Desktop::kLxde: {
      const char* modes[] = {"tile", "stretch", "center", "fit"};
      const char* program = CurrentDesktop() == Desktop::kLxqt ? "pcmanfm-qt" : "pcmanfm";
      if (!run({program, "--set-wallpaper=" + path, std::string("--wallpaper-mode=") + modes[style]})) {
        return started ? failImage() : failCreate();
      }
      return true;
    }
    case Desktop::kOther: {
      const char* options[] = {"--bg-tile", "--bg-scale", "--bg-center", "--bg-max"};
      if (!run({"feh", options[style], path})) return started ? failImage() : failCreate();
      return true;
    }
  }
  return failCreate();
}

}  // namespace LLF
