#include "particles/ParticleSystem.h"

#include <algorithm>
#include <cmath>

#include "core/Log.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "particles/EmitRegion.h"
#include "particles/KeyTrack.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

// A new emitter spawns at most this many particles in one update, so an
// absurd rate or a long stall cannot exhaust memory in one frame.
constexpr double kMaxSpawnsPerUpdate = 65536.0;

// Seconds (as written in files and shown in the editor) to whole ms,
// truncated; negative and NaN give 0, huge values the largest.
uint32_t SecondsToMs(float seconds) {
  const float ms = seconds * 1000.0f;
  if (!(ms > 0.0f)) return 0;
  if (ms >= 4294967295.0f) return ParticleSystem::kEndless;
  return static_cast<uint32_t>(ms);
}

float MsToSeconds(uint32_t ms) {
  return static_cast<float>(ms) / 1000.0f;
}

// value - fluct + Random(2 fluct), per component, x drawn first.
LLF::Vector2 Spread(const LLF::Vector2& value, const LLF::Vector2& fluct) {
  const float x = (value.x - fluct.x) + LLF::Random(2.0f * fluct.x);
  const float y = (value.y - fluct.y) + LLF::Random(2.0f * fluct.y);
  return LLF::Vector2(x, y);
}

// Moves v towards 0 by step without crossing it.
float Damp(float v, float step) {
  if (v < 0.0f) {
    v += step;
    return v > 0.0f ? 0.0f : v;
  }
  if (v > 0.0f) {
    v -= step;
    return v < 0.0f ? 0.0f : v;
  }
  return v;
}

const wchar_t* BlendName(int mode) {
  return mode == 0 ? L"normal" : L"additive";
}

// "additive" 1, "normal" 0, anything else leaves mode.
void ReadBlendName(const std::wstring& name, int& mode) {
  if (name == L"additive") mode = 1;
  if (name == L"normal") mode = 0;
}

bool ReadFloat(const LLF::XmlElement& element, const wchar_t* name, float& out) {
  const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(name));
  if (attribute) out = attribute->GetFloat();
  return attribute != nullptr;
}

void ReadVector(const LLF::XmlElement& element, const wchar_t* name, LLF::Vector2& out) {
  if (const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(name))) {
    out = attribute->GetFloatPair();
  }
}

void ReadMs(const LLF::XmlElement& element, const wchar_t* name, uint32_t& out) {
  float seconds = 0.0f;
  if (ReadFloat(element, name, seconds)) out = SecondsToMs(seconds);
}

void ReadValue(const LLF::XmlAttribute& data, LLF::Color& out) {
  out = data.GetColor();
}
void ReadValue(const LLF::XmlAttribute& data, LLF::Vector2& out) {
  out = data.GetFloatPair();
}

// A track element of the particle element: present, it replaces the track
// with its "range" keys in order; absent, the track is the one default key.
template <class T>
void ReadTrack(const LLF::XmlElement& particle, const wchar_t* name, const T& def,
               std::vector<TrackKey<T>>& track) {
  track.clear();
  const LLF::XmlElement* element = particle.FindChild(std::wstring(name));
  if (!element) {
    track.emplace_back(def, 0.0f);
    return;
  }
  for (int i = 0; i < element->GetChildsCount(); ++i) {
    const LLF::XmlElement* range = element->GetChild(i);
    if (range->IsComment() || range->GetName() != L"range") continue;
    TrackKey<T> key;
    ReadFloat(*range, L"time", key.time);
    if (const LLF::XmlAttribute* data = range->GetAttribute(std::wstring(L"data"))) {
      ReadValue(*data, key.value);
    }
    track.push_back(key);
  }
}

template <class Key>
void WriteTrack(LLF::XmlElement& particle, const wchar_t* name, const std::vector<Key>& track) {
  if (track.empty()) return;
  LLF::XmlElement* element = particle.AddChild(std::wstring(name));
  for (const Key& key : track) {
    LLF::XmlElement* range = element->AddChild(std::wstring(L"range"));
    range->AddAttribute(std::wstring(L"time"), key.time);
    range->AddAttribute(std::wstring(L"data"), key.value);
  }
}

void WriteVectorIfChanged(LLF::XmlElement& element, const wchar_t* name, const LLF::Vector2& value,
                          const LLF::Vector2& def) {
  if (value != def) element.AddAttribute(std::wstring(name), value);
}

}  // namespace

ParticleSystem::~ParticleSystem() {
  delete _region;
}

void ParticleSystem::SetEmitRegion(EmitRegion* region) {
  if (_region && _region != region) {
    delete _region;
  }
  _region = region;
}

void ParticleSystem::SetParticleLife(uint32_t life, uint32_t lifeFluct) {
  _particleLife = life;
  _particleLifeFluct = lifeFluct;
}

void ParticleSystem::SetSpeed(const LLF::Vector2& speed, const LLF::Vector2& fluct) {
  _speed = speed;
  _speedFluct = fluct;
}

void ParticleSystem::SetAcceleration(const LLF::Vector2& acceleration, const LLF::Vector2& fluct) {
  _acceleration = acceleration;
  _accelerationFluct = fluct;
}

LLF::Color ParticleSystem::ColorAt(float t) const {
  return SampleTrack(_colorTrack, t, kDefaultColor);
}

LLF::Vector2 ParticleSystem::SizeAt(float t) const {
  return SampleTrack(_sizeTrack, t, kDefaultSize);
}

LLF::Vector2 ParticleSystem::FrictionAt(float t) const {
  return SampleTrack(_frictionTrack, t, kDefaultFriction);
}

void ParticleSystem::RandomizePhase() {
  // A rate of 0 has no period to be part-way through.
  if (!(_emitRate > 0.0f)) {
    _emitAccumulator = 0;
    return;
  }
  const float phase = LLF::Random(1000.0f / _emitRate);
  _emitAccumulator = phase >= 4294967295.0f ? kEndless : static_cast<uint32_t>(phase);
}

void ParticleSystem::SpawnParticle() {
  if (!_region) {
    return;
  }
  Particle particle;
  particle.system = this;
  const float life =
      _particleLife > _particleLifeFluct
          ? float(_particleLife - _particleLifeFluct) + LLF::Random(2.0f * float(_particleLifeFluct))
          : LLF::Random(float(_particleLifeFluct - _particleLife));
  particle.life = particle.lifeLeft = life >= 4294967295.0f ? kEndless : static_cast<uint32_t>(life);
  particle.position = _region->GetRandomPoint();
  particle.color = ColorAt(0.0f);
  particle.halfSize = SizeAt(0.0f);
  particle.motion = Spread(_speed, _speedFluct);
  particle.acceleration = Spread(_acceleration, _accelerationFluct);
  if (!_freeQuads.empty()) {
    particle.quadIndex = static_cast<int32_t>(_freeQuads.front());
    _freeQuads.pop_front();
  } else {
    particle.quadIndex = static_cast<int32_t>(_quads.size());
    _quads.emplace_back();
  }
  FillQuad(particle);
  _particles.push_back(particle);
}

void ParticleSystem::FillQuad(const Particle& particle) {
  _quads[size_t(particle.quadIndex)].Fill(particle.position, particle.halfSize, particle.color.ToARGB());
}

void ParticleSystem::Update(uint32_t dt, uint32_t framesPerLoop) {
  const float s = float(dt) / 1000.0f;
  if (dt < _lifeTime) {
    // Time counts towards emission only while emitting, so a restarted
    // emitter does not burst out what its draining time would have made. A
    // rate of 0 (or less) has an endless period: nothing to count.
    if (_emitRate > 0.0f) {
      _emitAccumulator += dt;
      const double period = 1000.0 / double(_emitRate);
      const double n = std::min(std::floor(double(_emitAccumulator) / period), kMaxSpawnsPerUpdate);
      if (n > 0.0) {
        _emitAccumulator -= static_cast<uint32_t>(std::min(n * period, double(_emitAccumulator)));
        for (uint32_t i = 0; i < static_cast<uint32_t>(n); ++i) {
          SpawnParticle();
        }
      }
    }
    _lifeTime -= dt;
  } else {
    _lifeTime = 0;
  }

  // A frame step of under a millisecond would never end the frame loop.
  const double stepMs = IsAnimated() ? std::floor(double(_imageFramesSpeed) * 1000.0) : 0.0;
  const uint32_t frameStep = uint32_t(std::clamp(stepMs, 1.0, 4294967295.0));
  size_t kept = 0;
  for (size_t i = 0; i < _particles.size(); ++i) {
    Particle& p = _particles[i];
    if (p.lifeLeft < dt) {
      p.color.a = 0;
      FillQuad(p);
      _freeQuads.push_back(uint32_t(p.quadIndex));
      continue;
    }
    p.lifeLeft -= dt;
    // A particle born with no life is at its end at once.
    p.progress = p.life == 0 ? 1.0f : 1.0f - float(p.lifeLeft) / float(p.life);
    p.color = ColorAt(p.progress);
    p.halfSize = SizeAt(p.progress);
    p.motion += p.acceleration * s;
    p.position += p.motion * s;
    const LLF::Vector2 friction = FrictionAt(p.progress);
    if (friction != LLF::Vector2(0.0f, 0.0f)) {
      p.motion.x = Damp(p.motion.x, friction.x * s);
      p.motion.y = Damp(p.motion.y, friction.y * s);
    }
    if (IsAnimated() && framesPerLoop > 0) {
      p.frameTime += dt;
      if (p.frameTime >= frameStep) {
        const uint32_t steps = p.frameTime / frameStep;
        p.frameTime %= frameStep;
        p.frame = uint32_t((uint64_t(p.frame) + steps) % framesPerLoop);
      }
    }
    FillQuad(p);
    if (kept != i) _particles[kept] = p;
    ++kept;
  }
  _particles.resize(kept);
}

void ParticleSystem::LoadFromXml(const LLF::XmlElement& element) {
  uint32_t lifeTime = _configuredLifeTime;
  ReadMs(element, L"lifeTime", lifeTime);
  SetConfiguredLifeTime(lifeTime);
  ReadFloat(element, L"emitRate", _emitRate);
  if (const LLF::XmlAttribute* blend = element.GetAttribute(std::wstring(L"blendMode"))) {
    ReadBlendName(blend->GetValue(), _blendMode);
  }
  _imageFramesSpeed = 0.0f;
  ReadFloat(element, L"imageFramesSpeed", _imageFramesSpeed);

  if (const LLF::XmlElement* region = element.FindChild(std::wstring(L"emitRegion"))) {
    const LLF::XmlAttribute* shape = region->GetAttribute(std::wstring(L"shape"));
    const LLF::XmlAttribute* data = region->GetAttribute(std::wstring(L"data"));
    if (shape && data) {
      if (EmitRegion* made = EmitRegion::Create(shape->GetValue())) {
        SetEmitRegion(made);
        made->SetData(data->GetValue());
      }
    }
  }
  if (!_region) {
    LLF::Log::GetInstance().Write(L"Warning: Emitter has no emit region; it emits no particles.");
  }

  if (const LLF::XmlElement* particle = element.FindChild(std::wstring(L"particle"))) {
    ReadMs(*particle, L"life", _particleLife);
    ReadMs(*particle, L"lifeFluct", _particleLifeFluct);
    ReadVector(*particle, L"acceleration", _acceleration);
    ReadVector(*particle, L"accelerationFluct", _accelerationFluct);
    ReadVector(*particle, L"speed", _speed);
    ReadVector(*particle, L"speedFluct", _speedFluct);
    if (const LLF::XmlAttribute* detach = particle->GetAttribute(std::wstring(L"autoDetach"))) {
      _autoDetach = detach->GetBool();
    }
    ReadTrack(*particle, L"color", kDefaultColor, _colorTrack);
    ReadTrack(*particle, L"size", kDefaultSize, _sizeTrack);
    ReadTrack(*particle, L"friction", kDefaultFriction, _frictionTrack);
  }
  RandomizePhase();
}

void ParticleSystem::SaveToXml(LLF::XmlElement& element) const {
  const ParticleSystem def;
  if (_configuredLifeTime != def._configuredLifeTime) {
    element.AddAttribute(std::wstring(L"lifeTime"), MsToSeconds(_configuredLifeTime));
  }
  if (_emitRate != def._emitRate) element.AddAttribute(std::wstring(L"emitRate"), _emitRate);
  if (_blendMode != def._blendMode) element.AddAttribute(std::wstring(L"blendMode"), BlendName(_blendMode));
  if (_imageFramesSpeed != def._imageFramesSpeed) {
    element.AddAttribute(std::wstring(L"imageFramesSpeed"), _imageFramesSpeed);
  }
  if (_region && !_region->GetShape().empty()) {
    LLF::XmlElement* region = element.AddChild(std::wstring(L"emitRegion"));
    region->AddAttribute(std::wstring(L"shape"), _region->GetShape());
    region->AddAttribute(std::wstring(L"data"), _region->GetData());
  }
  const bool particleSettings =
      _particleLife != def._particleLife || _particleLifeFluct != def._particleLifeFluct ||
      _acceleration != def._acceleration || _accelerationFluct != def._accelerationFluct ||
      _speed != def._speed || _speedFluct != def._speedFluct || _autoDetach != def._autoDetach ||
      !_colorTrack.empty() || !_sizeTrack.empty() || !_frictionTrack.empty();
  if (!particleSettings) {
    return;
  }
  LLF::XmlElement* particle = element.AddChild(std::wstring(L"particle"));
  if (_particleLife != def._particleLife) {
    particle->AddAttribute(std::wstring(L"life"), MsToSeconds(_particleLife));
  }
  if (_particleLifeFluct != def._particleLifeFluct) {
    particle->AddAttribute(std::wstring(L"lifeFluct"), MsToSeconds(_particleLifeFluct));
  }
  WriteVectorIfChanged(*particle, L"acceleration", _acceleration, def._acceleration);
  WriteVectorIfChanged(*particle, L"accelerationFluct", _accelerationFluct, def._accelerationFluct);
  WriteVectorIfChanged(*particle, L"speed", _speed, def._speed);
  WriteVectorIfChanged(*particle, L"speedFluct", _speedFluct, def._speedFluct);
  if (_autoDetach) particle->AddAttribute(std::wstring(L"autoDetach"), true);
  WriteTrack(*particle, L"color", _colorTrack);
  WriteTrack(*particle, L"size", _sizeTrack);
  WriteTrack(*particle, L"friction", _frictionTrack);
}

PropertyGroup ParticleSystem::GetPropertyGroup() const {
  PropertyGroup page(kPageTitle);
  auto row = [&page](const wchar_t* label, const std::wstring& value) {
    page.entries.emplace_back(PROPERTY_ORDINARY, label, value);
  };
  row(L"Life time",
      _configuredLifeTime == kEndless ? std::wstring() : LLF::ToString(MsToSeconds(_configuredLifeTime)));
  row(L"Emit rate", LLF::ToString(_emitRate));
  row(L"Blend mode", BlendName(_blendMode));
  row(L"Frames speed", LLF::ToString(_imageFramesSpeed));
  row(L"Region shape", _region ? _region->GetShape() : std::wstring());
  row(L"Region data", _region ? _region->GetData() : std::wstring());
  row(L"Particle life", LLF::ToString(MsToSeconds(_particleLife)));
  row(L"Particle life fluct", LLF::ToString(MsToSeconds(_particleLifeFluct)));
  row(L"Speed", LLF::ToString(_speed));
  row(L"Speed fluct", LLF::ToString(_speedFluct));
  row(L"Acceleration", LLF::ToString(_acceleration));
  row(L"Acceleration fluct", LLF::ToString(_accelerationFluct));
  row(L"Auto detach", _autoDetach ? L"true" : L"false");
  return page;
}

bool ParticleSystem::SetPropertyFromEditor(const std::wstring& label, const std::wstring& value) {
  if (label == L"Life time") {
    // An empty value: emission never ends.
    SetConfiguredLifeTime(value.empty() ? kEndless : SecondsToMs(LLF::StrToFloat(value)));
  } else if (label == L"Emit rate") {
    _emitRate = LLF::StrToFloat(value);
  } else if (label == L"Blend mode") {
    ReadBlendName(value, _blendMode);
  } else if (label == L"Frames speed") {
    _imageFramesSpeed = LLF::StrToFloat(value);
  } else if (label == L"Region shape") {
    if (!_region || _region->GetShape() != value) {
      if (EmitRegion* made = EmitRegion::Create(value)) SetEmitRegion(made);
    }
  } else if (label == L"Region data") {
    if (_region) _region->SetData(value);
  } else if (label == L"Particle life") {
    _particleLife = SecondsToMs(LLF::StrToFloat(value));
  } else if (label == L"Particle life fluct") {
    _particleLifeFluct = SecondsToMs(LLF::StrToFloat(value));
  } else if (label == L"Speed") {
    LLF::FromString(value, _speed);
  } else if (label == L"Speed fluct") {
    LLF::FromString(value, _speedFluct);
  } else if (label == L"Acceleration") {
    LLF::FromString(value, _acceleration);
  } else if (label == L"Acceleration fluct") {
    LLF::FromString(value, _accelerationFluct);
  } else if (label == L"Auto detach") {
    _autoDetach = LLF::StrIsTrue(value);
  } else {
    return false;
  }
  return true;
}

}  // namespace HLF
