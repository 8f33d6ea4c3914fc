#include "properties/ImageProperty.h"

#include <string>
#include <vector>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/Control.h"
#include "properties/ElementAttributes.h"
#include "render/IRenderSystem.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

// A cell or loop from a file or the editor, when it names a frame of the
// image's grid.
bool IsIndexBelow(int value, unsigned count) {
  return value >= 0 && static_cast<unsigned>(value) < count;
}

}  // namespace

ImageProperty::ImageProperty() {
  // The property draws at the position it is given, under the owner's
  // transform.
  _drawParams.transform = 0;
}

void ImageProperty::GetStateColors(LLF::Color& back, LLF::Color& line, LLF::Color& over,
                                   LLF::Color& pressed) const {
  back = _backColor;
  line = _lineColor;
  over = _mouseOverColor;
  pressed = _mousePressedColor;
}

void ImageProperty::SetStateColors(const LLF::Color& back, const LLF::Color& line, const LLF::Color& over,
                                   const LLF::Color& pressed) {
  _backColor = back;
  _lineColor = line;
  _mouseOverColor = over;
  _mousePressedColor = pressed;
}

bool ImageProperty::SetImage(const std::wstring& name) {
  LLF::Image* image = LLF::ImagesManager::GetInstance().FindResource(name);
  SetImageObject(image);
  if (!image) {
    LLF::Log::GetInstance().Write(L"Error: Can't set image " + name);
    return false;
  }
  return true;
}

bool ImageProperty::SetImageObject(LLF::Image* image) {
  _image = image;
  if (_image && _owner) {
    _owner->SetSize(
        LLF::Point(static_cast<int>(_image->GetCellWidth()), static_cast<int>(_image->GetCellHeight())));
  }
  return true;
}

bool ImageProperty::IsFrameInImage(int cell, int loop) const {
  return _image && IsIndexBelow(cell, _image->GetCellsCount()) && IsIndexBelow(loop, _image->GetLoopsCount());
}

std::wstring ImageProperty::GetImageName() const {
  return LLF::ImagesManager::GetInstance().FindResourceId(_image);
}

void ImageProperty::DrawImage(LLF::IRenderSystem* rs, const LLF::Transform& context) {
  if (!rs) {
    return;
  }
  if (!_image) {
    DrawPlaceholder(rs, context.alpha);
    return;
  }
  _drawParams.position = _permanentOffset;
  _drawParams.alpha = context.alpha;
  if (_drawParams.alpha != 0 && IsFrameInImage(_drawParams.cell, _drawParams.loop)) {
    rs->DrawImage(_image, _drawParams);
  }
}

void ImageProperty::DrawPlaceholder(LLF::IRenderSystem* rs, uint8_t alpha) {
  if (!_owner) {
    return;  // no size to cover
  }
  LLF::Color fill = _backColor;
  if (_owner->IsMouseOver()) {
    fill = _mouseOverColor;
  }
  if (_owner->IsPressed()) {
    fill = _mousePressedColor;
  }
  fill = Faded(fill, alpha);
  const LLF::Color line = Faded(_lineColor, alpha);
  const LLF::Vector2& o = _permanentOffset;
  const LLF::Point size = _owner->GetSize();
  const float w = static_cast<float>(size.x);
  const float h = static_cast<float>(size.y);
  if (fill.a != 0) {
    rs->FillRect(LLF::RectF(o.x, o.y, w, h), fill);
  }
  if (line.a != 0) {
    // The bottom edge ends one pixel short of the corner, as layouts were
    // drawn with.
    const std::vector<LLF::Vector2> outline = {LLF::Vector2(o.x, o.y), LLF::Vector2(o.x + w, o.y),
                                               LLF::Vector2(o.x + w, o.y + h), LLF::Vector2(o.x + 1, o.y + h),
                                               LLF::Vector2(o.x, o.y)};
    rs->DrawPolyline(outline, line);
  }
}

// A cell or loop: a value outside the image's grid is refused (the render
// system would read past its tiles), with a warning when read from a file;
// without an image yet it is kept and checked when drawn. Written only with
// an image, whose grid gives it meaning.
PropertyTable<ImageProperty>::Field ImageProperty::FrameField(const wchar_t* attribute,
                                                              int ImageDrawParams::*index,
                                                              void (ImageProperty::*set)(int),
                                                              unsigned (LLF::Image::*count)() const) {
  using P = PropertyTable<ImageProperty>;
  return P::Custom(
             attribute, [index](const ImageProperty& p) { return AttributeText(p._drawParams.*index); },
             [set, count](ImageProperty& p, const LLF::XmlAttribute& value) {
               const int frame = value.GetInt();
               if (p._image && !IsIndexBelow(frame, (p._image->*count)())) {
                 LLF::Log::GetInstance().WriteFormat(
                     L"Warning: %s %d is outside the image %s; it is ignored.", value.GetName(), frame,
                     p.GetImageName());
                 return;
               }
               (p.*set)(frame);
             })
      .SaveIf([](const ImageProperty& p, const ImageProperty&) { return p._image != nullptr; })
      .EditWith([set, count](ImageProperty& p, const std::wstring& value) {
        const int frame = LLF::XmlAttribute(std::wstring(), value).GetInt();
        if (p._image && IsIndexBelow(frame, (p._image->*count)())) {
          (p.*set)(frame);
        }
      });
}

const PropertyTable<ImageProperty>& ImageProperty::Properties() {
  using P = PropertyTable<ImageProperty>;
  static const P table(
      kPageTitle,
      {
          // An unknown image is logged by SetImage, not a failure; an image
          // the manager does not hold has no name that would load back.
          P::Custom(
              L"imageName", [](const ImageProperty& p) { return p.GetImageName(); },
              [](ImageProperty& p, const LLF::XmlAttribute& value) { p.SetImage(value.GetValue()); })
              .Row(L"ID"),
          FrameField(L"imageLoop", &ImageDrawParams::loop, &ImageProperty::SetLoop,
                     &LLF::Image::GetLoopsCount)
              .Row(L"Loop"),
          FrameField(L"imageCell", &ImageDrawParams::cell, &ImageProperty::SetCell,
                     &LLF::Image::GetCellsCount)
              .Row(L"Cell"),
          P::Typed(L"imagePermanentOffset", &ImageProperty::_permanentOffset, &ImageProperty::SetImageOffset)
              .Row(L"Permanent offset"),
          P::Member(L"imageBackColor", &ImageProperty::_backColor).Row(L"Back color"),
          P::Member(L"imageLineColor", &ImageProperty::_lineColor).Row(L"Line color"),
          P::Member(L"imageMouseOverColor", &ImageProperty::_mouseOverColor).Row(L"Color over"),
          P::Member(L"imageMousePressedColor", &ImageProperty::_mousePressedColor).Row(L"Color pressed"),
      });
  return table;
}

bool ImageProperty::LoadImageProps(LLF::XmlElement& element) {
  return Properties().Load(*this, element);
}

void ImageProperty::SaveImageProps(LLF::XmlElement& element, const ImageProperty& reference) const {
  Properties().Save(*this, reference, element);
}

void ImageProperty::FillPropertyPage() {
  _propertyGroup = Properties().Page(*this);
}

bool ImageProperty::SetPropertyFromPage(const std::wstring& label, const std::wstring& value) {
  return Properties().Edit(*this, label, value) || ControlProperty::SetPropertyFromPage(label, value);
}

}  // namespace HLF
