#include "PairLevelFixture.h"

#include "ProfileVars.h"
#include "core/StringUtils.h"

namespace QmTest {

namespace {

std::string Item(const char* name, const char* pane, int x, int y, const char* image = nullptr) {
  return std::string("    <object name=\"") + name + "\" dims=\"64,64\" pane=\"" + pane + "\" imgName=\"" +
         (image ? std::string(image) : "pair_" + std::string(name)) + "\" pos=\"" + std::to_string(x) + "," +
         std::to_string(y) + "\" />\n";
}

}  // namespace

const char* const PairLevelFixture::kStandardScenes = [] {
  static const std::string scenes =
      "  <scene_01>\n" + Item("ball_red", "left", 100, 300) + Item("star_blue", "left", 250, 100) +
      Item("ring_green", "left", 100, 300) + Item("ghost", "left", 250, 300, "no_such_icon") +
      "    <!-- the right pane -->\n" + Item("ring_green", "right", 500, 300) +
      Item("diamond_yellow", "right", 600, 100) + Item("ghost", "right", 650, 300, "no_such_icon") +
      "  </scene_01>\n  <scene_02>\n" + Item("ball_blue", "left", 100, 100) +
      Item("triangle_green", "left", 200, 200) + Item("ball_blue", "right", 500, 100) +
      Item("diamond_yellow", "right", 600, 200) + "  </scene_02>\n";
  return scenes.c_str();
}();

// The demo levels come along, for the tests that draw them.
PairLevelFixture::PairLevelFixture() : start(true) {
  if (!start.Start()) {
    return;
  }
  start->SetStateMachine(&driver);
  if (!SetTips(false)) {
    return;
  }
  WriteLevel("t_pair", kStandardScenes);
  ready = true;
}

PairLevelFixture::~PairLevelFixture() {
  driver.Release();
  start->SetStateMachine(nullptr);
  start->Stop();
}

void PairLevelFixture::WriteLevel(const std::string& name, const std::string& scenes, bool assetFile) {
  const std::string folder = "levels/" + name + "/";
  start.Folders().WriteProgramFile(
      folder + "level.xml", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<level type=\"pair\"") +
                                (assetFile ? " assetFile=\"images/levels/pair/items/asset.xml\"" : "") +
                                ">\n" + scenes + "</level>\n");
  start.Folders().WriteProgramFile(folder + "asset.xml",
                                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<game><assets><LEVOBJECTS />"
                                   "</assets></game>\n");
}

GameModePair* PairLevelFixture::Start(const std::string& name) {
  LevelInfo info;
  info.folder = L"levels/" + LLF::FromOsPath(name) + L"/";
  info.name = L"t_pair";
  info.type = L"pair";
  info.musicAsset = L"LEVMUSIC_A";
  info.level = 1;
  info.day = 0;
  if (!driver.host.StartLevel(info, &driver)) {
    return nullptr;
  }
  start->Frame(16);
  return Mode();
}

GameModePair* PairLevelFixture::StartRunning(const std::string& name) {
  GameModePair* mode = Start(name);
  if (mode) {
    Run(4500);
  }
  return mode;
}

void PairLevelFixture::Run(unsigned total, unsigned step) {
  for (unsigned t = 0; t < total; t += step) {
    start->Frame(step);
  }
}

void PairLevelFixture::Click(int x, int y) {
  start.Click(x, y);
}

std::wstring PairLevelFixture::Var(const std::wstring& attribute, const std::wstring& path) {
  return ProfileVar(path, attribute);
}

void PairLevelFixture::SetVar(const std::wstring& attribute, const std::wstring& value,
                              const std::wstring& path) {
  SetProfileVar(path, attribute, value);
}

}  // namespace QmTest
