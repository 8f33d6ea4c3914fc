#pragma once
// Makes modifiers from modifier elements by their names; "vars" gives
// null. Modifiers have no children and no completion call.
#include "core/Singleton.h"
#include "model/ObjectFactory.h"
#include "modifiers/Modifier.h"

namespace HLF {

class ModifierFactory : public ObjectFactory<Modifier>, public LLF::Singleton<ModifierFactory> {
  LLF_SINGLETON(ModifierFactory)

 public:
  LLF_KIND_OF(ModifierFactory, ObjectFactory<Modifier>)
  ~ModifierFactory() override = default;

  Modifier* CreateFromXml(LLF::XmlElement& element) override;

 private:
  ModifierFactory() = default;
};

}  // namespace HLF
