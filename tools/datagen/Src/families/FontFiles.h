#pragma once
// The fonts of the data folder, copied from the system's DejaVu fonts
// (Debian's fonts-dejavu-core): "fonts/DejaVuSans.ttf" and
// "fonts/DejaVuSans-Bold.ttf". A missing or unreadable one fails the run.
#include <array>

#include "AssetFamily.h"

namespace Datagen {

class FontFiles : public AssetFamily {
 public:
  static constexpr std::array<const char*, 2> kFonts = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"};

  std::string Name() const override { return "the fonts"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  // The named font in the settings' font folder, checked to be a TrueType
  // file; false with an error line naming the folder and what to do.
  static bool Locate(const GeneratorSettings& settings, const char* name, std::string& path, Report& report);
};

}  // namespace Datagen
