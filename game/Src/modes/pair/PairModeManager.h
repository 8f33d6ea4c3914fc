#pragma once
// The Pair board: the level's scenes as its children, one of them current
// (taking clicks) at a time. A completed scene slides down out of view
// while the next slides in from above; the last one completed wins the
// level. The board draws no rectangle of its own and is not a hit target;
// its scenes decide by their own visibility.
//
// level.xml: <level assetFile="..."> whose children with "scene_" in their
// name are the scenes, in document order, numbered by the digits after
// "scene_". A scene's "object" children are its items: name, dims "w,h",
// pane ("left", anything else the right pane), imgName, pos "x,y". The item
// pictures come from the list "pairImages" of the file assetFile names,
// which the board loads and unloads itself.
#include <string>
#include <vector>

#include "model/Control.h"
#include "shell/AssetsLoader.h"

namespace LLF {
class XmlElement;
}

class GameModePair;
class PairModeScene;

class PairModeManager : public HLF::Control {
 public:
  PairModeManager();
  ~PairModeManager() override;

  LLF_KIND_OF(PairModeManager, HLF::Control)

  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;

  virtual void SetOwnerMode(GameModePair* mode) { owner = mode; }
  // The scenes of the level element. False, with an error line, without an
  // "assetFile" or without a usable scene.
  virtual bool LoadScenes(LLF::XmlElement& level);
  // Shows the scene at index (0 when index names no scene, with a warning)
  // as the current one and hides its items found before.
  virtual void RestoreProgress(int index, const std::wstring& leftValue, const std::wstring& leftName,
                               const std::wstring& rightValue, const std::wstring& rightName);
  // Both odd items of the current scene are found: the next scene slides
  // in, or the level is won after the last.
  virtual void SceneCompleted();

  // The ends of the slide and of the scene-number label's hide effect.
  bool OnMessage(LLF::Message* msg) override;

  GameModePair* GetOwnerMode() const { return owner; }
  PairModeScene* GetCurrentScene() const { return currentScene; }
  int GetCurrentIndex() const { return currentIndex; }
  const std::vector<PairModeScene*>& GetScenes() const { return scenes; }

 private:
  // The old scene hides and the new one takes clicks.
  void FinishSlide();

  std::vector<PairModeScene*> scenes;
  PairModeScene* currentScene = nullptr;
  int currentIndex = 0;
  GameModePair* owner = nullptr;
  HLF::AssetsLoader sceneAssets;
};
