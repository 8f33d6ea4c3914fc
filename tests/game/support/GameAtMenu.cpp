#include "GameAtMenu.h"

#include <cstdlib>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "core/StringUtils.h"
#include "flow/ZentaMainMenu.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "modes/GameMode.h"
#include "shell/Game.h"
#include "xml/XmlElement.h"

namespace QmTest {

GameAtMenu::GameAtMenu(bool withLevels) {
  CopyGeneratedData(_folders.Program());
  if (withLevels) CopyGeneratedLevels(_folders.Program());
  _game = std::make_unique<HeadlessVoyage>(_folders.Program());
}

bool GameAtMenu::Start() {
  if (!_game->Start(true) || !(_game->SkipToMenu() || _game->SkipToMenu())) return false;
  _game->SetCurrentProfile(L"Fox");
  _game->GetScript().GetMainMenu()->SetVisible(false);
  GameMode::ResetRunFlags();
  return true;
}

void GameAtMenu::Click(int x, int y) const {
  LLF::Message down(&LLF::AppWindow::GetInstance(), LLF::WMSG_BUTTON_DOWN, 1, x, y, std::wstring());
  _game->OnMessage(&down);
  LLF::Message up(&LLF::AppWindow::GetInstance(), LLF::WMSG_BUTTON_UP, 1, x, y, std::wstring());
  _game->OnMessage(&up);
}

bool SetTips(bool on) {
  LLF::XmlElement* config = HLF::Game::GetInstance()->GetConfigDoc()->GetRoot()->GetChildByPath(L"config");
  LLF::XmlElement* help = config ? config->GetChildByPath(L"game/help") : nullptr;
  LLF::XmlAttribute* tips = help ? help->GetAttribute(std::wstring(L"showTips")) : nullptr;
  if (!tips) return false;
  tips->SetValue(on ? L"true" : L"false");
  return true;
}

void SaveShot(const LLF::Image& shot, const char* name) {
  if (const char* dir = std::getenv("QM_SHOT_DIR")) {
    LLF::ImagesManager::GetInstance().SaveImage(const_cast<LLF::Image*>(&shot),
                                                LLF::FromOsPath(std::string(dir) + "/" + name));
  }
}

}  // namespace QmTest
