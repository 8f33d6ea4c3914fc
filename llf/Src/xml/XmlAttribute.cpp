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
      _name(other._sharedName ? std::wstring() : other._name),
      _value(other._value),
      _sharedName(other._sharedName),
      _nameState(other._sharedName ? kShared : kOwn) {}

XmlAttribute& XmlAttribute::operator=(const XmlAttribute& other) {
  if (this != &other) *this = XmlAttribute(other);
  return *this;
}

XmlAttribute::XmlAttribute(XmlAttribute&& other) noexcept
    : Object(other),
      _name(other._sharedName ? std::wstring() : std::move(other._name)),
      _value(std::move(other._value)),
      _sharedName(std::move(other._sharedName)),
      _nameState(_sharedName ? kShared : kOwn) {}

XmlAttribute& XmlAttribute::operator=(XmlAttribute&& other) noexcept {
  if (this != &other) {
    _sharedName = std::move(other._sharedName);
    _name = _sharedName ? std::wstring() : std::move(other._name);
    _value = std::move(other._value);
    _nameState.store(_sharedName ? kShared : kOwn, std::memory_order_relaxed);
  }
  return *this;
}

const std::wstring& XmlAttribute::GetName() const {
  if (_nameState.load(std::memory_order_acquire) == kOwn) return _name;
  unsigned char expected = kShared;
  if (_nameState.compare_exchange_strong(expected, kCopying, std::memory_order_acquire)) {
    _name.assign(*_sharedName);
    _nameState.store(kOwn, std::memory_order_release);
  } else {
    while (_nameState.load(std::memory_order_acquire) != kOwn) std::this_thread::yield();
  }
  return _name;
}

void XmlAttribute::SetName(const std::wstring& name) {
  _name = name;
  _sharedName.reset();
  _nameState.store(kOwn, std::memory_order_relaxed);
}

std::wstring XmlAttribute::Dump() const {
  std::wstring out(GetNameView());
  out += L"=\"";
  AppendEscapedText(out, _value);
  out.push_back(L'"');
  return out;
}

int XmlAttribute::GetInt() const {
  return FromString(_value);
}

double XmlAttribute::GetDouble() const {
  return Parsed<double>(_value);
}

float XmlAttribute::GetFloat() const {
  return StrToFloat(_value);
}

bool XmlAttribute::GetBool() const {
  return StrIsTrue(_value);
}

Point XmlAttribute::GetIntPair() const {
  return Parsed<Point>(_value);
}

Vector2 XmlAttribute::GetFloatPair() const {
  return Parsed<Vector2>(_value);
}

Color XmlAttribute::GetColor() const {
  int parts[4] = {0, 0, 0, 255};
  size_t start = 0;
  int count = 0;
  for (; count < 4; ++count) {
    const size_t comma = _value.find(L',', start);
    const std::wstring part =
        _value.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
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
  return HasThreeCommas(_value) ? Parsed<Rect>(_value) : Rect();
}

RectF XmlAttribute::GetFloat4() const {
  return HasThreeCommas(_value) ? Parsed<RectF>(_value) : RectF();
}

void XmlAttribute::SetFloat4(const RectF& value) {
  _value = ToString(value);
}

void XmlAttribute::SetInt4(const Rect& value) {
  _value = ToString(value);
}

void XmlAttribute::SetColor(const Color& value) {
  _value = ToString(value);
}

void XmlAttribute::SetFloatPair(const Vector2& value) {
  _value = ToString(value);
}

void XmlAttribute::SetIntPair(const Point& value) {
  _value = ToString(value);
}

void XmlAttribute::SetBool(bool value) {
  _value = BoolToStr(value);
}

void XmlAttribute::SetFloat(float value) {
  _value = ToString(value);
}

void XmlAttribute::SetDouble(double value) {
  _value = ToString(value);
}

void XmlAttribute::SetInt(int value) {
  _value = ToString(value);
}

}  // namespace LLF
