#pragma once
// A control that shows one image through its image property, the XML
// element "staticimage". With doAlphaPixelCheck set it takes the mouse
// only where its image is not fully transparent; drags starting on it go to
// its parent unless told otherwise. The base of the play modes' boards.
//
// XML attributes: those of Control and of the image property, and
// "doAlphaPixelCheck" (bool; written back when set, so an edited board
// keeps its hit test). The image's attributes are read after Control's, so
// an image sizes the control to one cell whatever "size" says.
//
// Editor: Control's page, then the image property's.
#include <string>
#include <vector>

#include "model/Control.h"
#include "properties/ImageProperty.h"

namespace HLF {

template <class Owner>
class PropertyTable;

class StaticImage : public Control, public ImageProperty {
 public:
  StaticImage();
  explicit StaticImage(const std::wstring& name);

  LLF_KIND_OF2(StaticImage, Control, ImageProperty)
  ~StaticImage() override = default;
  // "StaticImage: Name: " and the name.
  std::wstring Dump() const override;

  // p relative to the top-left corner. Without the alpha check, or without
  // an image to check against, every point; else a point on a pixel of the
  // current frame whose alpha is not 0, or any pixel of an image without
  // alpha.
  bool HitTest(const LLF::Point& p) override;
  // The image in place of Control's fill, then the children.
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  // A control that cannot take messages keeps them (true).
  bool ProcessMessage(const LLF::Message& msg) override;
  // The style, "doAlphaPixelCheck", Control's attributes, then the
  // image's; true when both readers succeed.
  bool LoadFromXml(LLF::XmlElement& element) override;
  // Control's element with the image's attributes that differ from a
  // default static image's, and "doAlphaPixelCheck" when set.
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  // Rows of the page "Image properties" go to the image property, the
  // others to Control.
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;

  virtual bool GetDoAlphaPixelCheck() const { return _doAlphaPixelCheck; }
  virtual void SetDoAlphaPixelCheck(bool check) { _doAlphaPixelCheck = check; }

 private:
  static const PropertyTable<StaticImage>& Properties();

  bool _doAlphaPixelCheck = false;
};

}  // namespace HLF
