#include "sound/ISoundDriver.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace LLF {

namespace {

// The drivers that exist. Created before the first driver, so it is
// destroyed after the last one.
struct LiveDrivers {
  std::mutex lock;
  std::vector<const ISoundDriver*> drivers;
};

LiveDrivers& Live() {
  static LiveDrivers live;
  return live;
}

float Effective(float volume, float volumeKoeff, float master) {
  return static_cast<float>(double{volume} * double{volumeKoeff} * double{master} / 10000.0);
}

}  // namespace

ISoundDriver::ISoundDriver() {
  LiveDrivers& live = Live();
  std::lock_guard<std::mutex> lock(live.lock);
  live.drivers.push_back(this);
}

ISoundDriver::~ISoundDriver() {
  LiveDrivers& live = Live();
  std::lock_guard<std::mutex> lock(live.lock);
  live.drivers.erase(std::remove(live.drivers.begin(), live.drivers.end(), this), live.drivers.end());
}

bool ISoundDriver::IsAlive(const ISoundDriver* driver) {
  if (!driver) return false;
  LiveDrivers& live = Live();
  std::lock_guard<std::mutex> lock(live.lock);
  return std::find(live.drivers.begin(), live.drivers.end(), driver) != live.drivers.end();
}

void ISoundDriver::SetMusicMasterVolume(float volume) {
  _musicMasterVolume = volume;
}

void ISoundDriver::SetSoundMasterVolume(float volume) {
  _soundMasterVolume = volume;
}

float ISoundDriver::GetEffectiveMusicVolume(float volume, float volumeKoeff) {
  return Effective(volume, volumeKoeff, _musicMasterVolume);
}

float ISoundDriver::GetEffectiveSoundVolume(float volume, float volumeKoeff) {
  return Effective(volume, volumeKoeff, _soundMasterVolume);
}

unsigned ISoundDriver::OutputRate(unsigned requested) {
  return requested == 8000 || requested == 11025 || requested == 22100 ? requested : 44100;
}

}  // namespace LLF
