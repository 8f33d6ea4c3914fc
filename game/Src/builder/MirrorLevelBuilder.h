#pragma once
// Mirror levels from a folder of layers. Exactly three layers (files other
// than XML): the original picture, the picture with the left side's
// differences and the one with the right side's; the differences are found
// by comparing pixels. Any other number: each layer is one difference or
// the original, already cut by the designer.
#include <string>
#include <vector>

class MirrorLevelBuilder {
 public:
  enum Kind { KIND_NONE, KIND_LEFT, KIND_RIGHT, KIND_ORIGINAL };
  static constexpr int kDefaultMergeDistance = 20;

  // From the file name alone, case-blind: "left", else "right", else
  // "original" in it.
  static Kind KindOf(const std::wstring& fileName);
  // folder ends with a separator; files is its sorted listing.
  static void Build(const std::wstring& folder, const std::vector<std::wstring>& files, int mergeDistance);

 private:
  static void BuildThreeLayers(const std::wstring& folder, const std::vector<std::wstring>& layers,
                               int mergeDistance);
  static void BuildPreCut(const std::wstring& folder, const std::vector<std::wstring>& layers);
};
