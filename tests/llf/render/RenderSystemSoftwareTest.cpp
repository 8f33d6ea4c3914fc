#include <gtest/gtest.h>

#include "LogCapture.h"
#include "render/RenderSystemSoftware.h"

namespace {

using LLF::RenderSystemSoftware;

TEST(RenderSystemSoftwareTest, NeverStartsAndAnswersAsAnInertSystem) {
  RenderSystemSoftware& rs = RenderSystemSoftware::GetInstance();
  EXPECT_TRUE(rs.IsKindOf("RenderSystemSoftware"));
  EXPECT_TRUE(rs.IsKindOf("IRenderSystem"));
  EXPECT_TRUE(rs.IsKindOf("Object"));
  EXPECT_FALSE(rs.IsKindOf("RenderSystemHardware"));
  EXPECT_EQ(rs.Dump(), L"RenderSystemSoftware. Render API: DirectDraw7");
  EXPECT_FALSE(rs.IsHardware());
  EXPECT_FALSE(rs.IsHardwareKind());

  // Init fails silently and keeps the settings it had.
  QmTest::LogCapture log;
  LLF::RenderSettings asked;
  asked.windowed = false;
  asked.verticalSync = false;
  EXPECT_FALSE(rs.Init(asked));
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_TRUE(rs.GetSettings().windowed);
  EXPECT_TRUE(rs.GetSettings().verticalSync);

  const LLF::Color opaqueWhite(255, 255, 255, 255);
  rs.SetScreenTint(LLF::Color(1, 2, 3, 4));
  EXPECT_EQ(rs.GetScreenTint(), opaqueWhite);
  EXPECT_TRUE(rs.RequestScreenshot(L"a.png"));
  EXPECT_TRUE(rs.RequestScreenshot(L"b.png"));
  EXPECT_EQ(rs.GetScreenshot(), nullptr);
  EXPECT_EQ(rs.Get3DRender(), nullptr);
  EXPECT_FALSE(rs.SwitchMode(false, 0));

  LLF::Matrix4 m = LLF::Matrix4::Translation(LLF::Vector3(7, 8, 9));
  rs.PushTransform(LLF::Matrix4::Identity());
  rs.GetTransform(m);
  EXPECT_EQ(m.m[3][0], 7.0f);
}

}  // namespace
