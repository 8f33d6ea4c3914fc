#pragma once
// A control that sprays short-lived textured quads: started by a call, it
// emits for a set time at a set rate from a region, each particle living a
// randomised time while its colour, half-size and friction follow key
// tracks; when the emission time is over and the last particle has died it
// tells its listeners (code 11) or, with auto-detach, removes and deletes
// itself. All particles share the image of the image property; with a
// frame speed each runs through the image's cells on its own clock.
// Particles live in the emitter's local coordinates, so moving, turning or
// scaling the emitter carries its live particles along; the control's own
// alpha does not fade them.
//
// Layout element "emitter": the image and control attributes, then
// "lifeTime" (s), "emitRate" (per s), "blendMode" ("additive", "normal"),
// "imageFramesSpeed" (s per frame); child "emitRegion" ("shape", "data");
// child "particle" ("life", "lifeFluct" in s; "speed", "speedFluct",
// "acceleration", "accelerationFluct"; "autoDetach") holding the tracks
// "color", "size" and "friction" of "range" keys ("time", "data"). A
// style's attributes reach only the control's part. Saving writes all of
// them back.
//
// Messages: 10 when started, 11 when finished without auto-detach.
#include <vector>

#include "model/Control.h"
#include "particles/ParticleSystem.h"
#include "particles/TrackKey.h"
#include "properties/ImageProperty.h"

namespace HLF {

class EmitRegion;

// Codes an emitter sends to its receivers.
enum EmitterMessageCode {
  EMITTER_MSG_STARTED = 10,
  EMITTER_MSG_FINISHED = 11,
};

class Emitter : public Control, public ImageProperty {
 public:
  Emitter();

  LLF_KIND_OF2(Emitter, Control, ImageProperty)
  ~Emitter() override = default;
  // Nothing at all (not even the children) unless started and not yet
  // finished. Emits and moves the particles, then finishes when emission
  // and particles are exhausted (returning at once), else updates as a
  // control does.
  void Update(unsigned dt) override;
  // The particles (started, not finished, renderable, with an image and at
  // least one particle) under the control's transform, in one draw unless
  // animated; then the children.
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  // The image property's attributes, the emitter's own, a random emission
  // phase, then the control's reader (so "size" wins over the image's
  // size). False only when the image property's reader fails.
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  // The control's page, then "Image properties" and "Emitter properties".
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override { return new Emitter(); }

  virtual EmitRegion* GetEmitRegion() const { return _system.GetEmitRegion(); }
  virtual std::vector<ColorKey> GetColorTrack() const { return _system.GetColorTrack(); }
  virtual void SetColorTrack(const std::vector<ColorKey>& track) { _system.SetColorTrack(track); }
  virtual void SetEmitRate(float rate) { _system.SetEmitRate(rate); }
  virtual void SetParticleLife(unsigned life, unsigned lifeFluct) {
    _system.SetParticleLife(life, lifeFluct);
  }
  // Takes the region over; the old one is deleted.
  virtual void SetEmitRegion(EmitRegion* region) { _system.SetEmitRegion(region); }
  // Starts (again): a lifeTime other than 0 replaces the emission time
  // left; sends 10.
  virtual void Start(unsigned lifeTime);
  // No new particles; the live ones finish their lives.
  virtual void StopEmitting() { _system.StopEmitting(); }
  // Started and no particle alive.
  virtual bool IsActiveAndEmpty() const { return _started && _system.GetParticles().empty(); }
  virtual void SpawnParticle() { _system.SpawnParticle(); }

  // The name some callers use for StopEmitting.
  void Stop() { StopEmitting(); }
  bool IsStarted() const { return _started; }
  bool IsFinished() const { return _finished; }
  // The particles and every setting of them.
  ParticleSystem& GetParticleSystem() { return _system; }
  const ParticleSystem& GetParticleSystem() const { return _system; }

 private:
  ParticleSystem _system;
  bool _started = false;
  bool _finished = false;
};

}  // namespace HLF
