#pragma once
// The caption of a button or a label: the text as set, line breaks
// included, and, in multiline mode, that text word-wrapped into lines for
// the control's width with its text property's font. Both widgets lay out
// and draw their captions through this one class, so they wrap alike.
//
// Wrapping breaks only where a word starts: a line ends before the first
// word whose preceding text (trailing blanks included) is at least as wide
// as the control, so a line holds at least one word and may reach beyond
// the width by the word that crossed it; the last word is never measured.
// A line feed ends a line; each further line feed gives an empty line, a
// final one none. Blanks that start a wrapped or new line are dropped.
#include <string>
#include <vector>

#include "math/Transform.h"

namespace LLF {
class Font;
class IRenderSystem;
class XmlElement;
}  // namespace LLF

namespace HLF {

class TextProperty;

class Caption {
 public:
  const std::wstring& GetFullText() const { return _fullText; }
  const std::vector<std::wstring>& GetLines() const { return _lines; }
  bool IsMultiline() const { return _multiline; }
  int GetInterval() const { return _interval; }
  void SetFullText(const std::wstring& text) { _fullText = text; }
  void SetMultiline(bool multiline) { _multiline = multiline; }
  void SetInterval(int interval) { _interval = interval; }

  // Lays the caption out for a control of the given width: single-line, the
  // full text becomes the property's text; multiline, the lines (none
  // without a font).
  void Update(TextProperty& text, int width);
  // Draws the caption under the control's pushed transform: one line, or
  // the lines interval pixels apart. A single wrapped line is drawn as a
  // single-line caption is.
  void Draw(TextProperty& text, LLF::IRenderSystem* rs, const LLF::Transform& context) const;
  // In multiline mode the text property's own text is only the line drawn
  // last, so a saved element takes the full text instead; written whenever
  // it differs from the reference's, so a caption whose last line is empty
  // is not lost.
  void SaveFullText(LLF::XmlElement& element, const Caption& reference) const;

  // The lines of text wrapped for width with the font, measured at scale 1.
  static std::vector<std::wstring> Wrap(const std::wstring& text, const LLF::Font& font, int width);

 private:
  std::vector<std::wstring> _lines;
  std::wstring _fullText;
  bool _multiline = false;
  int _interval = 2;
};

}  // namespace HLF
