#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ImageTestUtil.h"
#include "LogCapture.h"
#include "SoundTestDoubles.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "render/RendersManager.h"
#include "sound/SoundSystem.h"

namespace {

class NamedCodec : public LLF::ICodec {
 public:
  explicit NamedCodec(const wchar_t* name) : _name(name) {}
  LLF_KIND_OF(NamedCodec, ICodec)
  std::wstring Dump() const override { return _name; }

 private:
  std::wstring _name;
};

class NamedRender : public QmTest::FakeRenderSystem {
 public:
  explicit NamedRender(const wchar_t* name) : _name(name) {}
  std::wstring Dump() const override { return _name; }

 private:
  std::wstring _name;
};

// One registry's rule, through its manager's operations: null and a second
// registration are refused with the registration warning (null has no dump
// to follow it), an unlisted object cannot be unregistered, the list keeps
// registration order and closes up after a removal.
template <class Item, class Manager>
void CheckRegistry(Manager& manager, bool (Manager::*add)(Item*), bool (Manager::*remove)(Item*),
                   unsigned (Manager::*count)() const, Item* (Manager::*get)(unsigned) const, Item* a,
                   Item* b, const std::wstring& twice, const std::wstring& unlisted) {
  const auto Add = [&](Item* item) { return (manager.*add)(item); };
  const auto Remove = [&](Item* item) { return (manager.*remove)(item); };
  const auto Count = [&] { return (manager.*count)(); };
  const auto Get = [&](unsigned index) { return (manager.*get)(index); };
  const unsigned base = Count();
  QmTest::LogCapture log;

  EXPECT_FALSE(Add(nullptr));
  EXPECT_EQ(Count(), base);
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{twice});

  ASSERT_TRUE(Add(a));
  ASSERT_TRUE(Add(b));
  log.Clear();
  EXPECT_FALSE(Add(a));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{twice + a->Dump()});
  ASSERT_EQ(Count(), base + 2);
  EXPECT_EQ(Get(base), a);
  EXPECT_EQ(Get(base + 1), b);
  EXPECT_EQ(Get(base + 2), nullptr);

  EXPECT_TRUE(Remove(a));
  EXPECT_EQ(Get(base), b);
  log.Clear();
  EXPECT_FALSE(Remove(a));
  EXPECT_FALSE(Remove(nullptr));
  EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{unlisted + a->Dump(), unlisted}));
  EXPECT_EQ(Count(), base + 1);

  // Registered again, it goes to the end.
  ASSERT_TRUE(Add(a));
  EXPECT_EQ(Get(base), b);
  EXPECT_EQ(Get(base + 1), a);
  EXPECT_TRUE(Remove(b));
  EXPECT_TRUE(Remove(a));
  EXPECT_EQ(Count(), base);
}

TEST(RegistryTest, EveryRegistryRefusesNullAndDuplicatesAlike) {
  NamedCodec codecA(L"codec A");
  NamedCodec codecB(L"codec B");
  SoundTestDoubles::FakeDriver driverA(true, true);
  SoundTestDoubles::FakeDriver driverB(false, true);
  NamedRender renderA(L"render A");
  NamedRender renderB(L"render B");
  const std::wstring codecTwice = L"Warning: trying to register the same codec twice.\r\n";
  const std::wstring codecUnlisted = L"Warning: trying to unregister unregistered codec.\r\n";

  using Images = LLF::CodecsManager<LLF::Image>;
  using Fonts = LLF::CodecsManager<LLF::Font>;
  using Sounds = LLF::CodecsManager<LLF::AudioObject>;
  using LLF::RendersManager;
  using LLF::SoundSystem;
  const struct {
    const char* registry;
    std::function<void()> check;
  } cases[] = {
      {"image codecs",
       [&] {
         CheckRegistry<LLF::ICodec, Images>(LLF::ImagesManager::GetInstance(), &Images::RegisterCodec,
                                            &Images::UnregisterCodec, &Images::GetCodecsCount,
                                            &Images::GetCodec, &codecA, &codecB, codecTwice, codecUnlisted);
       }},
      {"font codecs",
       [&] {
         CheckRegistry<LLF::ICodec, Fonts>(LLF::FontsManager::GetInstance(), &Fonts::RegisterCodec,
                                           &Fonts::UnregisterCodec, &Fonts::GetCodecsCount, &Fonts::GetCodec,
                                           &codecA, &codecB, codecTwice, codecUnlisted);
       }},
      {"sound codecs",
       [&] {
         CheckRegistry<LLF::ICodec, Sounds>(SoundSystem::GetInstance(), &Sounds::RegisterCodec,
                                            &Sounds::UnregisterCodec, &Sounds::GetCodecsCount,
                                            &Sounds::GetCodec, &codecA, &codecB, codecTwice, codecUnlisted);
       }},
      {"sound drivers",
       [&] {
         CheckRegistry<LLF::ISoundDriver, SoundSystem>(
             SoundSystem::GetInstance(), &SoundSystem::RegisterDriver, &SoundSystem::UnregisterDriver,
             &SoundSystem::GetDriversCount, &SoundSystem::GetDriver, &driverA, &driverB,
             L"Warning: trying to register the same sound driver twice.\r\n",
             L"Warning: trying to unregister not registered sound driver.\r\n");
       }},
      {"render systems",
       [&] {
         CheckRegistry<LLF::IRenderSystem, RendersManager>(
             RendersManager::GetInstance(), &RendersManager::RegisterRender,
             &RendersManager::UnregisterRender, &RendersManager::GetRendersCount, &RendersManager::GetRender,
             &renderA, &renderB, L"Warning: trying to register the same render twice.\r\n",
             L"Warning: trying to unregister not registered render.\r\n");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.registry);
    c.check();
  }
}

}  // namespace
