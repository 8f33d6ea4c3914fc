#pragma once
// The showcase's data folder, laid at run time: the game's generated data
// (its scripts, pictures, fonts and sounds) with the showcase's own XML
// copied over it. The showcase's lists, styles, strings, effects and
// layouts thus replace the game's files of the same names, and everything
// else (the pictures, the file and tutorial dialogs' layouts) is the game's.
#include <string>

class ShowcaseData {
 public:
  // Lays the data into a fresh folder under the temporary folder ($TMPDIR,
  // else /tmp). On failure Folder() is empty and Error() says why.
  explicit ShowcaseData(const std::string& generated = GeneratedFolder());
  // Removes the folder.
  ~ShowcaseData();
  ShowcaseData(const ShowcaseData&) = delete;
  ShowcaseData& operator=(const ShowcaseData&) = delete;

  const std::string& Folder() const { return _folder; }
  const std::string& Error() const { return _error; }

  // Copies the generated parts, then the showcase's files, into target
  // (made when missing). False, with the reason in error, when a part is
  // missing or a copy fails.
  static bool Lay(const std::string& generated, const std::string& target, std::string* error);
  // The generated data folder: the program file's own folder.
  static std::string GeneratedFolder();
  // The showcase's own files, in the source tree.
  static std::string OwnFolder();

 private:
  std::string _folder;
  std::string _error;
};
