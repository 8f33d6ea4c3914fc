#include "SeekFixture.h"

#include <filesystem>
#include <fstream>

#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "math/Color.h"

namespace QmTest {

namespace {

void SavePicture(const std::string& file, unsigned w, unsigned h, const LLF::Color& colour, bool hole,
                 bool alpha) {
  LLF::Image image(w, h, alpha ? LLF::IMGFORMAT_R8G8B8A8 : LLF::IMGFORMAT_R8G8B8X8);
  const LLF::Color clear(0, 0, 0, 0);
  for (unsigned y = 0; y < h; ++y) {
    for (unsigned x = 0; x < w; ++x) {
      const bool inHole = hole && x >= 10 && x < 30 && y >= 10 && y < 30;
      image.SetPixel(int(x), int(y), inHole ? &clear : &colour);
    }
  }
  LLF::ImagesManager::GetInstance().SaveImage(&image, LLF::FromOsPath(file));
}

void WriteText(const std::string& file, const std::wstring& text) {
  std::ofstream out(file, std::ios::binary);
  out << "\xEF\xBB\xBF" << LLF::WideToAnsi(text);
}

}  // namespace

SeekFixtureLevel::SeekFixtureLevel() {
  objects = {
      {L"Purple Ring", L"priority", L"holed", 60, 100},
      {L"Pink Hexagon", L"priority", L"solid", 60, 100},
      {L"Blue Ball", L"easy", L"solid", 10, 10},
      {L"Yellow Heart", L"easy", L"solid", 60, 10},
      {L"Green Diamond", L"normal", L"solid", 110, 10},
      {L"Orange Box", L"normal", L"wide", 160, 10, 60, 30},
      {L"White Cross", L"normal", L"solid", 230, 10},
      {L"Red Star", L"normal", L"solid", 10, 160},
      {L"Grey Diamond", L"difficult", L"small", 110, 160},
      {L"Olive Heart", L"difficult", L"solid", 160, 160},
      {L"Teal Ring", L"unknown", L"solid", 210, 160},
      {L"Stone Box", L"unplayable", L"solid", 10, 220},
  };
}

std::wstring SeekFixtureLevel::Text() const {
  std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<level type=\"seek\" uiPos=\"" + uiPos +
                      L"\" mode=\"" + mode + L"\" seekEasy=\"" + LLF::ToString(easy) + L"\" seekNormal=\"" +
                      LLF::ToString(normal) + L"\" seekDifficult=\"" + LLF::ToString(difficult) + L"\" >\r\n";
  text += L"<background name=\"fx_scene\" imgName=\"fx_bg\" pos=\"" +
          std::wstring(LLF::StrCompareNoCase(uiPos, L"left") == 0 ? L"170,0" : L"0,0") + L"\" />\r\n";
  for (const SeekFixtureObject& o : objects) {
    text += L"<object name=\"" + o.name + L"\" imgName=\"fx_" + o.picture + L"\" pos=\"" +
            LLF::ToString(o.x) + L"," + LLF::ToString(o.y) + L"\" dims=\"" + LLF::ToString(o.w) + L"," +
            LLF::ToString(o.h) + L"\" flag=\"" + o.flag + L"\" />\r\n";
  }
  return text + extra + L"</level>\r\n";
}

const SeekFixtureObject& SeekFixtureLevel::Object(const std::wstring& name) const {
  for (const SeekFixtureObject& o : objects) {
    if (o.name == name) return o;
  }
  return objects.front();
}

void WriteSeekPictures(const std::string& programFolder) {
  const std::string folder = programFolder + "/levels/fx_seek/";
  std::filesystem::create_directories(folder);
  SavePicture(folder + "scene.png", 300, 300, LLF::Color(255, 255, 255, 255), false, false);
  SavePicture(folder + "solid.png", 40, 40, LLF::Color(200, 0, 0, 255), false, true);
  SavePicture(folder + "holed.png", 40, 40, LLF::Color(0, 0, 220, 255), true, true);
  SavePicture(folder + "wide.png", 60, 30, LLF::Color(240, 140, 30, 255), false, true);
  SavePicture(folder + "small.png", 20, 20, LLF::Color(0, 160, 0, 255), false, true);
  std::wstring assets = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<game><assets><LEVOBJECTS>\r\n";
  for (const wchar_t* id : {L"bg", L"solid", L"holed", L"wide", L"small"}) {
    const std::wstring file = std::wstring(id) == L"bg" ? L"scene" : id;
    assets += L"<image name=\"fx_" + std::wstring(id) + L"\" src=\"levels/fx_seek/" + file + L".png\" />\r\n";
  }
  WriteText(folder + "asset.xml", assets + L"</LEVOBJECTS></assets></game>\r\n");
}

void WriteSeekLevel(const std::string& programFolder, const SeekFixtureLevel& level) {
  WriteText(programFolder + "/levels/fx_seek/level.xml", level.Text());
}

}  // namespace QmTest
