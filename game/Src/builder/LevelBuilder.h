#pragma once
// The console command "buildlevel": turns a folder of layer images exported
// one file per layer into the cut images, level.xml and asset.xml of a
// Seek, Mirror or Pair level, in that folder.
#include <string>

class LevelBuilder {
 public:
  struct Words {
    bool usage = false;   // the command alone
    std::wstring type;    // "seek", "mirror" or "pair"
    std::wstring folder;  // as typed, ending with a separator
    std::wstring option;
  };

  // The command line's words: "buildlevel folder" or "buildlevel type folder
  // [option]", any type word but mirror and pair meaning seek.
  static Words ReadWords(const std::wstring& line);
  // The merge distance of a Mirror option: the leading decimal number, 0
  // without one, 20 when there is no option.
  static int MergeDistance(const std::wstring& option);
  // The console handler.
  static void BuildLevel(const std::wstring& line);
};
