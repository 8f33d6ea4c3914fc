#include "dialogs/TutorialDialog.h"

#include <utility>

#include "core/Log.h"
#include "model/XmlDocEx.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

void WriteLog(const wchar_t* line) {
  LLF::Log::GetInstance().Write(line);
}

// One page: the labels and images of the element, in file order.
Control* MakePage(LLF::XmlElement& element, const LLF::Point& size) {
  Control* page = new Control();
  page->SetRenderable(false);
  page->SetSize(size);
  page->SetVisible(false);
  for (int i = 0; i < element.GetChildsCount(); ++i) {
    LLF::XmlElement* item = element.GetChild(i);
    if (!item || item->IsComment()) {
      continue;
    }
    Control* control = nullptr;
    if (item->GetName() == L"text") {
      control = new Label();
    } else if (item->GetName() == L"image") {
      control = new StaticImage();
    } else {
      continue;
    }
    // A part that does not load fully is still shown as far as it did.
    control->LoadFromXml(*item);
    page->AddChild(control);
  }
  return page;
}

}  // namespace

TutorialDialog::TutorialDialog() {
  _tag = L"tutorialdlg";
}

TutorialDialog::~TutorialDialog() {
  Unhook();
  _pages.clear();
}

void TutorialDialog::Unhook() {
  for (Button* button : {_prevButton, _nextButton}) {
    if (button && IndexOfChild(button) >= 0) {
      button->RemoveReceiver(this);
    }
  }
  _prevButton = nullptr;
  _nextButton = nullptr;
}

Control* TutorialDialog::CreateInstance() const {
  return new TutorialDialog();
}

bool TutorialDialog::LoadFromXml(LLF::XmlElement& element) {
  ClearPages();
  bool loaded = false;
  if (!Dialog::LoadFromXml(element)) {
    WriteLog(L"Error: Can't set dialog properties.");
  } else if (LLF::XmlElement* pages = element.FindChild(L"pages"); !pages || pages->IsComment()) {
    WriteLog(L"Error: Can't find <pages> section in TutorialDialog.");
  } else {
    for (int i = 0; i < pages->GetChildsCount(); ++i) {
      LLF::XmlElement* page = pages->GetChild(i);
      if (page && !page->IsComment() && page->GetName() == L"page") {
        Control* made = MakePage(*page, GetSize());
        _pages.push_back(made);
        AddChild(made);
      }
    }
    if (_pages.empty()) {
      WriteLog(L"Warning: TutorialDialog doesn't have tutorial pages.");
    } else {
      loaded = true;
    }
  }
  _currentPage = 0;
  if (loaded) {
    _pages[0]->SetVisible(true);
  }
  // Also after a failure: the buttons must not offer pages that are gone.
  UpdateButtons();
  return loaded;
}

bool TutorialDialog::OnCreated() {
  Unhook();
  Dialog::OnCreated();
  _prevButton = dynamic_cast<Button*>(GetChildByName(L"PrevButton"));
  _nextButton = dynamic_cast<Button*>(GetChildByName(L"NextButton"));
  for (Button* button : {_prevButton, _nextButton}) {
    if (button) {
      button->SetEnabled(false);
      button->AddReceiver(this);
    }
  }
  UpdateButtons();
  return true;
}

bool TutorialDialog::LoadFromFile(const std::wstring& path) {
  XmlDocEx doc;
  if (!doc.LoadFromFile(path)) {
    return false;
  }
  LLF::XmlElement* element = doc.GetDocumentElement();
  return element && LoadFromXml(*element);
}

bool TutorialDialog::ClearPages() {
  if (_pages.empty()) {
    return false;
  }
  const std::vector<Control*> pages = std::move(_pages);
  _pages.clear();
  _currentPage = 0;
  for (Control* page : pages) {
    RemoveChild(page, true);
  }
  return true;
}

void TutorialDialog::ShowPage(unsigned index) {
  if (index >= _pages.size()) {
    return;
  }
  if (_currentPage < _pages.size()) {
    _pages[_currentPage]->SetVisible(false);
  }
  _currentPage = index;
  _pages[_currentPage]->SetVisible(true);
  UpdateButtons();
}

void TutorialDialog::NextPage() {
  ShowPage(_currentPage + 1);
}

void TutorialDialog::PrevPage() {
  if (_currentPage > 0) {
    ShowPage(_currentPage - 1);
  }
}

void TutorialDialog::UpdateButtons() {
  Button* ok = GetOkButton();
  if (!ok || !_prevButton || !_nextButton) {
    return;
  }
  const bool paging = _pages.size() > 1;
  _prevButton->SetVisible(paging);
  _nextButton->SetVisible(paging);
  _prevButton->SetEnabled(!_pages.empty() && _currentPage > 0);
  _nextButton->SetEnabled(_currentPage + 1 < _pages.size());
  _prevButton->BringToFront();
  _nextButton->BringToFront();
  ok->BringToFront();
}

bool TutorialDialog::OnMessage(LLF::Message* msg) {
  if (msg && msg->GetCode() == BUTTON_MSG_CLICKED && msg->GetSender()) {
    const LLF::Object* sender = msg->GetSender();
    if (_nextButton && sender == static_cast<const LLF::Object*>(_nextButton)) {
      NextPage();
      return true;
    }
    if (_prevButton && sender == static_cast<const LLF::Object*>(_prevButton)) {
      PrevPage();
      return true;
    }
  }
  return Dialog::OnMessage(msg);
}

}  // namespace HLF
