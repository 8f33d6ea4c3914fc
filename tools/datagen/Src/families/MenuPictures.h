#pragma once
// The pictures of the start and the menu, all 800 x 600 and opaque:
// - "images/splash/brenvik.png": the vendor's sign, a heron standing in
//   the reeds before a full moon on a night-blue ground, "BRENVIK" set in
//   gold below it;
// - "images/splash/presents.png": the moonlit marsh under a dark veil with
//   "Brenvik presents" and "a voyage through the Quillmarsh";
// - "images/menu_bg.png": the moonlit marsh with a dark, gold-trimmed
//   panel where the menu's buttons stand;
// - "images/menu_button.png": the menu's button, four cells of 240 x 48
//   (normal, pressed, under the mouse, disabled), teal with a gold trim.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class MenuPictures : public AssetFamily {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;
  // The panel of the menu background (left, top, right, bottom).
  static constexpr int kPanel[4] = {250, 232, 550, 520};
  static constexpr int kButtonWidth = 240;
  static constexpr int kButtonHeight = 48;

  std::string Name() const override { return "the splash and menu pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
