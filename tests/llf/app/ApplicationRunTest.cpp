// Whole runs of a small program built on the application object
// (tests/app/LlfTestApp.cpp), started as processes of their own: the log
// header, the choice of drivers, the main loop ended by a close request, the
// shutdown, and a second copy that brings the first forward.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "TestEnv.h"
#include "app/MonitorFormat.h"
#include "core/CPU.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "io/TextEncoding.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string AppProgram() {
  return LLF::ToOsPath(LLF::ExtractFolder(LLF::OS_GetExePath())) + "llf_test_app";
}

// A started copy of the test program.
class AppProcess {
 public:
  explicit AppProcess(const std::vector<std::string>& args) {
    std::vector<std::string> all = {AppProgram()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    _started = posix_spawn(&_pid, all[0].c_str(), nullptr, nullptr, argv.data(), environ) == 0;
  }
  ~AppProcess() {
    if (_started && !_ended) {
      ::kill(_pid, SIGKILL);
      ::waitpid(_pid, nullptr, 0);
    }
  }
  bool Started() const { return _started; }
  // The exit status, or -1 when the program has not ended in time (it is
  // then killed) or ended by a signal.
  int Wait(std::chrono::milliseconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(_pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) return -1;
      std::this_thread::sleep_for(5ms);
    }
    _ended = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t _pid = 0;
  bool _started = false;
  bool _ended = false;
};

std::string UniqueName(const char* hint) {
  static int counter = 0;
  return std::string("QmRun") + hint + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

std::string UserFolder(const std::string& name) {
  return std::string(std::getenv("XDG_DATA_HOME")) + "/QmTest/" + name + "/";
}

// The log's entries without their time stamps; the BOM checked and dropped.
std::vector<std::wstring> ReadLog(const std::string& name) {
  std::ifstream in(UserFolder(name) + "log.txt", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::wstring> lines;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") != 0) return lines;
  const std::wstring text = LLF::Utf8Decode(bytes.substr(3));
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    lines.push_back(line.size() >= 22 ? line.substr(22) : line);
    start = end + 2;
  }
  return lines;
}

// Index of the first entry at or after from that starts with text; -1 when
// there is none.
int Find(const std::vector<std::wstring>& lines, const std::wstring& text, int from = 0) {
  for (size_t i = static_cast<size_t>(std::max(from, 0)); i < lines.size(); ++i) {
    if (lines[i].rfind(text, 0) == 0) return static_cast<int>(i);
  }
  return -1;
}

int Count(const std::vector<std::wstring>& lines, const std::wstring& text) {
  int n = 0;
  for (const std::wstring& line : lines) n += line.rfind(text, 0) == 0;
  return n;
}

bool WaitForLogLine(const std::string& name, const std::wstring& text,
                    std::chrono::milliseconds limit = 30s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (Find(ReadLog(name), text) < 0) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

TEST(ApplicationRunTest, HeadlessRunWithoutAudioDevice) {
  // An audio driver that cannot open: no real sound driver starts.
  QmTest::ScopedEnv audio("SDL_AUDIODRIVER", "no-such-audio-driver");
  const std::string name = UniqueName("Run");
  AppProcess app({"-name", name, "-frames", "120", "two words"});
  ASSERT_TRUE(app.Started());
  ASSERT_EQ(app.Wait(), 0);

  const std::vector<std::wstring> log = ReadLog(name);
  ASSERT_GE(log.size(), 16u);
  const std::wstring separator(62, L'=');
  const std::wstring wname = LLF::Utf8Decode(name);
  const std::wstring folder = LLF::Utf8Decode(UserFolder(name));
  unsigned totalMB = 0;
  unsigned freeMB = 0;
  LLF::OS_GetMemoryStatus(totalMB, freeMB);
  const std::vector<std::wstring> header = {
      separator,
      L"LLF library. v1.0 build 1.628 date Fri Dec 14 18:46:03 2007",
      wname + L" v1.0",
      L"VarOzivaDididivov Application",
      separator,
      LLF::CPU::GetInstance().Dump(),
      L"OS: " + LLF::OS_GetVersionName(),
      L"Computer name: " + LLF::OS_GetComputerName(),
      L"Memory state: Size: " + std::to_wstring(totalMB) + L" MB Free: ",
      L"Video card: " + LLF::OS_GetVideoCardName(),
      L"Folder: user application data: " + folder,
      L"Folder: global application data: " + folder,
      L"Folder: temporary: " + LLF::Utf8Decode(std::string(std::getenv("TMPDIR")) + "/QmTest/" + name + "/"),
      separator,
  };
  for (size_t i = 0; i < header.size(); ++i) {
    EXPECT_EQ(log[i].rfind(header[i], 0), 0u) << "line " << i << ": " << LLF::Utf8Encode(log[i]);
  }
  EXPECT_NE(header[9], L"Video card: ");
  EXPECT_TRUE(fs::is_directory(std::string(std::getenv("TMPDIR")) + "/QmTest/" + name));

  // Init: the program's banner with the command line as the entry passed it
  // on, the window, the sound choice falling back to the silent driver, the
  // hardware render system on OpenGL, then the screen and the last hook.
  const int banner =
      Find(log, L"Test application. Command line: [-name " + wname + L" -frames 120 \"two words\"]");
  EXPECT_EQ(banner, static_cast<int>(header.size()));
  int width = 0;
  int height = 0;
  ASSERT_TRUE(LLF::OS_GetDesktopResolution(width, height));
  const std::vector<std::wstring> init = {
      L"Window created successfully.",
      L"Warning: Preferred sound driver is not found. Looking for other available drivers.",
      L"SoundDriverSilent initialized successfully.",
      L"Initializing RenderSystemHardware...",
      L"D3D8 driver: ",
      L"RenderSystemHardware initialized successfully.",
      std::wstring(L"Monitor format: ") + LLF::MonitorFormatName(LLF::OS_GetMonitorFormat()),
      L"Desktop resolution: " + std::to_wstring(width) + L"x" + std::to_wstring(height),
      L"Test application: window 800x600, full screen no, windowed possible yes.",
      // The loop ran until the close request, then everything was released
      // in order. The request made in pass 120 is handled by that pass's
      // pump, and the loop ends at the next pump.
      L"Main application loop started...",
      L"Test application: close requested.",
      L"... main application loop finished.",
      L"Test application: 121 passes.",
      L"RenderSystemHardware destroyed successfully.",
      L"SoundDriverSilent destroyed successfully.",
      L"Window destroyed successfully.",
  };
  int at = banner;
  for (const std::wstring& line : init) {
    const int next = Find(log, line, at + 1);
    EXPECT_GT(next, at) << LLF::Utf8Encode(line);
    if (next > at) at = next;
  }
  EXPECT_EQ(Count(log, L"Warning: Preferred render"), 0);
  EXPECT_EQ(Count(log, L"Error: "), 0);
}

TEST(ApplicationRunTest, SecondCopyBringsTheFirstForwardAndEnds) {
  const std::string name = UniqueName("Single");
  AppProcess first({"-name", name, "-wait-raise"});
  ASSERT_TRUE(first.Started());
  // The first copy has lost the focus and waits for input.
  ASSERT_TRUE(WaitForLogLine(name, L"Test application: deactivated."));
  const std::vector<std::wstring> before = ReadLog(name);

  AppProcess second({"-name", name, "-frames", "1"});
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.Wait(), 0);
  // The first copy came forward and, as this program does then, closed.
  EXPECT_EQ(first.Wait(), 0);

  const std::vector<std::wstring> after = ReadLog(name);
  ASSERT_GE(after.size(), before.size());
  EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
  EXPECT_EQ(Count(after, L"LLF library."), 1);
  EXPECT_EQ(Count(after, L"Test application. Command line"), 1);
  const int raised = Find(after, L"Test application: brought forward.");
  EXPECT_GE(raised, static_cast<int>(before.size()));
  EXPECT_GT(Find(after, L"... main application loop finished.", raised), raised);

  // No stale lock: a new copy starts as the only one.
  AppProcess third({"-name", name, "-frames", "3"});
  ASSERT_TRUE(third.Started());
  EXPECT_EQ(third.Wait(), 0);
  const std::vector<std::wstring> log = ReadLog(name);
  EXPECT_EQ(Count(log, L"LLF library."), 1);
  EXPECT_GE(Find(log, L"Test application: 4 passes."), 0);
  EXPECT_EQ(Find(log, L"Test application: brought forward."), -1);
}

TEST(ApplicationRunTest, SizeCoveringTheDesktopRunsFullScreen) {
  int width = 0;
  int height = 0;
  ASSERT_TRUE(LLF::OS_GetDesktopResolution(width, height));
  struct Case {
    int width, height;
    std::wstring window;
    bool switchedBack;
  } const cases[] = {
      {width, height, L"window 800x600, full screen yes, windowed possible no.", true},
      {width - 1, height,
       L"window " + std::to_wstring(width - 1) + L"x" + std::to_wstring(height) +
           L", full screen no, windowed possible yes.",
       false},
  };
  for (const Case& c : cases) {
    const std::string name = UniqueName("Size");
    AppProcess app(
        {"-name", name, "-size", std::to_string(c.width) + "x" + std::to_string(c.height), "-frames", "2"});
    ASSERT_TRUE(app.Started());
    ASSERT_EQ(app.Wait(), 0);
    const std::vector<std::wstring> log = ReadLog(name);
    EXPECT_GE(Find(log, L"Test application: " + c.window), 0) << LLF::Utf8Encode(c.window);
    // Shutdown brings the render system back to a window before releasing it.
    const int switched = Find(log, L"SwitchMode successull. Switched to windowed.");
    EXPECT_EQ(switched >= 0, c.switchedBack);
    if (c.switchedBack) {
      EXPECT_GT(Find(log, L"RenderSystemHardware destroyed successfully."), switched);
    }
  }
}

TEST(ApplicationRunTest, RefusedStartupEndsTheProcessWithoutTrace) {
  const std::string name = UniqueName("Refused");
  AppProcess app({"-name", name, "-refuse"});
  ASSERT_TRUE(app.Started());
  EXPECT_EQ(app.Wait(), 0);
  EXPECT_FALSE(fs::exists(UserFolder(name)));
}

}  // namespace
