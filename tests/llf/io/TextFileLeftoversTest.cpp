// A save clears the temporary files an earlier process left beside the same
// file when it was killed mid-save, and nothing else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "TestEnv.h"
#include "core/StringUtils.h"
#include "io/TextFile.h"

namespace {

TEST(TextFileLeftoversTest, SaveClearsOnlyAnotherProcessTemporaries) {
  namespace fs = std::filesystem;
  const std::string folder = QmTest::NewTempFolder("leftovers") + "/";
  const std::string own = "doc.xml." + std::to_string(getpid()) + ".77.tmp";
  struct Entry {
    std::string name;
    bool cleared;
  };
  const Entry entries[] = {
      {"doc.xml.4000001.0.tmp", true},  // killed while saving
      {"doc.xml.12.345.tmp", true},     //
      {own, false},                     // this process's own (another thread may be writing it)
      {"doc.xml.tmp", false},           // not of the saver's form
      {"doc.xml.12.x.tmp", false},      //
      {"doc.xml.bak.1.tmp", false},     //
      {"doc.xml.4000001.0.tmp.keep", false},
      {"other.xml.4000001.0.tmp", false},  // beside another file
      {"DOC.XML.4000001.0.tmp", false},    // names differ in case
  };
  for (const Entry& e : entries) {
    std::ofstream(folder + e.name) << "partial";
  }
  LLF::TextFile writer;
  ASSERT_TRUE(writer.WriteAll(LLF::FromOsPath(folder + "doc.xml"), L"<a />", LLF::TextFile::ENCODING_UTF8));
  for (const Entry& e : entries) {
    EXPECT_EQ(fs::exists(folder + e.name), !e.cleared) << e.name;
  }
  EXPECT_TRUE(fs::exists(folder + "doc.xml"));
}

}  // namespace
