// The game shell's window input: hover, drag, focus, the input log, the
// exception guards, F8 and Print Screen, and the screenshot names.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ControlProbe.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "RecordingRenderSystem.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "TestShell.h"
#include "app/InputCodes.h"
#include "devtools/Console.h"
#include "model/GameServices.h"

namespace {

using QmTest::Journal;
using QmTest::Probe;

const std::vector<int> kMouseCodes = {HLF::CTRL_MSG_DRAG_START, HLF::CTRL_MSG_DRAG, HLF::CTRL_MSG_DRAG_END,
                                      HLF::CTRL_MSG_MOUSE_ENTER, HLF::CTRL_MSG_MOUSE_LEAVE};

// A probe that can throw from the hooks the shell calls itself.
class Thrower : public Probe {
 public:
  using Probe::Probe;
  void OnMouseEnter() override {
    if (throwOnEnter) throw std::runtime_error("enter");
    Probe::OnMouseEnter();
  }
  bool OnDragStart(const LLF::Point& mouse) override {
    if (throwOnDragStart) throw std::runtime_error("drag start");
    return Probe::OnDragStart(mouse);
  }
  bool throwOnEnter = false;
  bool throwOnDragStart = false;
};

// A dialog that closes itself with OK, as a pop-up menu does when it loses
// the focus.
class Popup : public Probe {
 public:
  using Probe::Probe;
  void OnOk() {
    Note("ok");
    ++oks;
    if (GetParent()) GetParent()->RemoveChild(this, true);
  }
  int oks = 0;
};

// The shell's own tree: in its "GAME" layer a draggable dialog (100, 100,
// 300 x 200) with a grip that passes drags to it and an item that does not;
// a panel that is not draggable with a knob passing drags to it; a
// draggable box. Nothing lies at (50, 50).
class RoutingTest : public ::testing::Test {
 protected:
  RoutingTest() {
    HLF::Control* layer = shell.GetGameLayer();
    dialog = Add<Probe>(layer, L"dialog", 100, 100, 300, 200);
    dialog->dialog = true;
    dialog->SetDraggable(true);
    grip = Add<Probe>(dialog, L"grip", 10, 10, 50, 20);
    grip->SetPassDragToParent(true);
    item = Add<Probe>(dialog, L"item", 100, 10, 50, 20);
    panel = Add<Probe>(layer, L"panel", 500, 100, 200, 200);
    knob = Add<Probe>(panel, L"knob", 10, 10, 20, 20);
    knob->SetPassDragToParent(true);
    box = Add<Probe>(layer, L"box", 500, 400, 50, 50);
    box->SetDraggable(true);
  }

  template <class T>
  T* Add(HLF::Control* parent, const std::wstring& name, float x, float y, int width, int height) {
    T* control = new T(&journal, name, x, y, width, height);
    parent->AddChild(control);
    recorder.Listen(control);
    return control;
  }

  QmTest::MessageRecorder recorder;  // outlives the controls
  Journal journal;
  QmTest::TestShell shell;
  Probe* dialog = nullptr;
  Probe* grip = nullptr;
  Probe* item = nullptr;
  Probe* panel = nullptr;
  Probe* knob = nullptr;
  Probe* box = nullptr;
};

TEST_F(RoutingTest, HoverAndDragFollowTheMouse) {
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> codes;
  } steps[] = {
      {"onto the grip", [&] { shell.MouseMove(115, 115); }, {"grip:5"}},
      {"onto the item: leave before enter", [&] { shell.MouseMove(205, 115); }, {"grip:6", "item:5"}},
      {"onto the dialog itself", [&] { shell.MouseMove(300, 250); }, {"item:6", "dialog:5"}},
      {"a move within the same control", [&] { shell.MouseMove(310, 250); }, {}},
      {"onto empty space", [&] { shell.MouseMove(50, 50); }, {"dialog:6"}},
      {"press on the grip: nothing moves yet",
       [&] {
         shell.MouseMove(115, 115);
         shell.MouseDown(115, 115);
       },
       {"grip:5"}},
      {"a move to the press position starts nothing", [&] { shell.MouseMove(115, 115); }, {}},
      {"the first move away starts dragging the dialog", [&] { shell.MouseMove(120, 118); }, {"dialog:2"}},
      {"a second move to the same place drags by nothing", [&] { shell.MouseMove(120, 118); }, {"dialog:3"}},
      {"the next move drags", [&] { shell.MouseMove(130, 128); }, {"dialog:3"}},
      {"release ends the drag", [&] { shell.MouseUp(130, 128); }, {"dialog:4"}},
      {"a knob passing drags to a panel that isn't draggable drags nothing",
       [&] {
         shell.MouseMove(515, 115);
         shell.MouseDown(515, 115);
         shell.MouseMove(525, 125);
         shell.MouseUp(525, 125);
       },
       {"grip:6", "knob:5"}},
      {"press and release without a move: no start, but an end",
       [&] {
         shell.MouseMove(510, 410);
         shell.MouseDown(510, 410);
         shell.MouseUp(510, 410);
       },
       {"knob:6", "box:5", "box:4"}},
      {"a disabled box is not started",
       [&] {
         box->SetEnabled(false);
         shell.MouseDown(510, 410);
         shell.MouseMove(520, 420);
         shell.MouseUp(520, 420);
         box->SetEnabled(true);
       },
       {"box:4"}},
      {"any button drags",
       [&] {
         shell.MouseDown(520, 420, 2);
         shell.MouseMove(530, 425);
         shell.MouseUp(530, 425, 2);
       },
       {"box:2", "box:4"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    recorder.Clear();
    step.act();
    EXPECT_EQ(recorder.Codes(kMouseCodes), step.codes);
  }
  EXPECT_EQ(dialog->GetPosition(), LLF::Vector2(110, 110));
  EXPECT_EQ(panel->GetPosition(), LLF::Vector2(500, 100));
  EXPECT_EQ(knob->GetPosition(), LLF::Vector2(10, 10));
  EXPECT_EQ(box->GetPosition(), LLF::Vector2(500, 400)) << "a drag start does not move; the drag began there";
  EXPECT_EQ(shell.Dragged(), nullptr);
  EXPECT_EQ(shell.Hovered(), box);
  EXPECT_EQ(shell.GetMousePosition(), LLF::Vector2(530, 425));
}

// Every message reaches the tree, after the shell's bookkeeping; a
// control that dies while hovered or dragged is forgotten.
TEST_F(RoutingTest, TheTreeGetsEveryMessageAndTheShellForgetsTheDead) {
  shell.MouseMove(515, 115);
  shell.MouseDown(515, 115);
  EXPECT_EQ(QmTest::Only(journal, {"down"}), (Journal{"knob:down"}));
  journal.clear();
  shell.KeyDown(LLF::KEY_ENTER);
  EXPECT_EQ(QmTest::Only(journal, {"pm"}).size(), 6u) << "the key went to every control";

  shell.MouseMove(510, 410);
  shell.MouseDown(510, 410);
  ASSERT_EQ(shell.Dragged(), box);
  ASSERT_EQ(shell.Hovered(), box);
  shell.GetGameLayer()->RemoveChild(box, true);
  EXPECT_EQ(shell.Dragged(), nullptr);
  EXPECT_EQ(shell.Hovered(), nullptr);
  recorder.Clear();
  shell.MouseUp(510, 410);  // nothing left to end
  shell.MouseMove(515, 115);
  EXPECT_EQ(recorder.Codes(kMouseCodes), std::vector<std::string>{"knob:5"});
}

TEST_F(RoutingTest, InputLoggingWritesOneLinePerMouseMessageOverAControl) {
  struct Case {
    bool logging;
    int x, y;
    std::wstring expected;  // empty: no line
  } cases[] = {
      {false, 115, 115, L""},
      {true, 115, 115, L"Event: MouseMove Object under mouse: grip"},
      {true, 50, 50, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    HLF::Console::GetInstance().SetInputLogging(c.logging);
    QmTest::LogRecorder log;
    shell.MouseMove(c.x, c.y);
    shell.KeyUp(LLF::KEY_ENTER);
    EXPECT_EQ(log.Count(L"Event: "), c.expected.empty() ? 0 : 1);
    if (!c.expected.empty()) {
      EXPECT_EQ(log.Count(c.expected), 1);
    }
  }
  // Each mouse kind by its name.
  QmTest::LogRecorder log;
  shell.MouseDown(205, 115);
  shell.MouseUp(205, 115);
  shell.Wheel(1);
  shell.DoubleClick(205, 115);
  for (const wchar_t* kind : {L"MouseDown", L"MouseUp", L"MouseWheel", L"MouseDblClick"}) {
    EXPECT_EQ(log.Count(std::wstring(L"Event: ") + kind + L" Object under mouse: item"), 1) << kind;
  }
  HLF::Console::GetInstance().SetInputLogging(false);
}

// A throw from enter or drag start is logged, the pointer concerned is
// dropped, and the message still reaches the tree.
TEST_F(RoutingTest, ExceptionsFromTheShellsCallsAreContained) {
  Thrower* thrower = Add<Thrower>(shell.GetGameLayer(), L"thrower", 700, 400, 50, 50);
  thrower->SetDraggable(true);
  QmTest::LogRecorder log;

  thrower->throwOnEnter = true;
  shell.MouseMove(710, 410);
  EXPECT_EQ(
      log.Count(L"Error: Exception in bool Game::ReceiveMsg( const Message& msg ) Enter\\Leave events."), 1);
  EXPECT_EQ(shell.Hovered(), nullptr);
  EXPECT_EQ(QmTest::Only(journal, {"move"}), (Journal{"thrower:move"}));

  thrower->throwOnEnter = false;
  thrower->throwOnDragStart = true;
  shell.MouseMove(711, 410);
  ASSERT_EQ(shell.Hovered(), thrower);
  shell.MouseDown(711, 410);
  ASSERT_EQ(shell.Dragged(), thrower);
  shell.MouseMove(720, 420);
  EXPECT_EQ(log.Count(L"Error: Exception in bool Game::ReceiveMsg( const Message& msg ) Drag event."), 1);
  EXPECT_EQ(shell.Dragged(), nullptr);
  EXPECT_EQ(QmTest::Only(journal, {"move"}).size(), 3u);
}

// The hover-hold call comes 2500 ms after the last real mouse activity and
// then every frame.
TEST(RoutingHoverTest, HoverHoldWaitsForTheMouseToRest) {
  class Holder : public HLF::Control {
   public:
    using HLF::Control::Control;
    void OnHoverHold() override { ++holds; }
    int holds = 0;
  };
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  Holder* holder = new Holder(L"holder");
  holder->SetSize(100, 100);
  game.GetGameLayer()->AddChild(holder);

  game.MouseMove(10, 10);
  game.Frame(2000);
  game.MouseMove(10, 10);  // no activity: the timer runs on
  game.Frame(499);
  EXPECT_EQ(holder->holds, 0);
  game.Frame(1);
  EXPECT_EQ(holder->holds, 1);
  game.Frame(16);
  EXPECT_EQ(holder->holds, 2);
  game.MouseMove(11, 10);  // a real move restarts it
  game.Frame(2499);
  EXPECT_EQ(holder->holds, 2);
  game.Wheel(1);
  game.Frame(2499);
  EXPECT_EQ(holder->holds, 2);
  game.Frame(1);
  EXPECT_EQ(holder->holds, 3);
  game.MouseMove(300, 300);  // off it: no more calls
  game.Frame(3000);
  EXPECT_EQ(holder->holds, 3);
}

// The focus dialog closes with OK when a button goes down outside it,
// after the tree has seen the press.
TEST_F(RoutingTest, AClickOutsideTheFocusDialogClosesIt) {
  Popup* popup = Add<Popup>(shell.GetGameLayer(), L"popup", 600, 300, 100, 100);
  Add<Probe>(popup, L"row", 0, 0, 100, 20);
  shell.SetFocus(popup);
  ASSERT_EQ(shell.GetFocusControl(), popup);

  struct Step {
    const char* what;
    int x, y;
    bool closes;
  } steps[] = {
      {"a press on a row inside it", 610, 305, false},
      {"a press on the dialog itself", 650, 350, false},
      {"a press elsewhere", 515, 115, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    journal.clear();
    shell.MouseMove(step.x, step.y);
    shell.MouseDown(step.x, step.y);
    if (!step.closes) {
      EXPECT_EQ(shell.GetFocusControl(), popup);
      EXPECT_EQ(popup->oks, 0);
      shell.MouseUp(step.x, step.y);
    }
  }
  EXPECT_EQ(QmTest::Only(journal, {"down", "ok"}), (Journal{"knob:down", "popup:ok"}));
  EXPECT_EQ(shell.GetFocusControl(), nullptr);
  EXPECT_EQ(shell.GetGameLayer()->GetChildByName(L"popup"), nullptr)
      << "closed and deleted after the delivery";
  EXPECT_EQ(HLF::GameServices::GetDeletesPending(), 0u);

  // Over empty space there is no hovered control: outside too.
  Popup* second = Add<Popup>(shell.GetGameLayer(), L"second", 600, 300, 100, 100);
  shell.SetFocus(second);
  shell.MouseMove(50, 50);
  shell.MouseDown(50, 50);
  EXPECT_EQ(shell.GetFocusControl(), nullptr);
  EXPECT_EQ(shell.GetGameLayer()->GetChildByName(L"second"), nullptr);
}

TEST_F(RoutingTest, GivingTheFocusClosesThePreviousHolderOnce) {
  Popup* first = Add<Popup>(shell.GetGameLayer(), L"first", 600, 300, 100, 100);
  Popup* second = Add<Popup>(shell.GetGameLayer(), L"second", 600, 300, 100, 100);
  shell.SetFocus(first);
  shell.SetFocus(first);  // again: kept
  EXPECT_EQ(first->oks, 0);
  shell.SetFocus(second);
  EXPECT_EQ(shell.GetGameLayer()->GetChildByName(L"first"), nullptr);
  EXPECT_EQ(shell.GetFocusControl(), second);
  EXPECT_EQ(second->oks, 0);

  // A focus dialog that dies is forgotten: nothing calls it afterwards.
  shell.GetGameLayer()->RemoveChild(second, true);
  EXPECT_EQ(shell.GetFocusControl(), nullptr);
  shell.MouseMove(50, 50);
  shell.MouseDown(50, 50);

  Popup* third = Add<Popup>(shell.GetGameLayer(), L"third", 600, 300, 100, 100);
  shell.SetFocus(third);
  shell.SetFocus(nullptr);
  EXPECT_EQ(shell.GetFocusControl(), nullptr);
  EXPECT_EQ(shell.GetGameLayer()->GetChildByName(L"third"), nullptr);
  EXPECT_EQ(QmTest::Only(journal, {"ok"}), (Journal{"first:ok", "third:ok"}));
}

// F8 and Print Screen act on release; every key still reaches the tree.
TEST(RoutingKeysTest, F8AndPrintScreenActOnRelease) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  game.SetDesktop(1920, 1080);
  ASSERT_TRUE(game.Start());
  QmTest::RecordingRenderSystem rs(true);
  Journal journal;
  Probe::Add(game.GetGameLayer(), &journal, L"probe", 0, 0, 10, 10);
  auto switches = [&rs] {
    std::vector<int> modes;
    for (const QmTest::DrawCall& call : rs.Calls(QmTest::DrawCall::kSwitchMode)) modes.push_back(call.value);
    return modes;
  };

  for (int i = 0; i < 3; ++i) game.KeyDown(LLF::KEY_F8);  // held: repeats
  EXPECT_TRUE(switches().empty());
  EXPECT_TRUE(game.GetRenderSettings().windowed);
  game.KeyUp(LLF::KEY_F8);
  EXPECT_FALSE(game.GetRenderSettings().windowed);
  game.KeyUp(LLF::KEY_F8);
  EXPECT_TRUE(game.GetRenderSettings().windowed);
  EXPECT_EQ(switches(), (std::vector<int>{0, 1}));

  game.KeyDown(LLF::KEY_PRINT_SCREEN);
  EXPECT_TRUE(rs.Calls(QmTest::DrawCall::kScreenshot).empty());
  game.KeyUp(LLF::KEY_PRINT_SCREEN);
  const auto shots = rs.Calls(QmTest::DrawCall::kScreenshot);
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].fileName, game.GetGlobalDataFolder() + L"shot_0000.png");

  // A key from elsewhere than the window is only the tree's.
  LLF::Message foreign(nullptr, LLF::WMSG_KEY_UP, LLF::KEY_F8, 0, 0, L"");
  game.OnMessage(&foreign);
  EXPECT_EQ(switches().size(), 2u);
  EXPECT_EQ(QmTest::Only(journal, {"pm"}).size(), 8u);
}

// The first name under which nothing exists, whatever it is; with all
// 10000 taken, the last is overwritten with a warning.
TEST(ScreenshotTest, TakesTheFirstFreeName) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  QmTest::RecordingRenderSystem rs(true);
  const std::filesystem::path folder(game.UserFolder());
  auto make = [&folder](int n) {
    char name[32];
    std::snprintf(name, sizeof(name), "shot_%04d.png", n);
    std::ofstream(folder / name) << "x";
    return folder / name;
  };
  auto clear = [&folder] {
    std::vector<std::filesystem::path> shots;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().filename().string().rfind("shot_", 0) == 0) shots.push_back(entry.path());
    }
    for (const auto& shot : shots) std::filesystem::remove_all(shot);
  };

  struct Case {
    const char* what;
    std::function<void()> prepare;
    std::wstring expected;
    bool warned;
  } cases[] = {
      {"none yet", [] {}, L"shot_0000.png", false},
      {"two taken",
       [&] {
         make(0);
         make(1);
       },
       L"shot_0002.png", false},
      {"a gap is used", [&] { make(1); }, L"shot_0000.png", false},
      {"an unreadable file is taken",
       [&] { std::filesystem::permissions(make(0), std::filesystem::perms::none); }, L"shot_0001.png", false},
      {"a folder or a dangling link is taken",
       [&] {
         std::filesystem::create_directory(folder / "shot_0000.png");
         std::filesystem::create_symlink(folder / "nowhere", folder / "shot_0001.png");
       },
       L"shot_0002.png", false},
      {"all taken",
       [&] {
         for (int n = 0; n < 10000; ++n) make(n);
       },
       L"shot_9999.png", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clear();
    c.prepare();
    rs.ClearCalls();
    QmTest::LogRecorder log;
    game.TakeScreenshot();
    const auto shots = rs.Calls(QmTest::DrawCall::kScreenshot);
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(shots[0].fileName, game.GetGlobalDataFolder() + c.expected);
    EXPECT_EQ(
        log.Count(L"Warning: TakeScreenshot - shot_0000.png to shot_9999.png all exist; shot_9999.png is "
                  L"overwritten."),
        c.warned ? 1 : 0);
  }
  clear();

  // A request the render system refuses, and none at all, are reported.
  QmTest::LogRecorder log;
  rs.refuseScreenshots = true;
  game.TakeScreenshot();
  EXPECT_EQ(log.Count(L"Warning: TakeScreenshot - the render system refused shot_0000.png"), 1);
}

TEST(ScreenshotTest, WithoutARenderSystemNothingIsSavedAndThatIsSaid) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  QmTest::LogRecorder log;
  game.KeyUp(LLF::KEY_PRINT_SCREEN);
  EXPECT_EQ(log.Count(L"Warning: TakeScreenshot - no render system; shot_0000.png is not saved."), 1);
}

}  // namespace
