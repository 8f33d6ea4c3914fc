#include "TempFolders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TestEnv.h"

namespace QmTest {

TempFolders::TempFolders() {
  const std::string root = NewTempFolder("hlf");
  _program = root + "/program";
  _user = root + "/user";
  std::filesystem::create_directories(_program);
  std::filesystem::create_directories(_user);
  _previousDir = std::filesystem::current_path().string();
  if (const char* user = std::getenv("XDG_DATA_HOME")) {
    _hadUser = true;
    _previousUser = user;
  }
  setenv("XDG_DATA_HOME", _user.c_str(), 1);
  std::filesystem::current_path(_program);
}

TempFolders::~TempFolders() {
  std::error_code ec;
  std::filesystem::current_path(_previousDir, ec);
  if (_hadUser) {
    setenv("XDG_DATA_HOME", _previousUser.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

std::string TempFolders::WriteProgramFile(const std::string& relative, const std::string& text) const {
  const std::filesystem::path path = std::filesystem::path(_program) / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

}  // namespace QmTest
