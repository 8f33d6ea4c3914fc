// The window over SDL's offscreen video driver: real windows, SDL events
// pushed into SDL's queue, framework messages out of the pump.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "TestEnv.h"
#include "WindowTestDoubles.h"
#include "app/AppWindow.h"
#include "core/Format.h"
#include "core/Log.h"
#include "core/MessageReceiver.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "window/AppWindowData.h"

namespace {

using LLF::AppWindow;
using WindowTest::FakeHost;
using WindowTest::Recorder;
using WindowTest::Sent;
using WindowTest::TestWindow;

// The clock moves 100 ms on each reading, so two releases in a row make a
// double click and a row that starts after a pause does not.
unsigned g_now = 0;
unsigned SteppingClock() {
  const unsigned now = g_now;
  g_now += 100;
  return now;
}

std::vector<std::wstring> g_logLines;
void CaptureLog(const std::wstring& line) {
  g_logLines.push_back(line);
}

bool Logged(const std::wstring& text) {
  for (const std::wstring& line : g_logLines) {
    if (line.find(text) != std::wstring::npos) return true;
  }
  return false;
}

int SdlQueued() {
  return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
}

class AppWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    g_logLines.clear();
    LLF::Log::GetInstance().SetEcho(&CaptureLog);
    AppWindow::SetClock(&SteppingClock);
    g_now = 100000;
    window.SetHost(&host);
    window.AddReceiver(&recorder);
  }
  void TearDown() override {
    window.Destroy();
    AppWindow::SetClock(nullptr);
    LLF::Log::GetInstance().SetEcho(nullptr);
  }

  void Open(const LLF::AppSettings& settings = LLF::AppSettings()) {
    ASSERT_TRUE(window.Create(settings)) << SDL_GetError();
    Drain();
    recorder.Take();
  }

  SDL_Window* Handle() const { return static_cast<SDL_Window*>(window.GetHandle()); }
  Uint32 Id() const { return SDL_GetWindowID(Handle()); }

  SDL_Event Key(bool down, SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = 0, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = Id();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
  }
  SDL_Event Text(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = Id();
    SDL_strlcpy(e.text.text, utf8, sizeof(e.text.text));
    return e;
  }
  SDL_Event Button(bool down, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = Id();
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    return e;
  }
  SDL_Event Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = Id();
    e.motion.x = x;
    e.motion.y = y;
    return e;
  }
  SDL_Event Wheel(int y, bool flipped = false) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = Id();
    e.wheel.y = y;
    e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    return e;
  }
  SDL_Event WindowEvent(Uint8 event, int data1 = 0, int data2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = Id();
    e.window.event = event;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
  }
  static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }

  // Pumps until SDL's queue and the window's queue are both empty.
  void Drain() {
    for (int pass = 0; pass < 10000; ++pass) {
      if (!window.ProcessMessages()) return;
      if (SdlQueued() == 0 && window.GetData()->queue.empty()) return;
    }
    ADD_FAILURE() << "pump never ran dry";
  }

  TestWindow window;
  FakeHost host;
  Recorder recorder;
};

TEST_F(AppWindowTest, OpensAndClosesWindowedAndFullScreen) {
  LLF::AppSettings settings;
  settings.title = L"Quillmarsh \u00e9";
  Open(settings);
  SDL_Window* handle = Handle();
  ASSERT_NE(handle, nullptr);
  EXPECT_TRUE(Logged(L"Window created successfully."));
  const Uint32 flags = SDL_GetWindowFlags(handle);
  EXPECT_TRUE(flags & SDL_WINDOW_OPENGL);
  EXPECT_TRUE(flags & SDL_WINDOW_SHOWN);
  EXPECT_FALSE(flags & (SDL_WINDOW_RESIZABLE | SDL_WINDOW_BORDERLESS));
  EXPECT_STREQ(SDL_GetWindowTitle(handle), "Quillmarsh \xC3\xA9");
  int w = 0, h = 0;
  SDL_GetWindowSize(handle, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  // Showing the window activated it, without any focus event.
  EXPECT_EQ(host.activated, 1);
  EXPECT_FALSE(window.GetData()->inactive);
  EXPECT_EQ(window.Dump(), L"Window: Handle - 0x" + std::wstring(LLF::Format(L"%08X", Id())) +
                               L". Size: 800x600 Style:00CA0000");

  // The render system can make its OpenGL context on the window.
  SDL_GLContext context = SDL_GL_CreateContext(handle);
  EXPECT_NE(context, nullptr) << SDL_GetError();
  if (context) SDL_GL_DeleteContext(context);

  // Desktop full screen and back: the desktop's size is never taken as the
  // window's own.
  int desktopW = 0, desktopH = 0;
  ASSERT_TRUE(LLF::OS_GetDesktopResolution(desktopW, desktopH));
  ASSERT_TRUE(window.SetFullScreen(true));
  EXPECT_TRUE(window.IsFullScreen());
  EXPECT_TRUE(SDL_GetWindowFlags(handle) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_GetWindowSize(handle, &w, &h);
  EXPECT_EQ(w, desktopW);
  EXPECT_EQ(h, desktopH);
  Drain();
  EXPECT_EQ(window.GetSettings()->width, 800u);
  EXPECT_EQ(window.GetSettings()->height, 600u);
  ASSERT_TRUE(window.SetFullScreen(false));
  Drain();
  EXPECT_FALSE(SDL_GetWindowFlags(handle) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_GetWindowSize(handle, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(window.GetSettings()->width, 800u);
  EXPECT_TRUE(host.resized.empty());

  EXPECT_TRUE(window.SetTitle(L"Other"));
  EXPECT_EQ(window.GetSettings()->title, L"Other");
  EXPECT_STREQ(SDL_GetWindowTitle(handle), "Other");

  window.Destroy();
  EXPECT_EQ(window.GetHandle(), nullptr);
  EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO));  // video given back with the window
  EXPECT_TRUE(Logged(L"Window destroyed successfully."));
  EXPECT_FALSE(window.ProcessMessages());
  EXPECT_FALSE(window.SetTitle(L"Gone"));
  EXPECT_FALSE(window.SetFullScreen(true));
  g_logLines.clear();
  window.Destroy();  // nothing left to destroy
  EXPECT_TRUE(g_logLines.empty());

  // The window opens again, this time straight into full screen.
  Open();
  ASSERT_TRUE(window.SetFullScreen(true));
  Drain();
  window.Destroy();
  EXPECT_EQ(window.GetHandle(), nullptr);
}

TEST_F(AppWindowTest, StyleFlagsChooseTheFrame) {
  struct Row {
    unsigned flags;
    Uint32 wanted, unwanted;
  };
  for (const Row& row : {Row{4, SDL_WINDOW_BORDERLESS, SDL_WINDOW_RESIZABLE},
                         Row{7, SDL_WINDOW_BORDERLESS, SDL_WINDOW_RESIZABLE},  // pop-up wins
                         Row{3, SDL_WINDOW_RESIZABLE, SDL_WINDOW_BORDERLESS}}) {
    SCOPED_TRACE(row.flags);
    LLF::AppSettings settings;
    settings.styleFlags = row.flags;
    Open(settings);
    const Uint32 flags = SDL_GetWindowFlags(Handle());
    EXPECT_EQ(flags & row.wanted, row.wanted);
    EXPECT_EQ(flags & row.unwanted, 0u);
    window.Destroy();
  }

  // Neither framed nor pop-up: refused, logged between star lines.
  LLF::AppSettings settings;
  settings.title = L"Bad";
  settings.styleFlags = 1;
  g_logLines.clear();
  EXPECT_FALSE(window.Create(settings));
  EXPECT_EQ(window.GetHandle(), nullptr);
  ASSERT_EQ(g_logLines.size(), 3u);
  EXPECT_NE(g_logLines[0].find(std::wstring(62, L'*')), std::wstring::npos);
  EXPECT_TRUE(Logged(L"No NORMAL or POPUP style defined for the window.\r\nTitle: Bad\r\nStyle: 1"));

  // A video driver without OpenGL cannot make the window.
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
  settings.styleFlags = 2;
  g_logLines.clear();
  EXPECT_FALSE(window.Create(settings));
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  EXPECT_EQ(window.GetHandle(), nullptr);
  EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO));  // given back
  EXPECT_TRUE(Logged(L"Can't create window.\r\nTitle: Bad\r\nStyle: 2"));

  // A second window is refused: the class is taken.
  Open();
  g_logLines.clear();
  EXPECT_FALSE(window.Create(settings));
  EXPECT_NE(window.GetHandle(), nullptr);
  EXPECT_EQ(window.GetSettings()->title, L"No title");
  EXPECT_TRUE(Logged(L"Error: Can't register window class.\r\nTitle: Bad\r\nStyle: 2"));
}

TEST_F(AppWindowTest, SdlInputBecomesFrameworkMessages) {
  Open();
  using V = std::vector<Sent>;
  const Uint16 shift = KMOD_LSHIFT | KMOD_NUM;
  struct Row {
    const char* name;
    std::vector<SDL_Event> events;
    V expected;
  };
  const Row rows[] = {
      {"left down", {Button(true, SDL_BUTTON_LEFT, 10, 20)}, {{0, 1, 10, 20, L""}}},
      {"right down", {Button(true, SDL_BUTTON_RIGHT, 11, 21)}, {{0, 2, 11, 21, L""}}},
      {"middle down", {Button(true, SDL_BUTTON_MIDDLE, 12, 22)}, {{0, 3, 12, 22, L""}}},
      {"side button", {Button(true, SDL_BUTTON_X1, 12, 22)}, {}},
      {"left up", {Button(false, SDL_BUTTON_LEFT, 13, 23)}, {{2, 1, 13, 23, L""}}},
      {"right up", {Button(false, SDL_BUTTON_RIGHT, 14, 24)}, {{2, 2, 14, 24, L""}}},
      {"middle up", {Button(false, SDL_BUTTON_MIDDLE, 15, 25)}, {{2, 3, 15, 25, L""}}},
      {"double click",
       {Button(false, SDL_BUTTON_LEFT, 5, 6), Button(false, SDL_BUTTON_LEFT, 5, 6)},
       {{2, 1, 5, 6, L""}, {6, 1, 5, 6, L""}, {2, 1, 5, 6, L""}}},
      {"move", {Motion(30, 40)}, {{1, 0, 30, 40, L""}}},
      {"wheel away", {Wheel(1)}, {{3, 1, 30, 40, L""}}},
      {"wheel two toward", {Wheel(-2)}, {{3, -2, 30, 40, L""}}},
      {"wheel flipped", {Wheel(1, true)}, {{3, -1, 30, 40, L""}}},
      {"a", {Key(true, SDL_SCANCODE_A, 'a', KMOD_NUM), Text("a")}, {{4, 36, 65, 0x001E0001, L"a"}}},
      {"a up", {Key(false, SDL_SCANCODE_A, 'a', KMOD_NUM)}, {{5, 36, 65, int(0xC01E0001), L"a"}}},
      {"A", {Key(true, SDL_SCANCODE_A, 'a', shift), Text("A")}, {{4, 36, 65, 0x001E0001, L"A"}}},
      {"A up", {Key(false, SDL_SCANCODE_A, 'a', shift)}, {{5, 36, 65, int(0xC01E0001), L"A"}}},
      {"a held", {Key(true, SDL_SCANCODE_A, 'a', 0, true), Text("a")}, {{4, 36, 65, 0x401E0001, L"a"}}},
      {"z", {Key(true, SDL_SCANCODE_Z, 'z'), Text("z")}, {{4, 61, 90, 0x002C0001, L"z"}}},
      {"5", {Key(true, SDL_SCANCODE_5, '5'), Text("5")}, {{4, 31, 53, 0x00060001, L"5"}}},
      {"%", {Key(true, SDL_SCANCODE_5, '5', shift), Text("%")}, {{4, 31, 53, 0x00060001, L"%"}}},
      {"0", {Key(true, SDL_SCANCODE_0, '0'), Text("0")}, {{4, 26, 48, 0x000B0001, L"0"}}},
      {"F1", {Key(true, SDL_SCANCODE_F1, SDLK_F1)}, {{4, 88, 112, 0x003B0001, L""}}},
      {"F8 up", {Key(false, SDL_SCANCODE_F8, SDLK_F8)}, {{5, 95, 119, int(0xC0420001), L""}}},
      {"F12", {Key(true, SDL_SCANCODE_F12, SDLK_F12)}, {{4, 99, 123, 0x00580001, L""}}},
      {"left", {Key(true, SDL_SCANCODE_LEFT, SDLK_LEFT)}, {{4, 22, 37, 0x014B0001, L""}}},
      {"up", {Key(true, SDL_SCANCODE_UP, SDLK_UP)}, {{4, 23, 38, 0x01480001, L""}}},
      {"right", {Key(true, SDL_SCANCODE_RIGHT, SDLK_RIGHT)}, {{4, 24, 39, 0x014D0001, L""}}},
      {"down", {Key(true, SDL_SCANCODE_DOWN, SDLK_DOWN)}, {{4, 25, 40, 0x01500001, L""}}},
      {"Enter", {Key(true, SDL_SCANCODE_RETURN, SDLK_RETURN)}, {{4, 7, 13, 0x001C0001, L"\r"}}},
      {"Enter up", {Key(false, SDL_SCANCODE_RETURN, SDLK_RETURN)}, {{5, 7, 13, int(0xC01C0001), L"\r"}}},
      {"keypad Enter", {Key(true, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER)}, {{4, 7, 13, 0x011C0001, L"\r"}}},
      {"Escape", {Key(true, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE)}, {{4, 4, 27, 0x00010001, L"\x1B"}}},
      {"Backspace", {Key(true, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE)}, {{4, 5, 8, 0x000E0001, L"\b"}}},
      {"Tab", {Key(true, SDL_SCANCODE_TAB, SDLK_TAB)}, {{4, 6, 9, 0x000F0001, L"\t"}}},
      {"Space", {Key(true, SDL_SCANCODE_SPACE, ' '), Text(" ")}, {{4, 8, 32, 0x00390001, L" "}}},
      {"Print Screen",
       {Key(true, SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN)},
       {{4, 100, 44, 0x01370001, L""}}},
      {"Print Screen up",
       {Key(false, SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN)},
       {{5, 100, 44, int(0xC1370001), L""}}},
      {"Shift", {Key(true, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_LSHIFT)}, {{4, 9, 16, 0x002A0001, L""}}},
      {"Ctrl+C",
       {Key(true, SDL_SCANCODE_C, 'c', KMOD_LCTRL)},
       {{4, 38, 67, 0x002E0001, std::wstring(1, wchar_t{3})}}},
      {"keypad 0",
       {Key(true, SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM), Text("0")},
       {{4, 73, 96, 0x00520001, L"0"}}},
      {"keypad 8 without Num Lock",
       {Key(true, SDL_SCANCODE_KP_8, SDLK_KP_8)},
       {{4, 23, 38, 0x00480001, L""}}},
      {"a on a French board", {Key(true, SDL_SCANCODE_Q, 'a'), Text("a")}, {{4, 36, 65, 0x00100001, L"a"}}},
      {"Cyrillic a",
       {Key(true, SDL_SCANCODE_F, 0x430), Text("\xD0\xB0")},
       {{4, 41, 70, 0x00210001, L"\u0430"}}},
      {"AltGr+Q", {Key(true, SDL_SCANCODE_Q, 'q', KMOD_RALT), Text("@")}, {{4, 52, 81, 0x00100001, L"@"}}},
      {"dead key", {Key(true, SDL_SCANCODE_APOSTROPHE, '\'')}, {{4, 69, 222, 0x00280001, L""}}},
      {"Alt", {Key(true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT)}, {}},
      {"Alt+F4", {Key(true, SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT)}, {}},
      {"Alt+x", {Key(true, SDL_SCANCODE_X, 'x', KMOD_LALT), Text("x")}, {}},
      {"F10", {Key(true, SDL_SCANCODE_F10, SDLK_F10)}, {}},
      {"102nd key", {Key(true, SDL_SCANCODE_NONUSBACKSLASH, '<'), Text("<")}, {}},
      {"key without a code", {Key(true, SDL_SCANCODE_VOLUMEUP, SDLK_VOLUMEUP)}, {}},
      {"text without a key", {Text("x")}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    g_now += 1000;
    for (const SDL_Event& e : row.events) Push(e);
    Drain();
    EXPECT_EQ(recorder.Take(), row.expected);
  }
}

TEST_F(AppWindowTest, InputArrivesOneFrameLateOneEventPerFrame) {
  Open();
  using V = std::vector<Sent>;
  Push(Button(true, SDL_BUTTON_LEFT, 1, 1));
  Push(Button(false, SDL_BUTTON_LEFT, 1, 1));
  Push(Button(true, SDL_BUTTON_RIGHT, 2, 2));
  // Each pass handles one event; what it queues goes out in the next pass.
  ASSERT_TRUE(window.ProcessMessages());
  EXPECT_EQ(recorder.Take(), V{});
  EXPECT_EQ(SdlQueued(), 2);
  ASSERT_TRUE(window.ProcessMessages());
  EXPECT_EQ(recorder.Take(), (V{{0, 1, 1, 1, L""}}));
  ASSERT_TRUE(window.ProcessMessages());
  EXPECT_EQ(recorder.Take(), (V{{2, 1, 1, 1, L""}}));
  ASSERT_TRUE(window.ProcessMessages());
  EXPECT_EQ(recorder.Take(), (V{{0, 2, 2, 2, L""}}));
  EXPECT_EQ(SdlQueued(), 0);

  // Events that mean nothing to the window do not cost a frame.
  Push(WindowEvent(SDL_WINDOWEVENT_EXPOSED));
  Push(WindowEvent(SDL_WINDOWEVENT_MOVED, 5, 5));
  Push(Button(true, SDL_BUTTON_LEFT, 3, 3));
  ASSERT_TRUE(window.ProcessMessages());
  EXPECT_EQ(SdlQueued(), 0);
  ASSERT_TRUE(window.ProcessMessages());
  EXPECT_EQ(recorder.Take(), (V{{0, 1, 3, 3, L""}}));
}

TEST_F(AppWindowTest, MouseMoveBurstDoesNotPileUp) {
  Open();
  using V = std::vector<Sent>;
  for (int i = 0; i < 1000; ++i) Push(Motion(i % 800, i % 600));
  Push(Button(true, SDL_BUTTON_LEFT, 7, 8));
  ASSERT_TRUE(window.ProcessMessages());
  EXPECT_EQ(SdlQueued(), 1);  // the moves went as one, the click waits
  EXPECT_EQ(window.GetData()->queue.size(), 1u);
  Drain();
  EXPECT_EQ(recorder.Take(), (V{{1, 0, 999 % 800, 999 % 600, L""}, {0, 1, 7, 8, L""}}));

  // Moves are merged only while nothing else comes between them.
  Push(Motion(1, 1));
  Push(Motion(2, 2));
  Push(Button(false, SDL_BUTTON_LEFT, 2, 2));
  Push(Motion(3, 3));
  Push(Motion(4, 4));
  Drain();
  EXPECT_EQ(recorder.Take(), (V{{1, 0, 2, 2, L""}, {2, 1, 2, 2, L""}, {1, 0, 4, 4, L""}}));
}

TEST_F(AppWindowTest, CloseRequestEndsThePumpOnlyWhenAllowed) {
  Open();
  host.allowClose = false;
  Push(WindowEvent(SDL_WINDOWEVENT_CLOSE));
  EXPECT_TRUE(window.ProcessMessages());
  EXPECT_TRUE(window.ProcessMessages());
  EXPECT_EQ(host.closeAsked, 1);

  host.allowClose = true;
  Push(WindowEvent(SDL_WINDOWEVENT_CLOSE));
  EXPECT_TRUE(window.ProcessMessages());   // this pass still completes
  EXPECT_FALSE(window.ProcessMessages());  // the next one ends the loop
  EXPECT_EQ(host.closeAsked, 2);
  EXPECT_NE(window.GetHandle(), nullptr);  // destroyed only at shutdown
  window.Destroy();

  // SDL's own quit (a signal) ends the loop at once: the application is
  // asked, so it saves as for a close, but cannot keep the loop going.
  Open();
  host.allowClose = false;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  Push(quit);
  EXPECT_FALSE(window.ProcessMessages());
  EXPECT_FALSE(window.ProcessMessages());
  EXPECT_EQ(host.closeAsked, 3);
  host.allowClose = true;

  // Quit from the program.
  window.Destroy();
  Open();
  window.Quit();
  EXPECT_FALSE(window.ProcessMessages());
}

TEST_F(AppWindowTest, FullScreenClicksLandOnTheBackBuffer) {
  Open();
  int desktopW = 0, desktopH = 0;
  ASSERT_TRUE(LLF::OS_GetDesktopResolution(desktopW, desktopH));
  ASSERT_EQ(desktopW, 1024);  // the offscreen driver's desktop
  ASSERT_EQ(desktopH, 768);
  ASSERT_TRUE(window.SetFullScreen(true));
  window.SetBackBufferSize(960, 600);  // a wide back buffer: bars above and below
  Drain();
  EXPECT_EQ(window.GetLetterbox(true).GetViewport(), LLF::Rect(0, 64, 1024, 640));

  struct Row {
    int x, y;
    int bx, by;
  };
  const Row rows[] = {
      {0, 64, 0, 0},  {1023, 703, 959, 599}, {512, 384, 480, 300}, {100, 200, 94, 127},
      {10, 10, 9, 0}, {1000, 760, 937, 599}, {0, 0, 0, 0},         {1023, 767, 959, 599},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.x << "," << row.y);
    g_now += 1000;
    Push(Button(true, SDL_BUTTON_LEFT, row.x, row.y));
    Drain();
    EXPECT_EQ(recorder.Take(), (std::vector<Sent>{{0, 1, row.bx, row.by, L""}}));
  }

  // Without a back-buffer size the settings' size is shown, here filling
  // the 4:3 desktop.
  window.SetBackBufferSize(0, 0);
  Push(Motion(512, 384));
  Drain();
  EXPECT_EQ(recorder.Take(), (std::vector<Sent>{{1, 0, 400, 300, L""}}));

  // Windowed, a client smaller than the back buffer maps up into it.
  ASSERT_TRUE(window.SetFullScreen(false));
  window.SetClientSize(LLF::Point(640, 480));
  window.SetBackBufferSize(800, 600);
  Drain();
  Push(Motion(320, 240));
  Drain();
  EXPECT_EQ(recorder.Take(), (std::vector<Sent>{{1, 0, 400, 300, L""}}));
}

TEST_F(AppWindowTest, InactiveWindowWaitsForInput) {
  Open();
  Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  Drain();
  ASSERT_TRUE(window.GetData()->inactive);
  EXPECT_EQ(host.deactivated, 1);

  // A worker queues a message while the pump waits; the pump wakes only for
  // SDL's event, and the message goes out at the next pump.
  std::atomic<bool> pushed{false};
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    window.PostQueuedMessage(LLF::Message(nullptr, 42, 0, 0, 0, L"worker"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    pushed = true;
    SDL_Event e{};
    e.type = SDL_USEREVENT;
    SDL_PushEvent(&e);
  });
  EXPECT_TRUE(window.ProcessMessages());
  EXPECT_TRUE(pushed);
  worker.join();
  SDL_Event wake{};
  wake.type = SDL_USEREVENT;
  Push(wake);
  EXPECT_TRUE(window.ProcessMessages());
  const std::vector<Sent> got = recorder.Take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].code, 42);

  // Focus back: active again, and the pump polls.
  Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  EXPECT_TRUE(window.ProcessMessages());
  EXPECT_EQ(host.activated, 2);
  EXPECT_FALSE(window.GetData()->inactive);
  Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));  // already active: no news
  Drain();
  EXPECT_EQ(host.activated, 2);
}

TEST_F(AppWindowTest, RaiseRequestWakesAndActivatesTheWindow) {
  Open();
  Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  Drain();
  ASSERT_TRUE(window.GetData()->inactive);
  ASSERT_EQ(host.activated, 1);
  window.Hide();
  Drain();
  ASSERT_NE(SDL_GetWindowFlags(Handle()) & SDL_WINDOW_HIDDEN, 0u);

  // Another copy of the program asks, from the instance lock's thread,
  // while the pump waits for input.
  std::thread channel([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    AppWindow::RequestRaise();
  });
  EXPECT_TRUE(window.ProcessMessages());
  channel.join();
  EXPECT_EQ(host.activated, 2);
  EXPECT_FALSE(window.GetData()->inactive);
  EXPECT_EQ(SDL_GetWindowFlags(Handle()) & SDL_WINDOW_HIDDEN, 0u);
  // Already in front: a further request changes nothing.
  AppWindow::RequestRaise();
  Drain();
  EXPECT_EQ(host.activated, 2);
  EXPECT_TRUE(recorder.Take().empty());
}

TEST_F(AppWindowTest, MinimiseRestoreAndResize) {
  LLF::AppSettings settings;
  settings.styleFlags = 3;
  Open(settings);
  Push(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
  Drain();
  EXPECT_EQ(host.deactivated, 1);
  ASSERT_TRUE(window.GetData()->inactive);

  // Restoring reports the size and activates the window again, even where
  // no focus event follows.
  Push(WindowEvent(SDL_WINDOWEVENT_RESTORED));
  EXPECT_TRUE(window.ProcessMessages());
  EXPECT_FALSE(window.GetData()->inactive);
  EXPECT_EQ(host.resized, (std::vector<LLF::Point>{{800, 600}}));
  Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  Drain();
  EXPECT_EQ(host.activated, 2);

  // The user resizes the window: the new client size is stored and reported.
  host.resized.clear();
  SDL_SetWindowSize(Handle(), 640, 480);
  Drain();
  EXPECT_EQ(host.resized, (std::vector<LLF::Point>{{640, 480}}));
  EXPECT_EQ(window.GetSettings()->width, 640u);
  EXPECT_EQ(window.GetSettings()->height, 480u);

  // The program sets the size itself: stored at once, no resize report.
  window.SetClientSize(LLF::Point(700, 500));
  EXPECT_EQ(window.GetSettings()->width, 700u);
  Drain();
  EXPECT_EQ(host.resized.size(), 1u);
  int w = 0, h = 0;
  SDL_GetWindowSize(Handle(), &w, &h);
  EXPECT_EQ(w, 700);
  EXPECT_EQ(h, 500);
}

TEST_F(AppWindowTest, QueueDeliversInOrderAcrossThreads) {
  Open();
  // A receiver that queues a message while one is delivered: the new one
  // goes out in the same pass, and later receivers still get the first one
  // whole.
  struct Requeuer : LLF::MessageReceiver {
    explicit Requeuer(AppWindow& w) : window(w) {}
    bool OnMessage(LLF::Message* m) override {
      if (m->GetCode() == 100) window.PostQueuedMessage(LLF::Message(nullptr, 101, 0, 0, 0, L"second"));
      return true;
    }
    AppWindow& window;
  } requeuer(window);
  window.RemoveReceiver(&recorder);
  window.AddReceiver(&requeuer);
  window.AddReceiver(&recorder);
  window.PostQueuedMessage(LLF::Message(nullptr, 100, 0, 0, 0, L"first"));
  window.PostQueuedMessage(LLF::Message(nullptr, 102, 0, 0, 0, L"third"));
  EXPECT_TRUE(window.ProcessMessages());
  EXPECT_EQ(
      recorder.Take(),
      (std::vector<Sent>{{100, 0, 0, 0, L"first"}, {102, 0, 0, 0, L"third"}, {101, 0, 0, 0, L"second"}}));

  // Four threads queue at once: every message arrives once, each thread's
  // in its order.
  constexpr int kThreads = 4;
  constexpr int kEach = 2000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) window.PostQueuedMessage(LLF::Message(nullptr, 200 + t, i, 0, 0, L""));
    });
  }
  std::vector<Sent> got;
  while (got.size() < size_t{kThreads} * kEach) {
    ASSERT_TRUE(window.ProcessMessages());
    for (Sent& s : recorder.Take()) got.push_back(s);
  }
  for (std::thread& t : threads) t.join();
  std::vector<int> next(kThreads, 0);
  for (const Sent& s : got) {
    ASSERT_EQ(s.param, next[s.code - 200]++);
  }
  EXPECT_EQ(next, std::vector<int>(kThreads, kEach));
}

TEST_F(AppWindowTest, IconFileProblemsAreLoggedNotFatal) {
  // A 32 x 32 icon, 24 bits, all blue, made here.
  std::vector<unsigned char> ico = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 24, 0};
  const unsigned imageSize = 40 + 32 * 32 * 3 + 32 * 4;
  for (unsigned v : {imageSize, 22u}) {
    for (int i = 0; i < 4; ++i) ico.push_back((v >> (8 * i)) & 0xFF);
  }
  const unsigned header[] = {40, 32, 64};
  for (unsigned v : header) {
    for (int i = 0; i < 4; ++i) ico.push_back((v >> (8 * i)) & 0xFF);
  }
  ico.insert(ico.end(), {1, 0, 24, 0});
  ico.insert(ico.end(), 24, 0);
  for (int i = 0; i < 32 * 32; ++i) ico.insert(ico.end(), {0xFF, 0, 0});
  ico.insert(ico.end(), 32 * 4, 0);
  const std::string folder = QmTest::NewTempFolder("icon");
  std::ofstream(folder + "/game.ico", std::ios::binary)
      .write(reinterpret_cast<const char*>(ico.data()), ico.size());
  std::ofstream(folder + "/bad.ico", std::ios::binary) << "not an icon";

  LLF::AppSettings settings;
  settings.iconFile = LLF::FromOsPath(folder + "/game.ico");
  Open(settings);
  EXPECT_FALSE(Logged(L"icon"));
  window.Destroy();

  for (const char* name : {"/bad.ico", "/missing.ico"}) {
    SCOPED_TRACE(name);
    g_logLines.clear();
    settings.iconFile = LLF::FromOsPath(folder + name);
    Open(settings);
    EXPECT_NE(window.GetHandle(), nullptr);
    EXPECT_TRUE(Logged(L"Warning: Can't load window icon."));
    window.Destroy();
  }
}

}  // namespace
