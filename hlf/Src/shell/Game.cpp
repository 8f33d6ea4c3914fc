#include "shell/Game.h"

#include <ctime>
#include <filesystem>
#include <system_error>

#include "FrameworkPrototypes.h"
#include "app/AppWindow.h"
#include "core/Format.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "image/Image.h"
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
  const std::wstring title = GetStringVar(L"gamename");
  if (_appSettings.createWindow) {
    LLF::AppWindow::GetInstance().SetTitle(title.empty() ? GetName() : title);
  }
  if (!Application::PostInit(commandLine)) {
    return false;
  }
  // The custom cursor's asset list is loaded here, before the frame timer
  // starts, and the configured video mode, cursor and volumes are applied
  // last; both come with the video and cursor settings.
  _frameTimer.Start(false);
  return true;
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
    ImageDrawParams params;
    params.position = _mousePos;
    rs->DrawImage(_cursorImage, params);
  }
  rs->EndFrame();
}

void Game::OnRender(LLF::IRenderSystem* /*rs*/) {}

bool Game::OnMessage(LLF::Message* msg) {
  if (msg) {
    Control::DispatchScope scope;
    _rootCOntrol.ProcessMessage(*msg);
  }
  DeleteDeferred();
  return true;
}

void Game::OnShutdown() {
  delete _currentStateMachine;
  _currentStateMachine = nullptr;
  SaveConfigs();
  _frameTimer.Stop();
  // Whatever waits for deletion may belong to the layers: it goes first.
  DeleteDeferred();
  _rootCOntrol.RemoveChild(L"GAME", true);
  _rootCOntrol.RemoveChild(L"EDITOR", true);
  DeleteDeferred();
  ControlFactory::GetInstance().Clear();
  LLF::AppWindow& window = LLF::AppWindow::GetInstance();
  window.RemoveReceiver(&Console::GetInstance());
  window.RemoveReceiver(this);
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
  return _rootCOntrol.GetChildAtPoint(point);
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
