// The game's start and level loads on its own data folder (the one the
// build writes beside this program): the time from start to a working main
// menu (window, OpenGL render system, sound, configuration, the splash cut
// short by a key, as a player would), each demo level's load time (the
// play mode made and its level loaded, as the map's click starts it), and
// the resident memory with the menu on screen. Figures are printed, never
// checked.
//
// Run from anywhere; headless with SDL_VIDEODRIVER=offscreen. The user and
// temporary folders are private ones made for the run (XDG_DATA_HOME,
// TMPDIR), so no real profile is touched.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "flow/TheZentaVoyage.h"
#include "flow/ZentaMainMenu.h"
#include "map/ZentaLevelMap.h"
#include "modes/GameModeHost.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// VmRSS of /proc/self/status, in kB.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) {
      return std::strtol(line.c_str() + 6, nullptr, 10);
    }
  }
  return -1;
}

class BenchVoyage : public TheZentaVoyage {
 public:
  bool Start() {
    if (!OnStartup(std::wstring())) {
      return false;
    }
    LLF::OS_CreateDirectories(GetUserDataFolder());
    started = true;
    return Init(std::wstring());
  }
  void Stop() {
    if (started) {
      started = false;
      Shutdown();
    }
  }
  bool started = false;
};

class Receiver : public LLF::MessageReceiver {
 public:
  bool OnMessage(LLF::Message*) override { return true; }
};

}  // namespace

int main() {
  char folder[] = "/tmp/qm_startup_bench_XXXXXX";
  if (!mkdtemp(folder)) {
    std::perror("mkdtemp");
    return 1;
  }
  setenv("XDG_DATA_HOME", folder, 1);
  setenv("TMPDIR", folder, 1);
  int status = 0;
  {
    BenchVoyage game;
    const Clock::time_point start = Clock::now();
    if (!game.Start()) {
      std::fprintf(stderr, "the game did not start\n");
      game.Stop();
      return 1;
    }
    const double initMs = MsSince(start);
    TheZentaScript& script = game.GetScript();
    LLF::AppWindow& window = LLF::AppWindow::GetInstance();
    bool atMenu = false;
    while (!atMenu && MsSince(start) < 120000.0) {
      LLF::Message key(&window, LLF::WMSG_KEY_UP, LLF::KEY_SPACE, 0, 0, std::wstring());
      window.Send(&key);
      game.OnUpdate();
      ZentaMainMenu* menu = script.GetMainMenu();
      atMenu = script.GetState() == TheZentaScript::CS_STATE_SPLASHDONE && menu &&
               menu->GetState() == HLF::MainMenu::MM_STATE_MENU;
    }
    const double menuMs = MsSince(start);
    if (!atMenu) {
      std::fprintf(stderr, "the menu did not come within two minutes\n");
      status = 1;
    } else {
      for (int i = 0; i < 30; ++i) {
        game.OnUpdate();
      }
      std::printf("start to Init done:      %8.1f ms\n", initMs);
      std::printf("start to main menu:      %8.1f ms\n", menuMs);
      std::printf("resident memory, menu:   %8ld kB\n", ResidentKb());

      game.SetCurrentProfile(L"Bench");
      Receiver receiver;
      for (int day = 0; day < ZentaLevelMap::GetDaysCount(); ++day) {
        for (int level = 0; level < ZentaLevelMap::GetLevelsCount(day); ++level) {
          const LevelInfo info = ZentaLevelMap::GetLevelInfo(day, level);
          GameModeHost host;
          const Clock::time_point load = Clock::now();
          const bool loaded = host.StartLevel(info, &receiver);
          const double loadMs = MsSince(load);
          std::printf("level %-14s %-7s %8.1f ms%s\n", LLF::WideToAnsi(info.name).c_str(),
                      LLF::WideToAnsi(info.type).c_str(), loadMs, loaded ? "" : "  (did not load)");
          status = loaded ? status : 1;
          host.Release();
          game.OnUpdate();
        }
      }
    }
    game.Stop();
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return status;
}
