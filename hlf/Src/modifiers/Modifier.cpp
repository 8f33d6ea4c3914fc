#include "modifiers/Modifier.h"

#include "core/Message.h"
#include "model/ObjectFactory.h"
#include "model/XmlDocEx.h"
#include "modifiers/Effect.h"
#include "modifiers/TimeWarp.h"
#include "modifiers/TimeWarpFactory.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

// True when receiver is an effect that holds modifier among its own.
bool IsOwningEffect(LLF::MessageReceiver* receiver, const Modifier* modifier) {
  const Effect* effect = dynamic_cast<const Effect*>(receiver);
  return effect && effect->HasModifier(modifier);
}

}  // namespace

Modifier::Modifier(TimeWarp* curve) : _timeWarp(curve) {}

Modifier::Modifier(Control* target, TimeWarp* curve) : _target(target), _timeWarp(curve) {}

Modifier::~Modifier() {
  delete _timeWarp;
}

Modifier* Modifier::SetTarget(Control* target) {
  _target = target;
  return this;
}

Modifier* Modifier::SetTimeWarp(TimeWarp* curve) {
  if (curve != _timeWarp) {
    delete _timeWarp;
    _timeWarp = curve;
  }
  return this;
}

Modifier* Modifier::SetNoInitialParamsSet(bool set) {
  _noInitialParamsSet = set;
  return this;
}

void Modifier::SendCode(int code) {
  LLF::Message msg(this, code, 0, 0, 0, std::wstring());
  Send(&msg);
}

void Modifier::Start() {
  _stopped = false;
  _running = true;
  _elapsed = 0;
  ApplyInitial();
}

bool Modifier::Update(unsigned dt) {
  if (_stopped || !_running) {
    return false;
  }
  _elapsed += dt;
  unsigned t = _elapsed;
  if (_startDelay != 0) {
    if (_elapsed < _startDelay) {
      if (_noInitialParamsSet) {
        return true;
      }
      t = 0;
    } else {
      t = _elapsed - _startDelay;
    }
  }
  float p = _duration == 0 ? 1000.0f : static_cast<float>(static_cast<double>(t) / _duration);
  if (p > 1.0f) {
    p = 1.0f;
  } else if (!(p >= 0.0f)) {
    p = 0.0f;
  }
  if (_timeWarp) {
    p = _timeWarp->Warp(p);
  }
  if (p < 1.0f) {
    Apply(p, static_cast<float>(dt) / 1000.0f);
  } else {
    // The end message goes last: a receiver may delete this modifier.
    Finish(false);
  }
  return true;
}

void Modifier::Finish(bool silent) {
  Apply(1.0f, 0.0f);
  _running = false;
  _stopped = true;
  _elapsed = 0;
  if (!silent) {
    SendCode(MOD_MSG_END);
  }
}

void Modifier::Stop(bool silent) {
  _running = false;
  _stopped = true;
  _elapsed = 0;
  if (!silent) {
    SendCode(MOD_MSG_END);
  }
}

void Modifier::ApplyInitial() {
  if (!_noInitialParamsSet) {
    Apply(_timeWarp ? _timeWarp->Warp(0.0f) : 0.0f, 0.0f);
  }
}

void Modifier::Apply(float p, float dt) {
  (void)p;
  (void)dt;
  SendCode(MOD_MSG_APPLIED);
}

Modifier* Modifier::CreateFromXml(LLF::XmlElement& element) {
  return CreateLoaded<Modifier>(*this, _tag, element);
}

Modifier* Modifier::CreateFromXmlText(const std::wstring& text) {
  XmlDocEx doc;
  LLF::XmlElement* element = doc.ParseDocumentElement(text);
  return element ? CreateFromXml(*element) : nullptr;
}

const PropertyTable<Modifier>& Modifier::Properties() {
  using P = PropertyTable<Modifier>;
  static const P table({
      MsField<Modifier>(L"duration", &Modifier::_duration),
      MsField<Modifier>(L"startDelay", &Modifier::_startDelay),
      P::Member(L"noInitialParamsSet", &Modifier::_noInitialParamsSet),
      // The curve whose tag the attribute names, as the curve factory finds
      // it; an unknown tag leaves the curve.
      P::Custom(
          L"timeWarp", [](const Modifier& m) { return m._timeWarp ? m._timeWarp->GetTag() : std::wstring(); },
          [](Modifier& m, const LLF::XmlAttribute& value) {
            LLF::XmlElement named(m._tag);
            named.AddAttribute(value);
            if (TimeWarp* curve = TimeWarpFactory::GetInstance().CreateFrom(named)) {
              m.SetTimeWarp(curve);
            }
          }),
  });
  return table;
}

bool Modifier::LoadFromXml(LLF::XmlElement& element) {
  Properties().Load(*this, element);
  return true;
}

bool Modifier::LoadFromXmlText(const std::wstring& text) {
  XmlDocEx doc;
  LLF::XmlElement* element = doc.ParseDocumentElement(text);
  return element && LoadFromXml(*element);
}

void Modifier::CopyFrom(const Modifier& other) {
  if (&other == this) {
    return;
  }
  _target = other._target;
  _elapsed = other._elapsed;
  _stopped = other._stopped;
  _running = other._running;
  _noInitialParamsSet = other._noInitialParamsSet;
  _duration = other._duration;
  _startDelay = other._startDelay;
  _tag = other._tag;
  SetTimeWarp(other._timeWarp ? other._timeWarp->CreateInstance() : nullptr);
  RemoveAllReceivers();
  for (LLF::MessageReceiver* receiver : other.GetReceivers()) {
    if (!IsOwningEffect(receiver, &other)) {
      AddReceiver(receiver);
    }
  }
}

Modifier* Modifier::CreateInstance() const {
  return new Modifier();
}

unsigned Modifier::SecondsToMs(float seconds) {
  const float ms = seconds * 1000.0f;
  if (!(ms > 0.0f)) {
    return 0;
  }
  if (ms >= 4294967040.0f) {
    return 4294967040u;
  }
  return static_cast<unsigned>(ms);
}

}  // namespace HLF
