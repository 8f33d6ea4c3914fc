#include "app/Application.h"

#include "app/AppWindow.h"
#include "app/DriverChoice.h"
#include "app/InstanceLock.h"
#include "app/MonitorFormat.h"
#include "core/CPU.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "font/FontCodecTTF.h"
#include "font/FontCodecXML.h"
#include "font/FontsManager.h"
#include "image/CodecBmp.h"
#include "image/CodecGif.h"
#include "image/CodecJpg.h"
#include "image/CodecMng.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"
#include "render/RenderSystemHardware.h"
#include "render/RenderSystemSoftware.h"
#include "render/RendersManager.h"
#include "sound/SoundCodecAudiere.h"
#include "sound/SoundCodecBASS.h"
#include "sound/SoundCodecSilent.h"
#include "sound/SoundCodecSquall.h"
#include "sound/SoundDriverAudiere.h"
#include "sound/SoundDriverBASS.h"
#include "sound/SoundDriverSilent.h"
#include "sound/SoundDriverSquall.h"
#include "sound/SoundSystem.h"

namespace LLF {

namespace {

Application* g_instance = nullptr;
bool g_comInitialized = false;

}  // namespace

Application::Application() {
  g_instance = this;
}

Application::~Application() {
  // Init attached it to the window and Shutdown did not run: the window
  // must not keep calling a dead host.
  if (_windowAttached) {
    AppWindow& window = AppWindow::GetInstance();
    window.RemoveReceiver(this);
    window.SetHost(nullptr);
  }
  if (g_instance == this) {
    g_instance = nullptr;
  }
}

std::wstring Application::Dump() const {
  return L"Application: " + GetName() + L" Vendor: " + GetVendor();
}

std::wstring Application::GetName() const {
  return L"LLF Application";
}

std::wstring Application::GetVersion() const {
  return L"1.0";
}

std::wstring Application::GetDescription() const {
  return L"VarOzivaDididivov Application";
}

std::wstring Application::GetVendor() const {
  return L"LLF";
}

bool Application::IsSingleInstance() const {
  return true;
}

bool Application::IsWindowedPossible() const {
  return _windowedPossible;
}

std::wstring Application::AppFolder(const std::wstring& base) const {
  if (base.empty()) {
    return std::wstring();
  }
  const std::wstring vendor = GetVendor();
  return base + (vendor.empty() ? std::wstring() : vendor + L"/") + GetName() + L"/";
}

std::wstring Application::GetUserDataFolder() const {
  return AppFolder(OS_GetAppDataDir(true));
}

std::wstring Application::GetGlobalDataFolder() const {
  return GetUserDataFolder();
}

std::wstring Application::GetTempFolder() const {
  try {
    return AppFolder(OS_GetTempDir());
  } catch (const Exception&) {
    return std::wstring();  // the exception has logged itself
  }
}

float Application::GetFPS() const {
  return _fps;
}

AppSettings Application::GetSettings() const {
  return AppSettings();
}

RenderSettings Application::GetRenderSettings() const {
  return RenderSettings();
}

SoundSettings Application::GetSoundSettings() const {
  return SoundSettings();
}

bool Application::OnStartup(const std::wstring& /*commandLine*/) {
  return true;
}

void Application::LogLibraryInfo(const std::wstring& /*commandLine*/) {}

bool Application::PostInit(const std::wstring& /*commandLine*/) {
  return true;
}

void Application::OnUpdate() {}

void Application::OnShutdown() {}

bool Application::CanClose() {
  return true;
}

void Application::OnResize(AppSettings* windowSettings) {
  IRenderSystem* render = RendersManager::GetInstance().GetCurrentRender();
  if (render && windowSettings) {
    render->Resize(windowSettings->width, windowSettings->height);
  }
}

void Application::OnActivate() {
  _active = true;
}

void Application::OnDeactivate(bool* windowInactive) {
  if (windowInactive) {
    *windowInactive = true;
  }
  _active = false;
}

void Application::Pause() {
  _paused = true;
}

void Application::Resume() {
  _paused = false;
}

void Application::QueryFlagAndValue(bool* flag, unsigned* value) {
  if (flag) {
    *flag = false;
  }
  if (value) {
    *value = 0;
  }
}

bool Application::ChooseRender() {
  RenderSettings settings = GetRenderSettings();
  if (!_windowedPossible) {
    settings.windowed = false;
  }
  RendersManager& renders = RendersManager::GetInstance();
  return ChooseRegistered(renders, &RendersManager::GetRendersCount, &RendersManager::GetRender,
                          &RendersManager::SetCurrentRender, &IRenderSystem::IsHardware, settings,
                          settings.preferHardware,
                          L"Warning: Preferred render is not found. Looking for other available renders.",
                          L"Error: Can't find appropriate render, or it can't be initialized.");
}

void Application::ReleaseRender() {
  RendersManager::GetInstance().ReleaseCurrentRender();
}

bool Application::ChooseSoundDriver() {
  return LLF::ChooseSoundDriver(GetSoundSettings());
}

void Application::ReleaseSoundDriver() {
  SoundSystem& sound = SoundSystem::GetInstance();
  sound.CleanupEverything(false);
  sound.ReleaseCurrentDriver();
}

bool Application::FitToDesktop(AppSettings& settings, unsigned desktopWidth, unsigned desktopHeight) {
  if (settings.width >= desktopWidth && settings.height >= desktopHeight) {
    settings.width = 800;
    settings.height = 600;
    return false;
  }
  return true;
}

bool Application::Init(const std::wstring& commandLine) {
  // The order of registration is the order the choices try them in.
  ImagesManager& images = ImagesManager::GetInstance();
  images.RegisterCodec(&CodecBmp::GetInstance());
  images.RegisterCodec(&CodecJpg::GetInstance());
  images.RegisterCodec(&CodecPng::GetInstance());
  images.RegisterCodec(&CodecGif::GetInstance());
  images.RegisterCodec(&CodecMng::GetInstance());
  FontsManager& fonts = FontsManager::GetInstance();
  fonts.RegisterCodec(&FontCodecTTF::GetInstance());
  fonts.RegisterCodec(&FontCodecXML::GetInstance());
  SoundSystem& sound = SoundSystem::GetInstance();
  sound.RegisterCodec(&SoundCodecAudiere::GetInstance());
  sound.RegisterCodec(&SoundCodecBASS::GetInstance());
  sound.RegisterCodec(&SoundCodecSquall::GetInstance());
  sound.RegisterCodec(&SoundCodecSilent::GetInstance());
  RendersManager& renders = RendersManager::GetInstance();
  renders.RegisterRender(&RenderSystemSoftware::GetInstance());
  renders.RegisterRender(&RenderSystemHardware::GetInstance());
  sound.RegisterDriver(&SoundDriverAudiere::GetInstance());
  sound.RegisterDriver(&SoundDriverBASS::GetInstance());
  sound.RegisterDriver(&SoundDriverSquall::GetInstance());
  sound.RegisterDriver(&SoundDriverSilent::GetInstance());

  LogLibraryInfo(commandLine);

  _windowedPossible = true;
  AppSettings settings = GetSettings();
  int desktopWidth = 0;
  int desktopHeight = 0;
  // A desktop that cannot be asked says nothing about the window's size.
  if (OS_GetDesktopResolution(desktopWidth, desktopHeight)) {
    _windowedPossible =
        FitToDesktop(settings, static_cast<unsigned>(desktopWidth), static_cast<unsigned>(desktopHeight));
  }
  if (settings.createWindow) {
    AppWindow& window = AppWindow::GetInstance();
    // The window activates itself while it is created and reports that to
    // its host.
    window.SetHost(this);
    _windowAttached = true;
    if (!window.Create(settings)) {
      return false;
    }
    window.AddReceiver(this);
    if (!ChooseSoundDriver() || !ChooseRender()) {
      return false;
    }
    Log& log = Log::GetInstance();
    log.Write(std::wstring(L"Monitor format: ") + MonitorFormatName(OS_GetMonitorFormat()));
    OS_GetDesktopResolution(desktopWidth, desktopHeight);
    log.WriteFormat(L"Desktop resolution: %dx%d", desktopWidth, desktopHeight);
  }
  return PostInit(commandLine);
}

void Application::CountFrame() {
  ++_frames;
  if (_frameTimer.GetElapsed() > 1000) {
    _fps = static_cast<float>(static_cast<double>(_frames) * 1000.0 /
                              static_cast<double>(_frameTimer.GetElapsed()));
    _frameTimer.Start(false);
    _frames = 0;
  }
}

void Application::SetFrameClock(Timer::Clock clock) {
  _frameTimer = Timer(clock);
}

void Application::Run() {
  Log& log = Log::GetInstance();
  log.WriteSeparator();
  log.Write(L"Main application loop started...");
  _frameTimer.Start(false);
  _frames = 0;
  AppWindow& window = AppWindow::GetInstance();
  SoundSystem& sound = SoundSystem::GetInstance();
  for (;;) {
    if (ISoundDriver* driver = sound.GetCurrentDriver()) {
      driver->Update();
    }
    OnUpdate();
    CountFrame();
    if (!window.ProcessMessages()) {
      break;
    }
  }
  _frameTimer.Stop();
  log.Write(L"... main application loop finished.");
  log.WriteSeparator();
}

void Application::Shutdown() {
  OnShutdown();
  ImagesManager::GetInstance().CleanupEverything(false);
  FontsManager::GetInstance().CleanupEverything(false);
  if (GetSettings().createWindow) {
    if (IRenderSystem* render = RendersManager::GetInstance().GetCurrentRender()) {
      render->SwitchMode(true, 1);
    }
    ReleaseRender();
    ReleaseSoundDriver();
    AppWindow& window = AppWindow::GetInstance();
    window.RemoveReceiver(this);
    window.Destroy();
    window.SetHost(nullptr);
    _windowAttached = false;
  }
}

void Application::WriteLogHeader() const {
  Log& log = Log::GetInstance();
  log.WriteSeparator();
  log.WriteFormat(L"LLF library. v%02.1f build %s date %s", 1.0, L"1.628", L"Fri Dec 14 18:46:03 2007");
  log.WriteFormat(L"%s v%s", GetName(), GetVersion());
  log.Write(GetDescription());
  log.WriteSeparator();
  log.Write(CPU::GetInstance().Dump());
  log.Write(L"OS: " + OS_GetVersionName());
  log.Write(L"Computer name: " + OS_GetComputerName());
  unsigned totalMB = 0;
  unsigned freeMB = 0;
  OS_GetMemoryStatus(totalMB, freeMB);
  log.WriteFormat(L"Memory state: Size: %u MB Free: %u MB", totalMB, freeMB);
  log.Write(L"Video card: " + OS_GetVideoCardName());
  log.Write(L"Folder: user application data: " + GetUserDataFolder());
  log.Write(L"Folder: global application data: " + GetGlobalDataFolder());
  log.Write(L"Folder: temporary: " + GetTempFolder());
  log.WriteSeparator();
}

void Application::Start(const wchar_t* commandLine, Application* application) {
  RunMain(commandLine ? std::wstring(commandLine) : std::wstring(), application);
}

void Application::RunMain(const std::wstring& commandLine, Application* application) {
  if (!application || !application->OnStartup(commandLine)) {
    return;
  }
  InstanceLock lock;
  bool lockFailed = false;
  if (application->IsSingleInstance()) {
    const std::wstring name = application->GetName();
    switch (
        lock.Acquire(L"LLFAppLock_" + name, AppWindow::ClassName(name), [] { AppWindow::RequestRaise(); })) {
      case InstanceLock::Result::HELD:
        AppWindow::ActivateExistingInstance(name);
        return;
      case InstanceLock::Result::FAILED:
        lockFailed = true;
        break;
      case InstanceLock::Result::OBTAINED:
        break;
    }
  }

  Log& log = Log::GetInstance();
  log.SetFolder(application->GetUserDataFolder());
  application->WriteLogHeader();
  if (lockFailed) {
    // No place for a lock file is no reason to refuse to run.
    log.Write(L"Warning: Can't take the single-instance lock LLFAppLock_" + application->GetName() +
              L". Running without it.");
  }
  OS_CreateDirectories(application->GetUserDataFolder());
  OS_CreateDirectories(application->GetGlobalDataFolder());
  OS_CreateDirectories(application->GetTempFolder());

  if (application->Init(commandLine)) {
    application->Run();
  }
  application->Shutdown();
  lock.Release();
}

Application* Application::GetInstance() {
  return g_instance;
}

void Application::SetCOMInitialized(bool initialized) {
  g_comInitialized = initialized;
}

bool Application::IsCOMInitialized() {
  return g_comInitialized;
}

std::wstring Application::StripProgramPath(const std::wstring& commandLine) {
  std::wstring rest = commandLine;
  if (rest.size() > 1) {
    const size_t quote = rest.find(L'"', 1);
    if (quote != std::wstring::npos) {
      rest.erase(0, quote + 1);
    }
  }
  if (!rest.empty()) {
    rest.erase(0, 1);
  }
  return rest;
}

}  // namespace LLF
