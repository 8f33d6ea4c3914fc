#include "core/MessageSender.h"

#include <algorithm>

namespace LLF {

MessageSender::~MessageSender() {
  if (_aliveFlag) {
    *_aliveFlag = false;
  }
}

void MessageSender::Send(Message* msg) {
  bool alive = true;
  bool* outer = _aliveFlag;  // a nested Send restores the outer one's flag
  _aliveFlag = &alive;
  for (size_t i = 0; i < _receivers.size(); ++i) {
    _receivers[i]->OnMessage(msg);
    if (!alive) {
      // This sender is gone; tell an enclosing Send of the same sender too.
      if (outer) {
        *outer = false;
      }
      return;
    }
  }
  _aliveFlag = outer;
}

bool MessageSender::AddReceiver(MessageReceiver* receiver) {
  if (!HasReceiver(receiver)) {
    _receivers.push_back(receiver);
  }
  return true;
}

void MessageSender::RemoveReceiver(MessageReceiver* receiver) {
  auto it = std::find(_receivers.begin(), _receivers.end(), receiver);
  if (it != _receivers.end()) {
    _receivers.erase(it);
  }
}

void MessageSender::RemoveAllReceivers() {
  _receivers.clear();
}

bool MessageSender::HasReceiver(const MessageReceiver* receiver) const {
  return std::find(_receivers.begin(), _receivers.end(), receiver) != _receivers.end();
}

}  // namespace LLF
