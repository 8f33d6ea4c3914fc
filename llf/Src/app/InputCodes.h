#pragma once
// The codes of the window's input messages: the message codes the window
// sends and the engine key codes key messages carry. Code that only reads
// input messages needs these, not the window.

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

}  // namespace LLF
