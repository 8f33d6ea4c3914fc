#include "ModeFuzz.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "HeadlessVoyage.h"
#include "ModeDriver.h"
#include "TempFolders.h"
#include "TestEnv.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "flow/ZentaMainMenu.h"
#include "map/ZentaLevelMap.h"
#include "modes/GameMode.h"
#include "shell/Player.h"
#include "xml/XmlElement.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxVariables = 64;

std::wstring g_type;
std::string g_levelFolder;
QmTest::TempFolders* g_folders;
QmTest::HeadlessVoyage* g_game;
QmTest::ModeDriver* g_driver;

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) std::abort();
}

void Frames(int count) {
  for (int i = 0; i < count; ++i) g_game->Frame(50);
}

// The game's resources go at exit, so the leak check at the end of a run
// sees only what an input left behind.
void StopGame() {
  g_driver->Release();
  g_game->Stop();
  delete g_game;
  delete g_driver;
  delete g_folders;
}

// The profile as the input leaves it: no progress or statistics but the
// input's variables.
void SetProfile(const std::string& variables, const std::wstring& progressPath) {
  LLF::XmlElement* profile = g_game->GetCurrentProfile();
  if (!profile) std::abort();
  for (const wchar_t* name : {L"levels", L"stats"}) {
    while (profile->FindChild(name)) profile->RemoveChild(name);
  }
  HLF::Player player;
  size_t start = 0;
  for (size_t count = 0; start < variables.size() && count < kMaxVariables; ++count) {
    size_t end = variables.find('\n', start);
    if (end == std::string::npos) end = variables.size();
    const std::wstring line = LLF::AnsiToWide(variables.substr(start, end - start));
    start = end + 1;
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    const std::wstring key = line.substr(0, equals);
    const size_t slash = key.rfind(L'/');
    const std::wstring path = slash == std::wstring::npos ? progressPath : key.substr(0, slash);
    const std::wstring attribute = slash == std::wstring::npos ? key : key.substr(slash + 1);
    player.SetVar(path, attribute, line.substr(equals + 1));
  }
}

}  // namespace

void ModeFuzz::Init(const std::wstring& type) {
  g_type = type;
  QmTest::SetRunFolder(FuzzFolder());
  g_folders = new QmTest::TempFolders();
  const std::string program = g_folders->Program();
  QmTest::CopyGeneratedData(program);
  QmTest::CopyGeneratedLevels(program);
  g_levelFolder = program + "/levels/fuzz/";
  fs::create_directories(g_levelFolder);

  g_game = new QmTest::HeadlessVoyage(program);
  if (!g_game->Start(true) || !g_game->SkipToMenu()) std::abort();
  g_game->SetCurrentProfile(L"Fuzz");
  g_game->GetScript().GetMainMenu()->SetVisible(false);
  g_driver = new QmTest::ModeDriver();
  g_game->SetStateMachine(g_driver);
  std::atexit(StopGame);
}

void ModeFuzz::Run(const uint8_t* data, size_t size) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 3) {
      parts.emplace_back();
    } else {
      parts.back() += char(data[i]);
    }
  }
  parts.resize(3);
  if (parts[1].empty()) parts[1] = "<game><assets><LEVOBJECTS /></assets></game>";
  WriteFile(g_levelFolder + "level.xml", parts[0]);
  WriteFile(g_levelFolder + "asset.xml", parts[1]);

  LevelInfo info;
  info.folder = L"levels/fuzz/";
  info.name = L"fuzz";
  info.type = g_type;
  info.musicAsset = L"LEVMUSIC_A";
  info.level = 0;
  info.day = 0;
  ZentaLevelMap::SetCurrentDay(0);
  GameMode::ResetRunFlags();
  SetProfile(parts[2], ZentaLevelMap::DayProgressPath(0) + L"/" + info.name);
  LLF::SeedRandom(1);

  if (g_driver->host.StartLevel(info, g_driver)) {
    Frames(60);
    g_driver->host.SaveRunningLevel();
    g_driver->Release();
    // What the level saved of itself loads back.
    if (!g_driver->host.StartLevel(info, g_driver)) std::abort();
    Frames(20);
    g_driver->host.Win();
    Frames(100);
  }
  g_driver->Release();
  // The codes the level ended with are not kept from one input to the next.
  g_driver->codes.clear();
  HLF::Console::GetInstance().ClearLines();
  CloseLog();
}
