#pragma once
// The game shell for tests that need one without starting it: it is the
// shell in service for its life, keeps its styles document open to the test,
// records the controls it is told to forget, and injects window input. Input
// goes through the shell's own message entry, so hover, drag and focus are
// the shell's real routing; a root given here stands in for the shell's own
// control tree.
#include <string>
#include <vector>

#include "core/Message.h"
#include "math/Point.h"
#include "shell/Game.h"

namespace HLF {
class Control;
class XmlDocEx;
}  // namespace HLF

namespace QmTest {

class TestShell : public HLF::Game {
 public:
  explicit TestShell(HLF::Control* root = nullptr);

  void ForgetControl(HLF::Control* control) override;
  // The given root, else the shell's own.
  HLF::Control& GetRootControl() override;

  void SetRoot(HLF::Control* root) { _root = root; }

  // A message as the application window sends it.
  static LLF::Message WindowMessage(int code, int param, int x, int y,
                                    const std::wstring& text = std::wstring());

  void MouseMove(int x, int y);
  void MouseDown(int x, int y, int button = 1);
  void MouseUp(int x, int y, int button = 1);
  void DoubleClick(int x, int y, int button = 1);
  void Wheel(int notches);  // at the last mouse position
  void KeyDown(int key, const std::wstring& text = std::wstring());
  void KeyUp(int key);
  // Through the shell's message entry.
  void Deliver(const LLF::Message& msg);

  HLF::Control* Hovered() const { return GetHoveredControl(); }
  HLF::Control* Dragged() const { return GetDraggedControl(); }

  using HLF::Game::GetMonitorFormat;
  using HLF::Game::SetMonitorFormat;

  HLF::XmlDocEx& styles;
  std::vector<HLF::Control*> forgotten;  // addresses only: the controls are gone
  // What the shell did to the window, which stays untouched.
  std::vector<LLF::Point> clientSizes;
  std::vector<bool> systemCursorShown;

 protected:
  void SetClientSize(const LLF::Point& size) override { clientSizes.push_back(size); }
  void SetSystemCursorVisible(bool visible) override { systemCursorShown.push_back(visible); }

 private:
  HLF::Control* _root;
};

}  // namespace QmTest
