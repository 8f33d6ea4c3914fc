#include "sound/SoundDriverSilent.h"

#include "core/Log.h"

namespace LLF {

bool SoundDriverSilent::Init(const SoundSettings& settings) {
  _settings = settings;
  Log::GetInstance().Write(
      L"SoundDriverSilent initialized successfully. Application sound output is disabled.");
  return true;
}

void SoundDriverSilent::Destroy() {
  Log::GetInstance().Write(L"SoundDriverSilent destroyed successfully.");
}

}  // namespace LLF
