#pragma once
// The text property of a control that shows a caption (a button, a label):
// the caption as set, line breaks included, laid out again for the owner's
// width less its sides offset whenever its text, font, wrapping or line
// interval changes. The owner draws it with DrawCaption under its pushed
// transform.
#include <string>
#include <vector>

#include "properties/PropertyGroup.h"
#include "properties/TextProperty.h"
#include "widgets/Caption.h"

namespace HLF {

class CaptionedText : public TextProperty {
 public:
  bool IsKindOf(const std::string& className) const override { return TextProperty::IsKindOf(className); }

  // The caption as set; laid out again.
  void SetText(const std::wstring& text) override;
  // Each lays the caption out again when the font was set.
  bool SetFont(const std::wstring& name) override;
  bool SetFontObject(LLF::Font* font) override;

  virtual bool IsMultiline() const { return _caption.IsMultiline(); }
  virtual int GetInterval() const { return _caption.GetInterval(); }
  virtual void SetMultiline(bool multiline);
  virtual void SetInterval(int interval);
  // Lays the caption out for the owner's width less its sides offset (0
  // without an owner).
  virtual void UpdateLines();

  // The caption with its line breaks, and its wrapped lines.
  const std::wstring& GetFullText() const { return _caption.GetFullText(); }
  const std::vector<std::wstring>& GetLines() const { return _caption.GetLines(); }

 protected:
  // The text page, its "Text" row showing the caption with its line breaks.
  PropertyGroup GetCaptionGroup();
  // In multiline mode the text's own value is only the line drawn last: the
  // saved element takes the full caption instead.
  void SaveFullText(LLF::XmlElement& element, const CaptionedText& reference) const;
  void DrawCaption(LLF::IRenderSystem* rs, const LLF::Transform& context) {
    _caption.Draw(*this, rs, context);
  }
  Caption& GetCaption() { return _caption; }
  const Caption& GetCaption() const { return _caption; }

 private:
  Caption _caption;
};

}  // namespace HLF
