#include "devtools/EditorGUIEditDialog.h"

#include <algorithm>

#include "app/AppSettings.h"
#include "app/Application.h"
#include "core/Log.h"
#include "core/Message.h"
#include "devtools/Editor.h"
#include "devtools/EditorDialogLayouts.h"
#include "dialogs/FileDialog.h"
#include "dialogs/MessageDialog.h"
#include "font/Font.h"
#include "font/TextDrawParams.h"
#include "io/File.h"
#include "io/TextFile.h"
#include "model/ControlFactory.h"
#include "model/EditorServices.h"
#include "properties/TextProperty.h"
#include "shell/Game.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kClassName[] = L"EditorGUIEditDialog";
const wchar_t kAddListName[] = L"CTRLSLIST";

LLF::Log& TheLog() {
  return LLF::Log::GetInstance();
}

bool From(const LLF::Message& msg, const LLF::Object* object) {
  return object && msg.GetSender() == object;
}

Control* EditorLayer() {
  Game* game = Game::GetInstance();
  return game ? game->GetEditorLayer() : nullptr;
}

LLF::Font* EditorFont() {
  return EditorServices::GetEditorFont();
}

bool IsInside(const Control* control, const Control* ancestor) {
  for (const Control* c = control; c; c = c->GetParent()) {
    if (c == ancestor) {
      return true;
    }
  }
  return false;
}

// One spelling per file: '/' for '\', no leading "./".
std::wstring Normalized(const std::wstring& path) {
  std::wstring result = path;
  std::replace(result.begin(), result.end(), L'\\', L'/');
  while (result.rfind(L"./", 0) == 0) {
    result.erase(0, 2);
  }
  return result;
}

// The inner parts of composite controls, which keep their names.
bool IsInnerPart(const Control* parent, const Control* child) {
  const std::wstring& name = child->GetName();
  if (parent->IsKindOf("Listbox")) {
    return name == L"LISTSCROLL" && child->IsKindOf("Scroll");
  }
  if (parent->IsKindOf("Scroll")) {
    return child->IsKindOf("Button") &&
           (name == L"THUMBBUTTON" || name == L"UPBUTTON" || name == L"DOWNBUTTON");
  }
  if (parent->IsKindOf("Slider")) {
    return child->IsKindOf("Button") && name == L"THUMBBUTTON";
  }
  return false;
}

// A "#name;" reference ("##" is a plain '#').
bool HasVariable(const std::wstring& value) {
  std::wstring rest = value;
  for (size_t at = rest.find(L"##"); at != std::wstring::npos; at = rest.find(L"##", at)) {
    rest.erase(at, 2);
  }
  const size_t hash = rest.find(L'#');
  return hash != std::wstring::npos && rest.find(L';', hash) != std::wstring::npos;
}

std::wstring AttributeText(const LLF::XmlElement& element, const std::wstring& name) {
  const LLF::XmlAttribute* attribute = element.GetAttribute(name);
  return attribute ? attribute->GetValue() : std::wstring();
}

// Names each attribute holding a variable that the control did not keep
// (a number reads "#x;" as 0), here and in the named children.
void WarnLostVariables(const LLF::XmlElement& original, const LLF::XmlElement& saved,
                       const std::wstring& file) {
  for (int i = 0; i < original.GetAttributesCount(); ++i) {
    const LLF::XmlAttribute* attribute = original.GetAttribute(i);
    if (!attribute || attribute->GetName() == L"style" || !HasVariable(attribute->GetValue())) {
      continue;
    }
    const std::wstring kept = AttributeText(saved, attribute->GetName());
    if (kept != attribute->GetValue()) {
      TheLog().Write(L"Warning: EditorGUIEditDialog - in " + file + L", " + attribute->GetName() + L"=\"" +
                     attribute->GetValue() + L"\" of <" + original.GetName() + L" name=\"" +
                     AttributeText(original, L"name") +
                     L"\"> refers to a variable that a number can't keep; it " + L"is saved as \"" + kept +
                     L"\".");
    }
  }
  for (int i = 0; i < original.GetChildsCount(); ++i) {
    const LLF::XmlElement* child = original.GetChild(i);
    const std::wstring name = AttributeText(*child, L"name");
    if (child->IsComment() || name.empty()) {
      continue;
    }
    for (int j = 0; j < saved.GetChildsCount(); ++j) {
      const LLF::XmlElement* match = saved.GetChild(j);
      if (match->GetName() == child->GetName() && AttributeText(*match, L"name") == name) {
        WarnLostVariables(*child, *match, file);
        break;
      }
    }
  }
}

// Every control of the subtree stops telling the dialog.
void Unhook(Control* control, LLF::MessageReceiver* receiver) {
  control->RemoveReceiver(receiver);
  for (int i = 0; i < control->GetChildsCount(); ++i) {
    Unhook(control->GetChild(i), receiver);
  }
}

LLF::Point WindowSize() {
  const LLF::Application* application = LLF::Application::GetInstance();
  const LLF::AppSettings settings = application ? application->GetSettings() : LLF::AppSettings();
  return LLF::Point(static_cast<int>(settings.width), static_cast<int>(settings.height));
}

// Moves a panel that would stick out of the window back inside it.
void KeepOnScreen(Control* panel) {
  const LLF::Point window = WindowSize();
  const LLF::Vector2 at = panel->GetAbsolutePosition();
  const LLF::Point size = panel->GetSize();
  float dx = std::min(0.0f, static_cast<float>(window.x - size.x) - at.x);
  float dy = std::min(0.0f, static_cast<float>(window.y - size.y) - at.y);
  dx = std::max(dx, -at.x);
  dy = std::max(dy, -at.y);
  if (dx != 0.0f || dy != 0.0f) {
    panel->SetPosition(panel->GetPosition() + LLF::Vector2(dx, dy));
  }
}

int TextHeight(LLF::Font* font, const std::wstring& text) {
  if (!font) {
    return 14;
  }
  LLF::TextDrawParams params;
  params.text = text;
  return font->GetTextHeight(params);
}

int TextWidth(LLF::Font* font, const std::wstring& text) {
  if (!font) {
    return static_cast<int>(text.size()) * 7;
  }
  LLF::TextDrawParams params;
  params.text = text;
  return font->GetTextWidth(params);
}

}  // namespace

EditorGUIEditDialog::EditorGUIEditDialog() : Dialog(L"GUIEditorDialog") {
  _tag = L"editorguieditdlg";
}

EditorGUIEditDialog::~EditorGUIEditDialog() {
  for (Button* button : {_newButton, _loadButton, _closeButton}) {
    if (button && IndexOfChild(button) >= 0) {
      button->RemoveReceiver(this);
    }
  }
  if (_fileDialog && IndexOfChild(_fileDialog) >= 0) {
    _fileDialog->RemoveReceiver(this);
  }
  // The workspace lives on in the layer when this dialog goes first.
  Control* layer = EditorLayer();
  if (_workspace && layer && layer->IndexOfChild(_workspace) >= 0) {
    Unhook(_workspace, this);
  }
}

Control* EditorGUIEditDialog::CreateInstance() const {
  return new EditorGUIEditDialog();
}

bool EditorGUIEditDialog::OnCreated() {
  if (!RequireChild(_newButton, kClassName, L"NewButton", "Button") ||
      !RequireChild(_loadButton, kClassName, L"LoadButton", "Button") ||
      !RequireChild(_closeButton, kClassName, L"CloseButton", "Button")) {
    return false;
  }
  for (Button* button : {_newButton, _loadButton, _closeButton}) {
    button->AddReceiver(this);
  }
  return Dialog::OnCreated();
}

// ---------------------------------------------------------------------------
// The workspace

void EditorGUIEditDialog::ResetLayoutState() {
  _kept.clear();
  _outerBefore.clear();
  _outerAfter.clear();
  _hadVars = false;
  _layoutFile.clear();
  _dirty = false;
}

bool EditorGUIEditDialog::CreateWorkspace() {
  DeleteWorkspace();
  Control* layer = EditorLayer();
  if (!layer) {
    TheLog().Write(L"Error: EditorGUIEditDialog - there is no EDITOR layer for the workspace.");
    return false;
  }
  auto* workspace = new Control(kWorkspaceName);
  workspace->SetVisible(true);
  workspace->AddReceiver(this);
  workspace->SetDraggable(true);
  workspace->SetPosition(0.0f, 0.0f);
  workspace->SetSize(WindowSize());
  // Dark, so the controls' grey placeholders stand out.
  workspace->SetDefCtrlColor(LLF::Color(48, 48, 56, 255));
  if (!layer->AddChild(workspace)) {
    delete workspace;
    return false;
  }
  _workspace = workspace;
  return true;
}

void EditorGUIEditDialog::DeleteWorkspace() {
  if (_workspace) {
    ForgetInside(_workspace);
    Control* workspace = _workspace;
    _workspace = nullptr;
    if (Control* parent = workspace->GetParent()) {
      parent->RemoveChild(workspace, true);
    } else {
      delete workspace;
    }
  }
  ResetLayoutState();
}

void EditorGUIEditDialog::ForgetInside(const Control* control) {
  if (IsInside(_selected, control)) _selected = nullptr;
  if (IsInside(_workspaceMenu, control)) _workspaceMenu = nullptr;
  if (IsInside(_addMenu, control)) _addMenu = nullptr;
  if (IsInside(_propertySheet, control)) _propertySheet = nullptr;
  if (IsInside(_fileDialog, control)) _fileDialog = nullptr;
  if (IsInside(_confirmDialog, control)) {
    _confirmDialog = nullptr;
    _pending = Pending::NONE;
  }
}

bool EditorGUIEditDialog::IsPanel(const Control* control) const {
  if (control == _workspaceMenu || control == _addMenu || control == _propertySheet ||
      control == _fileDialog || control == _confirmDialog) {
    return true;
  }
  // A panel that is sending its result is still among the children.
  const auto* dialog = dynamic_cast<const Dialog*>(control);
  if (dialog && dialog->IsClosing()) {
    return true;
  }
  const std::wstring& name = control->GetName();
  return name == kWorkspaceMenuName || name == kAddMenuName || name == kPropertySheetName ||
         name == L"WorkSpace_SaveDialog" || name == L"WorkSpace_LoadDialog";
}

void EditorGUIEditDialog::PrepareWorkspaceElement(Control* control) {
  if (!control) {
    return;
  }
  control->SetName(Control::kWorkspaceMarker + control->GetName());
  control->RemoveAllReceivers();
  control->AddReceiver(this);
  for (int i = 0; i < control->GetChildsCount(); ++i) {
    Control* child = control->GetChild(i);
    if (!IsInnerPart(control, child)) {
      PrepareWorkspaceElement(child);
    }
  }
}

// ---------------------------------------------------------------------------
// Panels

Button* EditorGUIEditDialog::MakeButton(const wchar_t* name, const wchar_t* text, int y) {
  auto* button = new Button(name);
  button->SetText(text);
  button->SetFontObject(EditorFont());
  button->SetAlignment(18);
  button->SetSize(70, 25);
  button->SetPosition(5.0f, static_cast<float>(y));
  button->AddReceiver(this);
  return button;
}

bool EditorGUIEditDialog::ShowWorkspaceMenu(Control* target, const LLF::Vector2& point) {
  CloseWorkspaceMenu();
  if (!target) {
    return false;
  }
  auto* menu = new Dialog(kWorkspaceMenuName);
  menu->SetPosition(point);
  menu->SetSize(80, 95);
  if (!target->AddChild(menu)) {
    delete menu;
    return false;
  }
  _workspaceMenu = menu;
  const bool onWorkspace = target == _workspace;
  menu->AddChild(MakeButton(L"ADD", L"Add", 5));
  menu->AddChild(onWorkspace ? MakeButton(L"SAVE", L"Save", 35) : MakeButton(L"EDIT", L"Edit", 35));
  menu->AddChild(onWorkspace ? MakeButton(L"EXIT", L"Exit", 65) : MakeButton(L"DELETE", L"Delete", 65));
  KeepOnScreen(menu);
  return true;
}

void EditorGUIEditDialog::CloseWorkspaceMenu() {
  if (Dialog* menu = _workspaceMenu) {
    _workspaceMenu = nullptr;
    if (Control* parent = menu->GetParent()) parent->RemoveChild(menu, true);
  }
}

bool EditorGUIEditDialog::ShowAddMenu(Control* parent, const LLF::Vector2& point) {
  CloseAddMenu();
  if (!parent) {
    return false;
  }
  auto* menu = new Dialog(kAddMenuName);
  menu->SetPosition(point);
  menu->SetSize(200, 350);
  if (!parent->AddChild(menu)) {
    delete menu;
    return false;
  }
  _addMenu = menu;
  auto* list = new Listbox(kAddListName);
  list->SetFontObject(EditorFont());
  list->SetPosition(5.0f, 10.0f);
  list->SetSize(190, 335);
  list->AddReceiver(this);
  std::vector<std::wstring> tags;
  ControlFactory& factory = ControlFactory::GetInstance();
  for (int i = 0; i < factory.GetPrototypesCount(); ++i) {
    tags.push_back(factory.GetPrototype(i)->GetTypeName());
  }
  list->SetItems(tags);
  menu->AddChild(list);
  KeepOnScreen(menu);
  return true;
}

void EditorGUIEditDialog::CloseAddMenu() {
  if (Dialog* menu = _addMenu) {
    _addMenu = nullptr;
    if (Control* parent = menu->GetParent()) parent->RemoveChild(menu, true);
  }
}

bool EditorGUIEditDialog::ShowPropertySheet(Control* parent, const LLF::Vector2& point) {
  ClosePropertySheet();
  if (!parent || !_selected) {
    return false;
  }
  auto* sheet = new Dialog(kPropertySheetName);
  sheet->SetPosition(point);
  sheet->SetSize(300, 5);
  if (!parent->AddChild(sheet)) {
    delete sheet;
    return false;
  }
  _propertySheet = sheet;
  std::vector<PropertyGroup> groups;
  _selected->FillPropertyGrid(groups);
  LLF::Font* font = EditorFont();
  const LLF::Color grey(127, 127, 127, 255);
  const std::wstring allowed = std::wstring(Editor::kFontCharacters) + L" ";
  int y = 5;
  for (const PropertyGroup& group : groups) {
    const int titleHeight = TextHeight(font, group.title);
    const int titleWidth = TextWidth(font, group.title);
    auto* title = new Label(L"", group.title);
    title->SetFontObject(font);
    title->SetSize(titleWidth, titleHeight);
    title->SetPosition(static_cast<float>(150 - titleWidth / 2), static_cast<float>(y));
    sheet->AddChild(title);
    y += titleHeight + 5;
    for (const PropertyEntry& entry : group.entries) {
      const int height = TextHeight(font, entry.label);
      auto* label = new Label(L"", entry.label);
      label->SetFontObject(font);
      label->SetSize(145, height);
      label->SetPosition(5.0f, static_cast<float>(y));
      sheet->AddChild(label);
      std::wstring value = entry.value;
      const size_t marker = value.find(Control::kWorkspaceMarker);
      if (marker != std::wstring::npos) {
        value.erase(marker, std::wstring(Control::kWorkspaceMarker).size());
      }
      auto* edit = new Edit(kPropertyEditPrefix + group.title + L"*" + entry.label, value);
      edit->SetFontObject(font);
      edit->SetAlignment(16);
      edit->SetStateColors(grey, grey, grey, grey);
      edit->SetSize(145, height);
      edit->SetPosition(150.0f, static_cast<float>(y));
      edit->SetAllowedChars(allowed);
      edit->AddReceiver(this);
      sheet->AddChild(edit);
      y += height + 5;
    }
    y += 5;
  }
  sheet->SetSize(300, y);
  KeepOnScreen(sheet);
  return true;
}

void EditorGUIEditDialog::ClosePropertySheet() {
  if (Dialog* sheet = _propertySheet) {
    _propertySheet = nullptr;
    if (Control* parent = sheet->GetParent()) parent->RemoveChild(sheet, true);
  }
}

// ---------------------------------------------------------------------------
// Messages

bool EditorGUIEditDialog::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return false;
  }
  const int code = msg->GetCode();
  if (IsVisible()) {
    if (code == DIALOG_MSG_RESULT && From(*msg, _fileDialog)) {
      FileDialog* dialog = _fileDialog;
      _fileDialog = nullptr;
      if (msg->GetParam() == DIALOG_RESULT_OK && dialog->GetNameEdit()) {
        LoadLayout(dialog->GetNameEdit()->GetText());
      }
      return true;
    }
    if (!CanProcessMessages()) {
      return true;
    }
    if (code == BUTTON_MSG_CLICKED) {
      if (From(*msg, _closeButton)) {
        Dialog::OnOk();
        return true;
      }
      if (From(*msg, _newButton)) {
        if (CreateWorkspace()) {
          SetVisible(false);
        }
        return true;
      }
      if (From(*msg, _loadButton)) {
        OpenLoadDialog();
      }
    }
    return Dialog::OnMessage(msg);
  }
  if (code == DIALOG_MSG_RESULT && From(*msg, _confirmDialog)) {
    const Pending pending = _pending;
    _confirmDialog = nullptr;
    _pending = Pending::NONE;
    if (msg->GetParam() == DIALOG_RESULT_OK) {
      if (pending == Pending::REPLACE) {
        Write(_pendingPath);
      } else if (pending == Pending::EXIT) {
        Exit();
      }
    }
    return true;
  }
  if (HandleWorkspaceMenu(*msg) || HandleAddMenu(*msg) || HandlePropertySheet(*msg)) {
    return true;
  }
  auto* sender = dynamic_cast<Control*>(msg->GetSender());
  if (code == CTRL_MSG_DRAG_END && sender && sender != _workspace && IsInside(sender, _workspace)) {
    _dirty = true;
  } else if (code == CTRL_MSG_CLICK && msg->GetParam() == 2) {
    RightClick(*msg);
  }
  return true;
}

void EditorGUIEditDialog::RightClick(const LLF::Message& msg) {
  auto* control = dynamic_cast<Control*>(msg.GetSender());
  if (!control || !_workspace || !IsInside(control, _workspace)) {
    return;
  }
  if (control != _workspace && control->GetName().find(Control::kWorkspaceMarker) == std::wstring::npos) {
    return;
  }
  const LLF::Vector2 point =
      LLF::Vector2(static_cast<float>(msg.GetPrimary()), static_cast<float>(msg.GetSecondary())) -
      control->GetAbsolutePosition();
  if (control != _selected) {
    // The sheet edits the selected element; it must not go on to the new one.
    ClosePropertySheet();
  }
  _selected = control;
  ShowWorkspaceMenu(control, point);
}

bool EditorGUIEditDialog::HandleWorkspaceMenu(LLF::Message& msg) {
  const int code = msg.GetCode();
  if (code == DIALOG_MSG_RESULT && From(msg, _fileDialog)) {
    FileDialog* dialog = _fileDialog;
    _fileDialog = nullptr;
    if (msg.GetParam() == DIALOG_RESULT_OK && _workspace && _workspace->IsVisible() &&
        dialog->GetNameEdit()) {
      SaveLayout(dialog->GetNameEdit()->GetText());
    }
    return true;
  }
  if (code != BUTTON_MSG_CLICKED || !_workspaceMenu) {
    return false;
  }
  auto* button = dynamic_cast<Control*>(msg.GetSender());
  if (!button || button->GetParent() != _workspaceMenu) {
    return false;
  }
  const std::wstring name = button->GetName();
  if (name == L"ADD") {
    Control* parent = _workspaceMenu->GetParent();
    const LLF::Vector2 position = _workspaceMenu->GetPosition();
    ShowAddMenu(parent, position);
    ClosePropertySheet();
    CloseWorkspaceMenu();
  } else if (name == L"EDIT") {
    CloseWorkspaceMenu();
    if (_selected && _workspace) {
      const LLF::Vector2 at = _selected->GetAbsolutePosition() - _workspace->GetAbsolutePosition();
      ShowPropertySheet(_workspace,
                        LLF::Vector2(at.x + static_cast<float>(_selected->GetSize().x) + 5.0f, at.y));
    }
  } else if (name == L"DELETE") {
    ClosePropertySheet();
    CloseWorkspaceMenu();
    DeleteSelected();
  } else if (name == L"SAVE") {
    ClosePropertySheet();
    CloseWorkspaceMenu();
    CloseAddMenu();
    OpenSaveDialog();
  } else if (name == L"EXIT") {
    ClosePropertySheet();
    CloseWorkspaceMenu();
    CloseAddMenu();
    if (_dirty) {
      Ask(L"Leave the layout without saving its changes?", Pending::EXIT);
    } else {
      Exit();
    }
  } else {
    return false;
  }
  return true;
}

bool EditorGUIEditDialog::HandleAddMenu(LLF::Message& msg) {
  if (msg.GetCode() != LISTBOX_MSG_DOUBLE_CLICK || !_addMenu) {
    return false;
  }
  auto* list = dynamic_cast<Listbox*>(msg.GetSender());
  if (!list || list->GetParent() != _addMenu || list->GetName() != kAddListName) {
    return false;
  }
  const std::wstring tag = list->GetSelectedItem();
  Control* parent = _addMenu->GetParent();
  const LLF::Vector2 position = _addMenu->GetPosition();
  CloseAddMenu();
  if (!tag.empty()) {
    AddControl(tag, parent, position);
  }
  return true;
}

bool EditorGUIEditDialog::HandlePropertySheet(LLF::Message& msg) {
  if (msg.GetCode() != EDIT_MSG_TEXT || (!_propertySheet && !_selected)) {
    return false;
  }
  auto* edit = dynamic_cast<Edit*>(msg.GetSender());
  if (!edit || edit->GetName().find(kPropertyEditPrefix) == std::wstring::npos) {
    return false;
  }
  // Only the open sheet's edits apply, and only to the element it shows.
  if (!_propertySheet || edit->GetParent() != _propertySheet || !_selected) {
    return true;
  }
  const std::wstring rest = edit->GetName().substr(std::wstring(kPropertyEditPrefix).size());
  const size_t star = rest.find(L'*');
  if (star == std::wstring::npos) {
    return true;
  }
  const std::wstring page = rest.substr(0, star);
  const std::wstring row = rest.substr(star + 1);
  std::wstring value = edit->GetText();
  if (page == L"Control properties" && row == L"Name") {
    value = Control::kWorkspaceMarker + value;
  }
  _selected->SetPropertyFromEditor(page, row, value);
  _dirty = true;
  return true;
}

// ---------------------------------------------------------------------------
// Actions

void EditorGUIEditDialog::OpenLoadDialog() {
  if (_fileDialog) {
    _fileDialog->BringToFront();
    return;
  }
  auto* dialog = dynamic_cast<FileDialog*>(CreateEditorDialog(EDITOR_LAYOUT_WORKSPACE_LOAD));
  if (!dialog) {
    return;
  }
  if (!ShowChildDialog(dialog)) {
    delete dialog;
    return;
  }
  _fileDialog = dialog;
  dialog->AddReceiver(this);
}

void EditorGUIEditDialog::OpenSaveDialog() {
  if (!_workspace) {
    return;
  }
  if (_fileDialog) {
    _fileDialog->BringToFront();
    return;
  }
  auto* dialog = dynamic_cast<FileDialog*>(CreateEditorDialog(EDITOR_LAYOUT_WORKSPACE_SAVE));
  if (!dialog) {
    return;
  }
  if (!_workspace->AddChild(dialog)) {
    delete dialog;
    return;
  }
  _fileDialog = dialog;
  dialog->AddReceiver(this);
  dialog->CenterOnParent();
  // On the screen, wherever the workspace was panned to.
  dialog->SetPosition(dialog->GetPosition() - _workspace->GetPosition());
  if (!_layoutFile.empty() && dialog->GetNameEdit()) {
    dialog->GetNameEdit()->SetText(_layoutFile);
  }
}

void EditorGUIEditDialog::Ask(const std::wstring& question, Pending pending) {
  if (_confirmDialog || !_workspace) {
    return;
  }
  auto* dialog = dynamic_cast<MessageDialog*>(CreateEditorDialog(EDITOR_LAYOUT_MESSAGE));
  if (!dialog) {
    return;
  }
  if (dialog->GetTextLabel()) {
    dialog->GetTextLabel()->SetText(question);
  }
  if (!_workspace->AddChild(dialog)) {
    delete dialog;
    return;
  }
  dialog->CenterOnParent();
  dialog->SetPosition(dialog->GetPosition() - _workspace->GetPosition());
  dialog->AddReceiver(this);
  _confirmDialog = dialog;
  _pending = pending;
}

void EditorGUIEditDialog::AddControl(const std::wstring& tag, Control* parent, const LLF::Vector2& position) {
  if (!parent) {
    return;
  }
  Control* made = ControlFactory::GetInstance().LoadObjectFromXmlText(L"<" + tag + L" />");
  if (!made) {
    return;
  }
  made->SetPosition(position);
  made->SetName(Control::kWorkspaceMarker);
  made->AddReceiver(this);
  if (auto* text = dynamic_cast<TextProperty*>(made)) {
    text->SetFontObject(EditorFont());
    text->SetText(L"Sample text");
  }
  if (!parent->AddChild(made)) {
    delete made;
    return;
  }
  _dirty = true;
}

void EditorGUIEditDialog::DeleteSelected() {
  Control* element = _selected;
  if (!element || element == _workspace || !element->GetParent()) {
    return;
  }
  ForgetInside(element);
  _selected = nullptr;
  element->GetParent()->RemoveChild(element, true);
  _dirty = true;
}

void EditorGUIEditDialog::Exit() {
  DeleteWorkspace();
  SetVisible(true);
}

// ---------------------------------------------------------------------------
// Files

bool EditorGUIEditDialog::LoadLayout(const std::wstring& path) {
  if (!CreateWorkspace()) {
    return false;
  }
  SetVisible(false);
  LLF::XmlDoc doc;
  const bool read = doc.LoadFromFile(path);
  LLF::XmlElement* root = doc.GetRoot();
  int rootIndex = -1;
  for (int i = 0; read && i < root->GetChildsCount(); ++i) {
    if (!root->GetChild(i)->IsComment()) {
      rootIndex = i;
      break;
    }
  }
  if (rootIndex < 0 || root->GetChild(rootIndex)->GetName() != L"game") {
    TheLog().WriteFormat(L"Error: GUI files should start with game element in the root.");
    return false;
  }
  for (int i = 0; i < root->GetChildsCount(); ++i) {
    if (i != rootIndex) {
      (i < rootIndex ? _outerBefore : _outerAfter)
          .push_back(std::make_unique<LLF::XmlElement>(*root->GetChild(i)));
    }
  }
  LLF::XmlElement* game = root->GetChild(rootIndex);
  ControlFactory& factory = ControlFactory::GetInstance();
  int controls = 0;
  for (int i = 0; i < game->GetChildsCount(); ++i) {
    LLF::XmlElement* child = game->GetChild(i);
    auto pristine = std::make_unique<LLF::XmlElement>(*child);
    Control* made = nullptr;
    if (child->IsComment()) {
      TheLog().Write(L"Warning: EditorGUIEditDialog - a comment in " + path +
                     L" is no control; it is kept and saved back in its place.");
    } else if (child->GetName() == L"vars") {
      _hadVars = true;
    } else {
      made = factory.CreateFrom(*child);
      if (!made) {
        TheLog().Write(L"Warning: EditorGUIEditDialog - <" + child->GetName() + L"> in " + path +
                       L" is no control; it is kept and saved back in its place.");
      }
    }
    if (!made) {
      _kept.push_back(KeptElement{std::move(pristine), controls});
      continue;
    }
    std::unique_ptr<LLF::XmlElement> saved(made->SaveToXml());
    if (saved) {
      WarnLostVariables(*pristine, *saved, path);
    }
    PrepareWorkspaceElement(made);
    if (!_workspace->AddChild(made)) {
      delete made;
      continue;
    }
    ++controls;
  }
  _layoutFile = Normalized(path);
  _dirty = false;
  return true;
}

std::wstring EditorGUIEditDialog::LayoutText() {
  LLF::XmlElement game(L"game");
  std::vector<Control*> controls;
  for (int i = 0; _workspace && i < _workspace->GetChildsCount(); ++i) {
    Control* child = _workspace->GetChild(i);
    if (!IsPanel(child)) {
      controls.push_back(child);
    }
  }
  size_t next = 0;
  const auto keptUpTo = [&](int count) {
    while (next < _kept.size() && _kept[next].controlsBefore <= count) {
      game.AddChild(_kept[next].element.get());
      ++next;
    }
  };
  keptUpTo(0);
  for (size_t k = 0; k < controls.size(); ++k) {
    std::unique_ptr<LLF::XmlElement> element(controls[k]->SaveToXml());
    if (element) {
      game.AddChild(element.get());
    }
    keptUpTo(static_cast<int>(k) + 1);
  }
  while (next < _kept.size()) {
    game.AddChild(_kept[next++].element.get());
  }
  if (!_hadVars) {
    LLF::XmlElement* include = game.AddChild(L"vars")->AddChild(L"include");
    include->AddAttribute(L"file", L"scripts/strings.xml");
    include->AddAttribute(L"path", L"game/vars");
  }
  std::wstring text;
  for (const auto& comment : _outerBefore) {
    text += comment->Serialize(L"");
  }
  text += game.Serialize(L"");
  for (const auto& comment : _outerAfter) {
    text += comment->Serialize(L"");
  }
  return text;
}

bool EditorGUIEditDialog::SaveLayout(const std::wstring& path) {
  if (path.empty()) {
    TheLog().Write(L"Warning: EditorGUIEditDialog - no file name was given; nothing is saved.");
    return false;
  }
  LLF::File probe;
  const bool exists = probe.OpenExisting(path, LLF::FILEOPS_READ);
  probe.Close();
  if (exists) {
    LLF::XmlDoc doc;
    if (!doc.LoadFromFile(path)) {
      TheLog().Write(L"Error: EditorGUIEditDialog - " + path +
                     L" is there and does not read as XML; it is not replaced by the layout.");
      return false;
    }
    if (Normalized(path) != _layoutFile) {
      _pendingPath = path;
      Ask(L"Replace " + path + L"?", Pending::REPLACE);
      return true;
    }
  }
  return Write(path);
}

bool EditorGUIEditDialog::Write(const std::wstring& path) {
  const std::wstring text = LayoutText();
  LLF::File source;
  if (source.OpenExisting(path, LLF::FILEOPS_READ)) {
    unsigned char* bytes = nullptr;
    unsigned size = 0;
    bool kept = source.ReadAll(bytes, size);
    source.Close();
    if (kept) {
      LLF::File backup;
      kept = backup.Open(path + L".bak", LLF::FILEOPS_READ_WRITE, LLF::FILEOPEN_NEW) &&
             (size == 0 || backup.Write(bytes, size) == size) && backup.Flush();
      backup.Close();
    }
    delete[] bytes;
    if (!kept) {
      TheLog().Write(L"Error: EditorGUIEditDialog - can't copy " + path + L" to " + path +
                     L".bak; the layout is not saved.");
      return false;
    }
  }
  LLF::TextFile writer;
  if (!writer.WriteAll(path, text, LLF::TextFile::ENCODING_UTF8)) {
    TheLog().Write(L"Error: EditorGUIEditDialog - can't write " + path + L"; the file there is unchanged.");
    return false;
  }
  TheLog().Write(L"EditorGUIEditDialog - the layout is saved to " + path + L".");
  _layoutFile = Normalized(path);
  _dirty = false;
  return true;
}

}  // namespace HLF
