#include "shell/Game.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "FrameworkPrototypes.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "app/MonitorFormat.h"
#include "core/Format.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "devtools/Editor.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/ControlFactory.h"
#include "model/StateMachine.h"
#include "render/IRenderSystem.h"
#include "render/ImageDrawParams.h"
#include "render/RendersManager.h"
#include "sound/SoundSystem.h"

namespace HLF {

namespace {

Game* g_game = nullptr;

const wchar_t* const kImagesComment =
    L"How to add an image: <image name=\"imageID\" src=\"images/myimage.jpg\" cells=\"1\" loops=\"1\" /> ";
const wchar_t* const kSoundsComment =
    L"How to add a sound: <sound name=\"soundID\" src=\"sound/mysound.ogg\" volume=\"100\" looped=\"false\" "
    L"/>";
const wchar_t* const kMusicsComment =
    L"How to add a music: <music name=\"musicID\" src=\"music/mymusic.ogg\" volume=\"100\" looped=\"false\" "
    L"/>";
const wchar_t* const kFontsComment =
    L"How to add a font: <font name=\"VeraBD\" src=\"fonts/veraBd.xml\" charset=\"#english_base;\" />";
const wchar_t* const kStylesComment =
    L"How to add a style: <style styleName=\"ButtonStyle\" styleAttributesGoHere />";
const wchar_t* const kSplashComment =
    L"How to add a splash screen: <vendor id=\"BVK\" image=\"splash/bvk.png\" sound=\"splash/bvk.ogg\" "
    L"showTime=\"2.0\" bgColor=\"255,255,255\" />";
const wchar_t* const kStringsComment =
    L"Example string: <var name=\"sample_string\" value=\"This is sample string!\" />";

bool FileExists(const std::wstring& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::path(LLF::ToOsPath(path)), ec);
}

// Whether anything at all stands under the name: a file that can't be
// read, a dangling link or a name that can't be looked at is not free
// either.
bool NameTaken(const std::wstring& path) {
  std::error_code ec;
  return std::filesystem::symlink_status(std::filesystem::path(LLF::ToOsPath(path)), ec).type() !=
         std::filesystem::file_type::not_found;
}

const wchar_t* MouseEventName(int code) {
  switch (code) {
    case LLF::WMSG_BUTTON_DOWN:
      return L"MouseDown";
    case LLF::WMSG_MOUSE_MOVE:
      return L"MouseMove";
    case LLF::WMSG_BUTTON_UP:
      return L"MouseUp";
    case LLF::WMSG_WHEEL:
      return L"MouseWheel";
    case LLF::WMSG_DOUBLE_CLICK:
      return L"MouseDblClick";
    default:
      return L"";
  }
}

const int kScreenshotNames = 10000;

LLF::XmlElement* AddComment(LLF::XmlElement* parent, const std::wstring& text) {
  LLF::XmlElement* comment = parent->AddChild(L"COMMENT");
  comment->SetComment(text);
  return comment;
}

void BuildRegistry(XmlDocEx& doc, const std::wstring& comment, const std::wstring& childName) {
  LLF::XmlElement* game = doc.GetRoot()->AddChild(L"game");
  game->AddChild(childName);
  if (!comment.empty()) {
    AddComment(game, comment);
  }
}

void BuildSplash(XmlDocEx& doc) {
  LLF::XmlElement* splash = doc.GetRoot()->AddChild(L"splash");
  splash->AddAttribute(L"fadeInTime", L"1.0");
  splash->AddAttribute(L"fadeOutTime", L"1.0");
  splash->AddAttribute(L"fadeColor", L"0,0,0");
  splash->AddAttribute(L"noLastFadeIn", L"false");
  AddComment(splash, kSplashComment);
}

void BuildConfig(XmlDocEx& doc) {
  LLF::XmlElement* config = doc.GetRoot()->AddChild(L"config");
  config->AddChild(L"info")->AddAttribute(L"icon", L"images/game.ico");
  LLF::XmlElement* video = config->AddChild(L"video");
  video->AddAttribute(L"preferHardware", L"true");
  video->AddAttribute(L"windowed", L"true");
  video->AddAttribute(L"enableWidescreen", L"true");
  video->AddAttribute(L"vsync", L"true");
  LLF::XmlElement* normal = video->AddChild(L"normal");
  normal->AddAttribute(L"width", L"800");
  normal->AddAttribute(L"height", L"600");
  LLF::XmlElement* wide = video->AddChild(L"wide");
  wide->AddAttribute(L"width", L"960");
  wide->AddAttribute(L"height", L"600");
  LLF::XmlElement* audio = config->AddChild(L"audio");
  audio->AddAttribute(L"preferHardware", L"true");
  audio->AddChild(L"music")->AddAttribute(L"volume", L"100");
  audio->AddChild(L"sound")->AddAttribute(L"volume", L"100");
  LLF::XmlElement* game = config->AddChild(L"game");
  game->AddChild(L"help")->AddAttribute(L"showTips", L"true");
  game->AddChild(L"gameplay")->AddAttribute(L"difficulty", L"0");
  LLF::XmlElement* cursor = game->AddChild(L"cursor");
  cursor->AddAttribute(L"useCustom", L"false");
  cursor->AddAttribute(L"assetFile", L"images.xml");
  cursor->AddAttribute(L"assetName", L"CURSORS");
}

void BuildStrings(XmlDocEx& doc) {
  LLF::XmlElement* vars = doc.GetRoot()->AddChild(L"game")->AddChild(L"vars");
  LLF::XmlElement* language = vars->AddChild(L"var");
  language->AddAttribute(L"name", L"language");
  language->AddAttribute(L"value", L"english");
  AddComment(vars, kStringsComment);
}

// The first child of parent with the name that is not a comment.
LLF::XmlElement* ElementChild(LLF::XmlElement* parent, const std::wstring& name) {
  for (int i = 0; i < parent->GetChildsCount(); ++i) {
    LLF::XmlElement* child = parent->GetChild(i);
    if (!child->IsComment() && child->GetName() == name) {
      return child;
    }
  }
  return nullptr;
}

LLF::XmlElement* ElementChildMade(LLF::XmlElement* parent, const std::wstring& name) {
  LLF::XmlElement* child = ElementChild(parent, name);
  return child ? child : parent->AddChild(name);
}

// "NAME.bad-YYYYMMDD-HHMMSS", then "-2", "-3"... when taken.
std::wstring BackupName(const std::wstring& path, int attempt) {
  int year, month, day, hour, minute, second;
  LLF::OS_GetLocalTime(year, month, day, hour, minute, second);
  std::wstring name =
      path + LLF::Format(L".bad-%04d%02d%02d-%02d%02d%02d", year, month, day, hour, minute, second);
  if (attempt > 1) {
    name += L"-" + LLF::ToString(attempt);
  }
  return name;
}

}  // namespace

Game::Game() {
  g_game = this;
  LLF::SeedRandom(static_cast<unsigned>(std::time(nullptr)));
  _monitorFormat = LLF::OS_GetMonitorFormat();
  _appSettings = Application::GetSettings();
  _renderSettings = Application::GetRenderSettings();
  _rootCOntrol.SetRenderable(false);
  Control* game = new Control(L"GAME");
  _rootCOntrol.AddChild(game);
  game->SetRenderable(false);
  Control* editor = new Control(L"EDITOR");
  _rootCOntrol.AddChild(editor);
  editor->SetVisible(false);
  editor->SetRenderable(false);
}

Game::~Game() {
  g_game = nullptr;
  Unregister();
  // The console outlives the game; a line logged later must not reach it
  // (at exit it would re-create a console already destroyed).
  LLF::Log::ClearEcho(&Console::Echo);
  if (EditorServices::GetProvider() == &Editor::Provide) {
    EditorServices::SetProvider(nullptr);
  }
}

Game* Game::GetInstance() {
  return g_game;
}

std::wstring Game::GetName() const {
  return L"HLF Game";
}

std::wstring Game::GetVersion() const {
  return L"v1.000";
}

std::wstring Game::GetDescription() const {
  return L"Game based on HLF library.";
}

std::wstring Game::GetVendor() const {
  return L"HLF";
}

LLF::AppSettings Game::GetSettings() const {
  return _appSettings;
}

LLF::RenderSettings Game::GetRenderSettings() const {
  return _renderSettings;
}

bool Game::OnStartup(const std::wstring& commandLine) {
  return RegisterFactories(commandLine);
}

std::wstring Game::GetProgramFolder() const {
  return LLF::ExtractFolder(LLF::OS_GetExePath());
}

bool Game::RegisterFactories(const std::wstring& /*commandLine*/) {
  LLF::Log::SetEchoCallback(&Console::Echo);
  const std::wstring folder = GetProgramFolder();
  if (!folder.empty() && !LLF::OS_SetCurrentDir(folder)) {
    LLF::Log::GetInstance().Write(L"Warning: Can't make the program's folder the current folder: " + folder);
  }
  RegisterFrameworkPrototypes();
  return true;
}

bool Game::Init(const std::wstring& commandLine) {
  LLF::AppWindow& window = LLF::AppWindow::GetInstance();
  window.AddReceiver(this);
  window.AddReceiver(&Console::GetInstance());
  if (!LoadConfigs()) {
    return false;
  }
  return Application::Init(commandLine);
}

void Game::LogLibraryInfo(const std::wstring& commandLine) {
  Application::LogLibraryInfo(commandLine);
  LLF::Log& log = LLF::Log::GetInstance();
  log.WriteFormat(L"HLF library. v%02.1f build %s date %s", 1.0, L"4.005", L"Thu Oct 15 18:56:08 2009");
  log.WriteSeparator();
}

bool Game::PostInit(const std::wstring& commandLine) {
  // The editor loads its font on first use: only from here on, once the
  // font codecs and the render system are there.
  EditorServices::SetProvider(&Editor::Provide);
  const std::wstring title = GetStringVar(L"gamename");
  if (_appSettings.createWindow) {
    LLF::AppWindow::GetInstance().SetTitle(title.empty() ? GetName() : title);
  }
  if (!Application::PostInit(commandLine)) {
    return false;
  }
  // The cursor's images first: ApplyConfig may turn the custom cursor on.
  LoadCursorConfig();
  _frameTimer.Start(false);
  return ApplyConfig();
}

void Game::OnUpdate() {
  if (_hoveredControl && _hoverTimer.GetElapsed() >= 2500) {
    Control::DispatchScope scope;
    _hoveredControl->OnHoverHold();
    _hoverTimer.Stop();
  }
  unsigned dt = static_cast<unsigned>(_frameTimer.GetDelta());
  if (_resetFrameTime) {
    dt = 0;
    _resetFrameTime = false;
  }
  {
    // Receivers of the loaders' messages may close controls (their own
    // included): those deletions wait for the safe point below.
    Control::DispatchScope scope;
    AssetsLoader::DeliverAllQueued();
    Update(dt);
  }
  Draw();
  DeleteDeferred();
}

void Game::Update(unsigned dt) {
  if (!IsActive() || IsPaused()) {
    return;
  }
  _rootCOntrol.PreUpdate();
  if (_currentStateMachine) {
    try {
      _currentStateMachine->Update(dt);
    } catch (...) {
      LLF::Log::GetInstance().Write(L"Error: Unhandled exception in _currentStateMachine->Update()");
    }
  }
  try {
    _rootCOntrol.Update(dt);
  } catch (...) {
    LLF::Log::GetInstance().Write(L"Error: Unhandled exception in _rootCOntrol.Update()");
  }
}

void Game::Draw() {
  LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender();
  if (!rs || !rs->BeginFrame()) {
    return;
  }
  const Control* editor = GetEditorLayer();
  if (_clearScreen || (editor && editor->IsVisible())) {
    rs->Clear(_clearColor, true, false);
  }
  _rootCOntrol.Render(rs, nullptr);
  OnRender(rs);
  Console::GetInstance().Draw();
  if (_cursorImage && _mousePos.x != -1.0f && _mousePos.y != -1.0f) {
    const ImageDrawParams params(_mousePos, 0, 0, 255, 0.0f, LLF::Vector2(1.0f, 1.0f), LLF::Point(-1, -1),
                                 true, LLF::Vector2(), LLF::Vector2());
    rs->DrawImage(_cursorImage, params);
  }
  rs->EndFrame();
}

void Game::OnRender(LLF::IRenderSystem* /*rs*/) {}

bool Game::OnMessage(LLF::Message* msg) {
  if (msg) {
    Control::DispatchScope scope;
    const bool fromWindow = msg->GetSender() == &LLF::AppWindow::GetInstance();
    if (fromWindow && Control::IsMouseMessage(msg->GetCode())) {
      TrackMouse(*msg);
    }
    // On release only, so a held key's repeats do nothing.
    if (fromWindow && msg->GetCode() == LLF::WMSG_KEY_UP) {
      if (msg->GetParam() == LLF::KEY_F8) {
        SetWindowed(!GetRenderSettings().windowed);
      } else if (msg->GetParam() == LLF::KEY_PRINT_SCREEN) {
        TakeScreenshot();
      }
    }
    GetRootControl().ProcessMessage(*msg);
    // After the tree: a press inside the focus dialog has reached it first.
    if (msg->GetCode() == LLF::WMSG_BUTTON_DOWN) {
      CheckFocus();
    }
  }
  DeleteDeferred();
  return true;
}

void Game::TrackMouse(const LLF::Message& msg) {
  const int code = msg.GetCode();
  _mousePos = LLF::Vector2(static_cast<float>(msg.GetPrimary()), static_cast<float>(msg.GetSecondary()));
  Control* target = GetControlAt(_mousePos);
  if (target && Console::GetInstance().IsInputLogging()) {
    LLF::Log::GetInstance().Write(std::wstring(L"Event: ") + MouseEventName(code) + L" Object under mouse: " +
                                  target->GetName());
  }
  switch (code) {
    case LLF::WMSG_MOUSE_MOVE:
      TrackDrag();
      TrackHover(target);
      break;
    case LLF::WMSG_BUTTON_DOWN:
      PickDragged();
      break;
    case LLF::WMSG_BUTTON_UP:
      if (Control* dragged = _draggedControl) {
        _draggedControl = nullptr;
        try {
          dragged->OnDragEnd();
        } catch (...) {
          LLF::Log::GetInstance().Write(
              L"Error: Exception in bool Game::ReceiveMsg( const Message& msg ) Drag event.");
        }
      }
      break;
    default:
      break;
  }
  // Real activity restarts the hover timer; a move that goes nowhere does
  // not.
  if (code != LLF::WMSG_MOUSE_MOVE || _mousePos != _lastMousePos) {
    _lastMousePos = _mousePos;
    if (_hoveredControl) {
      _hoverTimer.Start(false);
    }
  }
}

void Game::TrackDrag() {
  if (!_draggedControl) {
    return;
  }
  const LLF::Point mouse(static_cast<int>(_mousePos.x), static_cast<int>(_mousePos.y));
  try {
    if (_draggedControl->IsDragging()) {
      _draggedControl->OnDrag(mouse, _mousePos - _lastDragPos);
      _lastDragPos = _mousePos;
    } else if (_lastDragPos != _mousePos && _draggedControl->IsEnabled()) {
      _draggedControl->OnDragStart(mouse);
      _lastDragPos = _mousePos;
    }
  } catch (...) {
    LLF::Log::GetInstance().Write(
        L"Error: Exception in bool Game::ReceiveMsg( const Message& msg ) Drag event.");
    _draggedControl = nullptr;
  }
}

void Game::TrackHover(Control* target) {
  if (target == _hoveredControl) {
    return;
  }
  try {
    if (_hoveredControl) {
      _hoveredControl->OnMouseLeave();
    }
    _hoveredControl = target;
    if (_hoveredControl) {
      _hoveredControl->OnMouseEnter();
      _hoverTimer.Start(false);
    } else {
      _hoverTimer.Stop();
    }
  } catch (...) {
    LLF::Log::GetInstance().Write(
        L"Error: Exception in bool Game::ReceiveMsg( const Message& msg ) Enter\\Leave events.");
    _hoveredControl = nullptr;
  }
}

void Game::PickDragged() {
  Control* hovered = _hoveredControl;
  if (!hovered || _draggedControl || !(hovered->IsDraggable() || hovered->IsPassDragToParent())) {
    return;
  }
  Control* c = hovered;
  while (c->IsPassDragToParent() && c->GetParent() && c->GetParent()->IsDraggable()) {
    c = c->GetParent();
  }
  // A chain that ends at the hovered control itself, not draggable, drags
  // nothing.
  if (c == hovered && !hovered->IsDraggable()) {
    return;
  }
  _draggedControl = c;
  // The drag starts with the first move away from the press, whatever an
  // earlier drag left behind.
  _lastDragPos = _mousePos;
}

void Game::CheckFocus() {
  if (!_focusControl || _focusControl == _hoveredControl) {
    return;
  }
  for (Control* c = _hoveredControl ? _hoveredControl->GetParent() : nullptr; c; c = c->GetParent()) {
    if (c == _focusControl) {
      return;
    }
  }
  CloseFocus();
}

void Game::CloseFocus() {
  Control* dialog = _focusControl;
  const FocusCloser close = _focusCloser;
  // Cleared first: closing may hand the focus on.
  _focusControl = nullptr;
  _focusCloser = nullptr;
  if (dialog && close) {
    Control::DispatchScope scope;
    close(dialog);
  }
}

void Game::SetFocusControl(Control* dialog, FocusCloser close) {
  // Giving the focus again to the dialog that holds it does not close it.
  if (dialog && dialog == _focusControl) {
    return;
  }
  CloseFocus();
  _focusControl = close ? dialog : nullptr;
  _focusCloser = _focusControl ? close : nullptr;
}

void Game::TakeScreenshot() {
  const std::wstring folder = GetGlobalDataFolder();
  std::wstring name;
  bool free = false;
  for (int n = 0; n < kScreenshotNames && !free; ++n) {
    name = LLF::Format(L"shot_%04d.png", n);
    free = !NameTaken(folder + name);
  }
  LLF::Log& log = LLF::Log::GetInstance();
  if (!free) {
    log.Write(L"Warning: TakeScreenshot - shot_0000.png to shot_9999.png all exist; " + name +
              L" is overwritten.");
  }
  LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender();
  if (!rs) {
    log.Write(L"Warning: TakeScreenshot - no render system; " + name + L" is not saved.");
    return;
  }
  if (!rs->RequestScreenshot(folder + name)) {
    log.Write(L"Warning: TakeScreenshot - the render system refused " + name +
              L" while an earlier screenshot waits.");
  }
}

void Game::SetClientSize(const LLF::Point& size) {
  LLF::AppWindow::GetInstance().SetClientSize(size);
}

void Game::SetSystemCursorVisible(bool visible) {
  LLF::AppWindow::SetCursorVisible(visible);
}

void Game::SetWindowed(bool windowed) {
  LLF::Log& log = LLF::Log::GetInstance();
  if (windowed && !IsWindowedPossible()) {
    log.Write(L"Warning: SetWindowed - the window does not fit on the desktop; the game stays full screen.");
    return;
  }
  if (_monitorFormat == LLF::MONITOR_FORMAT_WIDE_16_10 || _monitorFormat == LLF::MONITOR_FORMAT_WIDE_16_9) {
    if (windowed) {
      SetClientSize(LLF::Point(static_cast<int>(_appSettings.width), static_cast<int>(_appSettings.height)));
    } else {
      const LLF::XmlElement* normal = _configDoc.GetRoot()->GetChildByPath(L"config/video/normal");
      const LLF::XmlAttribute* width = normal ? normal->GetAttribute(std::wstring(L"width")) : nullptr;
      const LLF::XmlAttribute* height = normal ? normal->GetAttribute(std::wstring(L"height")) : nullptr;
      LLF::Point size;
      if (width && height && LLF::FromString(width->GetValue(), size.x) &&
          LLF::FromString(height->GetValue(), size.y) && size.x > 0 && size.y > 0) {
        SetClientSize(size);
      } else {
        log.Write(
            L"Warning: SetWindowed - config/video/normal holds no valid size; the window keeps its size.");
      }
    }
  }
  if (LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender()) {
    rs->SwitchMode(windowed, 0);
  }
  _renderSettings.windowed = windowed;
}

bool Game::ApplyConfig() {
  LLF::XmlElement* root = _configDoc.GetRoot();
  bool windowed = root->GetPathAttribute(L"config/video", L"windowed", std::wstring(L"true")).GetBool();
  if (!IsWindowedPossible()) {
    windowed = false;
  }
  SetWindowed(windowed);
  SetCustomCursor(
      root->GetPathAttribute(L"config/game/cursor", L"useCustom", std::wstring(L"true")).GetBool());
  // Headless runs choose no sound driver.
  if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
    driver->SetMusicMasterVolume(GetMusicVolume());
    driver->SetSoundMasterVolume(GetSoundVolume());
  }
  return true;
}

float Game::ReadVolume(const wchar_t* path) {
  const LLF::XmlElement* element = _configDoc.GetRoot()->GetChildByPath(path);
  const LLF::XmlAttribute* volume = element ? element->GetAttribute(std::wstring(L"volume")) : nullptr;
  float value = 100.0f;
  if (!volume || !LLF::FromString(volume->GetValue(), value) || std::isnan(value)) {
    return 100.0f;
  }
  return std::clamp(value, 0.0f, 100.0f);
}

float Game::GetMusicVolume() {
  return ReadVolume(L"config/audio/music");
}

float Game::GetSoundVolume() {
  return ReadVolume(L"config/audio/sound");
}

void Game::LoadCursorConfig() {
  LLF::XmlElement* root = _configDoc.GetRoot();
  const std::wstring file =
      root->GetPathAttribute(L"config/game/cursor", L"assetFile", std::wstring(L"true")).GetValue();
  const std::wstring list =
      root->GetPathAttribute(L"config/game/cursor", L"assetName", std::wstring(L"true")).GetValue();
  if (!file.empty() && !list.empty()) {
    if (!_assetsLoader.SetListFromFile(file, list)) {
      LLF::Log::GetInstance().Write(L"Warning: LoadCursorConfig - the cursor list " + list + L" of " + file +
                                    L" can't be read.");
    } else if (_assetsLoader.Start(0)) {
      _assetsLoader.Wait();
    }
  }
  _cursorName = L"cursor_default";
}

void Game::SetCustomCursor(bool on) {
  if (on == _useCustomCursor) {
    return;
  }
  _useCustomCursor = on;
  _cursorImage = on ? LLF::ImagesManager::GetInstance().FindResource(_cursorName) : nullptr;
  if (on && !_cursorImage) {
    LLF::Log::GetInstance().Write(L"Warning: SetCustomCursor - there is no image " + _cursorName +
                                  L"; the system cursor stays.");
  }
  SetSystemCursorVisible(_cursorImage == nullptr);
}

void Game::OnShutdown() {
  delete _currentStateMachine;
  _currentStateMachine = nullptr;
  SaveConfigs();
  _frameTimer.Stop();
  // The editor shows and hides the layers as it closes: it closes while they
  // are still there.
  if (EditorServices::GetProvider() == &Editor::Provide) {
    Editor::GetInstance().Close();
  }
  // Whatever waits for deletion may belong to the layers: it goes first.
  DeleteDeferred();
  _rootCOntrol.RemoveChild(L"GAME", true);
  _rootCOntrol.RemoveChild(L"EDITOR", true);
  DeleteDeferred();
  // The editor's font may hold the render system's texture, which goes
  // after this.
  if (EditorServices::GetProvider() == &Editor::Provide) {
    Editor::GetInstance().Shutdown();
  }
  ControlFactory::GetInstance().Clear();
  LLF::AppWindow& window = LLF::AppWindow::GetInstance();
  window.RemoveReceiver(&Console::GetInstance());
  window.RemoveReceiver(this);
  // The cursor image goes with the shell's assets.
  _cursorImage = nullptr;
  _assetsLoader.UnloadAssets();
}

void Game::OnActivate() {
  Application::OnActivate();
  if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
    driver->StartAll();
  }
  LLF::Log::GetInstance().Write(L"Game window has been activated.");
}

void Game::OnDeactivate(bool* windowInactive) {
  _hoveredControl = nullptr;
  _draggedControl = nullptr;
  Application::OnDeactivate(windowInactive);
  if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
    driver->PauseAll();
  }
  LLF::Log::GetInstance().Write(L"Game window has been deactivated.");
}

void Game::GetClearSettings(bool& clear, LLF::Color& color) const {
  clear = _clearScreen;
  color = _clearColor;
}

void Game::SetClearSettings(bool clear, const LLF::Color& color) {
  _clearScreen = clear;
  _clearColor = color;
}

Control& Game::GetRootControl() {
  return _rootCOntrol;
}

Control* Game::GetGameLayer() {
  return _rootCOntrol.GetChildByName(L"GAME");
}

Control* Game::GetEditorLayer() {
  return _rootCOntrol.GetChildByName(L"EDITOR");
}

Control* Game::GetControlAt(const LLF::Vector2& point) {
  return GetRootControl().GetChildAtPoint(point);
}

Control* Game::GetHoveredControl() const {
  return _hoveredControl;
}

LLF::Vector2 Game::GetMousePosition() const {
  return _mousePos;
}

std::wstring Game::GetCursorName() const {
  return _cursorName;
}

void Game::SetCursorName(const std::wstring& name) {
  _cursorName = name;
}

XmlDocEx* Game::GetImagesDoc() {
  return &_imagesDoc;
}

XmlDocEx* Game::GetSoundsDoc() {
  return &_soundsDoc;
}

XmlDocEx* Game::GetMusicsDoc() {
  return &_musicsDoc;
}

XmlDocEx* Game::GetSplashDoc() {
  return &_splashDoc;
}

XmlDocEx* Game::GetFontsDoc() {
  return &_fontsDoc;
}

XmlDocEx* Game::GetConfigDoc() {
  return &_configDoc;
}

XmlDocEx* Game::GetStylesDoc() {
  return &_stylesDoc;
}

XmlDocEx* Game::GetStringsDoc() {
  return &_stringsDoc;
}

XmlDocEx* Game::GetProfilesDoc() {
  return &_profilesDoc;
}

XmlDocEx& Game::Doc(DocIndex index) {
  XmlDocEx* const docs[DOC_COUNT] = {&_imagesDoc, &_soundsDoc,  &_musicsDoc,   &_splashDoc, &_fontsDoc,
                                     &_configDoc, &_stringsDoc, &_profilesDoc, &_stylesDoc};
  return *docs[index];
}

DocOrigin Game::GetDocOrigin(const LLF::XmlDoc* doc) const {
  const LLF::XmlDoc* const docs[DOC_COUNT] = {&_imagesDoc,  &_soundsDoc,   &_musicsDoc,
                                              &_splashDoc,  &_fontsDoc,    &_configDoc,
                                              &_stringsDoc, &_profilesDoc, &_stylesDoc};
  for (int i = 0; i < DOC_COUNT; ++i) {
    if (docs[i] == doc) {
      return _docOrigins[i];
    }
  }
  return DocOrigin::NOT_LOADED;
}

bool Game::CanSaveDoc(const LLF::XmlDoc* doc) const {
  const DocOrigin origin = GetDocOrigin(doc);
  return origin != DocOrigin::NOT_LOADED && origin != DocOrigin::DEFAULTS;
}

wchar_t Game::GetSeparator() const {
  return _separator;
}

void Game::SetSeparator(wchar_t separator) {
  _separator = separator;
}

void Game::SetStateMachine(StateMachine* machine) {
  _currentStateMachine = machine;
}

void Game::ResetFrameTime() {
  _resetFrameTime = true;
}

void Game::SetGameClock(LLF::Timer::Clock clock) {
  _frameTimer = LLF::Timer(clock);
  _hoverTimer = LLF::Timer(clock);
}

void Game::ForgetControl(Control* control) {
  if (_focusControl == control) {
    _focusControl = nullptr;
    _focusCloser = nullptr;
  }
  if (_hoveredControl == control) {
    _hoveredControl = nullptr;
  }
  if (_draggedControl == control) {
    _draggedControl = nullptr;
  }
}

std::wstring Game::GetConfigPath() const {
  return GetUserDataFolder() + L"game.xml";
}

std::wstring Game::GetProfilesPath() const {
  return GetGlobalDataFolder() + L"profiles.xml";
}

// Configuration files

void Game::CreateConfigFile(XmlDocEx& doc, const std::wstring& file, const std::wstring& comment,
                            const std::wstring& childName) {
  BuildRegistry(doc, comment, childName);
  doc.SaveToFile(file);
}

void Game::LoadProgramFile(DocIndex index, const std::wstring& file,
                           const std::function<void(XmlDocEx&)>& defaults) {
  XmlDocEx& doc = Doc(index);
  if (doc.LoadFromFile(file)) {
    _docOrigins[index] = DocOrigin::FILE;
    return;
  }
  doc.Clear();
  defaults(doc);
  if (FileExists(file)) {
    LLF::Log::GetInstance().Write(L"Error: LoadConfigs - " + file +
                                  L" can't be read; it is left as it is and its defaults are used.");
    _docOrigins[index] = DocOrigin::DEFAULTS;
    return;
  }
  doc.SaveToFile(file);
  _docOrigins[index] = DocOrigin::CREATED;
}

bool Game::MoveAsideUnreadable(const std::wstring& path) {
  if (!FileExists(path)) {
    return true;
  }
  LLF::Log& log = LLF::Log::GetInstance();
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const std::wstring backup = BackupName(path, attempt);
    if (FileExists(backup)) {
      continue;
    }
    if (LLF::OS_MoveFile(path, backup)) {
      log.Write(L"Error: LoadConfigs - " + path + L" can't be read; it is kept as " + backup +
                L" and the defaults are used.");
      return true;
    }
    break;
  }
  log.Write(L"Error: LoadConfigs - " + path +
            L" can't be read and can't be moved aside; the defaults are used and it won't be saved over.");
  return false;
}

void Game::LoadConfigDoc() {
  const std::wstring userFile = GetConfigPath();
  if (_configDoc.LoadFromFile(userFile)) {
    _docOrigins[DOC_CONFIG] = DocOrigin::FILE;
    return;
  }
  _configDoc.Clear();
  const bool userFree = MoveAsideUnreadable(userFile);
  const std::wstring templateFile = L"scripts/game.xml";
  if (_configDoc.LoadFromFile(templateFile)) {
    _docOrigins[DOC_CONFIG] = userFree ? DocOrigin::TEMPLATE : DocOrigin::DEFAULTS;
    return;
  }
  _configDoc.Clear();
  BuildConfig(_configDoc);
  if (FileExists(templateFile)) {
    LLF::Log::GetInstance().Write(L"Error: LoadConfigs - " + templateFile +
                                  L" can't be read; it is left as it is and its defaults are used.");
  } else {
    _configDoc.SaveToFile(templateFile);
  }
  _docOrigins[DOC_CONFIG] = userFree ? DocOrigin::CREATED : DocOrigin::DEFAULTS;
}

void Game::LoadProfilesDoc() {
  const std::wstring file = GetProfilesPath();
  if (_profilesDoc.LoadFromFile(file)) {
    _docOrigins[DOC_PROFILES] = DocOrigin::FILE;
    return;
  }
  _profilesDoc.Clear();
  _profilesDoc.GetRoot()->AddChild(L"profiles");
  if (!MoveAsideUnreadable(file)) {
    _docOrigins[DOC_PROFILES] = DocOrigin::DEFAULTS;
    return;
  }
  _profilesDoc.SaveToFile(file);
  _docOrigins[DOC_PROFILES] = DocOrigin::CREATED;
}

void Game::LoadStringsDoc() {
  LoadProgramFile(DOC_STRINGS, L"scripts/strings.xml", BuildStrings);
  if (_docOrigins[DOC_STRINGS] != DocOrigin::FILE) {
    return;
  }
  const std::wstring language = GetStringVar(L"language");
  if (language.empty()) {
    return;
  }
  static const wchar_t* const kLanguages[] = {L"english", L"french", L"german", L"japanese", L"spanish"};
  for (const wchar_t* known : kLanguages) {
    if (LLF::StrEqualNoCase(language, known)) {
      _separator = LLF::StrEqualNoCase(language, L"french") ? L' ' : L',';
      return;
    }
  }
}

bool Game::LoadConfigs() {
  struct Registry {
    DocIndex index;
    const wchar_t* file;
    const wchar_t* comment;
    const wchar_t* child;
  };
  static const Registry kRegistries[] = {
      {DOC_IMAGES, L"scripts/images.xml", kImagesComment, L"assets"},
      {DOC_SOUNDS, L"scripts/sounds.xml", kSoundsComment, L"assets"},
      {DOC_MUSICS, L"scripts/musics.xml", kMusicsComment, L"assets"},
      {DOC_FONTS, L"scripts/fonts.xml", kFontsComment, L"assets"},
      {DOC_STYLES, L"scripts/styles.xml", kStylesComment, L"styles"},
  };
  for (const Registry& registry : kRegistries) {
    LoadProgramFile(registry.index, registry.file,
                    [&registry](XmlDocEx& doc) { BuildRegistry(doc, registry.comment, registry.child); });
  }
  LoadProgramFile(DOC_SPLASH, L"scripts/splash.xml", BuildSplash);
  LoadConfigDoc();
  LoadProfilesDoc();

  LLF::XmlElement* config = ElementChild(_configDoc.GetRoot(), L"config");
  LLF::XmlElement* game = config ? ElementChild(config, L"game") : nullptr;
  if (const LLF::XmlAttribute* current =
          game ? game->GetAttribute(std::wstring(L"currentProfile")) : nullptr) {
    SetCurrentProfile(current->GetValue());
  }

  LoadStringsDoc();
  _appSettings.iconFile =
      _configDoc.GetRoot()->GetPathAttribute(L"config/info", L"icon", std::wstring(L"true")).GetValue();
  _appSettings.title = GetName();
  return true;
}

void Game::SaveUserDoc(DocIndex index, const std::wstring& path) {
  LLF::Log& log = LLF::Log::GetInstance();
  if (!CanSaveDoc(&Doc(index))) {
    log.Write(L"Error: SaveConfigs - " + path + L" is not saved: the file there can't be read.");
    return;
  }
  // What would not read back is never put in place of a readable file.
  LLF::XmlDoc check;
  if (!check.Parse(Doc(index).Serialize(L"UTF-8"))) {
    log.Write(L"Error: SaveConfigs - " + path + L" is not saved: its text does not read back.");
    return;
  }
  Doc(index).SaveToFile(path);
}

void Game::SaveConfigs() {
  SaveUserDoc(DOC_CONFIG, GetConfigPath());
  SaveUserDoc(DOC_PROFILES, GetProfilesPath());
}

std::wstring Game::GetStringVar(const std::wstring& name) {
  LLF::Log& log = LLF::Log::GetInstance();
  LLF::XmlElement* vars = _stringsDoc.GetRoot()->GetChildByPath(L"game/vars");
  if (!vars) {
    log.Write(L"Error: Can't find appropriate path to vars in strings.xml file.");
    return std::wstring();
  }
  for (int i = 0; i < vars->GetChildsCount(); ++i) {
    const LLF::XmlElement* var = vars->GetChild(i);
    if (var->GetAttribute(L"name", std::wstring()).GetValue() == name) {
      return var->GetAttribute(L"value", std::wstring()).GetValue();
    }
  }
  log.Write(L"Error: Can't find string var with name \"" + name + L"\"");
  return std::wstring();
}

// Profiles

LLF::XmlElement* Game::ProfilesElement(bool create) {
  LLF::XmlElement* root = _profilesDoc.GetRoot();
  return create ? ElementChildMade(root, L"profiles") : ElementChild(root, L"profiles");
}

LLF::XmlElement* Game::ConfigGameElement() {
  return ElementChildMade(ElementChildMade(_configDoc.GetRoot(), L"config"), L"game");
}

LLF::XmlElement* Game::FindProfile(const std::wstring& name) {
  LLF::XmlElement* profiles = ProfilesElement(false);
  if (!profiles) {
    return nullptr;
  }
  for (int i = 0; i < profiles->GetChildsCount(); ++i) {
    LLF::XmlElement* profile = profiles->GetChild(i);
    const LLF::XmlAttribute* profileName =
        profile->IsComment() ? nullptr : profile->GetAttribute(std::wstring(L"name"));
    if (profileName && profileName->GetValue() == name) {
      return profile;
    }
  }
  return nullptr;
}

LLF::XmlElement* Game::GetCurrentProfile() {
  return FindProfile(GetCurrentProfileName());
}

std::wstring Game::GetCurrentProfileName() const {
  return _currentProfileName;
}

std::vector<std::wstring> Game::GetProfileNames() {
  std::vector<std::wstring> names;
  if (LLF::XmlElement* profiles = ProfilesElement(false)) {
    for (int i = 0; i < profiles->GetChildsCount(); ++i) {
      LLF::XmlElement* profile = profiles->GetChild(i);
      if (const LLF::XmlAttribute* name =
              profile->IsComment() ? nullptr : profile->GetAttribute(std::wstring(L"name"))) {
        names.push_back(name->GetValue());
      }
    }
  }
  return names;
}

void Game::SetCurrentProfile(const std::wstring& name) {
  _currentProfileName = name;
  if (!name.empty() && !FindProfile(name)) {
    ProfilesElement(true)->AddChild(L"profile")->AddAttribute(L"name", name);
  }
  LLF::XmlElement* game = ConfigGameElement();
  if (LLF::XmlAttribute* current = game->GetAttribute(std::wstring(L"currentProfile"))) {
    current->SetValue(_currentProfileName);
  } else {
    game->AddAttribute(L"currentProfile", _currentProfileName);
  }
  SaveConfigs();
}

bool Game::DeleteProfile(const std::wstring& name) {
  LLF::XmlElement* profiles = ProfilesElement(false);
  if (!profiles) {
    return false;
  }
  for (int i = 0; i < profiles->GetChildsCount(); ++i) {
    LLF::XmlElement* profile = profiles->GetChild(i);
    const LLF::XmlAttribute* profileName =
        profile->IsComment() ? nullptr : profile->GetAttribute(std::wstring(L"name"));
    if (profileName && profileName->GetValue() == name) {
      return profiles->RemoveChild(i);
    }
  }
  return false;
}

}  // namespace HLF
