#pragma once
// The window procedure's input: a record shaped like the desktop messages it
// was written for (a message number and two 32-bit words), plus the text a
// key produced, which the platform layer takes from its text-input events.
// The numbers below are our own constants with the values those messages
// and virtual-key codes have always had, so key data and codes stored or
// compared elsewhere keep their meaning.
#include <cstdint>
#include <string>

namespace LLF {

struct OsMessage {
  unsigned message = 0;
  uint32_t wParam = 0;
  uint32_t lParam = 0;
  std::wstring text;  // key messages: the character text the key produced

  OsMessage() = default;
  OsMessage(unsigned msg, uint32_t w, uint32_t l, const std::wstring& t = std::wstring())
      : message(msg), wParam(w), lParam(l), text(t) {}
};

constexpr uint32_t MakeLong(unsigned low, unsigned high) {
  return (low & 0xFFFFu) | ((high & 0xFFFFu) << 16);
}
constexpr unsigned LowWord(uint32_t value) {
  return value & 0xFFFFu;
}
constexpr unsigned HighWord(uint32_t value) {
  return value >> 16;
}

// Message numbers
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_NCMOUSEMOVE = 0x00A0;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_NCMOUSELEAVE = 0x02A2;

// WM_SIZE kinds (wParam)
constexpr unsigned SIZE_RESTORED = 0;
constexpr unsigned SIZE_MINIMIZED = 1;
constexpr unsigned SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states (low word of wParam; the high word is non-zero when minimised)
constexpr unsigned WA_INACTIVE = 0;
constexpr unsigned WA_ACTIVE = 1;
constexpr unsigned WA_CLICKACTIVE = 2;

// WM_SYSCOMMAND commands
constexpr unsigned SC_SCREENSAVE = 0xF140;
constexpr unsigned SC_MONITORPOWER = 0xF170;

// One wheel notch in WM_MOUSEWHEEL deltas
constexpr int WHEEL_DELTA = 120;

// Key data word (lParam of key messages)
constexpr uint32_t KEYDATA_EXTENDED = 1u << 24;
constexpr uint32_t KEYDATA_ALT = 1u << 29;
constexpr uint32_t KEYDATA_PREVIOUS_DOWN = 1u << 30;
constexpr uint32_t KEYDATA_RELEASED = 1u << 31;

// Virtual-key codes. Digits and letters are their ASCII upper-case values.
constexpr unsigned VK_BACK = 8;
constexpr unsigned VK_TAB = 9;
constexpr unsigned VK_CLEAR = 12;
constexpr unsigned VK_RETURN = 13;
constexpr unsigned VK_SHIFT = 16;
constexpr unsigned VK_CONTROL = 17;
constexpr unsigned VK_MENU = 18;  // Alt
constexpr unsigned VK_PAUSE = 19;
constexpr unsigned VK_CAPITAL = 20;
constexpr unsigned VK_ESCAPE = 27;
constexpr unsigned VK_SPACE = 32;
constexpr unsigned VK_PRIOR = 33;  // Page Up
constexpr unsigned VK_NEXT = 34;   // Page Down
constexpr unsigned VK_END = 35;
constexpr unsigned VK_HOME = 36;
constexpr unsigned VK_LEFT = 37;
constexpr unsigned VK_UP = 38;
constexpr unsigned VK_RIGHT = 39;
constexpr unsigned VK_DOWN = 40;
constexpr unsigned VK_SNAPSHOT = 44;  // Print Screen
constexpr unsigned VK_INSERT = 45;
constexpr unsigned VK_DELETE = 46;
constexpr unsigned VK_0 = 48;
constexpr unsigned VK_A = 65;
constexpr unsigned VK_LWIN = 91;
constexpr unsigned VK_RWIN = 92;
constexpr unsigned VK_APPS = 93;
constexpr unsigned VK_NUMPAD0 = 96;
constexpr unsigned VK_MULTIPLY = 106;
constexpr unsigned VK_ADD = 107;
constexpr unsigned VK_SEPARATOR = 108;
constexpr unsigned VK_SUBTRACT = 109;
constexpr unsigned VK_DECIMAL = 110;
constexpr unsigned VK_DIVIDE = 111;
constexpr unsigned VK_F1 = 112;
constexpr unsigned VK_F8 = 119;
constexpr unsigned VK_F10 = 121;
constexpr unsigned VK_F12 = 123;
constexpr unsigned VK_F13 = 124;
constexpr unsigned VK_NUMLOCK = 144;
constexpr unsigned VK_SCROLL = 145;
constexpr unsigned VK_LSHIFT = 160;
constexpr unsigned VK_RSHIFT = 161;
constexpr unsigned VK_LCONTROL = 162;
constexpr unsigned VK_RCONTROL = 163;
constexpr unsigned VK_LMENU = 164;
constexpr unsigned VK_RMENU = 165;
constexpr unsigned VK_OEM_1 = 186;       // ; :
constexpr unsigned VK_OEM_PLUS = 187;    // = +
constexpr unsigned VK_OEM_COMMA = 188;   // , <
constexpr unsigned VK_OEM_MINUS = 189;   // - _
constexpr unsigned VK_OEM_PERIOD = 190;  // . >
constexpr unsigned VK_OEM_2 = 191;       // / ?
constexpr unsigned VK_OEM_3 = 192;       // ` ~
constexpr unsigned VK_OEM_4 = 219;       // [ {
constexpr unsigned VK_OEM_5 = 220;       // \ |
constexpr unsigned VK_OEM_6 = 221;       // ] }
constexpr unsigned VK_OEM_7 = 222;       // ' "
constexpr unsigned VK_OEM_102 = 226;     // the extra key beside left Shift on 102-key boards

}  // namespace LLF
