#pragma once
// The window's state behind AppWindow::GetData: the SDL window, the event
// translator and what the window procedure keeps between messages. Only the
// platform layer and its tests see it.
#include <SDL.h>

#include <cstdint>
#include <deque>

#include "app/AppSettings.h"
#include "app/AppWindow.h"
#include "core/Message.h"
#include "core/Mutex.h"
#include "window/SdlInput.h"

namespace LLF {

// The queue and its lock are shared with other threads (PostQueuedMessage);
// everything else belongs to the main thread.
struct AppWindow::Data {
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

}  // namespace LLF
