#include "modifiers/Rotator.h"

#include "model/Control.h"
#include "xml/XmlElement.h"

namespace HLF {

Rotator::Rotator(TimeWarp* curve) : Modifier(curve) {
  _tag = L"rotator";
}

Rotator::Rotator(Control* target, TimeWarp* curve, float startAngle, float endAngle, unsigned duration,
                 unsigned startDelay)
    : Rotator(curve) {
  _target = target;
  _startAngle = startAngle;
  _endAngle = endAngle;
  _duration = duration;
  _startDelay = startDelay;
}

void Rotator::Apply(float p, float dt) {
  if (!_target) {
    return;
  }
  const float step = dt + _carry;
  _carry = 0.0f;
  if (_type == FIXED) {
    _target->SetRotation(_startAngle + (_endAngle - _startAngle) * p);
  } else if (step * _speed == 0.0f) {
    _carry = step;
  } else {
    _target->SetRotation(_target->GetRotation() + _speed * step);
  }
}

const PropertyTable<Rotator>& Rotator::Properties() {
  using P = PropertyTable<Rotator>;
  static const P table({
      P::Member(L"startAngle", &Rotator::_startAngle),
      P::Member(L"endAngle", &Rotator::_endAngle),
      P::Member(L"speed", &Rotator::_speed),
      // The words in the order of the types they name.
      P::Words(L"type", &Rotator::_type, {L"DELTA", L"FIXED"}),
  });
  return table;
}

bool Rotator::LoadFromXml(LLF::XmlElement& element) {
  Modifier::LoadFromXml(element);
  return Properties().Load(*this, element);
}

void Rotator::CopyFrom(const Modifier& other) {
  if (const Rotator* rotator = CopyBaseFrom<Rotator>(other, "Rotator")) {
    _startAngle = rotator->_startAngle;
    _endAngle = rotator->_endAngle;
    _speed = rotator->_speed;
    _carry = rotator->_carry;
    _type = rotator->_type;
  }
}

Modifier* Rotator::CreateInstance() const {
  return new Rotator();
}

void Rotator::GetAngles(float& start, float& end) const {
  start = _startAngle;
  end = _endAngle;
}

void Rotator::SetAngles(float start, float end) {
  _startAngle = start;
  _endAngle = end;
}

}  // namespace HLF
