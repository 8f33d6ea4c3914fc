#include "modes/pair/PairModeManager.h"

#include <algorithm>

#include "core/Log.h"
#include "core/Message.h"
#include "core/StringUtils.h"
#include "math/Transform.h"
#include "modes/pair/GameModePair.h"
#include "modes/pair/PairModeScene.h"
#include "modifiers/Effect.h"
#include "widgets/Label.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kItemList[] = L"pairImages";
const wchar_t kMoveDown[] = L"LevelPairMoveSceneDown";
const wchar_t kMoveDown2[] = L"LevelPairMoveSceneDown2";
const wchar_t kNumberHide[] = L"LevelPairSceneNumHide";
const wchar_t kNumberShow[] = L"LevelPairSceneNumShow";

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

// The number after "scene_" (from the seventh character on); 0 when that is
// no number.
int SceneNumber(const std::wstring& name) {
  int number = 0;
  if (name.size() <= 6 || !LLF::FromString(name.substr(6), number)) {
    return 0;
  }
  return number;
}

}  // namespace

PairModeManager::PairModeManager() : HLF::Control(L"PairModeManager") {
  SetSize(800, 600);
  SetRenderable(false);
}

PairModeManager::~PairModeManager() {
  sceneAssets.UnloadAssets();
  // The scenes go with the children.
  scenes.clear();
  currentScene = nullptr;
}

bool PairModeManager::LoadScenes(LLF::XmlElement& level) {
  const LLF::XmlAttribute* assetFile = level.GetAttribute(std::wstring(L"assetFile"));
  if (!assetFile || assetFile->GetValue().empty()) {
    WriteLog(L"Error: PairModeManager - the level has no \"assetFile\".");
    return false;
  }
  if (!sceneAssets.SetListFromFile(assetFile->GetValue(), kItemList)) {
    WriteLog(L"Error: PairModeManager - can't read the list pairImages of " + assetFile->GetValue() + L".");
    return false;
  }
  if (sceneAssets.Start(0)) {
    sceneAssets.Wait();
  }
  for (int i = 0; i < level.GetChildsCount(); ++i) {
    LLF::XmlElement* element = level.GetChild(i);
    if (!element || element->IsComment() || element->GetName().find(L"scene_") == std::wstring::npos) {
      continue;
    }
    const int number = SceneNumber(element->GetName());
    auto* scene = new PairModeScene();
    if (!scene->LoadItems(*element)) {
      delete scene;
      continue;
    }
    scene->SetName(LLF::ToString(number));
    if (scene->GetMissingLeft().empty() && scene->GetMissingRight().empty()) {
      WriteLog(L"Warning: PairModeManager - scene " + LLF::ToString(number) +
               L" has no odd item: every item has a partner, so it cannot be won.");
    }
    scene->SetVisible(false);
    scenes.push_back(scene);
    AddChild(scene);
  }
  BringToFront();
  if (scenes.empty()) {
    WriteLog(L"Error: PairModeManager - the level has no usable scene.");
    return false;
  }
  return true;
}

void PairModeManager::RestoreProgress(int index, const std::wstring& leftValue, const std::wstring& leftName,
                                      const std::wstring& rightValue, const std::wstring& rightName) {
  if (scenes.empty()) {
    return;
  }
  bool own = true;
  if (index < 0 || index >= static_cast<int>(scenes.size())) {
    WriteLog(L"Warning: PairModeManager - the saved scene " + LLF::ToString(index) + L" is not one of the " +
             LLF::ToString(static_cast<int>(scenes.size())) + L" scenes; the level starts at scene 0.");
    index = 0;
    // The names were another scene's.
    own = false;
  }
  currentIndex = index;
  currentScene = scenes[static_cast<size_t>(index)];
  currentScene->SetVisible(true);
  if (own) {
    currentScene->RestoreFound(leftValue, leftName, rightValue, rightName);
  }
  if (owner) {
    owner->UpdateSceneNumberLabel();
  }
}

void PairModeManager::SceneCompleted() {
  if (!currentScene) {
    return;
  }
  if (currentScene == scenes.back()) {
    currentScene = nullptr;
    if (owner) {
      owner->OnLevelComplete();
    }
    return;
  }
  const auto found = std::find(scenes.begin(), scenes.end(), currentScene);
  if (found != scenes.end()) {
    const size_t i = static_cast<size_t>(found - scenes.begin());
    PairModeScene* leaving = currentScene;
    PairModeScene* coming = scenes[i + 1];
    currentIndex = static_cast<int>(i) + 1;
    currentScene = nullptr;
    HLF::Effect* slide = GameModePair::StartPairEffect(leaving, kMoveDown, this);
    GameModePair::StartPairEffect(coming, kMoveDown2, nullptr);
    coming->SetVisible(true);
    if (!slide) {
      // Nothing to wait for.
      FinishSlide();
    }
  }
  HLF::Label* label = owner ? owner->GetSceneNumberLabel() : nullptr;
  if (label) {
    if (!GameModePair::StartPairEffect(label, kNumberHide, this) && owner) {
      owner->UpdateSceneNumberLabel();
    }
    GameModePair::StartPairEffect(label, kNumberShow, nullptr);
  }
}

void PairModeManager::FinishSlide() {
  if (currentIndex <= 0 || currentIndex >= static_cast<int>(scenes.size())) {
    return;
  }
  scenes[static_cast<size_t>(currentIndex) - 1]->SetVisible(false);
  currentScene = scenes[static_cast<size_t>(currentIndex)];
}

bool PairModeManager::OnMessage(LLF::Message* msg) {
  if (!msg || msg->GetCode() != HLF::EFFECT_MSG_END) {
    return false;
  }
  auto* effect = dynamic_cast<HLF::Effect*>(msg->GetSender());
  if (!effect) {
    return false;
  }
  if (effect->GetName() == kMoveDown) {
    FinishSlide();
  } else if (effect->GetName() == kNumberHide && owner) {
    owner->UpdateSceneNumberLabel();
  }
  return false;
}

void PairModeManager::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs) {
    return;
  }
  // No visibility test of its own: hiding the board stops its input only.
  RenderChilds(rs, ComputeContext(parent));
  if (owner) {
    owner->DrawGradientFade(rs);
  }
}
