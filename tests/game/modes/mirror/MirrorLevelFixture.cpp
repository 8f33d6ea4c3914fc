#include "MirrorLevelFixture.h"

#include "ProfileVars.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "core/StringUtils.h"

namespace QmTest {

const char* const MirrorLevelFixture::kStandardObjects =
    "  <object imgName=\"diff_0\" pos=\"500,40\" dims=\"30,30\" />\n"
    "  <!-- the picture's second difference -->\n"
    "  <object imgName=\"diff_1\" pos=\"100,200\" dims=\"40,20\" />\n"
    "  <object imgName=\"diff_2\" pos=\"250,300\" dims=\"60,60\" />\n"
    "  <object imgName=\"diff_3\" pos=\"270,320\" dims=\"60,60\" />\n"
    "  <object imgName=\"diff_4\" pos=\"360,100\" />\n"
    "  <object imgName=\"diff_4\" pos=\"600,400\" dims=\"20,20\" />\n";

// The generated pictures of the Mirror levels come along: the written level
// uses them.
MirrorLevelFixture::MirrorLevelFixture() : start(true) {
  if (!start.Start()) {
    return;
  }
  start->SetStateMachine(&driver);
  if (!SetTips(false)) {
    return;
  }
  WriteLevel("t_mirror", kStandardObjects);
  ready = true;
}

MirrorLevelFixture::~MirrorLevelFixture() {
  driver.Release();
  start->SetStateMachine(nullptr);
  start->Stop();
}

void MirrorLevelFixture::WriteLevel(const std::string& name, const std::string& children, bool background) {
  const std::string folder = "levels/" + name + "/";
  start.Folders().WriteProgramFile(
      folder + "level.xml",
      std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<level type=\"mirror\">\n") +
          (background ? "  <background imgName=\"original\" pos=\"0,0\" dims=\"400,600\" />\n" : "") +
          children + "</level>\n");
  std::string assets =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<game><assets><LEVOBJECTS>\n"
      "  <image name=\"original\" src=\"levels/d1_mirror/original.png\" />\n";
  for (int i = 0; i < 5; ++i) {
    const std::string id = "diff_" + std::to_string(i);
    assets += "  <image name=\"" + id + "\" src=\"levels/d1_mirror/" + id + ".png\" />\n";
  }
  start.Folders().WriteProgramFile(folder + "asset.xml", assets + "</LEVOBJECTS></assets></game>\n");
}

GameModeMirror* MirrorLevelFixture::Start(const std::string& name) {
  LevelInfo info;
  info.folder = L"levels/" + LLF::FromOsPath(name) + L"/";
  info.name = LLF::FromOsPath(name);
  info.type = L"mirror";
  info.musicAsset = L"LEVMUSIC_A";
  info.level = 2;
  info.day = 0;
  if (!driver.host.StartLevel(info, &driver)) {
    return nullptr;
  }
  start->Frame(16);
  return Mode();
}

GameModeMirror* MirrorLevelFixture::StartRunning(const std::string& name) {
  GameModeMirror* mode = Start(name);
  if (mode) {
    Run(4500);
  }
  return mode;
}

void MirrorLevelFixture::Run(unsigned total, unsigned step) {
  for (unsigned t = 0; t < total; t += step) {
    start->Frame(step);
  }
}

void MirrorLevelFixture::Click(int x, int y) {
  start.Click(x, y);
}

void MirrorLevelFixture::MoveMouse(int x, int y) {
  LLF::Message move(&LLF::AppWindow::GetInstance(), LLF::WMSG_MOUSE_MOVE, 0, x, y, std::wstring());
  start->OnMessage(&move);
}

std::wstring MirrorLevelFixture::Var(const std::wstring& path, const std::wstring& attribute) {
  return ProfileVar(path, attribute);
}

void MirrorLevelFixture::SetVar(const std::wstring& path, const std::wstring& attribute,
                                const std::wstring& value) {
  SetProfileVar(path, attribute, value);
}

}  // namespace QmTest
