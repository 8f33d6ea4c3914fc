#pragma once
// A control with a text, as labels and buttons mix it in (element
// "textbox"): it draws its lines (or, with none set, its one text) under
// its own transform, then its children; reads and writes Control's
// attributes and then the text's; and offers Control's editor page, then
// the text's.
#include <memory>
#include <string>
#include <vector>

#include "model/Control.h"
#include "properties/TextProperty.h"
#include "render/IRenderSystem.h"
#include "xml/XmlElement.h"

namespace QmTest {

class TextBox : public HLF::Control, public HLF::TextProperty {
 public:
  TextBox() {
    _tag = L"textbox";
    TextProperty::SetOwner(this);
  }
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
  LLF::XmlElement* SaveToXml() override {
    LLF::XmlElement* element = Control::SaveToXml();
    SaveTextProps(*element, TextBox());
    return element;
  }
  void FillPropertyGrid(std::vector<HLF::PropertyGroup>& groups) override {
    Control::FillPropertyGrid(groups);
    groups.push_back(GetPropertyGroup());
  }
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override {
    if (page == L"Text properties") {
      return SetPropertyFromPage(label, value);
    }
    return Control::SetPropertyFromEditor(page, label, value);
  }
  Control* CreateInstance() const override { return new TextBox; }

  std::vector<std::wstring> lines;
  int interval = 0;
};

}  // namespace QmTest
