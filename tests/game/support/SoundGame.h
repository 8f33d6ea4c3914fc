#pragma once
// The test game shell with a sound driver (the silent one when no other
// starts), so music, loops and button clicks load as in the game.
#include <string>

#include "TestGame.h"

namespace QmTest {

class SoundGame : public TestGame {
 public:
  using TestGame::TestGame;
  ~SoundGame() override;

 protected:
  bool PostInit(const std::wstring& commandLine) override;

 private:
  bool _withSound = false;
};

}  // namespace QmTest
