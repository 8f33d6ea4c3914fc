#pragma once
// Listens to any number of senders and keeps every message it gets, in
// order, as "sender:code" (the sender's control name, or "?"), with the
// full record beside it. An optional action runs on each message, so a
// test can act from inside a delivery (delete the sender, add a sibling).
// The recorder must outlive the senders it listens to.
#include <functional>
#include <string>
#include <vector>

#include "core/MessageReceiver.h"
#include "core/MessageSender.h"

namespace QmTest {

class MessageRecorder : public LLF::MessageReceiver {
 public:
  struct Entry {
    std::string sender;
    int code = 0;
    int param = 0;
    int primary = 0;
    int secondary = 0;
    std::wstring text;
  };

  void Listen(LLF::MessageSender* sender) { sender->AddReceiver(this); }
  bool OnMessage(LLF::Message* msg) override;

  const std::vector<Entry>& Entries() const { return _entries; }
  // "sender:code" per message.
  std::vector<std::string> Codes() const;
  // Only the messages of these codes.
  std::vector<std::string> Codes(const std::vector<int>& only) const;
  void Clear() { _entries.clear(); }

  std::function<void(const LLF::Message&)> action;

 private:
  std::vector<Entry> _entries;
};

}  // namespace QmTest
