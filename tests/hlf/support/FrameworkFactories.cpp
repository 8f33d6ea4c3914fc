#include "FrameworkFactories.h"

#include "FrameworkPrototypes.h"
#include "model/ControlFactory.h"
#include "modifiers/ModifierFactory.h"
#include "modifiers/TimeWarpFactory.h"

namespace QmTest {

FrameworkFactories::FrameworkFactories() {
  ClearAll();
  HLF::RegisterFrameworkPrototypes();
}

FrameworkFactories::~FrameworkFactories() {
  ClearAll();
}

void FrameworkFactories::ClearAll() {
  HLF::ControlFactory::GetInstance().Clear();
  HLF::ModifierFactory::GetInstance().Clear();
  HLF::TimeWarpFactory::GetInstance().Clear();
}

}  // namespace QmTest
