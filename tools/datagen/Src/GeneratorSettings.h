#pragma once
// What a generator run reads and where it writes.
#include <filesystem>

namespace Datagen {

struct GeneratorSettings {
  std::filesystem::path dataFolder;    // the hand-written XML, copied as it is
  std::filesystem::path fontFolder;    // where the DejaVu fonts are taken from
  std::filesystem::path outputFolder;  // the data folder being made
};

}  // namespace Datagen
