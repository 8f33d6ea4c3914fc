#pragma once
// The pictures of the dialog widgets, in the look of the button strips and
// the dialog frame (teal plates with gold rims over night-blue grooves):
//   - "images/gui/checkbox.png": 4 cells x 2 loops of 24 x 24, the cells
//     the button's states (normal, pressed, under the mouse, disabled),
//     loop 0 an empty box, loop 1 the box with a gold tick;
//   - "images/gui/slider_track.png": 1 cell x 2 loops of 260 x 24, a groove
//     empty (loop 0) and filled (loop 1);
//   - "images/gui/slider_thumb.png": 4 state cells of 18 x 24;
//   - "images/gui/progress.png": 1 cell x 2 loops of 260 x 22, a framed bar
//     empty and full; the fill lies kProgressMargin pixels inside each end;
//   - "images/gui/scroll_up.png", "scroll_down.png": 4 state cells of
//     20 x 20 with a gold arrow; "scroll_thumb.png": 4 state cells of
//     20 x 40; "scroll_back.png": the track, 1 cell of 20 x 240.
#include "AssetFamily.h"

namespace Datagen {

class Raster;

class WidgetPictures : public AssetFamily {
 public:
  static constexpr int kStates = 4;
  static constexpr int kCheckboxCell = 24;
  static constexpr int kTrackWidth = 260;
  static constexpr int kTrackHeight = 24;
  static constexpr int kThumbWidth = 18;
  static constexpr int kProgressWidth = 260;
  static constexpr int kProgressHeight = 22;
  static constexpr int kProgressMargin = 4;
  static constexpr int kScrollWidth = 20;
  static constexpr int kScrollArrow = 20;
  static constexpr int kScrollThumb = 40;
  static constexpr int kScrollTrack = 240;

  std::string Name() const override { return "the widget pictures"; }
  bool Generate(const GeneratorSettings& settings, Staging& staging, Report& report) override;

  static Raster DrawCheckbox();
  static Raster DrawSliderTrack();
  static Raster DrawSliderThumb();
  static Raster DrawProgress();
  // The up arrow, or the down one.
  static Raster DrawScrollArrow(bool up);
  static Raster DrawScrollThumb();
  static Raster DrawScrollBack();
};

}  // namespace Datagen
