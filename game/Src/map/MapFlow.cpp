#include "map/MapFlow.h"

#include <string>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "map/ZentaLevelMap.h"
#include "shell/Player.h"

namespace {

const wchar_t kStats[] = L"stats";

int ReadPosition(HLF::Player& player, const wchar_t* key) {
  std::wstring text;
  if (!player.GetVar(kStats, key, text) || text.empty() || text.size() > 9) {
    return -1;
  }
  for (size_t i = text[0] == L'-' ? 1 : 0; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') {
      return -1;
    }
  }
  const int value = LLF::FromString(text);
  return value < 0 ? -1 : value;
}

}  // namespace

void MapFlow::SaveLevelPos(int day, int level) {
  HLF::Player player;
  player.SetVar(kStats, L"playDay", LLF::ToString(day));
  player.SetVar(kStats, L"playLev", LLF::ToString(level));
}

void MapFlow::LoadLevelPos(int& day, int& level) {
  {
    HLF::Player player;
    day = ReadPosition(player, L"playDay");
    level = ReadPosition(player, L"playLev");
  }
  if (day == -1 || level == -1) {
    day = level = -1;
    return;
  }
  if (ZentaLevelMap::IsLevelComplete(day, level)) {
    SaveLevelPos(-1, -1);
    day = level = -1;
  }
}

LevelInfo MapFlow::ChooseLevel(ZentaLevelMap* map) {
  int day = -1;
  int level = -1;
  LoadLevelPos(day, level);
  if (day == -1 || level == -1) {
    return map ? map->GetSelectedLevelInfo() : LevelInfo();
  }
  return ZentaLevelMap::GetLevelInfo(day, level);
}

void MapFlow::DisposeMap(ZentaLevelMap*& map) {
  ZentaLevelMap* old = map;
  map = nullptr;
  if (!old) {
    return;
  }
  if (HLF::Control* parent = old->GetParent()) {
    parent->RemoveChild(old, true);
  } else {
    delete old;
  }
}

void MapFlow::ReplaceMap(ZentaLevelMap*& map, LLF::MessageReceiver* receiver, HLF::Control* layer) {
  DisposeMap(map);
  map = new ZentaLevelMap(receiver);
  if (layer) {
    layer->AddChild(map);
  }
  map->SetState(ZentaLevelMap::LM_STATE_INIT);
  map->SetVisible(true);
}

void MapFlow::LogUnknownType(const LevelInfo& level) {
  LLF::Log::GetInstance().Write(L"Error: TheZentaScript - the level \"" + level.name + L"\" (day " +
                                LLF::ToString(level.day + 1) + L", level " + LLF::ToString(level.level + 1) +
                                L") has the type \"" + level.type +
                                L"\", which names no play mode; back to the map.");
}
