#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ControlProbe.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TestShell.h"
#include "app/InputCodes.h"
#include "model/Control.h"
#include "model/GameServices.h"

namespace {

using HLF::Control;
using QmTest::Journal;
using QmTest::Probe;
using QmTest::TestShell;

// One tree for every routing case; children in drawing order, the last on
// top. Coordinates are absolute (the root sits at 0, 0).
struct RoutingTree {
  Journal journal;
  Probe root{&journal, L"root", 0, 0, 800, 600};

  RoutingTree() {
    Add(&root, L"back", 10, 10, 100, 100);
    Add(&root, L"front", 50, 50, 100, 100);  // overlaps back
    Add(&root, L"edge", 300, 10, 20, 20);
    Add(&root, L"inset", 400, 10, 15, 15)->SetSidesOffset(LLF::Rect(10, 10, 10, 10));
    Add(&root, L"under", 480, 0, 100, 60);
    Probe* loose = Add(&root, L"loose", 500, 10, 20, 20);
    loose->SetMouseOpaque(false);
    Add(loose, L"outside", 530, 10, 20, 20);  // lies outside its parent
    Probe* disabled = Add(&root, L"disabled", 600, 10, 50, 50);
    disabled->SetEnabled(false);
    Add(disabled, L"dchild", 600, 10, 50, 50);
    Add(&root, L"hidden", 600, 100, 50, 50)->SetVisible(false);
    Add(&root, L"behind", 10, 200, 200, 200);
    Probe* container = Add(&root, L"container", 10, 200, 200, 200);
    container->SetRenderable(false);
    Add(container, L"inner", 20, 210, 50, 50);
    Add(&root, L"ghostbelow", 300, 300, 50, 50);
    Add(&root, L"ghost", 300, 300, 50, 50)->SetActionsInvisible(true);
    Add(&root, L"pickybelow", 700, 300, 40, 40);
    Add(&root, L"picky", 700, 300, 40, 40)->hitTest = [](const LLF::Point& p) { return p.x >= 20; };
  }

  Probe* Add(Control* parent, const std::wstring& name, float x, float y, int w, int h) {
    const LLF::Vector2 base = parent->GetAbsolutePosition();
    return Probe::Add(parent, &journal, name, x - base.x, y - base.y, w, h);
  }
};

// Which control's hook runs for each window message.
TEST(ControlInputTest, RoutingTable) {
  struct Case {
    const char* what;
    int code;
    int x;
    int y;
    std::vector<std::string> hooks;
  } cases[] = {
      {"overlap: the later sibling", 0, 60, 60, {"front:down"}},
      {"the earlier sibling alone", 0, 20, 20, {"back:down"}},
      {"right and bottom edges are inside", 0, 320, 30, {"edge:down"}},
      {"one past the right edge", 0, 321, 30, {"root:down"}},
      {"sides offset: only the inset top-left point", 0, 410, 20, {"inset:down"}},
      {"sides offset: next to it", 0, 411, 21, {"root:down"}},
      {"a child outside a parent that is not mouse-opaque", 0, 535, 15, {"outside:down"}},
      {"that parent itself", 0, 505, 15, {"loose:down"}},
      {"neither takes it: the next sibling does", 0, 560, 40, {"under:down"}},
      {"a disabled subtree is skipped", 0, 610, 20, {"root:down"}},
      {"a hidden control is skipped", 0, 610, 110, {"root:down"}},
      // Containers (not rendering) never consume: the lower sibling gets it too.
      {"container: its child and the lower sibling", 0, 30, 220, {"inner:down", "behind:down"}},
      {"container: its own hook and the lower sibling", 0, 150, 350, {"container:down", "behind:down"}},
      {"an actions-invisible control is passed over", 0, 310, 310, {"ghostbelow:down"}},
      {"a refusing hit test passes the point on", 0, 705, 310, {"pickybelow:down"}},
      {"an accepting hit test", 0, 725, 310, {"picky:down"}},
      {"mouse move", 1, 60, 60, {"front:move"}},
      {"button up", 2, 60, 60, {"front:up"}},
      {"wheel", 3, 60, 60, {"front:wheel"}},
      {"double click", 6, 60, 60, {"front:dblclick"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RoutingTree tree;
    EXPECT_TRUE(tree.root.ProcessMessage(TestShell::WindowMessage(c.code, 1, c.x, c.y)));
    EXPECT_EQ(QmTest::Only(tree.journal, {"down", "move", "up", "wheel", "dblclick"}), c.hooks);
  }
}

// Messages that are not mouse messages from the window reach every control
// that can take messages, from the topmost down, and run no mouse hook.
TEST(ControlInputTest, KeysAndOtherSendersReachEveryControl) {
  const std::vector<std::string> everyone = {
      "root:pm",  "picky:pm",   "pickybelow:pm", "ghostbelow:pm", "container:pm", "inner:pm", "behind:pm",
      "loose:pm", "outside:pm", "under:pm",      "inset:pm",      "edge:pm",      "front:pm", "back:pm"};
  LLF::MessageSender dialog;
  struct Case {
    const char* what;
    LLF::Message msg;
    bool consumed;
  } cases[] = {
      // Consumed by the root, whose rectangle holds the point (0, 0).
      {"key down from the window", TestShell::WindowMessage(LLF::WMSG_KEY_DOWN, LLF::KEY_ENTER, 0, 0), true},
      {"key down outside the root", TestShell::WindowMessage(LLF::WMSG_KEY_DOWN, LLF::KEY_ENTER, 900, 0),
       false},
      {"a button down passed on by another sender",
       LLF::Message(&dialog, LLF::WMSG_BUTTON_DOWN, 1, 60, 60, L""), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RoutingTree tree;
    EXPECT_EQ(tree.root.ProcessMessage(c.msg), c.consumed);
    EXPECT_EQ(tree.journal, everyone);
  }
}

// Hover asks no hit test and does not skip disabled controls.
TEST(ControlInputTest, ControlsUnderThePoint) {
  struct Case {
    float x;
    float y;
    const wchar_t* found;
    std::vector<std::wstring> all;
  } cases[] = {
      {60, 60, L"front", {L"front", L"back"}},
      {705, 310, L"picky", {L"picky", L"pickybelow"}},
      {610, 20, L"dchild", {L"disabled", L"dchild"}},
      {30, 220, L"inner", {L"inner", L"behind"}},
      {310, 310, L"ghostbelow", {L"ghostbelow"}},
      {535, 15, L"outside", {L"outside", L"under"}},
      {560, 40, L"under", {L"under"}},
      {5, 590, nullptr, {}},
  };
  RoutingTree tree;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    Control* found = tree.root.GetChildAtPoint(LLF::Vector2(c.x, c.y));
    EXPECT_EQ(found ? found->GetName() : L"(none)", c.found ? c.found : L"(none)");
    std::vector<std::wstring> all;
    for (Control* control : tree.root.GetChildrenAtPoint(LLF::Vector2(c.x, c.y)))
      all.push_back(control->GetName());
    EXPECT_EQ(all, c.all);
  }
}

// Enter, leave, click, drag and activation as the shell drives them.
TEST(ControlInputTest, InputMessagesArriveInOrder) {
  QmTest::MessageRecorder recorder;
  Journal journal;
  Control root(L"root");
  root.SetSize(800, 600);
  TestShell shell(&root);
  Probe* dialog = Probe::Add(&root, &journal, L"dialog", 100, 100, 300, 200);
  dialog->dialog = true;
  dialog->SetDraggable(true);
  Probe* other = Probe::Add(&root, &journal, L"other", 500, 100, 100, 100);
  Probe* button = Probe::Add(dialog, &journal, L"button", 10, 10, 50, 20);
  for (Control* c : std::vector<Control*>{dialog, other, button}) recorder.Listen(c);

  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> codes;
  } steps[] = {
      {"onto the button", [&] { shell.MouseMove(115, 115); }, {"button:5"}},
      {"press: the button's dialog comes to the front", [&] { shell.MouseDown(115, 115); }, {"other:8"}},
      {"release: click", [&] { shell.MouseUp(115, 115); }, {"button:7"}},
      {"onto the dialog", [&] { shell.MouseMove(300, 250); }, {"button:6", "dialog:5"}},
      {"back onto the button", [&] { shell.MouseMove(115, 115); }, {"dialog:6", "button:5"}},
      {"press on a button that passes drags to its dialog",
       [&] {
         button->SetPassDragToParent(true);
         shell.MouseDown(115, 115);
       },
       {"other:9", "other:8"}},
      {"first move starts the drag", [&] { shell.MouseMove(125, 120); }, {"dialog:2"}},
      {"next move drags", [&] { shell.MouseMove(135, 130); }, {"dialog:3"}},
      {"release ends the drag, then clicks", [&] { shell.MouseUp(135, 130); }, {"dialog:4", "button:7"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    recorder.Clear();
    step.act();
    EXPECT_EQ(recorder.Codes(), step.codes);
  }
  EXPECT_EQ(dialog->GetPosition(), LLF::Vector2(110, 110));
  EXPECT_EQ(root.GetChild(1), dialog);
  EXPECT_FALSE(dialog->IsDragging());
  const QmTest::MessageRecorder::Entry& click = recorder.Entries().back();
  EXPECT_EQ(click.param, 1);
  EXPECT_EQ(click.primary, 135);
  EXPECT_EQ(click.secondary, 130);
}

TEST(ControlInputTest, PressAndReleaseFlags) {
  QmTest::MessageRecorder recorder;
  Journal journal;
  Probe root(&journal, L"root", 0, 0, 800, 600);
  Probe* a = Probe::Add(&root, &journal, L"a", 0, 0, 100, 100);
  Probe* b = Probe::Add(&root, &journal, L"b", 200, 0, 100, 100);
  recorder.Listen(a);

  // A release without a press on the control still clicks, with the
  // release's parameter, point and text.
  EXPECT_TRUE(root.ProcessMessage(TestShell::WindowMessage(LLF::WMSG_BUTTON_UP, 2, 50, 60, L"t")));
  ASSERT_EQ(recorder.Codes(), std::vector<std::string>{"a:7"});
  const auto& click = recorder.Entries()[0];
  EXPECT_EQ(click.param, 2);
  EXPECT_EQ(click.primary, 50);
  EXPECT_EQ(click.secondary, 60);
  EXPECT_EQ(click.text, L"t");

  root.ProcessMessage(TestShell::WindowMessage(LLF::WMSG_BUTTON_DOWN, 1, 50, 60));
  EXPECT_TRUE(a->IsPressed());
  a->OnMouseLeave();
  EXPECT_FALSE(a->IsPressed());
  EXPECT_FALSE(a->IsMouseOver());

  // Raise on press lifts the control itself; without it and without a
  // dialog above, a press raises nothing.
  root.ProcessMessage(TestShell::WindowMessage(LLF::WMSG_BUTTON_DOWN, 1, 50, 60));
  EXPECT_EQ(root.GetChild(1), b);
  a->SetRaiseOnPress(true);
  root.ProcessMessage(TestShell::WindowMessage(LLF::WMSG_BUTTON_DOWN, 1, 50, 60));
  EXPECT_EQ(root.GetChild(1), a);
}

// A 20 x 20 control at (10, 10) dragged inside the limits (0, 0, 100, 100),
// grabbed at (15, 15): it follows only while the mouse is beyond the grab
// point in the direction of the move.
TEST(ControlInputTest, DragLimits) {
  QmTest::MessageRecorder recorder;
  Control root(L"root");
  Control* knob = new Control(L"knob");
  root.AddChild(knob);
  recorder.Listen(knob);
  knob->SetSize(20, 20);
  knob->SetPosition(10, 10);
  knob->SetDragLimits(LLF::RectF(0, 0, 100, 100));
  EXPECT_TRUE(knob->OnDragStart(LLF::Point(15, 15)));

  struct Move {
    int x, y;
    float dx, dy;
    float expectedX, expectedY;
  } moves[] = {
      {-50, 15, -65, 0, 0, 10},    // far left: stopped at the limit
      {-40, 15, 10, 0, 0, 10},     // right, but the mouse is left of the grab point
      {3, 15, 43, 0, 0, 10},       // still left of it
      {10, 15, 7, 0, 5, 10},       // past the grab point: follows
      {300, 15, 290, 0, 80, 10},   // far right: stopped at 100 - 20
      {150, 15, -150, 0, 80, 10},  // left, but the mouse is right of the grab point
      {80, 15, -70, 0, 75, 10},    // back past it: follows
      {80, 200, 0, 185, 75, 80},   // down to the bottom limit
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(std::to_string(m.x) + "," + std::to_string(m.y));
    EXPECT_TRUE(knob->OnDrag(LLF::Point(m.x, m.y), LLF::Vector2(m.dx, m.dy)));
    EXPECT_EQ(knob->GetPosition(), LLF::Vector2(m.expectedX, m.expectedY));
  }
  knob->OnDragEnd();
  EXPECT_EQ(recorder.Codes().size(), 10u);
  EXPECT_EQ(recorder.Codes().front(), "knob:2");
  EXPECT_EQ(recorder.Codes()[1], "knob:3");
  EXPECT_EQ(recorder.Codes().back(), "knob:4");

  // Without limits the control moves by the delta.
  knob->SetDragLimits(LLF::RectF());
  knob->OnDrag(LLF::Point(0, 0), LLF::Vector2(-100.5f, 2.0f));
  EXPECT_EQ(knob->GetPosition(), LLF::Vector2(-25.5f, 82.0f));
}

TEST(ControlInputTest, AnExceptionWhileChildrenHandleAMessageIsLoggedAndConsumes) {
  QmTest::LogRecorder log;
  Journal journal;
  Probe root(&journal, L"root", 0, 0, 800, 600);
  Probe* thrower = Probe::Add(&root, &journal, L"thrower", 0, 0, 100, 100);
  thrower->throwOnDown = true;
  EXPECT_TRUE(root.ProcessMessage(TestShell::WindowMessage(LLF::WMSG_BUTTON_DOWN, 1, 10, 10)));
  EXPECT_EQ(log.Count(L"Warning: Exception caught in Control::ProcessMessageChilds"), 1);
  EXPECT_EQ(QmTest::Only(journal, {"down"}), (Journal{"thrower:down"}));
}

// Closing a control from inside its own click: it leaves the tree at once
// and is deleted at the next safe point, after its handler has returned
// (the probe's handler writes to the journal after the click went out).
TEST(ControlInputTest, DeletingAControlFromItsOwnClickIsDeferred) {
  struct Case {
    const char* what;
    bool closeDialog;  // else the button alone
  } cases[] = {{"the button's dialog closes", true}, {"the button removes itself", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QmTest::MessageRecorder recorder;
    Journal journal;
    Control root(L"root");
    root.SetSize(800, 600);
    TestShell shell(&root);
    Probe* dialog = Probe::Add(&root, &journal, L"dialog", 100, 100, 300, 200);
    Probe* button = Probe::Add(dialog, &journal, L"button", 10, 10, 50, 20);
    Probe* victim = c.closeDialog ? dialog : button;
    recorder.Listen(button);
    recorder.action = [&](const LLF::Message& msg) {
      if (msg.GetCode() == HLF::CTRL_MSG_CLICK) {
        EXPECT_TRUE(victim->GetParent()->RemoveChild(victim, true));
        EXPECT_TRUE(HLF::GameServices::IsDeletePending(victim));
      }
    };
    shell.MouseMove(115, 115);
    shell.MouseDown(115, 115);
    shell.MouseUp(115, 115);
    EXPECT_EQ(QmTest::Only(journal, {"up"}), (Journal{"button:up"}));
    EXPECT_EQ(HLF::GameServices::GetDeletesPending(), 0u);
    EXPECT_EQ(shell.Hovered(), nullptr);  // forgotten when it died
    EXPECT_NE(std::find(shell.forgotten.begin(), shell.forgotten.end(), button), shell.forgotten.end());
    EXPECT_EQ(root.GetChildsCount(), c.closeDialog ? 0 : 1);
  }
}

// A key handler that removes a lower sibling: the sibling still stands in
// the routing copy but is not offered the message any more.
TEST(ControlInputTest, ASiblingRemovedDuringRoutingIsPassedOver) {
  Journal journal;
  Probe root(&journal, L"root", 0, 0, 800, 600);
  TestShell shell(&root);
  Probe* lower = Probe::Add(&root, &journal, L"lower", 0, 0, 10, 10);
  Probe* upper = Probe::Add(&root, &journal, L"upper", 0, 0, 10, 10);
  upper->onMessage = [&](const LLF::Message&) { root.RemoveChild(lower, true); };
  shell.KeyDown(LLF::KEY_ENTER);
  EXPECT_EQ(journal, (Journal{"root:pm", "upper:pm"}));
  EXPECT_EQ(root.GetChildsCount(), 1);
  EXPECT_EQ(shell.forgotten, std::vector<Control*>{lower});
}

}  // namespace
