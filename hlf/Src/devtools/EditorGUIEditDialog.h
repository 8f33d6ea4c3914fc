#pragma once
// The editor's GUI layout editor: a column of New, Load and Close, and
// while a layout is edited a workspace over the whole window on the EDITOR
// layer (the column hidden meanwhile) whose controls, the layout's
// top-level controls, are shown whatever their flags and can be dragged.
// A right click on the workspace opens its menu (Add, Save, Exit), one on
// an element the element's (Add, Edit, Delete); Add lists every control
// class, Edit opens a property sheet whose edits apply at once.
//
// Elements carry "WSELEMENT_" before their names (saved without it); the
// inner parts of composite controls (a list box's bar, a scroll bar's and a
// slider's buttons) keep their own names and open no menu.
//
// A developer's layout file never loses content: top-level elements that
// are no controls (sections, includes, comments, unknown tags) are kept
// from the loaded file, each with a warning at load, and written back in
// their places; the file's own "vars" is written back unchanged (the
// include of the game's strings only when it had none); no editor panel is
// ever saved. The file is written whole; an existing one is first copied
// to "<name>.bak". Another existing file is replaced only after a question,
// a file that is no XML never, and an empty name writes nothing. Exit after
// unsaved changes asks first. A variable in a number attribute can't be
// kept (it reads as 0): a warning at load names it.
#include <memory>
#include <string>
#include <vector>

#include "dialogs/Dialog.h"
#include "math/Point.h"
#include "math/Vector2.h"

namespace LLF {
class XmlElement;
}

namespace HLF {

class Button;
class FileDialog;
class MessageDialog;

class EditorGUIEditDialog : public Dialog {
 public:
  // Names of the editor's own panels.
  static constexpr const wchar_t* kWorkspaceName = L"WORKSPACE";
  static constexpr const wchar_t* kWorkspaceMenuName = L"WORKSPACEMENU";
  static constexpr const wchar_t* kAddMenuName = L"WORKSPACEADDMENU";
  static constexpr const wchar_t* kPropertySheetName = L"PROPERTIESDIALOG";
  static constexpr const wchar_t* kPropertyEditPrefix = L"PROPGROUPEDIT*";

  EditorGUIEditDialog();

  LLF_KIND_OF(EditorGUIEditDialog, Dialog)
  // Stops listening to its buttons, and the workspace's controls and
  // panels to it.
  ~EditorGUIEditDialog() override;
  Control* CreateInstance() const override;
  // Binds "NewButton", "LoadButton" and "CloseButton" (each a Button); an
  // error line and false at the first one missing.
  bool OnCreated() override;
  // Enter and Escape do not close it; only its Close button does.
  void OnOk() override {}
  void OnCancel() override {}
  bool OnMessage(LLF::Message* msg) override;

  virtual Button* GetNewButton() const { return _newButton; }
  virtual Button* GetLoadButton() const { return _loadButton; }
  virtual Button* GetCloseButton() const { return _closeButton; }
  // Renames the control and its children (not the inner parts of
  // composites) as workspace elements listening to this dialog only.
  virtual void PrepareWorkspaceElement(Control* control);
  // A new, empty workspace over the window on the EDITOR layer. True.
  virtual bool CreateWorkspace();
  virtual void DeleteWorkspace();
  virtual bool ShowWorkspaceMenu(Control* target, const LLF::Vector2& point);
  virtual void CloseWorkspaceMenu();
  virtual bool ShowAddMenu(Control* parent, const LLF::Vector2& point);
  virtual void CloseAddMenu();
  virtual bool ShowPropertySheet(Control* parent, const LLF::Vector2& point);
  virtual void ClosePropertySheet();
  virtual bool HandleWorkspaceMenu(LLF::Message& msg);
  virtual bool HandleAddMenu(LLF::Message& msg);
  virtual bool HandlePropertySheet(LLF::Message& msg);

  // Reads a layout file into a new workspace; false, with an error line,
  // when it can't be read or its root is not "game" (the empty workspace
  // stays).
  bool LoadLayout(const std::wstring& path);
  // Saves the workspace to path as the Save dialog's OK does: asks before
  // replacing another existing file (true, nothing written yet). False,
  // with a log line, when nothing is or will be written.
  bool SaveLayout(const std::wstring& path);
  // The layout as it would be saved.
  std::wstring LayoutText();

  Control* GetWorkspace() const { return _workspace; }
  Control* GetSelectedElement() const { return _selected; }
  Dialog* GetWorkspaceMenu() const { return _workspaceMenu; }
  Dialog* GetAddMenu() const { return _addMenu; }
  Dialog* GetPropertySheet() const { return _propertySheet; }
  FileDialog* GetFileDialog() const { return _fileDialog; }
  MessageDialog* GetConfirmDialog() const { return _confirmDialog; }
  // The file the workspace was loaded from or last saved to.
  const std::wstring& GetLayoutFile() const { return _layoutFile; }
  bool HasUnsavedChanges() const { return _dirty; }

 private:
  enum class Pending { NONE, REPLACE, EXIT };

  // A top-level element of the loaded file that is no control, with the
  // number of controls before it.
  struct KeptElement {
    std::unique_ptr<LLF::XmlElement> element;
    int controlsBefore = 0;
  };

  void OpenLoadDialog();
  void OpenSaveDialog();
  void RightClick(const LLF::Message& msg);
  void AddControl(const std::wstring& tag, Control* parent, const LLF::Vector2& position);
  void DeleteSelected();
  void Exit();
  // Writes the layout to path (a copy of an existing file first); false,
  // with an error line, when that fails.
  bool Write(const std::wstring& path);
  void Ask(const std::wstring& question, Pending pending);
  // Drops every field that points into control (or at it), which is about
  // to go.
  void ForgetInside(const Control* control);
  // The editor's panels among the workspace's children.
  bool IsPanel(const Control* control) const;
  Button* MakeButton(const wchar_t* name, const wchar_t* text, int y);
  void ResetLayoutState();

  Button* _newButton = nullptr;
  Button* _loadButton = nullptr;
  Button* _closeButton = nullptr;
  Control* _workspace = nullptr;
  Control* _selected = nullptr;
  Dialog* _workspaceMenu = nullptr;
  Dialog* _addMenu = nullptr;
  Dialog* _propertySheet = nullptr;
  FileDialog* _fileDialog = nullptr;
  MessageDialog* _confirmDialog = nullptr;
  Pending _pending = Pending::NONE;
  std::wstring _pendingPath;
  std::vector<KeptElement> _kept;
  // Comments around the file's root element.
  std::vector<std::unique_ptr<LLF::XmlElement>> _outerBefore;
  std::vector<std::unique_ptr<LLF::XmlElement>> _outerAfter;
  bool _hadVars = false;
  std::wstring _layoutFile;
  bool _dirty = false;
};

}  // namespace HLF
