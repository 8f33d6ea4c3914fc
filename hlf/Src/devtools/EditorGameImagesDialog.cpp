#include "devtools/EditorGameImagesDialog.h"

#include <cwchar>

#include "core/Log.h"
#include "core/Message.h"
#include "devtools/Editor.h"
#include "devtools/EditorDialogLayouts.h"
#include "dialogs/ImageFileDialog.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "render/RendersManager.h"
#include "shell/Game.h"
#include "widgets/Button.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "widgets/StaticImage.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kClassName[] = L"EditorGameImagesDialog";

// The whole text as a whole number of at least 1; false otherwise.
bool ReadCount(const std::wstring& text, int& value) {
  if (text.empty() || text.size() > 9) {
    return false;
  }
  wchar_t* end = nullptr;
  const long read = std::wcstol(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || read < 1) {
    return false;
  }
  value = static_cast<int>(read);
  return true;
}

int CountOf(const LLF::XmlElement& entry, const wchar_t* name) {
  const LLF::XmlAttribute* attribute = entry.GetAttribute(std::wstring(name));
  int value = 1;
  if (!attribute || !ReadCount(attribute->GetValue(), value)) {
    return 1;
  }
  return value;
}

bool NoRender() {
  return LLF::RendersManager::GetInstance().GetCurrentRender() == nullptr;
}

}  // namespace

EditorGameImagesDialog::EditorGameImagesDialog()
    : EditorAssetsDialog(Kind{kClassName, L"images.xml", L"GetImagesConfig", L"image", L"ImagesListbox",
                              L"Enter new image ID:", EDITOR_LAYOUT_IMAGE_FILE}) {
  _tag = L"editorgameimagesdlg";
}

EditorGameImagesDialog::~EditorGameImagesDialog() {
  StopListening({_cellsEdit, _loopsEdit});
  DropPreview();
}

Control* EditorGameImagesDialog::CreateInstance() const {
  return new EditorGameImagesDialog();
}

bool EditorGameImagesDialog::OnCreated() {
  if (!BindList() || !RequireChild(_cellsLabel, kClassName, L"ImageCellsLabel", "Label") ||
      !RequireChild(_loopsLabel, kClassName, L"ImageLoopsLabel", "Label") ||
      !RequireChild(_idLabel, kClassName, L"ImageIDLabel", "Label") ||
      !RequireChild(_fileLabel, kClassName, L"ImageFileLabel", "Label") ||
      !RequireChild(_browseButton, kClassName, L"BrowseButton", "Button") ||
      !RequireChild(_cellsEdit, kClassName, L"CellsEdit", "Edit") ||
      !RequireChild(_loopsEdit, kClassName, L"LoopsEdit", "Edit") ||
      !RequireChild(_idEdit, kClassName, L"IDEdit", "Edit") ||
      !RequireChild(_fileEdit, kClassName, L"FileEdit", "Edit") ||
      !RequireChild(_previewImage, kClassName, L"PreviewImage", "StaticImage")) {
    return false;
  }
  _previewBox = _previewImage->GetSize();
  Listen({_cellsEdit, _loopsEdit});
  SetDetailsVisible(false);
  return Dialog::OnCreated();
}

void EditorGameImagesDialog::SetDetailsVisible(bool shown) {
  EditorAssetsDialog::SetDetailsVisible(shown);
  for (Control* control : std::initializer_list<Control*>{_cellsEdit, _loopsEdit, _previewImage, _cellsLabel,
                                                          _loopsLabel, _idLabel, _fileLabel}) {
    if (control) {
      control->SetVisible(shown);
    }
  }
}

XmlDocEx* EditorGameImagesDialog::Document() const {
  Game* game = Game::GetInstance();
  return game ? game->GetImagesDoc() : nullptr;
}

void EditorGameImagesDialog::SaveDocument() {
  Editor::GetInstance().SaveImages();
}

bool EditorGameImagesDialog::GetImageEntry(const std::wstring& group, const std::wstring& name,
                                           std::wstring& source, int& cells, int& loops) const {
  const LLF::XmlElement* entry = nullptr;
  if (!FindEntry(group, L"image", name,
                 L"Error: Game::GetInstance()->GetImagesConfig() returned NULL. No images.xml file defined.",
                 entry)) {
    return false;
  }
  if (entry) {
    const LLF::XmlAttribute* src = entry->GetAttribute(std::wstring(L"src"));
    source = src ? src->GetValue() : std::wstring();
    cells = CountOf(*entry, L"cells");
    loops = CountOf(*entry, L"loops");
  }
  return true;
}

bool EditorGameImagesDialog::ReadEntry(const std::wstring& group, const std::wstring& name) {
  return GetImageEntry(group, name, _source, _cells, _loops);
}

void EditorGameImagesDialog::DropPreview() {
  if (_previewImage && IndexOfChild(_previewImage) >= 0 && _previewImage->GetImage() == _preview) {
    _previewImage->SetImageObject(nullptr);
  }
  delete _preview;
  _preview = nullptr;
}

void EditorGameImagesDialog::ShowSelectedImage() {
  const std::wstring item = SelectedItem();
  if (item.empty()) {
    return;
  }
  DropPreview();
  _cellsEdit->SetText(std::to_wstring(_cells));
  _loopsEdit->SetText(std::to_wstring(_loops));
  _fileEdit->SetText(_source);
  _idEdit->SetText(item);
  const bool noRender = NoRender();
  _preview = _source.empty() ? nullptr
                             : LLF::ImagesManager::GetInstance().LoadImage(_source, kPreviewId, true, true);
  if (!_preview) {
    _previewImage->SetVisible(false);
    return;
  }
  _previewImage->SetVisible(true);
  _preview->SetCellsCount(static_cast<unsigned>(_cells), true);
  _preview->SetLoopsCount(static_cast<unsigned>(_loops), noRender);
  _previewImage->SetImageObject(_preview);
  const LLF::Point cell(static_cast<int>(_preview->GetCellWidth()),
                        static_cast<int>(_preview->GetCellHeight()));
  _previewImage->SetSize(cell);
  const float scale = ImageFileDialog::PreviewScale(_previewBox, cell);
  _previewImage->SetScale(LLF::Vector2(scale, scale));
}

void EditorGameImagesDialog::AddEntry(const std::wstring& name) {
  Editor::GetInstance().SetImage(_group, name, L"", L"Select image file", L"1", L"1");
}

bool EditorGameImagesDialog::UpdateEntry(const std::wstring& name, const std::wstring& newName) {
  int cells = 0;
  int loops = 0;
  if (!ReadCount(_cellsEdit->GetText(), cells) || !ReadCount(_loopsEdit->GetText(), loops)) {
    LLF::Log::GetInstance().Write(
        L"Warning: EditorGameImagesDialog - cells \"" + _cellsEdit->GetText() + L"\" and loops \"" +
        _loopsEdit->GetText() + L"\" must be whole numbers of at least 1; \"" + name + L"\" is not updated.");
    return false;
  }
  Editor::GetInstance().SetImage(_group, name, newName, _fileEdit->GetText(), std::to_wstring(cells),
                                 std::to_wstring(loops));
  return true;
}

bool EditorGameImagesDialog::OnDetailMessage(LLF::Message& msg) {
  if (msg.GetCode() != EDIT_MSG_TEXT || (msg.GetSender() != _cellsEdit && msg.GetSender() != _loopsEdit)) {
    return false;
  }
  Edit* edit = msg.GetSender() == _cellsEdit ? _cellsEdit : _loopsEdit;
  int value = 0;
  if (HasEntrySelected() && ReadCount(edit->GetText(), value)) {
    (edit == _cellsEdit ? _cells : _loops) = value;
    ShowSelectedImage();
  }
  return false;
}

}  // namespace HLF
