#pragma once
// Helpers shared by the test suites: the run's private folders and the
// source tree's location for fixtures.
#include <string>

namespace QmTest {

void SetRunFolder(const std::string& root);
// The run's private root folder (holds data/ and tmp/).
const std::string& RunFolder();
// A fresh, empty folder under the run folder, unique per call.
std::string NewTempFolder(const std::string& hint = "t");
// The source tree root (tests run from there; QM_SOURCE_DIR overrides).
std::string SourceDir();

// The kill tests' settings: QM_KILL_COUNT kills (100 when it is unset or
// not a positive number), and the random seed QM_KILL_SEED names or a
// fresh one (the tests print it, so a failure can be repeated).
int KillCount();
unsigned KillSeed();

// Sets an environment variable for the life of the object, then puts back
// what was there (or removes it).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string _name;
  std::string _old;
  bool _had = false;
};

}  // namespace QmTest
