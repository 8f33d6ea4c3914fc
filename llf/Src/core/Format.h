#pragma once
// printf-style formatting of wide text with the meaning the framework's
// format texts were written for: %s takes any string (wide or narrow, the
// narrow one read through the ANSI code page), %c a character, and
// %d %i %u %o %x %X %f %F %e %E %g %G %a %A %p %% take flags (- + blank # 0),
// a width and a precision ('*' reads them from the arguments). Length
// modifiers (h, l, ll, I64, ...) are accepted and ignored: each argument's
// own type decides how it is read, so a format that does not match its
// arguments never reads memory it should not. A directive without an
// argument is copied as it stands; %n writes nothing. Exponents are written
// with three digits (1e+006), as the number text forms are.
//
// glibc's swprintf is not used: its %s reads narrow text and it leaves a
// cut result without its terminating zero.
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#include <type_traits>

namespace LLF {

namespace FormatDetail {

// One argument as the formatter sees it; points into the caller's data,
// which lives until Format returns.
struct Arg {
  enum Kind : unsigned char { kNone, kSigned, kUnsigned, kFloat, kWide, kNarrow, kPointer };
  Kind kind = kNone;
  unsigned char bits = 0;  // width of an integer type
  long long i = 0;
  unsigned long long u = 0;
  double d = 0.0;
  const void* p = nullptr;
  size_t length = 0;  // characters of a string
};

template <class>
inline constexpr bool kAlwaysFalse = false;

template <class T>
Arg MakeArg(const T& value) {
  using D = std::remove_cv_t<T>;
  Arg a;
  if constexpr (std::is_same_v<D, bool>) {
    a.kind = Arg::kSigned;
    a.bits = 32;
    a.i = value ? 1 : 0;
  } else if constexpr (std::is_enum_v<D>) {
    return MakeArg(static_cast<std::underlying_type_t<D>>(value));
  } else if constexpr (std::is_integral_v<D>) {
    a.bits = static_cast<unsigned char>(sizeof(D) * 8);
    if constexpr (std::is_signed_v<D>) {
      a.kind = Arg::kSigned;
      a.i = static_cast<long long>(value);
    } else {
      a.kind = Arg::kUnsigned;
      a.u = static_cast<unsigned long long>(value);
    }
  } else if constexpr (std::is_floating_point_v<D>) {
    a.kind = Arg::kFloat;
    a.d = static_cast<double>(value);
  } else if constexpr (std::is_same_v<D, std::wstring> || std::is_same_v<D, std::wstring_view>) {
    a.kind = Arg::kWide;
    a.p = value.data();
    a.length = value.size();
  } else if constexpr (std::is_same_v<D, std::string> || std::is_same_v<D, std::string_view>) {
    a.kind = Arg::kNarrow;
    a.p = value.data();
    a.length = value.size();
  } else if constexpr (std::is_array_v<D>) {
    using E = std::remove_cv_t<std::remove_extent_t<D>>;
    constexpr size_t n = std::extent_v<D>;
    if constexpr (std::is_same_v<E, wchar_t>) {
      a.kind = Arg::kWide;
      a.p = value;
      while (a.length < n && value[a.length] != 0) ++a.length;
    } else if constexpr (std::is_same_v<E, char>) {
      a.kind = Arg::kNarrow;
      a.p = value;
      while (a.length < n && value[a.length] != 0) ++a.length;
    } else {
      a.kind = Arg::kPointer;
      a.p = value;
    }
  } else if constexpr (std::is_pointer_v<D>) {
    using E = std::remove_cv_t<std::remove_pointer_t<D>>;
    a.p = value;
    if constexpr (std::is_same_v<E, wchar_t>) {
      a.kind = Arg::kWide;
      a.length = value ? std::wcslen(value) : 0;
    } else if constexpr (std::is_same_v<E, char>) {
      a.kind = Arg::kNarrow;
      a.length = value ? std::strlen(value) : 0;
    } else {
      a.kind = Arg::kPointer;
    }
  } else if constexpr (std::is_null_pointer_v<D>) {
    a.kind = Arg::kPointer;
  } else {
    static_assert(kAlwaysFalse<T>, "LLF::Format: this argument type has no text form");
  }
  return a;
}

std::wstring FormatArgs(const wchar_t* format, const Arg* args, size_t count);

}  // namespace FormatDetail

template <class... Args>
std::wstring Format(const wchar_t* format, const Args&... args) {
  const FormatDetail::Arg list[sizeof...(Args) + 1] = {FormatDetail::MakeArg(args)..., FormatDetail::Arg()};
  return FormatDetail::FormatArgs(format, list, sizeof...(Args));
}

}  // namespace LLF
