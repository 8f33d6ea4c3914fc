#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "core/Mutex.h"

namespace {

using LLF::Mutex;
using LLF::MutexLock;

// The owner may take the lock again; another thread gets it only after
// every level is released.
TEST(MutexTest, OwnerReentersAndReleasesEachLevel) {
  Mutex m;
  ASSERT_TRUE(m.Lock());
  ASSERT_TRUE(m.Lock());
  std::atomic<bool> acquired{false};
  std::thread other([&] {
    EXPECT_FALSE(m.Unlock()) << "only the owner releases";
    m.Lock();
    acquired = true;
    m.Unlock();
  });
  EXPECT_TRUE(m.Unlock());
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(acquired) << "still held once";
  EXPECT_TRUE(m.IsLockedByCaller());
  EXPECT_TRUE(m.Unlock());
  other.join();
  EXPECT_TRUE(acquired);
  EXPECT_FALSE(m.IsLockedByCaller());
  EXPECT_FALSE(m.Unlock()) << "not held";
}

// Whether the thread sleeps in the kernel. The thread below has one way to
// sleep: waiting in Lock.
bool IsSleeping(pid_t tid) {
  std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
  const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The state follows the name, which is in parentheses and may hold any.
  const size_t close = text.rfind(')');
  return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'S';
}

// A forced interleaving: another thread tries its increment between this
// thread's read and write of the shared value, after an inner level of the
// lock was released. With the lock it must wait for the write and the two
// updates add up; without, its increment would land in between and be lost.
TEST(MutexTest, GuardsSharedData) {
  Mutex m;
  int counter = 0;
  std::atomic<pid_t> otherTid{0};
  std::atomic<bool> otherEntered{false};
  std::optional<MutexLock> outer(std::in_place, m);
  { MutexLock inner(m); }
  const int read = counter;
  std::thread other([&] {
    otherTid = ::gettid();
    MutexLock lock(m);
    otherEntered = true;
    ++counter;
  });
  while (!otherEntered && (otherTid == 0 || !IsSleeping(otherTid))) std::this_thread::yield();
  EXPECT_FALSE(otherEntered) << "entered while the lock was held";
  counter = read + 1;
  outer.reset();
  other.join();
  EXPECT_EQ(counter, 2);
}

TEST(MutexTest, DumpAndKind) {
  Mutex m;
  EXPECT_EQ(m.Dump().rfind(L"Mutex: Handle - 0x", 0), 0u);
  EXPECT_TRUE(m.IsKindOf("Mutex") && m.IsKindOf("Object"));
  // Destroying a mutex its thread still holds releases it.
  auto* held = new Mutex;
  held->Lock();
  held->Lock();
  delete held;
}

}  // namespace
