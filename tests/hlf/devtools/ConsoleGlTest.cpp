// The console drawn by the hardware render system on a real OpenGL context
// (SDL's offscreen video on Mesa), its frame read back: the grey area over
// the top half, the input box, the coloured lines in it, and the scene left
// untouched below. QM_CAPTURE_DIR keeps the frame as a PNG to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "FontTestUtil.h"
#include "GlScreen.h"
#include "TempFolders.h"
#include "TestEditor.h"
#include "TestGame.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "devtools/Editor.h"
#include "font/Font.h"
#include "font/FontsManager.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "math/Color.h"
#include "math/Rect.h"
#include "render/IRenderSystem.h"
#include "xml/XmlElement.h"

namespace {

using LLF::Color;

// How many pixels of the rectangle are close to the colour.
int CountNear(const LLF::Image& image, const LLF::Rect& r, const Color& color, int tolerance = 12) {
  int count = 0;
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) {
      Color c;
      image.GetPixel(&c, x, y);
      count += std::abs(c.r - color.r) <= tolerance && std::abs(c.g - color.g) <= tolerance &&
                       std::abs(c.b - color.b) <= tolerance
                   ? 1
                   : 0;
    }
  }
  return count;
}

TEST(ConsoleGlTest, DrawsOverTheTopHalfOfTheScene) {
  QmTest::GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  game.GetConfigDoc()->GetRoot()->GetChildByPath(L"config/game")->AddAttribute(L"enableConsole", L"true");
  // The editor's font, uploaded to this render system.
  std::unique_ptr<LLF::Font> font(LLF::FontsManager::GetInstance().LoadFont(
      LLF::AnsiToWide(QmTest::kDejaVuSans), 14, HLF::Editor::kFontCharacters, std::wstring(), true, false,
      LLF::Point(2, 2)));
  ASSERT_TRUE(font);
  {
    QmTest::TestEditor editor;
    editor.initialized = true;
    editor.font = font.get();
    HLF::Console& console = HLF::Console::GetInstance();
    console.ClearLines();
    console.Show();
    ASSERT_TRUE(console.IsVisible());
    for (int i = 0; i < 30; ++i)
      console.Print(L"01.02.2024 / 10:00:00 an ordinary line " + std::to_wstring(i) + L"\r\n");
    console.Print(L"01.02.2024 / 10:00:00 Error: something failed\r\n");
    console.SetInputLine(L"dumptree full");

    // The scene: a blue floor over the whole window, then the console.
    std::unique_ptr<LLF::Image> shot = screen.Frame([&console](LLF::IRenderSystem* rs) {
      rs->FillRect(LLF::Rect(0, 0, 800, 600), Color(0, 0, 200, 255));
      console.Draw();
    });
    console.Hide();
    console.ClearLines();
    console.SetInputLine(L"");
    ASSERT_TRUE(shot);
    if (const char* dir = std::getenv("QM_CAPTURE_DIR")) {
      LLF::ImagesManager::GetInstance().SaveImage(shot.get(), LLF::AnsiToWide(dir) + L"/console.png");
    }

    const int h = font->GetTextHeight(LLF::TextDrawParams());
    const int boxY = 300 - h - 8;
    // The grey (96, 96, 96, 240 over blue) fills the right of the top half,
    // where no text reaches; the scene stays below it.
    const Color grey(90, 90, 102, 255);
    EXPECT_EQ(CountNear(*shot, LLF::Rect(700, 10, 90, 200), grey), 90 * 200);
    EXPECT_EQ(CountNear(*shot, LLF::Rect(0, 310, 800, 280), Color(0, 0, 200, 255), 0), 800 * 280);
    // The input box, in its own dark grey, holds the input in pale green.
    EXPECT_GT(CountNear(*shot, LLF::Rect(600, boxY + 1, 190, h + 4), Color(32, 32, 32, 255), 2),
              190 * (h + 2));
    EXPECT_GT(CountNear(*shot, LLF::Rect(4, boxY + 2, 200, h + 4), Color(200, 255, 200, 255), 40), 20);
    // The newest line, the error, in red just above the box; the line above
    // it in white.
    const LLF::Rect errorRow(4, boxY - 4 - h, 300, h);
    EXPECT_GT(CountNear(*shot, errorRow, Color(255, 96, 96, 255), 40), 20);
    EXPECT_EQ(CountNear(*shot, errorRow, Color(255, 255, 255, 255), 10), 0);
    EXPECT_GT(CountNear(*shot, LLF::Rect(4, boxY - 8 - 2 * h, 300, h), Color(255, 255, 255, 255), 10), 20);
  }
  font.reset();
}

}  // namespace
