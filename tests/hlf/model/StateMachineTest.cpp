#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "MessageRecorder.h"
#include "model/StateMachine.h"

namespace {

// Records each state entered.
struct Machine : HLF::StateMachine {
  using HLF::StateMachine::StateMachine;
  void DoState() override {
    entered.push_back(GetState());
    HLF::StateMachine::DoState();
  }
  std::vector<int> entered;
};

TEST(StateMachineTest, FirstUpdateEntersStateZeroAndReportsToTheFirstReceiver) {
  QmTest::MessageRecorder recorder;
  Machine machine(&recorder);
  EXPECT_TRUE(machine.IsKindOf("StateMachine"));
  EXPECT_TRUE(machine.IsKindOf("MessageReceiver"));
  EXPECT_EQ(machine.GetState(), -1);

  machine.Update(0);
  EXPECT_EQ(machine.GetState(), 0);
  machine.Update(500);
  EXPECT_EQ(machine.entered, std::vector<int>{0});

  machine.SendEmptyMessage();
  EXPECT_EQ(recorder.Codes(), (std::vector<std::string>{"?:1", "?:0"}));
}

// After the first update (state 0), a request, then frames of the given
// lengths: the state and the elapsed count after each frame.
TEST(StateMachineTest, DelaysAndChangesOnTheNextUpdate) {
  struct Case {
    const char* what;
    std::function<void(Machine&)> request;
    std::vector<unsigned> frames;
    std::vector<int> states;
    std::vector<unsigned> elapsed;
    std::vector<int> entered;  // after the first update's 0
  } cases[] = {
      {"delay 100 in 40 ms frames: the count starts at 1, the change comes on the third frame (121 >= 100)",
       [](Machine& m) { m.ChangeState(5, 100); },
       {40, 40, 40, 40},
       {0, 0, 5, 5},
       {41, 81, 0, 0},
       {5}},
      {"no delay: the next update changes even with a frame of 0 ms",
       [](Machine& m) { m.ChangeState(5, 0); },
       {0, 0},
       {5, 5},
       {0, 0},
       {5}},
      {"delay 1: due at once, since the count starts at 1",
       [](Machine& m) { m.ChangeState(5, 1); },
       {0},
       {5},
       {0},
       {5}},
      {"a second request replaces state and delay and restarts the count",
       [](Machine& m) {
         m.ChangeState(5, 100);
         m.ChangeState(6, 50);
       },
       {40, 40},
       {0, 6},
       {41, 0},
       {6}},
      {"the state already current: nothing is entered, the count runs on",
       [](Machine& m) { m.ChangeState(0, 100); },
       {40, 40, 40},
       {0, 0, 0},
       {41, 81, 121},
       {}},
      {"NextState from 3 leads to 4 on the next update",
       [](Machine& m) {
         m.SetState(3);
         m.NextState(0);
       },
       {10},
       {4},
       {0},
       {3, 4}},
      {"SetState enters at once and drops the pending change; delay and count are kept",
       [](Machine& m) {
         m.ChangeState(5, 100);
         m.SetState(7);
       },
       {40, 40, 40},
       {7, 7, 7},
       {41, 81, 121},
       {7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine;
    machine.Update(0);
    machine.entered.clear();
    c.request(machine);
    for (size_t i = 0; i < c.frames.size(); ++i) {
      machine.Update(c.frames[i]);
      EXPECT_EQ(machine.GetState(), c.states[i]) << "frame " << i;
      EXPECT_EQ(machine.GetElapsed(), c.elapsed[i]) << "frame " << i;
    }
    EXPECT_EQ(machine.entered, c.entered);
  }
}

TEST(StateMachineTest, SetStateRunsDoStateBeforeReturning) {
  QmTest::MessageRecorder recorder;
  Machine machine(&recorder);
  machine.ChangeState(2, 300);
  EXPECT_TRUE(machine.SetState(7));
  EXPECT_EQ(recorder.Codes(), std::vector<std::string>{"?:1"});
  EXPECT_EQ(machine.GetState(), 7);
  EXPECT_EQ(machine.GetDelay(), 300u);
}

}  // namespace
