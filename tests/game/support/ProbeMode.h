#pragma once
// A play mode for tests: one target on an empty board. It builds its level
// screen in code (the board, the menu, hint and map buttons on it, the
// clock controls in the game layer), records the sounds it plays and the
// help messages it is asked for, and wins when the target is clicked. A
// hint shows its particles on the target. Levels of the type "probe".
#include <string>
#include <vector>

#include "modes/GameMode.h"

namespace HLF {
class Button;
}

namespace QmTest {

class ProbeMode : public GameMode {
 public:
  // What the next ProbeMode is made with.
  struct Settings {
    bool keepClock = false;
    bool clockOnce = false;
    std::wstring uiSection = L"levui/level_mirror";
  };
  static Settings& NextSettings();
  // The type "probe" in the host's table (with NextSettings), or out of it.
  static void Register();
  static void Unregister();

  ProbeMode();
  ~ProbeMode() override;

  LLF_KIND_OF(ProbeMode, GameMode)

  bool LoadLevel(const LevelInfo& info) override;
  // The level's own key, then the base's save.
  void SaveProgress() override;
  bool ShowHelpMessage(int index) override;
  // The target is found: the level is over (towards the map).
  void Win() override;
  void UseHint() override;

  HLF::Control* GetBoard() const { return manager; }
  HLF::Button* GetMenuButton() const;
  HLF::Button* GetHintButton() const;
  HLF::Button* GetMapButton() const;
  HLF::Control* GetTarget() const { return target; }
  void SetFoundOnce(bool found) { foundOnce = found; }

  const std::vector<std::wstring>& Sounds() const { return sounds; }
  int SoundCount(const std::wstring& id) const;
  // How often ShowHelpMessage was asked for the index.
  int HelpAsked(int index) const;

 protected:
  void PlaySound(const std::wstring& id) override;

 private:
  HLF::Control* target = nullptr;
  std::vector<std::wstring> sounds;
  std::vector<int> helpAsked;
};

}  // namespace QmTest
