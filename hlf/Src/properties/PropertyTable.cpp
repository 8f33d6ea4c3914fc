#include "properties/PropertyTable.h"

#include <tuple>

namespace HLF {

std::vector<size_t> PropertyOrder(const std::vector<int>& ranks) {
  std::vector<size_t> order(ranks.size());
  for (size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  // A field given a place goes before the one whose table position it
  // shares.
  const auto key = [&](size_t i) {
    return ranks[i] >= 0 ? std::tuple(static_cast<size_t>(ranks[i]), 0, i) : std::tuple(i, 1, i);
  };
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
  return order;
}

}  // namespace HLF
