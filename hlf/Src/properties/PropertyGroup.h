#pragma once
// One page of the editor's property dialog: a title and its rows in order.
#include <string>
#include <vector>

#include "properties/PropertyEntry.h"

namespace HLF {

struct PropertyGroup {
  std::wstring title;
  std::vector<PropertyEntry> entries;

  PropertyGroup() = default;
  explicit PropertyGroup(const std::wstring& pageTitle) : title(pageTitle) {}
};

}  // namespace HLF
