#pragma once
// What the application window asks of the application it serves: whether a
// close request may end the program, and the size and activation hooks.
// The application object implements it; tests use a small double.
//
// It takes no part in the type test.
#include "app/AppSettings.h"
#include "core/Object.h"

namespace LLF {

class IWindowHost : public virtual Object {
 public:
  ~IWindowHost() override = default;

  // Asked on a close request; the answer becomes the window's quit flag.
  virtual bool CanClose() = 0;
  // After a restore or maximise, with the new client size already stored
  // in the window's settings copy.
  virtual void OnResize(AppSettings* windowSettings) = 0;
  // The window became active while not minimised.
  virtual void OnActivate() = 0;
  // The window became inactive or was minimised. The host sets the flag,
  // so that the message pump waits for input instead of spinning.
  virtual void OnDeactivate(bool* windowInactive) = 0;
};

}  // namespace LLF
