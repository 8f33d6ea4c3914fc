#pragma once
// The game shell: the one application object of a game built on the
// framework. It owns the root of the control tree with its layers "GAME"
// and "EDITOR", the nine documents of configuration, profiles, strings and
// asset registries, its own asset loader and the running scene (the current
// state machine). The framework's run function drives it through the
// application's hooks; everything else reaches it through GetInstance.
//
// A frame (OnUpdate): the hover-hold call, the loaders' queued messages
// delivered, the update of the scene and the tree with the frame time (only
// while active and not paused), drawing (always, when a render system
// runs), then the safe point of the deferred deletions.
//
// Window input (OnMessage): the shell keeps what no single control can keep
// (the control under the cursor, the one being dragged, the dialog holding
// the focus), takes F8 (windowed or full screen) and Print Screen (a
// screenshot) on key release, and hands every message to the root control.
//
// Configuration files: a file is created with its defaults only when it is
// missing. A program-folder file that does not parse is left untouched and
// its defaults are used in memory; the user's "game.xml" and "profiles.xml"
// are moved aside to a dated backup first. Every document remembers where
// it came from (GetDocOrigin), so defaults standing in for an unreadable
// file are never saved over it. Writes go to a temporary file that replaces
// the old one only when complete; a failure is logged and the old file
// stays.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/Application.h"
#include "core/MessageSender.h"
#include "core/Timer.h"
#include "math/Color.h"
#include "math/Vector2.h"
#include "model/Control.h"
#include "model/GameServices.h"
#include "model/XmlDocEx.h"
#include "render/RenderSettings.h"
#include "shell/AssetsLoader.h"

namespace LLF {
class IRenderSystem;
class Image;
struct Point;
}  // namespace LLF

namespace HLF {

class StateMachine;

// Where a document's content came from.
enum class DocOrigin {
  NOT_LOADED,  // LoadConfigs has not run
  FILE,        // read from its own file
  TEMPLATE,    // the configuration only: read from the template "scripts/game.xml"
  CREATED,     // its file was missing (or was moved aside): the defaults, written where due
  DEFAULTS,    // its file is there but does not parse: the defaults, in memory only
};

class Game : public LLF::Application, public LLF::MessageSender, public GameServices {
 public:
  Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  LLF_KIND_OF(Game, LLF::Application)
  // Forgets the instance first, so controls destroyed with the game make no
  // call back into it.
  ~Game() override;

  // Window input: the mouse bookkeeping (hover, drag) for the window's
  // mouse messages, F8 and Print Screen on key release, every message to the
  // root control, the focus, then the deferred deletions. True.
  bool OnMessage(LLF::Message* msg) override;
  std::wstring GetName() const override;         // "HLF Game"
  std::wstring GetVersion() const override;      // "v1.000"
  std::wstring GetDescription() const override;  // "Game based on HLF library."
  std::wstring GetVendor() const override;       // "HLF"
  LLF::AppSettings GetSettings() const override;
  LLF::RenderSettings GetRenderSettings() const override;
  // RegisterFactories.
  bool OnStartup(const std::wstring& commandLine) override;
  // The HLF banner after the framework's.
  void LogLibraryInfo(const std::wstring& commandLine) override;
  // The developer editor installed (EditorServices), the window title from
  // the string "gamename" (else the name), the
  // cursor's images, the frame timer; then the configured video mode,
  // cursor and volumes.
  bool PostInit(const std::wstring& commandLine) override;
  // The per-frame step.
  void OnUpdate() override;
  // Deletes the scene, saves, deletes the layers and the control
  // prototypes, leaves the window and unloads the shell's assets.
  void OnShutdown() override;
  void OnActivate() override;
  // Drops the hovered and dragged controls and pauses the sound.
  void OnDeactivate(bool* windowInactive) override;
  // The game and then the console become receivers of the window; the
  // configuration is loaded; then the framework's Init.
  bool Init(const std::wstring& commandLine) override;

  virtual void GetClearSettings(bool& clear, LLF::Color& color) const;
  virtual Control& GetRootControl();
  virtual Control* GetGameLayer();
  virtual Control* GetEditorLayer();
  // The deepest visible control under the point, or null.
  virtual Control* GetControlAt(const LLF::Vector2& point);
  virtual Control* GetHoveredControl() const;
  // The volumes of "game.xml" (config/audio/music and config/audio/sound),
  // 0 to 100; a volume that is missing or no number reads as 100.
  virtual float GetMusicVolume();
  virtual float GetSoundVolume();
  // (-1, -1) until the first mouse message.
  virtual LLF::Vector2 GetMousePosition() const;
  virtual std::wstring GetCursorName() const;
  virtual XmlDocEx* GetImagesDoc();
  virtual XmlDocEx* GetSoundsDoc();
  virtual XmlDocEx* GetMusicsDoc();
  virtual XmlDocEx* GetSplashDoc();
  virtual XmlDocEx* GetFontsDoc();
  virtual XmlDocEx* GetConfigDoc();
  XmlDocEx* GetStylesDoc() override;
  virtual XmlDocEx* GetStringsDoc();
  // The value of the string variable of "scripts/strings.xml"; empty, with
  // an error line, when there is none.
  virtual std::wstring GetStringVar(const std::wstring& name);
  virtual XmlDocEx* GetProfilesDoc();
  // The first profile with the name (case-sensitive), or null.
  virtual LLF::XmlElement* FindProfile(const std::wstring& name);
  virtual LLF::XmlElement* GetCurrentProfile();
  virtual std::wstring GetCurrentProfileName() const;
  // Every named profile, in document order.
  virtual std::vector<std::wstring> GetProfileNames();
  virtual wchar_t GetSeparator() const;
  virtual void SetClearSettings(bool clear, const LLF::Color& color);
  // Takes the machine over; the previous one is not deleted here.
  virtual void SetStateMachine(StateMachine* machine);
  virtual void SetCursorName(const std::wstring& name);
  // Draws the image named by the cursor name at the mouse position in place
  // of the system cursor, or stops. Without that image the system cursor
  // stays.
  virtual void SetCustomCursor(bool on);
  // Makes the profile current, adding it when missing (empty: none), notes
  // it in the configuration and saves.
  virtual void SetCurrentProfile(const std::wstring& name);
  virtual void SetSeparator(wchar_t separator);
  // The next frame runs with a frame time of 0.
  virtual void ResetFrameTime();
  // While active and not paused: the tree's per-frame flags, the scene's
  // update and the tree's update, each guarded so a throw is logged and
  // the frame goes on.
  virtual void Update(unsigned dt);
  // Called after the tree is drawn; nothing here.
  virtual void OnRender(LLF::IRenderSystem* rs);
  // Removes the first profile with the name; neither saves nor changes the
  // current profile.
  virtual bool DeleteProfile(const std::wstring& name);
  // Asks the render system to save the next presented frame as the first
  // free "shot_NNNN.png" of the global folder. A name is free when nothing
  // of that name exists; when none of the 10000 is, shot_9999.png is
  // overwritten, with a warning.
  virtual void TakeScreenshot();
  // Writes "game.xml" and "profiles.xml" into the user folder, each only
  // when its text reads back and its file may be written.
  virtual void SaveConfigs();
  // Windowed (refused while the window cannot run windowed) or full screen.
  // On a wide monitor the client size becomes the settings' size in a
  // window and config/video/normal's in full screen (kept when that is no
  // valid size); the render system switches, and the flag is kept in the
  // render settings whether it could or not. "game.xml" is not written.
  virtual void SetWindowed(bool windowed);
  // The configured video mode, custom cursor and volumes. True.
  virtual bool ApplyConfig();
  // The focus dialog's part of SetFocus: the dialog that had the focus is
  // closed through close, then dialog (null: none) holds it.
  using FocusCloser = void (*)(Control* dialog);
  virtual void SetFocusControl(Control* dialog, FocusCloser close);
  // Drops the shell's pointers to a dying control (the focus included, so a
  // dead dialog is never closed).
  void ForgetControl(Control* control) override;
  // Loads every configuration file, creating the missing ones. True.
  virtual bool LoadConfigs();
  // Fills the empty document with the registry form (game, one empty child,
  // the comment after it when there is one) and writes it to the file.
  virtual void CreateConfigFile(XmlDocEx& doc, const std::wstring& file, const std::wstring& comment,
                                const std::wstring& childName);
  // Loads the cursor's asset list of config/game/cursor (assetFile,
  // assetName) and waits for it; the cursor image is "cursor_default".
  virtual void LoadCursorConfig();

  // Gives the focus to a dialog (null: none); the one that had it is closed
  // with its OnOk, and so is the focused dialog when a button goes down
  // outside it. The shell keeps the dialog as a control: any control class
  // with OnOk can hold the focus. A dialog that dies loses the focus through
  // ForgetControl, unclosed; its destructor need not (and must not) call
  // SetFocus.
  template <class DialogType>
  void SetFocus(DialogType* dialog) {
    SetFocusControl(dialog, dialog ? &CloseWithOk<DialogType> : nullptr);
  }
  void SetFocus(std::nullptr_t) { SetFocusControl(nullptr, nullptr); }
  Control* GetFocusControl() const { return _focusControl; }
  Control* GetDraggedControl() const { return _draggedControl; }

  // The start-up hook: log echo into the console, the program's folder as
  // the current folder, every prototype registered. True.
  bool RegisterFactories(const std::wstring& commandLine);
  StateMachine* GetStateMachine() const { return _currentStateMachine; }
  AssetsLoader& GetAssetsLoader() { return _assetsLoader; }
  // Where the document (one of the nine) came from; NOT_LOADED for others.
  DocOrigin GetDocOrigin(const LLF::XmlDoc* doc) const;
  // Whether the document may be written to its file: false for defaults
  // standing in for a file that does not parse.
  bool CanSaveDoc(const LLF::XmlDoc* doc) const;
  // The user's files: "game.xml" and "profiles.xml".
  std::wstring GetConfigPath() const;
  std::wstring GetProfilesPath() const;

  // The game, or null before its construction and from the start of its
  // destruction.
  static Game* GetInstance();

 protected:
  // The folder of the program file, made the current folder at start-up.
  virtual std::wstring GetProgramFolder() const;
  // The clock of the frame and hover timers (tests move it by hand).
  void SetGameClock(LLF::Timer::Clock clock);
  // The monitor's shape (LLF::MonitorFormat), read from the system at
  // construction.
  void SetMonitorFormat(int format) { _monitorFormat = format; }
  int GetMonitorFormat() const { return _monitorFormat; }
  // What the shell does to the window: its client size and the system
  // cursor's visibility.
  virtual void SetClientSize(const LLF::Point& size);
  virtual void SetSystemCursorVisible(bool visible);

  LLF::AppSettings _appSettings;
  LLF::RenderSettings _renderSettings;

 private:
  // The nine documents, in the order of their fields.
  enum DocIndex {
    DOC_IMAGES,
    DOC_SOUNDS,
    DOC_MUSICS,
    DOC_SPLASH,
    DOC_FONTS,
    DOC_CONFIG,
    DOC_STRINGS,
    DOC_PROFILES,
    DOC_STYLES,
    DOC_COUNT
  };

  template <class DialogType>
  static void CloseWithOk(Control* dialog) {
    static_cast<DialogType*>(dialog)->OnOk();
  }

  void Draw();
  // The mouse bookkeeping of one window mouse message.
  void TrackMouse(const LLF::Message& msg);
  void TrackDrag();
  void TrackHover(Control* target);
  void PickDragged();
  // A button went down: the focus dialog is closed unless the press is on
  // it or inside it.
  void CheckFocus();
  // The focus dialog, closed; the focus is free again.
  void CloseFocus();
  float ReadVolume(const wchar_t* path);
  // A program-folder file: read, or its defaults (written only when the
  // file is missing).
  void LoadProgramFile(DocIndex index, const std::wstring& file,
                       const std::function<void(XmlDocEx&)>& defaults);
  // A user file that exists and does not parse is moved aside; true when it
  // is out of the way (or was not there).
  bool MoveAsideUnreadable(const std::wstring& path);
  void LoadConfigDoc();
  void LoadProfilesDoc();
  void LoadStringsDoc();
  // Writes the document when its text reads back and it may be saved.
  void SaveUserDoc(DocIndex index, const std::wstring& path);
  XmlDocEx& Doc(DocIndex index);
  // The top element "profiles" and config/game, made when missing.
  LLF::XmlElement* ProfilesElement(bool create);
  LLF::XmlElement* ConfigGameElement();

  Control* _hoveredControl = nullptr;
  LLF::Timer _hoverTimer;
  LLF::Vector2 _lastMousePos;
  // The dialog holding the focus, and how to close it.
  Control* _focusControl = nullptr;
  FocusCloser _focusCloser = nullptr;
  StateMachine* _currentStateMachine = nullptr;
  int _monitorFormat = 0;
  // The frame-time source (the application's own timer measures the frame
  // rate).
  LLF::Timer _frameTimer;
  bool _resetFrameTime = false;
  Control* _draggedControl = nullptr;
  LLF::Vector2 _lastDragPos;
  LLF::Vector2 _mousePos = LLF::Vector2(-1.0f, -1.0f);
  bool _useCustomCursor = false;
  std::wstring _cursorName;
  LLF::Image* _cursorImage = nullptr;
  AssetsLoader _assetsLoader;
  bool _clearScreen = true;
  LLF::Color _clearColor = LLF::Color(0, 0, 0, 255);
  Control _rootCOntrol;
  XmlDocEx _imagesDoc;
  XmlDocEx _soundsDoc;
  XmlDocEx _musicsDoc;
  XmlDocEx _splashDoc;
  XmlDocEx _fontsDoc;
  XmlDocEx _configDoc;
  XmlDocEx _stringsDoc;
  XmlDocEx _profilesDoc;
  XmlDocEx _stylesDoc;
  DocOrigin _docOrigins[DOC_COUNT] = {};
  std::wstring _currentProfileName;
  wchar_t _separator = L',';
};

}  // namespace HLF
