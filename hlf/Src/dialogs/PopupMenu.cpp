#include "dialogs/PopupMenu.h"

#include <memory>

#include "model/EditorServices.h"
#include "model/GameServices.h"
#include "widgets/Listbox.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kListName[] = L"LISTMENU";
constexpr int kListHeight = 199;
constexpr int kChoiceCode = 11;

}  // namespace

PopupMenu::PopupMenu() {
  InitMenu({});
}

PopupMenu::~PopupMenu() {
  DetachList();
  // Forgetting, not SetFocus(nullptr): that would close the focused dialog,
  // which may be this one, half destroyed.
  if (GameServices* shell = GameServices::GetInstance()) {
    shell->ForgetControl(this);
  }
}

std::wstring PopupMenu::Dump() const {
  return L"PopupMenu: Name - " + GetName();
}

void PopupMenu::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  Dialog::Render(rs, parent);
}

bool PopupMenu::ProcessMessage(const LLF::Message& msg) {
  return Dialog::ProcessMessage(msg);
}

LLF::XmlElement* PopupMenu::SaveToXml() {
  LLF::XmlElement* element = Dialog::SaveToXml();
  // Control wrote one element per child, in order; the list is made again
  // by the constructor.
  const int index = IndexOfChild(_list);
  if (element && index >= 0 && index < element->GetChildsCount()) {
    element->RemoveChild(index);
  }
  return element;
}

Control* PopupMenu::CreateInstance() const {
  return new PopupMenu();
}

void PopupMenu::OnOk() {
  // A menu that cannot close (no parent) sends nothing either.
  if (_done || IsClosing() || !GetParent()) {
    return;
  }
  _done = true;
  LLF::Message message(this, DIALOG_MSG_RESULT, 0, 0, 0, std::wstring());
  Send(&message);
  Dialog::OnOk();
}

void PopupMenu::OnCancel() {
  OnOk();
}

void PopupMenu::FitToItems() {
  if (!_list) {
    return;
  }
  const unsigned count = _list->GetItemsCount();
  const unsigned row = static_cast<unsigned>(_list->GetRowHeight());
  if (count != 0 && count * row < static_cast<unsigned>(kListHeight)) {
    const int height = static_cast<int>(count * row) + 4;
    const int width = _list->GetSize().x;
    SetSize(width, height);
    _list->SetSize(width, height);
  }
}

bool PopupMenu::InitMenu(const std::vector<std::wstring>& items) {
  if (_list) {
    DetachList();
    RemoveChild(_list, true);
    _list = nullptr;
  }
  SetSize(200, 195);
  SetDraggable(false);
  _tag = L"popupmenu";
  _list = new Listbox(kListName);
  _list->AddReceiver(this);
  _list->SetSize(200, kListHeight);
  if (LLF::Font* font = EditorServices::GetEditorFont()) {
    _list->SetFontObject(font);
  }
  _list->SetItems(items);
  _list->SetInterval(5);
  AddChild(_list);
  FitToItems();
  return true;
}

void PopupMenu::DetachList() {
  if (_list && IndexOfChild(_list) >= 0) {
    _list->RemoveReceiver(this);
  }
}

bool PopupMenu::OnMessage(LLF::Message* msg) {
  if (msg && _list && msg->GetSender() == static_cast<LLF::Object*>(_list) &&
      msg->GetCode() == LISTBOX_MSG_SELECTED) {
    if (_done || IsClosing()) {
      return true;
    }
    LLF::Message choice(this, kChoiceCode, 0, 0, 0, _list->GetSelectedItem());
    Send(&choice);
    OnOk();
    return true;
  }
  return Dialog::OnMessage(msg);
}

}  // namespace HLF
