#pragma once
// The framework's application object: what a program derives from to
// become a framework program. The run function takes it through start-up
// (start-up hook, single-instance lock, log header, data folders), Init
// (registration of every codec, render system and sound driver, the window,
// the choice of sound driver and render system), the main loop with its
// frames-per-second measure, and Shutdown. A program comes in through the
// hooks, called at fixed points; the window reaches it as its host and as a
// receiver of its messages.
//
// Exactly one application object exists at a time: the constructor makes it
// the instance GetInstance returns, the destructor forgets it. Everything
// here runs on the main thread.
#include <string>

#include "app/AppSettings.h"
#include "app/IWindowHost.h"
#include "core/MessageReceiver.h"
#include "core/Timer.h"
#include "render/RenderSettings.h"
#include "sound/SoundSettings.h"

namespace LLF {

class Application : public MessageReceiver, public IWindowHost {
 public:
  Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  LLF_KIND_OF(Application, MessageReceiver)
  ~Application() override;
  // "Application: " name " Vendor: " vendor
  std::wstring Dump() const override;

  virtual std::wstring GetName() const;         // "LLF Application"
  virtual std::wstring GetVersion() const;      // "1.0"
  virtual std::wstring GetDescription() const;  // "VarOzivaDididivov Application"
  virtual std::wstring GetVendor() const;       // "LLF"
  virtual bool IsSingleInstance() const;        // true
  // False once Init found the configured size covering the whole desktop:
  // the render system then starts full screen.
  virtual bool IsWindowedPossible() const;
  // The per-user data folder, then the vendor (when not empty) and the
  // name, each followed by a separator.
  virtual std::wstring GetUserDataFolder() const;
  // The same folder as the user's.
  virtual std::wstring GetGlobalDataFolder() const;
  // The temporary folder, then vendor and name as above.
  virtual std::wstring GetTempFolder() const;
  virtual float GetFPS() const;
  virtual AppSettings GetSettings() const;
  virtual RenderSettings GetRenderSettings() const;
  virtual SoundSettings GetSoundSettings() const;

  // Hooks. The first call of all, before the lock and the log: false ends
  // the program at once, leaving no trace.
  virtual bool OnStartup(const std::wstring& commandLine);
  // Right after Init's registrations: a program's own banner.
  virtual void LogLibraryInfo(const std::wstring& commandLine);
  // The last step of Init, window or not; its result is Init's.
  virtual bool PostInit(const std::wstring& commandLine);
  // Once per main-loop pass, after the sound driver's update.
  virtual void OnUpdate();
  // The first step of Shutdown, while window, render system and sound
  // driver still exist.
  virtual void OnShutdown();

  // The window's questions (IWindowHost). A close request ends the main
  // loop when this answers true.
  bool CanClose() override;
  // Hands the new client size to the current render system.
  void OnResize(AppSettings* windowSettings) override;
  void OnActivate() override;
  // Sets the window's inactive flag, so its pump waits for input.
  void OnDeactivate(bool* windowInactive) override;
  virtual void Pause();
  virtual void Resume();
  // Gives false and 0.
  virtual void QueryFlagAndValue(bool* flag, unsigned* value);

  // The registered render systems of the preferred kind first (hardware
  // unless the settings say otherwise), then the others; the first whose
  // Init succeeds becomes current. Full screen when windowed is not
  // possible.
  virtual bool ChooseRender();
  virtual void ReleaseRender();
  // The same rule over the sound drivers (real ones first by default).
  virtual bool ChooseSoundDriver();
  // Frees every sound and piece of music, then the current driver.
  virtual void ReleaseSoundDriver();
  virtual bool Init(const std::wstring& commandLine);
  // The main loop: no sleep, no fixed step; ends when the window's pump
  // says so.
  virtual void Run();
  virtual void Shutdown();

  bool IsActive() const { return _active; }
  bool IsPaused() const { return _paused; }

  // The run function with a zero-terminated command line (null: empty).
  static void Start(const wchar_t* commandLine, Application* application);
  // Start-up hook, single-instance lock, log header, folders, Init, Run
  // when Init succeeded, Shutdown always, release of the lock. A second
  // copy of a single-instance program asks the first to come forward and
  // returns without writing anything.
  static void RunMain(const std::wstring& commandLine, Application* application);
  static Application* GetInstance();
  // Whether the desktop's component system was started (never here); the
  // program's entry reads it before it ends.
  static void SetCOMInitialized(bool initialized);
  static bool IsCOMInitialized();

  // The desktop-size rule of Init: when the settings' width and height both
  // reach the desktop's, the size falls back to 800 x 600 and the result is
  // false (full screen); otherwise the settings stay and the result is true.
  static bool FitToDesktop(AppSettings& settings, unsigned desktopWidth, unsigned desktopHeight);
  // What a program's entry hands on: the command line without its leading
  // program path. Everything up to the first double quote after the first
  // character goes, then one more character (the blank after the quoted
  // path).
  static std::wstring StripProgramPath(const std::wstring& commandLine);

 protected:
  // One frame of the measure: counts it and, once more than 1000 ms have
  // passed, recomputes the frames per second and starts counting afresh.
  void CountFrame();
  // The clock the frame timer reads (tests drive it by hand).
  void SetFrameClock(Timer::Clock clock);

  float _fps = 0.0f;
  unsigned _frames = 0;
  Timer _frameTimer;
  bool _active = false;
  bool _paused = false;
  bool _windowedPossible = true;

 private:
  void WriteLogHeader() const;
  // The folder rule of the user and temporary folders.
  std::wstring AppFolder(const std::wstring& base) const;

  bool _windowAttached = false;  // host and receiver of the window
};

}  // namespace LLF
