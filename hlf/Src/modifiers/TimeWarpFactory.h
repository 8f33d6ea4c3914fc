#pragma once
// Makes easing curves for modifier elements: the curve whose tag the
// element's "timeWarp" attribute names. An element without the attribute
// (or "vars") gets none.
#include "core/Singleton.h"
#include "model/ObjectFactory.h"
#include "modifiers/TimeWarp.h"

namespace HLF {

class TimeWarpFactory : public ObjectFactory<TimeWarp>, public LLF::Singleton<TimeWarpFactory> {
  LLF_SINGLETON(TimeWarpFactory)

 public:
  LLF_KIND_OF(TimeWarpFactory, ObjectFactory<TimeWarp>)
  ~TimeWarpFactory() override = default;

  TimeWarp* CreateFromXml(LLF::XmlElement& element) override;

 private:
  TimeWarpFactory() = default;
};

}  // namespace HLF
