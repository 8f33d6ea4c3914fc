// A small program built on the application object, which the application
// tests start as a real process. Its command line says what it does:
//   -name N        the application's name (lock, window class, folder)
//   -frames N      asks the window to close after N main-loop passes
//   -seconds N     asks the window to close after N seconds
//   -wait-raise    loses the focus after the first pass and, once brought
//                  forward by another copy, asks the window to close
//   -no-window     runs with the create-window flag off
//   -size WxH      the window's configured size
//   -prefer-software  the render choice tries software render systems first
//   -refuse        the start-up hook refuses
// Each pass clears the back buffer and presents it. It reports through the
// log what the tests look for.
#include <SDL.h>

#include <sstream>
#include <string>

#include "GraphicsPin.h"
#include "app/AppWindow.h"
#include "app/Application.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/Timer.h"
#include "render/RendersManager.h"

namespace {

void PushWindowEvent(SDL_WindowEventID id) {
  auto* window = static_cast<SDL_Window*>(LLF::AppWindow::GetInstance().GetHandle());
  if (!window) return;
  SDL_Event event;
  SDL_zero(event);
  event.type = SDL_WINDOWEVENT;
  event.window.event = static_cast<Uint8>(id);
  event.window.windowID = SDL_GetWindowID(window);
  SDL_PushEvent(&event);
}

class TestApp : public LLF::Application {
 public:
  std::wstring GetName() const override { return _name; }
  std::wstring GetVendor() const override { return L"QmTest"; }
  LLF::AppSettings GetSettings() const override {
    LLF::AppSettings settings;
    settings.title = L"LLF test application";
    settings.createWindow = _createWindow;
    settings.width = _width;
    settings.height = _height;
    return settings;
  }
  LLF::RenderSettings GetRenderSettings() const override {
    LLF::RenderSettings settings;
    settings.preferHardware = !_preferSoftware;
    return settings;
  }

  bool OnStartup(const std::wstring& commandLine) override {
    std::wistringstream words(commandLine);
    std::wstring word;
    while (words >> word) {
      if (word == L"-name") {
        words >> _name;
      } else if (word == L"-frames") {
        words >> _closeAfter;
      } else if (word == L"-seconds") {
        words >> _closeAfterMs;
        _closeAfterMs *= 1000;
      } else if (word == L"-wait-raise") {
        _waitRaise = true;
      } else if (word == L"-no-window") {
        _createWindow = false;
      } else if (word == L"-refuse") {
        _refuse = true;
      } else if (word == L"-size") {
        wchar_t by = 0;
        words >> _width >> by >> _height;
      } else if (word == L"-prefer-software") {
        _preferSoftware = true;
      }
    }
    return !_refuse;
  }

  void LogLibraryInfo(const std::wstring& commandLine) override {
    LLF::Log::GetInstance().Write(L"Test application. Command line: [" + commandLine + L"]");
  }

  bool PostInit(const std::wstring&) override {
    LLF::AppWindow& window = LLF::AppWindow::GetInstance();
    LLF::Log::GetInstance().WriteFormat(
        L"Test application: window %ux%u, full screen %s, windowed possible %s.", window.GetSettings()->width,
        window.GetSettings()->height, window.IsFullScreen() ? L"yes" : L"no",
        IsWindowedPossible() ? L"yes" : L"no");
    return true;
  }

  void OnUpdate() override {
    if (_passes == 0) {
      _startMs = LLF::GetTimeMs();
    }
    ++_passes;
    if (LLF::IRenderSystem* render = LLF::RendersManager::GetInstance().GetCurrentRender()) {
      render->BeginFrame();
      render->Clear(LLF::Color(0, 64, 128, 255), true, false);
      render->EndFrame();
    }
    if (_waitRaise && _passes == 1) {
      PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    }
    if ((_closeAfter != 0 && _passes == _closeAfter) ||
        (_closeAfterMs != 0 && !_closing && LLF::GetTimeMs() - _startMs >= _closeAfterMs)) {
      _closing = true;
      PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    }
  }

  void OnDeactivate(bool* windowInactive) override {
    Application::OnDeactivate(windowInactive);
    _deactivated = true;
    LLF::Log::GetInstance().Write(L"Test application: deactivated.");
  }

  void OnActivate() override {
    Application::OnActivate();
    if (_waitRaise && _deactivated) {
      LLF::Log::GetInstance().Write(L"Test application: brought forward.");
      PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    }
  }

  bool CanClose() override {
    LLF::Log::GetInstance().Write(L"Test application: close requested.");
    return true;
  }

  void OnShutdown() override {
    LLF::Log::GetInstance().WriteFormat(L"Test application: %u passes.", _passes);
    LLF::Log::GetInstance().WriteFormat(L"Test application: %.2f frames per second.", GetFPS());
  }

 private:
  std::wstring _name = L"LLF Test Application";
  unsigned _closeAfter = 0;
  unsigned _passes = 0;
  unsigned _closeAfterMs = 0;
  unsigned _startMs = 0;
  bool _closing = false;
  bool _waitRaise = false;
  bool _deactivated = false;
  bool _createWindow = true;
  bool _refuse = false;
  bool _preferSoftware = false;
  unsigned _width = 800;
  unsigned _height = 600;
};

}  // namespace

int main() {
  QmTest::PinGraphicsLibraries();
  LLF::Application::SetCOMInitialized(false);
  TestApp* application = new TestApp;
  LLF::Application::Start(LLF::Application::StripProgramPath(LLF::OS_GetCommandLine()).c_str(), application);
  delete application;
  return 0;
}
