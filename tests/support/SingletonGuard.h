#pragma once
// Brings the framework's singletons back to the state a test found them in,
// so a suite passes as one process, in any order, as it does one test per
// process. The test main installs it around every test. Registrations a test
// leaves behind (starting the application registers every codec, driver and
// render system) are undone and the log goes back to its folder. What cannot
// be undone safely fails the test: resources left loaded, or a render system
// or sound driver left current (it may be gone with the test). A working
// folder or an environment variable of the run left changed is put back and
// fails the test too: the helpers that change them promise to restore them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/ICodec.h"
#include "render/IRenderSystem.h"
#include "sound/ISoundDriver.h"

namespace QmTest {

class SingletonGuard : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo& test) override;
  void OnTestEnd(const ::testing::TestInfo& test) override;

 private:
  struct State {
    std::vector<LLF::ICodec*> imageCodecs;
    std::vector<LLF::ICodec*> fontCodecs;
    std::vector<LLF::ICodec*> soundCodecs;
    std::vector<LLF::ISoundDriver*> drivers;
    std::vector<LLF::IRenderSystem*> renders;
    LLF::ISoundDriver* currentDriver = nullptr;
    LLF::IRenderSystem* currentRender = nullptr;
    std::wstring images;  // the managers' dumps: what they hold
    std::wstring fonts;
    std::wstring sounds;
    std::wstring logFolder;
    std::string workingFolder;
    std::vector<std::pair<const char*, std::optional<std::string>>> environment;
  };
  static State Capture();
  // Restores what can be restored; gives a description of what cannot (the
  // state left as it is), empty when nothing was amiss.
  static std::string Restore(const State& before);

  State _before;
};

}  // namespace QmTest
