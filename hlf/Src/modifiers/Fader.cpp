#include "modifiers/Fader.h"

#include "model/Control.h"
#include "render/IRenderSystem.h"
#include "render/RendersManager.h"
#include "xml/XmlElement.h"

namespace HLF {

Fader::Fader(TimeWarp* curve) : Modifier(curve) {
  _tag = L"fader";
}

Fader::Fader(Control* target, TimeWarp* curve) : Modifier(target, curve) {
  _tag = L"fader";
}

Fader::Fader(Control* target, TimeWarp* curve, LLF::MessageReceiver* receiver, int type, unsigned duration,
             unsigned startDelay)
    : Fader(target, curve) {
  if (receiver) {
    AddReceiver(receiver);
  }
  _type = type;
  _duration = duration;
  _startDelay = startDelay;
}

Fader* Fader::SetType(int type) {
  _type = type;
  return this;
}

void Fader::SetFadeRange(uint8_t from, uint8_t to) {
  _fadeFrom = from;
  _fadeTo = to;
}

Fader* Fader::SetHideOnZeroAlpha(bool hide) {
  _hideOnZeroAlpha = hide;
  return this;
}

uint8_t Fader::AlphaAt(float p) const {
  double alpha = 0.0;
  switch (_type) {
    case FADE_FALL:
      alpha = 255.0 - static_cast<double>(p) * 255.0;
      break;
    case FADE_RISE:
      alpha = static_cast<double>(p) * 255.0;
      break;
    case FADE_RANGE:
      alpha = _fadeFrom + (static_cast<double>(_fadeTo) - _fadeFrom) * p;
      break;
    default:
      break;
  }
  // Truncated toward zero and kept in 8 bits; eased progress may step a
  // little outside 0..1.
  return static_cast<uint8_t>(static_cast<int>(alpha));
}

void Fader::Apply(float p, float dt) {
  (void)dt;
  const uint8_t alpha = AlphaAt(p);
  if (_target) {
    _target->SetAlpha(alpha);
  } else if (LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender()) {
    rs->SetScreenTint(LLF::Color(_color.r, _color.g, _color.b, alpha));
  }
  if (_hideOnZeroAlpha && _target && p == 1.0f && _target->GetAlpha() == 0) {
    _target->SetVisible(false);
  }
}

const PropertyTable<Fader>& Fader::Properties() {
  using P = PropertyTable<Fader>;
  static const P table({
      TypeField(&Fader::_type),
      P::Member(L"fadeFrom", &Fader::_fadeFrom),
      P::Member(L"fadeTo", &Fader::_fadeTo),
      P::Member(L"hideOnZeroAlpha", &Fader::_hideOnZeroAlpha),
  });
  return table;
}

bool Fader::LoadFromXml(LLF::XmlElement& element) {
  Modifier::LoadFromXml(element);
  return Properties().Load(*this, element);
}

void Fader::CopyFrom(const Modifier& other) {
  if (const Fader* fader = CopyBaseFrom<Fader>(other, "Fader")) {
    _type = fader->_type;
    _fadeFrom = fader->_fadeFrom;
    _fadeTo = fader->_fadeTo;
    _hideOnZeroAlpha = fader->_hideOnZeroAlpha;
    _color = fader->_color;
  }
}

Modifier* Fader::CreateInstance() const {
  return new Fader();
}

}  // namespace HLF
