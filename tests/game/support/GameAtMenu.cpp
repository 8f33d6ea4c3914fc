#include "GameAtMenu.h"

#include <cstdlib>
#include <filesystem>

#include "core/StringUtils.h"
#include "flow/ZentaMainMenu.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "modes/GameMode.h"

namespace QmTest {

GameAtMenu::GameAtMenu(bool withLevels) {
  CopyGeneratedData(_folders.Program());
  if (withLevels) {
    std::filesystem::copy(
        GeneratedDataFolder() + "levels", _folders.Program() + "/levels",
        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  }
  _game = std::make_unique<HeadlessVoyage>(_folders.Program());
}

bool GameAtMenu::Start() {
  if (!_game->Start(true) || !(_game->SkipToMenu() || _game->SkipToMenu())) return false;
  _game->SetCurrentProfile(L"Fox");
  _game->GetScript().GetMainMenu()->SetVisible(false);
  GameMode::ResetRunFlags();
  return true;
}

void SaveShot(const LLF::Image& shot, const char* name) {
  if (const char* dir = std::getenv("QM_SHOT_DIR")) {
    LLF::ImagesManager::GetInstance().SaveImage(const_cast<LLF::Image*>(&shot),
                                                LLF::FromOsPath(std::string(dir) + "/" + name));
  }
}

}  // namespace QmTest
