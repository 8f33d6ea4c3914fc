#pragma once
// Moves its target in a straight line from startPosition to endPosition.
//
// XML attributes: "startPosition", "endPosition" (pairs of floats).
#include "math/Vector2.h"
#include "modifiers/Modifier.h"

namespace HLF {

class Mover : public Modifier {
 public:
  explicit Mover(TimeWarp* curve = nullptr);
  Mover(Control* target, TimeWarp* curve, const LLF::Vector2& startPosition, const LLF::Vector2& endPosition,
        unsigned duration, unsigned startDelay, bool noInitialParamsSet);

  LLF_KIND_OF(Mover, Modifier)
  ~Mover() override = default;

  void Apply(float p, float dt) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual void GetPositions(LLF::Vector2& start, LLF::Vector2& end) const;
  virtual void SetPositions(const LLF::Vector2& start, const LLF::Vector2& end);

  // start + (end - start) x p, per coordinate.
  static LLF::Vector2 Lerp(const LLF::Vector2& start, const LLF::Vector2& end, float p) {
    return LLF::Vector2(start.x + (end.x - start.x) * p, start.y + (end.y - start.y) * p);
  }

 private:
  static const PropertyTable<Mover>& Properties();

  LLF::Vector2 _startPosition;
  LLF::Vector2 _endPosition;
};

}  // namespace HLF
