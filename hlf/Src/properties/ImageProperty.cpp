#include "properties/ImageProperty.h"

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

bool ImageProperty::LoadImageProps(LLF::XmlElement& element) {
  if (const LLF::XmlAttribute* name = element.GetAttribute(std::wstring(L"imageName"))) {
    SetImage(name->GetValue());
  }
  // A frame outside the grid would make the render system read past its
  // tiles; without an image yet it is kept and checked when drawn.
  const struct {
    const wchar_t* attribute;
    void (ImageProperty::*set)(int);
    unsigned (LLF::Image::*count)() const;
  } frames[] = {
      {L"imageLoop", &ImageProperty::SetLoop, &LLF::Image::GetLoopsCount},
      {L"imageCell", &ImageProperty::SetCell, &LLF::Image::GetCellsCount},
  };
  for (const auto& frame : frames) {
    const LLF::XmlAttribute* attribute = element.GetAttribute(std::wstring(frame.attribute));
    if (!attribute) {
      continue;
    }
    const int value = attribute->GetInt();
    if (_image && !IsIndexBelow(value, (_image->*frame.count)())) {
      LLF::Log::GetInstance().WriteFormat(L"Warning: %s %d is outside the image %s; it is ignored.",
                                          frame.attribute, value, GetImageName());
      continue;
    }
    (this->*frame.set)(value);
  }
  LLF::Vector2 offset;
  if (ReadAttribute(element, L"imagePermanentOffset", offset)) {
    SetImageOffset(offset);
  }
  ReadAttribute(element, L"imageBackColor", _backColor);
  ReadAttribute(element, L"imageLineColor", _lineColor);
  ReadAttribute(element, L"imageMouseOverColor", _mouseOverColor);
  ReadAttribute(element, L"imageMousePressedColor", _mousePressedColor);
  return true;
}

void ImageProperty::SaveImageProps(LLF::XmlElement& element, const ImageProperty& reference) const {
  if (_image != reference._image) {
    // An image the manager does not hold has no name that would load back.
    const std::wstring name = GetImageName();
    if (!name.empty()) {
      element.AddAttribute(std::wstring(L"imageName"), name);
    }
  }
  if (_image && _drawParams.loop != reference._drawParams.loop) {
    element.AddAttribute(std::wstring(L"imageLoop"), _drawParams.loop);
  }
  if (_image && _drawParams.cell != reference._drawParams.cell) {
    element.AddAttribute(std::wstring(L"imageCell"), _drawParams.cell);
  }
  WriteChangedAttribute(element, L"imagePermanentOffset", _permanentOffset, reference._permanentOffset);
  WriteChangedAttribute(element, L"imageBackColor", _backColor, reference._backColor);
  WriteChangedAttribute(element, L"imageLineColor", _lineColor, reference._lineColor);
  WriteChangedAttribute(element, L"imageMouseOverColor", _mouseOverColor, reference._mouseOverColor);
  WriteChangedAttribute(element, L"imageMousePressedColor", _mousePressedColor, reference._mousePressedColor);
}

void ImageProperty::FillPropertyPage() {
  ControlProperty::FillPropertyPage();
  _propertyGroup.title = kPageTitle;
  const auto add = [this](const wchar_t* label, const std::wstring& value) {
    _propertyGroup.entries.emplace_back(PROPERTY_ORDINARY, label, value);
  };
  add(L"ID", GetImageName());
  add(L"Loop", LLF::ToString(_drawParams.loop));
  add(L"Cell", LLF::ToString(_drawParams.cell));
  add(L"Permanent offset", LLF::ToString(_permanentOffset));
  add(L"Back color", LLF::ToString(_backColor));
  add(L"Line color", LLF::ToString(_lineColor));
  add(L"Color over", LLF::ToString(_mouseOverColor));
  add(L"Color pressed", LLF::ToString(_mousePressedColor));
}

bool ImageProperty::SetPropertyFromPage(const std::wstring& label, const std::wstring& value) {
  // Values parse as the attributes of the same type do.
  const LLF::XmlAttribute parsed(label, value);
  if (label == L"ID") {
    SetImage(value);
  } else if (label == L"Loop" || label == L"Cell") {
    const bool loop = label == L"Loop";
    const int index = parsed.GetInt();
    if (_image && IsIndexBelow(index, loop ? _image->GetLoopsCount() : _image->GetCellsCount())) {
      loop ? SetLoop(index) : SetCell(index);
    }
  } else if (label == L"Permanent offset") {
    SetImageOffset(parsed.GetFloatPair());
  } else if (label == L"Back color") {
    _backColor = parsed.GetColor();
  } else if (label == L"Line color") {
    _lineColor = parsed.GetColor();
  } else if (label == L"Color over") {
    _mouseOverColor = parsed.GetColor();
  } else if (label == L"Color pressed") {
    _mousePressedColor = parsed.GetColor();
  } else {
    return ControlProperty::SetPropertyFromPage(label, value);
  }
  return true;
}

}  // namespace HLF
