#include "TestShell.h"

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "model/Control.h"

namespace QmTest {

void TestShell::ForgetControl(HLF::Control* control) {
  forgotten.push_back(control);
  if (_hovered == control) {
    _hovered = nullptr;
  }
  if (_dragged == control) {
    _dragged = nullptr;
  }
}

LLF::Message TestShell::WindowMessage(int code, int param, int x, int y, const std::wstring& text) {
  return LLF::Message(&LLF::AppWindow::GetInstance(), code, param, x, y, text);
}

bool TestShell::MouseMove(int x, int y) {
  return Deliver(WindowMessage(LLF::WMSG_MOUSE_MOVE, 0, x, y));
}

bool TestShell::MouseDown(int x, int y, int button) {
  return Deliver(WindowMessage(LLF::WMSG_BUTTON_DOWN, button, x, y));
}

bool TestShell::MouseUp(int x, int y, int button) {
  return Deliver(WindowMessage(LLF::WMSG_BUTTON_UP, button, x, y));
}

bool TestShell::DoubleClick(int x, int y, int button) {
  return Deliver(WindowMessage(LLF::WMSG_DOUBLE_CLICK, button, x, y));
}

bool TestShell::Wheel(int notches) {
  return Deliver(
      WindowMessage(LLF::WMSG_WHEEL, notches, static_cast<int>(_mousePos.x), static_cast<int>(_mousePos.y)));
}

bool TestShell::KeyDown(int key, const std::wstring& text) {
  return Deliver(WindowMessage(LLF::WMSG_KEY_DOWN, key, 0, 0, text));
}

bool TestShell::KeyUp(int key) {
  return Deliver(WindowMessage(LLF::WMSG_KEY_UP, key, 0, 0));
}

bool TestShell::Deliver(const LLF::Message& msg) {
  bool consumed = false;
  {
    HLF::Control::DispatchScope scope;
    if (msg.GetSender() == &LLF::AppWindow::GetInstance() && HLF::Control::IsMouseMessage(msg.GetCode())) {
      TrackMouse(msg);
    }
    consumed = _root && _root->ProcessMessage(msg);
  }
  HLF::GameServices::DeleteDeferred();
  return consumed;
}

void TestShell::TrackMouse(const LLF::Message& msg) {
  _mousePos = LLF::Vector2(static_cast<float>(msg.GetPrimary()), static_cast<float>(msg.GetSecondary()));
  const LLF::Point mouse(msg.GetPrimary(), msg.GetSecondary());
  HLF::Control* target = _root ? _root->GetChildAtPoint(_mousePos) : nullptr;
  switch (msg.GetCode()) {
    case LLF::WMSG_MOUSE_MOVE:
      if (_dragged && _dragged->IsDragging()) {
        _dragged->OnDrag(mouse, _mousePos - _lastDragPos);
        _lastDragPos = _mousePos;
      } else if (_dragged && _lastDragPos != _mousePos && _dragged->IsEnabled()) {
        _dragged->OnDragStart(mouse);
        _lastDragPos = _mousePos;
      }
      if (target != _hovered) {
        if (_hovered) {
          _hovered->OnMouseLeave();
        }
        _hovered = target;
        if (_hovered) {
          _hovered->OnMouseEnter();
        }
      }
      break;
    case LLF::WMSG_BUTTON_DOWN:
      if (_hovered && !_dragged && (_hovered->IsDraggable() || _hovered->IsPassDragToParent())) {
        HLF::Control* c = _hovered;
        while (c->IsPassDragToParent() && c->GetParent() && c->GetParent()->IsDraggable()) {
          c = c->GetParent();
        }
        if (_hovered->IsDraggable() || c != _hovered) {
          _dragged = c;
        }
      }
      break;
    case LLF::WMSG_BUTTON_UP:
      if (_dragged) {
        _dragged->OnDragEnd();
        _dragged = nullptr;
      }
      break;
    default:
      break;
  }
}

}  // namespace QmTest
