#pragma once
// Plain byte access to files for tests that check what a program wrote.
#include <string>
#include <vector>

namespace QmTest {

// The UTF-8 byte-order mark every configuration file starts with.
inline const std::string kUtf8Bom = "\xEF\xBB\xBF";

bool FileExists(const std::string& path);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
// Writes the bytes, making the folders.
void WriteBytes(const std::string& path, const std::string& bytes);
// Names in the folder that start with prefix, sorted.
std::vector<std::string> NamesStartingWith(const std::string& folder, const std::string& prefix);

}  // namespace QmTest
