#include "BuiltLevelFixture.h"

#include <filesystem>

#include "BuilderInputs.h"
#include "devtools/Console.h"
#include "map/LevelInfo.h"

namespace QmTest {

void BuiltLevelFixture::SetUp() {
  ASSERT_FALSE(std::filesystem::exists(start.Program() + "/levels"));
  TrimData();
  ASSERT_TRUE(start.Start());
  start->SetStateMachine(&driver);
  ASSERT_TRUE(SetTips(false));
  std::string error;
  ASSERT_TRUE(Datagen::BuilderInputs::Write(start.Program() + "/levels/built", "levels/built", error))
      << error;
}

void BuiltLevelFixture::TearDown() {
  driver.Release();
  start->SetStateMachine(nullptr);
  start->Stop();
}

bool BuiltLevelFixture::Execute(const std::wstring& line) {
  return HLF::Console::GetInstance().Execute(line, false);
}

GameMode* BuiltLevelFixture::Start(const std::wstring& name, const std::wstring& type) {
  LevelInfo info;
  info.folder = L"levels/built/" + name + L"/";
  info.name = name;
  info.type = type;
  info.musicAsset = L"LEVMUSIC_A";
  info.level = 0;
  info.day = 0;
  if (!driver.host.StartLevel(info, &driver)) return nullptr;
  for (int t = 0; t < 4500; t += 100) start->Frame(100);
  return driver.host.GetMode();
}

void BuiltLevelFixture::Click(int x, int y) {
  start.Click(x, y);
  start->Frame(16);
}

}  // namespace QmTest
