#pragma once
// One family of generated files (the title pictures, the interface sounds,
// the fonts, ...): it puts its files into the staging folder. A family that
// fails reports why and returns false; the run then changes nothing.
#include <string>

namespace Datagen {

struct GeneratorSettings;
class Report;
class Staging;

class AssetFamily {
 public:
  virtual ~AssetFamily() = default;
  virtual std::string Name() const = 0;
  virtual bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) = 0;
};

}  // namespace Datagen
