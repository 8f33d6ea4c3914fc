#include "modifiers/Scaler.h"

#include "model/Control.h"
#include "modifiers/Mover.h"

namespace HLF {

Scaler::Scaler(TimeWarp* curve) : Modifier(curve) {
  _tag = L"scaler";
}

Scaler::Scaler(Control* target, TimeWarp* curve, const LLF::Vector2& startScale, const LLF::Vector2& endScale,
               unsigned duration, unsigned startDelay)
    : Scaler(curve) {
  _target = target;
  _startScale = startScale;
  _endScale = endScale;
  _duration = duration;
  _startDelay = startDelay;
}

void Scaler::Apply(float p, float dt) {
  (void)dt;
  if (_target) {
    _target->SetScale(Mover::Lerp(_startScale, _endScale, p));
  }
}

const PropertyTable<Scaler>& Scaler::Properties() {
  using P = PropertyTable<Scaler>;
  static const P table({
      P::Member(L"startScale", &Scaler::_startScale),
      P::Member(L"endScale", &Scaler::_endScale),
  });
  return table;
}

bool Scaler::LoadFromXml(LLF::XmlElement& element) {
  Modifier::LoadFromXml(element);
  return Properties().Load(*this, element);
}

void Scaler::CopyFrom(const Modifier& other) {
  if (const Scaler* scaler = CopyBaseFrom<Scaler>(other, "Scaler")) {
    _startScale = scaler->_startScale;
    _endScale = scaler->_endScale;
  }
}

Modifier* Scaler::CreateInstance() const {
  return new Scaler();
}

void Scaler::GetScales(LLF::Vector2& start, LLF::Vector2& end) const {
  start = _startScale;
  end = _endScale;
}

void Scaler::SetScales(const LLF::Vector2& start, const LLF::Vector2& end) {
  _startScale = start;
  _endScale = end;
}

}  // namespace HLF
