#pragma once
// A folder for every level of "scripts/game/levels.xml" whose files the
// hand-written data does not hold yet: "level.xml" (its root element only)
// and "asset.xml" (an empty "LEVOBJECTS" list), so every level the map
// offers has a folder to load. A level list that does not read fails the
// run.
#include <string>

#include "AssetFamily.h"

namespace Datagen {

class LevelFolders : public AssetFamily {
 public:
  static constexpr const char* kLevelList = "scripts/game/levels.xml";

  std::string Name() const override { return "the level folders"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
