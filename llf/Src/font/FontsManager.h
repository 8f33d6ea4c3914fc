#pragma once
// Loads, shares and frees fonts by id through the registered font codecs,
// saves fonts through the first codec that takes the file name, and joins
// two fonts into a new one.
#include <string>

#include "core/CodecsManager.h"
#include "core/Singleton.h"
#include "font/Font.h"
#include "math/Point.h"

namespace LLF {

class File;

class FontsManager : public CodecsManager<Font>, public Singleton<FontsManager> {
  LLF_SINGLETON(FontsManager)

 public:
  LLF_KIND_OF(FontsManager, CodecsManager<Font>)
  ~FontsManager() override = default;
  std::wstring Dump() const override;

  virtual bool SaveFont(Font* font, const std::wstring& fileName);
  // From a file open for reading. height, characters and spacing go to the
  // codec's Load unchanged (character size, characters to render, free
  // margin around each glyph). The key is the id, or the file name when the
  // id is empty. Unless doNotUpload the glyph image is handed to the current
  // render system (which throws when there is none). With doNotKeep the
  // caller owns the font and the map is neither read nor changed.
  virtual Font* LoadFont(File& file, const std::wstring& fileName, int height, const std::wstring& characters,
                         const std::wstring& id, bool doNotKeep, bool doNotUpload, const Point& spacing);
  virtual Font* LoadFont(const std::wstring& fileName, int height, const std::wstring& characters,
                         const std::wstring& id, bool doNotKeep, bool doNotUpload, const Point& spacing);
  virtual bool FreeFont(Font* font);
  // A new font, owned by the caller and not kept here, holding the glyphs of
  // a and then those of b that a lacks, in one glyph image laid out afresh
  // with spacing free pixels around each glyph. Null, with a log line, when
  // the two fonts differ in height.
  virtual Font* AppendFonts(const Font* a, const Font* b, const Point& spacing);
  virtual void CleanupEverything(bool quiet);

 private:
  FontsManager();
};

}  // namespace LLF
