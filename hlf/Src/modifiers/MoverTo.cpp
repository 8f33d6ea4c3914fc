#include "modifiers/MoverTo.h"

#include "model/Control.h"
#include "modifiers/Mover.h"

namespace HLF {

MoverTo::MoverTo(TimeWarp* curve) : Modifier(curve) {
  _tag = L"moverto";
}

MoverTo::MoverTo(Control* target, TimeWarp* curve, const LLF::Vector2& endPosition, unsigned duration,
                 unsigned startDelay)
    : MoverTo(curve) {
  MoverTo::SetTarget(target);
  _endPosition = endPosition;
  _duration = duration;
  _startDelay = startDelay;
}

Modifier* MoverTo::SetTarget(Control* target) {
  if (target) {
    _startPosition = target->GetPosition();
  }
  return Modifier::SetTarget(target);
}

void MoverTo::SetEndPositionOffset(const LLF::Vector2& offset) {
  _endPositionOffset = offset;
  _useOffset = true;
}

void MoverTo::Apply(float p, float dt) {
  (void)dt;
  if (!_target) {
    return;
  }
  if (_useOffset) {
    _endPosition = _startPosition + _endPositionOffset;
    _useOffset = false;
  }
  _target->SetPosition(Mover::Lerp(_startPosition, _endPosition, p));
}

const PropertyTable<MoverTo>& MoverTo::Properties() {
  using P = PropertyTable<MoverTo>;
  static const P table({
      P::Member(L"endPosition", &MoverTo::_endPosition),
      // Relative to where the target stands when the move starts.
      P::Typed(L"endPositionOffset", &MoverTo::_endPositionOffset, &MoverTo::SetEndPositionOffset),
  });
  return table;
}

bool MoverTo::LoadFromXml(LLF::XmlElement& element) {
  Modifier::LoadFromXml(element);
  return Properties().Load(*this, element);
}

void MoverTo::CopyFrom(const Modifier& other) {
  if (const MoverTo* mover = CopyBaseFrom<MoverTo>(other, "MoverTo")) {
    _startPosition = mover->_startPosition;
    _endPosition = mover->_endPosition;
    _endPositionOffset = mover->_endPositionOffset;
    _useOffset = mover->_useOffset;
  }
}

Modifier* MoverTo::CreateInstance() const {
  return new MoverTo();
}

}  // namespace HLF
