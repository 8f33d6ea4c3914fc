#include "modifiers/Blinker.h"

#include <algorithm>

#include "model/Control.h"
#include "xml/XmlElement.h"

namespace HLF {

Blinker::Blinker(TimeWarp* curve) : Modifier(curve) {
  _tag = L"blinker";
}

Blinker::Blinker(Control* target, TimeWarp* curve, LLF::MessageReceiver* receiver, unsigned duration,
                 unsigned startDelay, int blinksCount, int type, bool visibleOnFinish, bool visibleOnStart)
    : Blinker(curve) {
  _target = target;
  if (receiver) {
    AddReceiver(receiver);
  }
  _duration = duration;
  _startDelay = startDelay;
  SetBlinksCount(blinksCount);
  _type = type;
  _visibleOnFinish = visibleOnFinish;
  _visibleOnStart = visibleOnStart;
}

void Blinker::GetAlphas(uint8_t& alpha1, uint8_t& alpha2) const {
  alpha1 = _alpha1;
  alpha2 = _alpha2;
}

Blinker* Blinker::SetVisibleOnFinish(bool visible) {
  _visibleOnFinish = visible;
  return this;
}

Blinker* Blinker::SetVisibleOnStart(bool visible) {
  _visibleOnStart = visible;
  return this;
}

Blinker* Blinker::SetBlinksCount(int count) {
  // No period at all would leave the target in one state (and divide by 0).
  _blinksCount = std::max(count, 1);
  return this;
}

Blinker* Blinker::SetType(int type) {
  _type = type;
  return this;
}

void Blinker::SetAlphas(uint8_t alpha1, uint8_t alpha2) {
  _alpha1 = alpha1;
  _alpha2 = alpha2;
}

void Blinker::Show(bool startState) {
  if (_type == VISIBILITY) {
    _target->SetVisible(startState ? _visibleOnStart : !_visibleOnStart);
  } else if (_type == ALPHA) {
    _target->SetAlpha(startState ? _alpha1 : _alpha2);
  }
}

void Blinker::Apply(float p, float dt) {
  (void)dt;
  if (!_target) {
    return;
  }
  if (p == 1.0f) {
    if (_type == VISIBILITY) {
      _target->SetVisible(_visibleOnFinish);
    } else if (_type == ALPHA) {
      _target->SetAlpha(_visibleOnFinish ? _alpha1 : _alpha2);
    }
    return;
  }
  const float period = 2.0f / static_cast<float>(_blinksCount);
  if (p > period) {
    p -= static_cast<float>(static_cast<int>(p / period)) * period;
  }
  Show(p < period * 0.5f);
}

const PropertyTable<Blinker>& Blinker::Properties() {
  using P = PropertyTable<Blinker>;
  static const P table({
      P::Member(L"visibleOnFinish", &Blinker::_visibleOnFinish),
      P::Member(L"visibleOnStart", &Blinker::_visibleOnStart),
      P::Typed(L"blinksCount", &Blinker::_blinksCount, &Blinker::SetBlinksCount),
      P::Words(L"type", &Blinker::_type, {L"VISIBILITY", L"ALPHA"}),
      // The two alphas are read only as a pair.
      P::Typed(L"alpha1", &Blinker::_alpha1, [](Blinker& b, uint8_t alpha) { b.SetAlphas(alpha, b._alpha2); })
          .Group(1),
      P::Typed(L"alpha2", &Blinker::_alpha2, [](Blinker& b, uint8_t alpha) { b.SetAlphas(b._alpha1, alpha); })
          .Group(1),
  });
  return table;
}

bool Blinker::LoadFromXml(LLF::XmlElement& element) {
  Properties().Load(*this, element);
  return Modifier::LoadFromXml(element);
}

void Blinker::CopyFrom(const Modifier& other) {
  if (const Blinker* blinker = CopyBaseFrom<Blinker>(other, "Blinker")) {
    _visibleOnFinish = blinker->_visibleOnFinish;
    _visibleOnStart = blinker->_visibleOnStart;
    _blinksCount = blinker->_blinksCount;
    _type = blinker->_type;
    _alpha1 = blinker->_alpha1;
    _alpha2 = blinker->_alpha2;
  }
}

Modifier* Blinker::CreateInstance() const {
  return new Blinker();
}

}  // namespace HLF
