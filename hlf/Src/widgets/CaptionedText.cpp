#include "widgets/CaptionedText.h"

namespace HLF {

void CaptionedText::SetText(const std::wstring& text) {
  _caption.SetFullText(text);
  TextProperty::SetText(text);
  UpdateLines();
}

bool CaptionedText::SetFont(const std::wstring& name) {
  const bool set = TextProperty::SetFont(name);
  if (set) {
    UpdateLines();
  }
  return set;
}

bool CaptionedText::SetFontObject(LLF::Font* font) {
  const bool set = TextProperty::SetFontObject(font);
  if (set) {
    UpdateLines();
  }
  return set;
}

void CaptionedText::SetMultiline(bool multiline) {
  _caption.SetMultiline(multiline);
  UpdateLines();
}

void CaptionedText::SetInterval(int interval) {
  _caption.SetInterval(interval);
  UpdateLines();
}

void CaptionedText::UpdateLines() {
  // Wrapped for the width the lines are aligned in, not the control's.
  _caption.Update(*this, GetBoxWidth());
}

PropertyGroup CaptionedText::GetCaptionGroup() {
  PropertyGroup text = TextProperty::GetPropertyGroup();
  for (PropertyEntry& entry : text.entries) {
    if (entry.label == L"Text") {
      entry.value = _caption.GetFullText();
    }
  }
  return text;
}

void CaptionedText::SaveFullText(LLF::XmlElement& element, const CaptionedText& reference) const {
  _caption.SaveFullText(element, reference._caption);
}

}  // namespace HLF
