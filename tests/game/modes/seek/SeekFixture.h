#pragma once
// A Seek level written into a test's program folder: twelve objects on a
// white 300 x 300 scene, their pictures made here so every pixel is known.
//   solid  40 x 40, opaque red (200, 0, 0)
//   holed  40 x 40, opaque blue with a transparent centre (10..29 both ways)
//   wide   60 x 30, opaque orange
//   small  20 x 20, opaque green (its object's dims say 40 x 40)
// "Purple Ring" (holed) lies over "Pink Hexagon" (solid), both priority;
// two easy, four normal, two difficult, one unknown, one unplayable. The
// counts 2, 4, 2 make ten names.
#include <string>
#include <vector>

namespace QmTest {

struct SeekFixtureObject {
  std::wstring name;
  std::wstring flag;
  std::wstring picture;
  int x = 0;
  int y = 0;
  int w = 40;
  int h = 40;
};

struct SeekFixtureLevel {
  std::wstring uiPos = L"right";
  std::wstring mode = L"normal";
  int easy = 2;
  int normal = 4;
  int difficult = 2;
  std::vector<SeekFixtureObject> objects;
  std::wstring extra;  // more XML inside "level"

  SeekFixtureLevel();
  // "level.xml"'s text.
  std::wstring Text() const;
  // The object of that name.
  const SeekFixtureObject& Object(const std::wstring& name) const;
};

// The pictures (in "levels/fx_seek/") and "asset.xml", then "level.xml".
void WriteSeekPictures(const std::string& programFolder);
void WriteSeekLevel(const std::string& programFolder, const SeekFixtureLevel& level);

}  // namespace QmTest
