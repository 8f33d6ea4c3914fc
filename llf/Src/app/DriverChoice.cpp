#include "app/DriverChoice.h"

#include "core/Log.h"
#include "sound/SoundSystem.h"

namespace LLF {

namespace {

bool TryKind(bool kind, const CandidateChoice& choice) {
  for (unsigned i = 0; i < choice.count(); ++i) {
    if (choice.isKind(i, kind) && choice.start(i)) return choice.makeCurrent(i);
  }
  return false;
}

}  // namespace

bool ChooseCandidate(bool preferredKind, const CandidateChoice& choice) {
  if (TryKind(preferredKind, choice)) return true;
  Log& log = Log::GetInstance();
  log.Write(choice.notPreferred);
  if (TryKind(!preferredKind, choice)) return true;
  log.WriteStarLine();
  log.Write(choice.none);
  log.WriteStarLine();
  return false;
}

bool ChooseSoundDriver(const SoundSettings& settings) {
  SoundSystem& sound = SoundSystem::GetInstance();
  return ChooseRegistered(
      sound, &SoundSystem::GetDriversCount, &SoundSystem::GetDriver, &SoundSystem::SetCurrentDriver,
      &ISoundDriver::IsReal, settings, settings.preferRealDriver,
      L"Warning: Preferred sound driver is not found. Looking for other available drivers.",
      L"Error: Can't find appropriate sound driver, or it can't be initialized.");
}

}  // namespace LLF
