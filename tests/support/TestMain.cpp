// Entry of every test binary: each run gets private user-data and temp
// folders, removed afterwards, so no test writes into a real home.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "TestEnv.h"

namespace {

std::string MakeRunFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/qm-test-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    return {};
  }
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);

  const std::string root = MakeRunFolder();
  if (root.empty()) {
    return 2;
  }
  std::filesystem::create_directories(root + "/data");
  std::filesystem::create_directories(root + "/tmp");
  setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  setenv("TMPDIR", (root + "/tmp").c_str(), 1);
  QmTest::SetRunFolder(root);

  const int result = RUN_ALL_TESTS();

  if (!std::getenv("QM_KEEP_TEST_FILES")) {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  return result;
}
