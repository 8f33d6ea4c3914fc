#pragma once
// Scales its target from startScale to endScale.
//
// XML attributes: "startScale", "endScale" (pairs of floats).
#include "math/Vector2.h"
#include "modifiers/Modifier.h"

namespace HLF {

class Scaler : public Modifier {
 public:
  explicit Scaler(TimeWarp* curve = nullptr);
  Scaler(Control* target, TimeWarp* curve, const LLF::Vector2& startScale, const LLF::Vector2& endScale,
         unsigned duration, unsigned startDelay);

  LLF_KIND_OF(Scaler, Modifier)
  ~Scaler() override = default;

  void Apply(float p, float dt) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual void GetScales(LLF::Vector2& start, LLF::Vector2& end) const;
  virtual void SetScales(const LLF::Vector2& start, const LLF::Vector2& end);

 private:
  static const PropertyTable<Scaler>& Properties();

  LLF::Vector2 _startScale;
  LLF::Vector2 _endScale = LLF::Vector2(1.0f, 1.0f);
};

}  // namespace HLF
