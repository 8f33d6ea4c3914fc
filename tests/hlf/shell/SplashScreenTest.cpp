// The splash screen driven by frame steps on the test shell: the timing of
// fades and show times, skipping by key and mouse releases, pictures that
// cannot be skipped, the last picture without its fade out, the shell's
// clear settings, and scripts without pictures or of the wrong kind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "app/InputCodes.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/StateMachine.h"
#include "modifiers/Fader.h"
#include "shell/SplashScreen.h"
#include "widgets/StaticImage.h"

namespace {

using HLF::SplashScreen;

constexpr unsigned kFrame = 50;

// The scene the shell runs: it updates the splash every frame, as the
// game's script does.
class SplashHost : public HLF::StateMachine {
 public:
  void Update(unsigned dt) override {
    if (splash) splash->Update(dt);
  }
  SplashScreen* splash = nullptr;
};

// The stage the splash is in: "in<N>" while picture N fades in, "show<N>"
// while it is shown, "out<N>" while it fades out, "done" once finished.
std::string Stage(SplashScreen& splash, bool done) {
  if (done) return "done";
  const std::string index = std::to_string(splash.GetVendorIndex());
  const HLF::Fader* fader = splash.GetFader();
  // Between a fade out and the next picture's fade in.
  if (!fader && splash.GetState() == SplashScreen::SPLASH_STATE_HIDE) return "";
  if (!fader) return "show" + index;
  return (fader->GetType() == HLF::Fader::FADE_RISE ? "in" : "out") + index;
}

// A started test shell with the splash script, a host scene and a splash
// whose finished message a recorder keeps.
struct SplashRun {
  explicit SplashRun(const std::string& script) : game(folders) {
    folders.WriteProgramFile("scripts/splash.xml", script);
    EXPECT_TRUE(game.Start());
    game.SetClearSettings(false, LLF::Color(10, 20, 30, 40));
    game.SetStateMachine(&host);
    splash = std::make_unique<SplashScreen>(&recorder);
    host.splash = splash.get();
  }
  ~SplashRun() {
    game.SetStateMachine(nullptr);
    host.splash = nullptr;
    splash.reset();
  }
  bool Done() const { return !recorder.Codes({0}).empty(); }
  // Frames until the time (ms since the start), noting each stage as it
  // begins with its time; key releases at the times given.
  void RunUntil(unsigned end, const std::vector<unsigned>& keys = {}) {
    Note();
    size_t nextKey = 0;
    while (time < end) {
      game.Frame(kFrame);
      time += kFrame;
      Note();
      if (nextKey < keys.size() && time >= keys[nextKey]) {
        splash->OnMessage(Window(LLF::WMSG_KEY_UP, LLF::KEY_SPACE));
        ++nextKey;
      }
    }
  }
  void Note() {
    const std::string stage = Stage(*splash, Done());
    if (stage.empty()) return;
    if (stages.empty() || stages.back().first != stage) stages.emplace_back(stage, time);
  }
  static LLF::Message* Window(int code, int param) {
    static LLF::Message msg;
    msg = QmTest::TestShell::WindowMessage(code, param, 0, 0, L"Space");
    return &msg;
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game;
  QmTest::MessageRecorder recorder;
  SplashHost host;
  std::unique_ptr<SplashScreen> splash;
  unsigned time = 0;
  std::vector<std::pair<std::string, unsigned>> stages;
};

const char kHeader[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string Script(const std::string& rootAttributes, const std::string& vendors) {
  return kHeader + std::string("<splash ") + rootAttributes + " >" + vendors + "</splash>\n";
}

const char kTwo[] = "<vendor image=\"images/a.png\" /><vendor image=\"images/b.png\" />";

TEST(SplashScreenTest, TimingAndSkips) {
  struct Case {
    const char* what;
    std::string script;
    std::vector<unsigned> keys;
    std::vector<std::pair<std::string, unsigned>> stages;
  } cases[] = {
      {"two pictures with the defaults",
       Script("", kTwo),
       {},
       {{"in0", 0},
        {"show0", 1000},
        {"out0", 3000},
        {"in1", 4000},
        {"show1", 5000},
        {"out1", 7000},
        {"done", 8000}}},
      {"a key while the first is shown starts its fade out",
       Script("", kTwo),
       {2000},
       {{"in0", 0},
        {"show0", 1000},
        {"out0", 2000},
        {"in1", 3000},
        {"show1", 4000},
        {"out1", 6000},
        {"done", 7000}}},
      {"a key during a fade in jumps to the next picture",
       Script("", kTwo),
       {500},
       {{"in0", 0}, {"in1", 500}, {"show1", 1500}, {"out1", 3500}, {"done", 4500}}},
      {"a key during a fade out ends it at once",
       Script("", kTwo),
       {3500},
       {{"in0", 0},
        {"show0", 1000},
        {"out0", 3000},
        {"in1", 3500},
        {"show1", 4500},
        {"out1", 6500},
        {"done", 7500}}},
      {"a picture that cannot be skipped ignores keys",
       Script("", "<vendor canBeSkipped=\"false\" /><vendor />"),
       {500, 2000, 3500},
       {{"in0", 0},
        {"show0", 1000},
        {"out0", 3000},
        {"in1", 4000},
        {"show1", 5000},
        {"out1", 7000},
        {"done", 8000}}},
      {"fade times are swapped as the script has them, show times per picture",
       Script("fadeInTime=\"0.5\" fadeOutTime=\"0.25\"", "<vendor showTime=\"1.5\" />"),
       {},
       {{"in0", 0}, {"show0", 250}, {"out0", 1750}, {"done", 2250}}},
      {"noLastFadeIn cuts the last picture at the end of its show time",
       Script("noLastFadeIn=\"true\"", kTwo),
       {},
       {{"in0", 0}, {"show0", 1000}, {"out0", 3000}, {"in1", 4000}, {"show1", 5000}, {"done", 7000}}},
      {"noLastFadeIn: a key during the last fade in ends the splash",
       Script("noLastFadeIn=\"true\"", kTwo),
       {4500},
       {{"in0", 0}, {"show0", 1000}, {"out0", 3000}, {"in1", 4000}, {"done", 4500}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SplashRun run(c.script);
    QmTest::LogRecorder log;
    ASSERT_TRUE(run.splash->SetState(0));
    run.RunUntil(9000, c.keys);
    EXPECT_EQ(log.Count(L"SplashScreen - key up or mouse up message received."), int(c.keys.size()))
        << "every release logged, skipped or not";
    ASSERT_EQ(run.stages.size(), c.stages.size());
    for (size_t i = 0; i < c.stages.size(); ++i) {
      EXPECT_EQ(run.stages[i].first, c.stages[i].first) << i;
      EXPECT_LE(std::abs(int(run.stages[i].second) - int(c.stages[i].second)), int(2 * kFrame))
          << c.stages[i].first << " at " << run.stages[i].second;
    }
    EXPECT_EQ(run.recorder.Codes({0}).size(), 1u) << "one finished message";
  }
}

TEST(SplashScreenTest, ShowsEachPictureAndPutsTheScreenBack) {
  SplashRun run(Script("fadeColor=\"0,0,90\"", kTwo));
  QmTest::LogRecorder log;
  // A picture the first child names; the second does not load.
  LLF::Image picture(8, 6, LLF::IMGFORMAT_R8G8B8A8);
  std::filesystem::create_directories(run.folders.Program() + "/images");
  ASSERT_TRUE(LLF::ImagesManager::GetInstance().SaveImage(
      &picture, LLF::FromOsPath(run.folders.Program() + "/images/a.png")));

  ASSERT_TRUE(run.splash->SetState(0));
  bool clear = false;
  LLF::Color color;
  run.game.GetClearSettings(clear, color);
  EXPECT_TRUE(clear);
  EXPECT_EQ(color, LLF::Color(0, 0, 90, 255));
  HLF::StaticImage* image = run.splash->GetImageControl();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetName(), L"SplashScreenVendorImg");
  EXPECT_EQ(image->GetParent(), run.game.GetGameLayer());
  ASSERT_NE(image->GetImage(), nullptr);
  EXPECT_EQ(image->GetImage()->GetWidth(), 8u);
  EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResourceId(image->GetImage()), L"")
      << "the picture is not registered";

  run.RunUntil(500);
  EXPECT_TRUE(image->IsVisible());
  EXPECT_GT(image->GetAlpha(), 60);
  EXPECT_LT(image->GetAlpha(), 200) << "half way through its fade in";
  run.RunUntil(2000);
  EXPECT_EQ(image->GetAlpha(), 255);
  run.RunUntil(4500);
  EXPECT_EQ(run.splash->GetVendorIndex(), 1u);
  EXPECT_EQ(image->GetImage(), nullptr) << "the second picture does not load; its fades go on";
  run.RunUntil(8500);
  ASSERT_TRUE(run.Done());
  EXPECT_EQ(run.splash->GetImageControl(), nullptr);
  EXPECT_EQ(run.game.GetGameLayer()->GetChildsCount(), 0);
  run.game.GetClearSettings(clear, color);
  EXPECT_FALSE(clear);
  EXPECT_EQ(color, LLF::Color(10, 20, 30, 40));
}

TEST(SplashScreenTest, ScriptsWithoutPicturesOrOfAnotherKind) {
  {
    SCOPED_TRACE("no pictures: finished within SetState");
    SplashRun run(Script("", ""));
    EXPECT_TRUE(run.splash->SetState(0));
    EXPECT_TRUE(run.Done());
    EXPECT_EQ(run.game.GetGameLayer()->GetChildsCount(), 0);
    EXPECT_EQ(run.splash->GetImageControl(), nullptr);
    bool clear = true;
    LLF::Color color;
    run.game.GetClearSettings(clear, color);
    EXPECT_FALSE(clear) << "the clear settings are back";
    EXPECT_EQ(color, LLF::Color(10, 20, 30, 40));
  }
  {
    SCOPED_TRACE("the created script: its comment is one blank picture");
    QmTest::TempFolders folders;
    QmTest::TestGame game(folders);
    ASSERT_TRUE(game.Start());
    SplashHost host;
    QmTest::MessageRecorder recorder;
    SplashScreen splash(&recorder);
    host.splash = &splash;
    game.SetStateMachine(&host);
    ASSERT_TRUE(splash.SetState(0));
    for (int i = 0; i < 3900 / int(kFrame); ++i) game.Frame(kFrame);
    EXPECT_TRUE(recorder.Codes({0}).empty());
    for (int i = 0; i < 200 / int(kFrame); ++i) game.Frame(kFrame);
    EXPECT_EQ(recorder.Codes({0}).size(), 1u);
    game.SetStateMachine(nullptr);
  }
  {
    SCOPED_TRACE("a root of another name");
    SplashRun run(kHeader + std::string("<intro><vendor /></intro>\n"));
    QmTest::LogRecorder log;
    EXPECT_FALSE(run.splash->SetState(0));
    EXPECT_EQ(log.Count(L"Error: Splash screen config doesn't have root splash item."), 1);
    EXPECT_EQ(run.game.GetGameLayer()->GetChildsCount(), 0);
    bool clear = true;
    LLF::Color color;
    run.game.GetClearSettings(clear, color);
    EXPECT_FALSE(clear) << "the clear settings are untouched";
    run.RunUntil(5000);
    EXPECT_FALSE(run.Done());
  }
}

TEST(SplashScreenTest, InputIsLoggedAndMouseReleasesSkipToo) {
  SplashRun run(Script("", kTwo));
  QmTest::LogRecorder log;
  ASSERT_TRUE(run.splash->SetState(0));
  run.RunUntil(1500);
  run.splash->OnMessage(SplashRun::Window(LLF::WMSG_BUTTON_DOWN, 1));
  run.splash->OnMessage(SplashRun::Window(LLF::WMSG_KEY_DOWN, LLF::KEY_SPACE));
  run.Note();
  EXPECT_EQ(run.stages.back().first, "show0") << "presses do not skip";
  run.splash->OnMessage(SplashRun::Window(LLF::WMSG_BUTTON_UP, 1));
  run.RunUntil(1550);
  EXPECT_EQ(run.stages.back().first, "out0");
  EXPECT_EQ(log.Count(L"SplashScreen - key up or mouse up message received. Key string: Space"), 1);
}

}  // namespace
