#include "widgets/Scroll.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "widgets/Button.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kScrollPage[] = L"Scroll properties";
const wchar_t kBackgroundAttribute[] = L"scrollBackground";
const wchar_t kUpAttribute[] = L"scrollUpButton";
const wchar_t kDownAttribute[] = L"scrollDownButton";
const wchar_t kThumbAttribute[] = L"scrollThumbButton";

bool IsFromWindow(const LLF::Message& msg) {
  return msg.GetSender() == &LLF::AppWindow::GetInstance();
}

// A value worked out in a wider type, brought back into int's range before
// the bar clamps it to its own.
int ToInt(int64_t value) {
  return static_cast<int>(
      std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// An id of the images manager; an empty id names no picture.
LLF::Image* FindImage(const std::wstring& id) {
  return id.empty() ? nullptr : LLF::ImagesManager::GetInstance().FindResource(id);
}

bool IsMissing(const std::wstring& id, const LLF::Image* image) {
  return !id.empty() && !image;
}

// The child element Control::SaveToXml wrote for the child at index, taken
// out of the saved element.
void RemoveSavedChild(LLF::XmlElement& element, int index) {
  if (index >= 0 && index < element.GetChildsCount()) {
    element.RemoveChild(index);
  }
}

}  // namespace

Scroll::Scroll() {
  InitDefaults();
}

Scroll::Scroll(const std::wstring& name) : Control(name) {
  InitDefaults();
}

Scroll::~Scroll() {
  DetachButtons();
}

void Scroll::InitDefaults() {
  _tag = L"scroll";
  _size = LLF::Point(25, 200);
  ImageProperty::SetOwner(this);

  _upButton = new Button(L"UPBUTTON");
  _downButton = new Button(L"DOWNBUTTON");
  _thumbButton = new Button(L"THUMBBUTTON");
  _thumbButton->SetDraggable(true);
  _upButton->SetSize(25, 25);
  _thumbButton->SetSize(25, 50);
  _downButton->SetSize(25, 25);

  // The background looks the same under the mouse and pressed.
  LLF::Color back;
  LLF::Color line;
  LLF::Color over;
  LLF::Color pressed;
  GetStateColors(back, line, over, pressed);
  ImageProperty::SetStateColors(back, line, back, back);
  for (Button* button : {_upButton, _downButton, _thumbButton}) {
    button->SetStateColors(LLF::Color(164, 164, 164, 255), line, LLF::Color(196, 196, 196, 255), pressed);
    button->AddReceiver(this);
  }
  AddChild(_upButton);
  AddChild(_downButton);
  AddChild(_thumbButton);

  _minValue = 0;
  _maxValue = 10;
  _value = 0;
  LayoutButtons();
}

void Scroll::DetachButtons() {
  for (Button* button : {_upButton, _downButton, _thumbButton}) {
    if (button) {
      button->RemoveReceiver(this);
    }
  }
}

bool Scroll::IsBuiltChild(const Control* child) const {
  return child && (child == _upButton || child == _downButton || child == _thumbButton);
}

bool Scroll::DeleteChild(int index, bool del) {
  // The bar keeps pointers to its buttons for its whole life.
  if (IsBuiltChild(GetChild(index))) {
    return false;
  }
  return Control::DeleteChild(index, del);
}

std::wstring Scroll::Dump() const {
  return L"Scroll: Name: " + GetName();
}

// ---------------------------------------------------------------------------
// Value

void Scroll::ClampValue() {
  if (_value < _minValue) {
    _value = _minValue;
  } else if (_value > _maxValue) {
    _value = _maxValue;
  }
}

void Scroll::SetMaxValue(int value) {
  _maxValue = value;
  ClampValue();
}

void Scroll::SetMinValue(int value) {
  _minValue = value;
  ClampValue();
}

void Scroll::SetValue(int value) {
  _value = value;
  ClampValue();
  UpdateThumb();
}

void Scroll::NotifyValue(const LLF::Message* cause) {
  (void)cause;
  SendCode(SCROLL_MSG_VALUE, _minValue, _value, _maxValue, GetName());
}

// ---------------------------------------------------------------------------
// Geometry

void Scroll::SetSize(int width, int height) {
  Control::SetSize(width, height);
  LayoutButtons();
}

void Scroll::LayoutButtons() {
  _upButton->SetPosition(0.0f, 0.0f);
  _downButton->SetPosition(0.0f, static_cast<float>(_size.y - _downButton->GetSize().y));
  const LLF::Vector2 up = _upButton->GetPosition();
  const float top = up.y + static_cast<float>(_upButton->GetSize().y);
  const float track = _downButton->GetPosition().y - top;
  _thumbButton->SetDragLimits(LLF::RectF(0.0f, top, static_cast<float>(_thumbButton->GetSize().x), track));
  UpdateThumb();
}

int Scroll::FreeLength() const {
  const float top = _upButton->GetPosition().y + static_cast<float>(_upButton->GetSize().y);
  return static_cast<int>(_downButton->GetPosition().y - top) - _thumbButton->GetSize().y;
}

void Scroll::UpdateThumb() {
  const int64_t range = static_cast<int64_t>(_maxValue) - _minValue;
  const float step = range == 0 ? 0.0f : static_cast<float>(FreeLength()) / static_cast<float>(range);
  const float top = _upButton->GetPosition().y + static_cast<float>(_upButton->GetSize().y);
  const float offset = static_cast<float>(static_cast<int64_t>(_value) - _minValue) * step;
  _thumbButton->SetPosition(0.0f, offset + top);
}

// ---------------------------------------------------------------------------
// Input

void Scroll::SetEnabled(bool enabled) {
  _thumbButton->SetEnabled(enabled);
  _upButton->SetEnabled(enabled);
  _downButton->SetEnabled(enabled);
  Control::SetEnabled(enabled);
}

bool Scroll::ProcessMessage(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return true;
  }
  if (IsFromWindow(msg) && msg.GetCode() == LLF::WMSG_WHEEL) {
    DispatchScope scope;
    OnMouseWheel(msg);
    return true;
  }
  return Control::ProcessMessage(msg);
}

void Scroll::OnMouseWheel(const LLF::Message& msg) {
  _value = ToInt(static_cast<int64_t>(_value) - msg.GetParam());
  ClampValue();
  UpdateThumb();
  NotifyValue(&msg);
  Control::OnMouseWheel(msg);
}

bool Scroll::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return Control::OnMessage(msg);
  }
  if (!CanProcessMessages()) {
    return true;
  }
  const LLF::Object* sender = msg->GetSender();
  const int code = msg->GetCode();
  if ((sender == static_cast<const LLF::Object*>(_upButton) ||
       sender == static_cast<const LLF::Object*>(_downButton)) &&
      code == BUTTON_MSG_CLICKED) {
    const int step = sender == static_cast<const LLF::Object*>(_upButton) ? -1 : 1;
    _value = ToInt(static_cast<int64_t>(_value) + step);
    ClampValue();
    UpdateThumb();
    NotifyValue(msg);
    return true;
  }
  if (sender == static_cast<const LLF::Object*>(_thumbButton) &&
      (code == CTRL_MSG_DRAG || code == CTRL_MSG_DRAG_END)) {
    const int free = FreeLength();
    const int64_t range = static_cast<int64_t>(_maxValue) - _minValue;
    if (range == 0 || free <= 0) {
      // No run to read a value from.
      _value = _minValue;
    } else {
      const double step = static_cast<double>(free) / static_cast<double>(range);
      const float top = _upButton->GetPosition().y + static_cast<float>(_upButton->GetSize().y);
      const double units = std::trunc((_thumbButton->GetPosition().y - top) / step);
      // The thumb stays inside its limits, so units is small; the clamp
      // guards the conversion all the same.
      const double bounded =
          std::clamp(units, -static_cast<double>(range) - 1.0, static_cast<double>(range) + 1.0);
      _value = ToInt(static_cast<int64_t>(_minValue) + static_cast<int64_t>(bounded));
    }
    ClampValue();
    NotifyValue(msg);
    if (code == CTRL_MSG_DRAG_END) {
      UpdateThumb();
    }
    return true;
  }
  return Control::OnMessage(msg);
}

// ---------------------------------------------------------------------------
// Images

std::wstring Scroll::UpImageName() const {
  return _upButton->GetImageName();
}

std::wstring Scroll::DownImageName() const {
  return _downButton->GetImageName();
}

std::wstring Scroll::ThumbImageName() const {
  return _thumbButton->GetImageName();
}

bool Scroll::SetImages(const std::wstring& up, const std::wstring& down, const std::wstring& thumb,
                       const std::wstring& background) {
  LLF::Image* upImage = FindImage(up);
  LLF::Image* downImage = FindImage(down);
  LLF::Image* thumbImage = FindImage(thumb);
  LLF::Image* backImage = FindImage(background);
  const bool missing = IsMissing(up, upImage) || IsMissing(down, downImage) || IsMissing(thumb, thumbImage) ||
                       IsMissing(background, backImage);
  if (missing) {
    LLF::Log::GetInstance().Write(L"One if images is not loaded(" + up + L"," + down + L"," + thumb + L"," +
                                  background + L") for Scroll control " + GetName());
  }
  if (missing || (upImage && downImage && thumbImage && backImage)) {
    return SetImageObjects(upImage, downImage, thumbImage, backImage);
  }
  // Parts left without a picture on purpose (empty ids): nothing to report.
  ApplyImages(upImage, downImage, thumbImage, backImage);
  return true;
}

bool Scroll::SetImageObjects(LLF::Image* up, LLF::Image* down, LLF::Image* thumb, LLF::Image* background) {
  if (!up || !down || !thumb || !background) {
    LLF::Log::GetInstance().Write(L"Can't find one of the images for Scroll control " + GetName());
  }
  ApplyImages(up, down, thumb, background);
  return true;
}

void Scroll::ApplyImages(LLF::Image* up, LLF::Image* down, LLF::Image* thumb, LLF::Image* background) {
  _upButton->SetImageObject(up);
  _downButton->SetImageObject(down);
  _thumbButton->SetImageObject(thumb);
  // A background resizes the bar, which lays the buttons out; without one
  // the bar shows its state colours.
  SetImageObject(background);
  LayoutButtons();
}

// ---------------------------------------------------------------------------
// Drawing

void Scroll::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
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

// ---------------------------------------------------------------------------
// XML and editor

const PropertyTable<Scroll>& Scroll::Properties() {
  using P = PropertyTable<Scroll>;
  static const P table(
      kScrollPage,
      {
          // One group: the bar takes its pictures only from all four, so all
          // four are written when one differs.
          P::Element(
              [](Scroll& s, const LLF::XmlElement& element) {
                const LLF::XmlAttribute* up = element.GetAttribute(std::wstring(kUpAttribute));
                const LLF::XmlAttribute* down = element.GetAttribute(std::wstring(kDownAttribute));
                const LLF::XmlAttribute* thumb = element.GetAttribute(std::wstring(kThumbAttribute));
                const LLF::XmlAttribute* back = element.GetAttribute(std::wstring(kBackgroundAttribute));
                if (up && down && thumb && back) {
                  s.SetImages(up->GetValue(), down->GetValue(), thumb->GetValue(), back->GetValue());
                }
                return true;
              },
              [](const Scroll& s, const Scroll& reference, LLF::XmlElement& element) {
                const std::wstring names[] = {s.GetImageName(), s.ThumbImageName(), s.UpImageName(),
                                              s.DownImageName()};
                const std::wstring defaults[] = {reference.GetImageName(), reference.ThumbImageName(),
                                                 reference.UpImageName(), reference.DownImageName()};
                if (std::equal(std::begin(names), std::end(names), std::begin(defaults))) {
                  return;
                }
                element.AddAttribute(std::wstring(kBackgroundAttribute), names[0]);
                element.AddAttribute(std::wstring(kThumbAttribute), names[1]);
                element.AddAttribute(std::wstring(kUpAttribute), names[2]);
                element.AddAttribute(std::wstring(kDownAttribute), names[3]);
              }),
          P::PageRow(
              L"Scroll background", [](const Scroll& s) { return s.GetImageName(); },
              [](Scroll& s, const std::wstring& id) {
                s.SetImages(s.UpImageName(), s.DownImageName(), s.ThumbImageName(), id);
              }),
          P::PageRow(
              L"Scroll up button", [](const Scroll& s) { return s.UpImageName(); },
              [](Scroll& s, const std::wstring& id) {
                s.SetImages(id, s.DownImageName(), s.ThumbImageName(), s.GetImageName());
              }),
          P::PageRow(
              L"Scroll down button", [](const Scroll& s) { return s.DownImageName(); },
              [](Scroll& s, const std::wstring& id) {
                s.SetImages(s.UpImageName(), id, s.ThumbImageName(), s.GetImageName());
              }),
          P::PageRow(
              L"Scroll thumb button", [](const Scroll& s) { return s.ThumbImageName(); },
              [](Scroll& s, const std::wstring& id) {
                s.SetImages(s.UpImageName(), s.DownImageName(), id, s.GetImageName());
              }),
      });
  return table;
}

bool Scroll::LoadScrollImages(const LLF::XmlElement& element) {
  return Properties().Load(*this, element);
}

void Scroll::SaveScrollImages(LLF::XmlElement& element, const Scroll& reference) const {
  Properties().Save(*this, reference, element);
}

bool Scroll::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  // The image's attributes too, so colours a save wrote come back.
  if (!Control::LoadFromXml(element) || !LoadImageProps(element)) {
    return false;
  }
  return LoadScrollImages(element);
}

LLF::XmlElement* Scroll::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  const Scroll reference;
  SaveScrollImages(*element, reference);
  SaveImageProps(*element, reference);
  // The constructor makes the buttons again; Control wrote one element per
  // child, in order.
  std::vector<int> built = {IndexOfChild(_thumbButton), IndexOfChild(_upButton), IndexOfChild(_downButton)};
  std::sort(built.rbegin(), built.rend());
  for (int index : built) {
    RemoveSavedChild(*element, index);
  }
  return element;
}

void Scroll::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
  groups.push_back(ImageProperty::GetPropertyGroup());
}

bool Scroll::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                   const std::wstring& value) {
  if (page == kScrollPage) {
    return Properties().Edit(*this, label, value);
  }
  if (page == ImageProperty::kPageTitle) {
    return ImageProperty::SetPropertyFromPage(label, value);
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

Control* Scroll::CreateInstance() const {
  return new Scroll();
}

}  // namespace HLF
