// Operating-system services, processes and the desktop: the command runner
// (posix_spawnp, never a shell), opening documents with the user's program
// and setting the wallpaper with the desktop's own command.
#include "core/OSUtils.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cwctype>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "os/OSUtilsInternal.h"

namespace LLF {

using OSInternal::Trim;

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
