#pragma once
// The program's one window, over SDL2. It opens and closes the window, turns
// mouse, keyboard, size, activation and close messages into framework
// messages, keeps them in a locked queue and runs the message pump the main
// loop calls once a frame. The window procedure works on desktop-shaped
// message records (OsMessage); SdlInput makes those from SDL's events.
//
// Input reaches the receivers one frame late at the earliest: what the
// procedure queues while the pump handles an event goes out at the next
// pump, and each pump handles at most one event.
//
// The window is made for OpenGL, so the render system can create its
// context on it. The render system draws into a back buffer of its own size;
// the window shows it letterboxed (in full screen always, in a window when
// the sizes differ) and maps pointer positions back into it, both through
// GetLetterbox.
#include <SDL.h>

#include <cstdint>
#include <deque>
#include <string>

#include "app/AppSettings.h"
#include "app/IWindowHost.h"
#include "app/Letterbox.h"
#include "app/OsMessage.h"
#include "core/Message.h"
#include "core/MessageSender.h"
#include "core/Mutex.h"
#include "core/Singleton.h"
#include "math/Point.h"
#include "window/SdlInput.h"

namespace LLF {

// Framework message codes the window sends.
enum WindowMessageCode {
  WMSG_BUTTON_DOWN = 0,   // param 1 left, 2 right, 3 middle; x, y
  WMSG_MOUSE_MOVE = 1,    // x, y; -1, -1 when the pointer went onto the frame
  WMSG_BUTTON_UP = 2,     // as button down
  WMSG_WHEEL = 3,         // param notches, positive away from the user; last x, y
  WMSG_KEY_DOWN = 4,      // param engine key; virtual key; key data; text
  WMSG_KEY_UP = 5,        // as key down
  WMSG_DOUBLE_CLICK = 6,  // as button down
};

// Engine key codes (the param of key messages).
enum EngineKey {
  KEY_NONE = 0,
  KEY_ESCAPE = 4,
  KEY_BACKSPACE = 5,
  KEY_TAB = 6,
  KEY_ENTER = 7,
  KEY_SPACE = 8,
  KEY_SHIFT = 9,
  KEY_CONTROL = 10,
  KEY_ALT = 11,
  KEY_PAUSE = 12,
  KEY_CAPS_LOCK = 13,
  KEY_NUM_LOCK = 14,
  KEY_SCROLL_LOCK = 15,
  KEY_PAGE_UP = 16,
  KEY_PAGE_DOWN = 17,
  KEY_HOME = 18,
  KEY_END = 19,
  KEY_INSERT = 20,
  KEY_DELETE = 21,
  KEY_LEFT = 22,
  KEY_UP = 23,
  KEY_RIGHT = 24,
  KEY_DOWN = 25,
  KEY_0 = 26,  // to KEY_0 + 9
  KEY_A = 36,  // to KEY_A + 25
  KEY_GRAVE = 62,
  KEY_MINUS = 63,
  KEY_EQUALS = 64,
  KEY_BACKSLASH = 65,
  KEY_LEFT_BRACKET = 66,
  KEY_RIGHT_BRACKET = 67,
  KEY_SEMICOLON = 68,
  KEY_APOSTROPHE = 69,
  KEY_COMMA = 70,
  KEY_PERIOD = 71,
  KEY_SLASH = 72,
  KEY_NUMPAD_0 = 73,  // to KEY_NUMPAD_0 + 9
  KEY_NUMPAD_MULTIPLY = 83,
  KEY_NUMPAD_DIVIDE = 84,
  KEY_NUMPAD_ADD = 85,
  KEY_NUMPAD_SUBTRACT = 86,
  KEY_NUMPAD_DECIMAL = 87,
  KEY_F1 = 88,  // to KEY_F1 + 11
  KEY_F8 = 95,
  KEY_PRINT_SCREEN = 100,
};

class AppWindow : public MessageSender, public Singleton<AppWindow> {
  LLF_SINGLETON(AppWindow)

 public:
  // Window styles chosen at creation, in the desktop's numbers.
  static constexpr uint32_t STYLE_POPUP = 0x80000000u;
  static constexpr uint32_t STYLE_FRAMED = 0x00CA0000u;   // caption, system menu, minimise box
  static constexpr uint32_t STYLE_SIZABLE = 0x00050000u;  // sizing frame, maximise box
  static constexpr uint32_t EXSTYLE_APPWINDOW = 0x00040000u;
  static constexpr uint32_t EXSTYLE_WINDOWEDGE = 0x00000100u;

  // The window's state. The queue and its lock are shared with other
  // threads (PostQueuedMessage); everything else belongs to the main thread.
  struct Data {
    SDL_Window* window = nullptr;
    bool quit = false;      // a close was allowed or Quit was called
    bool inactive = false;  // inactive or minimised: the pump waits for input
    uint32_t style = 0;
    uint32_t exStyle = 0;
    unsigned lastButtonUpTime = 0;  // of the last release that made no double click; 0 = none
    int lastMouseX = 0;
    int lastMouseY = 0;
    Mutex queueLock;
    std::deque<Message> queue;
    AppSettings settings;  // the window's own copy; width and height follow the client
    // Presentation: full screen on the desktop, and the back buffer's size
    // (0 x 0 until the render system sets it: the client size, or in full
    // screen the settings size).
    bool fullScreen = false;
    unsigned backBufferWidth = 0;
    unsigned backBufferHeight = 0;
    SdlInput input;
  };

  LLF_KIND_OF(AppWindow, MessageSender)
  ~AppWindow() override;
  std::wstring Dump() const override;

  virtual bool SetTitle(const std::wstring& title);
  virtual bool Create(const AppSettings& settings);
  virtual void Destroy();
  // Shows the window in its normal state and activates it, as the desktop
  // does for a newly shown window, so the program runs even where no focus
  // event ever comes (offscreen video, a bare X server).
  virtual void Show();
  virtual void Hide();
  virtual void SetClientSize(const Point& size);
  virtual void Center();
  // Once per main-loop pass: delivers every queued framework message, then
  // handles at most one SDL event (polling while active, waiting while
  // inactive). False when there is no window, a quit was requested, or SDL
  // asked the program to quit.
  virtual bool ProcessMessages();
  virtual void Quit();
  virtual Data* GetData();

  SDL_Window* GetHandle() const { return _data.window; }
  AppSettings* GetSettings() { return &_data.settings; }
  // Queues a copy of msg for the next pump; any thread. Does not wake a pump
  // that waits for input. False (message dropped) when the lock fails.
  bool PostQueuedMessage(const Message& msg);

  // Borderless (full-screen look) and back to the framed window at the
  // settings size.
  void SetPopupStyle();
  void SetWindowedStyle();
  // Not kept above other windows.
  void SetPos();

  // The cursor the program wants while the pointer is over the client area;
  // the system cursor comes back over the frame.
  static void SetCursorVisible(bool visible);
  // Shows or hides the system cursor; false when it already is so.
  static bool ShowSystemCursor(bool show);

  // Engine key code of a virtual-key code; 0 for keys the engine ignores.
  static int TranslateKey(unsigned virtualKey);
  // The character text of a key message, at most five UTF-16 units.
  static std::wstring GetKeyText(const OsMessage& msg);

  // The window procedure.
  intptr_t WindowProc(const OsMessage& msg);

  // The application the window reports to (not owned); may be null.
  void SetHost(IWindowHost* host) { _host = host; }
  IWindowHost* GetHost() const { return _host; }

  // Desktop full screen (true) or back to the window at the settings size.
  // False, with a log line, when SDL refuses or there is no window.
  bool SetFullScreen(bool fullScreen);
  bool IsFullScreen() const { return _data.fullScreen; }
  // The render system's back-buffer size; 0 x 0 returns to the default.
  void SetBackBufferSize(unsigned width, unsigned height);
  // Where the back buffer is shown: in drawable pixels for presenting, in
  // window units for mapping pointer positions.
  Letterbox GetLetterbox(bool inPixels) const;

  // The window class of an application: "LLFAppWindowClass" and its name.
  // Another copy of the program reaches the window under it.
  static std::wstring ClassName(const std::wstring& appName);
  // Asks the running copy of the application to show its window, make it
  // active and bring it to the front. False when no copy listens.
  static bool ActivateExistingInstance(const std::wstring& appName);
  // Any thread: the pump brings the window forward at its next pass (and
  // wakes when it waits). Dropped while no window exists.
  static void RequestRaise();

  // The millisecond clock double clicks are timed with (tests replace it);
  // null restores the default.
  static void SetClock(unsigned (*clock)());

 protected:
  AppWindow();

 private:
  void QueueInput(int code, int param, int primary, int secondary, const std::wstring& text = std::wstring());
  void OnButtonUp(int button, uint32_t position);
  void DeliverQueued();
  intptr_t DefaultProc(const OsMessage& msg);
  static void LogFailure(const wchar_t* what, const AppSettings& settings);

  Data _data;
  IWindowHost* _host = nullptr;
};

}  // namespace LLF
