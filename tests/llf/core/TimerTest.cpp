#include <gtest/gtest.h>

#include <chrono>

#include "core/Timer.h"

namespace {

unsigned g_now = 0;
unsigned FakeClock() {
  return g_now;
}

TEST(TimerTest, ElapsedDeltaStopAndResume) {
  LLF::Timer t(FakeClock);
  g_now = 1000;
  t.Start(false);
  g_now = 1016;
  EXPECT_EQ(t.GetDelta(), 16);
  g_now = 1050;
  EXPECT_EQ(t.GetDelta(), 34);
  EXPECT_EQ(t.GetElapsed(), 50u);

  g_now = 1100;
  t.Stop();
  g_now = 1200;
  EXPECT_EQ(t.GetElapsed(), 100u) << "stopped time does not grow";
  EXPECT_EQ(t.GetDelta(), 50);
  EXPECT_EQ(t.GetDelta(), 0);
  EXPECT_EQ(t.Dump(), L"Timer: Start Time: 1000 Current Time: 1100 Last Frame Time: 1100 Started: false");

  g_now = 1300;
  t.Start(true);
  EXPECT_EQ(t.GetElapsed(), 300u) << "resuming counts the stopped span";
  g_now = 1400;
  t.Start(false);
  g_now = 1410;
  EXPECT_EQ(t.GetElapsed(), 10u);
  EXPECT_TRUE(t.IsStarted());
}

TEST(TimerTest, ClockWrap) {
  LLF::Timer t(FakeClock);
  g_now = 0xFFFFFFF0u;
  t.Start(false);
  g_now = 0x10;
  EXPECT_EQ(t.GetElapsed(), 0x20u);
  EXPECT_EQ(t.GetDelta(), 0x20);
}

// The clock is the steady clock in whole milliseconds, cut to 32 bits: a
// reading lies between two of the steady clock around it. Timers use it
// unless given another clock.
TEST(TimerTest, SteadyMilliseconds) {
  const auto steadyMs = [] {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  };
  const unsigned before = steadyMs();
  const unsigned reading = LLF::GetTimeMs();
  const unsigned after = steadyMs();
  // Unsigned differences stay right across the wrap.
  EXPECT_LE(reading - before, after - before);

  LLF::Timer defaulted;
  LLF::Timer withoutClock(nullptr);
  for (LLF::Timer* t : {&defaulted, &withoutClock}) {
    const unsigned first = LLF::GetTimeMs();
    const unsigned read = t->Update();
    const unsigned last = LLF::GetTimeMs();
    EXPECT_LE(read - first, last - first);
  }
  EXPECT_TRUE(defaulted.IsKindOf("Timer"));
}

}  // namespace
