#include "core/MessageSender.h"

#include <algorithm>

namespace LLF {

MessageSender::~MessageSender() {
  if (_aliveFlag) {
    *_aliveFlag = false;
  }
}

void MessageSender::Send(Message* msg) {
  // Points the sender at this send's flag for as long as the send runs, and
  // puts the enclosing send's flag back however the send ends: a receiver
  // may throw, and its caller may catch and go on with this sender.
  class AliveScope {
   public:
    explicit AliveScope(MessageSender& sender) : _sender(sender), _outer(sender._aliveFlag) {
      sender._aliveFlag = &_alive;
    }
    ~AliveScope() {
      if (_alive) {
        _sender._aliveFlag = _outer;
      } else if (_outer) {
        *_outer = false;  // the sender is gone: an enclosing send of it ends too
      }
    }
    AliveScope(const AliveScope&) = delete;
    AliveScope& operator=(const AliveScope&) = delete;
    bool Alive() const { return _alive; }

   private:
    MessageSender& _sender;
    bool* _outer;
    bool _alive = true;
  };

  AliveScope scope(*this);
  for (size_t i = 0; i < _receivers.size(); ++i) {
    _receivers[i]->OnMessage(msg);
    if (!scope.Alive()) return;
  }
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
