#pragma once
// The base of every dialog, the XML element "dialog": a draggable control
// with a frame image, optional OK and Cancel buttons (the children named
// "OkButton" and "CancelButton", when they are buttons) that Enter and
// Escape release, a darkened background behind it, show and hide effects
// started when it is loaded, and at most one child dialog that blocks it
// while open (no keys, no dragging, and of its children only the child
// dialog gets messages).
//
// Result: OK or Cancel sends each receiver one message, code 10, parameter
// 0 and text "OK" or parameter 1 and text "CANCEL"; then the dialog leaves
// its parent and is deleted at the game shell's next safe point (its own
// button is still sending its click when it closes). Once it has sent its
// result a dialog ignores further OK and Cancel, so a click and Enter in
// one frame give one result. A dialog without a parent cannot close.
//
// Input: a click inside its rectangle is taken even where no child lies;
// one outside it and its children passes on to the controls beneath.
//
// XML attributes: the image's, then Control's (so "size" wins over the
// image's cell size), then "effectsFile" with "showEffect" and
// "hideEffect" (the names are read only with the file),
// "fadeBackground" and "fadeBackgroundColor". A frame image of 3 x 3 cells
// is drawn as a nine-slice frame over the dialog's size; saved, it leaves
// out "imageLoop" and "imageCell".
//
// Editor: Control's page, "Dialog properties" ("Effect file", "Show
// effect", "Hide effect", "Fade background", "Fade color"), then the
// image's.
//
// Subclasses call OnCreated last from their own creation hook and
// LoadFromXml last from their own reader, and find their required
// children with RequireChild.
#include <string>
#include <vector>

#include "math/Color.h"
#include "model/Control.h"
#include "properties/ImageProperty.h"

namespace HLF {

class Button;
class Effect;
template <class Owner>
class PropertyTable;

// The result a dialog sends to its receivers.
enum DialogMessageCode { DIALOG_MSG_RESULT = 10 };
enum DialogResult { DIALOG_RESULT_OK = 0, DIALOG_RESULT_CANCEL = 1 };

class Dialog : public Control, public ImageProperty {
 public:
  Dialog();
  explicit Dialog(const std::wstring& name);

  LLF_KIND_OF2(Dialog, Control, ImageProperty)
  // Unhooks the dialog from its buttons, and unblocks the dialog that
  // opened it.
  ~Dialog() override;
  // "Dialog: Name: " and the name.
  std::wstring Dump() const override;
  // False while a child dialog is open.
  bool IsDraggable() const override;
  void SetVisible(bool visible) override;
  // Background, frame and children; no fill of its own.
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  // Enter and Escape, then the children and the dialog itself. A dialog
  // that cannot take messages reports them taken.
  bool ProcessMessage(const LLF::Message& msg) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  // Unlike Control's: the children's visibility, insets and fine hit tests
  // do not count, and while a child dialog is open only it is asked.
  bool ProcessMessageChilds(const LLF::Message& msg) override;
  Control* CreateInstance() const override;
  // Binds the OK and Cancel buttons. True.
  bool OnCreated() override;
  // A child deleted here stops being the OK or Cancel button or the child
  // dialog.
  bool DeleteChild(int index, bool del) override;

  // The open child dialog, or null.
  virtual Dialog* GetChildDialog() const { return OpenChildDialog(); }
  virtual bool IsFadeBackground() const { return _fadeBackground; }
  virtual LLF::Color GetFadeBackgroundColor() const { return _fadeBackgroundColor; }
  virtual Button* GetOkButton() const { return _okButton; }
  virtual Button* GetCancelButton() const { return _cancelButton; }
  virtual void GetEffects(std::wstring& file, std::wstring& showEffect, std::wstring& hideEffect) const;
  // Records the three names and starts the named effects of the file (an
  // empty name makes none) with the dialog as their receiver.
  virtual void SetEffects(const std::wstring& file, const std::wstring& showEffect,
                          const std::wstring& hideEffect);
  // Adds and starts each effect that is not null, the first first.
  virtual void StartEffects(Effect* first, Effect* second);
  virtual void SetFadeBackground(bool fade) { _fadeBackground = fade; }
  virtual void SetFadeBackgroundColor(const LLF::Color& color) { _fadeBackgroundColor = color; }
  // Adds the dialog as the topmost child; once added it blocks this one
  // until it closes or is deleted.
  virtual bool ShowChildDialog(Dialog* dialog);
  // The result "OK" or "CANCEL", then the dialog goes; subclasses may
  // validate first.
  virtual void OnOk();
  virtual void OnCancel();
  // In the middle of the parent, or of the screen when the parent draws
  // nothing of its own.
  virtual void CenterOnParent();

  // The OK and Cancel buttons' clicks.
  bool OnMessage(LLF::Message* msg) override;

  // Whether the dialog has sent its result.
  bool IsClosing() const { return _closing; }

 protected:
  // A required child of a subclass: the last child of the name whose type
  // test answers className. Without one, logs "Error: <dialogName> dialog
  // must have control <childName> of class <className>." and gives null,
  // and the subclass's OnCreated fails.
  Control* RequireChild(const std::wstring& dialogName, const std::wstring& childName,
                        const std::string& className) const;
  template <class T>
  bool RequireChild(T*& out, const std::wstring& dialogName, const std::wstring& childName,
                    const std::string& className) const {
    out = dynamic_cast<T*>(RequireChild(dialogName, childName, className));
    return out != nullptr;
  }

  virtual void InitDefaults();

 private:
  static const PropertyTable<Dialog>& Properties();
  // Sends the result and leaves the parent for deferred deletion.
  void Close(int result, const wchar_t* text);
  // A click of the OK or Cancel button closes the dialog (true).
  bool TakeButtonClick(const LLF::Message& msg);
  // The button of that name, when it is a child button.
  Button* FindButton(const wchar_t* name) const;
  void UnhookButtons();
  // The child dialog while it is still among the children.
  Dialog* OpenChildDialog() const;
  void DrawFrame(LLF::IRenderSystem* rs, const LLF::Transform& context);

  std::wstring _effectsFile;
  std::wstring _showEffect;
  std::wstring _hideEffect;
  Button* _okButton = nullptr;
  Button* _cancelButton = nullptr;
  Dialog* _childDialog = nullptr;
  bool _fadeBackground = false;
  LLF::Color _fadeBackgroundColor = LLF::Color(0, 0, 0, 127);
  // The dialog this one blocks as its child dialog.
  Dialog* _opener = nullptr;
  bool _closing = false;
  // Cleared by the destructor while a result is being sent.
  bool* _alive = nullptr;
};

}  // namespace HLF
