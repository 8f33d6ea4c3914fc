#pragma once
// The progress bar, the XML element "progress": a float value between a
// minimum and a maximum, shown as the left part of its image cell whose
// width follows the value, with a centred text over it. An image of two
// loops shows loop 0 whole (the empty bar) and loop 1 up to the value;
// another image shows only loop 0 up to the value; without an image the
// placeholder box stands in. Fill margins (set in code) are pixels of the
// cell left and right of the fill area: the fill runs from the left margin
// at the minimum to the cell's width less the right margin at the maximum.
// Drags that start on it go to its parent unless told otherwise. It sends
// no messages of its own. The base of the slider.
//
// The value always lies between the bounds: above the maximum it becomes
// the maximum, else below the minimum the minimum (so with the minimum
// above the maximum it is one of the two). A range of zero shows the fill
// as at the minimum.
//
// XML attributes: Control's, then "minValue", "maxValue", "curValue" (in
// that order, each clamping), then the text's and the image's.
//
// Editor: Control's page, "Progress properties" ("Min value", "Max value",
// "Current value"), then the pages of the text and the image.
#include <string>
#include <vector>

#include "model/Control.h"
#include "properties/ImageProperty.h"
#include "properties/TextProperty.h"

namespace HLF {

template <class Owner>
class PropertyTable;

class Progress : public Control, public TextProperty, public ImageProperty {
 public:
  Progress();

  bool IsKindOf(const std::string& className) const override {
    return className == "Progress" || Control::IsKindOf(className) || TextProperty::IsKindOf(className) ||
           ImageProperty::IsKindOf(className);
  }
  ~Progress() override = default;
  // "Progress: Name: " and the name.
  std::wstring Dump() const override;
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;

  virtual float GetMaxValue() const { return _maxValue; }
  virtual float GetMinValue() const { return _minValue; }
  virtual float GetValue() const { return _value; }
  virtual void GetFillMargins(int& left, int& right) const;
  // Each setter of the range or the value clamps the value afterwards.
  virtual void SetMaxValue(float value);
  virtual void SetMinValue(float value);
  virtual void SetValue(float value);
  virtual void SetFillMargins(int left, int right);
  virtual void ClampValue();
  virtual void InitDefaults();

  // Pixels of a cell cellWidth wide that the fill covers for the current
  // value, margins included: between 0 and cellWidth.
  int GetFillWidth(int cellWidth) const;

 private:
  static const PropertyTable<Progress>& Properties();
  void DrawBar(LLF::IRenderSystem* rs, const LLF::Transform& context);

  float _maxValue = 100.0f;
  float _minValue = 0.0f;
  float _value = 0.0f;
  int _fillMarginLeft = 0;
  int _fillMarginRight = 0;
};

}  // namespace HLF
