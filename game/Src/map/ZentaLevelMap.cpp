#include "map/ZentaLevelMap.h"

#include <vector>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "shell/Player.h"
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
