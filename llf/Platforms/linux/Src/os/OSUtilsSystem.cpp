// Operating-system services, system facts: the display, memory, host,
// adapter and system names for the start-up report, the program's command
// line, its process number and the local time.
#include "core/OSUtils.h"

#include <SDL.h>
#include <dirent.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "app/MonitorFormat.h"
#include "core/Format.h"
#include "core/StringUtils.h"
#include "os/OSUtilsInternal.h"

namespace LLF {

using OSInternal::Trim;

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
