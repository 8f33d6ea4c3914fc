#include "particles/EmitRegionNestedRect.h"

#include "core/Random.h"
#include "core/StringUtils.h"

namespace HLF {

LLF::Vector2 EmitRegionNestedRect::GetRandomPoint() {
  const float columns[3] = {_inner.x, _inner.width, _outer.width - (_inner.x + _inner.width)};
  const float rows[3] = {_inner.y, _inner.height, _outer.height - (_inner.y + _inner.height)};
  const float area = _outer.width * _outer.height - _inner.width * _inner.height;
  const bool sound = area > 0.0f && columns[0] >= 0.0f && columns[1] >= 0.0f && columns[2] >= 0.0f &&
                     rows[0] >= 0.0f && rows[1] >= 0.0f && rows[2] >= 0.0f;
  if (!sound) {
    // An inner rectangle past the outer one gives negative cells and
    // weights; the whole outer rectangle is the nearest sound region.
    const float x = LLF::Random(_outer.width);
    const float y = LLF::Random(_outer.height);
    return LLF::Vector2(_outer.x + x, _outer.y + y);
  }
  // The eight cells around the inner rectangle as (column, row), row by row.
  static constexpr int kCells[8][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
  int chosen = 7;
  float r = LLF::Random(1.0f);
  for (int i = 0; i < 7; ++i) {
    const float weight = columns[kCells[i][0]] * rows[kCells[i][1]] / area;
    if (r >= 0.0f && r < weight) {
      chosen = i;
      break;
    }
    r -= weight;
  }
  const int column = kCells[chosen][0];
  const int row = kCells[chosen][1];
  const float columnStart = column == 0 ? 0.0f : column == 1 ? columns[0] : columns[0] + columns[1];
  const float rowStart = row == 0 ? 0.0f : row == 1 ? rows[0] : rows[0] + rows[1];
  const float x = columnStart + LLF::Random(columns[column]);
  const float y = rowStart + LLF::Random(rows[row]);
  return LLF::Vector2(_outer.x + x, _outer.y + y);
}

bool EmitRegionNestedRect::SetData(const std::wstring& data) {
  const size_t separator = data.find(L';');
  if (separator == std::wstring::npos) {
    return false;
  }
  const bool outer = LLF::FromString(data.substr(0, separator), _outer);
  const bool inner = LLF::FromString(data.substr(separator + 1), _inner);
  return outer && inner;
}

std::wstring EmitRegionNestedRect::GetData() const {
  return LLF::ToString(_outer) + L';' + LLF::ToString(_inner);
}

}  // namespace HLF
