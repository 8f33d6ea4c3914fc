// The user's profiles ("profiles.xml") and configuration ("game.xml")
// through the game shell's loader, then every profile through a player
// handle: each variable read, one written, the files saved.
//
// The input is split at the first NUL byte: the profiles, then the
// configuration (an empty part: no such file). Findings besides crashes:
// - a file that does not parse is lost (its bytes are neither in place nor
//   in a backup);
// - what the game saved does not load back from its file at the next start,
//   or that start makes a backup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "TempFolders.h"
#include "TestEnv.h"
#include "TestGame.h"
#include "shell/Player.h"
#include "xml/XmlElement.h"

namespace {

namespace fs = std::filesystem;

QmTest::TempFolders* g_folders;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) std::abort();
}

// Reads every variable below the element through the handle, depth first;
// bounded, so a file of many elements stays quick.
void ReadAll(HLF::Player& player, const std::wstring& path, int depth, int& budget) {
  if (depth > 16 || --budget < 0) return;
  for (const std::wstring& attribute : player.GetPathAttributes(path)) {
    std::wstring value;
    player.GetVar(path, attribute, value);
  }
  for (const std::wstring& child : player.GetPathChilds(path)) {
    ReadAll(player, path.empty() ? child : path + L"/" + child, depth + 1, budget);
  }
}

// Whether some file of the folder holds exactly these bytes.
bool Kept(const fs::path& folder, const std::string& bytes) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && ReadFile(entry.path()) == bytes) return true;
  }
  return false;
}

size_t CountFiles(const fs::path& folder) {
  return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  QmTest::SetRunFolder(FuzzFolder());
  g_folders = new QmTest::TempFolders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string profiles = input.substr(0, split);
  const std::string config = split == std::string::npos ? std::string() : input.substr(split + 1);

  bool origins[2] = {false, false};  // whether each file did not parse
  {
    QmTest::TestGame game(*g_folders);
    const fs::path folder = game.UserFolder();
    fs::remove_all(folder);
    fs::create_directories(folder);
    WriteFile(folder / "profiles.xml", profiles);
    if (!config.empty()) WriteFile(folder / "game.xml", config);
    if (!game.Start()) std::abort();
    origins[0] = game.GetDocOrigin(game.GetProfilesDoc()) == HLF::DocOrigin::DEFAULTS;
    origins[1] = game.GetDocOrigin(game.GetConfigDoc()) == HLF::DocOrigin::DEFAULTS;
    std::vector<std::wstring> names = game.GetProfileNames();
    if (names.size() > 8) names.resize(8);
    for (const std::wstring& name : names) {
      HLF::Player player(name);
      if (!player.GetProfile()) continue;
      int budget = 256;
      ReadAll(player, std::wstring(), 0, budget);
      player.SetVar(L"fuzz/run", L"count", L"1");
      player.Save();
    }
    game.SetCurrentProfile(names.empty() ? L"Fuzz" : names.front());
    game.Stop();
    if (origins[0] && !Kept(folder, profiles)) std::abort();
    if (origins[1] && !Kept(folder, config)) std::abort();

    // The next start reads what was saved, from its files, making no backup.
    const size_t files = CountFiles(folder);
    QmTest::TestGame again(*g_folders);
    if (!again.Start()) std::abort();
    if (!origins[0] && again.GetDocOrigin(again.GetProfilesDoc()) != HLF::DocOrigin::FILE) std::abort();
    if (!origins[1] && again.GetDocOrigin(again.GetConfigDoc()) != HLF::DocOrigin::FILE) std::abort();
    if (CountFiles(folder) != files) std::abort();
    again.Stop();
  }
  CloseLog();
  return 0;
}
