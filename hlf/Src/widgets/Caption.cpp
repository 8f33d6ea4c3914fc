#include "widgets/Caption.h"

#include "font/Font.h"
#include "font/TextDrawParams.h"
#include "properties/TextProperty.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

std::vector<std::wstring> Caption::Wrap(const std::wstring& text, const LLF::Font& font, int width) {
  std::vector<std::wstring> lines;
  LLF::TextDrawParams measure;
  std::wstring rest = text;
  while (!rest.empty()) {
    bool afterBlank = false;
    bool stopped = false;
    for (size_t i = 0; i < rest.size() && !stopped; ++i) {
      const wchar_t c = rest[i];
      if (c == L'\n') {
        lines.push_back(rest.substr(0, i));
        rest.erase(0, i + 1);
        stopped = true;
      } else if (c == L' ') {
        afterBlank = true;
      } else if (afterBlank) {
        // A word starts here: the text before it decides whether it still
        // fits on the line.
        measure.text = rest.substr(0, i);
        if (font.GetTextWidth(measure) >= width) {
          lines.push_back(rest.substr(0, i - 1));
          rest.erase(0, i - 1);
          stopped = true;
        } else {
          afterBlank = false;
        }
      }
    }
    if (!stopped) {
      lines.push_back(rest);
      break;
    }
    // A break leaves at least the blank before the word, so every pass
    // takes something off.
    const size_t start = rest.find_first_not_of(L' ');
    rest.erase(0, start == std::wstring::npos ? rest.size() : start);
  }
  return lines;
}

void Caption::Update(TextProperty& text, int width) {
  _lines.clear();
  if (!_multiline) {
    text.TextProperty::SetText(_fullText);
    return;
  }
  if (const LLF::Font* font = text.GetFont()) {
    _lines = Wrap(_fullText, *font, width);
  }
}

void Caption::Draw(TextProperty& text, LLF::IRenderSystem* rs, const LLF::Transform& context) const {
  if (!_multiline) {
    text.DrawText(rs, context);
  } else if (_lines.size() == 1) {
    text.TextProperty::SetText(_lines.front());
    text.DrawText(rs, context);
  } else {
    text.DrawLines(rs, context, _lines, _interval);
  }
}

void Caption::SaveFullText(LLF::XmlElement& element, const Caption& reference) const {
  if (!_multiline) {
    return;
  }
  if (LLF::XmlAttribute* saved = element.GetAttribute(std::wstring(L"text"))) {
    saved->SetValue(_fullText);
  } else if (_fullText != reference._fullText) {
    element.AddAttribute(std::wstring(L"text"), _fullText);
  }
}

}  // namespace HLF
