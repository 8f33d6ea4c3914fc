#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ControlProbe.h"
#include "FrameDriver.h"
#include "LogRecorder.h"
#include "model/Control.h"
#include "model/GameServices.h"

namespace {

using QmTest::Journal;
using QmTest::Probe;

struct Tree {
  Journal journal;
  Probe root{&journal, L"root"};
  Probe* a = Probe::Add(&root, &journal, L"a", 0, 0, 10, 10);
  Probe* b = Probe::Add(&root, &journal, L"b", 0, 0, 10, 10);
  Probe* c = Probe::Add(&root, &journal, L"c", 0, 0, 10, 10);

  // Runs once, from b's first update.
  void OnFirstUpdateOfB(std::function<void()> action) {
    b->onUpdate = [action, done = false]() mutable {
      if (!done) {
        done = true;
        action();
      }
    };
  }
};

// Each child is updated exactly once per frame while a handler changes the
// list, and the parent's state machine runs after its children.
TEST(ControlUpdateTest, EachChildOncePerFrameWhileSiblingsComeAndGo) {
  struct Case {
    const char* what;
    std::function<void(Tree&)> action;
    Journal firstFrame;
    Journal secondFrame;
  } cases[] = {
      {"b adds a sibling on top",
       [](Tree& t) { Probe::Add(&t.root, &t.journal, L"d", 0, 0, 10, 10); },
       {"root:update", "a:update", "a:state0", "b:update", "b:state0", "c:update", "c:state0", "d:update",
        "d:state0", "root:state0"},
       {"root:update", "a:update", "b:update", "c:update", "d:update"}},
      {"b adds a sibling at the bottom",
       [](Tree& t) { t.root.AddChildFront(new Probe(&t.journal, L"e")); },
       {"root:update", "a:update", "a:state0", "b:update", "b:state0", "e:update", "e:state0", "c:update",
        "c:state0", "root:state0"},
       {"root:update", "e:update", "a:update", "b:update", "c:update"}},
      {"b removes an updated sibling",
       [](Tree& t) { t.root.RemoveChild(t.a, true); },
       {"root:update", "a:update", "a:state0", "b:update", "b:state0", "c:update", "c:state0", "root:state0"},
       {"root:update", "b:update", "c:update"}},
      {"b removes a sibling not yet updated",
       [](Tree& t) { t.root.RemoveChild(t.c, true); },
       {"root:update", "a:update", "a:state0", "b:update", "b:state0", "root:state0"},
       {"root:update", "a:update", "b:update"}},
      {"b removes itself",
       [](Tree& t) { t.root.RemoveChild(t.b, true); },
       {"root:update", "a:update", "a:state0", "b:update", "b:state0", "c:update", "c:state0", "root:state0"},
       {"root:update", "a:update", "c:update"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Tree tree;
    tree.OnFirstUpdateOfB([&] { c.action(tree); });
    QmTest::FrameDriver frames(&tree.root);
    frames.Step(40);
    EXPECT_EQ(QmTest::Only(tree.journal, {"update", "state0"}), c.firstFrame);
    // A control removed during the frame is gone after it.
    EXPECT_EQ(HLF::GameServices::GetDeletesPending(), 0u);
    tree.journal.clear();
    frames.Step(40);
    EXPECT_EQ(QmTest::Only(tree.journal, {"update"}), c.secondFrame);
    // Without PreUpdate the flags stay: nothing is updated a second time.
    tree.journal.clear();
    tree.root.Update(40);
    EXPECT_EQ(QmTest::Only(tree.journal, {"update"}), Journal{"root:update"});
  }
}

TEST(ControlUpdateTest, AnExceptionIsLoggedAndEndsOnlyItsOwnPart) {
  struct Case {
    const char* what;
    std::function<void(Tree&)> arm;
    const wchar_t* warning;
    Journal journal;
  } cases[] = {
      // Caught by b's own update: the siblings go on.
      {"in b's state machine",
       [](Tree& t) { t.b->throwOnDoState = true; },
       L"Warning: Exception caught in Control::Update.",
       {"root:update", "a:update", "a:state0", "a:updated", "b:update", "b:state0", "b:updated", "c:update",
        "c:state0", "c:updated", "root:state0", "root:updated"}},
      // Thrown outside b's guard: the parent's pass over its children ends,
      // the parent's own state machine still runs.
      {"before b's update",
       [](Tree& t) { t.b->onUpdate = [] { throw std::runtime_error("b"); }; },
       L"Warning: Exception caught in Control::UpdateChilds.",
       {"root:update", "a:update", "a:state0", "a:updated", "b:update", "root:state0", "root:updated"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QmTest::LogRecorder log;
    Tree tree;
    c.arm(tree);
    tree.root.PreUpdate();
    tree.root.Update(10);
    EXPECT_EQ(log.Count(L"Warning: Exception caught"), 1);
    EXPECT_EQ(log.Count(c.warning), 1);
    EXPECT_EQ(QmTest::Only(tree.journal, {"update", "updated", "state0"}), c.journal);
  }
}

}  // namespace
