#pragma once
// A small menu, the XML element "popupmenu": a dialog holding one list box
// of choices, "LISTMENU", in the editor's font (without one the list shows
// no rows and takes no choice). Code fills it through GetList and then
// FitToItems; the opener usually gives it the game's focus, so that a
// click outside closes it.
//
// Messages to the receivers: a choice sends 11 with the row's text, then
// the menu closes through OnOk, which sends 10 with empty text and then the
// dialog's result 10 "OK"; Cancel takes the same path, so a menu never
// answers "CANCEL". Once it has begun to close, further OnOk and OnCancel
// (a focus loss right after a choice) send nothing. The menu is deleted at
// the shell's next safe point, after its list has finished with the input
// that made the choice.
//
// XML attributes: the dialog's. Items are not part of the XML, and the
// list is not written as a child (the constructor makes it again).
#include <string>
#include <vector>

#include "dialogs/Dialog.h"

namespace HLF {

class Listbox;

class PopupMenu : public Dialog {
 public:
  PopupMenu();

  LLF_KIND_OF(PopupMenu, Dialog)
  // Unhooks the list and drops the game's focus when the menu holds it.
  ~PopupMenu() override;
  // "PopupMenu: Name - " and the name.
  std::wstring Dump() const override;
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  bool ProcessMessage(const LLF::Message& msg) override;
  LLF::XmlElement* SaveToXml() override;
  Control* CreateInstance() const override;
  void OnOk() override;
  // The same as OnOk.
  void OnCancel() override;

  virtual Listbox* GetList() const { return _list; }
  // With items that fit in fewer than 199 pixels, the menu and the list
  // take their height plus 4; otherwise both keep their sizes.
  virtual void FitToItems();
  // A fresh 200 x 195 menu around a new list of the items. True.
  virtual bool InitMenu(const std::vector<std::wstring>& items);
  virtual void DetachList();

  // A selection reported by the list is the choice.
  bool OnMessage(LLF::Message* msg) override;

 private:
  Listbox* _list = nullptr;
  // Set once the menu has begun to close.
  bool _done = false;
};

}  // namespace HLF
