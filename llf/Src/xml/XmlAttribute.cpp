#include "xml/XmlAttribute.h"

#include <algorithm>
#include <thread>

#include "core/StringUtils.h"
#include "xml/XmlText.h"

namespace LLF {

namespace {

// Quadruples need at least three commas; with fewer they read as zeros.
bool HasThreeCommas(const std::wstring& s) {
  return std::count(s.begin(), s.end(), L',') >= 3;
}

// The value read in the text form of T (zero when it holds none).
template <class T>
T Parsed(const std::wstring& text) {
  T value{};
  FromString(text, value);
  return value;
}

}  // namespace

XmlAttribute::XmlAttribute(const XmlAttribute& other)
    : Object(other),
      _name(other._internedName ? std::wstring() : other._name),
      _value(other.GetValueView()),
      _internedName(other._internedName),
      _nameState(other._internedName ? kShared : kOwn) {}

XmlAttribute::XmlAttribute(const XmlAttribute& other, const wchar_t* value, size_t size)
    : Object(other),
      _name(other._internedName ? std::wstring() : other._name),
      _internedName(other._internedName),
      _viewData(value),
      _viewSize(size),
      _nameState(other._internedName ? kShared : kOwn),
      _valueState(kShared) {}

XmlAttribute& XmlAttribute::operator=(const XmlAttribute& other) {
  if (this != &other) *this = XmlAttribute(other);
  return *this;
}

// A viewed value is copied: the characters belong to the other attribute's
// element, which this one may outlive.
XmlAttribute::XmlAttribute(XmlAttribute&& other) noexcept
    : Object(other),
      _name(other._internedName ? std::wstring() : std::move(other._name)),
      _value(other._valueState.load(std::memory_order_acquire) == kOwn ? std::move(other._value)
                                                                       : std::wstring(other.GetValueView())),
      _internedName(other._internedName),
      _nameState(_internedName ? kShared : kOwn) {}

XmlAttribute& XmlAttribute::operator=(XmlAttribute&& other) noexcept {
  if (this != &other) {
    _internedName = other._internedName;
    _name = _internedName ? std::wstring() : std::move(other._name);
    _nameState.store(_internedName ? kShared : kOwn, std::memory_order_relaxed);
    if (other._valueState.load(std::memory_order_acquire) == kOwn) {
      _value = std::move(other._value);
    } else {
      _value.assign(other.GetValueView());
    }
    _viewData = nullptr;
    _viewSize = 0;
    _valueState.store(kOwn, std::memory_order_relaxed);
  }
  return *this;
}

void XmlAttribute::Own(std::atomic<unsigned char>& state, std::wstring& own, std::wstring_view shared) const {
  unsigned char expected = kShared;
  if (state.compare_exchange_strong(expected, kCopying, std::memory_order_acquire)) {
    own.assign(shared);
    state.store(kOwn, std::memory_order_release);
  } else {
    while (state.load(std::memory_order_acquire) != kOwn) std::this_thread::yield();
  }
}

const std::wstring& XmlAttribute::GetName() const {
  if (_nameState.load(std::memory_order_acquire) != kOwn) Own(_nameState, _name, *_internedName);
  return _name;
}

const std::wstring& XmlAttribute::GetValue() const {
  if (_valueState.load(std::memory_order_acquire) != kOwn) {
    Own(_valueState, _value, std::wstring_view(_viewData, _viewSize));
  }
  return _value;
}

void XmlAttribute::SetName(const std::wstring& name) {
  _name = name;
  _internedName = nullptr;
  _nameState.store(kOwn, std::memory_order_relaxed);
}

void XmlAttribute::SetOwnValue(std::wstring&& value) {
  _value = std::move(value);
  _viewData = nullptr;
  _viewSize = 0;
  _valueState.store(kOwn, std::memory_order_relaxed);
}

std::wstring XmlAttribute::Dump() const {
  std::wstring out(GetNameView());
  out += L"=\"";
  AppendEscapedText(out, GetValueView());
  out.push_back(L'"');
  return out;
}

int XmlAttribute::GetInt() const {
  return FromString(GetValue());
}

double XmlAttribute::GetDouble() const {
  return Parsed<double>(GetValue());
}

float XmlAttribute::GetFloat() const {
  return StrToFloat(GetValue());
}

bool XmlAttribute::GetBool() const {
  return StrIsTrue(GetValue());
}

Point XmlAttribute::GetIntPair() const {
  return Parsed<Point>(GetValue());
}

Vector2 XmlAttribute::GetFloatPair() const {
  return Parsed<Vector2>(GetValue());
}

Color XmlAttribute::GetColor() const {
  const std::wstring& value = GetValue();
  int parts[4] = {0, 0, 0, 255};
  size_t start = 0;
  int count = 0;
  for (; count < 4; ++count) {
    const size_t comma = value.find(L',', start);
    const std::wstring part =
        value.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
    // An empty alpha keeps its 255; any other part reads as 0 without digits.
    if (count < 3 || !part.empty()) FromString(part, parts[count]);
    if (comma == std::wstring::npos) {
      ++count;
      break;
    }
    start = comma + 1;
  }
  if (count < 3) return Color(0, 0, 0, 255);
  auto low = [](int v) { return static_cast<uint8_t>(v & 0xFF); };
  return Color(low(parts[0]), low(parts[1]), low(parts[2]), low(parts[3]));
}

Rect XmlAttribute::GetInt4() const {
  return HasThreeCommas(GetValue()) ? Parsed<Rect>(GetValue()) : Rect();
}

RectF XmlAttribute::GetFloat4() const {
  return HasThreeCommas(GetValue()) ? Parsed<RectF>(GetValue()) : RectF();
}

void XmlAttribute::SetFloat4(const RectF& value) {
  SetOwnValue(ToString(value));
}

void XmlAttribute::SetInt4(const Rect& value) {
  SetOwnValue(ToString(value));
}

void XmlAttribute::SetColor(const Color& value) {
  SetOwnValue(ToString(value));
}

void XmlAttribute::SetFloatPair(const Vector2& value) {
  SetOwnValue(ToString(value));
}

void XmlAttribute::SetIntPair(const Point& value) {
  SetOwnValue(ToString(value));
}

void XmlAttribute::SetBool(bool value) {
  SetOwnValue(BoolToStr(value));
}

void XmlAttribute::SetFloat(float value) {
  SetOwnValue(ToString(value));
}

void XmlAttribute::SetDouble(double value) {
  SetOwnValue(ToString(value));
}

void XmlAttribute::SetInt(int value) {
  SetOwnValue(ToString(value));
}

}  // namespace LLF
