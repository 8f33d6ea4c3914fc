#pragma once
// Turns its target. FIXED (1) sets the rotation from startAngle to
// endAngle along the progress; DELTA (0) ignores the progress and turns the
// target by speed degrees per second of frame time for as long as it runs
// (the start and the finishing frame carry no time, so they turn nothing).
//
// XML attributes: "startAngle", "endAngle" (degrees; one alone keeps the
// other), "speed" (degrees per second), "type" ("FIXED" or "DELTA").
#include "modifiers/Modifier.h"

namespace HLF {

class Rotator : public Modifier {
 public:
  enum Type { DELTA = 0, FIXED = 1 };

  explicit Rotator(TimeWarp* curve = nullptr);
  Rotator(Control* target, TimeWarp* curve, float startAngle, float endAngle, unsigned duration,
          unsigned startDelay);

  LLF_KIND_OF(Rotator, Modifier)
  ~Rotator() override = default;

  void Apply(float p, float dt) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual float GetSpeed() const { return _speed; }
  virtual void GetAngles(float& start, float& end) const;
  virtual int GetType() const { return _type; }
  virtual void SetAngles(float start, float end);
  virtual void SetSpeed(float speed) { _speed = speed; }
  virtual void SetType(int type) { _type = type; }

 private:
  static const PropertyTable<Rotator>& Properties();

  float _startAngle = 0.0f;
  float _endAngle = 360.0f;
  float _speed = 45.0f;
  float _carry = 0.0f;  // seconds not yet turned by (a DELTA step at speed 0)
  int _type = FIXED;
};

}  // namespace HLF
