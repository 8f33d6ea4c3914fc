#include "app/AppWindow.h"

#include <memory>
#include <mutex>
#include <vector>

#include "app/InputCodes.h"
#include "app/InstanceLock.h"
#include "core/Format.h"
#include "core/Log.h"
#include "core/Timer.h"
#include "image/IconDecoder.h"
#include "io/File.h"
#include "io/TextEncoding.h"
#include "window/AppWindowData.h"

namespace LLF {

namespace {

// The system cursor: wanted by the program, and last applied.
bool g_cursorWanted = true;
bool g_cursorShown = true;

unsigned (*g_clock)() = &GetTimeMs;

// Raise requests come from the instance lock's thread. They are pushed only
// while a window and SDL's event queue exist; the lock keeps the push from
// overlapping the queue's start or end.
std::mutex g_raiseLock;
bool g_raiseOpen = false;

void SetRaiseOpen(bool open) {
  std::lock_guard<std::mutex> lock(g_raiseLock);
  g_raiseOpen = open;
}

constexpr const wchar_t* kRegisterFailed = L"Error: Can't register window class.\r\nTitle: %s\r\nStyle: %d";

// Mouse position in a message's position word: the low and the high 16
// bits, each unsigned. The translator has clamped them into the buffer.
int PositionX(uint32_t position) {
  return static_cast<int>(LowWord(position));
}
int PositionY(uint32_t position) {
  return static_cast<int>(HighWord(position));
}

// The window icon, taken at 32 x 32 from an icon file. A missing or bad
// file leaves the window without an icon and logs why.
void ApplyIcon(SDL_Window* window, const std::wstring& path) {
  constexpr int kSize = 32;
  File file;
  unsigned char* bytes = nullptr;
  unsigned length = 0;
  if (!file.Open(path, FILEOPS_READ, FILEOPEN_OPENEXISTING) || !file.ReadAll(bytes, length)) {
    Log::GetInstance().WriteFormat(L"Warning: Can't load window icon. Filename: %s", path);
    return;
  }
  const std::unique_ptr<unsigned char[]> owned(bytes);
  std::vector<unsigned char> rgba;
  std::wstring error;
  if (!DecodeIcon(bytes, length, kSize, rgba, error)) {
    Log::GetInstance().WriteFormat(L"Warning: Can't load window icon. %s Filename: %s", error, path);
    return;
  }
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), kSize, kSize, 32, kSize * 4, SDL_PIXELFORMAT_RGBA32);
  if (surface) {
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
  }
}

}  // namespace

AppWindow::AppWindow() : _data(std::make_unique<Data>()) {}

AppWindow::~AppWindow() = default;

std::wstring AppWindow::Dump() const {
  const unsigned handle = _data->window ? SDL_GetWindowID(_data->window) : 0;
  std::wstring text = Format(L"Window: Handle - 0x%08X. Size: %dx%d Style:%08X", handle,
                             _data->settings.width, _data->settings.height, _data->style);
  if (text.size() > 79) {
    text.resize(79);
  }
  return text;
}

bool AppWindow::SetTitle(const std::wstring& title) {
  if (!_data->window) {
    return false;
  }
  SDL_SetWindowTitle(_data->window, Utf8Encode(title).c_str());
  _data->settings.title = title;
  return true;
}

void AppWindow::LogFailure(const wchar_t* what, const AppSettings& settings) {
  Log& log = Log::GetInstance();
  MutexLock together(log.GetMutex());
  log.WriteStarLine();
  log.WriteFormat(what, settings.title, settings.styleFlags);
  log.WriteStarLine();
}

bool AppWindow::Create(const AppSettings& settings) {
  if (!settings.createWindow) {
    return true;
  }
  // One window at a time; the one there keeps its settings.
  if (_data->window) {
    LogFailure(kRegisterFailed, settings);
    return false;
  }
  _data->settings = settings;

  // Our counterpart of registering the window class: the video subsystem.
  // A close button must reach the program as a close request that the
  // application may refuse, never as SDL's own quit; and the pointer is not
  // captured while a button is held, so positions stay inside the window.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    LogFailure(kRegisterFailed, settings);
    return false;
  }

  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  if (settings.styleFlags & AppSettings::STYLE_POPUP) {
    _data->style = STYLE_POPUP;
    _data->exStyle = EXSTYLE_APPWINDOW;
    flags |= SDL_WINDOW_BORDERLESS;
  } else if (settings.styleFlags & AppSettings::STYLE_NORMAL) {
    _data->style = STYLE_FRAMED;
    _data->exStyle = EXSTYLE_APPWINDOW | EXSTYLE_WINDOWEDGE;
    if (settings.styleFlags & AppSettings::STYLE_RESIZABLE) {
      _data->style |= STYLE_SIZABLE;
      flags |= SDL_WINDOW_RESIZABLE;
    }
  } else {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    LogFailure(L"No NORMAL or POPUP style defined for the window.\r\nTitle: %s\r\nStyle: %d", settings);
    return false;
  }

  // SDL sizes are client sizes, so no frame is added here.
  _data->window = SDL_CreateWindow(Utf8Encode(settings.title).c_str(), 0, 0, static_cast<int>(settings.width),
                                   static_cast<int>(settings.height), flags);
  if (!_data->window) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    LogFailure(L"Can't create window.\r\nTitle: %s\r\nStyle: %d", settings);
    return false;
  }
  if (!settings.iconFile.empty()) {
    ApplyIcon(_data->window, settings.iconFile);
  }
  _data->quit = false;
  _data->fullScreen = false;
  _data->backBufferWidth = 0;
  _data->backBufferHeight = 0;
  _data->input.Reset();
  SDL_StartTextInput();
  SetRaiseOpen(true);

  Center();
  Show();
  Log::GetInstance().Write(L"Window created successfully.");
  return true;
}

void AppWindow::Destroy() {
  if (!_data->window) {
    return;
  }
  SetRaiseOpen(false);
  SDL_DestroyWindow(_data->window);
  _data->window = nullptr;
  _data->fullScreen = false;
  _data->input.Reset();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  Log::GetInstance().Write(L"Window destroyed successfully.");
}

void AppWindow::Show() {
  if (!_data->window) {
    return;
  }
  SDL_ShowWindow(_data->window);
  SDL_RestoreWindow(_data->window);
  SDL_RaiseWindow(_data->window);
  if (!_data->input.IsFocused()) {
    _data->input.SetFocused(true);
    WindowProc(OsMessage(WM_ACTIVATE, MakeLong(WA_ACTIVE, 0), 0));
  }
}

void AppWindow::Hide() {
  if (_data->window) {
    SDL_HideWindow(_data->window);
  }
}

void AppWindow::SetClientSize(const Point& size) {
  if (!_data->settings.createWindow || !_data->window) {
    return;
  }
  _data->settings.width = static_cast<unsigned>(size.x);
  _data->settings.height = static_cast<unsigned>(size.y);
  SDL_SetWindowSize(_data->window, size.x, size.y);
}

void AppWindow::Center() {
  if (_data->window) {
    SDL_SetWindowPosition(_data->window, SDL_WINDOWPOS_CENTERED_DISPLAY(0),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(0));
  }
}

bool AppWindow::ProcessMessages() {
  if (!_data->window || _data->quit) {
    return false;
  }
  DeliverQueued();

  SdlInput::View view;
  view.window = _data->window;
  view.pointer = GetLetterbox(false);
  view.fullScreen = _data->fullScreen;
  view.clientWidth = _data->settings.width;
  view.clientHeight = _data->settings.height;
  OsMessage msg;
  switch (_data->input.Next(_data->inactive, view, msg)) {
    case SdlInput::Result::QUIT:
      // SDL's own quit comes from a signal (a logout's SIGTERM): the
      // session ends whatever the answer, but the application is asked as
      // for a close, so what it saves on closing is saved now too.
      if (_host) {
        _host->CanClose();
      }
      _data->quit = true;
      return false;
    case SdlInput::Result::MESSAGE:
      WindowProc(msg);
      return true;
    case SdlInput::Result::RAISE:
      Show();
      return true;
    case SdlInput::Result::NONE:
      break;
  }
  return true;
}

void AppWindow::DeliverQueued() {
  // Receivers run without the lock, so a receiver that waits for a thread
  // which is queuing a message cannot deadlock. Messages queued during the
  // delivery still go out in this pass, after those taken before them.
  for (;;) {
    std::deque<Message> batch;
    if (!_data->queueLock.Lock()) {
      return;
    }
    batch.swap(_data->queue);
    _data->queueLock.Unlock();
    if (batch.empty()) {
      return;
    }
    for (Message& msg : batch) {
      Send(&msg);
    }
  }
}

void AppWindow::Quit() {
  _data->quit = true;
}

AppWindow::Data* AppWindow::GetData() {
  return _data.get();
}

void* AppWindow::GetHandle() const {
  return _data->window;
}

AppSettings* AppWindow::GetSettings() {
  return &_data->settings;
}

bool AppWindow::IsFullScreen() const {
  return _data->fullScreen;
}

bool AppWindow::PostQueuedMessage(const Message& msg) {
  if (!_data->queueLock.Lock()) {
    return false;
  }
  _data->queue.push_back(msg);
  _data->queueLock.Unlock();
  return true;
}

void AppWindow::SetPopupStyle() {
  if (_data->window) {
    SDL_SetWindowBordered(_data->window, SDL_FALSE);
  }
}

void AppWindow::SetWindowedStyle() {
  if (!_data->window) {
    return;
  }
  SDL_SetWindowBordered(_data->window, (_data->style & STYLE_POPUP) ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowResizable(_data->window,
                         (_data->style & STYLE_SIZABLE) == STYLE_SIZABLE ? SDL_TRUE : SDL_FALSE);
  SDL_ShowWindow(_data->window);
  SetClientSize(Point(static_cast<int>(_data->settings.width), static_cast<int>(_data->settings.height)));
}

void AppWindow::SetPos() {
  if (_data->window) {
    SDL_SetWindowAlwaysOnTop(_data->window, SDL_FALSE);
  }
}

void AppWindow::SetCursorVisible(bool visible) {
  g_cursorWanted = visible;
  ShowSystemCursor(visible);
}

bool AppWindow::ShowSystemCursor(bool show) {
  if (g_cursorShown == show) {
    return false;
  }
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
  g_cursorShown = show;
  return true;
}

int AppWindow::TranslateKey(unsigned virtualKey) {
  if (virtualKey >= VK_0 && virtualKey <= VK_0 + 9) {
    return KEY_0 + static_cast<int>(virtualKey - VK_0);
  }
  if (virtualKey >= VK_A && virtualKey <= VK_A + 25) {
    return KEY_A + static_cast<int>(virtualKey - VK_A);
  }
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9) {
    return KEY_NUMPAD_0 + static_cast<int>(virtualKey - VK_NUMPAD0);
  }
  if (virtualKey >= VK_F1 && virtualKey <= VK_F12) {
    return KEY_F1 + static_cast<int>(virtualKey - VK_F1);
  }
  switch (virtualKey) {
    case VK_ESCAPE:
      return KEY_ESCAPE;
    case VK_BACK:
      return KEY_BACKSPACE;
    case VK_TAB:
      return KEY_TAB;
    case VK_RETURN:
      return KEY_ENTER;
    case VK_SPACE:
      return KEY_SPACE;
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
      return KEY_SHIFT;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
      return KEY_CONTROL;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
      return KEY_ALT;
    case VK_PAUSE:
      return KEY_PAUSE;
    case VK_CAPITAL:
      return KEY_CAPS_LOCK;
    case VK_NUMLOCK:
      return KEY_NUM_LOCK;
    case VK_SCROLL:
      return KEY_SCROLL_LOCK;
    case VK_PRIOR:
      return KEY_PAGE_UP;
    case VK_NEXT:
      return KEY_PAGE_DOWN;
    case VK_HOME:
      return KEY_HOME;
    case VK_END:
      return KEY_END;
    case VK_INSERT:
      return KEY_INSERT;
    case VK_DELETE:
      return KEY_DELETE;
    case VK_LEFT:
      return KEY_LEFT;
    case VK_UP:
      return KEY_UP;
    case VK_RIGHT:
      return KEY_RIGHT;
    case VK_DOWN:
      return KEY_DOWN;
    case VK_OEM_3:
      return KEY_GRAVE;
    case VK_OEM_MINUS:
      return KEY_MINUS;
    case VK_OEM_PLUS:
      return KEY_EQUALS;
    case VK_OEM_5:
      return KEY_BACKSLASH;
    case VK_OEM_4:
      return KEY_LEFT_BRACKET;
    case VK_OEM_6:
      return KEY_RIGHT_BRACKET;
    case VK_OEM_1:
      return KEY_SEMICOLON;
    case VK_OEM_7:
      return KEY_APOSTROPHE;
    case VK_OEM_COMMA:
      return KEY_COMMA;
    case VK_OEM_PERIOD:
      return KEY_PERIOD;
    case VK_OEM_2:
      return KEY_SLASH;
    case VK_MULTIPLY:
      return KEY_NUMPAD_MULTIPLY;
    case VK_DIVIDE:
      return KEY_NUMPAD_DIVIDE;
    case VK_ADD:
      return KEY_NUMPAD_ADD;
    case VK_SUBTRACT:
      return KEY_NUMPAD_SUBTRACT;
    case VK_DECIMAL:
      return KEY_NUMPAD_DECIMAL;
    case VK_SNAPSHOT:
      return KEY_PRINT_SCREEN;
    default:
      return KEY_NONE;
  }
}

std::wstring AppWindow::GetKeyText(const OsMessage& msg) {
  return SdlInput::LimitKeyText(msg.text);
}

void AppWindow::QueueInput(int code, int param, int primary, int secondary, const std::wstring& text) {
  PostQueuedMessage(Message(this, code, param, primary, secondary, text));
}

intptr_t AppWindow::DefaultProc(const OsMessage& msg) {
  (void)msg;  // SDL has no default handling to hand messages on to
  return 0;
}

intptr_t AppWindow::WindowProc(const OsMessage& msg) {
  switch (msg.message) {
    case WM_CREATE:
    case WM_DESTROY:
      return 0;

    case WM_SIZE:
      if (msg.wParam == SIZE_RESTORED || msg.wParam == SIZE_MAXIMIZED) {
        _data->settings.width = LowWord(msg.lParam);
        _data->settings.height = HighWord(msg.lParam);
        if (_host) {
          _host->OnResize(&_data->settings);
        }
        _data->inactive = false;
      } else if (msg.wParam == SIZE_MINIMIZED) {
        if (_host) {
          _host->OnDeactivate(&_data->inactive);
        }
      } else {
        return DefaultProc(msg);
      }
      return 0;

    case WM_ACTIVATE: {
      const unsigned state = LowWord(msg.wParam);
      const bool minimised = HighWord(msg.wParam) != 0;
      if (state == WA_INACTIVE) {
        if (_host) {
          _host->OnDeactivate(&_data->inactive);
        }
      } else if ((state == WA_ACTIVE || state == WA_CLICKACTIVE) && !minimised) {
        _data->inactive = false;
        if (_host) {
          _host->OnActivate();
        }
      }
      return 0;
    }

    case WM_CLOSE:
      // The window stays; the application's shutdown destroys it.
      _data->quit = _host ? _host->CanClose() : true;
      return 0;

    case WM_NCMOUSEMOVE:
      if (ShowSystemCursor(true)) {
        QueueInput(WMSG_MOUSE_MOVE, 0, -1, -1);
        _data->lastMouseX = -1;
        _data->lastMouseY = -1;
      }
      return DefaultProc(msg);

    case WM_NCMOUSELEAVE:
      if (!g_cursorWanted) {
        ShowSystemCursor(false);
      }
      return DefaultProc(msg);

    case WM_KEYDOWN:
    case WM_KEYUP: {
      const int key = TranslateKey(msg.wParam);
      if (key != KEY_NONE) {
        QueueInput(msg.message == WM_KEYDOWN ? WMSG_KEY_DOWN : WMSG_KEY_UP, key, static_cast<int>(msg.wParam),
                   static_cast<int>(msg.lParam), GetKeyText(msg));
      }
      return 0;
    }

    case WM_SYSCOMMAND:
      if (msg.wParam == SC_SCREENSAVE || msg.wParam == SC_MONITORPOWER) {
        return 0;
      }
      return DefaultProc(msg);

    case WM_MOUSEMOVE:
      _data->lastMouseX = PositionX(msg.lParam);
      _data->lastMouseY = PositionY(msg.lParam);
      QueueInput(WMSG_MOUSE_MOVE, 0, _data->lastMouseX, _data->lastMouseY);
      return 0;

    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const int button = msg.message == WM_LBUTTONDOWN ? 1 : msg.message == WM_RBUTTONDOWN ? 2 : 3;
      QueueInput(WMSG_BUTTON_DOWN, button, PositionX(msg.lParam), PositionY(msg.lParam));
      return 0;
    }

    case WM_LBUTTONUP:
      OnButtonUp(1, msg.lParam);
      return 0;
    case WM_RBUTTONUP:
      OnButtonUp(2, msg.lParam);
      return 0;
    case WM_MBUTTONUP:
      OnButtonUp(3, msg.lParam);
      return 0;

    case WM_MOUSEWHEEL: {
      const int delta = static_cast<int16_t>(HighWord(msg.wParam));
      QueueInput(WMSG_WHEEL, delta / WHEEL_DELTA, _data->lastMouseX, _data->lastMouseY);
      return 0;
    }

    default:
      return DefaultProc(msg);
  }
}

void AppWindow::OnButtonUp(int button, uint32_t position) {
  // One release time is shared by the three buttons; a second release within
  // the interval makes a double click, sent before its button-up, and starts
  // the count afresh.
  const unsigned now = g_clock();
  const int x = PositionX(position);
  const int y = PositionY(position);
  if (_data->lastButtonUpTime == 0 || now - _data->lastButtonUpTime >= _data->settings.doubleClickInterval) {
    _data->lastButtonUpTime = now;
  } else {
    QueueInput(WMSG_DOUBLE_CLICK, button, x, y);
    _data->lastButtonUpTime = 0;
  }
  QueueInput(WMSG_BUTTON_UP, button, x, y);
}

bool AppWindow::SetFullScreen(bool fullScreen) {
  if (!_data->window) {
    return false;
  }
  if (SDL_SetWindowFullscreen(_data->window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
    Log::GetInstance().WriteFormat(L"Warning: Can't switch the window to %s mode: %s",
                                   fullScreen ? L"fullscreen" : L"windowed", SDL_GetError());
    return false;
  }
  _data->fullScreen = fullScreen;
  if (!fullScreen) {
    // Leaving desktop full screen may keep the desktop's size.
    SDL_SetWindowSize(_data->window, static_cast<int>(_data->settings.width),
                      static_cast<int>(_data->settings.height));
  }
  return true;
}

void AppWindow::SetBackBufferSize(unsigned width, unsigned height) {
  _data->backBufferWidth = width;
  _data->backBufferHeight = height;
}

Letterbox AppWindow::GetLetterbox(bool inPixels) const {
  if (!_data->window) {
    return Letterbox();
  }
  int outputWidth = 0;
  int outputHeight = 0;
  if (inPixels) {
    SDL_GetWindowSizeInPixels(_data->window, &outputWidth, &outputHeight);
  } else {
    SDL_GetWindowSize(_data->window, &outputWidth, &outputHeight);
  }
  unsigned bufferWidth = _data->backBufferWidth;
  unsigned bufferHeight = _data->backBufferHeight;
  if ((bufferWidth == 0 || bufferHeight == 0) && _data->fullScreen) {
    bufferWidth = _data->settings.width;
    bufferHeight = _data->settings.height;
  }
  return Letterbox(outputWidth, outputHeight, static_cast<int>(bufferWidth), static_cast<int>(bufferHeight));
}

std::wstring AppWindow::ClassName(const std::wstring& appName) {
  return L"LLFAppWindowClass" + appName;
}

bool AppWindow::ActivateExistingInstance(const std::wstring& appName) {
  return InstanceLock::RequestRaise(ClassName(appName));
}

void AppWindow::RequestRaise() {
  std::lock_guard<std::mutex> lock(g_raiseLock);
  if (!g_raiseOpen) {
    return;
  }
  SDL_Event event;
  SDL_zero(event);
  event.type = SdlInput::RaiseEventType();
  SDL_PushEvent(&event);
}

void AppWindow::SetClock(unsigned (*clock)()) {
  g_clock = clock ? clock : &GetTimeMs;
}

}  // namespace LLF
