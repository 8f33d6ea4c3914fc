#include "window/SdlInput.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "io/TextEncoding.h"

namespace LLF {

namespace {

struct KeyEntry {
  SDL_Scancode scancode;
  unsigned char virtualKey;
  unsigned char scan;  // scan code set 1, as the key data word carries it
  bool extended;       // E0-prefixed on a PC keyboard
};

// Keys by position. Letters are listed by their place on a US board; their
// code follows the layout at run time (ToVirtualKey).
constexpr KeyEntry kKeys[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, false},
    {SDL_SCANCODE_B, 'B', 0x30, false},
    {SDL_SCANCODE_C, 'C', 0x2E, false},
    {SDL_SCANCODE_D, 'D', 0x20, false},
    {SDL_SCANCODE_E, 'E', 0x12, false},
    {SDL_SCANCODE_F, 'F', 0x21, false},
    {SDL_SCANCODE_G, 'G', 0x22, false},
    {SDL_SCANCODE_H, 'H', 0x23, false},
    {SDL_SCANCODE_I, 'I', 0x17, false},
    {SDL_SCANCODE_J, 'J', 0x24, false},
    {SDL_SCANCODE_K, 'K', 0x25, false},
    {SDL_SCANCODE_L, 'L', 0x26, false},
    {SDL_SCANCODE_M, 'M', 0x32, false},
    {SDL_SCANCODE_N, 'N', 0x31, false},
    {SDL_SCANCODE_O, 'O', 0x18, false},
    {SDL_SCANCODE_P, 'P', 0x19, false},
    {SDL_SCANCODE_Q, 'Q', 0x10, false},
    {SDL_SCANCODE_R, 'R', 0x13, false},
    {SDL_SCANCODE_S, 'S', 0x1F, false},
    {SDL_SCANCODE_T, 'T', 0x14, false},
    {SDL_SCANCODE_U, 'U', 0x16, false},
    {SDL_SCANCODE_V, 'V', 0x2F, false},
    {SDL_SCANCODE_W, 'W', 0x11, false},
    {SDL_SCANCODE_X, 'X', 0x2D, false},
    {SDL_SCANCODE_Y, 'Y', 0x15, false},
    {SDL_SCANCODE_Z, 'Z', 0x2C, false},
    {SDL_SCANCODE_1, '1', 0x02, false},
    {SDL_SCANCODE_2, '2', 0x03, false},
    {SDL_SCANCODE_3, '3', 0x04, false},
    {SDL_SCANCODE_4, '4', 0x05, false},
    {SDL_SCANCODE_5, '5', 0x06, false},
    {SDL_SCANCODE_6, '6', 0x07, false},
    {SDL_SCANCODE_7, '7', 0x08, false},
    {SDL_SCANCODE_8, '8', 0x09, false},
    {SDL_SCANCODE_9, '9', 0x0A, false},
    {SDL_SCANCODE_0, '0', 0x0B, false},
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, false},
    {SDL_SCANCODE_F1, VK_F1, 0x3B, false},
    {SDL_SCANCODE_F2, VK_F1 + 1, 0x3C, false},
    {SDL_SCANCODE_F3, VK_F1 + 2, 0x3D, false},
    {SDL_SCANCODE_F4, VK_F1 + 3, 0x3E, false},
    {SDL_SCANCODE_F5, VK_F1 + 4, 0x3F, false},
    {SDL_SCANCODE_F6, VK_F1 + 5, 0x40, false},
    {SDL_SCANCODE_F7, VK_F1 + 6, 0x41, false},
    {SDL_SCANCODE_F8, VK_F1 + 7, 0x42, false},
    {SDL_SCANCODE_F9, VK_F1 + 8, 0x43, false},
    {SDL_SCANCODE_F10, VK_F1 + 9, 0x44, false},
    {SDL_SCANCODE_F11, VK_F1 + 10, 0x57, false},
    {SDL_SCANCODE_F12, VK_F1 + 11, 0x58, false},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0x37, true},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, false},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, false},
    {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true},
    {SDL_SCANCODE_HOME, VK_HOME, 0x47, true},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true},
    {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true},
    {SDL_SCANCODE_END, VK_END, 0x4F, true},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},
    {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},
    {SDL_SCANCODE_UP, VK_UP, 0x48, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45, true},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true},
    {SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1, 0x4F, false},
    {SDL_SCANCODE_KP_2, VK_NUMPAD0 + 2, 0x50, false},
    {SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3, 0x51, false},
    {SDL_SCANCODE_KP_4, VK_NUMPAD0 + 4, 0x4B, false},
    {SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5, 0x4C, false},
    {SDL_SCANCODE_KP_6, VK_NUMPAD0 + 6, 0x4D, false},
    {SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7, 0x47, false},
    {SDL_SCANCODE_KP_8, VK_NUMPAD0 + 8, 0x48, false},
    {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9, 0x49, false},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, false},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, false},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, false},
    {SDL_SCANCODE_APPLICATION, VK_APPS, 0x5D, true},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, false},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, false},
    {SDL_SCANCODE_LALT, VK_MENU, 0x38, false},
    {SDL_SCANCODE_LGUI, VK_LWIN, 0x5B, true},
    {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x1D, true},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, false},
    {SDL_SCANCODE_RALT, VK_MENU, 0x38, true},
    {SDL_SCANCODE_RGUI, VK_RWIN, 0x5C, true},
};

// What the keypad's digit keys and its point stand for while Num Lock is off.
constexpr struct {
  SDL_Scancode scancode;
  unsigned virtualKey;
} kKeypadNavigation[] = {
    {SDL_SCANCODE_KP_0, VK_INSERT}, {SDL_SCANCODE_KP_1, VK_END},         {SDL_SCANCODE_KP_2, VK_DOWN},
    {SDL_SCANCODE_KP_3, VK_NEXT},   {SDL_SCANCODE_KP_4, VK_LEFT},        {SDL_SCANCODE_KP_5, VK_CLEAR},
    {SDL_SCANCODE_KP_6, VK_RIGHT},  {SDL_SCANCODE_KP_7, VK_HOME},        {SDL_SCANCODE_KP_8, VK_UP},
    {SDL_SCANCODE_KP_9, VK_PRIOR},  {SDL_SCANCODE_KP_PERIOD, VK_DELETE},
};

const KeyEntry* FindKey(SDL_Scancode scancode) {
  static const std::array<const KeyEntry*, SDL_NUM_SCANCODES> byScancode = [] {
    std::array<const KeyEntry*, SDL_NUM_SCANCODES> table{};
    for (const KeyEntry& key : kKeys) {
      table[key.scancode] = &key;
    }
    return table;
  }();
  return scancode >= 0 && scancode < SDL_NUM_SCANCODES ? byScancode[scancode] : nullptr;
}

// The control characters the desktop's key translation gives for keys that
// SDL reports no text for.
std::wstring ControlText(unsigned virtualKey, Uint16 mod) {
  switch (virtualKey) {
    case VK_BACK:
      return L"\b";
    case VK_TAB:
      return L"\t";
    case VK_RETURN:
      return L"\r";
    case VK_ESCAPE:
      return L"\x1B";
    default:
      break;
  }
  if ((mod & KMOD_CTRL) && virtualKey >= VK_A && virtualKey <= 'Z') {
    return std::wstring(1, static_cast<wchar_t>(virtualKey - VK_A + 1));
  }
  return std::wstring();
}

Uint32 EventWindowId(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return event.key.windowID;
    case SDL_TEXTINPUT:
      return event.text.windowID;
    case SDL_MOUSEMOTION:
      return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return event.button.windowID;
    case SDL_MOUSEWHEEL:
      return event.wheel.windowID;
    default:
      return 0;
  }
}

// The next queued event when it has the given type and belongs to window
// id (or to no window in particular); it is taken off the queue.
bool TakeNextOfType(Uint32 type, Uint32 windowId, SDL_Event& event) {
  SDL_Event next;
  if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1 || next.type != type) {
    return false;
  }
  const Uint32 id = EventWindowId(next);
  if (id != 0 && windowId != 0 && id != windowId) {
    return false;
  }
  return SDL_PeepEvents(&event, 1, SDL_GETEVENT, type, type) == 1;
}

}  // namespace

SdlInput::Result SdlInput::Next(bool wait, const View& view, OsMessage& out) {
  if (_pending) {
    out = std::move(*_pending);
    _pending.reset();
    return Result::MESSAGE;
  }
  SDL_Event event;
  bool have = (wait ? SDL_WaitEvent(&event) : SDL_PollEvent(&event)) == 1;
  while (have) {
    if (event.type == SDL_QUIT) {
      return Result::QUIT;
    }
    if (event.type == RaiseEventType()) {
      return Result::RAISE;
    }
    if (Translate(event, view, out)) {
      return Result::MESSAGE;
    }
    have = SDL_PollEvent(&event) == 1;
  }
  return Result::NONE;
}

Uint32 SdlInput::RaiseEventType() {
  // Registering only counts up, so it needs SDL no further.
  static const Uint32 type = SDL_RegisterEvents(1);
  return type;
}

void SdlInput::Reset() {
  _pending.reset();
  _keyTexts.clear();
  _focused = false;
}

bool SdlInput::Translate(SDL_Event& event, const View& view, OsMessage& out) {
  const Uint32 windowId = view.window ? SDL_GetWindowID(view.window) : 0;
  const Uint32 eventWindow = EventWindowId(event);
  if (eventWindow != 0 && windowId != 0 && eventWindow != windowId) {
    return false;
  }
  switch (event.type) {
    case SDL_MOUSEMOTION:
      // The desktop keeps one pending mouse move and updates it in place.
      while (TakeNextOfType(SDL_MOUSEMOTION, windowId, event)) {
      }
      out = OsMessage(WM_MOUSEMOVE, 0, MapPosition(view, event.motion.x, event.motion.y));
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      unsigned message = 0;
      switch (event.button.button) {
        case SDL_BUTTON_LEFT:
          message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
          break;
        case SDL_BUTTON_RIGHT:
          message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
          break;
        case SDL_BUTTON_MIDDLE:
          message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
          break;
        default:
          return false;  // side buttons have no message here
      }
      out = OsMessage(message, 0, MapPosition(view, event.button.x, event.button.y));
      return true;
    }
    case SDL_MOUSEWHEEL: {
      if (event.wheel.y == 0) {
        return false;  // horizontal only
      }
      int delta = event.wheel.y * WHEEL_DELTA;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
        delta = -delta;
      }
      delta = std::clamp(delta, -32768, 32767);
      out = OsMessage(WM_MOUSEWHEEL, MakeLong(0, static_cast<unsigned>(delta)), 0);
      return true;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return TranslateKey(event.key, out);
    case SDL_WINDOWEVENT:
      return TranslateWindowEvent(event.window, view, out);
    default:
      return false;
  }
}

bool SdlInput::TranslateKey(const SDL_KeyboardEvent& key, OsMessage& out) {
  const unsigned virtualKey = ToVirtualKey(key.keysym);
  if (virtualKey == 0) {
    return false;
  }
  const bool released = key.type == SDL_KEYUP;
  const bool system = IsSystemKey(key.keysym, virtualKey);
  out = OsMessage(released ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN),
                  virtualKey, ToKeyData(key.keysym, released, key.repeat != 0, system));
  const int scancode = key.keysym.scancode;
  if (released) {
    auto held = _keyTexts.find(scancode);
    if (held != _keyTexts.end()) {
      out.text = std::move(held->second);
      _keyTexts.erase(held);
    } else {
      out.text = ControlText(virtualKey, key.keysym.mod);
    }
    return true;
  }
  // SDL reports the typed text in its own event, queued right after the key.
  SDL_Event text;
  if (TakeNextOfType(SDL_TEXTINPUT, key.windowID, text)) {
    out.text = LimitKeyText(Utf8Decode(text.text.text, std::strlen(text.text.text)));
  } else {
    out.text = ControlText(virtualKey, key.keysym.mod);
  }
  _keyTexts[scancode] = out.text;
  return true;
}

bool SdlInput::TranslateWindowEvent(const SDL_WindowEvent& event, const View& view, OsMessage& out) {
  int width = 0;
  int height = 0;
  if (view.window) {
    SDL_GetWindowSize(view.window, &width, &height);
  }
  // While full screen the client keeps the back buffer's size; the desktop
  // size the window takes then is never stored as the window's size.
  const uint32_t clientSize = view.fullScreen
                                  ? MakeLong(view.clientWidth, view.clientHeight)
                                  : MakeLong(static_cast<unsigned>(width), static_cast<unsigned>(height));
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      // Sizes are read when the event is handled, so a change that has been
      // overtaken reports the current size; an unchanged size is no news.
      if (view.fullScreen || (static_cast<unsigned>(width) == view.clientWidth &&
                              static_cast<unsigned>(height) == view.clientHeight)) {
        return false;
      }
      out = OsMessage(WM_SIZE, SIZE_RESTORED, clientSize);
      return true;
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
      out = OsMessage(WM_SIZE, event.event == SDL_WINDOWEVENT_MAXIMIZED ? SIZE_MAXIMIZED : SIZE_RESTORED,
                      clientSize);
      // Bringing a window back also activates it; the focus event that
      // may follow is then no news.
      if (!_focused) {
        _focused = true;
        _pending = OsMessage(WM_ACTIVATE, MakeLong(WA_ACTIVE, 0), 0);
      }
      return true;
    case SDL_WINDOWEVENT_MINIMIZED:
      _focused = false;  // minimising deactivates
      out = OsMessage(WM_SIZE, SIZE_MINIMIZED, 0);
      return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED: {
      if (_focused) {
        return false;
      }
      _focused = true;
      const bool minimised = view.window && (SDL_GetWindowFlags(view.window) & SDL_WINDOW_MINIMIZED);
      out = OsMessage(WM_ACTIVATE, MakeLong(WA_ACTIVE, minimised ? 1 : 0), 0);
      return true;
    }
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (!_focused) {
        return false;
      }
      _focused = false;
      out = OsMessage(WM_ACTIVATE, MakeLong(WA_INACTIVE, 0), 0);
      return true;
    case SDL_WINDOWEVENT_CLOSE:
      out = OsMessage(WM_CLOSE, 0, 0);
      return true;
    case SDL_WINDOWEVENT_LEAVE:
      // The pointer left the client area: the desktop reports it over the frame.
      out = OsMessage(WM_NCMOUSEMOVE, 0, 0);
      return true;
    case SDL_WINDOWEVENT_ENTER:
      out = OsMessage(WM_NCMOUSELEAVE, 0, 0);
      return true;
    default:
      return false;
  }
}

uint32_t SdlInput::MapPosition(const View& view, int x, int y) {
  const Point p = view.pointer.ToBuffer(x, y);
  return MakeLong(static_cast<unsigned>(p.x), static_cast<unsigned>(p.y));
}

unsigned SdlInput::ToVirtualKey(const SDL_Keysym& key) {
  if (key.sym >= 'a' && key.sym <= 'z') {
    return static_cast<unsigned>(key.sym - 'a') + VK_A;
  }
  if (!(key.mod & KMOD_NUM)) {
    for (const auto& entry : kKeypadNavigation) {
      if (entry.scancode == key.scancode) {
        return entry.virtualKey;
      }
    }
  }
  const KeyEntry* entry = FindKey(key.scancode);
  return entry ? entry->virtualKey : 0;
}

uint32_t SdlInput::ToKeyData(const SDL_Keysym& key, bool released, bool repeat, bool system) {
  uint32_t data = 1;  // repeat count
  if (const KeyEntry* entry = FindKey(key.scancode)) {
    data |= uint32_t{entry->scan} << 16;
    if (entry->extended) {
      data |= KEYDATA_EXTENDED;
    }
  }
  if (system && (key.mod & KMOD_ALT)) {
    data |= KEYDATA_ALT;
  }
  if (released || repeat) {
    data |= KEYDATA_PREVIOUS_DOWN;
  }
  if (released) {
    data |= KEYDATA_RELEASED;
  }
  return data;
}

bool SdlInput::IsSystemKey(const SDL_Keysym& key, unsigned virtualKey) {
  if (virtualKey == VK_F10) {
    return true;
  }
  // Only the left Alt: the right one is AltGr on most layouts, which types
  // characters and reaches the program as an ordinary key.
  const bool alt = (key.mod & KMOD_LALT) || key.scancode == SDL_SCANCODE_LALT;
  return alt && !(key.mod & KMOD_CTRL);
}

std::wstring SdlInput::LimitKeyText(const std::wstring& text) {
  constexpr size_t kMaxUnits = 5;
  size_t units = 0;
  size_t count = 0;
  for (wchar_t c : text) {
    const size_t width = static_cast<uint32_t>(c) > 0xFFFF ? 2 : 1;
    if (units + width > kMaxUnits) {
      break;
    }
    units += width;
    ++count;
  }
  return text.substr(0, count);
}

}  // namespace LLF
