#pragma once
// The hand-written files of the data folder (the XML scripts, registries
// and layouts), copied byte for byte. Every XML file must start with the
// UTF-8 byte-order mark and parse, or the run fails naming it. Hidden files
// (an editor's swap files) are passed over.
#include "AssetFamily.h"

namespace Datagen {

class ScriptFiles : public AssetFamily {
 public:
  std::string Name() const override { return "the hand-written scripts"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;
};

}  // namespace Datagen
