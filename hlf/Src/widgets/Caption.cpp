#include "widgets/Caption.h"

#include "font/Font.h"
#include "font/TextDrawParams.h"
#include "properties/TextProperty.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

bool IsWordChar(wchar_t c) {
  return c != L' ' && c != L'\n';
}

}  // namespace

std::vector<std::wstring> Caption::Wrap(const std::wstring& text, const LLF::Font& font,
                                        const LLF::TextDrawParams& params, int width) {
  std::vector<std::wstring> lines;
  // Measured with the drawing's own record, so a line is as wide here as
  // where it is placed and drawn.
  LLF::TextDrawParams measure = params;
  auto widthOf = [&](const std::wstring& line) {
    measure.text = line;
    return font.GetTextWidth(measure);
  };
  // Blanks at a line's end draw nothing but still count when the line is
  // centred or right-aligned: they stay only while the line fits.
  auto fitted = [&](std::wstring line) {
    if (widthOf(line) > width) {
      line.erase(line.find_last_not_of(L' ') + 1);
    }
    return line;
  };
  std::wstring rest = text;
  while (!rest.empty()) {
    bool wordBefore = false;
    size_t wordStart = std::wstring::npos;
    for (size_t i = 0; i <= rest.size(); ++i) {
      const bool atEnd = i == rest.size();
      if (!atEnd && IsWordChar(rest[i])) {
        if (wordStart == std::wstring::npos) {
          wordStart = i;
        }
        continue;
      }
      if (wordStart != std::wstring::npos) {
        // A word ends here. It goes on the next line when the line through
        // it would be wider than the field, unless it is the line's first:
        // a word wider than the field stays whole.
        if (wordBefore && widthOf(rest.substr(0, i)) > width) {
          std::wstring line = rest.substr(0, wordStart);
          line.erase(line.find_last_not_of(L' ') + 1);
          lines.push_back(line);
          rest.erase(0, wordStart);
          break;
        }
        wordBefore = true;
        wordStart = std::wstring::npos;
      }
      if (atEnd) {
        lines.push_back(fitted(rest));
        return lines;
      }
      if (rest[i] == L'\n') {
        lines.push_back(fitted(rest.substr(0, i)));
        rest.erase(0, i + 1);
        break;
      }
    }
    // Blanks that start a wrapped or new line are dropped.
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
    _lines = Wrap(_fullText, *font, text.GetDrawParams(), width);
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
