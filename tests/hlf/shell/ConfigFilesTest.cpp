// The shell's configuration files: what is read, what is created, what is
// written back, and that a file which does not parse is never overwritten.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <string>

#include "FileBytes.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "xml/XmlDoc.h"

namespace {

using QmTest::FileExists;
using QmTest::kUtf8Bom;
using QmTest::NamesStartingWith;
using QmTest::ReadBytes;
using QmTest::WriteBytes;

const std::string kDecl = kUtf8Bom + "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

const std::string kDefaultConfig =
    kDecl +
    "<config >\r\n"
    "\t<info icon=\"images/game.ico\" />\r\n"
    "\t<video preferHardware=\"true\" windowed=\"true\" enableWidescreen=\"true\" vsync=\"true\" >\r\n"
    "\t\t<normal width=\"800\" height=\"600\" />\r\n"
    "\t\t<wide width=\"960\" height=\"600\" />\r\n"
    "\t</video>\r\n"
    "\t<audio preferHardware=\"true\" >\r\n"
    "\t\t<music volume=\"100\" />\r\n"
    "\t\t<sound volume=\"100\" />\r\n"
    "\t</audio>\r\n"
    "\t<game >\r\n"
    "\t\t<help showTips=\"true\" />\r\n"
    "\t\t<gameplay difficulty=\"0\" />\r\n"
    "\t\t<cursor useCustom=\"false\" assetFile=\"images.xml\" assetName=\"CURSORS\" />\r\n"
    "\t</game>\r\n"
    "</config>\r\n";

const std::string kCorrupt = "<config source=\"broken\"><info></config>";

enum class State { PRESENT, CORRUPT, ABSENT };

const char* StateName(State s) {
  return s == State::PRESENT ? "present" : s == State::CORRUPT ? "corrupt" : "absent";
}

// The configuration's source marker as the running game holds it.
std::wstring ConfigSource(QmTest::TestGame& game) {
  LLF::XmlElement* config = game.GetConfigDoc()->GetRoot()->FindChild(L"config");
  if (!config) {
    return L"(none)";
  }
  const LLF::XmlAttribute* source = config->GetAttribute(std::wstring(L"source"));
  if (source) {
    return source->GetValue();
  }
  return config->GetAttribute(L"info", L"icon", std::wstring()).GetValue() == L"images/game.ico" ? L"defaults"
                                                                                                 : L"(other)";
}

std::wstring ParsedSource(const std::string& path) {
  LLF::XmlDoc doc;
  if (!doc.LoadFromFile(LLF::FromOsPath(path))) {
    return L"(unreadable)";
  }
  LLF::XmlElement* config = doc.GetRoot()->FindChild(L"config");
  const LLF::XmlAttribute* source = config ? config->GetAttribute(std::wstring(L"source")) : nullptr;
  return source ? source->GetValue() : L"defaults";
}

struct Row {
  State user;
  State templ;
  State profiles;
  const wchar_t* configFrom;  // "user", "template" or "defaults"
  bool templateCreated;       // an absent template is written with the defaults
};

class ConfigFilesTable : public ::testing::TestWithParam<Row> {};

TEST_P(ConfigFilesTable, FilesWrittenAndBackupsMade) {
  const Row row = GetParam();
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  const std::string user = game.UserFolder();
  const std::string templatePath = folders.Program() + "/scripts/game.xml";
  const std::string userConfig = user + "game.xml";
  const std::string userProfiles = user + "profiles.xml";
  const std::string templateText = kDecl + "<config source=\"template\" />\r\n";
  const std::string profilesText = kDecl +
                                   "<profiles >\r\n\t<profile name=\"Ann\" >\r\n\t\t<stats score=\"5\" "
                                   "/>\r\n\t</profile>\r\n</profiles>\r\n";
  if (row.user != State::ABSENT) {
    WriteBytes(userConfig, row.user == State::PRESENT ? kDecl + "<config source=\"user\" />\r\n" : kCorrupt);
  }
  if (row.templ != State::ABSENT) {
    WriteBytes(templatePath, row.templ == State::PRESENT ? templateText : kCorrupt);
  }
  if (row.profiles != State::ABSENT) {
    WriteBytes(userProfiles, row.profiles == State::PRESENT ? profilesText : kCorrupt);
  }
  SCOPED_TRACE(std::string("user ") + StateName(row.user) + ", template " + StateName(row.templ) +
               ", profiles " + StateName(row.profiles));

  ASSERT_TRUE(game.Start());
  EXPECT_EQ(ConfigSource(game), row.configFrom);

  // The template: never rewritten when there, created only when the
  // configuration fell back to the defaults.
  if (row.templ == State::PRESENT) {
    EXPECT_EQ(ReadBytes(templatePath), templateText);
  } else if (row.templ == State::CORRUPT) {
    EXPECT_EQ(ReadBytes(templatePath), kCorrupt);
  } else if (row.templateCreated) {
    EXPECT_EQ(ReadBytes(templatePath), kDefaultConfig);
  } else {
    EXPECT_FALSE(FileExists(templatePath));
  }

  // An unreadable user file is moved aside with its bytes, never lost.
  const auto configBackups = NamesStartingWith(user, "game.xml.bad-");
  const auto profileBackups = NamesStartingWith(user, "profiles.xml.bad-");
  ASSERT_EQ(configBackups.size(), row.user == State::CORRUPT ? 1u : 0u);
  ASSERT_EQ(profileBackups.size(), row.profiles == State::CORRUPT ? 1u : 0u);
  if (!configBackups.empty()) {
    EXPECT_EQ(ReadBytes(user + configBackups[0]), kCorrupt);
  }
  if (!profileBackups.empty()) {
    EXPECT_EQ(ReadBytes(user + profileBackups[0]), kCorrupt);
  }
  // "profiles.xml" exists from the start: read, or created empty.
  if (row.profiles == State::PRESENT) {
    EXPECT_EQ(ReadBytes(userProfiles), profilesText);
    EXPECT_NE(game.FindProfile(L"Ann"), nullptr);
  } else {
    EXPECT_EQ(ReadBytes(userProfiles), kDecl + "<profiles />\r\n");
  }

  game.Stop();
  // Shutdown writes the user's configuration as it was used, and the
  // profiles unchanged.
  EXPECT_EQ(ParsedSource(userConfig), row.configFrom);
  EXPECT_EQ(ReadBytes(userProfiles),
            row.profiles == State::PRESENT ? profilesText : kDecl + "<profiles />\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfigFilesTable,
    ::testing::Values(Row{State::PRESENT, State::ABSENT, State::PRESENT, L"user", false},
                      Row{State::PRESENT, State::CORRUPT, State::ABSENT, L"user", false},
                      Row{State::CORRUPT, State::PRESENT, State::CORRUPT, L"template", false},
                      Row{State::CORRUPT, State::ABSENT, State::ABSENT, L"defaults", true},
                      Row{State::CORRUPT, State::CORRUPT, State::CORRUPT, L"defaults", false},
                      Row{State::ABSENT, State::CORRUPT, State::PRESENT, L"defaults", false},
                      Row{State::ABSENT, State::PRESENT, State::CORRUPT, L"template", false},
                      Row{State::ABSENT, State::ABSENT, State::ABSENT, L"defaults", true}),
    [](const ::testing::TestParamInfo<Row>& info) {
      return std::string("user_") + StateName(info.param.user) + "_template_" + StateName(info.param.templ) +
             "_profiles_" + StateName(info.param.profiles);
    });

// Program-folder files: created when missing, read when there, and left
// alone with their defaults in memory when they do not parse.
TEST(ConfigFilesTest, ProgramFilesCreatedOnlyWhenMissing) {
  QmTest::TempFolders folders;
  const std::string fonts = kDecl + "<game >\r\n\t<assets >\r\n\t\t<GUI />\r\n\t</assets>\r\n</game>\r\n";
  folders.WriteProgramFile("scripts/images.xml", kCorrupt);
  folders.WriteProgramFile("scripts/fonts.xml", fonts);
  folders.WriteProgramFile("scripts/strings.xml", kCorrupt);
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  const std::string scripts = folders.Program() + "/scripts/";

  EXPECT_EQ(ReadBytes(scripts + "images.xml"), kCorrupt);
  EXPECT_EQ(game.GetDocOrigin(game.GetImagesDoc()), HLF::DocOrigin::DEFAULTS);
  EXPECT_FALSE(game.CanSaveDoc(game.GetImagesDoc()));
  EXPECT_NE(game.GetImagesDoc()->GetRoot()->GetChildByPath(L"game/assets"), nullptr);
  EXPECT_EQ(ReadBytes(scripts + "strings.xml"), kCorrupt);
  EXPECT_EQ(game.GetDocOrigin(game.GetStringsDoc()), HLF::DocOrigin::DEFAULTS);

  EXPECT_EQ(ReadBytes(scripts + "fonts.xml"), fonts);
  EXPECT_EQ(game.GetDocOrigin(game.GetFontsDoc()), HLF::DocOrigin::FILE);
  EXPECT_TRUE(game.CanSaveDoc(game.GetFontsDoc()));

  EXPECT_EQ(game.GetDocOrigin(game.GetSoundsDoc()), HLF::DocOrigin::CREATED);
  EXPECT_EQ(ReadBytes(scripts + "sounds.xml"),
            kDecl +
                "<game >\r\n\t<assets />\r\n\t<!--How to add a sound: <sound name=\"soundID\" "
                "src=\"sound/mysound.ogg\" volume=\"100\" looped=\"false\" />-->\r\n</game>\r\n");
  EXPECT_EQ(NamesStartingWith(scripts, "images.xml.").size(), 0u) << "program files get no backup";
  EXPECT_EQ(ReadBytes(scripts + "styles.xml"),
            kDecl +
                "<game >\r\n\t<styles />\r\n\t<!--How to add a style: <style styleName=\"ButtonStyle\" "
                "styleAttributesGoHere />-->\r\n</game>\r\n");
  EXPECT_EQ(
      ReadBytes(scripts + "splash.xml"),
      kDecl +
          "<splash fadeInTime=\"1.0\" fadeOutTime=\"1.0\" fadeColor=\"0,0,0\" noLastFadeIn=\"false\" >\r\n"
          "\t<!--How to add a splash screen: <vendor id=\"BVK\" image=\"splash/bvk.png\" "
          "sound=\"splash/bvk.ogg\" showTime=\"2.0\" bgColor=\"255,255,255\" />-->\r\n</splash>\r\n");
  EXPECT_EQ(game.GetDocOrigin(game.GetSplashDoc()), HLF::DocOrigin::CREATED);
}

// Two corrupt files met within the same second get two backups.
TEST(ConfigFilesTest, BackupNeverReplacesAnEarlierOne) {
  QmTest::TempFolders folders;
  std::string profiles;
  for (const char* text : {"<profiles><first", "<profiles><second"}) {
    QmTest::TestGame game(folders);
    profiles = game.UserFolder() + "profiles.xml";
    WriteBytes(profiles, text);
    ASSERT_TRUE(game.Start());
  }
  const std::string user = std::filesystem::path(profiles).parent_path().string() + "/";
  const auto backups = NamesStartingWith(user, "profiles.xml.bad-");
  ASSERT_EQ(backups.size(), 2u);
  std::string contents = ReadBytes(user + backups[0]) + "|" + ReadBytes(user + backups[1]);
  EXPECT_NE(contents.find("<profiles><first"), std::string::npos);
  EXPECT_NE(contents.find("<profiles><second"), std::string::npos);
}

// A corrupt file that cannot be moved aside is neither overwritten at the
// start nor by the saves that follow.
TEST(ConfigFilesTest, UnmovableCorruptFileIsNeverSavedOver) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  const std::string user = game.UserFolder();
  WriteBytes(user + "profiles.xml", kCorrupt);
  // Every backup name of the next few seconds is taken, so the file has
  // nowhere to go.
  const time_t now = time(nullptr);
  for (time_t t = now - 1; t <= now + 5; ++t) {
    tm local{};
    localtime_r(&t, &local);
    char stamp[32];
    strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string name = user + "profiles.xml.bad-" + stamp;
    WriteBytes(name, "taken");
    for (int suffix = 2; suffix <= 100; ++suffix) {
      WriteBytes(name + "-" + std::to_string(suffix), "taken");
    }
  }
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(game.GetDocOrigin(game.GetProfilesDoc()), HLF::DocOrigin::DEFAULTS);
  game.SetCurrentProfile(L"Ann");  // saves
  EXPECT_NE(game.FindProfile(L"Ann"), nullptr) << "the game goes on with the profile in memory";
  game.Stop();  // saves again
  EXPECT_EQ(ReadBytes(user + "profiles.xml"), kCorrupt);
  EXPECT_NE(ReadBytes(user + "game.xml").find("currentProfile=\"Ann\""), std::string::npos);
}

// A save that cannot be written keeps the old file and says so.
TEST(ConfigFilesTest, FailedSaveKeepsTheOldFile) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  game.SetCurrentProfile(L"Ann");
  const std::string profiles = game.UserFolder() + "profiles.xml";
  const std::string before = ReadBytes(profiles);
  ASSERT_NE(before.find("Ann"), std::string::npos);

  // A read-only folder; root writes there all the same, so for root a file
  // size limit makes the write fail instead.
  const std::filesystem::path folder(game.UserFolder());
  std::filesystem::permissions(folder,
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  rlimit oldLimit{};
  getrlimit(RLIMIT_FSIZE, &oldLimit);
  const bool root = geteuid() == 0;
  if (root) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = oldLimit;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  HLF::Console::GetInstance().ClearLines();
  game.SetCurrentProfile(L"Bob");
  if (root) {
    setrlimit(RLIMIT_FSIZE, &oldLimit);
  }
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);

  EXPECT_EQ(ReadBytes(profiles), before);
  int failures = 0;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    failures += line.find(L"Error: SaveToFile failed") != std::wstring::npos ? 1 : 0;
  }
  EXPECT_EQ(failures, 2) << "game.xml and profiles.xml each report their failed write";
  EXPECT_TRUE(NamesStartingWith(game.UserFolder(), "profiles.xml.").empty()) << "no temporary file is left";
}

// Text that would not read back never replaces a readable file.
TEST(ConfigFilesTest, SaveRefusesTextThatDoesNotReadBack) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  game.SetCurrentProfile(L"Ann");
  const std::string profiles = game.UserFolder() + "profiles.xml";
  const std::string before = ReadBytes(profiles);
  game.FindProfile(L"Ann")->AddChild(L"not a name")->AddAttribute(L"x", L"1");
  HLF::Console::GetInstance().ClearLines();
  game.SaveConfigs();
  EXPECT_EQ(ReadBytes(profiles), before);
  int refusals = 0;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    refusals += line.find(L"profiles.xml is not saved: its text does not read back.") != std::wstring::npos;
  }
  EXPECT_EQ(refusals, 1);
}

// The language of the string table chooses the thousands separator; any
// other language leaves it as it was.
TEST(ConfigFilesTest, LanguageChoosesTheSeparator) {
  struct Case {
    const char* strings;  // null: no string table
    wchar_t separator;
  };
  const Case cases[] = {
      {"<var name=\"language\" value=\"French\" />", L' '},
      {"<var name=\"language\" value=\"fRENCH\" />", L' '},
      {"<var name=\"language\" value=\"german\" />", L','},
      {"<var name=\"language\" value=\"SPANISH\" />", L','},
      {"<var name=\"language\" value=\"italian\" />", L';'},
      {"<var name=\"gamename\" value=\"Quill\" />", L';'},
      {nullptr, L';'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.strings ? c.strings : "(no table)");
    QmTest::TempFolders folders;
    if (c.strings) {
      folders.WriteProgramFile("scripts/strings.xml",
                               std::string("<game><vars>") + c.strings + "</vars></game>");
    }
    QmTest::TestGame game(folders);
    game.SetSeparator(L';');
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(game.GetSeparator(), c.separator);
  }
}

TEST(ConfigFilesTest, StringVariables) {
  QmTest::TempFolders folders;
  folders.WriteProgramFile("scripts/strings.xml",
                           "<game><vars><var name=\"title\" value=\"first\" /><other name=\"title\" "
                           "value=\"second\" /><var name=\"Title\" value=\"third\" />"
                           "<var name=\"gamename\" value=\"Quill\" /></vars></game>");
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(game.GetStringVar(L"title"), L"first");
  EXPECT_EQ(game.GetStringVar(L"Title"), L"third");
  HLF::Console::GetInstance().ClearLines();
  EXPECT_EQ(game.GetStringVar(L"missing"), L"");
  const auto lines = HLF::Console::GetInstance().GetLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"Error: Can't find string var with name \"missing\""), std::wstring::npos);
  EXPECT_EQ(game.GetSettings().title, L"HLF Game");

  game.GetStringsDoc()->Clear();
  HLF::Console::GetInstance().ClearLines();
  EXPECT_EQ(game.GetStringVar(L"title"), L"");
  EXPECT_NE(HLF::Console::GetInstance().GetLines().at(0).find(
                L"Error: Can't find appropriate path to vars in strings.xml file."),
            std::wstring::npos);
}

// A configuration naming a profile that "profiles.xml" lacks adds it and
// writes both files during the start.
TEST(ConfigFilesTest, CurrentProfileFromTheConfiguration) {
  QmTest::TempFolders folders;
  folders.WriteProgramFile("scripts/game.xml", "<config><game currentProfile=\"Zoe\" /></config>");
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(game.GetCurrentProfileName(), L"Zoe");
  EXPECT_NE(ReadBytes(game.UserFolder() + "profiles.xml").find("<profile name=\"Zoe\" />"),
            std::string::npos);
  EXPECT_NE(ReadBytes(game.UserFolder() + "game.xml").find("currentProfile=\"Zoe\""), std::string::npos);
}

}  // namespace
