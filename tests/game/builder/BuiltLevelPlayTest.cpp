// Levels built from the generated input folders, in a copy of the data
// folder without its levels: the command typed into the console, the level
// started as the script starts one, and window clicks at the built objects'
// centres counting finds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuilderInputs.h"
#include "BuilderTestSupport.h"
#include "BuiltLevelFixture.h"
#include "FileBytes.h"
#include "HeadlessVoyage.h"
#include "core/StringUtils.h"
#include "modes/mirror/GameModeMirror.h"
#include "modes/seek/GameModeSeek.h"

namespace QmTest {
namespace {

using Datagen::BuilderInputs;

using BuiltLevelPlayTest = BuiltLevelFixture;

TEST_F(BuiltLevelPlayTest, ABuiltSeekLevelPlaysAndEveryNameIsFound) {
  ASSERT_TRUE(Execute(L"buildlevel seek levels/built/seek"));
  ASSERT_EQ(HeadlessVoyage::LogCount(L"Level has been created!"), 1);
  auto* seek = dynamic_cast<GameModeSeek*>(Start(L"seek", L"seek"));
  ASSERT_NE(seek, nullptr);
  SeekModeManager& board = seek->GetBoard();
  EXPECT_EQ(board.GetObjects().size(), BuilderInputs::SeekObjects().size());
  ASSERT_EQ(board.GetSearchList().size(), 10u);

  size_t listed = 0;
  for (const BuilderInputs::SeekObject& o : BuilderInputs::SeekObjects()) {
    if (o.flag == L"unknown") continue;
    ++listed;
    const LLF::Point c = Centre(o.rect);
    Click(c.x, c.y);
    ASSERT_EQ(board.GetFoundRecords().size(), listed) << LLF::WideToAnsi(o.name);
    EXPECT_EQ(board.GetFoundRecords().back().name, o.name);
  }
  EXPECT_EQ(listed, 10u);

  // The second run logs the error and leaves every file as it was.
  driver.Release();
  const auto before = FolderBytes(Folder("seek"));
  ASSERT_TRUE(Execute(L"buildlevel seek levels/built/seek"));
  EXPECT_EQ(HeadlessVoyage::LogCount(L"already exists. Nothing has been built."), 1);
  EXPECT_TRUE(FolderBytes(Folder("seek")) == before);
}

TEST_F(BuiltLevelPlayTest, BuiltMirrorLevelsPlayInBothModes) {
  ASSERT_TRUE(Execute(L"buildlevel mirror levels/built/mirror 35"));
  ASSERT_TRUE(Execute(L"buildlevel mirror levels/built/mirror_precut"));
  const struct {
    const wchar_t* name;
    // The expected differences, left ones first.
    std::vector<LLF::Rect> rects;
  } levels[] = {
      // At 35 the two left blobs 30 px apart are one difference.
      {L"mirror",
       {{60, 80, 90, 30},
        BuilderInputs::MirrorLeftBlobs()[2],
        BuilderInputs::MirrorRightBlobs()[0],
        BuilderInputs::MirrorRightBlobs()[1]}},
      // Pre-cut: last file first on each side.
      {L"mirror_precut",
       {BuilderInputs::PreCutLeft()[1], BuilderInputs::PreCutLeft()[0], BuilderInputs::PreCutRight()[1],
        BuilderInputs::PreCutRight()[0]}},
  };
  for (const auto& level : levels) {
    SCOPED_TRACE(LLF::WideToAnsi(level.name));
    const std::vector<Element> objects = ReadChildren(Folder(LLF::WideToAnsi(level.name)) + "level.xml");
    ASSERT_EQ(objects.size(), level.rects.size() + 1);
    for (size_t i = 0; i < level.rects.size(); ++i) {
      EXPECT_EQ(objects[i + 1].Get(L"pos"), Pos(level.rects[i])) << i;
      EXPECT_EQ(objects[i + 1].Get(L"dims"), Dims(level.rects[i])) << i;
    }
    auto* mirror = dynamic_cast<GameModeMirror*>(Start(level.name, L"mirror"));
    ASSERT_NE(mirror, nullptr);
    MirrorModeManager& board = mirror->GetBoard();
    ASSERT_EQ(board.GetDifferences().size(), level.rects.size());
    // A left difference clicked on the right half, a right one on the left.
    const LLF::Point left = Centre(level.rects[0]);
    Click(left.x + 400, left.y);
    EXPECT_EQ(board.LeftCount(), int(level.rects.size()) - 1);
    const LLF::Point right = Centre(level.rects.back());
    Click(right.x - 400, right.y);
    EXPECT_EQ(board.LeftCount(), int(level.rects.size()) - 2);
    driver.Release();
  }
  for (const char* name : {"mirror", "mirror_precut"}) {
    for (const char* layer : {"Scene_left.png", "Layer_original.png", "Diff_left_1.png"})
      EXPECT_FALSE(FileExists(Folder(name) + layer)) << name << layer;
  }
}

}  // namespace
}  // namespace QmTest
