#pragma once
// Lines of text set in a TrueType face into a coverage mask, through the
// framework's own TrueType reader. Glyphs sit side by side at their own
// width plus a spacing, as the engine's fonts place them; a blank advances
// by half the character size.
#include <memory>
#include <string>

#include "draw/Mask.h"

namespace LLF {
class TrueTypeFace;
}

namespace Datagen {

class Lettering {
 public:
  Lettering();
  ~Lettering();
  Lettering(const Lettering&) = delete;
  Lettering& operator=(const Lettering&) = delete;

  // Reads the font file; false with the reason in error.
  bool Open(const std::string& fontFile, std::string& error);

  struct Line {
    Mask mask;         // the text with margin pixels on every side
    int baseline = 0;  // row of the base line inside the mask
  };
  // size: character size in points at 96 dpi; spacing: extra pixels
  // between glyphs. Characters the face lacks are left out.
  Line Set(const std::wstring& text, int size, int spacing, int margin) const;

 private:
  std::unique_ptr<LLF::TrueTypeFace> _face;
};

}  // namespace Datagen
