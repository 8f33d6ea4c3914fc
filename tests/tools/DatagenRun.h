#pragma once
// Runs the data generator in-process as its command line would, keeping its
// exit code and what it printed, and helpers over the folders it writes.
#include <map>
#include <string>
#include <vector>

namespace QmTest {

struct DatagenRun {
  int exitCode = -1;
  std::string out;
  std::string err;

  // Counts the lines of err that start with the prefix and hold the text.
  int Lines(const std::string& prefix, const std::string& text) const;
};

// datagen [--data dataFolder] [--fonts fontFolder] output; an empty
// dataFolder or fontFolder leaves the option out.
DatagenRun RunDatagen(const std::string& output, const std::string& dataFolder,
                      const std::string& fontFolder = "");
// The repository's data/ folder.
std::string SourceDataFolder();
// Every regular file below folder: relative path -> bytes.
std::map<std::string, std::string> ReadTree(const std::string& folder);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace QmTest
