#pragma once
// The base of the property mix-ins: further bases of a control class, next
// to HLF::Control, each holding its own settings, reading and writing its
// own attributes on the control's element, and offering one page of rows to
// the editor. A root class of its own, outside the framework's object tree;
// a control that mixes properties in answers the type test for all of them.
//
// A control class may mix in several properties, so every operation a
// property shares with Control, or with another property, carries its own
// name in each property (LoadImageProps, SaveSoundProps, ...): one C++
// override would otherwise catch them all. Those of this base (the page and
// the owner) exist once per mixed-in property; callers qualify them
// (ImageProperty::SetOwner).
//
// Subclasses
// continue from 7.
#include <string>

#include <cstdint>

#include "math/Color.h"
#include "properties/PropertyGroup.h"

namespace HLF {

class Control;

class ControlProperty {
 public:
  ControlProperty() = default;
  ControlProperty(const ControlProperty&) = delete;
  ControlProperty& operator=(const ControlProperty&) = delete;

  // "ControlProperty" only.
  virtual bool IsKindOf(const std::string& className) const { return className == "ControlProperty"; }
  // The page filled afresh (FillPropertyPage), as a copy.
  virtual PropertyGroup GetPropertyGroup();
  // An edit of the row with the label; true when handled. True here,
  // nothing changed.
  virtual bool SetPropertyFromPage(const std::wstring& label, const std::wstring& value);
  // Rebuilds the page. Here: no rows and an empty title.
  virtual void FillPropertyPage();
  // The control that embeds the property; not owned.
  virtual void SetOwner(Control* owner) { _owner = owner; }
  virtual Control* GetOwner() const { return _owner; }
  virtual ~ControlProperty() = default;

 protected:
  // The colour with its alpha scaled by the drawing alpha.
  static LLF::Color Faded(LLF::Color color, uint8_t alpha) {
    color.a = static_cast<uint8_t>(color.a * alpha / 255);
    return color;
  }

  PropertyGroup _propertyGroup;
  Control* _owner = nullptr;
};

}  // namespace HLF
