#pragma once
// The game's title picture "images/title.png": "The Quillmarsh" and, below
// it, "Zenta" set in DejaVu Sans Bold on a dark teal ribbon with gold
// trim, forked ribbon ends and a soft shadow; transparent around it.
#include "AssetFamily.h"

namespace Datagen {

class TitlePicture : public AssetFamily {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 240;

  std::string Name() const override { return "the title picture"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
