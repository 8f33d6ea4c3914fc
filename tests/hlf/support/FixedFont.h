#pragma once
// A fixed-width bitmap font held by the fonts manager under an id, so text
// widths are exact: every letter and digit is kWidth pixels wide, the blank
// too, and lines are kWidth pixels high. It is written as an XML font file
// with its glyph picture into a fresh folder and loaded back through the
// XML font codec (not uploaded); the codecs it needed for that are
// unregistered again at once (make it before a LogRecorder: a codec some
// other fixture registered already is refused with a warning line). The
// font is freed at the scope's end.
#include <string>

namespace LLF {
class Font;
}

namespace QmTest {

class FixedFont {
 public:
  explicit FixedFont(const std::wstring& id = L"fixed");
  ~FixedFont();
  FixedFont(const FixedFont&) = delete;
  FixedFont& operator=(const FixedFont&) = delete;

  // The manager's font; null when it could not be loaded (the test has
  // failed then).
  LLF::Font* Get() const { return _font; }
  const std::wstring& Id() const { return _id; }

  static constexpr int kWidth = 10;

 private:
  std::wstring _id;
  LLF::Font* _font = nullptr;
};

}  // namespace QmTest
