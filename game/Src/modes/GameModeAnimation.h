#pragma once
// The animated layers of a level scene, built from the level file's
// "animations" element: a back layer first in the board's parent (the sky
// texture with its looping effect, seen through the scene picture's
// transparent parts) and a front layer last in the board (emitters and
// moving objects with their effects). Every play mode holds one; only a
// mode whose levels have animations fills it. The layers belong to the
// control tree; this keeps pointers to take them out again.
//
// "animations" children, in file order:
// - "emitter": an emitter element, started on the front layer;
// - "sky" (backgroundAlpha, skyTexture, skyEffect, all required): the
//   alpha picture gives the scene picture its per-pixel alpha (same size
//   only), the texture ("<name>_grey.<ext>" for variant 1) stands at
//   (-1024, 0) on the back layer and runs the effect of effects.xml;
// - "objtransform": its child named "objtransform" is a control added to
//   the front layer, its child named "transformeffect" the effect run on it;
// - anything else is ignored. A sky or an objtransform that lacks a part
//   is skipped with a log line. Emitters past the first kMaxEmitters, and
//   emitters, skies and objtransforms past the first kMaxEntries, are
//   skipped with one warning each.
#include <string>

#include "model/StateMachine.h"

namespace LLF {
class Image;
class XmlElement;
}  // namespace LLF

namespace HLF {
class Control;
class StaticImage;
}  // namespace HLF

class GameModeAnimation : public HLF::StateMachine {
 public:
  static constexpr int kSkyLeft = -1024;
  // Each emitter may keep a hundred thousand particles alive (seconds of
  // work a frame under the sanitizers) and each sky reworks the scene
  // picture: a level file listing hundreds would take minutes and
  // gigabytes. Levels use one emitter and a few entries.
  static constexpr int kMaxEmitters = 4;
  static constexpr int kMaxEntries = 16;

  GameModeAnimation() = default;
  GameModeAnimation(const GameModeAnimation&) = delete;
  GameModeAnimation& operator=(const GameModeAnimation&) = delete;
  // The layers stay with the tree; Unload takes them out.
  ~GameModeAnimation() override;

  LLF_KIND_OF(GameModeAnimation, HLF::StateMachine)

  // Builds the layers of level's "animations" over board. True.
  virtual bool Load(LLF::XmlElement& level, HLF::Control* board, int variant);
  // Removes and deletes both layers; a second call does nothing.
  virtual void Unload();

  HLF::Control* GetFrontAnimation() const { return frontAnimation; }
  HLF::Control* GetBackAnimation() const { return backAnimation; }
  HLF::StaticImage* GetSky() const { return sky; }
  const std::wstring& GetSkyEffect() const { return skyEffect; }

  // The texture file of the variant: "_grey" before the last "." of the
  // file name (at the end when it has none) for variant 1.
  static std::wstring TextureName(const std::wstring& texture, int variant);

 private:
  void LoadSky(LLF::XmlElement& element, int variant);
  void LoadEmitter(LLF::XmlElement& element);
  void LoadObjTransform(LLF::XmlElement& element);
  static HLF::Control* NewLayer(const wchar_t* name);

  HLF::Control* frontAnimation = nullptr;
  HLF::Control* backAnimation = nullptr;
  HLF::Control* parent = nullptr;
  std::wstring skyEffect;
  HLF::StaticImage* sky = nullptr;
  // The texture the sky shows, held in the images manager while it lives.
  LLF::Image* skyImage = nullptr;
};
