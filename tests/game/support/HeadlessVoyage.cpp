#include "HeadlessVoyage.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "FrameDriver.h"
#include "FrameworkFactories.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "dialogs/Dialog.h"
#include "flow/TheZentaScript.h"
#include "flow/ZentaMainMenu.h"
#include "widgets/Button.h"

namespace QmTest {

namespace fs = std::filesystem;

HeadlessVoyage::HeadlessVoyage(const std::string& programFolder)
    : _programFolder(LLF::FromOsPath(programFolder.back() == '/' ? programFolder : programFolder + "/")),
      _previousDir(fs::current_path().string()) {
  _appSettings.createWindow = false;
  SetGameClock(&ManualClock::Now);
}

HeadlessVoyage::~HeadlessVoyage() {
  Stop();
  FrameworkFactories::ClearAll();
  LLF::Log::SetEcho(nullptr);
  HLF::Console::GetInstance().ClearLines();
  std::error_code ec;
  fs::current_path(_previousDir, ec);
}

bool HeadlessVoyage::Start(bool withSound) {
  HLF::Console::GetInstance().ClearLines();
  if (!OnStartup(std::wstring())) {
    return false;
  }
  LLF::OS_CreateDirectories(GetUserDataFolder());
  _started = true;
  _soundWanted = withSound;
  if (!Init(std::wstring())) {
    return false;
  }
  OnActivate();
  return true;
}

bool HeadlessVoyage::PostInit(const std::wstring& commandLine) {
  // The window's start chooses the driver just before this call, so the
  // script's loader never meets a sound system without one.
  if (_soundWanted) {
    _withSound = true;
    if (!ChooseSoundDriver()) {
      return false;
    }
  }
  return TheZentaVoyage::PostInit(commandLine);
}

bool HeadlessVoyage::SkipToMenu() {
  TheZentaScript& script = GetScript();
  LLF::Message key(&LLF::AppWindow::GetInstance(), LLF::WMSG_KEY_UP, LLF::KEY_SPACE, 0, 0, L"Space");
  return FramesUntil([&] {
    script.OnMessage(&key);
    ZentaMainMenu* menu = script.GetMainMenu();
    return script.GetState() == TheZentaScript::CS_STATE_SPLASHDONE && menu &&
           menu->GetState() == HLF::MainMenu::MM_STATE_MENU;
  });
}

bool HeadlessVoyage::PlayToMap(const std::wstring& player) {
  SetCurrentProfile(player);
  TheZentaScript& script = GetScript();
  ZentaMainMenu* menu = script.GetMainMenu();
  auto* play = dynamic_cast<HLF::Button*>(menu ? menu->GetPlayButton() : nullptr);
  if (!play) {
    return false;
  }
  play->OnClick(LLF::Message());
  if (HLF::Dialog* easy = menu->GetEasyModeDialog()) {
    easy->OnOk();
  }
  return FramesUntil([&] { return script.GetState() == TheZentaScript::CS_STATE_MENU_SHOWMAP; });
}

void HeadlessVoyage::Frame(unsigned ms) {
  ManualClock::Advance(ms);
  OnUpdate();
}

bool HeadlessVoyage::FramesUntil(const std::function<bool()>& done, unsigned ms) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) {
      return false;
    }
    Frame(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void HeadlessVoyage::Stop() {
  if (!_started) {
    return;
  }
  _started = false;
  Shutdown();
  if (_withSound) {
    _withSound = false;
    ReleaseSoundDriver();
  }
}

int HeadlessVoyage::LogCount(const std::wstring& text) {
  int count = 0;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    count += line.find(text) != std::wstring::npos ? 1 : 0;
  }
  return count;
}

std::string GeneratedDataFolder() {
  return LLF::ToOsPath(LLF::ExtractFolder(LLF::OS_GetExePath()));
}

void CopyGeneratedData(const std::string& folder) {
  const std::string from = GeneratedDataFolder();
  for (const char* part : {"scripts", "images", "fonts", "sounds", "music"}) {
    fs::copy(from + part, folder + "/" + part,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
}

void CopyGeneratedLevels(const std::string& folder) {
  fs::copy(GeneratedDataFolder() + "levels", folder + "/levels",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

}  // namespace QmTest
