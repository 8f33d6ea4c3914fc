#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FixedFont.h"
#include "MessageRecorder.h"
#include "TestEditor.h"
#include "TestShell.h"
#include "dialogs/PopupMenu.h"
#include "model/GameServices.h"
#include "widgets/Listbox.h"
#include "xml/XmlElement.h"

namespace {

using HLF::PopupMenu;

std::vector<std::wstring> Rows(int count) {
  std::vector<std::wstring> rows;
  for (int i = 0; i < count; ++i) {
    rows.push_back(L"row" + std::to_wstring(i));
  }
  return rows;
}

// "code text" per message.
std::vector<std::wstring> Heard(const QmTest::MessageRecorder& recorder) {
  std::vector<std::wstring> heard;
  for (const QmTest::MessageRecorder::Entry& entry : recorder.Entries()) {
    heard.push_back(std::to_wstring(entry.code) + L" " + entry.text);
  }
  return heard;
}

// A shell whose editor has the fixed font; a menu of three rows at
// (100, 100) in the game layer holds the focus. Rows are 15 pixels high
// (10 + the interval 5) below a 2-pixel margin.
struct OpenMenu {
  OpenMenu() {
    editor.initialized = true;
    editor.font = font.Get();
    menu = new PopupMenu();
    menu->SetName(L"menu");
    menu->GetList()->SetItems({L"alpha", L"beta", L"gamma"});
    menu->FitToItems();
    menu->SetPosition(100, 100);
    shell.GetGameLayer()->AddChild(menu);
    recorder.Listen(menu);
    shell.SetFocus(menu);
  }
  bool IsOpen() { return shell.GetGameLayer()->GetChildByName(L"menu") != nullptr; }
  void Click(int x, int y) {
    shell.MouseMove(x, y);
    shell.MouseDown(x, y);
    shell.MouseUp(x, y);
  }
  int RowY(int row) const { return 100 + 2 + 15 * row + 7; }

  QmTest::FixedFont font;
  QmTest::TestEditor editor;
  QmTest::MessageRecorder recorder;  // outlives the menu
  QmTest::TestShell shell;
  PopupMenu* menu;
};

TEST(PopupMenuTest, Defaults) {
  PopupMenu menu;
  EXPECT_EQ(menu.GetTypeName(), L"popupmenu");
  EXPECT_EQ(menu.Dump(), L"PopupMenu: Name - ");
  EXPECT_TRUE(menu.IsKindOf("PopupMenu"));
  EXPECT_TRUE(menu.IsKindOf("Dialog"));
  EXPECT_FALSE(menu.IsDraggable());
  ASSERT_NE(menu.GetList(), nullptr);
  EXPECT_EQ(menu.GetChildsCount(), 1);
  EXPECT_EQ(menu.GetList()->GetName(), L"LISTMENU");
  EXPECT_EQ(menu.GetList()->GetInterval(), 5);
  // No editor: no font, so the list shows no rows.
  EXPECT_EQ(menu.GetList()->GetFont(), nullptr);
  // The list is made by the constructor, so it is not saved.
  std::unique_ptr<LLF::XmlElement> saved(menu.SaveToXml());
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(saved->GetName(), L"popupmenu");
  EXPECT_EQ(saved->GetChildsCount(), 0);
}

TEST(PopupMenuTest, FitsItsHeightToTheRows) {
  QmTest::FixedFont font;
  struct Case {
    int rows;
    LLF::Point menu;
    LLF::Point list;
  } cases[] = {
      {3, {200, 64}, {200, 64}},     // 3 x 20 + 4
      {9, {200, 184}, {200, 184}},   // 180 < 199
      {10, {200, 195}, {200, 199}},  // 200 does not fit: kept
      {0, {200, 195}, {200, 199}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    PopupMenu menu;
    menu.GetList()->SetFontObject(font.Get());
    menu.GetList()->SetInterval(10);
    menu.GetList()->SetItems(Rows(c.rows));
    menu.FitToItems();
    EXPECT_EQ(menu.GetSize(), c.menu);
    EXPECT_EQ(menu.GetList()->GetSize(), c.list);
  }
}

// The choice, then the menu's close, then the dialog's result; the menu
// goes once the list has finished with the release, and the focus with it.
TEST(PopupMenuTest, PickingARowReportsItAndCloses) {
  OpenMenu s;
  ASSERT_EQ(s.menu->GetList()->GetFont(), s.font.Get());
  s.Click(150, s.RowY(2));
  EXPECT_EQ(Heard(s.recorder), (std::vector<std::wstring>{L"11 gamma", L"10 ", L"10 OK"}));
  EXPECT_FALSE(s.IsOpen());
  EXPECT_EQ(s.shell.GetFocusControl(), nullptr);
  EXPECT_EQ(HLF::GameServices::GetDeletesPending(), 0u);
}

TEST(PopupMenuTest, AClickOutsideClosesWithoutAChoice) {
  OpenMenu s;
  s.Click(50, 50);
  EXPECT_EQ(Heard(s.recorder), (std::vector<std::wstring>{L"10 ", L"10 OK"}));
  EXPECT_FALSE(s.IsOpen());
  // Cancel takes the same path.
  OpenMenu t;
  t.menu->OnCancel();
  EXPECT_EQ(Heard(t.recorder), (std::vector<std::wstring>{L"10 ", L"10 OK"}));
}

// A focus loss while the menu is telling its receivers it closes (the
// opener hands the focus on) sends nothing more.
TEST(PopupMenuTest, AFocusLossDuringTheCloseSendsNothingMore) {
  OpenMenu s;
  s.recorder.action = [&](const LLF::Message& msg) {
    if (msg.GetCode() == 10 && msg.GetText().empty()) {
      s.shell.SetFocus(nullptr);
      s.menu->OnCancel();
    }
  };
  s.Click(150, s.RowY(0));
  EXPECT_EQ(Heard(s.recorder), (std::vector<std::wstring>{L"11 alpha", L"10 ", L"10 OK"}));
  EXPECT_FALSE(s.IsOpen());
}

// A menu deleted while it holds the focus leaves none behind; one that
// does not hold it leaves the holder alone.
TEST(PopupMenuTest, DeletionDropsOnlyItsOwnFocus) {
  OpenMenu s;
  s.shell.GetGameLayer()->RemoveChild(s.menu, true);
  EXPECT_EQ(s.shell.GetFocusControl(), nullptr);

  PopupMenu* holder = new PopupMenu();
  s.shell.GetGameLayer()->AddChild(holder);
  s.shell.SetFocus(holder);
  delete new PopupMenu();
  EXPECT_EQ(s.shell.GetFocusControl(), holder);
  EXPECT_TRUE(Heard(s.recorder).empty());
}

}  // namespace
