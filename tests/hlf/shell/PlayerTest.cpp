// Player profiles and their variables.
#include <gtest/gtest.h>

#include <string>

#include "FileBytes.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "devtools/Console.h"
#include "shell/Player.h"
#include "xml/XmlElement.h"

namespace {

using QmTest::ReadBytes;
using QmTest::WriteBytes;

int LogCount(const std::wstring& text) {
  int count = 0;
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    count += line.find(text) != std::wstring::npos ? 1 : 0;
  }
  return count;
}

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.Start());
    game.SetCurrentProfile(L"Ann");
  }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
};

TEST_F(PlayerTest, VariablesByPathAndAttribute) {
  HLF::Player player;
  ASSERT_EQ(player.GetProfile(), game.FindProfile(L"Ann"));
  player.SetVar(L"a/b", L"x", L"1");
  player.SetVar(L"a\\b/c", L"", L"text of c");
  player.SetVar(L"/stats//", L"score", L"10");
  player.SetVar(L"stats", L"score", L"12");  // the same variable again

  struct Read {
    const wchar_t* path;
    const wchar_t* attribute;
    bool found;
    const wchar_t* value;
  };
  const Read reads[] = {
      {L"a/b", L"x", true, L"1"},          {L"a\\b", L"x", true, L"1"},   {L"a", L"x", false, L""},
      {L"a/b/c", L"", true, L"text of c"}, {L"a/b/c", L"x", false, L""},  {L"stats", L"score", true, L"12"},
      {L"//stats", L"score", true, L"12"}, {L"nothing", L"", false, L""}, {L"", L"name", false, L""},
  };
  for (const Read& r : reads) {
    SCOPED_TRACE(std::wstring(r.path) + L" @" + r.attribute);
    std::wstring value = L"untouched";
    EXPECT_EQ(player.GetVar(r.path, r.attribute, value), r.found);
    EXPECT_EQ(value, r.found ? r.value : L"untouched");
  }
  EXPECT_EQ(player.GetPathChilds(L"a/b"), std::vector<std::wstring>{L"c"});
  EXPECT_EQ(player.GetPathAttributes(L"a/b"), std::vector<std::wstring>{L"x"});
  EXPECT_EQ(player.GetPathAttributes(L"stats"), std::vector<std::wstring>{L"score"});
  EXPECT_TRUE(player.GetPathChilds(L"missing").empty());
}

// Keys that would not read back as XML names are refused and write nothing.
TEST_F(PlayerTest, InvalidKeysAreRefused) {
  HLF::Player player;
  player.SetVar(L"levels/day_0/level_1", L"done", L"1");
  const std::wstring before = player.GetProfile()->Serialize(L"");
  struct Key {
    const wchar_t* path;
    const wchar_t* attribute;
  };
  const Key keys[] = {
      {L"levels/day 0", L"x"},
      {L"levels/1st", L"x"},
      {L"levels/a-b", L"x"},
      {L"levels/lvl.1", L"x"},
      {L"levels/caf\u00e9", L"x"},
      {L"levels", L"x y"},
      {L"levels", L"2x"},
      {L"levels", L"a\"b"},
      {L"", L"name"},
      {L"//", L"x"},
      {L"a<b", L""},
  };
  HLF::Console::GetInstance().ClearLines();
  for (const Key& k : keys) {
    player.SetVar(k.path, k.attribute, L"v");
  }
  EXPECT_EQ(player.GetProfile()->Serialize(L""), before);
  EXPECT_EQ(LogCount(L"Error: Player::SetVar - invalid key"), static_cast<int>(std::size(keys)));
}

TEST_F(PlayerTest, ProfilesOfTheGame) {
  game.SetCurrentProfile(L"ann");  // another profile: names are case-sensitive
  EXPECT_EQ(game.GetProfileNames(), (std::vector<std::wstring>{L"Ann", L"ann"}));
  EXPECT_NE(game.FindProfile(L"Ann"), game.FindProfile(L"ann"));
  const std::string profiles = ReadBytes(game.UserFolder() + "profiles.xml");
  EXPECT_NE(profiles.find("<profile name=\"ann\" />"), std::string::npos) << "SetCurrentProfile saves";
  EXPECT_NE(ReadBytes(game.UserFolder() + "game.xml").find("currentProfile=\"ann\""), std::string::npos);

  EXPECT_TRUE(game.DeleteProfile(L"ann"));
  EXPECT_EQ(game.GetCurrentProfileName(), L"ann") << "deleting the current profile leaves its name";
  EXPECT_EQ(game.GetCurrentProfile(), nullptr);
  EXPECT_FALSE(game.DeleteProfile(L"ann"));
  EXPECT_EQ(ReadBytes(game.UserFolder() + "profiles.xml"), profiles) << "DeleteProfile does not save";

  // No current profile: a player for it stays unselected and says so.
  game.SetCurrentProfile(L"");
  EXPECT_NE(ReadBytes(game.UserFolder() + "game.xml").find("currentProfile=\"\""), std::string::npos);
  HLF::Console::GetInstance().ClearLines();
  HLF::Player nobody;
  EXPECT_EQ(nobody.GetProfile(), nullptr);
  EXPECT_EQ(LogCount(L"Error: Player::SetPlayer - there is no player with name \"\""), 1);
  std::wstring value;
  nobody.SetVar(L"a", L"x", L"1");
  EXPECT_FALSE(nobody.GetVar(L"a", L"x", value));
  EXPECT_TRUE(nobody.GetPathChilds(L"a").empty());
  EXPECT_TRUE(nobody.GetPathAttributes(L"a").empty());
  EXPECT_EQ(LogCount(L"Error: Player::SetVar - Player is not selected to change his vars."), 1);
  EXPECT_EQ(LogCount(L"Error: Player::GetVar - Player is not selected to get his vars."), 1);
  EXPECT_EQ(LogCount(L"Error: Player::GetPathChilds - Player is not selected to get his vars."), 1);
  EXPECT_EQ(LogCount(L"Error: Player::GetPathAttributes - Player is not selected to get his vars."), 1);

  HLF::Player ann(L"Ann");
  EXPECT_NE(ann.GetProfile(), nullptr);
  EXPECT_FALSE(ann.SetPlayer(L"Nobody"));
  EXPECT_EQ(ann.GetProfile(), nullptr) << "a failed selection drops the previous one";
}

// What a player stores survives save, load and save byte for byte, text
// beside children included.
TEST(PlayerFilesTest, SaveLoadSaveIsIdentical) {
  QmTest::TempFolders folders;
  std::string first;
  {
    QmTest::TestGame game(folders);
    ASSERT_TRUE(game.Start());
    game.SetCurrentProfile(L"Ann");
    HLF::Player player;
    player.SetVar(L"stats", L"wallpapers", L"01000000000000000000");
    player.SetVar(L"levels/day_0", L"", L"text beside children");
    player.SetVar(L"levels/day_0/forest", L"positions", L"3 1 2 & <0> \"q\"");
    player.SetVar(L"levels/day_0/forest", L"", L"  spaced\ttext\r\nline two ");
    player.Save();
    first = ReadBytes(game.UserFolder() + "profiles.xml");
  }
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(game.GetCurrentProfileName(), L"Ann");
  HLF::Player player;
  std::wstring value;
  ASSERT_TRUE(player.GetVar(L"levels/day_0", L"", value));
  EXPECT_EQ(value, L"text beside children");
  ASSERT_TRUE(player.GetVar(L"levels/day_0/forest", L"positions", value));
  EXPECT_EQ(value, L"3 1 2 & <0> \"q\"");
  player.Save();
  EXPECT_EQ(ReadBytes(game.UserFolder() + "profiles.xml"), first);
}

// Hand-edited files: a profiles document without its top element and a
// configuration without config/game get them when a profile is chosen;
// nameless profiles and comments are passed over.
TEST(PlayerFilesTest, HandEditedFiles) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  WriteBytes(game.UserFolder() + "game.xml", "<config><info icon=\"x.png\" /></config>");
  WriteBytes(game.UserFolder() + "profiles.xml", "<other />");
  ASSERT_TRUE(game.Start());
  game.SetCurrentProfile(L"Ann");
  EXPECT_NE(game.FindProfile(L"Ann"), nullptr);
  EXPECT_NE(ReadBytes(game.UserFolder() + "game.xml").find("currentProfile=\"Ann\""), std::string::npos);
  game.Stop();

  WriteBytes(game.UserFolder() + "profiles.xml",
             "<profiles><!-- players --><profile><a x=\"1\" /></profile><profile name=\"Ann\">"
             "<a x=\"2\"><!-- note --><c /></a></profile></profiles>");
  QmTest::TestGame again(folders);
  ASSERT_TRUE(again.Start());
  EXPECT_EQ(again.GetProfileNames(), std::vector<std::wstring>{L"Ann"});
  EXPECT_EQ(again.FindProfile(L""), nullptr);
  HLF::Player player;
  std::wstring value;
  ASSERT_TRUE(player.GetVar(L"a", L"x", value));
  EXPECT_EQ(value, L"2");
  EXPECT_EQ(player.GetPathChilds(L"a"), std::vector<std::wstring>{L"c"});
  // A comment is never taken for a path element of that name.
  player.SetVar(L"a/COMMENT", L"x", L"1");
  LLF::XmlElement* a = again.FindProfile(L"Ann")->GetChild(0);
  ASSERT_EQ(a->GetChildsCount(), 3);
  EXPECT_TRUE(a->GetChild(0)->IsComment());
  EXPECT_EQ(a->GetChild(0)->GetAttributesCount(), 0);
  EXPECT_FALSE(a->GetChild(2)->IsComment());
  ASSERT_TRUE(player.GetVar(L"a/COMMENT", L"x", value));
  EXPECT_EQ(value, L"1");
}

}  // namespace
