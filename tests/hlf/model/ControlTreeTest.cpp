#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlProbe.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TestEditor.h"
#include "TestShell.h"
#include "model/Control.h"

namespace {

using HLF::Control;
using QmTest::MessageRecorder;

Control* AddNamed(Control* parent, const std::wstring& name, MessageRecorder* recorder = nullptr) {
  Control* child = new Control(name);
  if (recorder) recorder->Listen(child);
  EXPECT_TRUE(parent->AddChild(child));
  return child;
}

TEST(ControlTreeTest, AddingRefusesWhatWouldBreakOwnership) {
  QmTest::LogRecorder log;
  Control root(L"root");
  Control* a = AddNamed(&root, L"a");
  Control* aa = AddNamed(a, L"aa");
  Control other(L"other");

  struct Case {
    const char* what;
    Control* parent;
    Control* child;
    int warnings;
  } cases[] = {
      {"itself", &root, &root, 0},
      {"null", &root, nullptr, 0},
      {"a child already in the list", &root, a, 1},
      {"a child of another control", &other, aa, 1},
      {"its own ancestor", aa, &root, 1},
      {"the parent of its parent", aa, a, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int before = log.Count(L"Warning: ");
    EXPECT_FALSE(c.parent->AddChild(c.child));
    EXPECT_FALSE(c.parent->AddChildFront(c.child));
    EXPECT_EQ(log.Count(L"Warning: ") - before, 2 * c.warnings);
  }
  // Both "a" cases meet the parent check first.
  EXPECT_EQ(log.Count(L"Warning: Control::AddChild - control \"a\" already has a parent \"root\"."), 2);
  EXPECT_EQ(log.Count(L"Warning: Control::AddChildFront - control \"root\" contains \"aa\"."), 1);
  EXPECT_EQ(root.GetChildsCount(), 1);
  EXPECT_EQ(a->GetChildsCount(), 1);
  EXPECT_EQ(other.GetChildsCount(), 0);

  // Moving a control: taken out without deletion it has no parent, and may
  // then join another.
  EXPECT_TRUE(a->RemoveChild(aa, false));
  EXPECT_EQ(aa->GetParent(), nullptr);
  EXPECT_EQ(aa->GetAbsolutePosition(), LLF::Vector2());
  EXPECT_TRUE(other.AddChild(aa));
  EXPECT_EQ(aa->GetParent(), &other);
}

// Codes 8 (deactivated) and 9 (activated) follow the topmost child.
TEST(ControlTreeTest, ActivationFollowsTheTopmostChild) {
  MessageRecorder recorder;
  Control root(L"root");
  Control* a = AddNamed(&root, L"a", &recorder);
  Control* b = AddNamed(&root, L"b", &recorder);
  Control* c = AddNamed(&root, L"c", &recorder);
  EXPECT_EQ(recorder.Codes(), (std::vector<std::string>{"a:8", "b:8"}));
  EXPECT_FALSE(a->IsActive());
  EXPECT_TRUE(c->IsActive());

  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> codes;
    std::wstring order;  // names of the children afterwards
  } steps[] = {
      {"raising the topmost: the one below becomes topmost (9), then yields again (8)",
       [&] { c->BringToFront(); },
       {"b:9", "b:8"},
       L"abc"},
      {"raising the lowest", [&] { a->BringToFront(); }, {"c:8"}, L"bca"},
      {"lowering the topmost", [&] { a->SendToBack(); }, {"c:9"}, L"abc"},
      {"removing a middle child sends nothing", [&] { root.RemoveChild(b, false); }, {}, L"ac"},
      {"removing the topmost activates the new topmost",
       [&] { root.RemoveChild(L"c", true); },
       {"a:9"},
       L"a"},
      {"an index out of range changes nothing", [&] { EXPECT_FALSE(root.DeleteChild(1, true)); }, {}, L"a"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    recorder.Clear();
    step.act();
    EXPECT_EQ(recorder.Codes(), step.codes);
    std::wstring order;
    for (int i = 0; i < root.GetChildsCount(); ++i) order += root.GetChild(i)->GetName();
    EXPECT_EQ(order, step.order);
  }
  delete b;  // taken out without deletion above
}

TEST(ControlTreeTest, SearchesRunInTheirOwnDirections) {
  Control root(L"root");
  Control* first = AddNamed(&root, L"x");
  Control* second = AddNamed(&root, L"x");
  EXPECT_EQ(root.GetChildByName(L"x"), second);
  EXPECT_EQ(root.GetChildByName(L"X"), nullptr);
  EXPECT_TRUE(root.RemoveChild(L"x", false));
  EXPECT_EQ(root.GetChild(0), second);
  delete first;

  // Depth first from the last child: a grandchild under a later child wins
  // over an earlier direct child of the same name.
  Control* early = AddNamed(&root, L"y");
  Control* late = AddNamed(&root, L"late");
  Control* grandchild = AddNamed(late, L"y");
  EXPECT_EQ(root.FindChild(L"y"), grandchild);
  EXPECT_EQ(root.GetChildByName(L"y"), early);
  EXPECT_EQ(root.FindChild(L"none"), nullptr);
}

TEST(ControlTreeTest, AlphaCoversTheSubtreeAndTheRelativeCentreUsesTheSizeOfTheMoment) {
  Control root(L"root");
  Control* child = AddNamed(&root, L"child");
  Control* grandchild = AddNamed(child, L"grandchild");
  grandchild->SetAlpha(10);
  root.SetAlpha(128);
  EXPECT_EQ(child->GetAlpha(), 128);
  EXPECT_EQ(grandchild->GetAlpha(), 128);

  root.SetSize(200, 100);
  root.SetTransformCenterRelative(LLF::Vector2(0.5f, 0.5f));
  EXPECT_EQ(root.GetTransformCenter(), LLF::Vector2(100.0f, 50.0f));
  root.SetSize(400, 400);
  EXPECT_EQ(root.GetTransformCenter(), LLF::Vector2(100.0f, 50.0f));

  // Rectangles truncate the position towards zero.
  child->SetPosition(10.7f, -3.5f);
  root.SetPosition(5.0f, 5.0f);
  EXPECT_EQ(child->GetRect(), LLF::Rect(10, -3, 100, 100));
  EXPECT_EQ(child->GetAbsoluteRect(), LLF::Rect(15, 1, 100, 100));
}

// A workspace element answers visible, draggable, not actions-invisible and
// not passing drags only while the editor is open; the fields stay.
TEST(ControlTreeTest, WorkspaceElementsWhileTheEditorIsOpen) {
  struct Case {
    const char* what;
    bool editor;
    bool open;
    const wchar_t* name;
    bool workspace;
  } cases[] = {
      {"no editor", false, false, L"WSELEMENT_panel", false},
      {"editor closed", true, false, L"WSELEMENT_panel", false},
      {"editor open", true, true, L"WSELEMENT_panel", true},
      {"editor open, marker inside the name", true, true, L"myWSELEMENT_x", true},
      {"editor open, other name", true, true, L"wselement_panel", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<QmTest::TestEditor> editor(c.editor ? new QmTest::TestEditor() : nullptr);
    if (editor) editor->open = c.open;
    Control control(c.name);
    control.SetVisible(false);
    control.SetActionsInvisible(true);
    control.SetDraggable(false);
    control.SetPassDragToParent(true);
    EXPECT_EQ(control.IsVisible(), c.workspace);
    EXPECT_EQ(control.IsShown(), c.workspace);
    EXPECT_EQ(control.IsDraggable(), c.workspace);
    EXPECT_EQ(control.IsActionsInvisible(), !c.workspace);
    EXPECT_EQ(control.IsPassDragToParent(), !c.workspace);
    EXPECT_EQ(control.CanProcessMessages(), c.workspace);
    if (editor) {
      editor->open = false;
      EXPECT_FALSE(control.IsVisible());
      EXPECT_TRUE(control.IsActionsInvisible());
    }
  }
}

TEST(ControlTreeTest, DestructionDeletesChildrenFirstThenTellsTheShell) {
  QmTest::Journal journal;
  {
    // Without a shell nobody is told.
    Control* root = new Control(L"root");
    AddNamed(root, L"a");
    delete root;
  }
  QmTest::TestShell shell;
  Control* root = new Control(L"root");
  Control* a = AddNamed(root, L"a");
  Control* a1 = AddNamed(a, L"a1");
  Control* b = AddNamed(root, L"b");
  delete root;
  EXPECT_EQ(shell.forgotten, (std::vector<Control*>{a1, a, b, root}));

  // A control deleted while its parent still lists it leaves the list.
  Control parent(L"parent");
  Control* stray = AddNamed(&parent, L"stray");
  AddNamed(&parent, L"kept");
  delete stray;
  ASSERT_EQ(parent.GetChildsCount(), 1);
  EXPECT_EQ(parent.GetChild(0)->GetName(), L"kept");
}

TEST(ControlTreeTest, TypeTestAndDump) {
  Control control(L"panel");
  EXPECT_TRUE(control.IsKindOf("Control"));
  EXPECT_TRUE(control.IsKindOf("MessageSender"));
  EXPECT_TRUE(control.IsKindOf("Object"));
  EXPECT_FALSE(control.IsKindOf("Dialog"));
  EXPECT_EQ(control.Dump(), L"Control: Name: panel");
  EXPECT_EQ(control.GetTypeName(), L"control");
  std::unique_ptr<Control> fresh(control.CreateInstance());
  EXPECT_EQ(fresh->GetName(), L"");
  EXPECT_EQ(fresh->GetSize(), LLF::Point(100, 100));
  EXPECT_EQ(fresh->GetDefCtrlColor(), LLF::Color(164, 164, 164, 255));
}

}  // namespace
