#include "particles/ParticleSystem.h"

#include <algorithm>
#include <cmath>

#include "core/Log.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "particles/EmitRegion.h"
#include "particles/KeyTrack.h"
#include "properties/ElementAttributes.h"
#include "properties/PropertyTable.h"
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

const wchar_t kRegionShape[] = L"shape";
const wchar_t kRegionData[] = L"data";

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
    ReadAttribute(*range, L"time", key.time);
    ReadAttribute(*range, L"data", key.value);
    track.push_back(key);
  }
}

template <class T>
void WriteTrack(LLF::XmlElement& particle, const wchar_t* name, const std::vector<TrackKey<T>>& track) {
  if (track.empty()) return;
  LLF::XmlElement* element = particle.AddChild(std::wstring(name));
  for (const TrackKey<T>& key : track) {
    LLF::XmlElement* range = element->AddChild(std::wstring(L"range"));
    range->AddAttribute(std::wstring(L"time"), AttributeText(key.time));
    range->AddAttribute(std::wstring(L"data"), AttributeText(key.value));
  }
}

using Field = PropertyTable<ParticleSystem>::Field;

// A time in ms, in seconds in files and on the page.
Field MsField(const wchar_t* attribute, uint32_t ParticleSystem::*member) {
  return PropertyTable<ParticleSystem>::Typed(
      attribute, [member](const ParticleSystem& s) { return MsToSeconds(s.*member); },
      [member](ParticleSystem& s, float seconds) { s.*member = SecondsToMs(seconds); });
}

// A key track, as a child element of the particle element.
template <class T>
Field TrackField(const wchar_t* name, std::vector<TrackKey<T>> ParticleSystem::*track, const T& def) {
  return PropertyTable<ParticleSystem>::Element(
      [name, track, def](ParticleSystem& s, const LLF::XmlElement& particle) {
        ReadTrack(particle, name, def, s.*track);
        return true;
      },
      [name, track](const ParticleSystem& s, const ParticleSystem&, LLF::XmlElement& particle) {
        WriteTrack(particle, name, s.*track);
      });
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
  Spawn();
}

bool ParticleSystem::Spawn() {
  if (!_region) {
    return true;
  }
  if (_particles.size() >= kMaxParticles) {
    if (!_limitLogged) {
      _limitLogged = true;
      LLF::Log::GetInstance().WriteFormat(
          L"Warning: Emitter has %u live particles, its limit; it emits no more until some die.",
          static_cast<unsigned>(kMaxParticles));
    }
    return false;
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
  return true;
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
        // At the limit the rest of this frame's particles are dropped, not
        // kept for later: the time they stood for is spent.
        uint32_t count = static_cast<uint32_t>(n);
        while (count > 0 && Spawn()) {
          --count;
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

const PropertyTable<ParticleSystem>& ParticleSystem::Properties() {
  using P = PropertyTable<ParticleSystem>;
  using S = ParticleSystem;
  static const P table(
      kPageTitle,
      {
          // Read, it replaces the time left as well; the page shows endless
          // emission as an empty row, and an empty row sets it.
          P::Custom(
              L"lifeTime",
              [](const S& s) {
                return s._configuredLifeTime == kEndless ? std::wstring()
                                                         : AttributeText(MsToSeconds(s._configuredLifeTime));
              },
              [](S& s, const LLF::XmlAttribute& value) {
                s.SetConfiguredLifeTime(SecondsToMs(value.GetFloat()));
              })
              .Row(L"Life time")
              .EditWith([](S& s, const std::wstring& value) {
                s.SetConfiguredLifeTime(value.empty() ? kEndless : SecondsToMs(LLF::StrToFloat(value)));
              }),
          P::Member(L"emitRate", &S::_emitRate).Row(L"Emit rate"),
          P::Words(L"blendMode", &S::_blendMode, {L"normal", L"additive"}).Row(L"Blend mode"),
          P::Member(L"imageFramesSpeed", &S::_imageFramesSpeed).WhenAbsent(L"0").Row(L"Frames speed"),
          // Shape and data mean something only together: a known shape makes
          // a new region of its defaults, which the data then sets.
          P::Element(
              [](S& s, const LLF::XmlElement& region) {
                const LLF::XmlAttribute* shape = region.GetAttribute(std::wstring(kRegionShape));
                const LLF::XmlAttribute* data = region.GetAttribute(std::wstring(kRegionData));
                if (shape && data) {
                  if (EmitRegion* made = EmitRegion::Create(shape->GetValue())) {
                    s.SetEmitRegion(made);
                    made->SetData(data->GetValue());
                  }
                }
                return true;
              },
              [](const S& s, const S&, LLF::XmlElement& region) {
                if (s._region && !s._region->GetShape().empty()) {
                  region.AddAttribute(std::wstring(kRegionShape), s._region->GetShape());
                  region.AddAttribute(std::wstring(kRegionData), s._region->GetData());
                }
              })
              .In(L"emitRegion"),
          P::PageRow(
              L"Region shape", [](const S& s) { return s._region ? s._region->GetShape() : std::wstring(); },
              [](S& s, const std::wstring& value) {
                if (!s._region || s._region->GetShape() != value) {
                  if (EmitRegion* made = EmitRegion::Create(value)) s.SetEmitRegion(made);
                }
              }),
          P::PageRow(
              L"Region data", [](const S& s) { return s._region ? s._region->GetData() : std::wstring(); },
              [](S& s, const std::wstring& value) {
                if (s._region) s._region->SetData(value);
              }),
          MsField(L"life", &S::_particleLife).In(L"particle").Row(L"Particle life"),
          MsField(L"lifeFluct", &S::_particleLifeFluct).In(L"particle").Row(L"Particle life fluct"),
          P::Member(L"acceleration", &S::_acceleration).In(L"particle").Row(L"Acceleration"),
          P::Member(L"accelerationFluct", &S::_accelerationFluct).In(L"particle").Row(L"Acceleration fluct"),
          // The page shows the speed before the acceleration.
          P::Member(L"speed", &S::_speed).In(L"particle").Row(L"Speed").PageAt(9),
          P::Member(L"speedFluct", &S::_speedFluct).In(L"particle").Row(L"Speed fluct").PageAt(9),
          P::Member(L"autoDetach", &S::_autoDetach).In(L"particle").Row(L"Auto detach"),
          TrackField(L"color", &S::_colorTrack, kDefaultColor).In(L"particle"),
          TrackField(L"size", &S::_sizeTrack, kDefaultSize).In(L"particle"),
          TrackField(L"friction", &S::_frictionTrack, kDefaultFriction).In(L"particle"),
      });
  return table;
}

void ParticleSystem::LoadFromXml(const LLF::XmlElement& element) {
  Properties().Load(*this, element);
  if (!_region) {
    LLF::Log::GetInstance().Write(L"Warning: Emitter has no emit region; it emits no particles.");
  }
  RandomizePhase();
}

void ParticleSystem::SaveToXml(LLF::XmlElement& element) const {
  const ParticleSystem def;
  Properties().Save(*this, def, element);
}

PropertyGroup ParticleSystem::GetPropertyGroup() const {
  return Properties().Page(*this);
}

bool ParticleSystem::SetPropertyFromEditor(const std::wstring& label, const std::wstring& value) {
  return Properties().Edit(*this, label, value);
}

}  // namespace HLF
