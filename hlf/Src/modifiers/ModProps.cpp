#include "modifiers/ModProps.h"

#include "model/Control.h"

namespace HLF {

ModProps::ModProps(Control* target, unsigned startDelay) : Modifier(target, nullptr) {
  _tag = L"modprops";
  _duration = 0;
  _startDelay = startDelay;
}

bool ModProps::Update(unsigned dt) {
  if (_stopped || !_running) {
    return false;
  }
  _elapsed += dt;
  if (_elapsed < _startDelay) {
    return true;
  }
  return Modifier::Update(dt);
}

void ModProps::Apply(float p, float dt) {
  (void)dt;
  if (_target && p == 1.0f) {
    // The target reads a copy: a control's reader may add to the element
    // (styles), and a modifier that runs again applies what it was given.
    LLF::XmlElement element(_element);
    _target->LoadFromXml(element);
  }
}

// Of the modifier attributes only the start delay; the rest of the element
// is what it applies.
const PropertyTable<ModProps>& ModProps::Properties() {
  static const PropertyTable<ModProps> table({
      MsField<ModProps>(L"startDelay", &ModProps::_startDelay),
  });
  return table;
}

bool ModProps::LoadFromXml(LLF::XmlElement& element) {
  _element = element;
  Properties().Load(*this, element);
  return true;
}

void ModProps::CopyFrom(const Modifier& other) {
  if (const ModProps* props = CopyBaseFrom<ModProps>(other, "ModProps")) {
    _element = props->_element;
  }
}

Modifier* ModProps::CreateInstance() const {
  return new ModProps();
}

}  // namespace HLF
