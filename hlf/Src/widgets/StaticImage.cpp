#include "widgets/StaticImage.h"

#include "image/Image.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

StaticImage::StaticImage() : StaticImage(std::wstring()) {}

StaticImage::StaticImage(const std::wstring& name) : Control(name) {
  _tag = L"staticimage";
  ImageProperty::SetOwner(this);
  _passDragToParent = true;
}

std::wstring StaticImage::Dump() const {
  return L"StaticImage: Name: " + GetName();
}

bool StaticImage::HitTest(const LLF::Point& p) {
  LLF::Image* image = GetImage();
  // Without an image the placeholder box is what shows, and all of it.
  if (!_doAlphaPixelCheck || !image) {
    return true;
  }
  // The frame on screen is the current cell of the current loop.
  const int cellWidth = static_cast<int>(image->GetCellWidth());
  const int cellHeight = static_cast<int>(image->GetCellHeight());
  if (p.x < 0 || p.y < 0 || p.x >= cellWidth || p.y >= cellHeight || !IsFrameInImage(GetCell(), GetLoop())) {
    return false;
  }
  LLF::Color pixel;
  image->GetPixel(&pixel, GetCell() * cellWidth + p.x, GetLoop() * cellHeight + p.y);
  return pixel.a != 0 || image->GetFormat() == LLF::IMGFORMAT_R8G8B8X8;
}

void StaticImage::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  if (IsRenderable()) {
    rs->PushTransform(context.matrix);
    DrawImage(rs, context);
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

bool StaticImage::ProcessMessage(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return true;
  }
  return Control::ProcessMessage(msg);
}

// Not on the editor page: the check is set in the layout file.
const PropertyTable<StaticImage>& StaticImage::Properties() {
  using P = PropertyTable<StaticImage>;
  static const P table({
      P::Typed(L"doAlphaPixelCheck", &StaticImage::_doAlphaPixelCheck, &StaticImage::SetDoAlphaPixelCheck),
  });
  return table;
}

bool StaticImage::LoadFromXml(LLF::XmlElement& element) {
  // The style first, so it may set the check too.
  ApplyStyle(element);
  Properties().Load(*this, element);
  return Control::LoadFromXml(element) && LoadImageProps(element);
}

LLF::XmlElement* StaticImage::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  const StaticImage reference;
  SaveImageProps(*element, reference);
  Properties().Save(*this, reference, *element);
  return element;
}

void StaticImage::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(GetPropertyGroup());
}

bool StaticImage::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                        const std::wstring& value) {
  if (page == kPageTitle) {
    return SetPropertyFromPage(label, value);
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

Control* StaticImage::CreateInstance() const {
  return new StaticImage();
}

}  // namespace HLF
