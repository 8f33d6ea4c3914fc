#pragma once
// One scene of a Pair level: the background "lp_background" with its items
// (plain static images, children of the scene) on a left and a right pane.
// Items of the same name on the two panes are partners; the first name of
// each pane without a partner on the other is that pane's odd item, the one
// to find. The odd items are sent to the back so that any item drawn over
// one takes the click first.
//
// The scene routes button releases itself: by the items' plain rectangles,
// topmost first, through transparent pixels and through items that run an
// effect, to the first opaque pixel of an item, which is then judged.
#include <string>

#include "widgets/StaticImage.h"

namespace LLF {
class XmlElement;
}

class PairModeManager;

class PairModeScene : public HLF::StaticImage {
 public:
  PairModeScene();
  ~PairModeScene() override;

  LLF_KIND_OF(PairModeScene, HLF::StaticImage)

  bool ProcessMessageChilds(const LLF::Message& msg) override;

  // The background and the scene element's "object" children. False when
  // the background can't be set (the scene is then dropped). Objects
  // without a name are skipped with a warning.
  virtual bool LoadItems(LLF::XmlElement& scene);
  // A click on the item: a find when it is an odd item, else a time
  // penalty.
  virtual void ItemClicked(HLF::Control* item);

  // Whether the item's picture is opaque at p (relative to the item's
  // top-left corner). Outside the picture, or without one: transparent.
  static bool IsOpaqueAt(HLF::StaticImage& item, const LLF::Point& p);

  // The saved names of a restore: a name that is empty in the value but
  // given as saved was found; its item is hidden. A saved name that is not
  // this scene's odd name of that pane is skipped with a warning.
  void RestoreFound(const std::wstring& leftValue, const std::wstring& leftName,
                    const std::wstring& rightValue, const std::wstring& rightName);

  // The odd item of the right pane (the name the left pane lacks), empty
  // once found; and the odd item of the left pane.
  const std::wstring& GetMissingLeft() const { return missingLeft; }
  const std::wstring& GetMissingRight() const { return missingRight; }
  const std::wstring& GetSavedMissingLeft() const { return savedMissingLeft; }
  const std::wstring& GetSavedMissingRight() const { return savedMissingRight; }
  // The first child of that name, in child order, or null.
  HLF::Control* FirstItemNamed(const std::wstring& name) const;
  // Position plus transform centre.
  static LLF::Vector2 CentreOf(const HLF::Control& item);

 private:
  PairModeManager* Board() const;
  void RestoreOne(std::wstring& missing, const std::wstring& saved, const std::wstring& value,
                  const std::wstring& name);

  std::wstring missingLeft;
  std::wstring missingRight;
  std::wstring savedMissingLeft;
  std::wstring savedMissingRight;
};
