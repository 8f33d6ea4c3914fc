#include "widgets/Progress.h"

#include <algorithm>
#include <memory>

#include "image/Image.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "render/ImageDrawParams.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kProgressPage[] = L"Progress properties";
const wchar_t kTextPage[] = L"Text properties";

}  // namespace

Progress::Progress() {
  InitDefaults();
}

void Progress::InitDefaults() {
  _tag = L"progress";
  _passDragToParent = true;
  TextProperty::SetOwner(this);
  ImageProperty::SetOwner(this);
  SetAlignment(TEXT_ALIGN_CENTER | TEXT_ALIGN_MIDDLE);
  _minValue = 0.0f;
  _value = 0.0f;
  _maxValue = 100.0f;
  _fillMarginLeft = 0;
  _fillMarginRight = 0;
}

std::wstring Progress::Dump() const {
  return L"Progress: Name: " + GetName();
}

// ---------------------------------------------------------------------------
// Value

void Progress::GetFillMargins(int& left, int& right) const {
  left = _fillMarginLeft;
  right = _fillMarginRight;
}

void Progress::SetMaxValue(float value) {
  _maxValue = value;
  ClampValue();
}

void Progress::SetMinValue(float value) {
  _minValue = value;
  ClampValue();
}

void Progress::SetValue(float value) {
  _value = value;
  ClampValue();
}

void Progress::SetFillMargins(int left, int right) {
  _fillMarginLeft = left;
  _fillMarginRight = right;
}

void Progress::ClampValue() {
  if (_value > _maxValue) {
    _value = _maxValue;
  } else if (_value < _minValue) {
    _value = _minValue;
  } else if (_value != _value) {
    // Not a number lies nowhere in the range; the bar would draw garbage.
    _value = _minValue;
  }
}

int Progress::GetFillWidth(int cellWidth) const {
  const float range = _maxValue - _minValue;
  float ratio = 0.0f;
  if (range != 0.0f) {
    ratio = (_value - _minValue) / range;
  }
  // The value lies between the bounds, so this only catches a range that is
  // not a number and rounding at the ends.
  if (!(ratio > 0.0f)) {
    ratio = 0.0f;
  } else if (ratio > 1.0f) {
    ratio = 1.0f;
  }
  const int area = cellWidth - _fillMarginLeft - _fillMarginRight;
  const int width = static_cast<int>(ratio * static_cast<float>(area)) + _fillMarginLeft;
  return std::clamp(width, 0, std::max(cellWidth, 0));
}

// ---------------------------------------------------------------------------
// Drawing

void Progress::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  if (IsRenderable()) {
    rs->PushTransform(context.matrix);
    DrawBar(rs, context);
    DrawText(rs, context);
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

void Progress::DrawBar(LLF::IRenderSystem* rs, const LLF::Transform& context) {
  LLF::Image* image = GetImage();
  if (!image) {
    DrawImage(rs, context);
    return;
  }
  if (context.alpha == 0) {
    return;
  }
  // A record of its own: the loop drawn is the bar's choice, not the image
  // property's, which a save would otherwise write back.
  ImageDrawParams params;
  params.transform = 0;
  params.position = GetImageOffset();
  params.alpha = context.alpha;
  params.cell = GetCell();
  int fillLoop = 0;
  if (image->GetLoopsCount() == 2) {
    params.loop = 0;
    if (IsFrameInImage(params.cell, params.loop)) {
      rs->DrawImage(image, params);
    }
    fillLoop = 1;
  }
  params.loop = fillLoop;
  params.size = LLF::Point(GetFillWidth(static_cast<int>(image->GetCellWidth())),
                           static_cast<int>(image->GetCellHeight()));
  if (params.size.x > 0 && IsFrameInImage(params.cell, params.loop)) {
    rs->DrawImagePart(image, params);
  }
}

// ---------------------------------------------------------------------------
// XML and editor

const PropertyTable<Progress>& Progress::Properties() {
  using P = PropertyTable<Progress>;
  static const P table(
      kProgressPage,
      {
          P::Typed(L"minValue", &Progress::GetMinValue, &Progress::SetMinValue).Row(L"Min value"),
          P::Typed(L"maxValue", &Progress::GetMaxValue, &Progress::SetMaxValue).Row(L"Max value"),
          P::Typed(L"curValue", &Progress::GetValue, &Progress::SetValue).Row(L"Current value"),
      });
  return table;
}

bool Progress::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!Control::LoadFromXml(element) || !Properties().Load(*this, element)) {
    return false;
  }
  const bool text = LoadTextProps(element);
  const bool image = LoadImageProps(element);
  return text && image;
}

LLF::XmlElement* Progress::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  const std::unique_ptr<Control> made(CreateInstance());
  const Progress& reference = dynamic_cast<const Progress&>(*made);
  Properties().Save(*this, reference, *element);
  SaveTextProps(*element, reference);
  SaveImageProps(*element, reference);
  return element;
}

void Progress::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
  groups.push_back(TextProperty::GetPropertyGroup());
  groups.push_back(ImageProperty::GetPropertyGroup());
}

bool Progress::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                     const std::wstring& value) {
  if (page == kProgressPage) {
    return Properties().Edit(*this, label, value);
  }
  if (page == kTextPage) {
    return TextProperty::SetPropertyFromPage(label, value);
  }
  if (page == ImageProperty::kPageTitle) {
    return ImageProperty::SetPropertyFromPage(label, value);
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

Control* Progress::CreateInstance() const {
  return new Progress();
}

}  // namespace HLF
