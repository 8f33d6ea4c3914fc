// A small program built on the application object, which the application
// tests start as a real process. Its command line says what it does:
//   -name N        the application's name (lock, window class, folder)
//   -frames N      asks the window to close after N main-loop passes
//   -wait-raise    loses the focus after the first pass and, once brought
//                  forward by another copy, asks the window to close
//   -no-window     runs with the create-window flag off
//   -refuse        the start-up hook refuses
// It reports through the log what the tests look for.
#include <SDL.h>

#include <sstream>
#include <string>

#include "AppWindow.h"
#include "Application.h"
#include "GraphicsPin.h"
#include "Log.h"
#include "OSUtils.h"

namespace {

void PushWindowEvent(SDL_WindowEventID id) {
  SDL_Window* window = LLF::AppWindow::GetInstance().GetHandle();
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
      } else if (word == L"-wait-raise") {
        _waitRaise = true;
      } else if (word == L"-no-window") {
        _createWindow = false;
      } else if (word == L"-refuse") {
        _refuse = true;
      }
    }
    return !_refuse;
  }

  void LogLibraryInfo(const std::wstring& commandLine) override {
    LLF::Log::GetInstance().Write(L"Test application. Command line: [" + commandLine + L"]");
  }

  void OnUpdate() override {
    ++_passes;
    if (_waitRaise && _passes == 1) {
      PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    }
    if (_closeAfter != 0 && _passes == _closeAfter) {
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
  }

 private:
  std::wstring _name = L"LLF Test Application";
  unsigned _closeAfter = 0;
  unsigned _passes = 0;
  bool _waitRaise = false;
  bool _deactivated = false;
  bool _createWindow = true;
  bool _refuse = false;
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
