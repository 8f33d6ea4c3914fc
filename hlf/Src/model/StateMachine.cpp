#include "model/StateMachine.h"

namespace HLF {

StateMachine::StateMachine(LLF::MessageReceiver* receiver) {
  if (receiver) {
    AddReceiver(receiver);
  }
}

bool StateMachine::ChangeState(int state, unsigned delay) {
  _next = state;
  _delay = delay;
  if (delay != 0) {
    _elapsed = 1;
  }
  return true;
}

bool StateMachine::NextState(unsigned delay) {
  return ChangeState(_current + 1, delay);
}

void StateMachine::Update(unsigned dt) {
  if (_elapsed != 0) {
    _elapsed += dt;
  }
  if (_delay != 0 && _delay > _elapsed) {
    return;
  }
  if (_next != _current) {
    _current = _next;
    _delay = 0;
    _elapsed = 0;
    DoState();
  }
}

void StateMachine::DoState() {
  SendCode(SM_MSG_DOSTATE);
}

bool StateMachine::SetState(int state) {
  _current = _next = state;
  DoState();
  return true;
}

void StateMachine::SendEmptyMessage() {
  SendCode(SM_MSG_EMPTY);
}

void StateMachine::SendCode(int code, int param, int primary, int secondary, const std::wstring& text) {
  LLF::Message msg(this, code, param, primary, secondary, text);
  Send(&msg);
}

}  // namespace HLF
