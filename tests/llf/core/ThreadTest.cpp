#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "core/Exception.h"
#include "core/Thread.h"

namespace {

using namespace std::chrono_literals;

// A body that waits for a go signal and then returns twice its argument.
class Gated : public LLF::Thread {
 public:
  ~Gated() override {
    Open();
    Terminate();
  }
  int Run(int argument) override {
    std::unique_lock<std::mutex> lock(_m);
    _cv.wait(lock, [this] { return _open; });
    _open = false;
    return argument * 2;
  }
  void Open() {
    std::lock_guard<std::mutex> lock(_m);
    _open = true;
    _cv.notify_all();
  }

 private:
  std::mutex _m;
  std::condition_variable _cv;
  bool _open = false;
};

TEST(ThreadTest, StartRunWaitAndRestart) {
  Gated t;
  EXPECT_EQ(t.Dump(), L"Thread: Handle - Invalid.");
  ASSERT_TRUE(t.Start(21));
  EXPECT_TRUE(t.IsRunning());
  EXPECT_FALSE(t.Start(1)) << "a second start while the body runs";
  EXPECT_EQ(t.Dump().rfind(L"Thread: Handle - 0x", 0), 0u);
  EXPECT_NE(t.GetHandle(), 0u);
  t.Open();
  EXPECT_TRUE(t.Wait());
  EXPECT_FALSE(t.IsRunning());
  EXPECT_EQ(t.GetExitCode(), 42);
  EXPECT_TRUE(t.Wait()) << "nothing left to wait for";
  EXPECT_EQ(t.GetHandle(), 0u);

  // Restarting after the body returned, without a Wait in between.
  ASSERT_TRUE(t.Start(5));
  t.Open();
  while (t.IsRunning()) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(t.GetExitCode(), 10);
  ASSERT_TRUE(t.Start(6));
  t.Open();
  EXPECT_TRUE(t.Wait());
  EXPECT_EQ(t.GetExitCode(), 12);
}

class Looping : public LLF::Thread {
 public:
  ~Looping() override { Terminate(); }
  int Run(int argument) override {
    while (!StopRequested()) {
      ++rounds;
      std::this_thread::sleep_for(1ms);
    }
    return argument;
  }
  std::atomic<int> rounds{0};
};

// Terminate asks the body to stop and joins it; the body ends normally.
TEST(ThreadTest, TerminateStopsCooperatively) {
  Looping t;
  ASSERT_TRUE(t.Start(7));
  while (t.rounds < 3) std::this_thread::sleep_for(1ms);
  t.Terminate();
  EXPECT_FALSE(t.IsRunning());
  EXPECT_EQ(t.GetExitCode(), 7);
  ASSERT_TRUE(t.Start(8)) << "the stop request is cleared by the next start";
  while (t.rounds < 6) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(t.IsRunning());
  // The destructor stops and joins the running body.
}

class Throwing : public LLF::Thread {
 public:
  explicit Throwing(bool framework) : _framework(framework) {}
  ~Throwing() override { Terminate(); }
  int Run(int) override {
    if (_framework) LLF_THROW(0, L"Thread test.", L"");
    throw std::runtime_error("plain");
  }

 private:
  bool _framework;
};

class SelfWaiting : public LLF::Thread {
 public:
  ~SelfWaiting() override { Terminate(); }
  int Run(int) override { return Wait() ? 1 : 2; }
};

TEST(ThreadTest, BodiesThatThrowOrWaitForThemselves) {
  for (bool framework : {true, false}) {
    Throwing t(framework);
    ASSERT_TRUE(t.Start(0));
    EXPECT_TRUE(t.Wait());
    EXPECT_EQ(t.GetExitCode(), -1);
  }
  SelfWaiting s;
  ASSERT_TRUE(s.Start(0));
  EXPECT_TRUE(s.Wait());
  EXPECT_EQ(s.GetExitCode(), 2) << "a body cannot wait for itself";

  LLF::Thread plain;
  ASSERT_TRUE(plain.Start(3));
  EXPECT_TRUE(plain.Wait());
  EXPECT_EQ(plain.GetExitCode(), 0);
  EXPECT_TRUE(plain.IsKindOf("Thread") && plain.IsKindOf("Object"));
}

}  // namespace
