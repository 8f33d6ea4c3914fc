#pragma once
// Where an emitter's particles are born: a shape in the emitter's local
// coordinates that hands out random points. This base is a fixed point at
// (100, 100) and takes any data; the shapes (point, rectangle, nested
// rectangle, circle) derive from it and read their geometry from a data
// text in the value types' text forms.
//
// A class of its own, outside the framework's object tree: a region is a
// small value owned by the emitter that uses it. Every random draw goes
// through LLF::Random / LLF::RandomRange, so a seed repeats the points.
#include <string>

#include "core/Object.h"
#include "math/Vector2.h"

namespace HLF {

class EmitRegion {
 public:
  EmitRegion() = default;
  EmitRegion(const EmitRegion&) = default;
  EmitRegion& operator=(const EmitRegion&) = default;

  virtual bool IsKindOf(const std::string& className) const { return className == "EmitRegion"; }
  virtual ~EmitRegion() = default;
  virtual LLF::Vector2 GetRandomPoint();
  // Reads the geometry from its text form; false (geometry unchanged or
  // partly read, as the value parsers leave it) when the text holds none.
  virtual bool SetData(const std::wstring& data);
  // The "shape" name an emitter element gives this class by; empty for the
  // base, which no element names.
  virtual std::wstring GetShape() const { return std::wstring(); }
  // The geometry in the form SetData reads.
  virtual std::wstring GetData() const { return std::wstring(); }

  // A new default region of the named shape ("point", "rectangle",
  // "nestedrect", "circle"), owned by the caller; null for any other name.
  static EmitRegion* Create(const std::wstring& shape);
};

}  // namespace HLF
