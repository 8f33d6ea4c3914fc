#include "widgets/Slider.h"

#include <cmath>
#include <limits>
#include <memory>

#include "core/Log.h"
#include "image/ImagesManager.h"
#include "properties/PropertyTable.h"
#include "sound/Sound.h"
#include "sound/SoundSystem.h"
#include "widgets/Button.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kSliderPage[] = L"Slider properties";
const wchar_t kHoverSlot[] = L"soundMouseEnter";

// A value for a message: truncated, held inside int's range.
int Truncated(float value) {
  if (std::isnan(value)) {
    return 0;
  }
  const double limited = std::fmax(std::fmin(static_cast<double>(value), std::numeric_limits<int>::max()),
                                   std::numeric_limits<int>::min());
  return static_cast<int>(limited);
}

}  // namespace

Slider::Slider() {
  InitDefaults();
}

Slider::~Slider() {
  DetachThumb();
}

void Slider::InitDefaults() {
  _tag = L"slider";
  _size = LLF::Point(25, 200);
  TextProperty::SetOwner(this);
  ImageProperty::SetOwner(this);
  if (_thumb) {
    UpdateThumb();
    return;
  }

  _thumb = new Button(L"THUMBBUTTON");
  _thumb->SetDraggable(true);
  _thumb->SetSize(25, 50);

  // The track looks the same under the mouse and pressed.
  LLF::Color back;
  LLF::Color line;
  LLF::Color over;
  LLF::Color pressed;
  GetStateColors(back, line, over, pressed);
  ImageProperty::SetStateColors(back, line, back, back);
  _thumb->SetStateColors(LLF::Color(164, 164, 164, 255), line, LLF::Color(196, 196, 196, 255), pressed);

  _thumb->AddReceiver(this);
  AddChild(_thumb);
  UpdateThumb();
}

void Slider::DetachThumb() {
  if (_thumb) {
    _thumb->RemoveReceiver(this);
  }
}

bool Slider::DeleteChild(int index, bool del) {
  // The slider moves its thumb for its whole life.
  if (_thumb && GetChild(index) == _thumb) {
    return false;
  }
  return Progress::DeleteChild(index, del);
}

std::wstring Slider::Dump() const {
  return L"Slider: Name: " + GetName();
}

// ---------------------------------------------------------------------------
// Value and thumb

void Slider::SetValue(float value) {
  Progress::SetValue(value);
  UpdateThumb();
}

void Slider::SetSize(int width, int height) {
  Progress::SetSize(width, height);
  UpdateThumb();
}

float Slider::Ratio() const {
  const float run = static_cast<float>(GetSize().x - _thumb->GetSize().x);
  const float range = GetMaxValue() - GetMinValue();
  if (!(run > 0.0f) || range == 0.0f || !std::isfinite(range)) {
    return 0.0f;
  }
  return run / range;
}

void Slider::UpdateThumb() {
  if (!_thumb) {
    return;
  }
  const LLF::Point size = GetSize();
  _thumb->SetDragLimits(LLF::RectF(0.0f, 0.0f, static_cast<float>(size.x), static_cast<float>(size.y)));
  _thumb->SetPosition((GetValue() - GetMinValue()) * Ratio(), 0.0f);
}

void Slider::NotifyValue() {
  SendCode(SLIDER_MSG_VALUE, Truncated(GetMinValue()), Truncated(GetValue()), Truncated(GetMaxValue()),
           GetName());
}

// ---------------------------------------------------------------------------
// Input

void Slider::SetEnabled(bool enabled) {
  _thumb->SetEnabled(enabled);
  Progress::SetEnabled(enabled);
}

bool Slider::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return Progress::OnMessage(msg);
  }
  if (!CanProcessMessages()) {
    return true;
  }
  if (msg->GetSender() != static_cast<const LLF::Object*>(_thumb)) {
    return Progress::OnMessage(msg);
  }
  switch (msg->GetCode()) {
    case CTRL_MSG_DRAG_START:
      SendCode(SLIDER_MSG_DRAG_START);
      break;
    case CTRL_MSG_DRAG:
    case CTRL_MSG_DRAG_END: {
      // Without a run there is no place to read a value from.
      const float ratio = Ratio();
      SetValue(ratio == 0.0f ? GetMinValue() : GetMinValue() + _thumb->GetPosition().x / ratio);
      NotifyValue();
      if (msg->GetCode() == CTRL_MSG_DRAG_END) {
        UpdateThumb();
        SendCode(SLIDER_MSG_DRAG_END);
      }
      break;
    }
    default:
      // The thumb's own button messages.
      break;
  }
  return true;
}

void Slider::OnMouseWheel(const LLF::Message& msg) {
  SetValue(GetValue() - static_cast<float>(msg.GetParam()));
  NotifyValue();
  Progress::OnMouseWheel(msg);
}

// ---------------------------------------------------------------------------
// Images

bool Slider::SetImages(const std::wstring& thumb, const std::wstring& track) {
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  LLF::Image* thumbImage = images.FindResource(thumb);
  LLF::Image* trackImage = images.FindResource(track);
  if (!thumbImage || !trackImage) {
    LLF::Log::GetInstance().Write(L"Can't set one of the images(" + thumb + L"," + track +
                                  L") for Slider control " + GetName());
    return false;
  }
  return SetImageObjects(thumbImage, trackImage);
}

bool Slider::SetImageObjects(LLF::Image* thumb, LLF::Image* track) {
  if (!thumb || !track) {
    LLF::Log::GetInstance().Write(L"Can't set one of the images for Slider control " + GetName());
    return false;
  }
  _thumb->SetImageObject(thumb);
  SetImageObject(track);
  UpdateThumb();
  return true;
}

// ---------------------------------------------------------------------------
// XML and editor

const PropertyTable<Slider>& Slider::Properties() {
  using P = PropertyTable<Slider>;
  static const P table(
      kSliderPage,
      {
          P::Custom(
              L"thumbImage", [](const Slider& s) { return s._thumb->GetImageName(); },
              [](Slider& s, const LLF::XmlAttribute& value) {
                s._thumb->SetImage(value.GetValue());
                s.UpdateThumb();
              })
              .Row(L"Thumb image"),
          // A sound that is not loaded is logged; the slider loads all the
          // same.
          P::Custom(
              kHoverSlot,
              [](const Slider& s) {
                return LLF::SoundSystem::GetInstance().FindResourceId(s._thumb->GetSound(kHoverSlot));
              },
              [](Slider& s, const LLF::XmlAttribute& value) {
                s._thumb->SetSound(value.GetValue(), kHoverSlot);
              }),
      });
  return table;
}

bool Slider::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!Progress::LoadFromXml(element)) {
    return false;
  }
  return Properties().Load(*this, element);
}

LLF::XmlElement* Slider::SaveToXml() {
  LLF::XmlElement* element = Progress::SaveToXml();
  // The constructor makes the thumb again: drop the element written for it
  // (Control wrote one per child, in order).
  const int index = IndexOfChild(_thumb);
  if (index >= 0 && index < element->GetChildsCount()) {
    element->RemoveChild(index);
  }
  const Slider reference;
  Properties().Save(*this, reference, *element);
  return element;
}

void Slider::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Progress::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
}

bool Slider::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                   const std::wstring& value) {
  if (page == kSliderPage) {
    return Properties().Edit(*this, label, value);
  }
  return Progress::SetPropertyFromEditor(page, label, value);
}

Control* Slider::CreateInstance() const {
  return new Slider();
}

}  // namespace HLF
