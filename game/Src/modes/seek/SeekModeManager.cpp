#include "modes/seek/SeekModeManager.h"

#include <algorithm>
#include <cmath>

#include "core/Log.h"
#include "core/Message.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "math/Color.h"
#include "modes/seek/GameModeSeek.h"
#include "modifiers/Fader.h"
#include "modifiers/Mover.h"
#include "modifiers/MoverTo.h"
#include "modifiers/Rotator.h"
#include "modifiers/Scaler.h"
#include "modifiers/TimeWarpAccelerate.h"
#include "render/IRenderSystem.h"
#include "render/ImageDrawParams.h"
#include "render/RendersManager.h"
#include "shell/Game.h"
#include "xml/XmlElement.h"

namespace {

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return LLF::StrCompareNoCase(a, b) == 0;
}

int ClassOf(const std::wstring& flag) {
  if (flag == L"unknown") return SeekModeManager::CLASS_UNKNOWN;
  if (flag == L"easy") return SeekModeManager::CLASS_EASY;
  if (flag == L"normal") return SeekModeManager::CLASS_NORMAL;
  if (flag == L"difficult") return SeekModeManager::CLASS_DIFFICULT;
  if (flag == L"priority") return SeekModeManager::CLASS_PRIORITY;
  return SeekModeManager::CLASS_UNPLAYABLE;
}

std::vector<std::wstring> SplitAtCommas(const std::wstring& text) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(L',', start);
    parts.push_back(text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
    if (comma == std::wstring::npos) {
      return parts;
    }
    start = comma + 1;
  }
}

// Takes up to count names from the front of names; what the class lacks is
// returned.
int TakeNames(std::vector<std::wstring>& list, const std::vector<std::wstring>& names, int count) {
  if (count <= 0) {
    return 0;
  }
  const int taken = std::min(count, static_cast<int>(names.size()));
  list.insert(list.end(), names.begin(), names.begin() + taken);
  return count - taken;
}

void Reupload(LLF::Image& image) {
  if (!image.GetRenderData() || !LLF::RendersManager::GetInstance().GetCurrentRender()) {
    return;
  }
  try {
    image.Update(0, 0, true);
  } catch (...) {
    WriteLog(L"Warning: SeekModeManager - a greyed picture could not be handed to the render system again.");
  }
}

}  // namespace

SeekModeManager::SeekModeManager() : HLF::StaticImage(L"SeekModeManager") {
  SetRenderable(false);
  SetSize(800, 600);
}

SeekModeManager::~SeekModeManager() {
  for (FoundRecord& record : found) {
    HLF::StaticImage* picture = record.picture;
    record.picture = nullptr;
    if (!picture) {
      continue;
    }
    if (HLF::Control* parent = picture->GetParent()) {
      parent->RemoveChild(picture, true);
    } else {
      delete picture;
    }
  }
}

bool SeekModeManager::LoadBoard(LLF::XmlElement& level) {
  if (LLF::XmlElement* background = level.FindChild(L"background")) {
    SetName(background->GetAttribute(L"name", std::wstring()).GetValue());
    SetImage(background->GetAttribute(L"imgName", std::wstring()).GetValue());
    SetPosition(background->GetAttribute(L"pos", LLF::Vector2()).GetFloatPair());
  } else {
    WriteLog(L"Error: SeekModeManager - the level has no background.");
  }
  int easy = level.GetAttribute(L"seekEasy", 0).GetInt();
  int normal = level.GetAttribute(L"seekNormal", 0).GetInt();
  int difficult = level.GetAttribute(L"seekDifficult", 0).GetInt();

  std::vector<std::wstring> byClass[CLASS_PRIORITY + 1];
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  for (int i = 0; i < level.GetChildsCount(); ++i) {
    LLF::XmlElement* child = level.GetChild(i);
    if (!child || child->IsComment() || child->GetName() != L"object") {
      continue;
    }
    if (objects.size() == kMaxObjects) {
      WriteLog(L"Warning: SeekModeManager - more than " + LLF::ToString(int(kMaxObjects)) +
               L" objects; the rest are skipped.");
      break;
    }
    SeekObject object;
    object.name = child->GetAttribute(L"name", std::wstring()).GetValue();
    object.picture = images.FindResource(child->GetAttribute(L"imgName", std::wstring()).GetValue());
    const LLF::Vector2 pos = child->GetAttribute(L"pos", LLF::Vector2()).GetFloatPair();
    object.x = pos.x;
    object.y = pos.y;
    const LLF::Point dims = child->GetAttribute(L"dims", LLF::Point()).GetIntPair();
    object.w = dims.x;
    object.h = dims.y;
    const std::wstring flag = child->GetAttribute(L"flag", std::wstring()).GetValue();
    object.objectClass = ClassOf(flag);
    if (object.objectClass != CLASS_UNPLAYABLE || flag == L"unplayable") {
      byClass[object.objectClass].push_back(object.name);
    }
    objects.push_back(object);
  }
  for (int c : {CLASS_UNKNOWN, CLASS_EASY, CLASS_NORMAL, CLASS_DIFFICULT}) {
    LLF::RandomShuffle(byClass[c].begin(), byClass[c].end());
  }

  searchList = byClass[CLASS_PRIORITY];
  normal += TakeNames(searchList, byClass[CLASS_EASY], easy);
  difficult += TakeNames(searchList, byClass[CLASS_NORMAL], normal);
  const int unknown = TakeNames(searchList, byClass[CLASS_DIFFICULT], difficult);
  if (unknown > 0) {
    if (unknown > static_cast<int>(byClass[CLASS_UNKNOWN].size())) {
      WriteLog(L"Error: Not enough seekable objects in the level.");
    } else {
      TakeNames(searchList, byClass[CLASS_UNKNOWN], unknown);
    }
  }
  return true;
}

bool SeekModeManager::IsInSearchList(const std::wstring& name) const {
  return std::any_of(searchList.begin(), searchList.end(),
                     [&](const std::wstring& s) { return SameName(s, name); });
}

bool SeekModeManager::IsFound(const std::wstring& name) const {
  return std::any_of(found.begin(), found.end(),
                     [&](const FoundRecord& r) { return SameName(r.name, name); });
}

bool SeekModeManager::AllFound() const {
  return !searchList.empty() &&
         std::all_of(searchList.begin(), searchList.end(), [&](const std::wstring& s) { return IsFound(s); });
}

const SeekModeManager::SeekObject* SeekModeManager::FindObject(const std::wstring& name) const {
  for (const SeekObject& object : objects) {
    if (object.name == name) {
      return &object;
    }
  }
  return nullptr;
}

void SeekModeManager::TurnGrey() {
  std::vector<LLF::Image*> pictures;
  pictures.push_back(GetImage());
  for (const SeekObject& object : objects) {
    pictures.push_back(object.picture);
  }
  for (size_t i = 0; i < pictures.size(); ++i) {
    LLF::Image* picture = pictures[i];
    // Two objects may share a picture: it is greyed once.
    if (!picture ||
        std::find(pictures.begin(), pictures.begin() + long(i), picture) != pictures.begin() + long(i)) {
      continue;
    }
    picture->Grayscale();
    Reupload(*picture);
  }
}

bool SeekModeManager::IsOpaqueAt(const SeekObject& object, int px, int py) {
  const LLF::Image* picture = object.picture;
  if (!picture || px < 0 || py < 0 || px >= int(picture->GetWidth()) || py >= int(picture->GetHeight())) {
    return false;
  }
  // A picture without alpha is opaque everywhere.
  if (picture->GetFormat() != LLF::IMGFORMAT_R8G8B8A8) {
    return true;
  }
  LLF::Color pixel;
  picture->GetPixel(&pixel, px, py);
  return pixel.a != 0;
}

int SeekModeManager::ObjectAt(int lx, int ly) const {
  const float fx = float(lx);
  const float fy = float(ly);
  for (size_t i = 0; i < objects.size(); ++i) {
    const SeekObject& object = objects[i];
    if (object.found || !IsInSearchList(object.name)) {
      continue;
    }
    if (fx < object.x || fx >= object.x + float(object.w) || fy < object.y ||
        fy >= object.y + float(object.h)) {
      continue;
    }
    if (IsOpaqueAt(object, lx - int(object.x), ly - int(object.y))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void SeekModeManager::OnMouseUp(const LLF::Message& msg) {
  if (!owner || !owner->IsPlaying()) {
    return;
  }
  const LLF::Vector2 position = GetPosition();
  const int lx = msg.GetPrimary() - int(position.x);
  const int ly = msg.GetSecondary() - int(position.y);
  const LLF::Vector2 at{float(lx), float(ly)};
  const int index = ObjectAt(lx, ly);
  if (index < 0) {
    owner->OnMiss(at);
    return;
  }
  SeekObject& object = objects[size_t(index)];
  object.found = true;
  StartFlight(object);
  owner->OnFind(object, at);
  HLF::Control::OnMouseUp(msg);
}

void SeekModeManager::StartFlight(const SeekObject& object) {
  HLF::Game* game = HLF::Game::GetInstance();
  HLF::Control* layer = game ? game->GetGameLayer() : nullptr;
  FoundRecord record;
  record.name = object.name;
  if (!layer) {
    found.push_back(record);
    return;
  }
  const bool right = owner ? owner->IsListOnRight() : true;
  const float w = float(object.w);
  const float h = float(object.h);
  const LLF::Vector2 centre(((kScreenWidth + (right ? -kListWidth : kListWidth)) - w) * 0.5f,
                            (kScreenHeight - h) * 0.5f);
  const float exitX = right ? 800.0f : -50.0f;

  auto* picture = new HLF::StaticImage(L"seek_found_object");
  picture->SetImageObject(object.picture);
  // It starts where the object was drawn on the screen.
  picture->SetPosition(GetAbsolutePosition().x + object.x, GetAbsolutePosition().y + object.y);
  picture->SetTransformCenter(LLF::Vector2(w * 0.5f, h * 0.5f));
  // It flies over the board and must not take its clicks.
  picture->SetActionsInvisible(true);
  layer->AddChild(picture);

  auto* fader =
      new HLF::Fader(picture, new HLF::TimeWarpAccelerate(), this, HLF::Fader::FADE_FALL, 1000, 2500);
  picture->AddAndStartModifier(new HLF::MoverTo(picture, new HLF::TimeWarpAccelerate(), centre, 1000, 0));
  picture->AddAndStartModifier(new HLF::Mover(picture, new HLF::TimeWarpAccelerate(), centre,
                                              LLF::Vector2(exitX, centre.y), 2000, 2000, true));
  picture->AddAndStartModifier(fader);
  picture->AddAndStartModifier(
      new HLF::Rotator(picture, new HLF::TimeWarpAccelerate(), 0.0f, right ? 1440.0f : -1440.0f, 2000, 2200));
  picture->AddAndStartModifier(
      new HLF::Scaler(picture, nullptr, LLF::Vector2(1.5f, 1.5f), LLF::Vector2(1.0f, 1.0f), 500, 1500));
  picture->AddAndStartModifier(
      new HLF::Scaler(picture, nullptr, LLF::Vector2(1.0f, 1.0f), LLF::Vector2(1.5f, 1.5f), 500, 1000));
  record.picture = picture;
  record.fader = fader;
  found.push_back(record);
}

bool SeekModeManager::OnMessage(LLF::Message* msg) {
  if (!msg || msg->GetCode() != HLF::MOD_MSG_END || !msg->GetSender()) {
    return HLF::StaticImage::OnMessage(msg);
  }
  for (FoundRecord& record : found) {
    if (!record.fader || static_cast<LLF::Object*>(record.fader) != msg->GetSender()) {
      continue;
    }
    record.fader = nullptr;
    if (record.picture) {
      record.picture->SetVisible(false);
    }
    const int lines = std::min(static_cast<int>(searchList.size()), GameModeSeek::kListLines);
    for (int i = 0; i < lines; ++i) {
      if (!SameName(searchList[size_t(i)], record.name)) {
        continue;
      }
      WriteLog(L"Mod finished. Name of obj: " + record.name + L". Label index: " + LLF::ToString(i) +
               L" Name of search index: " + searchList[size_t(i)]);
      if (owner) {
        owner->FadeLine(i);
      }
    }
    return true;
  }
  return HLF::StaticImage::OnMessage(msg);
}

void SeekModeManager::Restore(const std::wstring& items, const std::wstring& itemsFound) {
  if (!items.empty()) {
    const std::vector<std::wstring> names = SplitAtCommas(items);
    if (names.size() > searchList.size()) {
      WriteLog(L"Warning: SeekModeManager - the stored list has " + LLF::ToString(int(names.size())) +
               L" names for " + LLF::ToString(int(searchList.size())) + L" lines; the rest is dropped.");
    }
    for (size_t k = 0; k < names.size() && k < searchList.size(); ++k) {
      searchList[k] = names[k];
    }
  }
  if (itemsFound.empty()) {
    return;
  }
  for (const std::wstring& name : SplitAtCommas(itemsFound)) {
    if (name.empty()) {
      continue;
    }
    // A name twice, or one the list does not hold, would make a record no
    // line matches: the goal could then never be met.
    if (!IsInSearchList(name) || IsFound(name)) {
      WriteLog(L"Warning: SeekModeManager - the stored find \"" + name +
               L"\" is not in the list or is there twice; "
               L"ignored.");
      continue;
    }
    FoundRecord record;
    record.name = name;
    found.push_back(record);
    for (SeekObject& object : objects) {
      if (SameName(object.name, name)) {
        object.found = true;
        break;
      }
    }
  }
}

std::wstring SeekModeManager::ItemsValue() const {
  std::wstring value;
  for (size_t i = 0; i < searchList.size(); ++i) {
    value += (i ? L"," : L"") + searchList[i];
  }
  return value;
}

std::wstring SeekModeManager::ItemsFoundValue() const {
  std::wstring value;
  for (const std::wstring& name : searchList) {
    const bool isFound = std::any_of(objects.begin(), objects.end(),
                                     [&](const SeekObject& o) { return o.found && SameName(o.name, name); });
    if (isFound) {
      value += name + L",";
    }
  }
  return value;
}

void SeekModeManager::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  rs->PushTransform(context.matrix);
  DrawImage(rs, context);
  for (const SeekObject& object : objects) {
    if (object.found || !object.picture) {
      continue;
    }
    HLF::ImageDrawParams params;
    params.position = LLF::Vector2(object.x, object.y);
    params.alpha = context.alpha;
    params.transform = 0;
    rs->DrawImage(object.picture, params);
  }
  rs->PopTransform();
  RenderChilds(rs, context);
  if (lightImage && lightImage->GetWidth() > 0) {
    HLF::Game* game = HLF::Game::GetInstance();
    // The cursor in board coordinates, so the light stays on it wherever
    // the board stands.
    const LLF::Vector2 mouse = game ? game->GetMousePosition() : LLF::Vector2();
    const LLF::Vector2 origin = GetAbsolutePosition();
    const float lw = float(lightImage->GetCellWidth());
    const float lh = float(lightImage->GetCellHeight());
    HLF::ImageDrawParams params;
    params.position = LLF::Vector2(mouse.x - origin.x - 1.6f * lw, mouse.y - origin.y - 1.6f * lh);
    params.scale = LLF::Vector2(3.2f, 3.2f);
    params.alpha = context.alpha;
    rs->PushTransform(context.matrix);
    rs->DrawImage(lightImage, params);
    rs->PopTransform();
  }
  if (owner) {
    owner->DrawGradientFade(rs);
  }
}
