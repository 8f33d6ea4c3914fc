#pragma once
// One attribute of an XML element: a name and a value, both kept as text.
// Typed access converts on every call. Text forms: int signed decimal; float
// and double at most six significant digits with a three-digit exponent
// (1e+006); bool "true" or "false" (only the exact "true" reads as true);
// pairs, colours and quadruples as numbers separated by single commas.
//
// The pairs are Point (two ints) and Vector2 (two floats), the quadruples
// Rect (four ints) and RectF (four floats), the colour bytes a Color.
//
// The reader gives attributes of the same name one shared copy of it; an
// attribute makes its own copy the first time GetName hands the name out (or
// when it is renamed), so a reference from GetName is the attribute's own,
// as for any other attribute. Lookups and the writer use GetNameView, which
// makes no copy.
#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "core/Object.h"
#include "math/Color.h"
#include "math/Point.h"
#include "math/Rect.h"
#include "math/RectF.h"
#include "math/Vector2.h"

namespace LLF {

class XmlAttribute : public virtual Object {
 public:
  XmlAttribute() = default;
  XmlAttribute(const std::wstring& name, const std::wstring& value) : _name(name), _value(value) {}
  XmlAttribute(std::wstring&& name, std::wstring&& value)
      : _name(std::move(name)), _value(std::move(value)) {}
  // A name shared with other attributes (never null) and a value.
  XmlAttribute(std::shared_ptr<const std::wstring> sharedName, std::wstring&& value)
      : _value(std::move(value)), _sharedName(std::move(sharedName)), _nameState(kShared) {}
  XmlAttribute(const std::wstring& name, int value) : _name(name) { XmlAttribute::SetInt(value); }
  XmlAttribute(const std::wstring& name, const Point& value) : _name(name) {
    XmlAttribute::SetIntPair(value);
  }
  XmlAttribute(const XmlAttribute& other);
  XmlAttribute& operator=(const XmlAttribute& other);
  XmlAttribute(XmlAttribute&& other) noexcept;
  XmlAttribute& operator=(XmlAttribute&& other) noexcept;

  LLF_KIND_OF(XmlAttribute, Object)
  ~XmlAttribute() override = default;
  // name="escaped value"
  std::wstring Dump() const override;

  virtual const std::wstring& GetName() const;
  virtual const std::wstring& GetValue() const { return _value; }
  virtual int GetInt() const;
  virtual double GetDouble() const;
  virtual float GetFloat() const;
  virtual bool GetBool() const;
  // Split at the first comma; a value without one gives (0, 0).
  virtual Point GetIntPair() const;
  virtual Vector2 GetFloatPair() const;
  // Three or four numbers, each kept to its low 8 bits; a missing or empty
  // alpha is 255; fewer than three numbers give opaque black.
  virtual Color GetColor() const;
  // Four numbers; fewer than three commas give all zeros.
  virtual Rect GetInt4() const;
  virtual RectF GetFloat4() const;
  virtual void SetName(const std::wstring& name);
  virtual void SetFloat4(const RectF& value);
  virtual void SetInt4(const Rect& value);
  virtual void SetColor(const Color& value);
  virtual void SetFloatPair(const Vector2& value);
  virtual void SetIntPair(const Point& value);
  virtual void SetBool(bool value);
  virtual void SetFloat(float value);
  virtual void SetDouble(double value);
  virtual void SetInt(int value);
  virtual void SetValue(const std::wstring& value) { _value = value; }

  // The name as it stands, without a copy.
  std::wstring_view GetNameView() const { return _sharedName ? std::wstring_view(*_sharedName) : _name; }

  // The names other parts of the system know these by.
  const std::wstring& GetValueRef() const { return _value; }
  bool AsBool() const { return GetBool(); }
  int AsInt() const { return GetInt(); }
  float AsFloat() const { return GetFloat(); }

 private:
  // While _sharedName is set, _name is empty until GetName copies the shared
  // name into it; that copy may happen in two readers of a const attribute
  // at once, so its progress is an atomic state.
  enum : unsigned char { kOwn, kShared, kCopying };

  mutable std::wstring _name;
  std::wstring _value;
  std::shared_ptr<const std::wstring> _sharedName;
  mutable std::atomic<unsigned char> _nameState{kOwn};
};

}  // namespace LLF
