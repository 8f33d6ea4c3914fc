// Each document the game writes, under the failures a save must survive.
//
// Kills: the document is saved over and over by a child process
// that is killed (SIGKILL) at a random moment, many times in a row. After
// every kill the file holds one of the two states the saves alternate
// between, whole; temporary files a kill leaves do not pile up and are gone
// after the next save; and for the user's files the next start of the game
// reads them from the files, making no "bad" backup.
//
// Full disk and read-only folder: the save fails with a log line, the old
// file stays whole, no temporary file is left, and the next save, once
// writing works again, succeeds.
//
// QM_KILL_COUNT sets the kills per document (100 by default, so the suite
// stays quick; CI runs 1000) and QM_KILL_SEED the random seed (printed, so
// a failure can be repeated).
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "FileBytes.h"
#include "FontTestUtil.h"
#include "TempFolders.h"
#include "TestEnv.h"
#include "TestGame.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "devtools/Editor.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "model/XmlDocEx.h"
#include "shell/Player.h"
#include "xml/XmlDoc.h"

namespace {

using QmTest::FileExists;
using QmTest::NamesStartingWith;
using QmTest::ReadBytes;

const std::string kStrings = QmTest::kUtf8Bom +
                             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<game >\r\n\t<vars >\r\n"
                             "\t\t<var name=\"title\" value=\"Quillmarsh\" />\r\n\t</vars>\r\n</game>\r\n";

// One document: where it lies, how the game saves it in state 0 or 1, and
// the line a failed save writes. A document that names a picture (a bitmap
// font) is compared with its picture name left out, and the picture it
// names must be the one saved with it.
struct Document {
  const char* name;
  bool inUserFolder;  // else below the program folder
  std::string file;
  std::function<void(QmTest::TestGame&, int)> save;
  const wchar_t* failure;
  bool namesPicture = false;
};

std::vector<Document> Documents() {
  return {
      {"profiles", true, "profiles.xml",
       [](QmTest::TestGame& game, int state) {
         if (!game.FindProfile(L"Ann")) {
           game.SetCurrentProfile(L"Ann");
         }
         HLF::Player player(L"Ann");
         player.SetVar(L"progress/day", L"level", state ? L"d2_l4" : L"d1_l1");
         player.Save();
       },
       L"Error: SaveToFile failed"},
      {"configuration", true, "game.xml",
       [](QmTest::TestGame& game, int state) { game.SetCurrentProfile(state ? L"Bob" : L"Ann"); },
       L"Error: SaveToFile failed"},
      {"string registry", false, "scripts/strings.xml",
       [](QmTest::TestGame&, int state) {
         HLF::Editor::GetInstance().SetStringVar(L"title", state ? L"Zenta" : L"Quillmarsh", L"");
       },
       L"Error: Editor - can't write scripts/strings.xml; the file there is unchanged."},
      {"layout", false, "layouts/saved.xml",
       [](QmTest::TestGame&, int state) {
         HLF::XmlDocEx layout;
         LLF::XmlElement* element =
             layout.ParseDocumentElement(state ? L"<control name=\"panel\" pos=\"40,30\" "
                                                 L"size=\"200,100\"><control name=\"inner\" /></control>"
                                               : L"<control name=\"panel\" pos=\"10,10\" size=\"120,80\" />");
         std::unique_ptr<HLF::Control> control(HLF::ControlFactory::GetInstance().CreateFromXml(*element));
         LLF::XmlDoc doc;
         const std::unique_ptr<LLF::XmlElement> saved(control->SaveToXml());
         doc.GetRoot()->AddChild(*saved);
         doc.SaveToFile(L"layouts/saved.xml");
       },
       L"Error: SaveToFile failed"},
      {"bitmap font", false, "fonts/saved.xml",
       [](QmTest::TestGame&, int state) {
         HLF::Console::GetInstance().Execute(L"create font " + LLF::AnsiToWide(QmTest::kDejaVuSans) +
                                                 L" 20 " + (state ? L"ABCDEFabcdef" : L"ABC") +
                                                 L" fonts/saved.xml",
                                             true);
       },
       L"Error: Can't save font \"fonts/saved.xml\"", true},
  };
}

// A saved document as the test compares it: its bytes, with the picture
// name a font file gives (one of two a save alternates between) left out,
// and the bytes of that picture.
struct Saved {
  std::string text;
  std::string picture;
  bool operator==(const Saved&) const = default;
};

Saved ReadSaved(const Document& doc, const std::string& path) {
  Saved saved{ReadBytes(path), ""};
  const std::string key = "imgFile=\"";
  const size_t start = saved.text.find(key);
  if (!doc.namesPicture || start == std::string::npos) {
    return saved;
  }
  const size_t from = start + key.size();
  const size_t end = saved.text.find('"', from);
  const std::string name = saved.text.substr(from, end - from);
  saved.text.erase(from, end - from);
  saved.picture = name.empty() ? std::string() : ReadBytes(path.substr(0, path.rfind('/') + 1) + name);
  return saved;
}

class KillDuringSaveTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    QmTest::WriteBytes(folders.Program() + "/scripts/strings.xml", kStrings);
    std::filesystem::create_directories(folders.Program() + "/layouts");
    std::filesystem::create_directories(folders.Program() + "/fonts");
  }

  std::string Path(const Document& doc, QmTest::TestGame& game) const {
    return (doc.inUserFolder ? game.UserFolder() : folders.Program() + "/") + doc.file;
  }

 public:
  // Temporary files beside the document, and the folder a save through the
  // console writes its files into before they are put in place.
  static size_t Temps(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = path.substr(0, slash);
    const std::string file = path.substr(slash + 1);
    size_t count = NamesStartingWith(folder, ".~new~" + file).size();
    for (const std::string& name : NamesStartingWith(folder, file + ".")) {
      count += name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0 ? 1 : 0;
    }
    return count;
  }

 protected:
  // Saves the document over and over from a new process until it is
  // killed; writes one byte to the pipe once the game has started and one
  // after each completed save.
  [[noreturn]] void SaveForever(const Document& doc, int report) {
    QmTest::TestGame game(folders);
    if (!game.Start()) _exit(2);
    const char byte = 1;
    for (int state = 0;; state ^= 1) {
      if (write(report, &byte, 1) != 1) _exit(3);
      doc.save(game, state);
    }
  }

  QmTest::TempFolders folders;
};

TEST_P(KillDuringSaveTest, EveryKillLeavesAWholeFile) {
  const Document doc = Documents()[size_t(GetParam())];
  const unsigned seed = QmTest::KillSeed();
  std::mt19937 random(seed);
  std::cout << doc.name << ": seed " << seed << std::endl;

  // The two states as the game writes them, and the time one save takes.
  Saved states[2];
  std::string path;
  std::chrono::nanoseconds saveTime{};
  {
    QmTest::TestGame game(folders);
    ASSERT_TRUE(game.Start());
    path = Path(doc, game);
    for (int state : {1, 0}) {
      const auto start = std::chrono::steady_clock::now();
      doc.save(game, state);
      saveTime = std::chrono::steady_clock::now() - start;
      states[state] = ReadSaved(doc, path);
    }
    game.Stop();
  }
  ASSERT_NE(states[0].text, states[1].text);
  ASSERT_FALSE(states[0].text.empty());
  if (doc.namesPicture) {
    ASSERT_FALSE(states[0].picture.empty());
    ASSERT_NE(states[0].picture, states[1].picture);
  }
  ASSERT_TRUE(ReadSaved(doc, path) == states[0]) << "stopping the game saves the state it holds";

  // Kills land up to one save's time and a little after a few whole saves.
  const auto window = std::max<std::chrono::microseconds>(
      std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 4), std::chrono::microseconds(500));
  const int kills = QmTest::KillCount();

  int changes = 0;
  int tempsSeen = 0;
  size_t lastTemps = 0;
  Saved last = states[0];
  for (int kill = 0; kill < kills; ++kill) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(ready[0]);
      SaveForever(doc, ready[1]);
    }
    close(ready[1]);
    pollfd started{ready[0], POLLIN, 0};
    ASSERT_EQ(poll(&started, 1, 60000), 1) << "the child did not start";
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    // The child reports before each save: waiting for a few reports first
    // lands kills after whole saves however slowly a loaded machine runs
    // the child, and the random pause then lands them anywhere in the next.
    const int waitSaves = std::uniform_int_distribution<int>(0, 3)(random);
    int saved = 0;
    for (; saved < waitSaves; ++saved) {
      ASSERT_EQ(poll(&started, 1, 60000), 1) << "the child stopped saving";
      ASSERT_EQ(read(ready[0], &byte, 1), 1);
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<long>(0, long(window.count()))(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;
    char reports[256];
    for (ssize_t n; (n = read(ready[0], reports, sizeof reports)) > 0;) {
      saved += int(n);
    }

    // A font file names the picture saved with it, never the other one.
    const Saved now = ReadSaved(doc, path);
    ASSERT_TRUE(now == states[0] || now == states[1])
        << "kill " << kill << " left:\n"
        << now.text
        << (now.text == states[0].text || now.text == states[1].text ? "\nnaming another picture" : "");
    changes += now == last ? 0 : 1;
    last = now;
    close(ready[0]);
    // A kill leaves at most the temporary file of the save it interrupted;
    // a completed save clears those of earlier processes.
    const size_t temps = Temps(path);
    tempsSeen += temps > 0 ? 1 : 0;
    ASSERT_LE(temps, saved > 0 ? 1u : lastTemps + 1) << "temporary files pile up after kill " << kill;
    lastTemps = temps;

    if (doc.inUserFolder) {
      QmTest::TestGame next(folders);
      ASSERT_TRUE(next.Start());
      EXPECT_EQ(next.GetDocOrigin(next.GetProfilesDoc()), HLF::DocOrigin::FILE);
      EXPECT_EQ(next.GetDocOrigin(next.GetConfigDoc()), HLF::DocOrigin::FILE);
      next.Stop();
      ASSERT_TRUE(NamesStartingWith(next.UserFolder(), doc.file + ".bad").empty()) << "after kill " << kill;
      last = ReadSaved(doc, path);
      lastTemps = Temps(path);
    }
  }
  std::cout << doc.name << ": " << kills << " kills, " << changes << " changed the file, " << tempsSeen
            << " left a temporary file" << std::endl;
  EXPECT_GT(changes, 0) << "no kill came after a save";

  // A save after the kills clears what they left.
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  doc.save(game, 1);
  EXPECT_TRUE(ReadSaved(doc, path) == states[1]);
  EXPECT_EQ(Temps(path), 0u);
  if (doc.namesPicture) {
    const std::string name = path.substr(path.rfind('/') + 1);
    EXPECT_EQ(NamesStartingWith(path.substr(0, path.rfind('/')), name + ".").size() +
                  NamesStartingWith(path.substr(0, path.rfind('/')), "~" + name + ".").size(),
              1u)
        << "one picture stays, the one the file names";
  }
  game.Stop();
}

std::string DocumentName(const ::testing::TestParamInfo<int>& info) {
  static const char* const kNames[] = {"Profiles", "Configuration", "StringRegistry", "Layout", "BitmapFont"};
  return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(Documents, KillDuringSaveTest, ::testing::Range(0, 5), DocumentName);

// Root writes into read-only folders; without the override capabilities in
// the calling thread's effective set (kept in its permitted set, so they
// come back) it meets the permission bits as any user does.
class WithoutOverride {
 public:
  WithoutOverride() {
    _header.version = _LINUX_CAPABILITY_VERSION_3;
    if (syscall(SYS_capget, &_header, _saved) != 0) {
      return;
    }
    __user_cap_data_struct lowered[2] = {_saved[0], _saved[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    _lowered = syscall(SYS_capset, &_header, lowered) == 0;
  }
  ~WithoutOverride() {
    if (_lowered) {
      syscall(SYS_capset, &_header, _saved);
    }
  }
  WithoutOverride(const WithoutOverride&) = delete;
  WithoutOverride& operator=(const WithoutOverride&) = delete;

 private:
  __user_cap_header_struct _header{};
  __user_cap_data_struct _saved[2]{};
  bool _lowered = false;
};

// Writes fail as on a full disk: a file-size limit below any document's
// size, with the signal it raises ignored, gives the same errors.
class FullDisk {
 public:
  FullDisk() {
    _handler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &_old);
    rlimit small = _old;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &_old);
    std::signal(SIGXFSZ, _handler);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  rlimit _old{};
  void (*_handler)(int) = nullptr;
};

class SaveFailureTest : public ::testing::TestWithParam<std::tuple<int, bool>> {
 protected:
  void SetUp() override {
    QmTest::WriteBytes(folders.Program() + "/scripts/strings.xml", kStrings);
    std::filesystem::create_directories(folders.Program() + "/layouts");
    std::filesystem::create_directories(folders.Program() + "/fonts");
  }
  QmTest::TempFolders folders;
};

TEST_P(SaveFailureTest, OldFileStaysAndTheGameGoesOn) {
  const Document doc = Documents()[size_t(std::get<0>(GetParam()))];
  const bool fullDisk = std::get<1>(GetParam());
  namespace fs = std::filesystem;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  const std::string path = (doc.inUserFolder ? game.UserFolder() : folders.Program() + "/") + doc.file;
  doc.save(game, 0);
  const std::string before = ReadBytes(path);
  ASSERT_FALSE(before.empty());
  const fs::path folder = fs::path(path).parent_path();

  HLF::Console::GetInstance().ClearLines();
  if (fullDisk) {
    FullDisk full;
    doc.save(game, 1);
  } else {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    {
      WithoutOverride asAnyUser;
      doc.save(game, 1);
    }
    fs::permissions(folder, fs::perms::owner_all);
  }
  int failures = 0;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    failures += line.find(doc.failure) != std::wstring::npos ? 1 : 0;
  }
  EXPECT_GE(failures, 1) << "the failed save is logged";
  EXPECT_EQ(ReadBytes(path), before) << "the old file stays whole";
  EXPECT_EQ(KillDuringSaveTest::Temps(path), 0u) << "no temporary file is left";

  doc.save(game, 1);
  const std::string after = ReadBytes(path);
  EXPECT_NE(after, before) << "the game goes on and saves once it can";
  LLF::XmlDoc parsed;
  EXPECT_TRUE(parsed.LoadFromFile(LLF::FromOsPath(path)));
  game.Stop();
}

std::string FailureName(const ::testing::TestParamInfo<std::tuple<int, bool>>& info) {
  return DocumentName(::testing::TestParamInfo<int>(std::get<0>(info.param), 0)) +
         (std::get<1>(info.param) ? "FullDisk" : "ReadOnlyFolder");
}

INSTANTIATE_TEST_SUITE_P(Documents, SaveFailureTest,
                         ::testing::Combine(::testing::Range(0, 5), ::testing::Bool()), FailureName);

}  // namespace
