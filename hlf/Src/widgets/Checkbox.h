#pragma once
// The check box, the XML element "checkbox": a button that keeps an on/off
// state, turned over by each click. Its image holds two loops of the
// button's four state cells, loop 0 unchecked and loop 1 checked. The
// control is the box: its caption is drawn beside it, outside its
// rectangle, so only the box takes the mouse. With the flag 4 of the box
// alignment the box stands at the right edge and the caption at the left;
// otherwise the box stands at the left and the caption starts 2 pixels
// past the right edge. Setting an image keeps the size the box has; a new
// size places box and caption again.
//
// Messages are the button's (10 pressed, 11 released, 12 clicked, each with
// the name); the state has already changed when 12 goes out.
//
// XML attributes: the button's, then "boxAlignment". The state is not
// saved; nor are the image's loop and cell, which the box sets itself.
//
// Editor: the button's pages, then "Checkbox properties" ("Box
// alignment").
#include <string>
#include <vector>

#include "widgets/Button.h"

namespace HLF {

template <class Owner>
class PropertyTable;

// The box alignment flag that puts the box at the right edge.
enum CheckboxAlignment { CHECKBOX_BOX_RIGHT = 4 };

class Checkbox : public Button {
 public:
  Checkbox();

  bool IsKindOf(const std::string& className) const override {
    return className == "Checkbox" || Button::IsKindOf(className);
  }
  ~Checkbox() override = default;
  // "Checkbox: Name: " and the name.
  std::wstring Dump() const override;
  // When the box can take messages: turned over, then the button's click.
  void OnClick(const LLF::Message& msg) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;
  // The size, then box and caption placed for it (both forms).
  using Button::SetSize;
  void SetSize(int width, int height) override;
  // The image property's setter, with the size put back and box and
  // caption placed again.
  bool SetImageObject(LLF::Image* image) override;

  virtual bool IsChecked() const { return _checked; }
  virtual int GetBoxAlignment() const { return _boxAlignment; }
  // Shows the loop of the state; sends nothing.
  virtual void SetChecked(bool checked);
  // Places the box and the caption for the control's width.
  virtual void SetBoxAlignment(int alignment);

 private:
  static const PropertyTable<Checkbox>& Properties();

  bool _checked = false;
  int _boxAlignment = 1;
};

}  // namespace HLF
