#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "TestEnv.h"
#include "core/StringUtils.h"
#include "io/File.h"

namespace {

using LLF::File;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FileTest, MemoryReadWriteAndEnd) {
  File f;
  unsigned char block[4] = {1, 2, 3, 4};
  EXPECT_FALSE(f.OpenMemory(nullptr, 4, LLF::FILEOPS_READ));
  EXPECT_FALSE(f.OpenMemory(block, 0, LLF::FILEOPS_READ));
  EXPECT_FALSE(f.IsOpen());

  ASSERT_TRUE(f.OpenMemory(block, 4, LLF::FILEOPS_READ));
  EXPECT_EQ(f.GetSize(), 4u);
  unsigned char out[10] = {};
  EXPECT_EQ(f.Read(out, 10), 4u);
  EXPECT_EQ(std::memcmp(out, block, 4), 0);
  EXPECT_EQ(f.Read(out, 10), 0u);
  EXPECT_TRUE(f.IsEOF());
  ASSERT_TRUE(f.Seek(0, 0));
  EXPECT_EQ(f.Write("x", 1), 0u) << "a read-only block takes no writes";
  EXPECT_EQ(block[0], 1);

  ASSERT_TRUE(f.OpenMemory(block, 4, LLF::FILEOPS_READ_WRITE));
  ASSERT_TRUE(f.Seek(0, 1));
  EXPECT_EQ(f.Write("abcdef", 6), 3u) << "a block never grows";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 4), std::string("\x01"
                                                                        "abc"));
  EXPECT_EQ(
      f.Describe(),
      L"File: _filename=MemoryFile _fileOpenType=FILEOPEN_OPENEXISTING _fileOperations=FILEOPS_READ_WRITE");

  unsigned char* all = nullptr;
  unsigned size = 0;
  ASSERT_TRUE(f.ReadAll(all, size));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(std::memcmp(all, block, 4), 0);
  delete[] all;

  EXPECT_TRUE(f.Close());
  EXPECT_FALSE(f.IsOpen());
  EXPECT_FALSE(f.Close());
  EXPECT_EQ(f.Read(out, 1), 0u);
}

// Memory seeks in both directions: the position never leaves the block,
// and a refused seek leaves it where it was.
TEST(FileTest, MemorySeeksStayInsideTheBlock) {
  struct Case {
    unsigned from;
    int origin, offset;
    bool ok;
    unsigned to;
  } cases[] = {
      {0, 0, 4, true, 4},  {0, 0, 5, false, 0},  {2, 0, -1, false, 2}, {1, 1, 3, true, 4},
      {1, 1, 4, false, 1}, {3, 1, -3, true, 0},  {3, 1, -4, false, 3}, {0, 2, 1, true, 3},
      {0, 2, 0, true, 4},  {0, 2, 4, true, 0},   {1, 2, 5, false, 1},  {1, 2, -1, false, 1},
      {1, 3, 0, false, 1}, {2, -1, 0, false, 2},
  };
  unsigned char block[4] = {};
  File f;
  ASSERT_TRUE(f.OpenMemory(block, 4, LLF::FILEOPS_READ));
  for (const auto& c : cases) {
    ASSERT_TRUE(f.Seek(0, static_cast<int>(c.from)));
    EXPECT_EQ(f.Seek(c.origin, c.offset), c.ok) << c.from << " " << c.origin << " " << c.offset;
    EXPECT_EQ(f.GetPosition(), c.to) << c.from << " " << c.origin << " " << c.offset;
  }
}

TEST(FileTest, DiskFiles) {
  const std::string root = QmTest::NewTempFolder("file");
  // Both separators; the missing folders are made for a writable open.
  const std::wstring path = LLF::FromOsPath(root) + L"/one\\two/data.bin";
  File f;
  ASSERT_TRUE(f.Open(path, LLF::FILEOPS_READ_WRITE, LLF::FILEOPEN_NEW));
  EXPECT_TRUE(std::filesystem::is_directory(root + "/one/two"));
  EXPECT_EQ(f.Write("hello world", 11), 11u);
  EXPECT_EQ(f.GetSize(), 11u);
  EXPECT_TRUE(f.IsEOF());
  EXPECT_TRUE(f.Seek(2, -5));  // on disk the offset is added to the end
  EXPECT_EQ(f.GetPosition(), 6u);
  EXPECT_FALSE(f.Seek(0, -1));
  EXPECT_FALSE(f.Seek(3, 0));
  EXPECT_EQ(f.GetPosition(), 6u);
  EXPECT_TRUE(f.Flush());
  EXPECT_EQ(f.Describe(),
            L"File: _filename=" + path + L" _fileOpenType=FILEOPEN_NEW _fileOperations=FILEOPS_READ_WRITE");
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(ReadBytes(root + "/one/two/data.bin"), "hello world");

  ASSERT_TRUE(f.OpenExisting(path, LLF::FILEOPS_READ));
  EXPECT_EQ(f.Write("x", 1), 0u);
  char word[5] = {};
  ASSERT_TRUE(f.Seek(0, 6));
  EXPECT_EQ(f.Read(word, 5), 5u);
  EXPECT_EQ(std::string(word, 5), "world");
  unsigned char* all = nullptr;
  unsigned size = 0;
  ASSERT_TRUE(f.ReadAll(all, size));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(all), size), "hello world");
  delete[] all;

  // Opening anew replaces the file.
  ASSERT_TRUE(f.Open(path, LLF::FILEOPS_READ_WRITE, LLF::FILEOPEN_NEW));
  EXPECT_EQ(f.GetSize(), 0u);
  ASSERT_TRUE(f.ReadAll(all, size)) << "an empty file reads whole";
  EXPECT_EQ(size, 0u);
  delete[] all;
}

TEST(FileTest, OpenFailures) {
  const std::string root = QmTest::NewTempFolder("file");
  const std::wstring folder = LLF::FromOsPath(root);
  File f;
  EXPECT_FALSE(f.OpenExisting(folder + L"/missing.txt", LLF::FILEOPS_READ));
  EXPECT_FALSE(std::filesystem::exists(root + "/missing.txt"));
  // A folder is not a file, whichever way it is asked for (callers test
  // for a file's presence with Open).
  EXPECT_FALSE(f.OpenExisting(folder, LLF::FILEOPS_READ));
  EXPECT_FALSE(f.OpenExisting(folder, LLF::FILEOPS_READ_WRITE));
  EXPECT_FALSE(f.Open(folder, LLF::FILEOPS_READ_WRITE, LLF::FILEOPEN_NEW));
  EXPECT_FALSE(f.IsOpen());
  EXPECT_FALSE(f.Open(L"", LLF::FILEOPS_READ, LLF::FILEOPEN_OPENEXISTING));
  unsigned char* all = reinterpret_cast<unsigned char*>(1);
  unsigned size = 7;
  EXPECT_FALSE(f.ReadAll(all, size));
  EXPECT_EQ(all, nullptr);
  EXPECT_EQ(size, 0u);
}

TEST(FileTest, MemoryFileThenDiskFile) {
  const std::string root = QmTest::NewTempFolder("file");
  std::ofstream(root + "/a.txt", std::ios::binary) << "abc";
  unsigned char block[2] = {9, 9};
  File f;
  ASSERT_TRUE(f.OpenMemory(block, 2, LLF::FILEOPS_READ));
  ASSERT_TRUE(f.OpenExisting(LLF::FromOsPath(root + "/a.txt"), LLF::FILEOPS_READ));
  EXPECT_EQ(f.GetSize(), 3u);
  char out[3];
  EXPECT_EQ(f.Read(out, 3), 3u);
  EXPECT_EQ(std::string(out, 3), "abc");
  EXPECT_EQ(block[0], 9);
}

TEST(FileTest, KindTest) {
  File f;
  EXPECT_TRUE(f.IsKindOf("File"));
  EXPECT_TRUE(f.IsKindOf("Object"));
  EXPECT_FALSE(f.IsKindOf("TextFile"));
}

}  // namespace
