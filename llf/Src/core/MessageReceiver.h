#pragma once
// Receives messages from the senders it is added to.
#include "core/Message.h"
#include "core/Object.h"

namespace LLF {

class MessageReceiver : public virtual Object {
 public:
  LLF_KIND_OF(MessageReceiver, Object)
  ~MessageReceiver() override = default;

  // The base ignores the message; the result is not used by Send.
  virtual bool OnMessage(Message* msg) {
    (void)msg;
    return true;
  }
};

}  // namespace LLF
