#include "SingletonGuard.h"

#include <cstdlib>
#include <filesystem>

#include "core/Log.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "io/TextEncoding.h"
#include "render/RendersManager.h"
#include "sound/SoundSystem.h"

namespace QmTest {

namespace {

// The variables that keep the run inside its own folders and off real
// devices.
constexpr const char* kEnvironment[] = {
    "HOME", "XDG_DATA_HOME", "TMPDIR", "XDG_RUNTIME_DIR", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"};

// A registry's list through its manager's operations.
template <class Item, class Manager>
std::vector<Item*> List(const Manager& manager, unsigned (Manager::*count)() const,
                        Item* (Manager::*get)(unsigned) const) {
  std::vector<Item*> items;
  for (unsigned i = 0; i < (manager.*count)(); ++i) items.push_back((manager.*get)(i));
  return items;
}

// Puts a registry's list back, in its order. Unregistering a listed object
// never touches it, so objects of a finished test may already be gone.
template <class Item, class Manager>
void Relist(Manager& manager, const std::vector<Item*>& before, const std::vector<Item*>& now,
            bool (Manager::*add)(Item*), bool (Manager::*remove)(Item*)) {
  if (now == before) return;
  for (Item* item : now) (manager.*remove)(item);
  for (Item* item : before) (manager.*add)(item);
}

}  // namespace

SingletonGuard::State SingletonGuard::Capture() {
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  LLF::FontsManager& fonts = LLF::FontsManager::GetInstance();
  LLF::SoundSystem& sound = LLF::SoundSystem::GetInstance();
  LLF::RendersManager& renders = LLF::RendersManager::GetInstance();
  using Images = LLF::CodecsManager<LLF::Image>;
  using Fonts = LLF::CodecsManager<LLF::Font>;
  using Sounds = LLF::CodecsManager<LLF::AudioObject>;
  State state;
  state.imageCodecs = List<LLF::ICodec, Images>(images, &Images::GetCodecsCount, &Images::GetCodec);
  state.fontCodecs = List<LLF::ICodec, Fonts>(fonts, &Fonts::GetCodecsCount, &Fonts::GetCodec);
  state.soundCodecs = List<LLF::ICodec, Sounds>(sound, &Sounds::GetCodecsCount, &Sounds::GetCodec);
  state.drivers = List(sound, &LLF::SoundSystem::GetDriversCount, &LLF::SoundSystem::GetDriver);
  state.renders = List(renders, &LLF::RendersManager::GetRendersCount, &LLF::RendersManager::GetRender);
  state.currentDriver = sound.GetCurrentDriver();
  state.currentRender = renders.GetCurrentRender();
  state.images = images.Dump();
  state.fonts = fonts.Dump();
  state.sounds = sound.Dump();
  state.logFolder = LLF::Log::GetInstance().GetFolder();
  std::error_code error;
  state.workingFolder = std::filesystem::current_path(error).string();
  for (const char* name : kEnvironment) {
    const char* value = std::getenv(name);
    state.environment.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  return state;
}

std::string SingletonGuard::Restore(const State& before) {
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  LLF::FontsManager& fonts = LLF::FontsManager::GetInstance();
  LLF::SoundSystem& sound = LLF::SoundSystem::GetInstance();
  LLF::RendersManager& renders = LLF::RendersManager::GetInstance();
  using Images = LLF::CodecsManager<LLF::Image>;
  using Fonts = LLF::CodecsManager<LLF::Font>;
  using Sounds = LLF::CodecsManager<LLF::AudioObject>;
  const State now = Capture();
  std::string amiss;

  // Nothing current may outlive the test that made it so: its Destroy may be
  // gone with the test, so the guard only reports it.
  if (now.currentDriver != before.currentDriver) amiss += "a sound driver left current\n";
  if (now.currentRender != before.currentRender) amiss += "a render system left current\n";

  Relist<LLF::ICodec, Images>(images, before.imageCodecs, now.imageCodecs, &Images::RegisterCodec,
                              &Images::UnregisterCodec);
  Relist<LLF::ICodec, Fonts>(fonts, before.fontCodecs, now.fontCodecs, &Fonts::RegisterCodec,
                             &Fonts::UnregisterCodec);
  Relist<LLF::ICodec, Sounds>(sound, before.soundCodecs, now.soundCodecs, &Sounds::RegisterCodec,
                              &Sounds::UnregisterCodec);
  Relist(sound, before.drivers, now.drivers, &LLF::SoundSystem::RegisterDriver,
         &LLF::SoundSystem::UnregisterDriver);
  Relist(renders, before.renders, now.renders, &LLF::RendersManager::RegisterRender,
         &LLF::RendersManager::UnregisterRender);

  // Resources left loaded are reported, then deleted when the test found the
  // manager empty (what every test finds, as this guard keeps it so).
  const auto resources = [&amiss](auto& manager, const std::wstring& was) {
    const std::wstring is = manager.Dump();
    if (is == was) return;
    amiss += "resources left loaded:\n" + LLF::Utf8Encode(is) + "\n";
    if (was.find(L" loaded: 0\r\n") != std::wstring::npos) manager.CleanupEverything(true);
  };
  resources(images, before.images);
  resources(fonts, before.fonts);
  resources(sound, before.sounds);

  LLF::Log& log = LLF::Log::GetInstance();
  if (now.logFolder != before.logFolder) log.SetFolder(before.logFolder);

  if (now.workingFolder != before.workingFolder) {
    amiss += "working folder left at " + now.workingFolder + "\n";
    std::error_code error;
    std::filesystem::current_path(before.workingFolder, error);
  }
  for (size_t i = 0; i < before.environment.size(); ++i) {
    const auto& [name, value] = before.environment[i];
    if (now.environment[i].second == value) continue;
    amiss += std::string(name) + " left changed\n";
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  return amiss;
}

void SingletonGuard::OnTestStart(const ::testing::TestInfo&) {
  _before = Capture();
}

void SingletonGuard::OnTestEnd(const ::testing::TestInfo&) {
  // Failures added here still count for the test: it is current until every
  // listener has seen its end.
  const std::string amiss = Restore(_before);
  if (!amiss.empty()) ADD_FAILURE() << "The test left the framework's singletons changed:\n" << amiss;
}

}  // namespace QmTest
