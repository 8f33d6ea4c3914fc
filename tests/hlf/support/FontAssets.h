#pragma once
// Fonts held by the fonts manager under ids, as the game's asset loader
// leaves them: DejaVu Sans rendered through the TrueType codec (not
// uploaded). The codec is registered for the scope's life; at its end every
// font is freed and the codec unregistered again.
#include <string>

namespace LLF {
class Font;
}

namespace QmTest {

class FontAssets {
 public:
  FontAssets();
  ~FontAssets();
  FontAssets(const FontAssets&) = delete;
  FontAssets& operator=(const FontAssets&) = delete;

  // The font of the given size and characters under id; the manager's font.
  LLF::Font* Add(const std::wstring& id, int size, const std::wstring& characters = L"AB");
};

}  // namespace QmTest
