#pragma once
// Holds an ordered list of receivers (not owned, no duplicates) and hands
// each message to all of them at once, on the calling thread.
#include <vector>

#include "core/MessageReceiver.h"
#include "core/Object.h"

namespace LLF {

class MessageSender : public virtual Object {
 public:
  MessageSender() = default;
  // A copy starts with the same receivers but is not inside anyone's Send.
  MessageSender(const MessageSender& other) : Object(other), _receivers(other._receivers) {}
  MessageSender& operator=(const MessageSender& other) {
    _receivers = other._receivers;
    return *this;
  }

  LLF_KIND_OF(MessageSender, Object)
  ~MessageSender() override;

  // Delivers msg to each receiver in list order. The list's length is read
  // again before every step, so a receiver added during the send gets the
  // message too, and removing a receiver at or before the current position
  // skips the one that moves into its place. The send also ends quietly when
  // a receiver destroys this sender.
  virtual void Send(Message* msg);
  virtual bool AddReceiver(MessageReceiver* receiver);
  virtual void RemoveReceiver(MessageReceiver* receiver);
  virtual void RemoveAllReceivers();

  const std::vector<MessageReceiver*>& GetReceivers() const { return _receivers; }
  bool HasReceiver(const MessageReceiver* receiver) const;

 private:
  std::vector<MessageReceiver*> _receivers;
  // Set while a Send runs; points at a flag on that Send's stack which the
  // destructor clears, so the loop never touches a dead sender.
  bool* _aliveFlag = nullptr;
};

}  // namespace LLF
