#include <gtest/gtest.h>

#include <string>

#include "LogRecorder.h"
#include "TestEditor.h"
#include "TestShell.h"
#include "model/Control.h"
#include "model/EditorServices.h"
#include "model/GameServices.h"

namespace {

using HLF::Control;
using HLF::GameServices;

TEST(ServicesTest, TheShellIsThereFromItsConstructionToItsDestruction) {
  EXPECT_EQ(GameServices::GetInstance(), nullptr);
  {
    QmTest::TestShell shell;
    EXPECT_EQ(GameServices::GetInstance(), &shell);
    EXPECT_EQ(GameServices::GetInstance()->GetStylesDoc(), &shell.styles);
  }
  EXPECT_EQ(GameServices::GetInstance(), nullptr);
}

// The queue waits for a safe point: nothing is deleted while a control is
// handling a message or updating.
TEST(ServicesTest, DeferredDeletesWaitForTheSafePoint) {
  QmTest::TestShell shell;
  Control* parent = new Control(L"parent");
  parent->AddChild(new Control(L"child"));
  QmTest::LogRecorder log;
  Control other(L"other");
  {
    Control::DispatchScope scope;
    GameServices::DeleteLater(parent);
    GameServices::DeleteLater(parent);  // once only
    GameServices::DeleteLater(nullptr);
    EXPECT_EQ(GameServices::GetDeletesPending(), 1u);
    EXPECT_FALSE(GameServices::DeleteDeferred());
    EXPECT_TRUE(GameServices::IsDeletePending(parent));
    EXPECT_TRUE(shell.forgotten.empty());
    // A control on its way out cannot join a tree again.
    EXPECT_FALSE(other.AddChild(parent));
    EXPECT_EQ(log.Count(L"Warning: Control::AddChild - control \"parent\" is being deleted."), 1);
  }
  EXPECT_TRUE(GameServices::DeleteDeferred());
  EXPECT_EQ(GameServices::GetDeletesPending(), 0u);
  EXPECT_EQ(shell.forgotten.size(), 2u);

  // Outside any dispatch a removal deletes at once.
  Control root(L"root");
  root.AddChild(new Control(L"gone"));
  EXPECT_TRUE(root.DeleteChild(0, true));
  EXPECT_EQ(GameServices::GetDeletesPending(), 0u);
  EXPECT_EQ(shell.forgotten.size(), 3u);
}

TEST(ServicesTest, EditorFontLoadsTheEditorWhenNeeded) {
  EXPECT_EQ(HLF::EditorServices::GetInstance(), nullptr);
  EXPECT_FALSE(HLF::EditorServices::IsEditorOpen());
  EXPECT_EQ(HLF::EditorServices::GetEditorFont(), nullptr);

  LLF::Font* font = reinterpret_cast<LLF::Font*>(&font);  // never dereferenced
  struct Case {
    bool initialized, canInit;
    bool gotFont;
    int initCalls;
  } cases[] = {{true, false, true, 0}, {false, true, true, 1}, {false, false, false, 1}};
  for (const Case& c : cases) {
    QmTest::TestEditor editor;
    editor.initialized = c.initialized;
    editor.canInit = c.canInit;
    editor.font = font;
    EXPECT_EQ(HLF::EditorServices::GetEditorFont(), c.gotFont ? font : nullptr);
    EXPECT_EQ(editor.initCalls, c.initCalls);
  }
  EXPECT_EQ(HLF::EditorServices::GetInstance(), nullptr);
}

}  // namespace
