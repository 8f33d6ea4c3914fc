#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "LogRecorder.h"
#include "model/Control.h"

namespace {

using HLF::Control;

// The parent link follows the child lists: a link they do not back would
// leave the old list holding the control, which its destructor would then
// not leave (and the old parent would delete it a second time).
TEST(ControlParentLinkTest, ALinkTheListsDoNotBackIsRefused) {
  QmTest::LogRecorder log;
  auto first = std::make_unique<Control>(L"first");
  Control second(L"second");
  Control* child = new Control(L"child");
  ASSERT_TRUE(first->AddChild(child));

  child->SetParent(&second);
  EXPECT_EQ(child->GetParent(), first.get());
  child->SetParent(nullptr);
  EXPECT_EQ(child->GetParent(), first.get());
  EXPECT_EQ(log.Count(L"Warning: Control::SetParent - control \"child\" is not a child of \"second\"."), 1);
  EXPECT_EQ(log.Count(L"Warning: Control::SetParent - control \"child\" is still a child of \"first\"."), 1);

  // Deleted by itself, it leaves the list it is in.
  delete child;
  EXPECT_EQ(first->GetChildsCount(), 0);

  // Moved the way the tree moves controls, the link follows.
  Control* moved = new Control(L"moved");
  ASSERT_TRUE(first->AddChild(moved));
  ASSERT_TRUE(first->RemoveChild(moved, false));
  EXPECT_EQ(moved->GetParent(), nullptr);
  ASSERT_TRUE(second.AddChild(moved));
  EXPECT_EQ(moved->GetParent(), &second);
  first.reset();
  EXPECT_EQ(second.GetChild(0), moved);
  EXPECT_EQ(log.Count(L"Warning: "), 2);
}

}  // namespace
