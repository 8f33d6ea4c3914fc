#pragma once
// A headless game shell for tests: registers as the shell in service for
// its life, keeps a styles document, records the controls it is told to
// forget, and injects window input. Input goes the way the game shell hands
// it on: the mouse bookkeeping first (the control under the cursor gets
// leave and enter, a button down picks the control to drag, moves drag it,
// a button up ends the drag), then the root's ProcessMessage, then the safe
// point where deferred deletions happen.
#include <string>
#include <vector>

#include "core/Message.h"
#include "math/Vector2.h"
#include "model/GameServices.h"
#include "xml/XmlDoc.h"

namespace HLF {
class Control;
}

namespace QmTest {

class TestShell : public HLF::GameServices {
 public:
  explicit TestShell(HLF::Control* root = nullptr) : _root(root) {}

  LLF::XmlDoc* GetStylesDoc() override { return &styles; }
  void ForgetControl(HLF::Control* control) override;

  void SetRoot(HLF::Control* root) { _root = root; }

  // A message as the application window sends it.
  static LLF::Message WindowMessage(int code, int param, int x, int y,
                                    const std::wstring& text = std::wstring());

  // Each returns what the root's ProcessMessage answered.
  bool MouseMove(int x, int y);
  bool MouseDown(int x, int y, int button = 1);
  bool MouseUp(int x, int y, int button = 1);
  bool DoubleClick(int x, int y, int button = 1);
  bool Wheel(int notches);  // at the last mouse position
  bool KeyDown(int key, const std::wstring& text = std::wstring());
  bool KeyUp(int key);
  bool Deliver(const LLF::Message& msg);

  HLF::Control* Hovered() const { return _hovered; }
  HLF::Control* Dragged() const { return _dragged; }

  LLF::XmlDoc styles;
  std::vector<HLF::Control*> forgotten;  // addresses only: the controls are gone

 private:
  void TrackMouse(const LLF::Message& msg);

  HLF::Control* _root;
  HLF::Control* _hovered = nullptr;
  HLF::Control* _dragged = nullptr;
  LLF::Vector2 _mousePos;
  LLF::Vector2 _lastDragPos;
};

}  // namespace QmTest
