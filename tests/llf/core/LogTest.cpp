#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TestEnv.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "io/TextEncoding.h"

namespace logtest {
constexpr int kThrowLine = __LINE__ + 2;
void Fail(int code) {
  LLF_THROW(code, L"Something broke.", L"");
}
}  // namespace logtest

namespace {

using LLF::Log;

const std::wregex kStamp(L"\\d{2}\\.\\d{2}\\.\\d{4} / \\d{2}:\\d{2}:\\d{2} ");

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The log's text after its mark, split into entries at CR LF before a stamp.
std::vector<std::wstring> Entries(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  const std::wstring text = LLF::Utf8Decode(bytes.substr(3));
  std::vector<std::wstring> entries;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L"\r\n", start);
    while (end != std::wstring::npos && end + 2 < text.size() &&
           !std::regex_search(text.substr(end + 2, 22), kStamp, std::regex_constants::match_continuous)) {
      end = text.find(L"\r\n", end + 2);
    }
    if (end == std::wstring::npos) {
      entries.push_back(text.substr(start));
      break;
    }
    entries.push_back(text.substr(start, end + 2 - start));
    start = end + 2;
  }
  return entries;
}

// Each entry without its stamp and CR LF, after checking both.
std::vector<std::wstring> Texts(const std::string& path) {
  std::vector<std::wstring> texts;
  for (const std::wstring& e : Entries(path)) {
    EXPECT_TRUE(e.size() >= 24 &&
                std::regex_search(e.substr(0, 22), kStamp, std::regex_constants::match_continuous))
        << LLF::WideToAnsi(e);
    EXPECT_EQ(e.substr(e.size() - 2), L"\r\n");
    texts.push_back(e.size() >= 24 ? e.substr(22, e.size() - 24) : e);
  }
  return texts;
}

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    _saved = Log::GetInstance().GetFolder();
    _folder = QmTest::NewTempFolder("log");
    Log::GetInstance().SetFolder(LLF::FromOsPath(_folder));
  }
  void TearDown() override {
    Log::SetEcho(nullptr);
    Log::GetInstance().SetFolder(_saved);
  }
  std::string LogFile() const { return _folder + "/log.txt"; }

  std::wstring _saved;
  std::string _folder;
};

TEST_F(LogTest, DefaultFolderIsTheUserDataFolder) {
  Log& log = Log::GetInstance();
  log.SetFolder(_saved);
  const char* data = std::getenv("XDG_DATA_HOME");
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(log.GetPath(), LLF::FromOsPath(data) + L"/log.txt");
  log.Write(L"first");
  EXPECT_EQ(Texts(std::string(data) + "/log.txt").back(), L"first");
}

TEST_F(LogTest, EntriesAndARunStartingAfresh) {
  Log& log = Log::GetInstance();
  EXPECT_FALSE(std::filesystem::exists(LogFile())) << "the file comes with the first entry";
  log.Write(L"one 100% plain");
  log.Write(L"");
  log.WriteSeparator();
  log.WriteStarLine();
  log.WriteFormat(L"%s has %d %s", std::wstring(L"L\u00F6g"), 3, "items");
  EXPECT_EQ(Texts(LogFile()), (std::vector<std::wstring>{L"one 100% plain", L"", std::wstring(62, L'='),
                                                         std::wstring(62, L'*'), L"L\u00F6g has 3 items"}));
  // The empty entry is the stamp and CR LF alone.
  EXPECT_EQ(Entries(LogFile())[1].size(), 24u);

  EXPECT_TRUE(log.Close());
  EXPECT_FALSE(log.Close());
  log.Write(L"second run");
  EXPECT_EQ(Texts(LogFile()), std::vector<std::wstring>{L"second run"});
}

TEST_F(LogTest, FormattedEntriesAreCut) {
  Log::GetInstance().WriteFormat(L"%s", std::wstring(3000, L'x'));
  Log::GetInstance().WriteFormat(L"%s|", std::wstring(2046, L'y'));
  const auto texts = Texts(LogFile());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], std::wstring(2047, L'x'));
  EXPECT_EQ(texts[1], std::wstring(2046, L'y') + L"|");
}

std::wstring* g_echoed = nullptr;
void Collect(const std::wstring& line) {
  *g_echoed += line;
}

TEST_F(LogTest, EchoReceivesTheSameCharacters) {
  std::wstring echoed;
  g_echoed = &echoed;
  Log::SetEcho(Collect);
  Log::GetInstance().Write(L"\u00E9cho \U0001F600");
  Log::GetInstance().WriteFormat(L"n=%d", 5);
  Log::SetEchoCallback(nullptr);
  Log::GetInstance().Write(L"not echoed");
  const std::string bytes = ReadBytes(LogFile());
  EXPECT_EQ(LLF::Utf8Encode(echoed), bytes.substr(3, LLF::Utf8Encode(echoed).size()));
  EXPECT_EQ(std::count(echoed.begin(), echoed.end(), L'\n'), 2);
}

// When the folder cannot be made, entries are dropped, the lock is given
// back, and logging works again once the folder can be used.
TEST_F(LogTest, UnwritableFolderDropsEntries) {
  std::ofstream(_folder + "/blocker") << "a file where a folder should be";
  Log& log = Log::GetInstance();
  log.SetFolder(LLF::FromOsPath(_folder + "/blocker/sub"));
  log.Write(L"lost");
  auto other = std::async(std::launch::async, [&log] { log.Write(L"lost too"); });
  ASSERT_EQ(other.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the lock was kept";
  EXPECT_FALSE(log.IsOpen());
  log.SetFolder(LLF::FromOsPath(_folder));
  log.Write(L"kept");
  EXPECT_EQ(Texts(LogFile()), std::vector<std::wstring>{L"kept"});
}

// Entries from several threads never mix within a line.
TEST_F(LogTest, ThreadsWriteWholeLines) {
  constexpr int kThreads = 4;
  constexpr int kEntries = 300;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kEntries; ++i) {
        Log::GetInstance().WriteFormat(L"thread %d entry %d %s", t, i,
                                       std::wstring(40, static_cast<wchar_t>(L'a' + t)));
      }
    });
  }
  for (auto& th : threads) th.join();
  const auto texts = Texts(LogFile());
  ASSERT_EQ(texts.size(), static_cast<size_t>(kThreads * kEntries));
  std::map<int, int> next;
  for (const std::wstring& text : texts) {
    int t = -1, i = -1;
    wchar_t tail[64] = {};
    ASSERT_EQ(swscanf(text.c_str(), L"thread %d entry %d %63ls", &t, &i, tail), 3) << LLF::WideToAnsi(text);
    EXPECT_EQ(std::wstring(tail), std::wstring(40, static_cast<wchar_t>(L'a' + t)));
    EXPECT_EQ(i, next[t]++) << "each thread's entries keep their order";
  }
}

TEST_F(LogTest, KindTest) {
  Log& log = Log::GetInstance();
  for (const char* name : {"Log", "TextFile", "File", "Object"}) EXPECT_TRUE(log.IsKindOf(name)) << name;
  EXPECT_FALSE(log.IsKindOf("Singleton"));
}

// An exception records itself once, as a star line, its eight-line dump and
// a star line, whether it is caught or copied.
TEST_F(LogTest, ExceptionIsLoggedOnceBetweenStarLines) {
  try {
    logtest::Fail(6);
  } catch (const LLF::Exception& e) {
    LLF::Exception copy = e;
    EXPECT_EQ(copy.GetCode(), 6);
  }
  const auto texts = Texts(LogFile());
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], std::wstring(62, L'*'));
  EXPECT_EQ(texts[1],
            L"An exception has been thrown!\r\nDetails:\r\nFile: tests/llf/core/LogTest.cpp\r\nLine: " +
                LLF::ToString(logtest::kThrowLine) +
                L"\r\nFunction: logtest::Fail\r\nCode: 6\r\n"
                L"Description: Something broke.\r\nSource: \r\n");
  EXPECT_EQ(texts[2], std::wstring(62, L'*'));
}

TEST_F(LogTest, ExceptionFields) {
  const LLF::Exception e(3, L"d", L"s", "f.cpp", 12, "LLF::X::Y");
  EXPECT_EQ(e.GetCode(), 3);
  EXPECT_EQ(e.Dump(),
            L"An exception has been thrown!\r\nDetails:\r\nFile: f.cpp\r\nLine: 12\r\nFunction: "
            L"LLF::X::Y\r\nCode: 3\r\n"
            L"Description: d\r\nSource: s\r\n");
  EXPECT_TRUE(e.IsKindOf("Exception") && e.IsKindOf("Object"));
  EXPECT_NE(e.what(), nullptr);
  struct Case {
    const char* signature;
    const char* name;
  } cases[] = {
      {"std::wstring LLF::OS_GetTempDir()", "LLF::OS_GetTempDir"},
      {"LLF::Mutex::Mutex()", "LLF::Mutex::Mutex"},
      {"void LLF::A<T>::f(int) [with T = std::map<int, int>]", "LLF::A<T>::f"},
      {"const std::vector<std::pair<int, int> >& LLF::X::Get() const", "LLF::X::Get"},
      {"int (anonymous namespace)::Foo(int (*)(int))", "(anonymous namespace)::Foo"},
      {"static char* LLF::Y::Make(const char*)", "LLF::Y::Make"},
      {"void {anonymous}::Bar()", "{anonymous}::Bar"},
      {"main", "main"},
  };
  for (const auto& c : cases) EXPECT_EQ(LLF::Exception::FunctionName(c.signature), c.name);
}

}  // namespace
