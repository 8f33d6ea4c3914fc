#include "SoundGame.h"

namespace QmTest {

SoundGame::~SoundGame() {
  // The driver goes only after the shell has stopped using it.
  Stop();
  if (_withSound) ReleaseSoundDriver();
}

bool SoundGame::PostInit(const std::wstring& commandLine) {
  _withSound = ChooseSoundDriver();
  return TestGame::PostInit(commandLine);
}

}  // namespace QmTest
