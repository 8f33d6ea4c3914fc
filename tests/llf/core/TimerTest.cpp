#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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

TEST(TimerTest, SteadyMilliseconds) {
  const unsigned a = LLF::GetTimeMs();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const unsigned elapsed = LLF::GetTimeMs() - a;
  EXPECT_GE(elapsed, 20u);
  EXPECT_LT(elapsed, 5000u);
  LLF::Timer t;
  t.Start(false);
  EXPECT_LT(t.GetElapsed(), 1000u);
  EXPECT_TRUE(t.IsKindOf("Timer"));
}

}  // namespace
