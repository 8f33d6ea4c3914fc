// The results dialog of the game's levui.xml drawn by the hardware render
// system on a real OpenGL context, with DejaVu Sans under the layout's font
// ids: its six lines are hidden until their entrance effects run, and once
// an OK has ended the effects each line shows in its own row, starting at
// its label's left edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "FontAssets.h"
#include "FrameworkFactories.h"
#include "GlScreen.h"
#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "TestShell.h"
#include "image/Image.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "render/IRenderSystem.h"
#include "ui/StatsDialog.h"

namespace {

const wchar_t kCharacters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,:;!?'\"()-+";

// Where the layout puts the lines: the dialog at (200, 110), its labels
// 320 x 30 at (40, 64 + 36 i).
constexpr int kLeft = 240;
constexpr int kWidth = 320;
constexpr int kHeight = 30;
constexpr int kPitch = 36;
int RowTop(int row) {
  return 110 + 64 + kPitch * row;
}

std::string FileText(const std::string& path) {
  std::string text;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
    std::fclose(file);
  }
  return text;
}

// The pixels of a line's own colour (a warm white; the caption of the
// title and the OK button's white are told apart by blue).
bool IsLineColour(const LLF::Color& c) {
  return c.r > 235 && c.g > 225 && c.b > 190 && c.b < 235;
}

struct Extent {
  int count = 0;
  int left = 100000;
  int right = -1;
  int top = 100000;
  int bottom = -1;
};

Extent LinePixels(const LLF::Image& shot, int x, int y, int width, int height) {
  Extent e;
  for (int py = y; py < y + height; ++py) {
    for (int px = x; px < x + width; ++px) {
      LLF::Color c;
      shot.GetPixel(&c, px, py);
      if (IsLineColour(c)) {
        ++e.count;
        e.left = std::min(e.left, px);
        e.right = std::max(e.right, px);
        e.top = std::min(e.top, py);
        e.bottom = std::max(e.bottom, py);
      }
    }
  }
  return e;
}

class StatsDialogGlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(screen.IsReady());
    const std::string data = QmTest::GeneratedDataFolder();
    for (const char* file : {"scripts/game/levui.xml", "scripts/effects.xml"}) {
      const std::string text = FileText(data + file);
      ASSERT_FALSE(text.empty()) << file;
      folders.WriteProgramFile(file, text);
    }
    HLF::ControlFactory::GetInstance().Register(new StatsDialog(L"StatsDlgCreator"));
    ASSERT_NE(fonts.Add(L"Main20", 20, kCharacters), nullptr);
    ASSERT_NE(fonts.Add(L"Title28", 28, kCharacters), nullptr);
    root.SetSize(800, 600);
    root.SetRenderable(false);
  }

  std::unique_ptr<LLF::Image> Frame() {
    return screen.Frame([this](LLF::IRenderSystem* rs) { root.Render(rs, nullptr); });
  }

  QmTest::GlScreen screen;
  QmTest::TempFolders folders;
  QmTest::FrameworkFactories factories;
  QmTest::FontAssets fonts;
  HLF::Control root{L"root"};
  QmTest::TestShell shell{&root};
};

TEST_F(StatsDialogGlTest, LinesShowInTheirRows) {
  StatsDialog* dialog = StatsDialog::CreateFromLayout(L"scripts/game/levui.xml", L"levui", L"StatsDlg");
  ASSERT_NE(dialog, nullptr);
  root.AddChild(dialog);
  dialog->FillLabels({83000, 4000, 754000, 7, 2500, 1234567});

  std::unique_ptr<LLF::Image> hidden = Frame();
  ASSERT_TRUE(hidden);
  for (int row = 0; row < StatsDialog::kLabelsCount; ++row) {
    EXPECT_EQ(LinePixels(*hidden, kLeft, RowTop(row), kWidth, kHeight).count, 0) << "row " << row;
  }

  dialog->OnOk();  // ends the entrance effects
  std::unique_ptr<LLF::Image> shown = Frame();
  ASSERT_TRUE(shown);
  Extent rows[StatsDialog::kLabelsCount];
  for (int row = 0; row < StatsDialog::kLabelsCount; ++row) {
    SCOPED_TRACE(testing::Message() << "row " << row);
    // The whole pitch of the row: its label and the gap below it.
    rows[row] = LinePixels(*shown, kLeft - 40, RowTop(row), kWidth + 80, kPitch);
    EXPECT_GT(rows[row].count, 60);
    EXPECT_GE(rows[row].left, kLeft);
    EXPECT_LE(rows[row].left, kLeft + 6) << "left-aligned in its label";
    EXPECT_LT(rows[row].right, kLeft + kWidth);
    // Centred on its label's middle; only descenders reach below the box.
    EXPECT_GE(rows[row].top, RowTop(row) + 2);
    EXPECT_LE(rows[row].bottom, RowTop(row) + kHeight + 3);
  }
  // The values follow their captions: "Hints used: 7" ends well before
  // "Overall score: 1,234,567".
  EXPECT_LT(rows[3].right + 60, rows[5].right);
  EXPECT_GT(rows[0].right, kLeft + 120);
}

}  // namespace
