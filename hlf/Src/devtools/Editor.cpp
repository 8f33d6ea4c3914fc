#include "devtools/Editor.h"

#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "devtools/EditorDialogLayouts.h"
#include "devtools/EditorGUIEditDialog.h"
#include "devtools/EditorGameFontsDialog.h"
#include "devtools/EditorGameImagesDialog.h"
#include "devtools/EditorGameSoundsDialog.h"
#include "devtools/EditorGameStringsDialog.h"
#include "devtools/EditorMainDialog.h"
#include "font/Font.h"
#include "font/FontsManager.h"
#include "io/TextFile.h"
#include "math/Point.h"
#include "model/ControlFactory.h"
#include "render/RendersManager.h"
#include "shell/Game.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

LLF::Log& TheLog() {
  return LLF::Log::GetInstance();
}

// The attribute's value, the attribute added at the end when missing.
void SetAttribute(LLF::XmlElement& element, const std::wstring& name, const std::wstring& value) {
  if (LLF::XmlAttribute* attribute = element.GetAttribute(name)) {
    attribute->SetValue(value);
  } else {
    element.AddAttribute(name, value);
  }
}

std::wstring NameOf(LLF::XmlElement& element) {
  const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(L"name"));
  return attribute ? attribute->GetValue() : std::wstring();
}

// The first child element of that element name whose "name" is name.
LLF::XmlElement* FindEntry(LLF::XmlElement& parent, const std::wstring& elementName,
                           const std::wstring& name) {
  for (int i = 0; i < parent.GetChildsCount(); ++i) {
    LLF::XmlElement* child = parent.GetChild(i);
    if (child && child->GetName() == elementName && NameOf(*child) == name) {
      return child;
    }
  }
  return nullptr;
}

Control* Layer(bool editor) {
  Game* game = Game::GetInstance();
  if (!game) {
    return nullptr;
  }
  return editor ? game->GetEditorLayer() : game->GetGameLayer();
}

bool HasPrototype(const std::wstring& tag) {
  ControlFactory& factory = ControlFactory::GetInstance();
  for (int i = 0; i < factory.GetPrototypesCount(); ++i) {
    if (factory.GetPrototype(i)->GetTypeName() == tag) {
      return true;
    }
  }
  return false;
}

}  // namespace

Editor::~Editor() {
  delete _font;
}

EditorServices* Editor::Provide() {
  return &GetInstance();
}

LLF::Font* Editor::LoadFont(const std::wstring& file, int size) const {
  // Without a render system (tools, tests) the glyphs stay in memory.
  const bool noRender = LLF::RendersManager::GetInstance().GetCurrentRender() == nullptr;
  return LLF::FontsManager::GetInstance().LoadFont(file, size, kFontCharacters, std::wstring(), true,
                                                   noRender, LLF::Point(2, 2));
}

bool Editor::Init() {
  if (_initialized) {
    return true;
  }
  LLF::Font* font = LoadFont(kFontFile, 14);
  if (!font) {
    font = LoadFont(kFallbackFontFile, 10);
  }
  if (!font) {
    const std::wstring system = LLF::OS_GetSystemFontFile();
    if (!system.empty()) {
      font = LoadFont(system, 10);
    }
  }
  if (!font) {
    return false;
  }
  _font = font;
  _initialized = true;
  RegisterPrototypes();
  CreateMainDialog();
  return true;
}

void Editor::RegisterPrototypes() {
  // In this order as the classes come: the strings, images and sounds
  // dialogs, the main dialog, the layout editor, the fonts dialog. A tag
  // already there (a second Init) is not registered twice.
  ControlFactory& factory = ControlFactory::GetInstance();
  const auto add = [&factory](const wchar_t* tag, auto make) {
    if (!HasPrototype(tag)) {
      factory.Register(make());
    }
  };
  add(L"editorgamestringsdlg", [] { return new EditorGameStringsDialog(); });
  add(L"editorgameimagesdlg", [] { return new EditorGameImagesDialog(); });
  add(L"editorgamesoundsdlg", [] { return new EditorGameSoundsDialog(); });
  add(L"editormaindlg", [] { return new EditorMainDialog(); });
  add(L"editorguieditdlg", [] { return new EditorGUIEditDialog(); });
  add(L"editorgamefontsdlg", [] { return new EditorGameFontsDialog(); });
}

void Editor::CreateMainDialog() {
  Control* layer = Layer(true);
  if (!layer || layer->GetChildByName(L"MainEditorDlg")) {
    return;
  }
  Control* made =
      ControlFactory::GetInstance().LoadObjectFromXmlText(EditorDialogLayouts[EDITOR_LAYOUT_MAIN]);
  if (!made) {
    TheLog().Write(L"Error: Editor - the main editor dialog can't be created; the editor has no main panel.");
    return;
  }
  if (!layer->AddChild(made)) {
    delete made;
  }
}

void Editor::Shutdown() {
  if (!_initialized) {
    return;
  }
  delete _font;
  _font = nullptr;
  _initialized = false;
}

void Editor::Open() {
  if (_open || (!_initialized && !Init())) {
    return;
  }
  TheLog().WriteFormat(L"Opening editor...");
  if (Control* editor = Layer(true)) editor->SetVisible(true);
  if (Control* game = Layer(false)) game->SetVisible(false);
  _open = true;
}

void Editor::Close() {
  if (!_open) {
    return;
  }
  TheLog().WriteFormat(L"Closing editor...");
  if (Control* editor = Layer(true)) editor->SetVisible(false);
  if (Control* game = Layer(false)) game->SetVisible(true);
  _open = false;
}

bool Editor::SetStringVar(const std::wstring& name, const std::wstring& value, const std::wstring& newName) {
  Game* game = Game::GetInstance();
  XmlDocEx* doc = game ? game->GetStringsDoc() : nullptr;
  LLF::XmlElement* vars = doc ? doc->GetRoot()->GetChildByPath(L"game/vars") : nullptr;
  if (!vars) {
    TheLog().WriteFormat(L"Error: Can't find appropriate path to vars in strings.xml file.");
    return false;
  }
  if (LLF::XmlElement* entry = FindEntry(*vars, L"var", name)) {
    if (!newName.empty()) {
      SetAttribute(*entry, L"name", newName);
    }
    SetAttribute(*entry, L"value", value);
  } else {
    TheLog().Write(L"No var with name \"" + name + L"\" in strings list. Adding a new one with value \"" +
                   value + L"\"");
    LLF::XmlElement* added = vars->AddChild(L"var");
    added->AddAttribute(L"name", name);
    added->AddAttribute(L"value", value);
  }
  SaveStrings();
  return true;
}

void Editor::SaveStrings() {
  Game* game = Game::GetInstance();
  if (!game) {
    return;
  }
  // The shell reads the strings from their fixed file; the configuration's
  // language file is only reported when it names another, never written.
  if (XmlDocEx* config = game->GetConfigDoc()) {
    if (LLF::XmlElement* language = config->GetRoot()->GetChildByPath(L"config/game/language")) {
      const LLF::XmlAttribute* file = language->GetAttribute(std::wstring(L"file"));
      const std::wstring named = file ? file->GetValue() : std::wstring(kStringsFile);
      if (named != kStringsFile) {
        TheLog().Write(L"Warning: Editor - config/game/language names " + named +
                       L"; the strings are saved to " + kStringsFile + L", where they were read from.");
      }
    }
  }
  SaveDoc(game->GetStringsDoc(), kStringsFile);
}

bool Editor::SetImage(const std::wstring& asset, const std::wstring& name, const std::wstring& newName,
                      const std::wstring& src, const std::wstring& cells, const std::wstring& loops) {
  Game* game = Game::GetInstance();
  XmlDocEx* doc = game ? game->GetImagesDoc() : nullptr;
  if (!doc) {
    TheLog().WriteFormat(
        L"Error: Game::GetInstance()->GetImagesConfig() returned NULL. No images.xml file defined.");
    return false;
  }
  LLF::XmlElement* group = doc->GetRoot()->GetChildByPath(L"game/assets/" + asset);
  if (!group) {
    TheLog().Write(L"Error: Can't find path \"game/assets/" + asset + L"\" in images.xml file.");
    return false;
  }
  if (LLF::XmlElement* entry = FindEntry(*group, L"image", name)) {
    if (!newName.empty()) {
      SetAttribute(*entry, L"name", newName);
    }
    SetAttribute(*entry, L"src", src);
    SetAttribute(*entry, L"cells", cells);
    SetAttribute(*entry, L"loops", loops);
  } else {
    TheLog().Write(L"No image with name \"" + name + L"\" in images list in asset \"" + asset +
                   L"\". Adding a new one.");
    LLF::XmlElement* added = group->AddChild(L"image");
    added->AddAttribute(L"name", name);
    added->AddAttribute(L"src", src);
    added->AddAttribute(L"cells", cells);
    added->AddAttribute(L"loops", loops);
  }
  SaveImages();
  return true;
}

void Editor::SaveImages() {
  Game* game = Game::GetInstance();
  if (game) {
    SaveDoc(game->GetImagesDoc(), kImagesFile);
  }
}

bool Editor::SetSound(const std::wstring& asset, const std::wstring& name, const std::wstring& newName,
                      const std::wstring& src, float volume, bool looped) {
  Game* game = Game::GetInstance();
  XmlDocEx* doc = game ? game->GetSoundsDoc() : nullptr;
  if (!doc) {
    TheLog().WriteFormat(
        L"Error: Game::GetInstance()->GetSoundsConfig() returned NULL. No sounds.xml file defined.");
    return false;
  }
  LLF::XmlElement* group = doc->GetRoot()->GetChildByPath(L"game/assets/" + asset);
  if (!group) {
    TheLog().Write(L"Error: Can't find path \"game/assets/" + asset + L"\" in sounds.xml file.");
    return false;
  }
  const std::wstring volumeText = LLF::ToString(volume);
  const std::wstring loopedText = looped ? L"true" : L"false";
  if (LLF::XmlElement* entry = FindEntry(*group, L"sound", name)) {
    if (!newName.empty()) {
      SetAttribute(*entry, L"name", newName);
    }
    SetAttribute(*entry, L"src", src);
    SetAttribute(*entry, L"volume", volumeText);
    SetAttribute(*entry, L"looped", loopedText);
  } else {
    TheLog().Write(L"No sound with name \"" + name + L"\" in sounds list in asset \"" + asset +
                   L"\". Adding a new one.");
    LLF::XmlElement* added = group->AddChild(L"sound");
    added->AddAttribute(L"name", name);
    added->AddAttribute(L"src", src);
    added->AddAttribute(L"volume", volumeText);
    added->AddAttribute(L"looped", loopedText);
  }
  SaveSounds();
  return true;
}

void Editor::SaveSounds() {
  Game* game = Game::GetInstance();
  if (game) {
    SaveDoc(game->GetSoundsDoc(), kSoundsFile);
  }
}

bool Editor::SaveDoc(LLF::XmlDoc* doc, const std::wstring& file) {
  Game* game = Game::GetInstance();
  if (!doc || !game) {
    return false;
  }
  // Defaults standing in for a file that does not parse would wipe it.
  if (!game->CanSaveDoc(doc)) {
    TheLog().Write(L"Error: Editor - " + file + L" is not saved: the file there can't be read.");
    return false;
  }
  LLF::TextFile writer;
  if (!writer.WriteAll(file, doc->Serialize(L"UTF-8"), LLF::TextFile::ENCODING_UTF8)) {
    TheLog().Write(L"Error: Editor - can't write " + file + L"; the file there is unchanged.");
    return false;
  }
  return true;
}

}  // namespace HLF
