#include "flow/TheZentaVoyage.h"

#include "core/Format.h"
#include "core/StringUtils.h"
#include "flow/ZentaMainMenu.h"
#include "modes/GameMode.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"

namespace {

const char kVersion[] = "1.454";
const char kBuildDate[] = "Thu Oct 15 18:56:26 2009";
// The version text fills a buffer of this many characters, its end included.
const size_t kVersionBuffer = 255;

}  // namespace

std::wstring TheZentaVoyage::GetName() const {
  return L"The Quillmarsh - Zenta";
}

std::wstring TheZentaVoyage::GetVersion() const {
  std::wstring version = LLF::Format(L"%s date %s", LLF::AnsiToWide(kVersion), LLF::AnsiToWide(kBuildDate));
  if (version.size() >= kVersionBuffer) {
    version.resize(kVersionBuffer - 1);
  }
  return version;
}

std::wstring TheZentaVoyage::GetDescription() const {
  return L"A casual puzzle game: a voyage through the days of the Quillmarsh, one picture puzzle at a time.";
}

std::wstring TheZentaVoyage::GetVendor() const {
  return L"Brenvik";
}

LLF::RenderSettings TheZentaVoyage::GetRenderSettings() const {
  return HLF::Game::GetRenderSettings();
}

bool TheZentaVoyage::PostInit(const std::wstring& commandLine) {
  if (!script.Init(commandLine)) {
    return false;
  }
  return HLF::Game::PostInit(commandLine);
}

void TheZentaVoyage::OnShutdown() {
  SetStateMachine(nullptr);
  script.Release();
  HLF::Game::OnShutdown();
}

void TheZentaVoyage::OnActivate() {
  HLF::Game::OnActivate();
  switch (script.GetState()) {
    case TheZentaScript::CS_STATE_SPLASHDONE:
    case TheZentaScript::CS_STATE_MENU_SHOWMAP:
    case TheZentaScript::CS_STATE_MAP_SHOWMENU:
    case TheZentaScript::CS_STATE_AFTERGAME_SHOWMAP:
    case TheZentaScript::CS_STATE_AFTERGAME_SHOWMENU:
      break;
    default:
      return;
  }
  ZentaMainMenu* menu = script.GetMainMenu();
  if (!menu) {
    return;
  }
  menu->RestartBackgroundScroll();
  LLF::Music* music = menu->GetMusic();
  LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver();
  if (music && driver) {
    driver->ResumeMusic(music);
  }
}

void TheZentaVoyage::OnDeactivate(bool* windowInactive) {
  HLF::Game::OnDeactivate(windowInactive);
  if (GameMode* mode = script.GetGameMode()) {
    mode->ShowGameMenu();
  }
}

bool TheZentaVoyage::CanClose() {
  return script.SaveRunningLevel();
}

void TheZentaVoyage::OnRender(LLF::IRenderSystem* rs) {
  script.Render(rs);
}
