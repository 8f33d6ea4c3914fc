#include "properties/ControlProperty.h"

namespace HLF {

PropertyGroup ControlProperty::GetPropertyGroup() {
  FillPropertyPage();
  return _propertyGroup;
}

bool ControlProperty::SetPropertyFromPage(const std::wstring& label, const std::wstring& value) {
  (void)label;
  (void)value;
  return true;
}

void ControlProperty::FillPropertyPage() {
  _propertyGroup.entries.clear();
  _propertyGroup.title.clear();
}

}  // namespace HLF
