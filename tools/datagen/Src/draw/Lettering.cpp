#include "draw/Lettering.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <vector>

#include "font/TrueTypeFace.h"

namespace Datagen {

Lettering::Lettering() = default;
Lettering::~Lettering() = default;

bool Lettering::Open(const std::string& fontFile, std::string& error) {
  std::ifstream in(fontFile, std::ios::binary);
  if (!in) {
    error = "cannot read font file " + fontFile;
    return false;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto face = std::make_unique<LLF::TrueTypeFace>();
  auto copy = std::make_unique<unsigned char[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), copy.get());
  if (!face->StartLibrary() || !face->OpenFace(std::move(copy), unsigned(bytes.size()))) {
    error = "not a TrueType font: " + fontFile;
    return false;
  }
  _face = std::move(face);
  return true;
}

Lettering::Line Lettering::Set(const std::wstring& text, int size, int spacing, int margin) const {
  Line line;
  if (!_face || !_face->SetCharSize(size)) return line;

  struct Placed {
    LLF::TrueTypeFace::Glyph glyph;
    int pen = 0;
  };
  std::vector<Placed> placed;
  int pen = 0;
  int top = INT_MIN;
  int bottom = INT_MAX;
  for (const wchar_t c : text) {
    Placed p;
    if (c == L' ' || !_face->RenderGlyph(c, p.glyph)) {
      pen += c == L' ' ? size / 2 : 0;
      continue;
    }
    p.pen = pen;
    top = std::max(top, p.glyph.bottom + p.glyph.height);
    bottom = std::min(bottom, p.glyph.bottom);
    pen += p.glyph.left + p.glyph.width + spacing;
    placed.push_back(std::move(p));
  }
  if (placed.empty()) return line;

  const int width = pen - spacing + 2 * margin;
  const int height = top - bottom + 2 * margin;
  line.mask = Mask(width, height);
  line.baseline = margin + top;
  for (const Placed& p : placed) {
    const LLF::TrueTypeFace::Glyph& g = p.glyph;
    for (int row = 0; row < g.height; ++row) {
      // The glyph's rows run from its lowest up.
      const int y = line.baseline - g.bottom - row - 1;
      for (int col = 0; col < g.width; ++col) {
        const float coverage = g.coverage[size_t(row) * g.width + col] / 255.0f;
        const int x = margin + p.pen + g.left + col;
        line.mask.Set(x, y, std::max(line.mask.At(x, y), coverage));
      }
    }
  }
  return line;
}

}  // namespace Datagen
