#include "TestShell.h"

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "model/Control.h"
#include "model/XmlDocEx.h"

namespace QmTest {

TestShell::TestShell(HLF::Control* root) : styles(*GetStylesDoc()), _root(root) {}

void TestShell::ForgetControl(HLF::Control* control) {
  forgotten.push_back(control);
  HLF::Game::ForgetControl(control);
}

HLF::Control& TestShell::GetRootControl() {
  return _root ? *_root : HLF::Game::GetRootControl();
}

LLF::Message TestShell::WindowMessage(int code, int param, int x, int y, const std::wstring& text) {
  return LLF::Message(&LLF::AppWindow::GetInstance(), code, param, x, y, text);
}

void TestShell::MouseMove(int x, int y) {
  Deliver(WindowMessage(LLF::WMSG_MOUSE_MOVE, 0, x, y));
}

void TestShell::MouseDown(int x, int y, int button) {
  Deliver(WindowMessage(LLF::WMSG_BUTTON_DOWN, button, x, y));
}

void TestShell::MouseUp(int x, int y, int button) {
  Deliver(WindowMessage(LLF::WMSG_BUTTON_UP, button, x, y));
}

void TestShell::DoubleClick(int x, int y, int button) {
  Deliver(WindowMessage(LLF::WMSG_DOUBLE_CLICK, button, x, y));
}

void TestShell::Wheel(int notches) {
  const LLF::Vector2 at = GetMousePosition();
  Deliver(WindowMessage(LLF::WMSG_WHEEL, notches, static_cast<int>(at.x), static_cast<int>(at.y)));
}

void TestShell::KeyDown(int key, const std::wstring& text) {
  Deliver(WindowMessage(LLF::WMSG_KEY_DOWN, key, 0, 0, text));
}

void TestShell::KeyUp(int key) {
  Deliver(WindowMessage(LLF::WMSG_KEY_UP, key, 0, 0));
}

void TestShell::Deliver(const LLF::Message& msg) {
  LLF::Message copy(msg);
  OnMessage(&copy);
}

}  // namespace QmTest
