#include "modifiers/Mover.h"

#include "model/Control.h"

namespace HLF {

Mover::Mover(TimeWarp* curve) : Modifier(curve) {
  _tag = L"mover";
}

Mover::Mover(Control* target, TimeWarp* curve, const LLF::Vector2& startPosition,
             const LLF::Vector2& endPosition, unsigned duration, unsigned startDelay, bool noInitialParamsSet)
    : Mover(curve) {
  _target = target;
  _startPosition = startPosition;
  _endPosition = endPosition;
  _duration = duration;
  _startDelay = startDelay;
  _noInitialParamsSet = noInitialParamsSet;
}

void Mover::Apply(float p, float dt) {
  (void)dt;
  if (_target) {
    _target->SetPosition(Lerp(_startPosition, _endPosition, p));
  }
}

const PropertyTable<Mover>& Mover::Properties() {
  using P = PropertyTable<Mover>;
  static const P table({
      P::Member(L"startPosition", &Mover::_startPosition),
      P::Member(L"endPosition", &Mover::_endPosition),
  });
  return table;
}

bool Mover::LoadFromXml(LLF::XmlElement& element) {
  Modifier::LoadFromXml(element);
  return Properties().Load(*this, element);
}

void Mover::CopyFrom(const Modifier& other) {
  if (const Mover* mover = CopyBaseFrom<Mover>(other, "Mover")) {
    _startPosition = mover->_startPosition;
    _endPosition = mover->_endPosition;
  }
}

Modifier* Mover::CreateInstance() const {
  return new Mover();
}

void Mover::GetPositions(LLF::Vector2& start, LLF::Vector2& end) const {
  start = _startPosition;
  end = _endPosition;
}

void Mover::SetPositions(const LLF::Vector2& start, const LLF::Vector2& end) {
  _startPosition = start;
  _endPosition = end;
}

}  // namespace HLF
