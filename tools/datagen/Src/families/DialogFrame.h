#pragma once
// The dialogs' frame, "images/gui/dialog_frame.png": 3 x 3 cells of 24 x 24
// that the dialog stretches over its size (corners as they are, sides along
// their length, the middle both ways). A deep night-blue panel with a gold
// rim, a thin inner gold line and a soft shadow around it. Every side
// cell is the same along its length and the middle is one colour, so the
// frame stays clean however far it is stretched.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class DialogFrame : public AssetFamily {
 public:
  static constexpr int kCell = 24;

  std::string Name() const override { return "the dialog frame"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster Draw();
};

}  // namespace Datagen
