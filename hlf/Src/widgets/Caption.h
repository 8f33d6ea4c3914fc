#pragma once
// The caption of a button or a label: the text as set, line breaks
// included, and, in multiline mode, that text word-wrapped into lines for
// the control's width with its text property's font. Both widgets lay out
// and draw their captions through this one class, so they wrap alike.
//
// Wrapping breaks only where a word starts: a word goes on the next line
// when the line through it would be wider than the field, so no line is
// wider than the field unless it is one word that alone is. Lines are
// measured as the text property draws them. A line feed ends a line; each
// further line feed gives an empty line, a final one none. Blanks that start
// a wrapped or new line are dropped, and so are those that end a wrapped
// line or would make a line wider than the field.
#include <string>
#include <vector>

#include "math/Transform.h"

namespace LLF {
class Font;
class IRenderSystem;
struct TextDrawParams;
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

  // Lays the caption out for a field of the given width (the control's less
  // its sides offset): single-line, the full text becomes the property's
  // text; multiline, the lines (none without a font).
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

  // The lines of text wrapped for width with the font, each measured with
  // params as its text, as the drawing measures it.
  static std::vector<std::wstring> Wrap(const std::wstring& text, const LLF::Font& font,
                                        const LLF::TextDrawParams& params, int width);

 private:
  std::vector<std::wstring> _lines;
  std::wstring _fullText;
  bool _multiline = false;
  int _interval = 2;
};

}  // namespace HLF
