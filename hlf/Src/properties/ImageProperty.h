#pragma once
// The image of a control: an image asset (owned by the images manager)
// drawn at the control's origin plus a permanent offset, with a cell and a
// loop choosing the frame. Without an image a placeholder box is drawn over
// the control's size, its fill following the mouse (back, over, pressed)
// and its outline in the line colour.
//
// XML attributes on the control's element, read in this order and written
// in the same order when they differ from a reference object: "imageName"
// (the asset id), "imageLoop", "imageCell", "imagePermanentOffset",
// "imageBackColor", "imageLineColor", "imageMouseOverColor",
// "imageMousePressedColor". A loop or cell outside the image's grid is
// refused with a warning; one set in code is never drawn (the render
// system must not index past its tiles).
//
// Editor page "Image properties": "ID", "Loop", "Cell", "Permanent offset",
// "Back color", "Line color", "Color over", "Color pressed".
#include "math/Color.h"
#include "math/Transform.h"
#include "math/Vector2.h"
#include "properties/ControlProperty.h"
#include "properties/PropertyTable.h"
#include "render/ImageDrawParams.h"

namespace LLF {
class Image;
class IRenderSystem;
class XmlElement;
}  // namespace LLF

namespace HLF {

class ImageProperty : public ControlProperty {
 public:
  ImageProperty();

  bool IsKindOf(const std::string& className) const override {
    return className == "ImageProperty" || ControlProperty::IsKindOf(className);
  }
  // Final, so a control class cannot catch the pages of all its properties
  // with one override.
  bool SetPropertyFromPage(const std::wstring& label, const std::wstring& value) final;
  void FillPropertyPage() final;
  ~ImageProperty() override = default;

  virtual LLF::Image* GetImage() const { return _image; }
  virtual int GetCell() const { return _drawParams.cell; }
  virtual int GetLoop() const { return _drawParams.loop; }
  virtual void GetStateColors(LLF::Color& back, LLF::Color& line, LLF::Color& over,
                              LLF::Color& pressed) const;
  virtual LLF::Vector2 GetImageOffset() const { return _permanentOffset; }
  // The image of the asset id; an unknown id leaves no image, logs and
  // gives false.
  virtual bool SetImage(const std::wstring& name);
  // Stores the image (not owned); a new image resizes the owner to one
  // cell. True.
  virtual bool SetImageObject(LLF::Image* image);
  // Not checked here; a frame outside the grid is not drawn.
  virtual void SetCell(int cell) { _drawParams.cell = cell; }
  virtual void SetLoop(int loop) { _drawParams.loop = loop; }
  virtual void SetStateColors(const LLF::Color& back, const LLF::Color& line, const LLF::Color& over,
                              const LLF::Color& pressed);
  virtual void SetImageOffset(const LLF::Vector2& offset) { _permanentOffset = offset; }
  // Draws at local coordinates (the owner has pushed its transform) with
  // the context's alpha.
  virtual void DrawImage(LLF::IRenderSystem* rs, const LLF::Transform& context);
  // Reads the attributes present. True: an unknown image is logged, not a
  // failure.
  virtual bool LoadImageProps(LLF::XmlElement& element);
  // Adds the attributes whose values differ from the reference's.
  virtual void SaveImageProps(LLF::XmlElement& element, const ImageProperty& reference) const;

  // Whether the cell and loop lie inside the image's grid (false without an
  // image).
  bool IsFrameInImage(int cell, int loop) const;
  // The asset id of the image, empty without one or for an image the
  // manager does not hold.
  std::wstring GetImageName() const;

  // The title of the property's editor page.
  static constexpr const wchar_t* kPageTitle = L"Image properties";

 private:
  static const PropertyTable<ImageProperty>& Properties();
  static PropertyTable<ImageProperty>::Field FrameField(const wchar_t* attribute, int ImageDrawParams::*index,
                                                        void (ImageProperty::*set)(int),
                                                        unsigned (LLF::Image::*count)() const);
  void DrawPlaceholder(LLF::IRenderSystem* rs, uint8_t alpha);

  LLF::Image* _image = nullptr;
  ImageDrawParams _drawParams;
  LLF::Vector2 _permanentOffset;
  LLF::Color _backColor = LLF::Color(127, 127, 127, 255);
  LLF::Color _lineColor = LLF::Color(255, 255, 255, 255);
  LLF::Color _mouseOverColor = LLF::Color(164, 164, 164, 255);
  LLF::Color _mousePressedColor = LLF::Color(134, 134, 134, 255);
};

}  // namespace HLF
