#include "flow/MarshMenu.h"

#include "core/Log.h"
#include "model/ControlFactory.h"
#include "sound/ISoundDriver.h"
#include "sound/SoundSystem.h"

namespace {

struct AssetList {
  const wchar_t* file;
  const wchar_t* list;
};
const AssetList kMenuLists[] = {
    {L"scripts/fonts.xml", L"GUI"},
    {L"scripts/images.xml", L"GUI"},
    {L"scripts/images.xml", L"MAINMENU"},
    {L"scripts/sounds.xml", L"MAIN"},
};

const wchar_t* const kDecorations[] = {L"background", L"title"};

}  // namespace

MarshMenu::MarshMenu(LLF::MessageReceiver* receiver) : HLF::MainMenu(receiver) {}

void MarshMenu::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case MM_STATE_INIT:
      log.Write(L"MarshMenu::DoState() - MM_STATE_INIT");
      LoadAssets();
      HLF::MainMenu::DoState();
      Arrange();
      ChangeState(MM_STATE_MENU, 0);
      break;
    case MM_STATE_MENU:
      log.Write(L"MarshMenu::DoState() - MM_STATE_MENU");
      break;
    case MM_STATE_QUITING:
      log.Write(L"MarshMenu::DoState() - MM_STATE_QUITING");
      break;
    default:
      HLF::MainMenu::DoState();
      break;
  }
}

void MarshMenu::LoadAssets() {
  bool first = true;
  for (const AssetList& list : kMenuLists) {
    const bool added =
        first ? loader.SetListFromFile(list.file, list.list) : loader.AddListFromFile(list.file, list.list);
    first = false;
    if (!added) {
      LLF::Log::GetInstance().Write(std::wstring(L"Warning: MarshMenu - the list \"") + list.list +
                                    L"\" of " + list.file + L" can't be read; the menu goes without it.");
    }
  }
  if (!loader.GetLists().empty() && loader.Start(0)) {
    loader.Wait();
  }
}

void MarshMenu::Arrange() {
  for (const wchar_t* name : kDecorations) {
    HLF::Control* decoration =
        HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kLayoutFile, kLayoutSection, name);
    if (!decoration) {
      LLF::Log::GetInstance().Write(std::wstring(L"Error: Can't create StaticImage from file ") +
                                    kLayoutFile + L", section " + kLayoutSection + L", control name " + name);
      continue;
    }
    AddChild(decoration);
  }
  for (HLF::Control* control : {welcomeLabel, playButton, optionsButton, quitButton}) {
    if (control) {
      AddChild(control);
    }
  }
}

void MarshMenu::PlayMenuMusic() {
  LLF::SoundSystem& sound = LLF::SoundSystem::GetInstance();
  LLF::Music* menuMusic = sound.GetMusic(L"menu_music");
  if (!menuMusic) {
    LLF::Log::GetInstance().Write(L"Warning: MarshMenu - the music \"menu_music\" is not loaded.");
    return;
  }
  SetMusic(menuMusic);
  if (LLF::ISoundDriver* driver = sound.GetCurrentDriver()) {
    driver->PlayMusic(menuMusic);
  }
}

bool MarshMenu::Play() {
  SendCode(MENU_MSG_PLAY);
  return true;
}

bool MarshMenu::Quit() {
  ChangeState(MM_STATE_QUITING, 0);
  return Close();
}
