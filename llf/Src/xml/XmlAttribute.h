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
// The reader gives an attribute an interned name (see XmlNameTable) and a
// value that stays in its element's block of characters; the attribute makes
// its own string of either the first time GetName or GetValue hands it out,
// so a reference from those is the attribute's own, as for any other
// attribute, and follows a rename or a new value. Lookups and the writer use
// GetNameView and GetValueView, which make no copy.
#include <atomic>
#include <cstdint>
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
  virtual const std::wstring& GetValue() const;
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
  virtual void SetValue(const std::wstring& value) { SetOwnValue(std::wstring(value)); }

  // The name and the value as they stand, without a copy.
  std::wstring_view GetNameView() const { return _internedName ? std::wstring_view(*_internedName) : _name; }
  std::wstring_view GetValueView() const {
    return _valueState.load(std::memory_order_acquire) == kOwn ? std::wstring_view(_value)
                                                               : std::wstring_view(_viewData, _viewSize);
  }

  // The names other parts of the system know these by.
  const std::wstring& GetValueRef() const { return GetValue(); }
  bool AsBool() const { return GetBool(); }
  int AsInt() const { return GetInt(); }
  float AsFloat() const { return GetFloat(); }

 private:
  friend class XmlElement;

  // The reader's form: an interned name (never null) and characters that
  // outlive the attribute (its element's block).
  XmlAttribute(const std::wstring* internedName, const wchar_t* value, size_t size)
      : _internedName(internedName),
        _viewData(value),
        _viewSize(size),
        _nameState(kShared),
        _valueState(kShared) {}
  // A copy of other whose value is the characters given (as above) and
  // whose name is other's, interned or not.
  XmlAttribute(const XmlAttribute& other, const wchar_t* value, size_t size);

  void SetOwnValue(std::wstring&& value);
  // Makes the attribute's own copy of its interned name or viewed value.
  void Own(std::atomic<unsigned char>& state, std::wstring& own, std::wstring_view shared) const;

  // While the name is interned or the value viewed, the own string stays
  // empty until GetName or GetValue copies into it; that copy may happen in
  // two readers of a const attribute at once, so its progress is an atomic
  // state.
  enum : unsigned char { kOwn, kShared, kCopying };

  mutable std::wstring _name;
  mutable std::wstring _value;
  const std::wstring* _internedName = nullptr;
  const wchar_t* _viewData = nullptr;
  size_t _viewSize = 0;
  mutable std::atomic<unsigned char> _nameState{kOwn};
  mutable std::atomic<unsigned char> _valueState{kOwn};
};

}  // namespace LLF
