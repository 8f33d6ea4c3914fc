#pragma once
// The slider, the XML element "slider": a progress bar with a draggable
// thumb, the button "THUMBBUTTON", that runs along the x axis of the track
// (the slider's width less the thumb's). Dragging the thumb sets the value
// from its place between the minimum and the maximum; the wheel steps it
// by its notches (towards the user raises it). A drag over a track without
// a run, or over an empty range, gives the minimum.
//
// Messages to the receivers: 10 after every drag step and wheel step, also
// without a change (parameter minimum, primary value, secondary maximum,
// each truncated; text the slider's name); 11 when a thumb drag starts and
// 12 when it ends (after the last 10), with nothing else. SetValue in code
// sends nothing.
//
// XML attributes: the progress bar's (its image is the track, and sizes
// the slider to one cell), then "thumbImage" (an image id for the thumb)
// and "soundMouseEnter" (the thumb's hover sound). The thumb, which the
// constructor makes, is never written as a child.
//
// Editor: the progress bar's pages, then "Slider properties" ("Thumb
// image").
#include <string>
#include <vector>

#include "widgets/Progress.h"

namespace LLF {
class Image;
}

namespace HLF {

class Button;
template <class Owner>
class PropertyTable;

// Codes a slider sends to its receivers.
enum SliderMessageCode {
  SLIDER_MSG_VALUE = 10,
  SLIDER_MSG_DRAG_START = 11,
  SLIDER_MSG_DRAG_END = 12,
};

class Slider : public Progress {
 public:
  Slider();

  bool IsKindOf(const std::string& className) const override {
    return className == "Slider" || Progress::IsKindOf(className);
  }
  // Leaves the thumb's receiver list before the children go.
  ~Slider() override;
  // "Slider: Name: " name.
  std::wstring Dump() const override;
  // The size, then the thumb placed for it (both forms).
  using Progress::SetSize;
  void SetSize(int width, int height) override;
  // The thumb first, then the slider.
  void SetEnabled(bool enabled) override;
  void OnMouseWheel(const LLF::Message& msg) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;
  // The thumb is part of the slider: it is not removed (false).
  bool DeleteChild(int index, bool del) override;
  // Clamps, then places the thumb; sends nothing.
  void SetValue(float value) override;
  void InitDefaults() override;
  // The thumb's drag start, steps and end.
  bool OnMessage(LLF::Message* msg) override;

  // The images of the ids; false, with a log line, when either is not
  // loaded.
  virtual bool SetImages(const std::wstring& thumb, const std::wstring& track);
  // The thumb and the track take their images (and the size of one cell);
  // false, with a log line, when either is null.
  virtual bool SetImageObjects(LLF::Image* thumb, LLF::Image* track);
  // Code 10 with the bounds and the value.
  virtual void NotifyValue();
  // The thumb's drag limits are the slider's rectangle, its place on the
  // track follows the value.
  virtual void UpdateThumb();
  virtual void DetachThumb();

  Button* GetThumb() const { return _thumb; }

 private:
  static const PropertyTable<Slider>& Properties();
  // Pixels of track per unit of value; 0 when the thumb has no run or the
  // range is empty.
  float Ratio() const;

  Button* _thumb = nullptr;
};

}  // namespace HLF
