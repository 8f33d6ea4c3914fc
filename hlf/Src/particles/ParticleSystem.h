#pragma once
// The particles of an emitter and how they are made: the emission (rate,
// time left, a region to be born in), the particles' randomised life,
// speed and acceleration, the key tracks their colour, half-size and
// friction follow over their life, and one quad per particle slot. The
// emitter control owns one, starts and ends it and draws its quads; the
// system knows no control, image or render system, so it runs alone.
//
// Quads stay in one vector that never shrinks: the slot of a dead particle
// is made transparent and handed to the next particle born (first freed,
// first reused), so all quads go to the render system in one draw.
//
// Every random draw goes through LLF::Random and the region, in a fixed
// order per particle (life, region, motion x, motion y, acceleration x,
// acceleration y), so a seed repeats a run.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "particles/Particle.h"
#include "particles/ParticleQuad.h"
#include "particles/TrackKey.h"
#include "properties/PropertyGroup.h"

namespace LLF {
class XmlElement;
}

namespace HLF {

class EmitRegion;
template <class Owner>
class PropertyTable;

class ParticleSystem {
 public:
  // lifeTime that in practice never runs out.
  static constexpr uint32_t kEndless = 0xFFFFFFFFu;
  // The most particles one emitter keeps alive. Effects use a few thousand
  // at most; this bounds what an absurd rate or life can take (a particle
  // and its quad are about 220 bytes, so some 22 MB).
  static constexpr size_t kMaxParticles = 100000;
  // What an empty track gives, and what a track element leaves out gives.
  static constexpr LLF::Color kDefaultColor = LLF::Color(255, 255, 255, 255);
  static constexpr LLF::Vector2 kDefaultSize = LLF::Vector2(50.0f, 50.0f);
  static constexpr LLF::Vector2 kDefaultFriction = LLF::Vector2(0.0f, 0.0f);
  // The title of the editor page.
  static constexpr const wchar_t* kPageTitle = L"Emitter properties";

  ParticleSystem() = default;
  ~ParticleSystem();
  ParticleSystem(const ParticleSystem&) = delete;
  ParticleSystem& operator=(const ParticleSystem&) = delete;

  EmitRegion* GetEmitRegion() const { return _region; }
  // Takes the region over; the old one is deleted unless it is the same.
  void SetEmitRegion(EmitRegion* region);
  const std::vector<ColorKey>& GetColorTrack() const { return _colorTrack; }
  void SetColorTrack(const std::vector<ColorKey>& track) { _colorTrack = track; }
  const std::vector<VectorKey>& GetSizeTrack() const { return _sizeTrack; }
  void SetSizeTrack(const std::vector<VectorKey>& track) { _sizeTrack = track; }
  const std::vector<VectorKey>& GetFrictionTrack() const { return _frictionTrack; }
  void SetFrictionTrack(const std::vector<VectorKey>& track) { _frictionTrack = track; }
  float GetEmitRate() const { return _emitRate; }
  // Particles per second; 0 (or less) emits nothing.
  void SetEmitRate(float rate) { _emitRate = rate; }
  uint32_t GetParticleLife() const { return _particleLife; }
  uint32_t GetParticleLifeFluct() const { return _particleLifeFluct; }
  void SetParticleLife(uint32_t life, uint32_t lifeFluct);
  // Mean initial motion (units per second) and the half-width of its spread.
  void SetSpeed(const LLF::Vector2& speed, const LLF::Vector2& fluct);
  // Mean acceleration (units per second squared) and its spread.
  void SetAcceleration(const LLF::Vector2& acceleration, const LLF::Vector2& fluct);
  float GetImageFramesSpeed() const { return _imageFramesSpeed; }
  // Seconds per image frame; 0 (or less) keeps every particle on frame 0.
  void SetImageFramesSpeed(float seconds) { _imageFramesSpeed = seconds; }
  // Whether particles step through the image's frames.
  bool IsAnimated() const { return _imageFramesSpeed > 0.0f; }
  int GetBlendMode() const { return _blendMode; }
  void SetBlendMode(int mode) { _blendMode = mode; }
  bool IsAutoDetach() const { return _autoDetach; }
  void SetAutoDetach(bool autoDetach) { _autoDetach = autoDetach; }
  // Emission time left in ms; kEndless never runs out.
  uint32_t GetLifeTime() const { return _lifeTime; }
  void SetLifeTime(uint32_t ms) { _lifeTime = ms; }
  // The emission time as configured (read or set from the editor); the
  // one written back. Also sets the time left.
  uint32_t GetConfiguredLifeTime() const { return _configuredLifeTime; }
  void SetConfiguredLifeTime(uint32_t ms) { _configuredLifeTime = _lifeTime = ms; }
  // No more particles; the live ones finish their lives.
  void StopEmitting() { _lifeTime = 0; }

  // The tracks at a point of a particle's life.
  LLF::Color ColorAt(float t) const;
  LLF::Vector2 SizeAt(float t) const;
  LLF::Vector2 FrictionAt(float t) const;

  // A random emission phase: up to one emission period already gone.
  void RandomizePhase();
  // One particle from the region; nothing without a region or at
  // kMaxParticles (the first refusal is logged).
  void SpawnParticle();
  // Emits what dt brings (unless dt reaches the time left, which ends
  // emission), then ages, moves and animates every particle, removing those
  // whose life ran out. framesPerLoop is the image's cell count; 0 keeps
  // the particles' frames where they are.
  void Update(uint32_t dt, uint32_t framesPerLoop);
  // Emission ended and no particle left.
  bool IsExhausted() const { return _lifeTime == 0 && _particles.empty(); }
  const std::vector<Particle>& GetParticles() const { return _particles; }
  const std::vector<ParticleQuad>& GetQuads() const { return _quads; }

  // Reads the emitter element's own attributes ("lifeTime", "emitRate",
  // "blendMode", "imageFramesSpeed") and its children "emitRegion" and
  // "particle", then picks a random phase. Absent values keep theirs (an
  // absent "imageFramesSpeed" is 0), so the emission time left changes only
  // with a "lifeTime": a reader applied to a running emitter (a property
  // modifier) neither restarts nor stops it.
  void LoadFromXml(const LLF::XmlElement& element);
  // Writes what differs from a new system onto the element: the
  // attributes, then "emitRegion" and "particle" children.
  void SaveToXml(LLF::XmlElement& element) const;
  // The editor page "Emitter properties".
  PropertyGroup GetPropertyGroup() const;
  // A row of that page; false for a label it does not have.
  bool SetPropertyFromEditor(const std::wstring& label, const std::wstring& value);

 private:
  static const PropertyTable<ParticleSystem>& Properties();
  void FillQuad(const Particle& particle);
  // SpawnParticle; false when the limit refused it.
  bool Spawn();

  std::vector<Particle> _particles;  // oldest first
  std::deque<uint32_t> _freeQuads;
  std::vector<ParticleQuad> _quads;
  uint32_t _emitAccumulator = 0;
  float _imageFramesSpeed = 0.0f;
  uint32_t _lifeTime = kEndless;
  uint32_t _configuredLifeTime = kEndless;
  bool _autoDetach = false;
  int _blendMode = 1;
  float _emitRate = 20.0f;
  std::vector<ColorKey> _colorTrack;
  std::vector<VectorKey> _sizeTrack;
  std::vector<VectorKey> _frictionTrack;
  LLF::Vector2 _acceleration;
  LLF::Vector2 _accelerationFluct = LLF::Vector2(2.5f, 2.5f);
  LLF::Vector2 _speed;
  LLF::Vector2 _speedFluct;
  EmitRegion* _region = nullptr;
  uint32_t _particleLife = 4500;
  uint32_t _particleLifeFluct = 500;
  bool _limitLogged = false;
};

}  // namespace HLF
