#include "BuiltLevelFixture.h"

#include <filesystem>

#include "BuilderInputs.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "devtools/Console.h"
#include "flow/ZentaMainMenu.h"
#include "map/LevelInfo.h"
#include "model/GameServices.h"
#include "modes/GameMode.h"
#include "shell/Game.h"
#include "xml/XmlElement.h"

namespace QmTest {

void BuiltLevelFixture::SetUp() {
  CopyGeneratedData(folders.Program());
  ASSERT_FALSE(std::filesystem::exists(folders.Program() + "/levels"));
  TrimData();
  game = std::make_unique<HeadlessVoyage>(folders.Program());
  ASSERT_TRUE(game->Start(true));
  ASSERT_TRUE(game->SkipToMenu() || game->SkipToMenu());
  game->SetCurrentProfile(L"Fox");
  game->GetScript().GetMainMenu()->SetVisible(false);
  GameMode::ResetRunFlags();
  game->SetStateMachine(this);
  LLF::XmlElement* config = HLF::Game::GetInstance()->GetConfigDoc()->GetRoot()->GetChildByPath(L"config");
  config->GetChildByPath(L"game/help")->GetAttribute(std::wstring(L"showTips"))->SetValue(L"false");
  std::string error;
  ASSERT_TRUE(Datagen::BuilderInputs::Write(folders.Program() + "/levels/built", "levels/built", error))
      << error;
}

void BuiltLevelFixture::TearDown() {
  host.Release();
  HLF::GameServices::DeleteDeferred();
  if (game) {
    game->SetStateMachine(nullptr);
    game->Stop();
  }
}

void BuiltLevelFixture::Update(unsigned dt) {
  host.Update(dt);
  HLF::StateMachine::Update(dt);
}

bool BuiltLevelFixture::OnMessage(LLF::Message* msg) {
  if (msg) host.OnModeMessage(*msg, this);
  return true;
}

bool BuiltLevelFixture::Execute(const std::wstring& line) {
  return HLF::Console::GetInstance().Execute(line, false);
}

GameMode* BuiltLevelFixture::Start(const std::wstring& name, const std::wstring& type) {
  LevelInfo info;
  info.folder = L"levels/built/" + name + L"/";
  info.name = name;
  info.type = type;
  info.musicAsset = L"LEVMUSIC_A";
  info.level = 0;
  info.day = 0;
  if (!host.StartLevel(info, this)) return nullptr;
  for (int t = 0; t < 4500; t += 100) game->Frame(100);
  return host.GetMode();
}

void BuiltLevelFixture::Click(int x, int y) {
  LLF::Message down(&LLF::AppWindow::GetInstance(), LLF::WMSG_BUTTON_DOWN, 1, x, y, std::wstring());
  game->OnMessage(&down);
  LLF::Message up(&LLF::AppWindow::GetInstance(), LLF::WMSG_BUTTON_UP, 1, x, y, std::wstring());
  game->OnMessage(&up);
  game->Frame(16);
}

}  // namespace QmTest
