#include "MenuRun.h"

#include "core/Message.h"

namespace QmTest {

MenuRun::MenuRun() : game(folders.Program()) {}

bool MenuRun::Start(const std::function<void(const std::string&)>& prepare) {
  CopyGeneratedData(folders.Program());
  if (prepare) prepare(folders.Program());
  return game.Start(true) && game.SkipToMenu();
}

ZentaMainMenu& MenuRun::Menu() {
  return *game.GetScript().GetMainMenu();
}

TheZentaScript& MenuRun::Script() {
  return game.GetScript();
}

void MenuRun::Frames(int count, unsigned ms) {
  for (int i = 0; i < count; ++i) game.Frame(ms);
}

void MenuRun::FromMenu(int code) {
  LLF::Message msg(&Menu(), code, 0, 0, 0, L"");
  Script().OnMessage(&msg);
  game.Frame(16);
}

void MenuRun::BackToMenu() {
  Menu().SetVisible(true);
  Menu().ChangeState(HLF::MainMenu::MM_STATE_MENU, 0);
  game.Frame(16);
}

}  // namespace QmTest
