#include <gtest/gtest.h>

#include "ImageTestUtil.h"
#include "render/RendersManager.h"

namespace {

using LLF::RendersManager;

TEST(RendersManagerTest, RegistryAndCurrentRender) {
  auto& m = RendersManager::GetInstance();
  QmTest::FakeRenderSystem one;
  QmTest::FakeRenderSystem two;
  QmTest::LogCapture log;
  ASSERT_TRUE(m.RegisterRender(&one));
  ASSERT_TRUE(m.RegisterRender(&two));
  EXPECT_FALSE(m.RegisterRender(&one));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Warning: trying to register the same render twice.\r\n" +
                                                   one.Dump()});
  EXPECT_EQ(m.GetRendersCount(), 2u);
  EXPECT_EQ(m.Dump(), L"RendersManager: registered renders count: 2\r\n");
  EXPECT_EQ(m.GetRender(1), &two);
  EXPECT_EQ(m.GetRender(2), nullptr);

  EXPECT_EQ(m.GetCurrentRender(), nullptr);
  EXPECT_TRUE(m.SetCurrentRender(1));
  EXPECT_FALSE(m.SetCurrentRender(5));
  EXPECT_EQ(m.GetCurrentRender(), &two);

  // Unregistering leaves the current render system current.
  EXPECT_TRUE(m.UnregisterRender(&two));
  EXPECT_EQ(m.GetCurrentRender(), &two);
  log.Clear();
  EXPECT_FALSE(m.UnregisterRender(&two));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{
                             L"Warning: trying to unregister not registered render.\r\n" + two.Dump()});

  m.ReleaseCurrentRender();
  EXPECT_EQ(two.destroyed, 1);
  EXPECT_EQ(m.GetCurrentRender(), nullptr);
  m.ReleaseCurrentRender();
  EXPECT_EQ(two.destroyed, 1);
  EXPECT_TRUE(m.UnregisterRender(&one));
  EXPECT_EQ(one.destroyed, 0);
  EXPECT_TRUE(m.IsKindOf("RendersManager") && one.IsKindOf("IRenderSystem"));
}

}  // namespace
