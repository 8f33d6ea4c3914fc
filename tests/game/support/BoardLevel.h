#pragma once
// Level folders written by the play-mode tests into a program folder.
#include <string>

#include "map/LevelInfo.h"

namespace QmTest {

// The text as the file's bytes, its folders made first.
void WriteTextFile(const std::string& path, const std::string& text);
// levels/<name>/ below program, with a level.xml of one "level" element of
// the attributes and an asset.xml with an empty LEVOBJECTS list; the level
// of day 1 of the type that reads it, on music LEVMUSIC_A.
LevelInfo WriteBoardLevel(const std::string& program, const std::string& name, const std::string& attributes,
                          const std::wstring& type, int wallpaper = -1);

}  // namespace QmTest
