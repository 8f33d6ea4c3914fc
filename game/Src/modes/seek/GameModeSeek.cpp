#include "modes/seek/GameModeSeek.h"

#include <algorithm>

#include "core/Log.h"
#include "core/Message.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "font/TextDrawParams.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "map/ZentaLevelMap.h"
#include "model/ControlFactory.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "modifiers/Scaler.h"
#include "modifiers/TimeWarpAccelerate.h"
#include "particles/Emitter.h"
#include "shell/Game.h"
#include "shell/Player.h"
#include "sound/SoundSystem.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kLevUiFile[] = L"scripts/game/levui.xml";
const wchar_t kEffectsFile[] = L"scripts/effects.xml";

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

std::wstring LineName(int i) {
  return L"item_0" + LLF::ToString(i);
}

}  // namespace

GameModeSeek::GameModeSeek() {
  uiSection = L"levui/level_seek";
  clockEffectPrefix = L"LevelSeek";
  scoreEffectPrefix = L"LevelSeek";
  particlePrefix = L"SeekLevel";
  board.SetOwnerMode(this);
  manager = &board;
  keepClock = true;
}

GameModeSeek::~GameModeSeek() {
  // A level left within its first second: the opening fade must not report
  // to a dead mode.
  if (HLF::Control* layer = GameLayer()) {
    for (int i = 0; openingFader && i < layer->GetModifiersCount(); ++i) {
      if (layer->GetModifier(i) == openingFader) {
        openingFader->RemoveReceiver(this);
      }
    }
  }
  animation.Unload();
  // The hint's particles live on the board.
  RemoveHintEmitter();
  if (HLF::Control* parent = board.GetParent()) {
    parent->RemoveChild(&board, false);
  }
  for (HLF::StaticImage* picture : listPictures) {
    if (picture) {
      picture->SetImageObject(nullptr);
    }
  }
  HLF::Control* layer = GameLayer();
  if (layer && levelUi && levelUi->GetParent() == layer) {
    layer->RemoveChild(levelUi, true);
  } else {
    delete levelUi;
  }
  levelUi = nullptr;
  Dispose(frame);
}

int GameModeSeek::DisplayModeOf(const std::wstring& fileMode, const std::wstring& levelInfoMode) {
  const std::wstring& mode = levelInfoMode.empty() ? fileMode : levelInfoMode;
  if (mode == L"grey") return DISPLAY_GREY;
  if (mode == L"dark") return DISPLAY_DARK;
  if (mode == L"silhouette") return DISPLAY_SILHOUETTE;
  return DISPLAY_PLAIN;
}

bool GameModeSeek::IsListOnRightFor(const std::wstring& uiPos) {
  return LLF::StrCompareNoCase(uiPos, L"left") != 0;
}

std::wstring GameModeSeek::ProgressPath() const {
  return ZentaLevelMap::DayProgressPath(ZentaLevelMap::GetCurrentDay()) + L"/" + levelKey;
}

bool GameModeSeek::LoadLevel(const LevelInfo& info) {
  const std::wstring& folder = info.folder;
  assetsLoader.AddListFromFile(folder + L"asset.xml", L"LEVOBJECTS");
  assetsLoader.AddListFromFile(L"scripts/images.xml", L"LEVEL_SEEK");
  if (!info.musicAsset.empty()) {
    assetsLoader.AddListFromFile(L"scripts/game/levmusic.xml", info.musicAsset);
  }
  assetsLoader.Start(0);
  assetsLoader.Wait();

  music = LLF::SoundSystem::GetInstance().GetMusic(L"level_music");
  StartMusic();
  SetAwardIndex(info.wallpaper);
  SetLevelKey(info.name);

  LLF::XmlDoc doc;
  if (!doc.LoadFromFile(folder + L"level.xml")) {
    return false;
  }
  LLF::XmlElement* level = doc.GetRoot() ? doc.GetRoot()->FindChild(L"level") : nullptr;
  if (!level) {
    WriteLog(L"Error: GameModeSeek - " + folder + L"level.xml has no element level.");
    return false;
  }
  listOnRight = IsListOnRightFor(level->GetAttribute(L"uiPos", std::wstring()).GetValue());
  uiSection = listOnRight ? L"levui/level_seek_right" : L"levui/level_seek_left";
  clockEffectPrefix = listOnRight ? L"LevelSeekRight" : L"LevelSeekLeft";
  scoreEffectPrefix = clockEffectPrefix;

  if (!GameMode::LoadLevel(info)) {
    return false;
  }
  board.LoadBoard(*level);

  displayMode = DisplayModeOf(level->GetAttribute(L"mode", std::wstring()).GetValue(), info.mode);
  if (displayMode == DISPLAY_GREY) {
    board.TurnGrey();
  } else if (displayMode == DISPLAY_DARK) {
    board.SetLightImage(LLF::ImagesManager::GetInstance().FindResource(L"ls_light"));
  }

  HLF::Control* layer = GameLayer();
  if (!layer) {
    return false;
  }
  layer->AddChild(&board);

  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  levelUi = factory.LoadNamedObjectFromXml(kLevUiFile, uiSection, L"level_ui");
  if (!levelUi) {
    WriteLog(L"Error: GameModeSeek - the section " + uiSection + L" of " + kLevUiFile +
             L" has no \"level_ui\".");
    return false;
  }
  levelUi->SetName(L"seek_ui");
  menuButton = levelUi->GetChildByName(L"menu_button");
  mapButton = levelUi->GetChildByName(L"map_button");
  hintButton = levelUi->GetChildByName(L"hint_button");
  HLF::Control* itemsPanel = levelUi->GetChildByName(L"items_scroll");
  layer->AddChild(levelUi);
  layer->AddChild(clockRibbon);
  layer->AddChild(clockSand);
  ConnectButtons();
  frame = factory.LoadNamedObjectFromXml(kLevUiFile, uiSection, L"frame");
  if (frame) {
    layer->AddChild(frame);
  }
  if (!menuButton || !mapButton || !hintButton || !itemsPanel || !frame) {
    WriteLog(L"Error: GameModeSeek - the section " + uiSection + L" of " + kLevUiFile +
             L" lacks a button, \"items_scroll\" or \"frame\".");
    return false;
  }

  std::wstring items;
  std::wstring itemsFound;
  HLF::Player player;
  player.GetVar(ProgressPath(), L"items", items);
  player.GetVar(ProgressPath(), L"itemsFound", itemsFound);
  board.Restore(items, itemsFound);

  BuildList();

  if (!animation.Load(*level, &board, displayMode)) {
    return false;
  }

  ShowLevelNumber();
  openingFader = new HLF::Fader(nullptr, nullptr, this, HLF::Fader::FADE_FALL, 1000, 0);
  layer->AddAndStartModifier(openingFader, true);
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->ResetFrameTime();
  }
  // A save made with every name found leaves nothing to click: the level
  // ends now.
  if (board.AllFound()) {
    WriteLog(L"GameModeSeek - every name of the stored list is found; the level is won.");
    MeetGoal();
  }
  return true;
}

void GameModeSeek::BuildList() {
  HLF::Control* itemsPanel = levelUi ? levelUi->GetChildByName(L"items_scroll") : nullptr;
  if (!itemsPanel) {
    return;
  }
  const bool silhouettes = displayMode == DISPLAY_SILHOUETTE;
  HLF::Control* lines = itemsPanel->GetChildByName(silhouettes ? L"silhouetteMode" : L"textMode");
  if (!lines) {
    WriteLog(L"Error: GameModeSeek - \"items_scroll\" has no " +
             std::wstring(silhouettes ? L"\"silhouetteMode\"." : L"\"textMode\"."));
    return;
  }
  lines->SetVisible(true);
  const int count = static_cast<int>(board.GetSearchList().size());
  if (count != kListLines) {
    WriteLog(L"Error: GameModeSeek - the list holds " + LLF::ToString(count) + L" names instead of " +
             LLF::ToString(kListLines) + L"; the lines beyond it stay hidden.");
  }
  for (int i = 0; i < kListLines; ++i) {
    HLF::Control* line = lines->GetChildByName(LineName(i));
    if (!line) {
      continue;
    }
    if (i >= count) {
      line->SetVisible(false);
      continue;
    }
    if (silhouettes) {
      if (auto* picture = dynamic_cast<HLF::StaticImage*>(line)) {
        listPictures[i] = picture;
        BuildSilhouetteLine(i, *picture);
      }
    } else if (auto* label = dynamic_cast<HLF::Label*>(line)) {
      listLabels[i] = label;
      BuildTextLine(i, *label);
    }
  }
}

void GameModeSeek::BuildSilhouetteLine(int i, HLF::StaticImage& picture) {
  const std::wstring& name = board.GetSearchList()[size_t(i)];
  const SeekModeManager::SeekObject* object = board.FindObject(name);
  if (!object || !object->picture || object->w <= 0 || object->h <= 0) {
    WriteLog(L"Error: GameModeSeek - no picture for the list name \"" + name + L"\"; its line stays empty.");
    picture.SetVisible(false);
    return;
  }
  auto silhouette = std::make_unique<LLF::Image>(*object->picture);
  for (unsigned x = 0; x < silhouette->GetWidth(); ++x) {
    for (unsigned y = 0; y < silhouette->GetHeight(); ++y) {
      LLF::Color pixel;
      silhouette->GetPixel(&pixel, int(x), int(y));
      pixel.r = pixel.g = pixel.b = 255;
      silhouette->SetPixel(int(x), int(y), &pixel);
    }
  }
  picture.SetImageObject(silhouette.get());
  silhouettes.push_back(std::move(silhouette));
  const float w = float(object->w);
  const float h = float(object->h);
  const float s = std::min(50.0f / w, 50.0f / h);
  picture.SetScale(LLF::Vector2(s, s));
  LLF::Vector2 position = picture.GetPosition();
  if (w > h) {
    position.y += 25.0f - (50.0f / w) * h * 0.5f;
  } else if (h > w) {
    position.x += 25.0f - (50.0f / h) * w * 0.5f;
  }
  picture.SetPosition(position);
  if (board.IsFound(name)) {
    picture.SetAlpha(64);
  }
}

void GameModeSeek::BuildTextLine(int i, HLF::Label& label) {
  const std::wstring& name = board.GetSearchList()[size_t(i)];
  label.SetText(name);
  if (board.IsFound(name)) {
    label.SetAlpha(64);
  }
  const float width = float(label.GetSize().x);
  const float height = float(label.GetSize().y);
  float textWidth = 0.0f;
  if (LLF::Font* font = label.GetFont()) {
    LLF::TextDrawParams params;
    params.text = name;
    params.color = LLF::Color(255, 255, 255, 255);
    textWidth = float(font->GetTextWidth(params));
  }
  LLF::Vector2 offset;
  if (textWidth > width && textWidth > 0.0f) {
    const float s = width / textWidth;
    label.SetScale(LLF::Vector2(s, s));
    offset = LLF::Vector2((width - width * s) * 0.5f, (height - height * s) * 0.5f);
    label.SetPosition(label.GetPosition().x + offset.x, label.GetPosition().y + offset.y);
  }
  label.SetTransformCenter(LLF::Vector2(width * 0.5f, height * 0.5f));

  const std::wstring effectName =
      L"LevelSeekLine" + LLF::ToString(i + 1) + L"Show" + (label.GetAlpha() == 64 ? L"Found" : L"");
  auto* effect = new HLF::Effect();
  if (!effect->LoadFromFile(kEffectsFile, effectName)) {
    delete effect;
    return;
  }
  const LLF::Vector2 scale = label.GetScale();
  if (scale.x != 1.0f || scale.y != 1.0f) {
    bool moved = false;
    for (int m = 0; m < effect->GetModifiersCount(); ++m) {
      auto* scaler = dynamic_cast<HLF::Scaler*>(effect->GetModifier(m));
      if (!scaler) {
        continue;
      }
      LLF::Vector2 start;
      LLF::Vector2 end;
      scaler->GetScales(start, end);
      scaler->SetScales(start, scale);
      // The scaler shrinks about the transform centre itself, so the
      // centring shift is taken back, once however many scalers there are.
      if (!moved) {
        label.SetPosition(label.GetPosition().x - offset.x, label.GetPosition().y - offset.y);
        moved = true;
      }
    }
  }
  label.AddAndStartEffect(effect);
}

void GameModeSeek::SaveProgress() {
  HLF::Player player;
  player.SetVar(ProgressPath(), L"items", board.ItemsValue());
  player.SetVar(ProgressPath(), L"itemsFound", board.ItemsFoundValue());
  GameMode::SaveProgress();
}

void GameModeSeek::OnFind(const SeekModeManager::SeekObject& object, const LLF::Vector2& at) {
  ScoreFind(at, &board);
  PlaySound(object.objectClass == SeekModeManager::CLASS_PRIORITY ? L"seek_item_priorityfound"
                                                                  : L"seek_item_found");
  if (hintEmitter) {
    hintEmitter->StopEmitting();
  }
  ShowFoundParticles(at, &board);
  foundOnce = true;
  if (board.AllFound()) {
    MeetGoal();
  }
}

void GameModeSeek::OnMiss(const LLF::Vector2& at) {
  CountFastClick();
  ShowWrongMoveParticles(at, &board);
}

void GameModeSeek::FadeLine(int index) {
  HLF::Control* line = displayMode == DISPLAY_SILHOUETTE ? static_cast<HLF::Control*>(GetListPicture(index))
                                                         : static_cast<HLF::Control*>(GetListLabel(index));
  if (!line) {
    return;
  }
  auto* fader = new HLF::Fader(line, new HLF::TimeWarpAccelerate(), nullptr, HLF::Fader::FADE_RANGE, 1000, 0);
  fader->SetFadeRange(255, 64);
  line->AddAndStartModifier(fader);
}

void GameModeSeek::UseHint() {
  if (hintEmitter) {
    return;
  }
  std::vector<const SeekModeManager::SeekObject*> candidates;
  for (const SeekModeManager::SeekObject& object : board.GetObjects()) {
    if (!object.found && board.IsInSearchList(object.name)) {
      candidates.push_back(&object);
    }
  }
  LLF::Vector2 point;
  if (!candidates.empty()) {
    const size_t n = candidates.size();
    const size_t k = n >= 2 ? size_t(LLF::RandomInt()) % n : 0;
    const SeekModeManager::SeekObject& object = *candidates[k];
    point = LLF::Vector2(object.x + float(object.w) * 0.5f, object.y + float(object.h) * 0.5f);
    WriteLog(L"Hint used. Hint object: " + object.name);
  }
  GameMode::UseHint();
  ShowHintParticles(point, &board);
}

bool GameModeSeek::CanPlay() {
  if (_current >= 6 || board.AllFound()) {
    return false;
  }
  return GameMode::CanPlay();
}

void GameModeSeek::Win() {
  if (_current == GMS_STATE_SHOWRESULTS || _current == GMS_STATE_QUIT || _current == GMS_STATE_FINISHED) {
    return;
  }
  FinishWin(GMS_STATE_SHOWRESULTS, 4500, 500);
}

bool GameModeSeek::OnMessage(LLF::Message* msg) {
  if (TakeResultsOk(msg, GMS_STATE_QUIT)) {
    return true;
  }
  return GameMode::OnMessage(msg);
}

void GameModeSeek::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case GM_STATE_HIDECLOCK:
      ShowHelpMessage(HELP_SEEK_GOAL);
      break;
    case GMS_STATE_SHOWRESULTS:
      log.Write(L"GameModeSeek::DoState() - GMS_STATE_SHOWRESULTS");
      if (HLF::Control* ui = menuButton ? menuButton->GetParent() : nullptr) {
        ui->AddAndStartModifier(new HLF::Fader(ui, nullptr, nullptr, HLF::Fader::FADE_FALL, 1500, 0));
      }
      OpenResults();
      break;
    case GMS_STATE_QUIT:
      log.Write(L"GameModeSeek::DoState() - GMS_STATE_QUIT");
      StartLeavingFade(GMS_STATE_FINISHED);
      break;
    case GMS_STATE_FINISHED:
      log.Write(L"GameModeSeek::DoState() - GMS_STATE_FINISHED");
      FinishLevel();
      return;
    default:
      break;
  }
  GameMode::DoState();
}
