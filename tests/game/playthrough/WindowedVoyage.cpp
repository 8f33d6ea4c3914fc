#include "WindowedVoyage.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "FrameDriver.h"
#include "FrameworkFactories.h"
#include "HeadlessVoyage.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "math/Point.h"
#include "model/Control.h"
#include "render/IRenderSystem.h"
#include "render/RendersManager.h"

namespace QmTest {

namespace fs = std::filesystem;

WindowedVoyage::WindowedVoyage(const std::string& programFolder)
    : _programFolder(LLF::FromOsPath(programFolder.back() == '/' ? programFolder : programFolder + "/")),
      _previousDir(fs::current_path().string()) {
  _appSettings.createWindow = true;
  SetGameClock(&ManualClock::Now);
}

WindowedVoyage::~WindowedVoyage() {
  Stop();
  FrameworkFactories::ClearAll();
  LLF::Log::SetEcho(nullptr);
  HLF::Console::GetInstance().ClearLines();
  std::error_code ec;
  fs::current_path(_previousDir, ec);
}

bool WindowedVoyage::Start() {
  HLF::Console::GetInstance().ClearLines();
  if (!OnStartup(std::wstring())) {
    return false;
  }
  LLF::OS_CreateDirectories(GetUserDataFolder());
  // Shutdown runs whether Init got far or not, as the run function does.
  _started = true;
  return Init(std::wstring());
}

void WindowedVoyage::Stop() {
  if (!_started) {
    return;
  }
  _started = false;
  Shutdown();
}

void WindowedVoyage::Frame(unsigned ms) {
  ManualClock::Advance(ms);
  OnUpdate();
}

void WindowedVoyage::Run(unsigned totalMs, unsigned stepMs) {
  for (unsigned t = 0; t < totalMs; t += stepMs) {
    Frame(stepMs);
  }
}

bool WindowedVoyage::FramesUntil(const std::function<bool()>& done, unsigned ms,
                                 std::chrono::seconds realLimit) {
  const auto limit = std::chrono::steady_clock::now() + realLimit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) {
      return false;
    }
    Frame(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void WindowedVoyage::MoveMouse(int x, int y) {
  LLF::AppWindow& window = LLF::AppWindow::GetInstance();
  LLF::Message move(&window, LLF::WMSG_MOUSE_MOVE, 0, x, y, std::wstring());
  window.Send(&move);
}

void WindowedVoyage::Key(int key) {
  LLF::AppWindow& window = LLF::AppWindow::GetInstance();
  LLF::Message up(&window, LLF::WMSG_KEY_UP, key, 0, 0, std::wstring());
  window.Send(&up);
}

void WindowedVoyage::Click(int x, int y) {
  MoveMouse(x, y);
  LLF::AppWindow& window = LLF::AppWindow::GetInstance();
  LLF::Message down(&window, LLF::WMSG_BUTTON_DOWN, 1, x, y, std::wstring());
  window.Send(&down);
  LLF::Message up(&window, LLF::WMSG_BUTTON_UP, 1, x, y, std::wstring());
  window.Send(&up);
}

bool WindowedVoyage::ClickControl(const HLF::Control* control) {
  if (!control) {
    return false;
  }
  const LLF::Vector2 at = control->GetAbsolutePosition();
  const LLF::Point size = control->GetSize();
  Click(static_cast<int>(at.x) + size.x / 2, static_cast<int>(at.y) + size.y / 2);
  return true;
}

std::unique_ptr<LLF::Image> WindowedVoyage::Grab() {
  LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender();
  return std::unique_ptr<LLF::Image>(rs ? rs->GetScreenshot() : nullptr);
}

std::unique_ptr<LLF::Image> WindowedVoyage::Shot(const std::string& name) {
  std::unique_ptr<LLF::Image> frame = Grab();
  if (frame) {
    std::error_code ec;
    fs::create_directories(ShotFolder(), ec);
    LLF::ImagesManager::GetInstance().SaveImage(frame.get(), LLF::FromOsPath(ShotFolder() + name + ".png"));
  }
  return frame;
}

std::string WindowedVoyage::ShotFolder() {
  return GeneratedDataFolder() + "playthrough_frames/";
}

}  // namespace QmTest
