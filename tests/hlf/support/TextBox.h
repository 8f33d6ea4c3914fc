#pragma once
// A control with a text, as labels and buttons mix it in: it draws its
// lines (or, with none set, its one text) under its own transform, then its
// children, and reads the control's attributes and then the text's.
#include <string>
#include <vector>

#include "Control.h"
#include "IRenderSystem.h"
#include "TextProperty.h"

namespace QmTest {

class TextBox : public HLF::Control, public HLF::TextProperty {
 public:
  TextBox() { TextProperty::SetOwner(this); }
  LLF_KIND_OF2(TextBox, Control, TextProperty)

  void SetMouse(bool over, bool pressed) {
    _mouseOver = over;
    _pressed = pressed;
  }

  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override {
    if (!rs || !IsShown()) {
      return;
    }
    LLF::Transform context(ComputeTransform(), _alpha);
    if (parent) {
      context = context.CombinedWith(*parent);
    }
    rs->PushTransform(context.matrix);
    if (lines.empty()) {
      DrawText(rs, context);
    } else {
      DrawLines(rs, context, lines, interval);
    }
    rs->PopTransform();
    RenderChilds(rs, context);
  }

  bool LoadFromXml(LLF::XmlElement& element) override {
    return Control::LoadFromXml(element) && LoadTextProps(element);
  }

  std::vector<std::wstring> lines;
  int interval = 0;
};

}  // namespace QmTest
