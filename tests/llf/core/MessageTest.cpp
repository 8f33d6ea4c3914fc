#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/MessageReceiver.h"
#include "core/MessageSender.h"

namespace {

// Records which receivers got a message, and can run an action on receipt.
struct Recorder : LLF::MessageReceiver {
  Recorder(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
  bool OnMessage(LLF::Message* msg) override {
    log.push_back(name + ":" + std::to_string(msg->GetCode()));
    if (action) action();
    return true;
  }
  std::vector<std::string>& log;
  std::string name;
  std::function<void()> action;
};

TEST(MessageTest, RecordDefaultsSettersAndDump) {
  LLF::Message empty;
  EXPECT_EQ(empty.Dump(), L"Message - code: 0, data primary: 0, data secondary: 0, text data: ");
  EXPECT_EQ(empty.GetSender(), nullptr);

  LLF::MessageSender sender;
  LLF::Message msg(&sender, 7, 1, -20, 30, L"OK");
  EXPECT_EQ(msg.Dump(), L"Message - code: 7, data primary: -20, data secondary: 30, text data: OK");
  LLF::Message copy(msg);
  EXPECT_EQ(copy.GetParam(), 1);
  EXPECT_EQ(copy.GetSender(), &sender);
  EXPECT_EQ(copy.SetCode(11), 11);
  EXPECT_EQ(copy.SetSecondary(-5), -5);
  EXPECT_EQ(msg.GetCode(), 7);
}

TEST(MessageTest, ListKeepsOrderWithoutDuplicates) {
  std::vector<std::string> log;
  Recorder a(log, "a"), b(log, "b"), c(log, "c");
  LLF::MessageSender sender;
  LLF::Message msg(&sender, 3, 0, 0, 0, L"");

  sender.Send(&msg);  // empty list: nothing happens
  EXPECT_TRUE(log.empty());

  EXPECT_TRUE(sender.AddReceiver(&a));
  EXPECT_TRUE(sender.AddReceiver(&b));
  EXPECT_TRUE(sender.AddReceiver(&a));  // already there: still true, no second entry
  EXPECT_TRUE(sender.AddReceiver(&c));
  sender.RemoveReceiver(&b);
  sender.RemoveReceiver(&b);  // absent: no change
  sender.Send(&msg);
  EXPECT_EQ(log, (std::vector<std::string>{"a:3", "c:3"}));
}

// Changes to the list made by a receiver during delivery.
TEST(MessageTest, ListChangesDuringSend) {
  struct Case {
    const char* what;
    std::function<void(LLF::MessageSender&, Recorder&, Recorder&, Recorder&, Recorder&)> setup;
    std::vector<std::string> expected;
  } cases[] = {
      {"a adds d: d gets the same message",
       [](auto& s, auto& a, auto&, auto&, auto& d) { a.action = [&] { s.AddReceiver(&d); }; },
       {"a:1", "b:1", "c:1", "d:1"}},
      {"b removes itself: c moves into its place and is skipped",
       [](auto& s, auto&, auto& b, auto&, auto&) { b.action = [&] { s.RemoveReceiver(&b); }; },
       {"a:1", "b:1"}},
      {"b removes a (earlier): c is skipped",
       [](auto& s, auto& a, auto& b, auto&, auto&) { b.action = [&] { s.RemoveReceiver(&a); }; },
       {"a:1", "b:1"}},
      {"a removes c (later): nobody else is skipped",
       [](auto& s, auto& a, auto&, auto& c, auto&) { a.action = [&] { s.RemoveReceiver(&c); }; },
       {"a:1", "b:1"}},
      {"b empties the list: the send ends",
       [](auto& s, auto&, auto& b, auto&, auto&) { b.action = [&] { s.RemoveAllReceivers(); }; },
       {"a:1", "b:1"}},
  };
  for (auto& c : cases) {
    std::vector<std::string> log;
    Recorder ra(log, "a"), rb(log, "b"), rc(log, "c"), rd(log, "d");
    LLF::MessageSender sender;
    sender.AddReceiver(&ra);
    sender.AddReceiver(&rb);
    sender.AddReceiver(&rc);
    c.setup(sender, ra, rb, rc, rd);
    LLF::Message msg(&sender, 1, 0, 0, 0, L"");
    sender.Send(&msg);
    EXPECT_EQ(log, c.expected) << c.what;
  }
}

TEST(MessageTest, ReceiverMayDestroyTheSenderDuringSend) {
  std::vector<std::string> log;
  Recorder a(log, "a"), b(log, "b");
  auto sender = std::make_unique<LLF::MessageSender>();
  sender->AddReceiver(&a);
  sender->AddReceiver(&b);
  a.action = [&] { sender.reset(); };
  LLF::Message msg(nullptr, 2, 0, 0, 0, L"");
  sender->Send(&msg);
  EXPECT_EQ(log, (std::vector<std::string>{"a:2"}));
  EXPECT_EQ(sender, nullptr);
}

TEST(MessageTest, NestedSendsOfOneSenderSurviveItsDestruction) {
  std::vector<std::string> log;
  Recorder a(log, "a"), b(log, "b");
  auto sender = std::make_unique<LLF::MessageSender>();
  sender->AddReceiver(&a);
  sender->AddReceiver(&b);
  LLF::Message inner(nullptr, 9, 0, 0, 0, L"");
  int depth = 0;
  a.action = [&] {
    if (depth++ == 0) {
      sender->Send(&inner);  // a nested send; b destroys the sender inside it
    }
  };
  b.action = [&] { sender.reset(); };
  LLF::Message outer(nullptr, 1, 0, 0, 0, L"");
  sender->Send(&outer);
  EXPECT_EQ(log, (std::vector<std::string>{"a:1", "a:9", "b:9"}));
}

// A receiver that throws leaves the sender usable: the control tree catches
// such exceptions and goes on. Here a nested send is left by an exception
// caught in the outer one, and a later receiver of the outer send destroys
// the sender, which must end that send.
TEST(MessageTest, ExceptionFromAReceiverLeavesTheSenderSound) {
  std::vector<std::string> log;
  Recorder a(log, "a"), b(log, "b"), c(log, "c");
  auto sender = std::make_unique<LLF::MessageSender>();
  sender->AddReceiver(&a);
  sender->AddReceiver(&b);
  sender->AddReceiver(&c);
  LLF::Message inner(nullptr, 9, 0, 0, 0, L"");
  int depth = 0;
  bool caught = false;
  a.action = [&] {
    if (depth++ > 0) return;
    try {
      sender->Send(&inner);
    } catch (const std::runtime_error&) {
      caught = true;
    }
  };
  b.action = [&] {
    if (log.back() == "b:9") throw std::runtime_error("receiver failed");
  };
  c.action = [&] { sender.reset(); };
  LLF::Message outer(nullptr, 1, 0, 0, 0, L"");
  sender->Send(&outer);
  EXPECT_TRUE(caught);
  EXPECT_EQ(log, (std::vector<std::string>{"a:1", "a:9", "b:9", "b:1", "c:1"}));
  EXPECT_EQ(sender, nullptr);

  // An exception straight out of Send: the sender still delivers, and its
  // destruction inside a later send ends that send.
  std::vector<std::string> log2;
  Recorder d(log2, "d"), e(log2, "e");
  auto second = std::make_unique<LLF::MessageSender>();
  second->AddReceiver(&d);
  second->AddReceiver(&e);
  d.action = [&] { throw std::runtime_error("receiver failed"); };
  LLF::Message msg(nullptr, 4, 0, 0, 0, L"");
  EXPECT_THROW(second->Send(&msg), std::runtime_error);
  d.action = [&] { second.reset(); };
  second->Send(&msg);
  EXPECT_EQ(log2, (std::vector<std::string>{"d:4", "d:4"}));
}

}  // namespace
