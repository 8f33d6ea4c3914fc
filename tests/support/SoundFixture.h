#pragma once
// Base of the sound tests' fixtures: registers codecs and drivers with the
// sound system and leaves it empty again after each test (objects freed,
// the current driver released, drivers and codecs unregistered).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ICodec.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"

namespace QmTest {

class SoundFixture : public ::testing::Test {
 protected:
  void TearDown() override;

  void Register(LLF::ICodec* codec);
  void Register(LLF::ICodec* codec, LLF::ISoundDriver* driver);
  void Unregister(LLF::ICodec* codec);
  // A new file with the content in a fresh folder; its path.
  static std::wstring WriteFile(const std::string& name, const std::string& content);
  // The silent codec and driver registered, the driver current: its codec
  // makes a sound or a piece of music of any file.
  void UseSilentDriver();
  // A sound or a piece of music of the silent codec, kept under the id.
  LLF::Sound* AddSilentSound(const std::wstring& id, float volume = 100.0f);
  LLF::Music* AddSilentMusic(const std::wstring& id, float volume = 100.0f);

  LLF::SoundSystem& system = LLF::SoundSystem::GetInstance();

 private:
  std::vector<LLF::ICodec*> _codecs;
};

}  // namespace QmTest
