#include "ProbeMode.h"

#include <algorithm>

#include "map/ZentaLevelMap.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "modes/GameModeHost.h"
#include "shell/Game.h"
#include "shell/Player.h"
#include "widgets/Button.h"

namespace QmTest {

ProbeMode::Settings& ProbeMode::NextSettings() {
  static Settings settings;
  return settings;
}

void ProbeMode::Register() {
  GameModeHost::RegisterType(L"probe", [] { return new ProbeMode(); });
}

void ProbeMode::Unregister() {
  GameModeHost::UnregisterType(L"probe");
  NextSettings() = Settings();
}

ProbeMode::ProbeMode() {
  const Settings& settings = NextSettings();
  keepClock = settings.keepClock;
  clockOnce = settings.clockOnce;
  uiSection = settings.uiSection;
  particlePrefix = L"ProbeLevel";
  manager = new HLF::Control(L"probe_board");
  manager->SetSize(800, 600);
  manager->SetRenderable(false);
}

ProbeMode::~ProbeMode() {
  // The hint's particles live on the board.
  RemoveHintEmitter();
  if (HLF::Control* parent = manager->GetParent()) {
    parent->RemoveChild(manager, true);
  } else {
    delete manager;
  }
}

bool ProbeMode::LoadLevel(const LevelInfo& info) {
  if (!GameMode::LoadLevel(info)) {
    return false;
  }
  SetLevelKey(info.name);
  target = new HLF::Control(L"target");
  target->SetPosition(380, 280);
  target->SetSize(40, 40);
  manager->AddChild(target);
  const wchar_t* names[] = {L"menu_button", L"hint_button", L"map_button"};
  const wchar_t* texts[] = {L"Menu", L"Hint", L"Map"};
  HLF::Control** slots[] = {&menuButton, &hintButton, &mapButton};
  for (int i = 0; i < 3; ++i) {
    HLF::Control* button = HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
        std::wstring(L"<button name=\"") + names[i] + L"\" style=\"DialogButton\" size=\"120,36\" text=\"" +
        texts[i] + L"\" />");
    if (!button) {
      return false;
    }
    button->SetPosition(20.0f + 130.0f * i, 552.0f);
    manager->AddChild(button);
    *slots[i] = button;
  }
  ConnectButtons();
  HLF::Control* layer = HLF::Game::GetInstance()->GetGameLayer();
  layer->AddChild(manager);
  layer->AddChild(clockRibbon);
  layer->AddChild(clockSand);
  return true;
}

void ProbeMode::SaveProgress() {
  HLF::Player player;
  player.SetVar(ZentaLevelMap::DayProgressPath(ZentaLevelMap::GetCurrentDay()) + L"/" + levelKey, L"probed",
                L"1");
  GameMode::SaveProgress();
}

bool ProbeMode::ShowHelpMessage(int index) {
  helpAsked.push_back(index);
  return GameMode::ShowHelpMessage(index);
}

void ProbeMode::Win() {
  playing = false;
  paused = true;
  ChangeState(GM_STATE_QUIT, 0);
}

void ProbeMode::UseHint() {
  ShowHintParticles(LLF::Vector2(400, 300), manager);
  GameMode::UseHint();
}

HLF::Button* ProbeMode::GetMenuButton() const {
  return static_cast<HLF::Button*>(menuButton);
}
HLF::Button* ProbeMode::GetHintButton() const {
  return static_cast<HLF::Button*>(hintButton);
}
HLF::Button* ProbeMode::GetMapButton() const {
  return static_cast<HLF::Button*>(mapButton);
}

int ProbeMode::SoundCount(const std::wstring& id) const {
  return static_cast<int>(std::count(sounds.begin(), sounds.end(), id));
}

int ProbeMode::HelpAsked(int index) const {
  return static_cast<int>(std::count(helpAsked.begin(), helpAsked.end(), index));
}

void ProbeMode::PlaySound(const std::wstring& id) {
  sounds.push_back(id);
  GameMode::PlaySound(id);
}

}  // namespace QmTest
