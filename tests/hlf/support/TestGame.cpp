#include "TestGame.h"

#include "FrameDriver.h"
#include "FrameworkFactories.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"

namespace QmTest {

TestGame::TestGame(const TempFolders& folders) : _programFolder(LLF::FromOsPath(folders.Program() + "/")) {
  _appSettings.createWindow = false;
  SetGameClock(&ManualClock::Now);
}

TestGame::~TestGame() {
  Stop();
  FrameworkFactories::ClearAll();
  LLF::Log::SetEcho(nullptr);
  HLF::Console& console = HLF::Console::GetInstance();
  console.ClearLines();
  console.SetInputLogging(false);
  console.Hide();
  console.SetInputLine(std::wstring());
  console.ClearHistory();
}

void TestGame::SetDesktop(unsigned width, unsigned height) {
  _desktopWidth = width;
  _desktopHeight = height;
}

bool TestGame::PostInit(const std::wstring& commandLine) {
  if (_desktopWidth != 0) {
    LLF::AppSettings settings = GetSettings();
    _windowedPossible = FitToDesktop(settings, _desktopWidth, _desktopHeight);
  }
  return HLF::Game::PostInit(commandLine);
}

bool TestGame::Start() {
  HLF::Console::GetInstance().ClearLines();
  if (!OnStartup(std::wstring())) {
    return false;
  }
  LLF::OS_CreateDirectories(GetUserDataFolder());
  _started = true;
  if (!Init(std::wstring())) {
    return false;
  }
  OnActivate();
  return true;
}

void TestGame::Frame(unsigned ms) {
  ManualClock::Advance(ms);
  OnUpdate();
}

void TestGame::Stop() {
  if (_started) {
    _started = false;
    Shutdown();
  }
}

std::string TestGame::UserFolder() const {
  return LLF::ToOsPath(GetUserDataFolder());
}

}  // namespace QmTest
