#pragma once
// The pictures of the start, both 800 x 600 and opaque:
// - "images/splash/brenvik.png": the vendor's sign, a heron standing in
//   the reeds before a full moon on a night-blue ground, "BRENVIK" set in
//   gold below it;
// - "images/splash/presents.png": the moonlit marsh under a dark veil with
//   "Brenvik presents" and "a voyage through the Quillmarsh".
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class MenuPictures : public AssetFamily {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

  std::string Name() const override { return "the splash pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
