#pragma once
// Makes controls, with their child controls, from control elements. The
// elements "vars", "effect" and "pages" and comments are no controls (their
// owners read them themselves) and give null, at every depth. A control is
// loaded before its children exist; its OnCreated runs once all of them
// are created and loaded, and a false answer drops the control with its
// children.
#include "core/Singleton.h"
#include "model/Control.h"
#include "model/ObjectFactory.h"

namespace HLF {

class ControlFactory : public ObjectFactory<Control>, public LLF::Singleton<ControlFactory> {
  LLF_SINGLETON(ControlFactory)

 public:
  LLF_KIND_OF(ControlFactory, ObjectFactory<Control>)
  ~ControlFactory() override = default;

  // Children that give null (skipped names, unknown tags, failed loads) are
  // left out; their siblings are still made.
  Control* CreateFromXml(LLF::XmlElement& element) override;

 private:
  ControlFactory() = default;
};

}  // namespace HLF
