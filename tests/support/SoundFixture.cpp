#include "SoundFixture.h"

#include <algorithm>
#include <fstream>

#include "TestEnv.h"
#include "core/StringUtils.h"
#include "sound/SoundCodecSilent.h"
#include "sound/SoundDriverSilent.h"

namespace QmTest {

void SoundFixture::TearDown() {
  system.CleanupEverything(true);
  system.ReleaseCurrentDriver();
  while (system.GetDriversCount() > 0) system.UnregisterDriver(system.GetDriver(0));
  for (LLF::ICodec* codec : _codecs) system.UnregisterCodec(codec);
  _codecs.clear();
}

void SoundFixture::Register(LLF::ICodec* codec) {
  ASSERT_TRUE(system.RegisterCodec(codec));
  _codecs.push_back(codec);
}

void SoundFixture::Register(LLF::ICodec* codec, LLF::ISoundDriver* driver) {
  Register(codec);
  ASSERT_TRUE(system.RegisterDriver(driver));
}

void SoundFixture::Unregister(LLF::ICodec* codec) {
  ASSERT_TRUE(system.UnregisterCodec(codec));
  _codecs.erase(std::remove(_codecs.begin(), _codecs.end(), codec), _codecs.end());
}

std::wstring SoundFixture::WriteFile(const std::string& name, const std::string& content) {
  const std::string path = NewTempFolder("sounds") + "/" + name;
  std::ofstream(path, std::ios::binary) << content;
  return LLF::FromOsPath(path);
}

void SoundFixture::UseSilentDriver() {
  Register(&LLF::SoundCodecSilent::GetInstance(), &LLF::SoundDriverSilent::GetInstance());
  ASSERT_TRUE(system.SetCurrentDriver(system.GetDriversCount() - 1));
}

LLF::Sound* SoundFixture::AddSilentSound(const std::wstring& id, float volume) {
  return system.LoadSound(WriteFile("a.wav", "RIFF and some bytes"), 0, volume, 100.0f, id, false);
}

LLF::Music* SoundFixture::AddSilentMusic(const std::wstring& id, float volume) {
  return system.LoadMusic(WriteFile("a.ogg", "OggS and some bytes"), 1, volume, 100.0f, id, false);
}

}  // namespace QmTest
