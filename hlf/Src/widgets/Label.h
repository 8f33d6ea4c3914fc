#pragma once
// The text control, the XML element "label": a caption on one line or
// word-wrapped over several, drawn by its text property, with no image. A
// press on it released on it sends code 10 with its name and plays its
// sound "soundName"; Control's own codes go out besides (5, 6, 7 and the
// drag codes). Drags starting on it go to its parent unless told
// otherwise. Unlike a button it lays its lines out again whenever its size
// or sides offset changes. A label that cannot take messages (disabled,
// hidden) keeps those offered to it, so nothing beneath it gets them.
//
// XML attributes: Control's, the sounds', the text's, then "multiline" and
// "interval" (extra pixels between wrapped lines). Saved, a multiline
// caption keeps its line breaks.
//
// Editor: Control's page, "Label properties" ("Multiline", "Interval"),
// then the pages of the text (whose "Text" row shows the caption with its
// line breaks) and the sounds.
#include <string>
#include <vector>

#include "model/Control.h"
#include "properties/SoundProperty.h"
#include "widgets/CaptionedText.h"

namespace HLF {

template <class Owner>
class PropertyTable;

// The code a label sends when it is clicked.
enum LabelMessageCode { LABEL_MSG_CLICKED = 10 };

class Label : public Control, public CaptionedText, public SoundProperty {
 public:
  Label();
  // The caption is laid out at once.
  Label(const std::wstring& name, const std::wstring& caption);

  bool IsKindOf(const std::string& className) const override {
    return className == "Label" || Control::IsKindOf(className) || CaptionedText::IsKindOf(className) ||
           SoundProperty::IsKindOf(className);
  }
  ~Label() override = default;
  // "Label: Name: " name " Text: " text.
  std::wstring Dump() const override;
  // The size, then the lines laid out for it (both forms).
  using Control::SetSize;
  void SetSize(int width, int height) override;
  // The sides offset narrows the field the lines wrap in: laid out again.
  void SetSidesOffset(const LLF::Rect& offset) override;
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  // A label that cannot take messages reports them taken.
  bool ProcessMessage(const LLF::Message& msg) override;
  // After a press on the label: code 10, the sound "soundName"; then
  // Control's handling (code 7).
  void OnMouseUp(const LLF::Message& msg) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;

 private:
  static const PropertyTable<Label>& Properties();
  void InitDefaults();
};

}  // namespace HLF
