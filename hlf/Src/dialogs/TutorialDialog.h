#pragma once
// A dialog of tutorial pages shown one at a time, the XML element
// "tutorialdlg": the required child element "pages" holds one "page" per
// page, each of "text" elements (labels) and "image" elements (static
// images) placed relative to the dialog. "PrevButton" and "NextButton"
// page back and forth and "OkButton" (or Enter) closes it; there is no
// Cancel, so Escape does nothing. With fewer than two pages Prev and Next
// are hidden.
//
// A load that fails (no "pages", or no page in it) leaves no pages and
// Prev and Next disabled; paging never leaves the pages there are.
// LoadFromFile reloads the pages, and the dialog's attributes, from the
// first element of another file.
#include <string>
#include <vector>

#include "dialogs/Dialog.h"

namespace HLF {

class Button;

class TutorialDialog : public Dialog {
 public:
  TutorialDialog();

  LLF_KIND_OF(TutorialDialog, Dialog)
  ~TutorialDialog() override;
  // The dialog's attributes, then the pages; page 0 is shown.
  bool LoadFromXml(LLF::XmlElement& element) override;
  Control* CreateInstance() const override;
  // Binds the OK, Prev and Next buttons where they are; none is required.
  bool OnCreated() override;

  // False when the file cannot be read or its pages cannot be loaded.
  virtual bool LoadFromFile(const std::wstring& path);
  // Removes and deletes every page; false when there was none.
  virtual bool ClearPages();
  virtual void NextPage();
  virtual void PrevPage();
  virtual void UpdateButtons();

  // Prev and Next clicks; the OK button's goes to the dialog.
  bool OnMessage(LLF::Message* msg) override;

  unsigned GetCurrentPage() const { return _currentPage; }
  const std::vector<Control*>& GetPages() const { return _pages; }
  Button* GetPrevButton() const { return _prevButton; }
  Button* GetNextButton() const { return _nextButton; }

 private:
  void ShowPage(unsigned index);
  void Unhook();

  unsigned _currentPage = 0;
  // Children of the dialog too; destroyed with them.
  std::vector<Control*> _pages;
  Button* _prevButton = nullptr;
  Button* _nextButton = nullptr;
};

}  // namespace HLF
