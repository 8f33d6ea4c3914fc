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

}  // namespace QmTest
