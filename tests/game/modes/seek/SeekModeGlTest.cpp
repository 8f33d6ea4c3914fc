// The game's Seek levels drawn by the hardware render system on a real
// OpenGL context: the silhouette list, the text list, the grey scene under
// its scrolling sky, the dark scene with the light on the cursor, and a
// find on its flight. With QM_SHOT_DIR set, the frames are written there as
// PNG files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "GameAtMenu.h"
#include "GlScreen.h"
#include "HeadlessVoyage.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "image/Image.h"
#include "model/Control.h"
#include "model/GameServices.h"
#include "modes/seek/GameModeSeek.h"
#include "render/IRenderSystem.h"

namespace QmTest {
namespace {

struct Stats {
  int pixels = 0;
  int grey = 0;      // r, g and b within 2 of each other
  int dark = 0;      // sum below 90
  int bright = 0;    // sum above 360
  int coloured = 0;  // one channel 60 above another
  int white = 0;     // all above 235
  int ink = 0;       // sum below 300: writing on the parchment
};

Stats Measure(const LLF::Image& shot, int x, int y, int width, int height) {
  Stats s;
  for (int py = y; py < y + height; ++py) {
    for (int px = x; px < x + width; ++px) {
      LLF::Color c;
      shot.GetPixel(&c, px, py);
      const int hi = std::max({c.r, c.g, c.b});
      const int lo = std::min({c.r, c.g, c.b});
      ++s.pixels;
      s.grey += hi - lo <= 2 ? 1 : 0;
      s.dark += c.r + c.g + c.b < 90 ? 1 : 0;
      s.bright += c.r + c.g + c.b > 360 ? 1 : 0;
      s.coloured += hi - lo > 60 ? 1 : 0;
      s.white += lo > 235 ? 1 : 0;
      s.ink += c.r + c.g + c.b < 300 ? 1 : 0;
    }
  }
  return s;
}

class SeekScreen {
 public:
  SeekScreen(GlScreen& screen, HeadlessVoyage& game) : _screen(screen), _game(game) {}
  ~SeekScreen() { Close(); }

  GameModeSeek* Open(const wchar_t* level, const wchar_t* levelInfoMode) {
    Close();
    LevelInfo info;
    info.folder = L"levels/" + std::wstring(level) + L"/";
    info.name = level;
    info.type = L"seek";
    info.mode = levelInfoMode;
    info.musicAsset = L"LEVMUSIC_B";
    info.level = 0;
    info.day = 1;
    _mode = std::make_unique<GameModeSeek>();
    if (!_mode->LoadLevel(info)) return nullptr;
    return _mode.get();
  }
  void Run(unsigned total) {
    for (unsigned t = 0; t < total; t += 50) {
      _mode->Update(50);
      _game.Frame(50);
    }
  }
  std::unique_ptr<LLF::Image> Shot() {
    return _screen.Frame([&](LLF::IRenderSystem* rs) { _game.GetRootControl().Render(rs, nullptr); });
  }
  void Close() {
    _mode.reset();
    HLF::GameServices::DeleteDeferred();
  }

 private:
  GlScreen& _screen;
  HeadlessVoyage& _game;
  std::unique_ptr<GameModeSeek> _mode;
};

TEST(SeekModeGlTest, TheSeekLevelsOnScreen) {
  GlScreen screen;
  ASSERT_TRUE(screen.IsReady());
  GameAtMenu start(true);
  ASSERT_TRUE(start.Start());
  HeadlessVoyage& game = start.Game();
  {
    SeekScreen seek(screen, game);

    // Silhouettes on the right of the plain scene.
    GameModeSeek* mode = seek.Open(L"d2_seek", L"");
    ASSERT_NE(mode, nullptr);
    seek.Run(6500);
    std::unique_ptr<LLF::Image> shot = seek.Shot();
    ASSERT_TRUE(shot);
    SaveShot(*shot, "seek_silhouettes.png");
    const Stats scene = Measure(*shot, 10, 200, 600, 390);
    EXPECT_GT(scene.coloured, scene.pixels / 20) << "the meadow";
    const Stats list = Measure(*shot, 640, 70, 150, 400);
    EXPECT_GT(list.white, 1500) << "ten white silhouettes";
    EXPECT_GT(Measure(*shot, 655, 470, 120, 116).coloured, 1200) << "the buttons";

    // A find flies towards the middle of the play area.
    const SeekModeManager::SeekObject* star = mode->GetBoard().FindObject(L"Red Star");
    ASSERT_NE(star, nullptr);
    mode->GetBoard().OnMouseUp(
        LLF::Message(nullptr, 0, 0, int(star->x) + star->w / 2, int(star->y) + star->h / 2, L""));
    ASSERT_EQ(mode->GetBoard().GetFoundRecords().size(), 1u);
    seek.Run(1500);
    shot = seek.Shot();
    ASSERT_TRUE(shot);
    SaveShot(*shot, "seek_find.png");
    int red = 0;
    for (int y = 250; y < 350; ++y) {
      for (int x = 250; x < 380; ++x) {
        LLF::Color c;
        shot->GetPixel(&c, x, y);
        red += c.r > 150 && c.g < 90 && c.b < 90 ? 1 : 0;
      }
    }
    EXPECT_GT(red, 400) << "the star in the middle of the play area";

    // Text on the right of the plain scene.
    mode = seek.Open(L"d3_seek_dark", L"");
    ASSERT_NE(mode, nullptr);
    seek.Run(6500);
    shot = seek.Shot();
    ASSERT_TRUE(shot);
    SaveShot(*shot, "seek_text.png");
    EXPECT_GT(Measure(*shot, 640, 70, 150, 400).ink, 600) << "the names written in the list";
    EXPECT_LT(Measure(*shot, 640, 70, 150, 400).white, 50) << "no silhouettes";

    // The dark scene: light only round the cursor.
    mode = seek.Open(L"d3_seek_dark", L"dark");
    ASSERT_NE(mode, nullptr);
    seek.Run(6500);
    LLF::Message move(&LLF::AppWindow::GetInstance(), LLF::WMSG_MOUSE_MOVE, 0, 200, 380, L"");
    game.OnMessage(&move);
    shot = seek.Shot();
    ASSERT_TRUE(shot);
    SaveShot(*shot, "seek_dark.png");
    const Stats lit = Measure(*shot, 180, 360, 40, 40);
    const Stats far = Measure(*shot, 480, 60, 100, 100);
    EXPECT_LT(lit.dark, lit.pixels / 10) << "clear under the cursor";
    EXPECT_GT(far.dark, far.pixels * 9 / 10) << "dark away from it";

    // The grey scene on the right of the list, the clouds behind its sky.
    mode = seek.Open(L"d3_seek_grey", L"");
    ASSERT_NE(mode, nullptr);
    seek.Run(6500);
    shot = seek.Shot();
    ASSERT_TRUE(shot);
    SaveShot(*shot, "seek_grey.png");
    const Stats ground = Measure(*shot, 190, 300, 590, 280);
    EXPECT_GT(ground.grey, ground.pixels * 9 / 10) << "grey";
    const Stats sky = Measure(*shot, 190, 10, 590, 100);
    EXPECT_GT(sky.bright, sky.pixels / 3) << "the clouds";
    EXPECT_GT(Measure(*shot, 10, 70, 150, 400).ink, 600) << "the list on the left";
    std::unique_ptr<LLF::Image> later;
    seek.Run(3000);
    later = seek.Shot();
    ASSERT_TRUE(later);
    int moved = 0;
    for (int x = 190; x < 780; x += 3) {
      LLF::Color a;
      LLF::Color b;
      shot->GetPixel(&a, x, 60);
      later->GetPixel(&b, x, 60);
      moved += std::abs(a.r - b.r) > 3 ? 1 : 0;
    }
    EXPECT_GT(moved, 20) << "the clouds scroll";
    SaveShot(*later, "seek_grey_later.png");
  }
  game.Stop();
}

}  // namespace
}  // namespace QmTest
