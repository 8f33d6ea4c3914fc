// Entry of every test binary: each run gets private user-data, temp and
// runtime folders, removed afterwards, so no test writes into a real home,
// and each test runs between the same singletons.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "GraphicsPin.h"
#include "SingletonGuard.h"
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
  // Every test leaves the singletons as it found them.
  ::testing::UnitTest::GetInstance()->listeners().Append(new QmTest::SingletonGuard);
  // Headless by default: no window on a desktop, no sound on a card. A
  // driver named in the environment still wins.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  QmTest::PinGraphicsLibraries();

  const std::string root = MakeRunFolder();
  if (root.empty()) {
    return 2;
  }
  std::filesystem::create_directories(root + "/data");
  std::filesystem::create_directories(root + "/tmp");
  std::filesystem::create_directories(root + "/run");
  std::filesystem::permissions(root + "/run", std::filesystem::perms::owner_all);
  setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  setenv("TMPDIR", (root + "/tmp").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root + "/run").c_str(), 1);
  QmTest::SetRunFolder(root);

  const int result = RUN_ALL_TESTS();

  if (!std::getenv("QM_KEEP_TEST_FILES")) {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  return result;
}
