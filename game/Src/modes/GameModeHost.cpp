#include "modes/GameModeHost.h"

#include <map>

#include "core/Log.h"
#include "core/Message.h"
#include "core/MessageReceiver.h"
#include "map/ZentaLevelMap.h"
#include "math/Color.h"
#include "model/GameServices.h"
#include "modes/GameMode.h"
#include "render/IRenderSystem.h"
#include "render/RendersManager.h"

namespace {

std::map<std::wstring, GameModeHost::Factory>& Types() {
  static std::map<std::wstring, GameModeHost::Factory> types = GameModeHost::BuiltInTypes();
  return types;
}

}  // namespace

GameModeHost::~GameModeHost() {
  Release();
}

void GameModeHost::RegisterType(const std::wstring& type, Factory factory) {
  Types()[type] = std::move(factory);
}

void GameModeHost::UnregisterType(const std::wstring& type) {
  Types().erase(type);
}

bool GameModeHost::IsTypeRegistered(const std::wstring& type) {
  return Types().count(type) > 0;
}

bool GameModeHost::StartLevel(const LevelInfo& info, LLF::MessageReceiver* receiver) {
  Release();
  LLF::Log& log = LLF::Log::GetInstance();
  const auto it = Types().find(info.type);
  GameMode* made = it != Types().end() && it->second ? it->second() : nullptr;
  if (!made) {
    log.Write(L"Error: Unknown level type \"" + info.type + L"\" of level \"" + info.name +
              L"\"; back to the map.");
    GameMode::SaveLevelPos(-1, -1);
    return false;
  }
  if (!made->LoadLevel(info)) {
    // Nothing is saved for a level that did not load: its progress would
    // be made up.
    log.Write(L"Error: Can't load level \"" + info.name + L"\" from " + info.folder + L"; back to the map.");
    delete made;
    GameMode::SaveLevelPos(-1, -1);
    return false;
  }
  mode = made;
  if (receiver) {
    mode->AddReceiver(receiver);
  }
  return true;
}

void GameModeHost::Update(unsigned dt) {
  if (mode) {
    mode->Update(dt);
  }
}

int GameModeHost::OnModeMessage(const LLF::Message& msg, LLF::MessageReceiver* receiver) {
  if (!mode || msg.GetSender() != mode) {
    return -1;
  }
  const int code = msg.GetCode();
  if (code != GameMode::GM_MSG_TO_MENU && code != GameMode::GM_MSG_TO_MAP) {
    return -1;
  }
  if (LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender()) {
    rs->SetFadeColor(LLF::Color(0, 0, 0, 255));
  }
  if (receiver) {
    mode->RemoveReceiver(receiver);
  }
  HLF::GameServices::DeleteLater(mode);
  mode = nullptr;
  return code;
}

bool GameModeHost::SaveRunningLevel() {
  if (!mode) {
    return true;
  }
  const LevelInfo info = mode->GetLevelInfo();
  mode->SaveProgress();
  GameMode::SaveLevelPos(ZentaLevelMap::GetCurrentDay(), info.level);
  return true;
}

void GameModeHost::Win() {
  if (mode) {
    mode->Win();
  }
}

void GameModeHost::Release() {
  delete mode;
  mode = nullptr;
}
