// The window procedure, driven with message records: no display needed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTestDoubles.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "window/AppWindowData.h"

namespace {

using LLF::AppWindow;
using LLF::OsMessage;
using WindowTest::FakeHost;
using WindowTest::Sent;
using WindowTest::TestWindow;

// A window object of its own per test, beside the program's singleton.
unsigned g_now = 0;
unsigned FakeClock() {
  return g_now;
}

class AppWindowProcTest : public testing::Test {
 protected:
  void SetUp() override {
    AppWindow::SetClock(&FakeClock);
    g_now = 100000;
    window.SetHost(&host);
  }
  void TearDown() override { AppWindow::SetClock(nullptr); }

  // Takes what the procedure has queued so far.
  std::vector<Sent> Queued() {
    std::vector<Sent> out;
    for (const LLF::Message& m : window.GetData()->queue) {
      EXPECT_EQ(m.GetSender(), static_cast<LLF::Object*>(&window));
      out.push_back(Sent::Of(m));
    }
    window.GetData()->queue.clear();
    return out;
  }

  void Release(unsigned message, unsigned at, int x, int y) {
    g_now = at;
    window.WindowProc(OsMessage(message, 0, LLF::MakeLong(x, y)));
  }

  TestWindow window;
  FakeHost host;
};

TEST_F(AppWindowProcTest, DoubleClickIsTimedOverTheThreeButtons) {
  using V = std::vector<Sent>;
  // Two left releases 200 ms apart (interval 250): up; then double click, up.
  Release(LLF::WM_LBUTTONUP, 1000, 10, 20);
  EXPECT_EQ(Queued(), (V{{2, 1, 10, 20, L""}}));
  Release(LLF::WM_LBUTTONUP, 1200, 11, 21);
  EXPECT_EQ(Queued(), (V{{6, 1, 11, 21, L""}, {2, 1, 11, 21, L""}}));
  // A third release 100 ms later: only an up, the time was reset.
  Release(LLF::WM_LBUTTONUP, 1300, 12, 22);
  EXPECT_EQ(Queued(), (V{{2, 1, 12, 22, L""}}));
  // Left then right 100 ms later: the double click carries the right button.
  Release(LLF::WM_RBUTTONUP, 1400, 5, 6);
  EXPECT_EQ(Queued(), (V{{6, 2, 5, 6, L""}, {2, 2, 5, 6, L""}}));
  // Exactly the interval apart is not a double click; the middle button.
  Release(LLF::WM_MBUTTONUP, 2000, 0, 0);
  Release(LLF::WM_MBUTTONUP, 2250, 0, 0);
  EXPECT_EQ(Queued(), (V{{2, 3, 0, 0, L""}, {2, 3, 0, 0, L""}}));
  // The clock wrapping between the releases still counts the short gap.
  Release(LLF::WM_LBUTTONUP, 0xFFFFFFF0u, 1, 1);
  Release(LLF::WM_LBUTTONUP, 0x00000010u, 1, 1);
  EXPECT_EQ(Queued(), (V{{2, 1, 1, 1, L""}, {6, 1, 1, 1, L""}, {2, 1, 1, 1, L""}}));
  // A longer interval from the settings.
  window.GetSettings()->doubleClickInterval = 500;
  Release(LLF::WM_LBUTTONUP, 5000, 1, 1);
  Release(LLF::WM_LBUTTONUP, 5400, 1, 1);
  EXPECT_EQ(Queued().size(), 3u);
}

TEST_F(AppWindowProcTest, ButtonsMovesAndWheel) {
  using V = std::vector<Sent>;
  // Before any move the wheel reports (0, 0).
  window.WindowProc(OsMessage(LLF::WM_MOUSEWHEEL, LLF::MakeLong(0, 120), 0));
  window.WindowProc(OsMessage(LLF::WM_LBUTTONDOWN, 0, LLF::MakeLong(799, 599)));
  window.WindowProc(OsMessage(LLF::WM_RBUTTONDOWN, 0, LLF::MakeLong(1, 2)));
  window.WindowProc(OsMessage(LLF::WM_MBUTTONDOWN, 0, LLF::MakeLong(3, 4)));
  window.WindowProc(OsMessage(LLF::WM_MOUSEMOVE, 0, LLF::MakeLong(320, 240)));
  EXPECT_EQ(Queued(), (V{{3, 1, 0, 0, L""},
                         {0, 1, 799, 599, L""},
                         {0, 2, 1, 2, L""},
                         {0, 3, 3, 4, L""},
                         {1, 0, 320, 240, L""}}));

  // Wheel deltas: notches truncated toward zero, queued even when 0, at the
  // last mouse position.
  struct Row {
    int delta, notches;
  };
  for (const Row row :
       {Row{-120, -1}, Row{60, 0}, Row{-240, -2}, Row{-60, 0}, Row{360, 3}, Row{-32768, -273}}) {
    SCOPED_TRACE(row.delta);
    window.WindowProc(OsMessage(LLF::WM_MOUSEWHEEL, LLF::MakeLong(0, static_cast<unsigned>(row.delta)), 0));
    EXPECT_EQ(Queued(), (V{{3, row.notches, 320, 240, L""}}));
  }
}

TEST_F(AppWindowProcTest, EngineKeyCodes) {
  struct Row {
    unsigned first, last;  // virtual-key range
    int engine;            // engine code of the first; the range counts up
  };
  const Row mapped[] = {
      {27, 27, 4},    {8, 8, 5},      {9, 9, 6},      {13, 13, 7},    {32, 32, 8},    {16, 16, 9},
      {160, 160, 9},  {161, 161, 9},  {17, 17, 10},   {162, 162, 10}, {163, 163, 10}, {18, 18, 11},
      {164, 164, 11}, {165, 165, 11}, {19, 19, 12},   {20, 20, 13},   {144, 144, 14}, {145, 145, 15},
      {33, 33, 16},   {34, 34, 17},   {36, 36, 18},   {35, 35, 19},   {45, 45, 20},   {46, 46, 21},
      {37, 40, 22},   {48, 57, 26},   {65, 90, 36},   {192, 192, 62}, {189, 189, 63}, {187, 187, 64},
      {220, 220, 65}, {219, 219, 66}, {221, 221, 67}, {186, 186, 68}, {222, 222, 69}, {188, 188, 70},
      {190, 190, 71}, {191, 191, 72}, {96, 105, 73},  {106, 106, 83}, {111, 111, 84}, {107, 107, 85},
      {109, 109, 86}, {110, 110, 87}, {112, 123, 88}, {44, 44, 100},
  };
  std::vector<bool> seen(256, false);
  for (const Row& row : mapped) {
    for (unsigned vk = row.first; vk <= row.last; ++vk) {
      const bool range = row.first != row.last;
      EXPECT_EQ(AppWindow::TranslateKey(vk),
                range ? row.engine + static_cast<int>(vk - row.first) : row.engine)
          << "virtual key " << vk;
      seen[vk] = true;
    }
  }
  // Everything else is 0: unlisted codes, the keypad separator, the 102nd
  // key, and codes outside 8..222.
  for (unsigned vk = 0; vk < 256; ++vk) {
    if (!seen[vk]) {
      EXPECT_EQ(AppWindow::TranslateKey(vk), 0) << "virtual key " << vk;
    }
  }
  EXPECT_EQ(AppWindow::TranslateKey(108), 0);
  EXPECT_EQ(AppWindow::TranslateKey(226), 0);
  EXPECT_EQ(AppWindow::TranslateKey(0x10000 + 65), 0);
  EXPECT_EQ(AppWindow::TranslateKey(LLF::VK_F8), LLF::KEY_F8);
}

TEST_F(AppWindowProcTest, KeyMessagesCarryCodeDataAndText) {
  using V = std::vector<Sent>;
  const uint32_t downData = 0x001E0001;  // 'A': scan 0x1E, one repeat
  const uint32_t upData = 0xC01E0001;
  window.WindowProc(OsMessage(LLF::WM_KEYDOWN, 'A', downData, L"a"));
  window.WindowProc(OsMessage(LLF::WM_KEYUP, 'A', upData, L"a"));
  window.WindowProc(OsMessage(LLF::WM_KEYDOWN, LLF::VK_SEPARATOR, 1, L""));   // no engine code: dropped
  window.WindowProc(OsMessage(LLF::WM_SYSKEYDOWN, LLF::VK_F10, 0x20440001));  // system key: default path
  window.WindowProc(OsMessage(LLF::WM_KEYDOWN, LLF::VK_RETURN, 0x001C0001, L"\r"));
  // More than five UTF-16 units are cut between characters; a character
  // beyond the 16-bit range counts two.
  window.WindowProc(OsMessage(LLF::WM_KEYDOWN, 'Q', 1, L"abcdefg"));
  window.WindowProc(OsMessage(LLF::WM_KEYDOWN, 'Q', 1, L"abcd\U0001F600"));
  EXPECT_EQ(Queued(), (V{{4, 36, 'A', static_cast<int>(downData), L"a"},
                         {5, 36, 'A', static_cast<int>(upData), L"a"},
                         {4, 7, 13, 0x001C0001, L"\r"},
                         {4, 52, 'Q', 1, L"abcde"},
                         {4, 52, 'Q', 1, L"abcd"}}));
}

TEST_F(AppWindowProcTest, SizeActivationAndCloseReachTheHost) {
  LLF::AppWindow::Data* data = window.GetData();
  // Activation while minimised does nothing; inactive and minimised deactivate.
  window.WindowProc(OsMessage(LLF::WM_ACTIVATE, LLF::MakeLong(LLF::WA_ACTIVE, 1), 0));
  EXPECT_EQ(host.activated, 0);
  window.WindowProc(OsMessage(LLF::WM_ACTIVATE, LLF::MakeLong(LLF::WA_INACTIVE, 0), 0));
  EXPECT_EQ(host.deactivated, 1);
  EXPECT_TRUE(data->inactive);
  window.WindowProc(OsMessage(LLF::WM_ACTIVATE, LLF::MakeLong(LLF::WA_CLICKACTIVE, 0), 0));
  EXPECT_EQ(host.activated, 1);
  EXPECT_FALSE(data->inactive);
  window.WindowProc(OsMessage(LLF::WM_SIZE, LLF::SIZE_MINIMIZED, 0));
  EXPECT_EQ(host.deactivated, 2);
  EXPECT_TRUE(data->inactive);

  // Restored or maximised: the size is stored before the host hears of it,
  // and the pump runs freely again.
  window.WindowProc(OsMessage(LLF::WM_SIZE, LLF::SIZE_RESTORED, LLF::MakeLong(1024, 700)));
  EXPECT_FALSE(data->inactive);
  window.WindowProc(OsMessage(LLF::WM_SIZE, LLF::SIZE_MAXIMIZED, LLF::MakeLong(1920, 1040)));
  window.WindowProc(OsMessage(LLF::WM_SIZE, 3, LLF::MakeLong(1, 1)));  // another kind: ignored
  EXPECT_EQ(host.resized, (std::vector<LLF::Point>{{1024, 700}, {1920, 1040}}));
  EXPECT_EQ(window.GetSettings()->width, 1920u);
  EXPECT_EQ(window.GetSettings()->height, 1040u);

  // The close request sets the quit flag to the host's answer.
  host.allowClose = false;
  window.WindowProc(OsMessage(LLF::WM_CLOSE, 0, 0));
  EXPECT_FALSE(data->quit);
  host.allowClose = true;
  window.WindowProc(OsMessage(LLF::WM_CLOSE, 0, 0));
  EXPECT_TRUE(data->quit);
  EXPECT_EQ(host.closeAsked, 2);

  // Screen saver and monitor power requests are swallowed; nothing is queued
  // by any of this.
  EXPECT_EQ(window.WindowProc(OsMessage(LLF::WM_SYSCOMMAND, LLF::SC_SCREENSAVE, 0)), 0);
  EXPECT_EQ(window.WindowProc(OsMessage(LLF::WM_SYSCOMMAND, LLF::SC_MONITORPOWER, 0)), 0);
  EXPECT_TRUE(Queued().empty());

  // Without a host a close is allowed and nothing else breaks.
  TestWindow lone;
  lone.WindowProc(OsMessage(LLF::WM_SIZE, LLF::SIZE_MINIMIZED, 0));
  lone.WindowProc(OsMessage(LLF::WM_ACTIVATE, LLF::MakeLong(LLF::WA_ACTIVE, 0), 0));
  lone.WindowProc(OsMessage(LLF::WM_CLOSE, 0, 0));
  EXPECT_TRUE(lone.GetData()->quit);
}

TEST_F(AppWindowProcTest, SystemCursorComesBackOverTheFrame) {
  using V = std::vector<Sent>;
  window.WindowProc(OsMessage(LLF::WM_MOUSEMOVE, 0, LLF::MakeLong(50, 60)));
  Queued();
  AppWindow::SetCursorVisible(false);  // the program draws its own cursor
  // Onto the frame: the system cursor is shown and the program told the
  // pointer left (-1, -1); only on the change.
  window.WindowProc(OsMessage(LLF::WM_NCMOUSEMOVE, 0, 0));
  window.WindowProc(OsMessage(LLF::WM_NCMOUSEMOVE, 0, 0));
  EXPECT_EQ(Queued(), (V{{1, 0, -1, -1, L""}}));
  EXPECT_EQ(window.GetData()->lastMouseX, -1);
  window.WindowProc(OsMessage(LLF::WM_MOUSEWHEEL, LLF::MakeLong(0, 120), 0));
  EXPECT_EQ(Queued(), (V{{3, 1, -1, -1, L""}}));
  // Back over the client area: hidden again, as wanted.
  window.WindowProc(OsMessage(LLF::WM_NCMOUSELEAVE, 0, 0));
  EXPECT_FALSE(AppWindow::ShowSystemCursor(false));  // already hidden
  AppWindow::SetCursorVisible(true);
  window.WindowProc(OsMessage(LLF::WM_NCMOUSEMOVE, 0, 0));
  window.WindowProc(OsMessage(LLF::WM_NCMOUSELEAVE, 0, 0));  // wanted: stays shown
  EXPECT_TRUE(Queued().empty());
  EXPECT_FALSE(AppWindow::ShowSystemCursor(true));
}

TEST_F(AppWindowProcTest, NoWindowMeansNoPumpAndNoResize) {
  // Without a window the pump ends the loop and the client size stays.
  EXPECT_FALSE(window.ProcessMessages());
  window.GetSettings()->createWindow = false;
  window.SetClientSize(LLF::Point(640, 480));
  EXPECT_EQ(window.GetSettings()->width, 800u);
  EXPECT_EQ(window.GetSettings()->height, 600u);
  LLF::AppSettings settings;
  settings.createWindow = false;
  EXPECT_TRUE(window.Create(settings));  // nothing to make
  EXPECT_EQ(window.GetHandle(), nullptr);
}

}  // namespace
