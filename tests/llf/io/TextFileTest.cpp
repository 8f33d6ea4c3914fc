#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestEnv.h"
#include "core/StringUtils.h"
#include "io/TextFile.h"

namespace {

using LLF::TextFile;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(TextFileTest, DetectsTheTenMarks) {
  struct Case {
    std::string bytes;
    int encoding;
    unsigned bom;
  } cases[] = {
      {"\xEF\xBB\xBFx", TextFile::ENCODING_UTF8, 3},
      {std::string("\xFE\xFF\0x", 4), TextFile::ENCODING_UTF16BE, 2},
      {"\xFF\xFEx", TextFile::ENCODING_UTF16LE, 2},
      {std::string("\0\0\xFE\xFFx", 5), TextFile::ENCODING_UTF32BE, 4},
      {std::string("\xFF\xFE\0\0x", 5), TextFile::ENCODING_UTF32LE, 4},
      {"\x0E\xFE\xFFx", TextFile::ENCODING_SCSU, 3},
      {"+/v8", TextFile::ENCODING_UTF7, 3},
      {"\xDD\x73\x66\x73x", TextFile::ENCODING_UTFEBCDIC, 4},
      {"\xFB\xEE\x28x", TextFile::ENCODING_BOCU1, 3},
      // A mark alone is an empty text in its encoding.
      {"\xEF\xBB\xBF", TextFile::ENCODING_UTF8, 3},
      {"\xFF\xFE", TextFile::ENCODING_UTF16LE, 2},
      {std::string("\0\0\xFE\xFF", 4), TextFile::ENCODING_UTF32BE, 4},
      // Too short for a mark, or no mark: ANSI.
      {"\xEF\xBB", TextFile::ENCODING_ANSI, 0},
      {"\xFF", TextFile::ENCODING_ANSI, 0},
      {"8 bits", TextFile::ENCODING_ANSI, 0},
      {"/v+", TextFile::ENCODING_ANSI, 0},
      {"", TextFile::ENCODING_ANSI, 0},
  };
  for (const auto& c : cases) {
    unsigned bom = 99;
    EXPECT_EQ(TextFile::DetectEncoding(reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                       static_cast<unsigned>(c.bytes.size()), bom),
              c.encoding)
        << c.bytes;
    EXPECT_EQ(bom, c.bom) << c.bytes;
  }
}

// Write, read back, write again: the same text and the same bytes, in every
// writable encoding, for an empty text and characters above U+FFFF.
TEST(TextFileTest, RoundTripsAreByteExact) {
  const std::string root = QmTest::NewTempFolder("text");
  const std::wstring texts[] = {L"", L"plain", L"Gr\u00FC\u00DFe \u20AC\r\nline\ttab",
                                L"\U0001F600 \U00010348 z"};
  const char* expected[] = {
      "A\xC3\xA9\xF0\x9F\x98\x80",  // ANSI: UTF-8 without a mark
      "\xEF\xBB\xBF"
      "A\xC3\xA9\xF0\x9F\x98\x80",                 // UTF-8
      "\xFE\xFF\x00\x41\x00\xE9\xD8\x3D\xDE\x00",  // UTF-16 BE, a surrogate pair
      "\xFF\xFE\x41\x00\xE9\x00\x3D\xD8\x00\xDE",  // UTF-16 LE
  };
  const size_t expectedSize[] = {7, 10, 10, 10};
  for (int encoding = 0; encoding <= 3; ++encoding) {
    const std::string file = root + "/t" + std::to_string(encoding) + ".txt";
    const std::wstring path = LLF::FromOsPath(file);
    TextFile tf;
    ASSERT_TRUE(tf.WriteAll(path, L"A\u00E9\U0001F600", encoding));
    EXPECT_EQ(ReadBytes(file), std::string(expected[encoding], expectedSize[encoding])) << encoding;

    for (const std::wstring& text : texts) {
      ASSERT_TRUE(tf.WriteAll(path, text, encoding));
      const std::string bytes = ReadBytes(file);
      EXPECT_EQ(bytes.substr(0, TextFile::ByteOrderMark(encoding).size()), TextFile::ByteOrderMark(encoding));
      std::wstring back = L"unchanged";
      ASSERT_TRUE(tf.ReadAll(path, back)) << encoding;
      EXPECT_EQ(back, text) << encoding;
      EXPECT_EQ(tf.GetEncoding(), encoding);
      ASSERT_TRUE(tf.WriteAll(path, back, tf.GetEncoding()));
      EXPECT_EQ(ReadBytes(file), bytes) << encoding;
    }
  }
  // Nothing is left beside the files.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), {}), 4);
}

// Bad bytes read as U+FFFD and reading goes on to the end.
TEST(TextFileTest, InvalidBytesBecomeReplacementCharacters) {
  const std::string root = QmTest::NewTempFolder("text");
  struct Case {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"\xEF\xBB\xBF"
       "a\x80"
       "b\xC0\xBC"
       "c\xF8z",
       L"a\uFFFDb\uFFFDc\uFFFDz"},
      {"\xEF\xBB\xBF"
       "cut \xE2\x82",
       L"cut \uFFFD"},
      // A pair written as two three-byte sequences is one character.
      {"\xEF\xBB\xBF\xED\xA0\xBD\xED\xB8\x80!", L"\U0001F600!"},
      {std::string("\xFF\xFE\x3D\xD8\x41\x00\x00\xDC\x42\x00\x43", 11), L"\uFFFDA\uFFFDB\uFFFD"},
      {std::string("\xFE\xFF\xD8\x3D\xDE\x00\x00\x41", 8), L"\U0001F600A"},
      // UTF-32 is decoded, in both byte orders.
      {std::string("\xFF\xFE\0\0\x41\0\0\0\x00\xF6\x01\x00\x00\x00\x11\x00", 16), L"A\U0001F600\uFFFD"},
      {std::string("\0\0\xFE\xFF\0\0\0\x42\0\x01", 10), L"B\uFFFD"},
      // No mark: UTF-8 when the whole text is valid UTF-8, else Windows-1252;
      // a zero byte ends ANSI text.
      {"caf\xC3\xA9", L"caf\u00E9"},
      {"caf\xE9 \x80", L"caf\u00E9 \u20AC"},
      {std::string("ab\0cd", 5), L"ab"},
  };
  for (const auto& c : cases) {
    WriteBytes(root + "/in.txt", c.bytes);
    std::wstring text;
    TextFile tf;
    ASSERT_TRUE(tf.ReadAll(LLF::FromOsPath(root + "/in.txt"), text)) << c.bytes;
    EXPECT_EQ(text, c.text) << c.bytes;

    // The same through Open and ReadText, and from memory.
    ASSERT_TRUE(tf.Open(LLF::FromOsPath(root + "/in.txt"), 0, LLF::FILEOPS_READ, LLF::FILEOPEN_OPENEXISTING));
    text.clear();
    EXPECT_TRUE(tf.ReadText(text));
    EXPECT_EQ(text, c.text) << c.bytes;
    std::string copy = c.bytes;
    ASSERT_TRUE(tf.OpenMemory(copy.data(), static_cast<unsigned>(copy.size())));
    text.clear();
    EXPECT_TRUE(tf.ReadText(text));
    EXPECT_EQ(text, c.text) << c.bytes;
  }
}

// Encodings that are only recognised make a read fail; they never read as
// an empty success.
TEST(TextFileTest, UndecodableEncodingsFail) {
  const std::string root = QmTest::NewTempFolder("text");
  for (const char* bytes : {"\x0E\xFE\xFFxyz", "+/v8xyz", "\xDD\x73\x66\x73xyz", "\xFB\xEE\x28xyz"}) {
    WriteBytes(root + "/in.txt", bytes);
    std::wstring text = L"kept";
    TextFile tf;
    EXPECT_FALSE(tf.ReadAll(LLF::FromOsPath(root + "/in.txt"), text)) << bytes;
    EXPECT_EQ(text, L"kept");
    ASSERT_TRUE(tf.Open(LLF::FromOsPath(root + "/in.txt"), 1, LLF::FILEOPS_READ, LLF::FILEOPEN_OPENEXISTING));
    EXPECT_FALSE(tf.ReadText(text)) << bytes;
    EXPECT_FALSE(tf.WriteText(L"x")) << bytes;
    EXPECT_EQ(text, L"kept");
  }
  std::wstring text;
  EXPECT_FALSE(TextFile().ReadAll(LLF::FromOsPath(root + "/missing.txt"), text));
}

// A bad encoding argument fails before an existing file is touched.
TEST(TextFileTest, BadEncodingLeavesTheFileAlone) {
  const std::string root = QmTest::NewTempFolder("text");
  const std::string file = root + "/keep.txt";
  WriteBytes(file, "precious");
  TextFile tf;
  for (int encoding : {-1, 4, 5, 7, 9, 10}) {
    EXPECT_FALSE(tf.WriteAll(LLF::FromOsPath(file), L"new", encoding)) << encoding;
    EXPECT_FALSE(tf.Open(LLF::FromOsPath(file), encoding, LLF::FILEOPS_READ_WRITE, LLF::FILEOPEN_NEW))
        << encoding;
    EXPECT_FALSE(tf.IsOpen());
    EXPECT_EQ(ReadBytes(file), "precious") << encoding;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), {}), 1);
}

// Replacing a file keeps what names it and who may read it: a symbolic link
// (or a chain of them) is written through to its target and stays a link; the
// target keeps its permission bits and, where the process may set them, its
// owner and group. No temporary file is left behind.
TEST(TextFileTest, WriteAllKeepsLinksModeAndOwner) {
  namespace fs = std::filesystem;
  const std::string root = QmTest::NewTempFolder("text");
  fs::create_directories(root + "/data");
  const std::string real = root + "/data/real.txt";
  WriteBytes(real, "old");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("data/real.txt", root + "/link.txt");
  fs::create_symlink(root + "/link.txt", root + "/outer.txt");
  const bool asRoot = ::geteuid() == 0;
  if (asRoot) {
    ASSERT_EQ(::chown(real.c_str(), 4321, 4322), 0);
  }

  TextFile tf;
  for (const char* name : {"/link.txt", "/outer.txt", "/data/real.txt"}) {
    ASSERT_TRUE(tf.WriteAll(LLF::FromOsPath(root + name), L"new", TextFile::ENCODING_ANSI)) << name;
    EXPECT_EQ(ReadBytes(real), "new") << name;
    EXPECT_TRUE(fs::is_symlink(root + "/link.txt")) << name;
    EXPECT_EQ(fs::read_symlink(root + "/link.txt"), "data/real.txt") << name;
    EXPECT_TRUE(fs::is_symlink(root + "/outer.txt")) << name;
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u) << name;
    if (asRoot) {
      EXPECT_EQ(st.st_uid, 4321u) << name;
      EXPECT_EQ(st.st_gid, 4322u) << name;
    }
    WriteBytes(real, "old");
  }
  // A link to nothing yet: the write makes its target.
  fs::create_symlink("data/later.txt", root + "/dangling.txt");
  ASSERT_TRUE(tf.WriteAll(LLF::FromOsPath(root + "/dangling.txt"), L"made", TextFile::ENCODING_ANSI));
  EXPECT_TRUE(fs::is_symlink(root + "/dangling.txt"));
  EXPECT_EQ(ReadBytes(root + "/data/later.txt"), "made");
  // A loop of links is refused.
  fs::create_symlink("loop2.txt", root + "/loop1.txt");
  fs::create_symlink("loop1.txt", root + "/loop2.txt");
  EXPECT_FALSE(tf.WriteAll(LLF::FromOsPath(root + "/loop1.txt"), L"x", TextFile::ENCODING_ANSI));

  EXPECT_EQ(std::distance(fs::directory_iterator(root), {}), 6);
  EXPECT_EQ(std::distance(fs::directory_iterator(root + "/data"), {}), 2);
}

TEST(TextFileTest, OpenWritesAndSkipsTheMark) {
  const std::string root = QmTest::NewTempFolder("text");
  const std::wstring path = LLF::FromOsPath(root + "/sub/u16.txt");
  {
    TextFile tf(path, LLF::FILEOPS_READ_WRITE, LLF::FILEOPEN_NEW);  // UTF-8 by default
    EXPECT_EQ(tf.GetEncoding(), TextFile::ENCODING_UTF8);
    ASSERT_TRUE(tf.Open(path, TextFile::ENCODING_UTF16LE, LLF::FILEOPS_READ_WRITE, LLF::FILEOPEN_NEW));
    EXPECT_TRUE(tf.WriteText(L"ab"));
    EXPECT_TRUE(tf.WriteText(L"\U0001F600"));
  }
  EXPECT_EQ(ReadBytes(root + "/sub/u16.txt"), std::string("\xFF\xFE"
                                                          "a\0b\0\x3D\xD8\x00\xDE",
                                                          10));

  TextFile tf;
  ASSERT_TRUE(tf.Open(path, TextFile::ENCODING_ANSI, LLF::FILEOPS_READ, LLF::FILEOPEN_OPENEXISTING));
  EXPECT_EQ(tf.GetEncoding(), TextFile::ENCODING_UTF16LE);
  EXPECT_EQ(tf.GetPosition(), 2u);
  std::wstring text;
  ASSERT_TRUE(tf.ReadText(text));
  EXPECT_EQ(text, L"ab\U0001F600");
  ASSERT_TRUE(tf.ReadText(text));
  EXPECT_EQ(text, L"") << "nothing left reads as an empty text";
  EXPECT_TRUE(tf.IsKindOf("TextFile") && tf.IsKindOf("File") && tf.IsKindOf("Object"));
}

}  // namespace
