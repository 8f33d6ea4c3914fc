#include "HeadlessShowcase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "FrameDriver.h"
#include "FrameworkFactories.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "demo/ShowcaseData.h"
#include "devtools/Console.h"

namespace QmTest {

namespace fs = std::filesystem;

HeadlessShowcase::HeadlessShowcase(const std::string& programFolder)
    : ShowcaseDemo(LLF::FromOsPath(programFolder.back() == '/' ? programFolder : programFolder + "/")),
      _previousDir(fs::current_path().string()) {
  _appSettings.createWindow = false;
  SetGameClock(&ManualClock::Now);
}

HeadlessShowcase::~HeadlessShowcase() {
  Stop();
  FrameworkFactories::ClearAll();
  LLF::Log::SetEcho(nullptr);
  HLF::Console::GetInstance().ClearLines();
  std::error_code ec;
  fs::current_path(_previousDir, ec);
}

bool HeadlessShowcase::Start(bool withSound) {
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

bool HeadlessShowcase::PostInit(const std::wstring& commandLine) {
  // The window's start chooses the driver just before this call, so the
  // showcase's loader never meets a sound system without one.
  if (_soundWanted) {
    _withSound = true;
    if (!ChooseSoundDriver()) {
      return false;
    }
  }
  return ShowcaseDemo::PostInit(commandLine);
}

void HeadlessShowcase::Frame(unsigned ms) {
  ManualClock::Advance(ms);
  OnUpdate();
}

bool HeadlessShowcase::FramesUntil(const std::function<bool()>& done, unsigned ms) {
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

HLF::Control* HeadlessShowcase::Screen() {
  Showcase* showcase = GetScript().GetShowcase();
  return showcase ? showcase->GetScreen() : nullptr;
}

bool HeadlessShowcase::UntilShown() {
  return FramesUntil([&] { return Screen() != nullptr; });
}

void HeadlessShowcase::Stop() {
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

int HeadlessShowcase::LogCount(const std::wstring& text) {
  int count = 0;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    count += line.find(text) != std::wstring::npos ? 1 : 0;
  }
  return count;
}

bool LayShowcaseData(const std::string& folder) {
  std::string error;
  if (!ShowcaseData::Lay(ShowcaseData::GeneratedFolder(), folder, &error)) {
    ADD_FAILURE() << error;
    return false;
  }
  return true;
}

}  // namespace QmTest
