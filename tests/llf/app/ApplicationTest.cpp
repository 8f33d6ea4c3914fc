// The application object in this process: its rules (monitor format,
// desktop fallback, frames per second, command line) and runs of the run
// function that need no window. Runs with a window are started as a
// process of their own (ApplicationRunTest.cpp).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "FontTestUtil.h"
#include "ImageTestUtil.h"
#include "LogCapture.h"
#include "RecordingGfx.h"
#include "TestEnv.h"
#include "app/AppWindow.h"
#include "app/Application.h"
#include "app/InstanceLock.h"
#include "app/MonitorFormat.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "font/FontCodecTTF.h"
#include "font/FontCodecXML.h"
#include "font/FontsManager.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"
#include "io/TextEncoding.h"
#include "render/RenderSystemHardware.h"
#include "render/RendersManager.h"
#include "sound/SoundCodecSilent.h"
#include "sound/SoundSystem.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A name no other test process uses: the lock and the raise channel are
// shared by every process of the user.
std::wstring UniqueName(const std::wstring& hint) {
  static int counter = 0;
  return L"QmApp" + hint + std::to_wstring(::getpid()) + L"-" + std::to_wstring(++counter);
}

TEST(ApplicationTest, MonitorFormatTable) {
  struct Case {
    double width, height;
    int format;
  } const cases[] = {
      {340, 270, LLF::MONITOR_FORMAT_NORMAL_4_3},                                              // 1.2592592
      {510, 290, LLF::MONITOR_FORMAT_WIDE_16_9},  {470, 300, LLF::MONITOR_FORMAT_WIDE_16_10},  // 1.5666667
      {400, 300, LLF::MONITOR_FORMAT_NORMAL_4_3}, {160, 100, LLF::MONITOR_FORMAT_WIDE_16_10},
      {0, 0, LLF::MONITOR_FORMAT_UNKNOWN},  // a screen that reports no size
      {400, 0, LLF::MONITOR_FORMAT_UNKNOWN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LLF::MonitorFormatOf(c.width, c.height), c.format) << c.width << " x " << c.height;
  }
  // Half-way between 16:10 and 16:9 in single precision is a tie.
  const float middle = (1.6f + 16.0f / 9.0f) / 2.0f;
  EXPECT_EQ(std::fabs(middle - 1.6f), std::fabs(middle - 16.0f / 9.0f));
  EXPECT_EQ(LLF::MonitorFormatOf(middle, 1.0), LLF::MONITOR_FORMAT_UNKNOWN);

  EXPECT_STREQ(LLF::MonitorFormatName(0), L"MONITOR_FORMAT_NORMAL_4_3");
  EXPECT_STREQ(LLF::MonitorFormatName(1), L"MONITOR_FORMAT_WIDE_16_10");
  EXPECT_STREQ(LLF::MonitorFormatName(2), L"MONITOR_FORMAT_WIDE_16_9");
  EXPECT_STREQ(LLF::MonitorFormatName(3), L"MONITOR_FORMAT_UNKNOWN");
  EXPECT_STREQ(LLF::MonitorFormatName(-1), L"MONITOR_FORMAT_UNKNOWN");
}

TEST(ApplicationTest, WindowSizeFallsBackOnlyWhenItCoversTheDesktop) {
  struct Case {
    unsigned width, height, desktopWidth, desktopHeight;
    bool windowed;
    unsigned resultWidth, resultHeight;
  } const cases[] = {
      {1920, 1000, 1920, 1080, true, 1920, 1000},  // only the width reaches
      {1000, 1080, 1920, 1080, true, 1000, 1080},  // only the height reaches
      {1920, 1080, 1920, 1080, false, 800, 600},
      {2048, 1536, 1920, 1080, false, 800, 600},
      {800, 600, 1920, 1080, true, 800, 600},
      // Sizes beyond the signed range still compare as sizes.
      {0x80000000u, 1080, 1920, 1080, false, 800, 600},
  };
  for (const Case& c : cases) {
    LLF::AppSettings settings;
    settings.width = c.width;
    settings.height = c.height;
    settings.title = L"kept";
    EXPECT_EQ(LLF::Application::FitToDesktop(settings, c.desktopWidth, c.desktopHeight), c.windowed)
        << c.width << " x " << c.height;
    EXPECT_EQ(settings.width, c.resultWidth);
    EXPECT_EQ(settings.height, c.resultHeight);
    EXPECT_EQ(settings.title, L"kept");
  }
}

unsigned g_now = 0;
unsigned FakeClock() {
  return g_now;
}

class FrameCounter : public LLF::Application {
 public:
  FrameCounter() { SetFrameClock(&FakeClock); }
  void StartCounting() {
    _frameTimer.Start(false);
    _frames = 0;
  }
  void Frame(unsigned now) {
    g_now = now;
    CountFrame();
  }
  unsigned Frames() const { return _frames; }
};

TEST(ApplicationTest, FramesPerSecondRecomputedAfterMoreThanASecond) {
  FrameCounter app;
  g_now = 5000;
  app.StartCounting();
  for (int i = 0; i < 59; ++i) {
    app.Frame(5000 + 1000);  // exactly 1000 ms: not yet
  }
  EXPECT_EQ(app.GetFPS(), 0.0f);
  EXPECT_EQ(app.Frames(), 59u);
  app.Frame(5000 + 1001);
  EXPECT_FLOAT_EQ(app.GetFPS(), 59.94006f);
  EXPECT_EQ(app.GetFPS(), static_cast<float>(60000.0 / 1001.0));
  EXPECT_EQ(app.Frames(), 0u);
  // Counting starts afresh from the recomputation.
  app.Frame(6001 + 1000);
  EXPECT_FLOAT_EQ(app.GetFPS(), 59.94006f);
  app.Frame(6001 + 2000);
  EXPECT_FLOAT_EQ(app.GetFPS(), 1.0f);
  // Across the wrap of the millisecond clock.
  g_now = 0xFFFFFF00u;
  app.StartCounting();
  for (int i = 0; i < 29; ++i) app.Frame(0xFFFFFF00u + 10);
  app.Frame(0xFFFFFF00u + 1250);
  EXPECT_FLOAT_EQ(app.GetFPS(), 24.0f);
}

TEST(ApplicationTest, EntryStripsTheProgramPath) {
  struct Case {
    std::wstring line, rest;
  } const cases[] = {
      {L"\"C:\\Games\\zenta.exe\" -window", L"-window"},
      {L"\"C:\\Games\\zenta.exe\"", L""},
      {L"\"C:\\Games\\zenta.exe\" ", L""},
      {L"zenta.exe -window", L"enta.exe -window"},  // unquoted: only the first character goes
      {L"x", L""},
      {L"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LLF::Application::StripProgramPath(c.line), c.rest) << LLF::Utf8Encode(c.line);
  }
}

TEST(ApplicationTest, CommandLineQuotesWhatTheDesktopWouldSplit) {
  EXPECT_EQ(LLF::OS_MakeCommandLine({L"/opt/game/zenta", L"-window"}), L"\"/opt/game/zenta\" -window");
  EXPECT_EQ(LLF::OS_MakeCommandLine({L"/my games/zenta", L"a b", L"", L"tab\there"}),
            L"\"/my games/zenta\" \"a b\" \"\" \"tab\there\"");
  // Quotes are escaped; backslashes only count before a quote or the end.
  EXPECT_EQ(LLF::OS_MakeCommandLine(
                {L"/z", L"say \"hi\"", L"c:\\my dir\\", L"c:\\dir\\", L"a\\\\\"b", L"plain\\path"}),
            L"\"/z\" \"say \\\"hi\\\"\" \"c:\\my dir\\\\\" c:\\dir\\ \"a\\\\\\\\\\\"b\" plain\\path");
  EXPECT_EQ(LLF::OS_MakeCommandLine({}), L"");
  // The entry's stripping leaves exactly the arguments.
  EXPECT_EQ(
      LLF::Application::StripProgramPath(LLF::OS_MakeCommandLine({L"/opt/game/zenta", L"-window", L"x y"})),
      L"-window \"x y\"");
  // This process: its own program, quoted, and gtest's arguments after it.
  const std::wstring own = LLF::OS_GetCommandLine();
  EXPECT_EQ(own.rfind(L"\"" + LLF::OS_GetExePath() + L"\"", 0), 0u) << LLF::Utf8Encode(own);
}

// Counts what the run function calls.
class ProbeApp : public LLF::Application {
 public:
  explicit ProbeApp(std::wstring name) : _name(std::move(name)) {}
  std::wstring GetName() const override { return _name; }
  std::wstring GetVendor() const override { return vendor; }
  LLF::AppSettings GetSettings() const override {
    LLF::AppSettings settings;
    settings.createWindow = createWindow;
    settings.width = width;
    settings.height = height;
    return settings;
  }
  LLF::RenderSettings GetRenderSettings() const override {
    LLF::RenderSettings settings;
    settings.preferHardware = preferHardware;
    return settings;
  }
  bool OnStartup(const std::wstring& commandLine) override {
    ++startups;
    startupLine = commandLine;
    return startupResult;
  }
  bool Init(const std::wstring& commandLine) override {
    ++inits;
    return Application::Init(commandLine);
  }
  bool PostInit(const std::wstring&) override {
    ++postInits;
    windowDuringInit = LLF::AppWindow::GetInstance().GetHandle() != nullptr;
    soundDriverDuringInit = LLF::SoundSystem::GetInstance().GetCurrentDriver() != nullptr;
    LLF::IRenderSystem* render = LLF::RendersManager::GetInstance().GetCurrentRender();
    renderDuringInit = render != nullptr;
    renderWindowed = render && render->GetSettings().windowed;
    windowSize = LLF::AppWindow::GetInstance().GetSettings()->width;
    return postInitResult;
  }
  void OnUpdate() override {
    ++updates;
    LLF::AppWindow& window = LLF::AppWindow::GetInstance();
    if (resizeTo.x > 0) {
      window.WindowProc(
          LLF::OsMessage(LLF::WM_SIZE, LLF::SIZE_RESTORED, LLF::MakeLong(resizeTo.x, resizeTo.y)));
    }
    window.Quit();
  }
  void Shutdown() override {
    ++shutdowns;
    Application::Shutdown();
  }

  std::wstring vendor = L"QmTest";
  bool createWindow = false;
  bool startupResult = true;
  bool postInitResult = true;
  bool preferHardware = true;
  unsigned width = 800, height = 600;
  LLF::Point resizeTo{0, 0};
  int startups = 0, inits = 0, postInits = 0, updates = 0, shutdowns = 0;
  std::wstring startupLine;
  bool windowDuringInit = true, soundDriverDuringInit = true, renderDuringInit = true;
  bool renderWindowed = false;
  unsigned windowSize = 0;

 private:
  std::wstring _name;
};

std::string DataFolder() {
  return std::getenv("XDG_DATA_HOME");
}

TEST(ApplicationTest, RefusedStartupLeavesNoTrace) {
  const std::wstring name = UniqueName(L"Refuse");
  ProbeApp app(name);
  app.startupResult = false;
  QmTest::LogCapture capture;
  LLF::Application::Start(L"-some -words", &app);
  EXPECT_EQ(app.startups, 1);
  EXPECT_EQ(app.startupLine, L"-some -words");
  EXPECT_EQ(app.inits, 0);
  EXPECT_EQ(app.shutdowns, 0);
  EXPECT_TRUE(capture.Lines().empty());
  EXPECT_FALSE(fs::exists(DataFolder() + "/QmTest/" + LLF::Utf8Encode(name)));
  EXPECT_FALSE(fs::exists(std::string(std::getenv("TMPDIR")) + "/QmTest/" + LLF::Utf8Encode(name)));
  // The lock was never asked for: another copy could take it.
  LLF::InstanceLock lock;
  EXPECT_EQ(lock.Acquire(L"LLFAppLock_" + name), LLF::InstanceLock::Result::OBTAINED);
}

TEST(ApplicationTest, WithoutWindowNothingIsStarted) {
  const std::wstring name = UniqueName(L"NoWindow");
  ProbeApp app(name);
  QmTest::LogCapture capture;
  LLF::Application::Start(nullptr, &app);
  EXPECT_EQ(app.startupLine, L"");
  EXPECT_EQ(app.inits, 1);
  EXPECT_FALSE(app.windowDuringInit);
  EXPECT_FALSE(app.soundDriverDuringInit);
  EXPECT_FALSE(app.renderDuringInit);
  // The loop runs once: the pump finds no window.
  EXPECT_EQ(app.updates, 1);
  EXPECT_EQ(app.shutdowns, 1);
  EXPECT_EQ(capture.Count(L"Window created"), 0);
  EXPECT_EQ(capture.Count(L"Monitor format"), 0);
  EXPECT_EQ(capture.Count(L"Desktop resolution"), 0);
  EXPECT_EQ(capture.Count(L"Main application loop started..."), 1);
  EXPECT_EQ(capture.Count(L"... main application loop finished."), 1);

  const std::string user = DataFolder() + "/QmTest/" + LLF::Utf8Encode(name) + "/";
  const std::string temp = std::string(std::getenv("TMPDIR")) + "/QmTest/" + LLF::Utf8Encode(name) + "/";
  EXPECT_EQ(LLF::Utf8Encode(app.GetUserDataFolder()), user);
  EXPECT_EQ(app.GetGlobalDataFolder(), app.GetUserDataFolder());
  EXPECT_EQ(LLF::Utf8Encode(app.GetTempFolder()), temp);
  EXPECT_TRUE(fs::is_directory(user));
  EXPECT_TRUE(fs::is_directory(temp));
  EXPECT_TRUE(fs::exists(user + "log.txt"));
  // Only the header's three separators and the loop's two.
  EXPECT_EQ(capture.Count(std::wstring(62, L'=')), 5);

  // Everything was registered all the same, in the order the choices try.
  LLF::SoundSystem& sound = LLF::SoundSystem::GetInstance();
  ASSERT_EQ(sound.GetDriversCount(), 4u);
  EXPECT_TRUE(sound.GetDriver(0)->IsKindOf("SoundDriverAudiere"));
  EXPECT_TRUE(sound.GetDriver(1)->IsKindOf("SoundDriverBASS"));
  EXPECT_TRUE(sound.GetDriver(2)->IsKindOf("SoundDriverSquall"));
  EXPECT_TRUE(sound.GetDriver(3)->IsKindOf("SoundDriverSilent"));
  EXPECT_FALSE(LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecPng::GetInstance()));
  EXPECT_FALSE(LLF::FontsManager::GetInstance().RegisterCodec(&LLF::FontCodecTTF::GetInstance()));
  EXPECT_FALSE(LLF::FontsManager::GetInstance().RegisterCodec(&LLF::FontCodecXML::GetInstance()));
  EXPECT_FALSE(sound.RegisterCodec(&LLF::SoundCodecSilent::GetInstance()));
  // The lock is given back at the end.
  LLF::InstanceLock lock;
  EXPECT_EQ(lock.Acquire(L"LLFAppLock_" + name), LLF::InstanceLock::Result::OBTAINED);
}

// Leaves an image and a font loaded, loaded through the codecs Init
// registered, for the shutdown to free.
class LeavingApp : public ProbeApp {
 public:
  using ProbeApp::ProbeApp;
  bool PostInit(const std::wstring&) override {
    image = LLF::ImagesManager::GetInstance().LoadImage(imagePath, L"left image", false, true);
    font = LLF::FontsManager::GetInstance().LoadFont(LLF::AnsiToWide(QmTest::kDejaVuSans), 12, L"AB",
                                                     L"left font", false, true, LLF::Point(1, 1));
    return true;
  }
  void OnShutdown() override { LLF::Log::GetInstance().Write(L"shutdown hook"); }
  std::wstring imagePath;
  LLF::Image* image = nullptr;
  LLF::Font* font = nullptr;
};

TEST(ApplicationTest, ShutdownFreesImagesAndFontsAfterItsHook) {
  const std::string folder = QmTest::NewTempFolder("left");
  {
    const QmTest::Bytes bmp = QmTest::MakeBmp(QmTest::Pattern(2, 2, false));
    std::ofstream(folder + "/left.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  }
  LeavingApp app(UniqueName(L"Leave"));
  app.imagePath = LLF::FromOsPath(folder + "/left.bmp");
  QmTest::LogCapture capture;
  LLF::Application::Start(L"", &app);
  ASSERT_NE(app.image, nullptr);
  ASSERT_NE(app.font, nullptr);
  EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResource(L"left image"), nullptr);
  EXPECT_EQ(LLF::FontsManager::GetInstance().FindResource(L"left font"), nullptr);
  const auto& lines = capture.Lines();
  const auto at = [&](const std::wstring& text) {
    return std::find_if(lines.begin(), lines.end(),
                        [&](const std::wstring& line) { return line.find(text) != std::wstring::npos; }) -
           lines.begin();
  };
  const auto hook = at(L"shutdown hook");
  const auto images = at(L"WARNING: Some images are not freed.");
  const auto fonts = at(L"WARNING: Some fonts are not freed.");
  ASSERT_LT(fonts, static_cast<std::ptrdiff_t>(lines.size()));
  EXPECT_LT(hook, images);
  EXPECT_LT(images, fonts);
}

// Runs with a window over a recording graphics library, so the render
// choice can be steered.
class RenderChoiceTest : public testing::Test {
 protected:
  void SetUp() override { LLF::RenderSystemHardware::SetGfxLibrary(&gfx); }
  void TearDown() override { LLF::RenderSystemHardware::SetGfxLibrary(nullptr); }

  // Index of the first captured line at or after from that holds text; the
  // line count when none does.
  size_t Find(const std::wstring& text, size_t from = 0) const {
    const auto& lines = capture.Lines();
    for (size_t i = from; i < lines.size(); ++i) {
      if (lines[i].find(text) != std::wstring::npos) return i;
    }
    return lines.size();
  }

  QmTest::RecordingGfx gfx;
  QmTest::LogCapture capture;
};

const wchar_t kRenderWarning[] =
    L"Warning: Preferred render is not found. Looking for other available renders.";
const wchar_t kRenderError[] = L"Error: Can't find appropriate render, or it can't be initialized.";

TEST_F(RenderChoiceTest, PreferredKindFirstThenTheOther) {
  struct Case {
    bool preferHardware;
    bool hardwareStarts;
  } const cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "prefer hardware " << c.preferHardware << ", hardware starts "
                                    << c.hardwareStarts);
    capture.Clear();
    gfx.Script().loadFails = !c.hardwareStarts;
    ProbeApp app(UniqueName(L"Render"));
    app.createWindow = true;
    app.preferHardware = c.preferHardware;
    LLF::Application::Start(L"", &app);

    EXPECT_EQ(app.inits, 1);
    EXPECT_EQ(app.shutdowns, 1);
    // Without a render system Init ends before its last hook.
    EXPECT_EQ(app.postInits, c.hardwareStarts ? 1 : 0);
    EXPECT_EQ(app.updates, c.hardwareStarts ? 1 : 0);
    // The hardware system was tried exactly once.
    EXPECT_EQ(capture.Count(L"Initializing RenderSystemHardware..."), 1);
    const size_t sound = Find(L"SoundDriver");
    const size_t tried = Find(L"Initializing RenderSystemHardware...");
    const size_t warning = Find(kRenderWarning);
    EXPECT_LT(sound, tried);
    if (c.hardwareStarts) {
      EXPECT_TRUE(app.renderDuringInit);
      // Warned only when the software system was preferred, before the
      // hardware one was tried.
      EXPECT_EQ(warning < tried, !c.preferHardware);
      EXPECT_EQ(capture.Count(kRenderWarning), c.preferHardware ? 0 : 1);
      EXPECT_EQ(capture.Count(kRenderError), 0);
      EXPECT_LT(Find(L"RenderSystemHardware initialized successfully."), Find(L"Monitor format: "));
      EXPECT_LT(Find(L"RenderSystemHardware destroyed successfully."),
                Find(L"Window destroyed successfully."));
    } else {
      // The error between star lines closes the choice; Init stops there.
      EXPECT_EQ(capture.Count(kRenderWarning), 1);
      const size_t error = Find(kRenderError);
      ASSERT_LT(error + 1, capture.Lines().size());
      EXPECT_EQ(capture.Lines()[error - 1], std::wstring(62, L'*'));
      EXPECT_EQ(capture.Lines()[error + 1], std::wstring(62, L'*'));
      EXPECT_LT(warning, error);
      EXPECT_EQ(capture.Count(L"Monitor format: "), 0);
      EXPECT_EQ(capture.Count(L"Main application loop started..."), 0);
      EXPECT_LT(error, Find(L"Window destroyed successfully."));
    }
    EXPECT_EQ(LLF::RendersManager::GetInstance().GetCurrentRender(), nullptr);
    EXPECT_EQ(LLF::SoundSystem::GetInstance().GetCurrentDriver(), nullptr);
    EXPECT_EQ(LLF::AppWindow::GetInstance().GetHandle(), nullptr);
  }
  LLF::RendersManager& renders = LLF::RendersManager::GetInstance();
  ASSERT_EQ(renders.GetRendersCount(), 2u);
  EXPECT_TRUE(renders.GetRender(0)->IsKindOf("RenderSystemSoftware"));
  EXPECT_TRUE(renders.GetRender(1)->IsKindOf("RenderSystemHardware"));
}

TEST_F(RenderChoiceTest, WindowCoveringTheDesktopStartsFullScreen) {
  int desktopWidth = 0;
  int desktopHeight = 0;
  ASSERT_TRUE(LLF::OS_GetDesktopResolution(desktopWidth, desktopHeight));
  ProbeApp app(UniqueName(L"Full"));
  app.createWindow = true;
  app.width = static_cast<unsigned>(desktopWidth);
  app.height = static_cast<unsigned>(desktopHeight);
  LLF::Application::Start(L"", &app);
  EXPECT_FALSE(app.IsWindowedPossible());
  EXPECT_TRUE(app.renderDuringInit);
  EXPECT_FALSE(app.renderWindowed);
  EXPECT_EQ(app.windowSize, 800u);

  ProbeApp narrower(UniqueName(L"Narrow"));
  narrower.createWindow = true;
  narrower.width = static_cast<unsigned>(desktopWidth) - 1;
  narrower.height = static_cast<unsigned>(desktopHeight);
  LLF::Application::Start(L"", &narrower);
  EXPECT_TRUE(narrower.IsWindowedPossible());
  EXPECT_TRUE(narrower.renderWindowed);
  EXPECT_EQ(narrower.windowSize, static_cast<unsigned>(desktopWidth) - 1);
}

TEST_F(RenderChoiceTest, ResizeReachesTheRenderSystem) {
  ProbeApp app(UniqueName(L"Resize"));
  app.createWindow = true;
  app.resizeTo = LLF::Point(1000, 700);
  LLF::Application::Start(L"", &app);
  ASSERT_EQ(app.updates, 1);
  EXPECT_EQ(gfx.Script().deviceParams.backBufferWidth, 1000u);
  EXPECT_EQ(gfx.Script().deviceParams.backBufferHeight, 700u);
}

TEST(ApplicationTest, FailedInitSkipsTheLoopButShutsDown) {
  ProbeApp app(UniqueName(L"PostInit"));
  app.postInitResult = false;
  LLF::Application::Start(L"", &app);
  EXPECT_EQ(app.inits, 1);
  EXPECT_EQ(app.updates, 0);
  EXPECT_EQ(app.shutdowns, 1);
}

TEST(ApplicationTest, FoldersWithoutVendor) {
  ProbeApp app(L"Name");
  app.vendor = L"";
  EXPECT_EQ(LLF::Utf8Encode(app.GetUserDataFolder()), DataFolder() + "/Name/");
  EXPECT_EQ(app.Dump(), L"Application: Name Vendor: ");
}

TEST(ApplicationTest, InstanceAndHooks) {
  EXPECT_EQ(LLF::Application::GetInstance(), nullptr);
  {
    LLF::Application app;
    EXPECT_EQ(LLF::Application::GetInstance(), &app);
    EXPECT_TRUE(app.IsKindOf("Application"));
    EXPECT_TRUE(app.IsKindOf("MessageReceiver"));
    EXPECT_TRUE(app.IsKindOf("Object"));
    EXPECT_FALSE(app.IsKindOf("IWindowHost"));
    EXPECT_EQ(app.Dump(), L"Application: LLF Application Vendor: LLF");
    bool inactive = false;
    app.OnActivate();
    EXPECT_TRUE(app.IsActive());
    app.OnDeactivate(&inactive);
    EXPECT_TRUE(inactive);
    EXPECT_FALSE(app.IsActive());
    app.Pause();
    EXPECT_TRUE(app.IsPaused());
    app.Resume();
    EXPECT_FALSE(app.IsPaused());
    bool flag = true;
    unsigned value = 7;
    app.QueryFlagAndValue(&flag, &value);
    EXPECT_FALSE(flag);
    EXPECT_EQ(value, 0u);
  }
  EXPECT_EQ(LLF::Application::GetInstance(), nullptr);
  EXPECT_FALSE(LLF::Application::IsCOMInitialized());
  LLF::Application::SetCOMInitialized(true);
  EXPECT_TRUE(LLF::Application::IsCOMInitialized());
  LLF::Application::SetCOMInitialized(false);
}

// Waits for a raise request on the channel's thread.
struct RaiseWaiter {
  std::mutex lock;
  std::condition_variable signal;
  int raised = 0;
  std::function<void()> Callback() {
    return [this] {
      std::lock_guard<std::mutex> guard(lock);
      ++raised;
      signal.notify_all();
    };
  }
  bool WaitFor(int count) {
    std::unique_lock<std::mutex> guard(lock);
    return signal.wait_for(guard, std::chrono::seconds(10), [&] { return raised >= count; });
  }
};

TEST(InstanceLockTest, SecondHolderIsRefusedAndReachesTheFirst) {
  const std::wstring name = UniqueName(L"Lock");
  RaiseWaiter waiter;
  LLF::InstanceLock first;
  ASSERT_EQ(first.Acquire(L"LLFAppLock_" + name, L"LLFAppWindowClass" + name, waiter.Callback()),
            LLF::InstanceLock::Result::OBTAINED);
  EXPECT_TRUE(first.IsHeld());
  EXPECT_EQ(first.GetPath(),
            std::string(std::getenv("XDG_RUNTIME_DIR")) + "/LLFAppLock_" + LLF::Utf8Encode(name));

  LLF::InstanceLock second;
  EXPECT_EQ(second.Acquire(L"LLFAppLock_" + name), LLF::InstanceLock::Result::HELD);
  EXPECT_FALSE(second.IsHeld());
  EXPECT_TRUE(LLF::InstanceLock::RequestRaise(L"LLFAppWindowClass" + name));
  EXPECT_TRUE(LLF::InstanceLock::RequestRaise(L"LLFAppWindowClass" + name));
  EXPECT_TRUE(waiter.WaitFor(2));
  EXPECT_FALSE(LLF::InstanceLock::RequestRaise(L"LLFAppWindowClass" + name + L"-other"));

  first.Release();
  EXPECT_FALSE(first.IsHeld());
  EXPECT_FALSE(LLF::InstanceLock::RequestRaise(L"LLFAppWindowClass" + name));
  EXPECT_EQ(second.Acquire(L"LLFAppLock_" + name), LLF::InstanceLock::Result::OBTAINED);
  // Names with separators stay one file in the lock folder.
  LLF::InstanceLock slashed;
  EXPECT_EQ(slashed.Acquire(L"LLFAppLock_a/b" + name), LLF::InstanceLock::Result::OBTAINED);
  EXPECT_EQ(fs::path(slashed.GetPath()).parent_path(), fs::path(std::getenv("XDG_RUNTIME_DIR")));
}

// posix_spawnp returns once the child has left this program's memory, a
// moment before the kernel closes the child's close-on-exec descriptors, so
// the lock is checked only after a byte has made the round trip through the
// child (cat): by then it runs its own program, and still runs.
TEST(InstanceLockTest, ChildProcessesDoNotKeepTheLock) {
  const std::wstring name = UniqueName(L"Child");
  LLF::InstanceLock lock;
  ASSERT_EQ(lock.Acquire(L"LLFAppLock_" + name, L"LLFAppWindowClass" + name, [] {}),
            LLF::InstanceLock::Result::OBTAINED);
  int toChild[2];
  int fromChild[2];
  ASSERT_EQ(::pipe2(toChild, O_CLOEXEC), 0);
  ASSERT_EQ(::pipe2(fromChild, O_CLOEXEC), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
  pid_t child = 0;
  char catName[] = "cat";
  char* argv[] = {catName, nullptr};
  const int spawned = posix_spawnp(&child, "cat", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(toChild[0]);
  ::close(fromChild[1]);
  ASSERT_EQ(spawned, 0);
  char byte = 'x';
  ASSERT_EQ(::write(toChild[1], &byte, 1), 1);
  pollfd echo{fromChild[0], POLLIN, 0};
  ASSERT_EQ(::poll(&echo, 1, 10000), 1) << "no echo from the child";
  ASSERT_EQ(::read(fromChild[0], &byte, 1), 1);

  lock.Release();
  LLF::InstanceLock again;
  EXPECT_EQ(again.Acquire(L"LLFAppLock_" + name), LLF::InstanceLock::Result::OBTAINED);
  EXPECT_FALSE(LLF::InstanceLock::RequestRaise(L"LLFAppWindowClass" + name));
  // End of input ends the child.
  ::close(toChild[1]);
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  ::close(fromChild[0]);
}

TEST(InstanceLockTest, WithoutAPlaceForTheLockTheProgramStillRuns) {
  const std::wstring name = UniqueName(L"NoPlace");
  const std::string file = "LLFAppLock_" + LLF::Utf8Encode(name);
  // Links are never followed, so links in both places leave no lock file.
  const std::string runtimePath = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" + file;
  const std::string tmpPath =
      std::string(std::getenv("TMPDIR")) + "/" + file + "." + std::to_string(::getuid());
  fs::create_symlink("/nonexistent", runtimePath);
  fs::create_symlink("/nonexistent", tmpPath);
  LLF::InstanceLock lock;
  EXPECT_EQ(lock.Acquire(L"LLFAppLock_" + name), LLF::InstanceLock::Result::FAILED);
  EXPECT_FALSE(fs::exists("/nonexistent"));

  ProbeApp app(name);
  QmTest::LogCapture capture;
  LLF::Application::Start(L"", &app);
  EXPECT_EQ(app.inits, 1);
  EXPECT_EQ(capture.Count(L"Warning: Can't take the single-instance lock LLFAppLock_" + name +
                          L". Running without it."),
            1);
  // Without the runtime folder the temporary folder holds the lock.
  fs::remove(tmpPath);
  QmTest::ScopedEnv noRuntime("XDG_RUNTIME_DIR", "/no/such/folder");
  EXPECT_EQ(lock.Acquire(L"LLFAppLock_" + name), LLF::InstanceLock::Result::OBTAINED);
  EXPECT_EQ(lock.GetPath(), tmpPath);
}

}  // namespace
