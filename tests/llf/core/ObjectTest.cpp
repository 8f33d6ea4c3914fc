#include <gtest/gtest.h>

#include "core/MessageReceiver.h"
#include "core/MessageSender.h"
#include "core/Object.h"
#include "core/Singleton.h"

namespace {

// A chain with one framework base, and a class with two framework bases.
class Base : public virtual LLF::Object {
 public:
  LLF_KIND_OF(Base, Object)
};
class Derived : public Base {
 public:
  LLF_KIND_OF(Derived, Base)
};
class Both : public LLF::MessageSender, public LLF::MessageReceiver {
 public:
  LLF_KIND_OF2(Both, MessageSender, MessageReceiver)
};

class Counted : public virtual LLF::Object, public LLF::Singleton<Counted> {
  LLF_SINGLETON(Counted)
 public:
  LLF_KIND_OF(Counted, Object)
  static int constructed;

 private:
  Counted() { ++constructed; }
};
int Counted::constructed = 0;

TEST(ObjectTest, TypeTestFollowsTheBaseChain) {
  Derived derived;
  Both both;
  LLF::Object root;
  struct Case {
    const LLF::Object* object;
    const char* name;
    bool expected;
  } cases[] = {
      {&root, "Object", true},
      {&root, "object", false},
      {&derived, "Derived", true},
      {&derived, "Base", true},
      {&derived, "Object", true},
      {&derived, "derived", false},
      {&derived, "Both", false},
      {&both, "Both", true},
      {&both, "MessageSender", true},
      {&both, "MessageReceiver", true},
      {&both, "Object", true},
      {&both, "Derived", false},
      {&derived, "Singleton", false},
      {&LLF::Singleton<Counted>::GetInstance(), "Singleton", false},
      {&LLF::Singleton<Counted>::GetInstance(), "Counted", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.object->IsKindOf(c.name), c.expected) << c.name;
  }
}

TEST(ObjectTest, TwoBaseObjectHasOneRoot) {
  Both both;
  LLF::Object* viaSender = static_cast<LLF::MessageSender*>(&both);
  LLF::Object* viaReceiver = static_cast<LLF::MessageReceiver*>(&both);
  LLF::Object* direct = &both;
  EXPECT_EQ(viaSender, viaReceiver);
  EXPECT_EQ(direct, viaSender);
}

TEST(ObjectTest, SingletonIsCreatedOnce) {
  Counted& a = Counted::GetInstance();
  const int after = Counted::constructed;
  Counted& b = Counted::GetInstance();
  EXPECT_EQ(&a, &b);
  EXPECT_EQ(Counted::constructed, after);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(LLF::Object().Dump(), L"Object dump!");
}

}  // namespace
