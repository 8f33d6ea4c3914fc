#pragma once
// Moves its target in a straight line from where the target stood when it
// was set to endPosition, or, with an offset, to that start plus the
// offset (added once, at the first Apply).
//
// XML attributes: "endPosition", "endPositionOffset" (pairs of floats; the
// offset form sets useOffset).
#include "math/Vector2.h"
#include "modifiers/Modifier.h"

namespace HLF {

class MoverTo : public Modifier {
 public:
  explicit MoverTo(TimeWarp* curve = nullptr);
  // The start is the target's position now.
  MoverTo(Control* target, TimeWarp* curve, const LLF::Vector2& endPosition, unsigned duration,
          unsigned startDelay);

  LLF_KIND_OF(MoverTo, Modifier)
  ~MoverTo() override = default;

  // Takes the target's position as the start, then the target.
  Modifier* SetTarget(Control* target) override;
  void Apply(float p, float dt) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual void GetEndPosition(LLF::Vector2& end) const { end = _endPosition; }
  virtual void SetEndPosition(const LLF::Vector2& end) { _endPosition = end; }
  virtual void SetEndPositionOffset(const LLF::Vector2& offset);

 private:
  static const PropertyTable<MoverTo>& Properties();

  LLF::Vector2 _startPosition;
  LLF::Vector2 _endPosition;
  LLF::Vector2 _endPositionOffset;
  bool _useOffset = false;
};

}  // namespace HLF
