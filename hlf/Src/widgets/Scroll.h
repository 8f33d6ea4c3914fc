#pragma once
// The vertical scroll bar, the XML element "scroll": an integer value
// between a minimum and a maximum (0 to 10 at first), shown as a background
// with an up button "UPBUTTON" at the top, a down button "DOWNBUTTON" at the
// bottom and a draggable thumb "THUMBBUTTON" of fixed size between them. The
// thumb spans the track from the top (the minimum) to the bottom (the
// maximum); with the maximum equal to the minimum it sits at the top.
//
// A click on an arrow steps the value by one, the wheel anywhere over the
// bar by its notches (away from the user lowers it), and a thumb drag sets
// it from the thumb's place (the minimum when the track has no run). Each
// of these sends code 10 to the receivers, also when the value did not
// change: parameter minimum, primary value, secondary maximum, text the
// bar's name. The setters send nothing.
//
// XML attributes: Control's and the image's, then "scrollUpButton",
// "scrollDownButton", "scrollThumbButton" and "scrollBackground" (image
// ids), applied only when all four are there; an empty id stands for no
// picture. Saved, the four are written together when one of them differs
// from a new bar's, and the three buttons, which the constructor makes,
// never are. A picture that is not loaded is logged and that part is drawn
// in its state colours.
//
// Editor: Control's page, "Scroll properties" ("Scroll background",
// "Scroll up button", "Scroll down button", "Scroll thumb button"), then
// the image's page.
#include <string>
#include <vector>

#include "model/Control.h"
#include "properties/ImageProperty.h"

namespace LLF {
class Image;
}

namespace HLF {

class Button;
template <class Owner>
class PropertyTable;

// The code a scroll bar sends when its value was set by the user.
enum ScrollMessageCode { SCROLL_MSG_VALUE = 10 };

class Scroll : public Control, public ImageProperty {
 public:
  Scroll();
  explicit Scroll(const std::wstring& name);

  bool IsKindOf(const std::string& className) const override {
    return className == "Scroll" || Control::IsKindOf(className) || ImageProperty::IsKindOf(className);
  }
  // Leaves the buttons' receiver lists before the children go.
  ~Scroll() override;
  // "Scroll: Name: " name.
  std::wstring Dump() const override;
  // The size, then the buttons laid out for it (both forms).
  using Control::SetSize;
  void SetSize(int width, int height) override;
  // The three buttons first, then the bar.
  void SetEnabled(bool enabled) override;
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  // A bar that cannot take messages reports them taken; the wheel from the
  // window goes straight to the bar, not to the button under the cursor.
  bool ProcessMessage(const LLF::Message& msg) override;
  void OnMouseWheel(const LLF::Message& msg) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;
  // The bar's buttons are part of it: they are not removed (false).
  bool DeleteChild(int index, bool del) override;
  // The clicks of the arrows and the thumb's drag steps and drag end.
  bool OnMessage(LLF::Message* msg) override;

  virtual int GetMaxValue() const { return _maxValue; }
  virtual int GetMinValue() const { return _minValue; }
  virtual int GetValue() const { return _value; }
  // Each bound clamps the value; the thumb stays until the next value
  // change moves it.
  virtual void SetMaxValue(int value);
  virtual void SetMinValue(int value);
  // Clamps and moves the thumb; sends nothing.
  virtual void SetValue(int value);
  // The images of the ids (up, down, thumb, background); an id the images
  // manager does not hold is logged and leaves that part without a picture.
  virtual bool SetImages(const std::wstring& up, const std::wstring& down, const std::wstring& thumb,
                         const std::wstring& background);
  // Each button takes its image (and the size of one cell of it), a
  // background the bar (and its size); a null image leaves the part drawn
  // in its state colours, with a log line. True.
  virtual bool SetImageObjects(LLF::Image* up, LLF::Image* down, LLF::Image* thumb, LLF::Image* background);
  // Code 10 with the bounds and the value.
  virtual void NotifyValue(const LLF::Message* cause);
  // Below the minimum gives the minimum, else above the maximum the
  // maximum.
  virtual void ClampValue();
  // Up button at the top, down button at the bottom, the thumb's drag
  // limits the track between them; then the thumb.
  virtual void LayoutButtons();
  virtual void UpdateThumb();
  virtual void InitDefaults();
  virtual void DetachButtons();

  Button* GetUpButton() const { return _upButton; }
  Button* GetDownButton() const { return _downButton; }
  Button* GetThumbButton() const { return _thumbButton; }

  // The four picture attributes, for a control that embeds a bar and
  // carries them on its own element: read when all four are there, written
  // together when one differs from the reference's.
  bool LoadScrollImages(const LLF::XmlElement& element);
  void SaveScrollImages(LLF::XmlElement& element, const Scroll& reference) const;

 private:
  static const PropertyTable<Scroll>& Properties();
  // The track's free length for the thumb: the room between the arrows
  // less the thumb's height.
  int FreeLength() const;
  // The buttons' asset ids, in SetImages' order.
  std::wstring UpImageName() const;
  std::wstring DownImageName() const;
  std::wstring ThumbImageName() const;
  bool IsBuiltChild(const Control* child) const;
  void ApplyImages(LLF::Image* up, LLF::Image* down, LLF::Image* thumb, LLF::Image* background);

  int _maxValue = 10;
  int _minValue = 0;
  int _value = 0;
  Button* _upButton = nullptr;
  Button* _downButton = nullptr;
  Button* _thumbButton = nullptr;
};

}  // namespace HLF
