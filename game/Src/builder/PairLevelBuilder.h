#pragma once
// Pair levels from a folder of layers. Scene mode: one layer per placed
// item, "<Pane>_<NN><x>.<ext>", gives the first scene of level.xml and keeps
// the layers. Item-export mode: each layer becomes object_<n>.png of the
// item library (n its 1-based place in the sorted listing) and asset.xml.
#include <string>
#include <vector>

class PairLevelBuilder {
 public:
  struct ItemName {
    bool usable = false;  // false: no "_", no "." after it, or no digits
    bool left = false;    // "Left" in the name (case-sensitive)
    int number = 0;
    std::wstring tail;       // "_05" for "Left_05a.png"
    bool digitCut = false;   // the character cut before the "." was a digit
    bool paneNamed = false;  // "Left" or "Right" appears
  };

  static ItemName ParseName(const std::wstring& fileName);
  // folder ends with a separator; files is its sorted listing.
  static void Build(const std::wstring& folder, const std::vector<std::wstring>& files, bool exportImages);

 private:
  static void BuildScene(const std::wstring& folder, const std::vector<std::wstring>& files);
  static void ExportItems(const std::wstring& folder, const std::vector<std::wstring>& files);
};
