#include "DriverChoice.h"

#include "Log.h"
#include "SoundSystem.h"

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
  CandidateChoice choice;
  choice.count = [&sound] { return sound.GetDriversCount(); };
  choice.isKind = [&sound](unsigned index, bool real) {
    ISoundDriver* driver = sound.GetDriver(index);
    return driver && driver->IsReal() == real;
  };
  choice.start = [&sound, &settings](unsigned index) {
    ISoundDriver* driver = sound.GetDriver(index);
    return driver && driver->Init(settings);
  };
  choice.makeCurrent = [&sound](unsigned index) { return sound.SetCurrentDriver(index); };
  choice.notPreferred = L"Warning: Preferred sound driver is not found. Looking for other available drivers.";
  choice.none = L"Error: Can't find appropriate sound driver, or it can't be initialized.";
  return ChooseCandidate(settings.preferRealDriver, choice);
}

}  // namespace LLF
