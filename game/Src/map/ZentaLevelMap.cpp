#include "map/ZentaLevelMap.h"

#include <algorithm>
#include <vector>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "map/WallpaperMask.h"
#include "math/Color.h"
#include "model/ControlFactory.h"
#include "modes/GameMode.h"
#include "modifiers/AudioFader.h"
#include "modifiers/Effect.h"
#include "modifiers/Fader.h"
#include "particles/Emitter.h"
#include "render/IRenderSystem.h"
#include "render/RendersManager.h"
#include "shell/Game.h"
#include "shell/MainMenu.h"
#include "shell/Player.h"
#include "sound/ISoundDriver.h"
#include "sound/Music.h"
#include "sound/Sound.h"
#include "sound/SoundSystem.h"
#include "widgets/Button.h"
#include "widgets/StaticImage.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

const wchar_t* const ZentaLevelMap::kLevelsFile = L"scripts/game/levels.xml";

namespace {

const wchar_t kRoot[] = L"gamelevels";
const wchar_t kStats[] = L"stats";

void LogLine(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

std::wstring DayName(int day) {
  return L"day" + LLF::ToString(day + 1);
}

std::wstring LevelName(int level) {
  return L"level" + LLF::ToString(level + 1);
}

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

bool LoadLevels(LLF::XmlDoc& doc) {
  return doc.LoadFromFile(ZentaLevelMap::kLevelsFile);
}

LLF::XmlElement* FindDay(LLF::XmlDoc& doc, int day) {
  if (day < 0) {
    return nullptr;
  }
  return doc.GetRoot()->GetChildByPath(std::wstring(kRoot) + L"/" + DayName(day));
}

// Children that are elements (comments are kept as children) whose name
// holds part.
int CountNamed(LLF::XmlElement& parent, const wchar_t* part) {
  int count = 0;
  for (int i = 0; i < parent.GetChildsCount(); ++i) {
    const LLF::XmlElement* child = parent.GetChild(i);
    if (!child->IsComment() && Contains(child->GetName(), part)) {
      ++count;
    }
  }
  return count;
}

std::wstring Where(int day, int level) {
  return std::wstring(ZentaLevelMap::kLevelsFile) + L", " + DayName(day) + L", " + LevelName(level);
}

// The level element whose name the profiles can take: null, with one error
// line, when it is missing or its name is refused. An absent name is left
// to the caller's check of the required attributes.
LLF::XmlElement* FindLevel(LLF::XmlDoc& doc, int day, int level) {
  LLF::XmlElement* dayElement = FindDay(doc, day);
  LLF::XmlElement* element = dayElement && level >= 0 ? dayElement->FindChild(LevelName(level)) : nullptr;
  if (!element || element->IsComment()) {
    LogLine(L"Error: Can't start level " + LLF::ToString(level) + L" in day " + LLF::ToString(day + 1));
    return nullptr;
  }
  const LLF::XmlAttribute* name = element->GetAttribute(std::wstring(L"name"));
  if (!name) {
    return element;
  }
  if (!ZentaLevelMap::IsValidLevelName(name->GetValue())) {
    LogLine(L"Error: " + Where(day, level) + L": the level name \"" + name->GetValue() +
            L"\" can't be a key of the profiles; the level is refused.");
    return nullptr;
  }
  for (int i = 0; i < dayElement->GetChildsCount(); ++i) {
    LLF::XmlElement* other = dayElement->GetChild(i);
    if (other == element) {
      break;
    }
    if (other->IsComment() || !Contains(other->GetName(), L"level")) {
      continue;
    }
    if (other->GetAttribute(L"name", std::wstring()).GetValue() == name->GetValue()) {
      LogLine(L"Error: " + Where(day, level) + L": the level name \"" + name->GetValue() +
              L"\" repeats the name of " + other->GetName() + L"; the level is refused.");
      return nullptr;
    }
  }
  return element;
}

// One line for the required attributes the element lacks.
void CheckRequired(LLF::XmlElement& element, const std::wstring& where,
                   const std::vector<const wchar_t*>& required) {
  std::wstring missing;
  for (const wchar_t* attribute : required) {
    if (!element.GetAttribute(std::wstring(attribute))) {
      missing += (missing.empty() ? L"" : L", ") + std::wstring(attribute);
    }
  }
  if (!missing.empty()) {
    LogLine(L"Error: " + std::wstring(ZentaLevelMap::kLevelsFile) + L", " + where +
            L": missing required attribute(s) " + missing + L"; read as empty or 0.");
  }
}

std::wstring StoryKey(int day, bool pre) {
  return L"story_day" + LLF::ToString(day + 1) + (pre ? L"_prestory" : L"_poststory");
}

// Only digits, at least one: what the game writes itself.
bool IsPlainNumber(const std::wstring& text) {
  if (text.empty() || text.size() > 9) {
    return false;
  }
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') {
      return false;
    }
  }
  return true;
}

}  // namespace

bool ZentaLevelMap::IsValidLevelName(const std::wstring& name) {
  return HLF::Player::IsXmlName(name);
}

std::wstring ZentaLevelMap::DayProgressPath(int day) {
  return L"levels/day_" + LLF::ToString(day);
}

int ZentaLevelMap::GetDaysCount() {
  LLF::XmlDoc doc;
  if (!LoadLevels(doc)) {
    return 0;
  }
  LLF::XmlElement* root = doc.GetRoot();
  for (int i = 0; i < root->GetChildsCount(); ++i) {
    LLF::XmlElement* top = root->GetChild(i);
    if (!top->IsComment()) {
      return CountNamed(*top, L"day");
    }
  }
  return 0;
}

int ZentaLevelMap::GetLevelsCount(int day) {
  LLF::XmlDoc doc;
  if (!LoadLevels(doc)) {
    return 0;
  }
  LLF::XmlElement* dayElement = FindDay(doc, day);
  if (!dayElement) {
    LogLine(L"Error: " + std::wstring(kLevelsFile) + L" has no element " + kRoot + L"/" + DayName(day));
    return 0;
  }
  return CountNamed(*dayElement, L"level");
}

LevelInfo ZentaLevelMap::GetLevelInfo(int day, int level) {
  LevelInfo info;
  LLF::XmlDoc doc;
  if (!LoadLevels(doc)) {
    return info;
  }
  LLF::XmlElement* element = FindLevel(doc, day, level);
  if (!element) {
    return info;
  }
  CheckRequired(*element, std::wstring(kRoot) + L"/" + DayName(day) + L"/" + LevelName(level),
                {L"folder", L"name", L"type", L"musicAsset", L"group"});
  const std::wstring none;
  info.folder = element->GetAttribute(L"folder", none).GetValue();
  if (!info.folder.empty() && info.folder.back() != L'/' && info.folder.back() != L'\\') {
    info.folder += L'/';
  }
  info.name = element->GetAttribute(L"name", none).GetValue();
  info.type = element->GetAttribute(L"type", none).GetValue();
  info.mode = element->GetAttribute(L"mode", none).GetValue();
  info.musicAsset = element->GetAttribute(L"musicAsset", none).GetValue();
  if (const LLF::XmlAttribute* wallpaper = element->GetAttribute(std::wstring(L"wallpaper"))) {
    info.wallpaper = wallpaper->GetInt();
  }
  info.level = level;
  info.day = day;
  return info;
}

bool ZentaLevelMap::IsLevelComplete(int day, int level) {
  LLF::XmlDoc doc;
  if (!LoadLevels(doc)) {
    return true;
  }
  LLF::XmlElement* element = FindLevel(doc, day, level);
  if (!element) {
    return false;
  }
  const std::wstring name = element->GetAttribute(L"name", std::wstring()).GetValue();
  if (name.empty()) {
    return false;
  }
  std::wstring value = L"incomplete";
  HLF::Player player;
  player.GetVar(DayProgressPath(day), name, value);
  return value == L"complete";
}

int ZentaLevelMap::GetDayTime(int day) {
  LLF::XmlDoc doc;
  if (!LoadLevels(doc)) {
    LogLine(L"Error: " + std::wstring(kLevelsFile) + L" can't be read; the day has no time.");
    return 0;
  }
  LLF::XmlElement* dayElement = FindDay(doc, day);
  if (!dayElement) {
    LogLine(L"Error: " + std::wstring(kLevelsFile) + L" has no element " + kRoot + L"/" + DayName(day));
    return 0;
  }
  CheckRequired(*dayElement, std::wstring(kRoot) + L"/" + DayName(day), {L"time"});
  return dayElement->GetAttribute(L"time", 0).GetInt();
}

int ZentaLevelMap::GetCurrentDay() {
  HLF::Player player;
  std::wstring value;
  if (!player.GetVar(kStats, L"currentDay", value)) {
    player.SetVar(kStats, L"currentDay", L"0");
    return 0;
  }
  if (!IsPlainNumber(value)) {
    LogLine(L"Warning: ZentaLevelMap - the stored current day \"" + value + L"\" is no day; day 1 is taken.");
    return 0;
  }
  return LLF::FromString(value);
}

void ZentaLevelMap::SetCurrentDay(int day) {
  HLF::Player player;
  player.SetVar(kStats, L"currentDay", LLF::ToString(day));
}

bool ZentaLevelMap::GetEasyMode(bool& found) {
  found = true;
  HLF::Player player;
  std::wstring value;
  if (!player.GetVar(kStats, L"easyMode", value)) {
    found = false;
    player.SetVar(kStats, L"easyMode", L"false");
    return false;
  }
  return value != L"false";
}

void ZentaLevelMap::SetEasyMode(bool on) {
  HLF::Player player;
  player.SetVar(kStats, L"easyMode", on ? L"true" : L"false");
}

bool ZentaLevelMap::IsStoryShown(int day, bool pre) {
  HLF::Player player;
  std::wstring value = L"0";
  player.GetVar(kStats, StoryKey(day, pre), value);
  return value == L"1";
}

void ZentaLevelMap::SetStoryShown(int day, bool pre, bool shown) {
  HLF::Player player;
  player.SetVar(kStats, StoryKey(day, pre), shown ? L"1" : L"0");
  player.Save();
}

// --- The scene ---

namespace {

const wchar_t kImagesFile[] = L"scripts/images.xml";
const wchar_t kEffectsFile[] = L"scripts/effects.xml";
const wchar_t kLayoutSection[] = L"levelsmap";
const wchar_t kStoryLoop[] = L"story_loop";

const wchar_t* StateName(int state) {
  static const wchar_t* const kNames[] = {
      L"LM_STATE_INIT",          L"LM_STATE_ANIM_START",          L"LM_STATE_ANIM_FINISH",
      L"LM_STATE_ANIM_FINISHED", L"LM_STATE_BACK_TO_MENU",        L"LM_STATE_BACK_TO_MENU_FINISHED",
      L"LM_STATE_STARTLEVEL",    L"LM_STATE_STARTLEVEL_FINISHED",
  };
  return state >= 0 && state < 8 ? kNames[state] : nullptr;
}

void MapLog(const std::wstring& text) {
  LogLine(L"Error: ZentaLevelMap - " + text);
}

LLF::ISoundDriver* Driver() {
  return LLF::SoundSystem::GetInstance().GetCurrentDriver();
}

// The main menu waits hidden in the game layer while the map is shown.
HLF::MainMenu* FindMainMenu(const HLF::Control* map) {
  HLF::Control* layer = map->GetParent();
  for (int i = 0; layer && i < layer->GetChildsCount(); ++i) {
    if (HLF::Control* child = layer->GetChild(i); child->IsKindOf("MainMenu")) {
      return dynamic_cast<HLF::MainMenu*>(child);
    }
  }
  return nullptr;
}

void SetScreenFadeColor(const LLF::Color& color) {
  if (LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender()) {
    rs->SetFadeColor(color);
  }
}

void ClearToBlack() {
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetClearSettings(true, LLF::Color(0, 0, 0, 255));
  }
}

// Whether the control or one below it runs an effect that will end by
// itself being stopped; a looping one would keep a page open for ever.
bool RunsEffects(const HLF::Control& control) {
  for (int i = 0; i < control.GetEffectsCount(); ++i) {
    const HLF::Effect* effect = control.GetEffect(i);
    if (effect && !effect->IsStopped() && !effect->IsInfiniteLoop()) {
      return true;
    }
  }
  for (int i = 0; i < control.GetChildsCount(); ++i) {
    if (RunsEffects(*control.GetChild(i))) {
      return true;
    }
  }
  return false;
}

void StopEffects(HLF::Control& control) {
  for (int i = 0; i < control.GetEffectsCount(); ++i) {
    HLF::Effect* effect = control.GetEffect(i);
    if (effect && !effect->IsStopped() && !effect->IsInfiniteLoop()) {
      effect->Stop(false);
    }
  }
  for (int i = 0; i < control.GetChildsCount(); ++i) {
    StopEffects(*control.GetChild(i));
  }
}

}  // namespace

ZentaLevelMap::ZentaLevelMap(LLF::MessageReceiver* receiver) : HLF::Control(L"LevelMap") {
  _tag = L"ZentaLevelMap";
  if (receiver) {
    AddReceiver(receiver);
  }
  SetSize(800, 600);
  HLF::Control* loaded = HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(
      L"scripts/psystems.xml", L"particlesystems", L"LevelsMapEmitter");
  emitter = dynamic_cast<HLF::Emitter*>(loaded);
  if (!emitter) {
    delete loaded;
    MapLog(L"scripts/psystems.xml has no emitter \"LevelsMapEmitter\"; the map goes without it.");
  }
  music = LLF::SoundSystem::GetInstance().GetMusic(L"map_music");
}

ZentaLevelMap::~ZentaLevelMap() {
  // The emitter joins the page only once the page is built.
  if (emitter && !emitter->GetParent()) {
    delete emitter;
  }
  emitter = nullptr;
  if (music) {
    if (LLF::ISoundDriver* driver = Driver()) {
      driver->StopMusic(music);
    }
  }
  if (storyPage) {
    if (LLF::Sound* loop = LLF::SoundSystem::GetInstance().GetSound(kStoryLoop)) {
      if (LLF::ISoundDriver* driver = Driver()) {
        driver->StopSound(loop);
      }
    }
  }
  // The pictures go with the map that loaded them; the next map loads its
  // own.
  mapLoader.UnloadAssets();
  dayLoader.UnloadAssets();
  storyLoader.UnloadAssets();
}

int ZentaLevelMap::CurrentDay() {
  const int day = GetCurrentDay();
  const int days = GetDaysCount();
  if (days > 0 && day >= days) {
    LogLine(L"Warning: ZentaLevelMap - the current day " + LLF::ToString(day + 1) +
            L" lies beyond the last day " + LLF::ToString(days) + L"; the last day is taken.");
    SetCurrentDay(days - 1);
    return days - 1;
  }
  return day;
}

void ZentaLevelMap::DoState() {
  if (const wchar_t* name = StateName(_current)) {
    LogLine(std::wstring(L"ZentaLevelMap::DoState() - ") + name);
  }
  switch (_current) {
    case LM_STATE_INIT:
      SetRenderable(false);
      mapLoader.AddReceiver(this);
      LoadMapAssets();
      dayComplete = false;
      storyClosing = false;
      break;
    case LM_STATE_ANIM_START: {
      SetScreenFadeColor(LLF::Color(0, 0, 0, 0));
      ClearToBlack();
      std::wstring shown;
      HLF::Player player;
      const bool seen = player.GetVar(L"stats", L"startAnimation", shown) && shown != L"false";
      if (!seen && !mapAnimation) {
        mapAnimation = HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kLayoutFile, kLayoutSection,
                                                                                 L"mapanimation");
        if (mapAnimation) {
          AddChild(mapAnimation);
        } else {
          MapLog(std::wstring(kLayoutFile) + L" has no \"mapanimation\"; the map goes without it.");
        }
      }
      if (HLF::MainMenu* menu = FindMainMenu(this)) {
        if (LLF::Music* menuMusic = menu->GetMusic(); menuMusic && menuMusic->GetVolume() > 0.0f) {
          FadeMusic(menuMusic, false);
        }
      }
      if (music) {
        FadeMusic(music, true);
        if (LLF::ISoundDriver* driver = Driver()) {
          driver->PlayMusic(music);
        }
      }
      ChangeState(LM_STATE_ANIM_FINISH, mapAnimation ? kAnimationTime : 0);
      break;
    }
    case LM_STATE_ANIM_FINISH:
      ClearToBlack();
      if (mapAnimation) {
        HLF::Control* animation = mapAnimation;
        mapAnimation = nullptr;
        RemoveChild(animation, true);
      }
      StoryCheck();
      break;
    case LM_STATE_ANIM_FINISHED:
      EnterAnimFinished();
      break;
    case LM_STATE_BACK_TO_MENU:
      exitFader = ScreenFade(true);
      FadeMusic(music, false);
      ShowColumns(false);
      break;
    case LM_STATE_BACK_TO_MENU_FINISHED:
      if (music) {
        music->SetVolume(0.0f);
      }
      SendCode(LM_MSG_BACK_TO_MENU);
      break;
    case LM_STATE_STARTLEVEL:
      ShowColumns(false);
      exitFader = ScreenFade(true);
      FadeMusic(music, false);
      break;
    case LM_STATE_STARTLEVEL_FINISHED:
      SendCode(LM_MSG_START_LEVEL);
      break;
    default:
      HLF::Control::DoState();
      break;
  }
}

void ZentaLevelMap::StoryCheck() {
  const int days = GetDaysCount();
  if (days == 0) {
    // Nothing to show, and no day to advance to: the menu, not a loop of
    // next days.
    MapLog(std::wstring(kLevelsFile) + L" has no day to show; back to the main menu.");
    ChangeState(LM_STATE_BACK_TO_MENU, 0);
    return;
  }
  const int day = CurrentDay();
  bool incomplete = false;
  const int levels = GetLevelsCount(day);
  for (int i = 0; i < levels && !incomplete; ++i) {
    incomplete = !IsLevelComplete(day, i);
  }
  if (!IsStoryShown(day, incomplete) && ShowStoryPage(day, incomplete)) {
    return;  // the page's second click leads on
  }
  dayComplete = !incomplete;
  ChangeState(LM_STATE_ANIM_FINISHED, 0);
}

void ZentaLevelMap::EnterAnimFinished() {
  if (dayComplete) {
    NextDayOrGameOver();
    return;
  }
  if (storyPage && storyClosing) {
    RemoveStoryPage();
  }
  {
    HLF::Player player;
    player.SetVar(L"stats", L"startAnimation", L"true");
  }
  BuildPage();
  ScreenFade(false);
  SetAlpha(255);
  ShowColumns(true);
}

void ZentaLevelMap::NextDayOrGameOver() {
  const int days = GetDaysCount();
  const int day = CurrentDay();
  if (day >= days - 1) {
    // The game is over: the profile starts again, with its wallpapers.
    if (HLF::Game* game = HLF::Game::GetInstance()) {
      const std::wstring name = game->GetCurrentProfileName();
      const std::wstring wallpapers = ReadWallpaperMask();
      game->DeleteProfile(name);
      game->SetCurrentProfile(name);
      WriteWallpaperMask(wallpapers);
    }
    SendCode(LM_MSG_BACK_TO_MENU);
  } else {
    // In this order: the full time is the new day's.
    SetCurrentDay(day + 1);
    GameMode::StoreTimeLeft(-1);
    SendCode(LM_MSG_NEXT_DAY);
  }
  ShowColumns(true);
}

void ZentaLevelMap::RemoveStoryPage() {
  HLF::Control* closing = storyPage;
  storyPage = nullptr;
  storyClosing = false;
  RemoveChild(closing, true);
  if (LLF::Sound* loop = LLF::SoundSystem::GetInstance().GetSound(kStoryLoop)) {
    if (LLF::ISoundDriver* driver = Driver()) {
      driver->StopSound(loop);
    }
  }
}

bool ZentaLevelMap::ProcessMessage(const LLF::Message& msg) {
  if (msg.GetSender() == &LLF::AppWindow::GetInstance() && msg.GetCode() == LLF::WMSG_BUTTON_UP &&
      storyPage && !storyClosing) {
    OnStoryPageClick();
  }
  return HLF::Control::ProcessMessage(msg);
}

bool ZentaLevelMap::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  const LLF::Object* sender = msg->GetSender();
  const int code = msg->GetCode();
  const bool leaving = _current == LM_STATE_STARTLEVEL || _current == LM_STATE_STARTLEVEL_FINISHED;
  if (code == HLF::BUTTON_MSG_CLICKED) {
    for (size_t i = 0; i < levelButtons.size(); ++i) {
      if (sender == levelButtons[i]) {
        // A level is being started already: a second choice would change
        // the level under the fade.
        if (!leaving) {
          StartLevel(static_cast<int>(i));
        }
        return true;
      }
    }
  }
  if (sender == &mapLoader && (code == HLF::ASSETS_MSG_DONE || code == HLF::ASSETS_MSG_DONE_FAILED)) {
    if (code == HLF::ASSETS_MSG_DONE_FAILED) {
      LogLine(
          L"Warning: ZentaLevelMap - some of the list \"LEVELSMAP\" did not load; the map goes on without "
          L"it.");
    }
    if (_current == LM_STATE_INIT) {
      ChangeState(LM_STATE_ANIM_START, 0);
    }
    return true;
  }
  if (code == HLF::BUTTON_MSG_CLICKED && backButton && sender == backButton) {
    ChangeState(LM_STATE_BACK_TO_MENU, 0);
    return true;
  }
  if (code == HLF::BUTTON_MSG_CLICKED && playButton && sender == playButton) {
    if (!leaving) {
      const int day = CurrentDay();
      const int levels = GetLevelsCount(day);
      for (int i = 0; i < levels; ++i) {
        if (!IsLevelComplete(day, i)) {
          StartLevel(i);
          break;
        }
      }
    }
    return true;
  }
  if (exitFader && sender == exitFader && code == HLF::MOD_MSG_END) {
    exitFader = nullptr;  // deleted by the map once its pass is over
    if (_current == LM_STATE_BACK_TO_MENU) {
      ChangeState(LM_STATE_BACK_TO_MENU_FINISHED, 0);
    } else if (_current == LM_STATE_STARTLEVEL) {
      ChangeState(LM_STATE_STARTLEVEL_FINISHED, 0);
    }
    return true;
  }
  return HLF::Control::OnMessage(msg);
}

void ZentaLevelMap::CreateColumns() {
  struct Column {
    HLF::StaticImage*& column;
    const wchar_t* name;
    const wchar_t* image;
    float x;
  };
  const Column columns[] = {
      {columnLeft, L"columnLeft", L"menu_column_left", -64.0f},
      {columnRight, L"columnRight", L"menu_column_right", 800.0f},
  };
  for (const Column& c : columns) {
    if (c.column) {
      continue;
    }
    c.column = new HLF::StaticImage(c.name);
    c.column->SetImage(c.image);
    c.column->SetAlpha(255);
    c.column->SetPosition(c.x, 0.0f);
    AddChild(c.column);
  }
}

void ZentaLevelMap::ShowColumns(bool show) {
  if (!columnLeft || !columnRight) {
    CreateColumns();
  }
  columnLeft->AddAndStartEffect(new HLF::Effect(kEffectsFile, show ? L"ColumnLeftShow" : L"ColumnLeftHide"));
  columnRight->AddAndStartEffect(
      new HLF::Effect(kEffectsFile, show ? L"ColumnRightShow" : L"ColumnRightHide"));
  if (LLF::Sound* stones = LLF::SoundSystem::GetInstance().GetSound(L"stone_columns")) {
    if (LLF::ISoundDriver* driver = Driver()) {
      driver->PlaySound(stones);
    }
  }
}

void ZentaLevelMap::LoadMapAssets() {
  if (!mapLoader.SetListFromFile(kImagesFile, L"LEVELSMAP") || !mapLoader.Start(0)) {
    // Without its list the map still works; it waits for nothing.
    LogLine(L"Warning: ZentaLevelMap - the list \"LEVELSMAP\" of scripts/images.xml can't be loaded.");
    ChangeState(LM_STATE_ANIM_START, 0);
  }
}

void ZentaLevelMap::StartLevel(int index) {
  selectedLevel = GetLevelInfo(CurrentDay(), index);
  if (selectedLevel.level != -1) {
    ChangeState(LM_STATE_STARTLEVEL, 0);
  }
}

bool ZentaLevelMap::BuildPage() {
  const int day = CurrentDay();
  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  for (HLF::Control** old : {&page, &thumbnails}) {
    if (*old) {
      if (*old == page && emitter && emitter->GetParent() == page) {
        page->RemoveChild(emitter, false);
      }
      RemoveChild(*old, true);
      *old = nullptr;
    }
  }
  levelButtons.clear();
  backButton = nullptr;
  playButton = nullptr;

  page = factory.LoadNamedObjectFromXml(kLayoutFile, kLayoutSection, L"genericBackground");
  if (!page) {
    MapLog(std::wstring(kLayoutFile) + L" has no \"genericBackground\"; the day has no page.");
  } else {
    if (auto* dayNum = dynamic_cast<HLF::StaticImage*>(page->GetChildByName(L"dayNum"))) {
      dayNum->SetCell(day);
    } else {
      MapLog(L"the page has no \"dayNum\".");
    }
    AddChild(page);
    if (emitter) {
      page->AddChild(emitter);
      emitter->Start(0);
      emitter->SendToBack();
    }
    struct Named {
      HLF::Control*& control;
      const wchar_t* name;
    };
    for (const Named& n : {Named{backButton, L"backButton"}, Named{playButton, L"playButton"}}) {
      n.control = page->GetChildByName(n.name);
      if (n.control) {
        n.control->AddReceiver(this);
      } else {
        MapLog(std::wstring(L"the page has no \"") + n.name + L"\".");
      }
    }
  }

  dayLoader.UnloadAssets();
  const std::wstring dayList = L"LEVELSMAP_DAY" + LLF::ToString(day + 1);
  if (dayLoader.SetListFromFile(kImagesFile, dayList) && dayLoader.Start(0)) {
    dayLoader.Wait();
  } else {
    LogLine(L"Warning: ZentaLevelMap - the list \"" + dayList + L"\" of scripts/images.xml can't be loaded.");
  }

  const std::wstring section = std::wstring(kLayoutSection) + L"/" + DayName(day);
  thumbnails = factory.LoadNamedObjectFromXml(kLayoutFile, section, L"maplevelthumbs");
  if (!thumbnails) {
    MapLog(std::wstring(kLayoutFile) + L", section " + section + L" has no \"maplevelthumbs\".");
  } else {
    AddChild(thumbnails);
    for (int i = 0; i < thumbnails->GetChildsCount(); ++i) {
      HLF::Control* thumbnail = thumbnails->GetChild(i);
      HLF::Control* first = thumbnail->GetChildsCount() > 0 ? thumbnail->GetChild(0) : nullptr;
      auto* button = first && first->IsKindOf("Button") ? dynamic_cast<HLF::Button*>(first) : nullptr;
      if (!button) {
        MapLog(L"the thumbnail \"" + thumbnail->GetName() + L"\" of " + DayName(day) +
               L" holds no button first.");
        continue;
      }
      if (IsLevelComplete(day, static_cast<int>(levelButtons.size()))) {
        button->SetEnabled(false);
        button->SetText(std::wstring());
      }
      button->AddReceiver(this);
      levelButtons.push_back(button);
    }
  }
  ApplyGroups(day, static_cast<int>(levelButtons.size()));
  CreateColumns();
  return true;
}

void ZentaLevelMap::ApplyGroups(int day, int buttonCount) {
  LLF::XmlDoc doc;
  LLF::XmlElement* dayElement = LoadLevels(doc) ? FindDay(doc, day) : nullptr;
  if (!dayElement) {
    return;
  }
  // Only the level elements: a comment between them shifts nothing.
  std::vector<int> groups;
  int groupCount = 1;
  for (int i = 0; i < dayElement->GetChildsCount(); ++i) {
    const LLF::XmlElement* child = dayElement->GetChild(i);
    if (child->IsComment() || !Contains(child->GetName(), L"level")) {
      continue;
    }
    const int group = std::max(0, child->GetAttribute(L"group", 0).GetInt());
    groups.push_back(group);
    groupCount = std::max(groupCount, group + 1);
  }
  const int levels = static_cast<int>(groups.size());
  if (buttonCount < levels) {
    MapLog(DayName(day) + L" has " + LLF::ToString(levels) + L" levels but " + LLF::ToString(buttonCount) +
           L" thumbnails; Play still starts the others.");
  }
  std::vector<bool> complete(groupCount, true);
  for (int i = 0; i < levels; ++i) {
    if (complete[groups[i]] && !IsLevelComplete(day, i)) {
      complete[groups[i]] = false;
    }
  }
  for (int i = 0; i < levels && i < buttonCount; ++i) {
    const int g = groups[i];
    const bool open = g == 0 || complete[g] || complete[g - 1];
    if (HLF::Control* thumbnail = levelButtons[i]->GetParent()) {
      thumbnail->SetVisible(open);
    }
  }
}

HLF::Fader* ZentaLevelMap::ScreenFade(bool toBlack) {
  auto* fader = new HLF::Fader(nullptr, nullptr, this,
                               toBlack ? HLF::Fader::FADE_RISE : HLF::Fader::FADE_FALL, kFadeTime, 0);
  AddAndStartModifier(fader, true);
  return fader;
}

void ZentaLevelMap::FadeMusic(LLF::Music* target, bool in) {
  if (!target) {
    return;
  }
  AddAndStartModifier(new HLF::AudioFader(target, nullptr, nullptr, in ? 1 : 0, kFadeTime, 0), true);
}

void ZentaLevelMap::FadeStoryLoop(bool in) {
  if (LLF::Sound* loop = LLF::SoundSystem::GetInstance().GetSound(kStoryLoop)) {
    AddAndStartModifier(new HLF::AudioFader(loop, nullptr, nullptr, in ? 1 : 0, kFadeTime, 0), true);
  }
}

bool ZentaLevelMap::ShowStoryPage(int day, bool pre) {
  storyIsPre = pre;
  {
    LLF::XmlDoc doc;
    if (!doc.LoadFromFile(kStoryFile)) {
      return false;
    }
  }
  storyLoader.UnloadAssets();
  const std::wstring dayName = DayName(day);
  if (storyLoader.SetListFromFile(kStoryFile, dayName) && storyLoader.Start(0)) {
    storyLoader.Wait();
  }
  const wchar_t* pageName = pre ? L"prestory" : L"poststory";
  HLF::Control* shown =
      HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(kStoryFile, L"game/" + dayName, pageName);
  if (!shown) {
    LogLine(L"Warning: No story page specified for day " + LLF::ToString(day + 1) + L" / " + pageName);
    return false;
  }
  if (page) {
    page->SetVisible(false);
  }
  if (HLF::Control* thumbs = GetChildByName(L"maplevelthumbs")) {
    thumbs->SetVisible(false);
  }
  storyPage = shown;
  AddChild(storyPage);
  SetStoryShown(day, pre, true);
  storyClosing = false;
  FadeStoryLoop(true);
  FadeMusic(music, false);
  if (LLF::Sound* loop = LLF::SoundSystem::GetInstance().GetSound(kStoryLoop)) {
    if (LLF::ISoundDriver* driver = Driver()) {
      driver->StopSound(loop);
      driver->PlaySound(loop);
    }
  }
  return true;
}

void ZentaLevelMap::OnStoryPageClick() {
  if (!storyPage || storyClosing) {
    return;
  }
  if (RunsEffects(*storyPage)) {
    StopEffects(*storyPage);
    return;
  }
  ScreenFade(true);
  if (!storyIsPre) {
    dayComplete = true;
  }
  ChangeState(LM_STATE_ANIM_FINISHED, kFadeTime);
  storyClosing = true;
  if (LLF::SoundSystem::GetInstance().GetSound(kStoryLoop)) {
    FadeStoryLoop(false);
    FadeMusic(music, true);
  }
}
