#include <gtest/gtest.h>

#include "math/Vector2.h"
#include "model/Control.h"
#include "modifiers/Effect.h"
#include "modifiers/Modifier.h"
#include "modifiers/Mover.h"

namespace {

using HLF::Control;
using LLF::Vector2;

// A mover that counts its deletions.
class CountedMover : public HLF::Mover {
 public:
  CountedMover(int* deleted, Control* target)
      : Mover(target, nullptr, Vector2(0, 0), Vector2(100, 0), 100, 0, false), _deleted(deleted) {}
  ~CountedMover() override { ++*_deleted; }

 private:
  int* _deleted;
};

class CountedEffect : public HLF::Effect {
 public:
  explicit CountedEffect(int* deleted) : _deleted(deleted) {}
  ~CountedEffect() override { ++*_deleted; }

 private:
  int* _deleted;
};

// The holder updates its modifiers; unless told to keep it, it becomes
// their target. A kept target may be another control, or none at all.
TEST(ControlModifiersTest, AddModifierTakesTheTargetUnlessToldToKeepIt) {
  enum Target { NONE, OTHER };
  const struct {
    bool keepTarget;
    Target initial;
    bool start;
  } cases[] = {{false, NONE, false}, {false, OTHER, true}, {true, OTHER, true}, {true, NONE, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "keepTarget " << c.keepTarget << ", initial target "
                                    << (c.initial == OTHER ? "other" : "none") << ", started " << c.start);
    Control holder(L"holder");
    Control other(L"other");
    int deleted = 0;
    auto* mover = new CountedMover(&deleted, c.initial == OTHER ? &other : nullptr);
    ASSERT_TRUE(c.start ? holder.AddAndStartModifier(mover, c.keepTarget)
                        : holder.AddModifier(mover, c.keepTarget));
    ASSERT_EQ(holder.GetModifiersCount(), 1);
    EXPECT_EQ(holder.GetModifier(0), mover);
    Control* const expected = !c.keepTarget ? &holder : c.initial == OTHER ? &other : nullptr;
    EXPECT_EQ(mover->GetTarget(), expected);
    EXPECT_EQ(mover->IsRunning(), c.start);

    // Held twice it would be deleted twice.
    EXPECT_FALSE(holder.AddModifier(mover, c.keepTarget));
    EXPECT_EQ(holder.GetModifiersCount(), 1);

    // The holder's update moves the modifier's target, whichever it is.
    if (!c.start) mover->Start();
    holder.Update(50);
    EXPECT_EQ(holder.GetPosition(), Vector2(expected == &holder ? 50 : 0, 0));
    EXPECT_EQ(other.GetPosition(), Vector2(expected == &other ? 50 : 0, 0));
    EXPECT_EQ(deleted, 0);
  }
  Control holder;
  EXPECT_FALSE(holder.AddModifier(nullptr, true));
  EXPECT_FALSE(holder.AddAndStartModifier(nullptr, false));
  EXPECT_EQ(holder.GetModifiersCount(), 0);
}

TEST(ControlModifiersTest, DeleteModifierDeletesOnlyWhatTheControlHolds) {
  int deleted = 0;
  Control holder(L"holder");
  Control other(L"other");
  auto* a = new CountedMover(&deleted, nullptr);
  auto* b = new CountedMover(&deleted, nullptr);
  auto* c = new CountedMover(&deleted, nullptr);
  auto* elsewhere = new CountedMover(&deleted, nullptr);
  for (HLF::Modifier* m : {a, b, c}) ASSERT_TRUE(holder.AddModifier(m));
  ASSERT_TRUE(other.AddModifier(elsewhere));

  EXPECT_TRUE(holder.DeleteModifier(b));
  EXPECT_EQ(deleted, 1);
  ASSERT_EQ(holder.GetModifiersCount(), 2);
  EXPECT_EQ(holder.GetModifier(0), a);
  EXPECT_EQ(holder.GetModifier(1), c);
  EXPECT_EQ(holder.GetModifier(2), nullptr);

  // Another control's modifier and null are refused; nothing is deleted.
  EXPECT_FALSE(holder.DeleteModifier(elsewhere));
  EXPECT_FALSE(holder.DeleteModifier(nullptr));
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(holder.GetModifiersCount(), 2);
  EXPECT_EQ(other.GetModifier(0), elsewhere);

  EXPECT_TRUE(holder.DeleteModifier(a));
  EXPECT_TRUE(holder.DeleteModifier(c));
  EXPECT_EQ(deleted, 3);
  EXPECT_EQ(holder.GetModifiersCount(), 0);
}

// A removed effect is the caller's again: not deleted, neither then nor
// with the control, and free to join another control.
TEST(ControlModifiersTest, RemoveEffectGivesTheEffectBack) {
  int deleted = 0;
  auto* effect = new CountedEffect(&deleted);
  auto* kept = new CountedEffect(&deleted);
  {
    Control holder(L"holder");
    ASSERT_TRUE(holder.AddEffect(effect));
    ASSERT_TRUE(holder.AddEffect(kept));
    EXPECT_EQ(effect->GetTarget(), &holder);

    EXPECT_TRUE(holder.RemoveEffect(effect));
    EXPECT_EQ(deleted, 0);
    ASSERT_EQ(holder.GetEffectsCount(), 1);
    EXPECT_EQ(holder.GetEffect(0), kept);
    EXPECT_FALSE(holder.RemoveEffect(effect));
    EXPECT_FALSE(holder.RemoveEffect(nullptr));
  }
  // The control deleted the effect it still held, and only that one.
  EXPECT_EQ(deleted, 1);

  Control next(L"next");
  ASSERT_TRUE(next.AddEffect(effect));
  EXPECT_EQ(effect->GetTarget(), &next);
  ASSERT_TRUE(next.RemoveEffect(effect));
  delete effect;
  EXPECT_EQ(deleted, 2);
}

}  // namespace
