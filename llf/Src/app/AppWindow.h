#pragma once
// The program's one window. It opens and closes the window, turns mouse,
// keyboard, size, activation and close messages into framework messages
// (codes in InputCodes.h), keeps them in a locked queue and runs the message
// pump the main loop calls once a frame. The window procedure works on
// desktop-shaped message records (OsMessage); the platform layer makes those
// from its own events (over SDL2 on Linux, window/AppWindow.cpp).
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
#include <cstdint>
#include <memory>
#include <string>

#include "app/AppSettings.h"
#include "app/IWindowHost.h"
#include "app/Letterbox.h"
#include "app/OsMessage.h"
#include "core/Message.h"
#include "core/MessageSender.h"
#include "core/Singleton.h"
#include "math/Point.h"

namespace LLF {

class AppWindow : public MessageSender, public Singleton<AppWindow> {
  LLF_SINGLETON(AppWindow)

 public:
  // Window styles chosen at creation, in the desktop's numbers.
  static constexpr uint32_t STYLE_POPUP = 0x80000000u;
  static constexpr uint32_t STYLE_FRAMED = 0x00CA0000u;   // caption, system menu, minimise box
  static constexpr uint32_t STYLE_SIZABLE = 0x00050000u;  // sizing frame, maximise box
  static constexpr uint32_t EXSTYLE_APPWINDOW = 0x00040000u;
  static constexpr uint32_t EXSTYLE_WINDOWEDGE = 0x00000100u;

  // The window's state, one block owned by the window. It holds the
  // platform's handles, so only the platform layer knows its fields.
  struct Data;

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

  // The platform's window handle (null without a window), for the
  // libraries that draw or play into the window.
  void* GetHandle() const;
  AppSettings* GetSettings();
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
  bool IsFullScreen() const;
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

  std::unique_ptr<Data> _data;
  IWindowHost* _host = nullptr;
};

}  // namespace LLF
