#pragma once
// The window and application start-up record. The application hands it out
// by value; the window keeps its own copy from creation on, whose width and
// height then follow the client size.
#include <string>

namespace LLF {

struct AppSettings {
  // Style flags: 4 selects a pop-up window without frame whatever else is
  // set; otherwise 2 a framed window, resizable when 1 is set too. A value
  // with neither 2 nor 4 is refused when the window is created.
  static constexpr unsigned STYLE_RESIZABLE = 1;
  static constexpr unsigned STYLE_NORMAL = 2;
  static constexpr unsigned STYLE_POPUP = 4;

  std::wstring title = L"No title";
  std::wstring iconFile;  // empty: no icon
  unsigned width = 800;   // client size in pixels
  unsigned height = 600;
  unsigned styleFlags = STYLE_NORMAL;
  // False: no window, no render system and no sound driver are set up, and
  // the window's client size cannot be changed.
  bool createWindow = true;
  unsigned fifthValue = 0;             // carried along, never read by the framework
  unsigned doubleClickInterval = 250;  // ms between two button releases
};

}  // namespace LLF
