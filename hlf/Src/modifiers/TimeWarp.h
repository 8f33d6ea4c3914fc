#pragma once
// An easing curve: maps the linear progress of a timed change (0 at its
// start, 1 at its end) to the progress actually applied. This class is the
// linear curve and the base of the curved ones; each carries the tag a
// modifier's "timeWarp" attribute names it by. Curves are immutable once
// built and do not clamp their input.
//
// A class of its own, outside the framework's object tree: curves are small
// values owned by the modifiers that use them.
#include <string>

namespace LLF {
class XmlElement;
}

namespace HLF {

class TimeWarp {
 public:
  TimeWarp() = default;
  TimeWarp(const TimeWarp&) = default;
  TimeWarp& operator=(const TimeWarp&) = default;

  virtual ~TimeWarp() = default;
  // A new curve of this class when the element's "timeWarp" attribute
  // equals this curve's tag (exactly, case-sensitively), else null. The
  // caller owns the result.
  virtual TimeWarp* CreateFromXml(const LLF::XmlElement& element);
  virtual float Warp(float t);
  // A new default object of the same class, owned by the caller.
  virtual TimeWarp* CreateInstance();

  const std::wstring& GetTag() const { return _tag; }

 protected:
  // The degree-to-radian factor the curves compute with, in single
  // precision.
  static constexpr float kDegToRad = 0.01745329238474369f;

  std::wstring _tag = L"linear";
};

}  // namespace HLF
