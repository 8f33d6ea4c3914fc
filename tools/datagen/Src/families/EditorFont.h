#pragma once
// The developer editor's font, which the debug console draws with:
// "editor/FontSystem.xml" and its glyph picture "editor/FontSystem.xml.png",
// DejaVu Sans at 14 pixels with the editor's 95 characters, rendered by the
// framework's TrueType codec and saved by its XML font codec.
#include "AssetFamily.h"

namespace Datagen {

class EditorFont : public AssetFamily {
 public:
  static constexpr const char* kFile = "editor/FontSystem.xml";
  static constexpr int kSize = 14;

  std::string Name() const override { return "the editor's font"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
