#pragma once
// Input folders for the level builder, drawn by code: what a designer would
// export from an image editor one file per layer. Written by
// "datagen --builder-inputs FOLDER [SRC_PREFIX]" into FOLDER:
//   seek/          Layer_base and twelve objects on 800 x 600 transparent
//                  canvases: 3 easy, 5 normal, 2 difficult, 2 unknown
//   mirror/        original, left and right layers of the three-layer mode
//   mirror_precut/ the original and each difference as a layer of its own
//   pair_items/    item_001.png ... for the item library
//   pair_scene/    Left_NNa / Right_NNb placements, one odd item per pane,
//                  and an asset.xml naming the scene's lp_background, which
//                  lies beside the folders (pair_background.png)
// SRC_PREFIX is FOLDER as the game sees it (the src of asset.xml); FOLDER
// itself when not given.
#include <string>
#include <vector>

#include "math/Rect.h"

namespace Datagen {

class BuilderInputs {
 public:
  struct SeekObject {
    std::wstring file;
    std::wstring name;  // as the level shows it
    std::wstring flag;  // "easy", "normal", "difficult" or "unknown"
    LLF::Rect rect;     // in the 800 x 600 scene
  };
  struct PairPlacement {
    std::wstring file;
    int item = 0;
    bool left = false;
    LLF::Rect rect;
  };

  static const std::vector<SeekObject>& SeekObjects();
  // Differences of the three-layer folder, in the frame of the layer (right
  // ones in x 400..799). Two left blobs lie 30 px apart: merged at merge
  // distance 35, separate at 20.
  static const std::vector<LLF::Rect>& MirrorLeftBlobs();
  static const std::vector<LLF::Rect>& MirrorRightBlobs();
  // The pre-cut folder's differences, one layer each.
  static const std::vector<LLF::Rect>& PreCutLeft();
  static const std::vector<LLF::Rect>& PreCutRight();
  static constexpr int kPairItems = 6;
  static const std::vector<PairPlacement>& PairScene();

  // Writes the five folders; false (with a line on err) when a file cannot
  // be written.
  static bool Write(const std::string& folder, const std::string& srcPrefix, std::string& error);
  // The datagen mode: arguments after "--builder-inputs".
  static int Main(const std::vector<std::string>& arguments);
};

}  // namespace Datagen
