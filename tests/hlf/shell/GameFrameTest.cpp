// The game shell's lifecycle and its frame: start-up, frame time, guarded
// updates, inactive and paused frames, drawing, deferred deletions and
// shutdown.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "MessageRecorder.h"
#include "RecordingRenderSystem.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "devtools/Console.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "model/StateMachine.h"
#include "modifiers/Modifier.h"
#include "modifiers/ModifierFactory.h"
#include "modifiers/TimeWarp.h"
#include "modifiers/TimeWarpFactory.h"
#include "shell/AssetsLoader.h"
#include "xml/XmlDoc.h"

namespace {

int LogCount(const std::wstring& text) {
  int count = 0;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    count += line.find(text) != std::wstring::npos ? 1 : 0;
  }
  return count;
}

class RecordingMachine : public HLF::StateMachine {
 public:
  explicit RecordingMachine(std::vector<unsigned>& dts, bool throws = false) : _dts(dts), _throws(throws) {}
  void Update(unsigned dt) override {
    _dts.push_back(dt);
    if (_throws) {
      throw std::runtime_error("scene failed");
    }
  }

 private:
  std::vector<unsigned>& _dts;
  bool _throws;
};

class CountingControl : public HLF::Control {
 public:
  explicit CountingControl(int& updates) : _updates(updates) {}
  void Update(unsigned dt) override {
    ++_updates;
    HLF::Control::Update(dt);
  }

 private:
  int& _updates;
};

// Removes and deletes itself when it handles a message; notes what it saw.
class ClosingControl : public HLF::Control {
 public:
  ClosingControl(bool& pendingInDelivery, bool& destroyed)
      : _pending(pendingInDelivery), _destroyed(destroyed) {}
  ~ClosingControl() override { _destroyed = true; }
  bool ProcessMessage(const LLF::Message&) override {
    GetParent()->RemoveChild(this, true);
    _pending = HLF::GameServices::IsDeletePending(this) && !_destroyed;
    return true;
  }

 private:
  bool& _pending;
  bool& _destroyed;
};

// Notes which shell it can still reach when it dies.
class ProbeControl : public HLF::Control {
 public:
  ProbeControl(bool& gameSeen, bool& servicesSeen) : _gameSeen(gameSeen), _servicesSeen(servicesSeen) {}
  ~ProbeControl() override {
    _gameSeen = HLF::Game::GetInstance() != nullptr;
    _servicesSeen = HLF::GameServices::GetInstance() != nullptr;
  }

 private:
  bool& _gameSeen;
  bool& _servicesSeen;
};

TEST(GameStartTest, StartUpAndShutdown) {
  QmTest::TempFolders folders;
  folders.WriteProgramFile("scripts/game.xml", "<config source=\"beside the program\" />");
  const std::filesystem::path elsewhere = std::filesystem::path(folders.User());
  std::filesystem::current_path(elsewhere);
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());

  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folders.Program()));
  EXPECT_NE(game.GetConfigDoc()->GetRoot()->FindChild(L"config")->GetAttribute(std::wstring(L"source")),
            nullptr)
      << "the template beside the program is found from another working folder";
  EXPECT_EQ(LogCount(L"HLF library. v1.0 build 4.005 date Thu Oct 15 18:56:08 2009"), 1)
      << "log lines reach the console";
  EXPECT_EQ(LogCount(L"Game window has been activated."), 1);

  const auto& receivers = LLF::AppWindow::GetInstance().GetReceivers();
  ASSERT_EQ(receivers.size(), 2u);
  EXPECT_EQ(receivers[0], static_cast<LLF::MessageReceiver*>(&game));
  EXPECT_EQ(receivers[1], static_cast<LLF::MessageReceiver*>(&HLF::Console::GetInstance()));

  // The layers, and the factories filled at start-up.
  HLF::Control* layer = game.GetGameLayer();
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(game.GetRootControl().GetChild(0), layer);
  ASSERT_NE(game.GetEditorLayer(), nullptr);
  EXPECT_FALSE(game.GetEditorLayer()->IsVisible());
  EXPECT_FALSE(layer->IsRenderable());
  LLF::XmlDoc xml;
  ASSERT_TRUE(xml.Parse(L"<staticimage name=\"pic\" /><fader timeWarp=\"accdecelerate\" />"));
  HLF::Control* control = HLF::ControlFactory::GetInstance().CreateFrom(*xml.GetRoot()->GetChild(0));
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(control->IsKindOf("StaticImage"));
  delete control;
  HLF::Modifier* fader = HLF::ModifierFactory::GetInstance().CreateFrom(*xml.GetRoot()->GetChild(1));
  ASSERT_NE(fader, nullptr);
  ASSERT_NE(fader->GetTimeWarp(), nullptr);
  EXPECT_EQ(fader->GetTimeWarp()->GetTag(), L"accdecelerate");
  delete fader;

  bool gameSeen = false;
  bool servicesSeen = false;
  layer->AddChild(new ProbeControl(gameSeen, servicesSeen));
  game.Stop();
  EXPECT_TRUE(gameSeen) << "the layers go while the game is still there";
  EXPECT_EQ(game.GetGameLayer(), nullptr);
  EXPECT_EQ(game.GetEditorLayer(), nullptr);
  EXPECT_EQ(HLF::ControlFactory::GetInstance().GetPrototypesCount(), 0);
  EXPECT_EQ(HLF::ModifierFactory::GetInstance().GetPrototypesCount(), 10) << "kept until the program ends";
  EXPECT_TRUE(LLF::AppWindow::GetInstance().GetReceivers().empty());
  EXPECT_TRUE(QmTest::FileExists(game.UserFolder() + "game.xml"));
}

TEST(GameStartTest, ControlsDyingWithTheGameDoNotCallBack) {
  QmTest::TempFolders folders;
  bool gameSeen = true;
  bool servicesSeen = true;
  {
    QmTest::TestGame game(folders);
    game.GetGameLayer()->AddChild(new ProbeControl(gameSeen, servicesSeen));
    EXPECT_EQ(HLF::Game::GetInstance(), &game);
  }
  EXPECT_FALSE(gameSeen);
  EXPECT_FALSE(servicesSeen);
  EXPECT_EQ(HLF::Game::GetInstance(), nullptr);
}

// The whole run without a window: start-up, Init, one pass of the main
// loop, shutdown.
TEST(GameStartTest, RunsHeadlessThroughTheFramework) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  LLF::Application::RunMain(L"", &game);
  const std::string log = QmTest::ReadBytes(game.UserFolder() + "log.txt");
  EXPECT_NE(log.find("HLF library. v1.0 build 4.005 date Thu Oct 15 18:56:08 2009"), std::string::npos);
  EXPECT_NE(log.find("... main application loop finished."), std::string::npos);
  EXPECT_TRUE(QmTest::FileExists(folders.Program() + "/scripts/game.xml"));
  EXPECT_TRUE(QmTest::FileExists(game.UserFolder() + "game.xml"));
  EXPECT_TRUE(QmTest::FileExists(game.UserFolder() + "profiles.xml"));
}

class GameFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(game.Start()); }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
};

TEST_F(GameFrameTest, ResetFrameTimeGivesZeroOnce) {
  std::vector<unsigned> dts;
  game.SetStateMachine(new RecordingMachine(dts));
  game.Frame(16);
  game.ResetFrameTime();
  game.Frame(20);
  game.Frame(30);
  EXPECT_EQ(dts, (std::vector<unsigned>{16, 0, 30}));
}

TEST_F(GameFrameTest, ThrowingSceneDoesNotStopTheTree) {
  std::vector<unsigned> dts;
  int updates = 0;
  game.SetStateMachine(new RecordingMachine(dts, true));
  game.GetGameLayer()->AddChild(new CountingControl(updates));
  game.Frame(10);
  game.Frame(10);
  EXPECT_EQ(dts.size(), 2u);
  EXPECT_EQ(updates, 2);
  EXPECT_EQ(LogCount(L"Error: Unhandled exception in _currentStateMachine->Update()"), 2);
}

TEST_F(GameFrameTest, InactiveOrPausedStopsUpdatesButDraws) {
  QmTest::RecordingRenderSystem rs(true);
  std::vector<unsigned> dts;
  int updates = 0;
  game.SetStateMachine(new RecordingMachine(dts));
  game.GetGameLayer()->AddChild(new CountingControl(updates));
  auto frames = [&rs] { return rs.Calls(QmTest::DrawCall::kBeginFrame).size(); };

  game.Frame(10);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(frames(), 1u);
  bool windowInactive = false;
  game.OnDeactivate(&windowInactive);
  EXPECT_TRUE(windowInactive);
  game.Frame(10);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(dts.size(), 1u);
  EXPECT_EQ(frames(), 2u);
  game.OnActivate();
  game.Frame(10);
  EXPECT_EQ(updates, 2);
  game.Pause();
  game.Frame(10);
  EXPECT_EQ(updates, 2);
  EXPECT_EQ(frames(), 4u);
  game.Resume();
  game.Frame(10);
  EXPECT_EQ(updates, 3);
  EXPECT_EQ(dts, (std::vector<unsigned>{10, 10, 10})) << "frames while stopped are not made up for";
  EXPECT_EQ(LogCount(L"Game window has been deactivated."), 1);
}

TEST_F(GameFrameTest, ClearsUnlessToldNotToOrTheEditorShows) {
  QmTest::RecordingRenderSystem rs(true);
  const LLF::Color colour(10, 20, 30, 255);
  game.SetClearSettings(true, colour);
  game.Frame(10);
  auto clears = rs.Calls(QmTest::DrawCall::kClear);
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears[0].color, colour);

  rs.ClearCalls();
  game.SetClearSettings(false, colour);
  game.Frame(10);
  EXPECT_TRUE(rs.Calls(QmTest::DrawCall::kClear).empty());
  game.GetEditorLayer()->SetVisible(true);
  game.Frame(10);
  EXPECT_EQ(rs.Calls(QmTest::DrawCall::kClear).size(), 1u);
  EXPECT_EQ(rs.Calls(QmTest::DrawCall::kEndFrame).size(), 2u);
}

// Whatever closes itself inside a message's delivery dies after it.
TEST_F(GameFrameTest, DeferredDeletesHappenAfterDelivery) {
  // A window message handed to the tree.
  bool pending = false;
  bool destroyed = false;
  game.GetGameLayer()->AddChild(new ClosingControl(pending, destroyed));
  LLF::Message key(&LLF::AppWindow::GetInstance(), LLF::WMSG_KEY_UP, LLF::KEY_ENTER, 0, 0, L"");
  game.OnMessage(&key);
  EXPECT_TRUE(pending) << "queued while the delivery ran";
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 0);

  // A loader's message delivered by the frame.
  pending = destroyed = false;
  game.GetGameLayer()->AddChild(new ClosingControl(pending, destroyed));
  HLF::AssetsLoader loader;
  LLF::XmlElement list(L"L");
  list.AddChild(L"video");
  loader.SetList(&list);
  QmTest::MessageRecorder recorder;
  recorder.Listen(&loader);
  HLF::Control* layer = game.GetGameLayer();
  recorder.action = [layer](const LLF::Message& msg) {
    if (msg.GetCode() == HLF::ASSETS_MSG_DONE) {
      layer->GetChild(0)->ProcessMessage(msg);
    }
  };
  ASSERT_TRUE(loader.Start(0));
  loader.Wait();
  EXPECT_TRUE(recorder.Entries().empty());
  game.Frame(10);
  EXPECT_EQ(recorder.Codes(), (std::vector<std::string>{"?:0", "?:1"}));
  EXPECT_TRUE(pending);
  EXPECT_TRUE(destroyed);

  // Shutdown deletes what still waits before the layers go.
  pending = destroyed = false;
  auto* waiting = new ClosingControl(pending, destroyed);
  HLF::GameServices::DeleteLater(waiting);
  game.Stop();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(HLF::GameServices::GetDeletesPending(), 0u);
}

}  // namespace
