#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

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

TEST(MutexTest, GuardsSharedData) {
  Mutex m;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 5000; ++i) {
        MutexLock lock(m);
        MutexLock again(m);  // re-entered inside its own guard
        ++counter;
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(counter, 20000);
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
