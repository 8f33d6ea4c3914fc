// The level builder killed (SIGKILL) at a random moment of a run, many times
// over, each time on a fresh copy of the same layers. After every kill each
// file in the folder is whole: a layer as it was, an output as a complete
// run writes it, or a temporary of the interrupted write; a level file
// stands only beside every other output, and until it does every layer
// stays. A new run over what a kill left (its finished outputs cleared, as
// the builder asks) writes over the temporaries and builds the same level.
//
// QM_KILL_COUNT sets the kills (100 by default; CI runs 1000) and
// QM_KILL_SEED the random seed (printed, so a failure can be repeated).
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "BuilderTestSupport.h"
#include "FileBytes.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestEnv.h"
#include "builder/LevelBuilder.h"
#include "image/CodecJpg.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

const wchar_t kBuild[] = L"buildlevel seek lv/kill";

bool IsTemporary(const std::string& name) {
  return name.rfind('~', 0) == 0 || (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0);
}

class BuilderKillTest : public ::testing::Test {
 protected:
  BuilderKillTest() {
    LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecPng::GetInstance());
    LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecJpg::GetInstance());
  }
  ~BuilderKillTest() override {
    LLF::ImagesManager::GetInstance().UnregisterCodec(&LLF::CodecJpg::GetInstance());
    LLF::ImagesManager::GetInstance().UnregisterCodec(&LLF::CodecPng::GetInstance());
  }

  // The folder holding the layers alone.
  void Reset() {
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& [name, bytes] : layers) WriteBytes(dir + name, bytes);
  }

  TempFolders folders;
  LogRecorder log;
  const std::string dir = folders.Program() + "/lv/kill/";
  Files layers;
};

TEST_F(BuilderKillTest, EveryKillLeavesWholeFilesAndARunAfterItBuildsTheSameLevel) {
  WriteLayer(dir + "M_base.png", {{{0, 0, 320, 240}, LLF::Color(0, 0, 200, 255)}}, 320, 240);
  WriteLayer(dir + "L_lamp.png", {{{100, 50, 40, 40}, LLF::Color(200, 0, 0, 255)}}, 320, 240);
  WriteLayer(dir + "A_cup--2.png", {{{10, 150, 30, 20}, LLF::Color(0, 200, 0, 255)}}, 320, 240);
  WriteLayer(dir + "X_hat.png", {{{200, 20, 16, 16}, LLF::Color(200, 200, 0, 255)}}, 320, 240);
  layers = FolderBytes(dir);

  // A whole run, and the time it takes.
  const auto start = std::chrono::steady_clock::now();
  LevelBuilder::BuildLevel(kBuild);
  const auto runTime = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(log.Count(L"Level has been created!"), 1);
  const Files built = FolderBytes(dir);
  Files outputs;
  for (const auto& [name, bytes] : built) {
    if (!layers.count(name)) outputs[name] = bytes;
  }
  ASSERT_TRUE(outputs.count("level.xml") && outputs.count("asset.xml") && outputs.count("background.jpg"));

  const unsigned seed = KillSeed();
  std::mt19937 random(seed);
  std::cout << "seed " << seed << std::endl;
  const long window =
      std::max<long>(long(std::chrono::duration_cast<std::chrono::microseconds>(runTime).count() * 3), 500);
  const int kills = KillCount();
  int whole = 0;
  int partial = 0;
  int temporaries = 0;
  for (int kill = 0; kill < kills; ++kill) {
    Reset();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(ready[0]);
      const char byte = 1;
      if (write(ready[1], &byte, 1) != 1) _exit(3);
      LevelBuilder::BuildLevel(kBuild);
      for (;;) pause();
    }
    close(ready[1]);
    pollfd started{ready[0], POLLIN, 0};
    ASSERT_EQ(poll(&started, 1, 60000), 1) << "the child did not start";
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<long>(0, window)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;

    const Files left = FolderBytes(dir);
    int temps = 0;
    for (const auto& [name, bytes] : left) {
      if (IsTemporary(name)) {
        ++temps;
      } else if (layers.count(name)) {
        ASSERT_EQ(bytes, layers.at(name)) << "kill " << kill << " changed the layer " << name;
      } else {
        ASSERT_TRUE(outputs.count(name)) << "kill " << kill << " left " << name;
        ASSERT_EQ(bytes, outputs.at(name)) << "kill " << kill << " left a broken " << name;
      }
    }
    ASSERT_LE(temps, 1) << "kill " << kill << " left temporaries of more than the write it interrupted";
    temporaries += temps;
    if (left.count("level.xml")) {
      ++whole;
      for (const auto& [name, bytes] : outputs) {
        ASSERT_TRUE(left.count(name)) << "kill " << kill << ": a level file without " << name;
      }
      continue;
    }
    for (const auto& [name, bytes] : layers) {
      ASSERT_TRUE(left.count(name)) << "kill " << kill << " lost the layer " << name
                                    << " before the level stood";
    }
    // The builder replaces nothing, so its finished outputs go first; its
    // temporaries are no layers and are written over.
    partial += left.size() > layers.size() ? 1 : 0;
    for (const auto& [name, bytes] : outputs) fs::remove(dir + name);
    LevelBuilder::BuildLevel(kBuild);
    ASSERT_TRUE(FolderBytes(dir) == built) << "the run after kill " << kill << " built another folder";
  }
  std::cout << kills << " kills: " << whole << " after the level stood, " << partial << " left part of it, "
            << temporaries << " left a temporary" << std::endl;
  EXPECT_GT(partial, 0) << "no kill landed within a run";
}

}  // namespace
}  // namespace QmTest
