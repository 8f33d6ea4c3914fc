#pragma once
// Window input handed straight to a control tree, as the game shell hands
// each message on after its own mouse bookkeeping (hover, drag), which
// tests of a control's own behaviour call by hand where they need it: the
// message goes to the root's ProcessMessage, then, with Deliver, comes the
// safe point where deferred deletions happen. Send leaves the safe point
// out, so several messages can arrive within one frame.
#include <string>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "model/Control.h"
#include "model/GameServices.h"

namespace QmTest {

class TreeInput {
 public:
  explicit TreeInput(HLF::Control* root) : _root(root) {}

  static LLF::Message WindowMessage(int code, int param, int x, int y) {
    return LLF::Message(&LLF::AppWindow::GetInstance(), code, param, x, y, std::wstring());
  }

  // What the root's ProcessMessage answered.
  bool Send(int code, int param, int x, int y) {
    HLF::Control::DispatchScope scope;
    return _root->ProcessMessage(WindowMessage(code, param, x, y));
  }
  static void SafePoint() { HLF::GameServices::DeleteDeferred(); }
  bool Deliver(int code, int param, int x, int y) {
    const bool taken = Send(code, param, x, y);
    SafePoint();
    return taken;
  }

  bool Down(int x, int y) { return Deliver(LLF::WMSG_BUTTON_DOWN, 1, x, y); }
  bool Up(int x, int y) { return Deliver(LLF::WMSG_BUTTON_UP, 1, x, y); }
  bool Move(int x, int y) { return Deliver(LLF::WMSG_MOUSE_MOVE, 0, x, y); }
  bool KeyDown(int key) { return Deliver(LLF::WMSG_KEY_DOWN, key, 0, 0); }
  bool KeyUp(int key) { return Deliver(LLF::WMSG_KEY_UP, key, 0, 0); }

 private:
  HLF::Control* _root;
};

}  // namespace QmTest
