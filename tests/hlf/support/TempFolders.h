#pragma once
// A fresh program folder (made the working directory, where the game's
// "scripts/..." paths resolve) and a fresh per-user folder (XDG_DATA_HOME)
// for the scope's life; the previous ones come back afterwards.
#include <string>

namespace QmTest {

class TempFolders {
 public:
  TempFolders();
  ~TempFolders();
  TempFolders(const TempFolders&) = delete;
  TempFolders& operator=(const TempFolders&) = delete;

  const std::string& Program() const { return _program; }
  const std::string& User() const { return _user; }
  // Writes text to a file below the program folder, making its folders;
  // returns the full path.
  std::string WriteProgramFile(const std::string& relative, const std::string& text) const;

 private:
  std::string _program;
  std::string _user;
  std::string _previousDir;
  std::string _previousUser;
  bool _hadUser = false;
};

}  // namespace QmTest
