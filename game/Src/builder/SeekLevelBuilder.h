#pragma once
// Seek levels from a folder of layers, one object per layer named
// "<anything>_<name>[--<d>].png" on a transparent canvas of the scene's
// size; the layer whose name comes out as "Base" is the background.
#include <string>
#include <vector>

class SeekLevelBuilder {
 public:
  // The object name of a layer file and its difficulty flag (1, unknown,
  // without a "--d" suffix).
  static void LayerName(const std::wstring& fileName, std::wstring& name, int& flag);
  // The flag attribute's word; "" for flags that write none (6 to 9).
  static std::wstring FlagWord(int flag);
  // folder ends with a separator; files is its sorted listing.
  static void Build(const std::wstring& folder, const std::vector<std::wstring>& files);
};
