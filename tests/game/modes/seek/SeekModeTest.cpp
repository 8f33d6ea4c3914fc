// The Seek mode on a twelve-object fixture level, in the real shell on the
// generated data, frames stepped on the manual clock: the list's side and
// look, the choice of names by class, the click test, a find's flight and
// its line, the win, and the progress kept in the profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "HeadlessVoyage.h"
#include "SeekFixture.h"
#include "TempFolders.h"
#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Message.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "flow/ZentaMainMenu.h"
#include "image/Image.h"
#include "map/ZentaLevelMap.h"
#include "model/Control.h"
#include "model/GameServices.h"
#include "modes/seek/GameModeSeek.h"
#include "modifiers/Effect.h"
#include "modifiers/Scaler.h"
#include "particles/Emitter.h"
#include "shell/Player.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace QmTest {
namespace {

class RecordingSeek : public GameModeSeek {
 public:
  std::vector<std::wstring> sounds;
  void SetPlaying(bool on) { playing = on; }

 protected:
  void PlaySound(const std::wstring& id) override {
    sounds.push_back(id);
    GameModeSeek::PlaySound(id);
  }
};

std::wstring Join(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const std::wstring& n : names) text += n + L",";
  return text;
}

class SeekModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyGeneratedData(folders.Program());
    game = std::make_unique<HeadlessVoyage>(folders.Program());
    ASSERT_TRUE(game->Start(true));
    // The picture codecs are there once the game has started.
    WriteSeekPictures(folders.Program());
    ASSERT_TRUE(game->SkipToMenu());
    game->SetCurrentProfile(L"Fox");
    game->GetScript().GetMainMenu()->SetVisible(false);
    GameMode::ResetRunFlags();
    LLF::SeedRandom(7);
  }

  void TearDown() override {
    mode.reset();
    HLF::GameServices::DeleteDeferred();
    game->Stop();
  }

  // The level written and loaded; the mode stays in `mode`.
  RecordingSeek* Load(const SeekFixtureLevel& level, const std::wstring& levelInfoMode = L"") {
    mode.reset();
    HLF::GameServices::DeleteDeferred();
    WriteSeekLevel(folders.Program(), level);
    LevelInfo info;
    info.folder = L"levels/fx_seek/";
    info.name = L"fx_seek";
    info.type = L"seek";
    info.mode = levelInfoMode;
    info.level = 0;
    info.day = 0;
    mode = std::make_unique<RecordingSeek>();
    if (!mode->LoadLevel(info)) {
      DumpErrors();
      return nullptr;
    }
    game->Frame(16);
    return mode.get();
  }

  // The log's errors and warnings, when a load fails.
  static void DumpErrors() {
    for (const std::wstring& l : HLF::Console::GetInstance().GetLines())
      if (l.find(L"rror") != std::wstring::npos || l.find(L"arn") != std::wstring::npos)
        ADD_FAILURE() << LLF::WideToAnsi(l);
  }

  void Run(unsigned total, unsigned step = 50) {
    for (unsigned t = 0; t < total; t += step) {
      mode->Update(step);
      game->Frame(step);
    }
  }

  // A click on the screen.
  void Click(int x, int y) { mode->GetBoard().OnMouseUp(LLF::Message(nullptr, 0, 0, x, y, L"")); }
  // A click on an opaque pixel of the named object (board at x 0).
  void ClickObject(const SeekFixtureLevel& level, const std::wstring& name) {
    const SeekFixtureObject& o = level.Object(name);
    Click(o.x + 3, o.y + 3);
  }

  int LineOf(const std::wstring& name) const {
    const std::vector<std::wstring>& list = mode->GetBoard().GetSearchList();
    return int(std::find(list.begin(), list.end(), name) - list.begin());
  }

  static std::wstring ProgressPath() {
    return ZentaLevelMap::DayProgressPath(ZentaLevelMap::GetCurrentDay()) + L"/fx_seek";
  }

  TempFolders folders;
  std::unique_ptr<HeadlessVoyage> game;
  std::unique_ptr<RecordingSeek> mode;
};

TEST(SeekModeRules, ListSideAndDisplayMode) {
  const struct {
    const wchar_t* uiPos;
    bool right;
  } sides[] = {{L"left", false}, {L"Left", false}, {L"LEFT", false},
               {L"right", true}, {L"", true},      {L"lef", true}};
  for (const auto& c : sides) EXPECT_EQ(GameModeSeek::IsListOnRightFor(c.uiPos), c.right) << c.uiPos;

  const struct {
    const wchar_t* file;
    const wchar_t* levelInfo;
    int mode;
  } modes[] = {{L"grey", L"", 1},   {L"Grey", L"", 0},     {L"dark", L"", 2},     {L"silhouette", L"", 3},
               {L"normal", L"", 0}, {L"grey", L"dark", 2}, {L"dark", L"Dark", 0}, {L"", L"silhouette", 3}};
  for (const auto& c : modes) {
    EXPECT_EQ(GameModeSeek::DisplayModeOf(c.file, c.levelInfo), c.mode) << c.file << " / " << c.levelInfo;
  }
}

TEST_F(SeekModeTest, TheLevelListsModeBeatsTheFilesAndGreyChangesThePicturesInPlace) {
  SeekFixtureLevel level;
  level.uiPos = L"Left";
  level.mode = L"grey";
  RecordingSeek* seek = Load(level, L"dark");
  ASSERT_NE(seek, nullptr);
  EXPECT_FALSE(seek->IsListOnRight());
  EXPECT_EQ(seek->GetUiSection(), L"levui/level_seek_left");
  EXPECT_FLOAT_EQ(seek->GetBoard().GetPosition().x, 170.0f);
  EXPECT_EQ(seek->GetDisplayMode(), GameModeSeek::DISPLAY_DARK);
  ASSERT_NE(seek->GetBoard().GetLightImage(), nullptr) << "the light of the dark mode";
  LLF::Color pixel;
  seek->GetBoard().GetImage()->GetPixel(&pixel, 5, 5);
  EXPECT_EQ(pixel.r, 255) << "not greyed";
  EXPECT_EQ(game->GetGameLayer()->FindChild(L"seek_ui")->GetChildByName(L"items_scroll")->GetPosition().x,
            0.0f);

  seek = Load(level);
  ASSERT_NE(seek, nullptr);
  EXPECT_EQ(seek->GetDisplayMode(), GameModeSeek::DISPLAY_GREY);
  EXPECT_EQ(seek->GetBoard().GetLightImage(), nullptr);
  seek->GetBoard().GetImage()->GetPixel(&pixel, 5, 5);
  EXPECT_EQ(pixel.r, 254) << "white becomes 254";
  EXPECT_EQ(pixel.g, 254);
  EXPECT_EQ(pixel.b, 254);
  const SeekModeManager::SeekObject* ring = seek->GetBoard().FindObject(L"Purple Ring");
  ASSERT_NE(ring, nullptr);
  ring->picture->GetPixel(&pixel, 1, 1);
  EXPECT_EQ(pixel.r, 24) << "trunc(220 x 0.11)";
  EXPECT_EQ(pixel.b, 24);
  ring->picture->GetPixel(&pixel, 15, 15);
  EXPECT_EQ(pixel.a, 0) << "alpha kept";
}

// The names the board chooses for a level of these classes (objects named
// after their class and number), and whether the shortage line came.
struct Choice {
  std::vector<std::wstring> list;
  int error = 0;
  int Count(const std::wstring& flag) const {
    return int(
        std::count_if(list.begin(), list.end(), [&](const std::wstring& n) { return n.find(flag) == 0; }));
  }
};

Choice Choose(const std::vector<std::pair<std::wstring, int>>& classes, int easy, int normal, int difficult) {
  std::wstring text = L"<level seekEasy=\"" + LLF::ToString(easy) + L"\" seekNormal=\"" +
                      LLF::ToString(normal) + L"\" seekDifficult=\"" + LLF::ToString(difficult) +
                      L"\"><background name=\"b\" />";
  for (const auto& [flag, count] : classes) {
    for (int i = 0; i < count; ++i) {
      text += L"<object name=\"" + flag + LLF::ToString(i) + L"\" flag=\"" + flag + L"\" dims=\"4,4\" />";
    }
  }
  LLF::XmlDoc doc;
  EXPECT_TRUE(doc.Parse(text + L"</level>"));
  const int before = HeadlessVoyage::LogCount(L"Error: Not enough seekable objects in the level.");
  SeekModeManager board;
  EXPECT_TRUE(board.LoadBoard(*doc.GetRoot()->FindChild(L"level")));
  return {board.GetSearchList(),
          HeadlessVoyage::LogCount(L"Error: Not enough seekable objects in the level.") - before};
}

TEST_F(SeekModeTest, TheListTakesEachClassAndPassesItsShortfallOn) {
  const struct {
    std::vector<std::pair<std::wstring, int>> classes;
    int easy, normal, difficult, unknown, error;
  } cases[] = {
      // Two easy objects for three: the third comes from the normal class.
      {{{L"easy", 2}, {L"normal", 7}, {L"difficult", 2}, {L"unknown", 1}}, 2, 6, 2, 0, 0},
      // Difficult one short and the reserve empty: the line, nothing else.
      {{{L"easy", 3}, {L"normal", 5}, {L"difficult", 1}}, 3, 5, 1, 0, 1},
      // Difficult two short, one in reserve: still short, no reserve taken.
      {{{L"easy", 3}, {L"normal", 5}, {L"difficult", 0}, {L"unknown", 1}}, 3, 5, 0, 0, 1},
      // The reserve fills the difficult class's gap.
      {{{L"easy", 3}, {L"normal", 5}, {L"difficult", 1}, {L"unknown", 2}}, 3, 5, 1, 1, 0},
  };
  for (const auto& c : cases) {
    const Choice choice = Choose(c.classes, 3, 5, 2);
    EXPECT_EQ(choice.Count(L"easy"), c.easy);
    EXPECT_EQ(choice.Count(L"normal"), c.normal);
    EXPECT_EQ(choice.Count(L"difficult"), c.difficult);
    EXPECT_EQ(choice.Count(L"unknown"), c.unknown);
    EXPECT_EQ(choice.error, c.error);
  }
  // Priority names first, in file order, whatever the shuffle does; the
  // unplayable and unrecognised ones never.
  for (unsigned seed : {1u, 2u, 3u}) {
    LLF::SeedRandom(seed);
    const Choice choice =
        Choose({{L"normal", 4}, {L"priority", 3}, {L"unplayable", 2}, {L"bogus", 2}}, 0, 4, 0);
    ASSERT_EQ(choice.list.size(), 7u);
    EXPECT_EQ(choice.list[0], L"priority0");
    EXPECT_EQ(choice.list[1], L"priority1");
    EXPECT_EQ(choice.list[2], L"priority2");
    EXPECT_EQ(choice.Count(L"unplayable") + choice.Count(L"bogus"), 0);
  }
}

TEST_F(SeekModeTest, AClickFindsTheFirstListedObjectOpaqueUnderIt) {
  SeekFixtureLevel level;
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  ASSERT_EQ(seek->GetBoard().GetSearchList().size(), 10u);
  const SeekModeManager& board = seek->GetBoard();

  // The unplayable object is opaque but never a find.
  Click(level.Object(L"Stone Box").x + 20, level.Object(L"Stone Box").y + 20);
  EXPECT_TRUE(board.GetFoundRecords().empty());
  EXPECT_EQ(seek->GetFastClickCount(), 1);
  // Past the small picture but inside its dims: transparent, not a read
  // outside the picture.
  const SeekFixtureObject& small = level.Object(L"Grey Diamond");
  Click(small.x + 30, small.y + 30);
  EXPECT_TRUE(board.GetFoundRecords().empty());
  // The right edge of a rectangle is outside it.
  const SeekFixtureObject& ball = level.Object(L"Blue Ball");
  Click(ball.x + 40, ball.y + 5);
  EXPECT_TRUE(board.GetFoundRecords().empty());

  // The ring's hole shows the hexagon below it; the ring's rim is the ring.
  const SeekFixtureObject& ring = level.Object(L"Purple Ring");
  Click(ring.x + 20, ring.y + 20);
  ASSERT_EQ(board.GetFoundRecords().size(), 1u);
  EXPECT_EQ(board.GetFoundRecords()[0].name, L"Pink Hexagon");
  Click(ring.x + 2, ring.y + 2);
  ASSERT_EQ(board.GetFoundRecords().size(), 2u);
  EXPECT_EQ(board.GetFoundRecords()[1].name, L"Purple Ring");
  EXPECT_EQ(std::count(seek->sounds.begin(), seek->sounds.end(), L"seek_item_priorityfound"), 2);
  // Found is found: the same spot again is a miss.
  const int misses = seek->GetFastClickCount();
  Click(ring.x + 2, ring.y + 2);
  EXPECT_EQ(board.GetFoundRecords().size(), 2u);
  EXPECT_EQ(seek->GetFastClickCount(), misses + 1);

  // While play is stopped a click changes nothing.
  seek->SetPlaying(false);
  ClickObject(level, L"Blue Ball");
  EXPECT_EQ(board.GetFoundRecords().size(), 2u);
  EXPECT_EQ(seek->GetFastClickCount(), misses + 1);
}

TEST_F(SeekModeTest, AFindFliesToThePlayAreasMiddleAndOutAndItsLineFades) {
  SeekFixtureLevel level;
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  Run(1000);
  const int line = LineOf(L"Blue Ball");
  ASSERT_LT(line, 10);
  HLF::Label* label = seek->GetListLabel(line);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetFullText(), L"Blue Ball");

  ClickObject(level, L"Blue Ball");
  ASSERT_EQ(seek->GetBoard().GetFoundRecords().size(), 1u);
  EXPECT_GT(seek->GetLevelScore(), 0);
  EXPECT_EQ(seek->sounds.back(), L"seek_item_found");
  HLF::StaticImage* picture = seek->GetBoard().GetFoundRecords()[0].picture;
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetParent(), game->GetGameLayer());
  EXPECT_TRUE(seek->GetBoard().GetObjects()[2].found) << "no longer drawn in the scene";

  // The middle of the play area, 85 px off the list on the right, on the
  // logical 800 x 600 screen.
  Run(1200);
  EXPECT_NEAR(picture->GetPosition().x, (800.0f - 170.0f - 40.0f) * 0.5f, 0.5f);
  EXPECT_NEAR(picture->GetPosition().y, (600.0f - 40.0f) * 0.5f, 0.5f);
  Run(2500);
  EXPECT_FALSE(picture->IsVisible()) << "hidden when its fade ends";
  EXPECT_GT(picture->GetPosition().x, 500.0f) << "on its way out to the right";
  EXPECT_EQ(seek->GetBoard().GetFoundRecords()[0].fader, nullptr);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Mod finished. Name of obj: Blue Ball. Label index: " +
                                     LLF::ToString(line) + L" Name of search index: Blue Ball"),
            1);
  Run(1200);
  EXPECT_EQ(label->GetAlpha(), 64);
}

TEST_F(SeekModeTest, TheLastFindWinsWithTheBonusInTheStoredTotal) {
  SeekFixtureLevel level;
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  Run(500);
  const std::vector<std::wstring> list = seek->GetBoard().GetSearchList();
  ASSERT_EQ(list.size(), 10u);
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_TRUE(seek->IsPlaying()) << i;
    // The ring's rim; the hexagon through the ring's hole.
    const SeekFixtureObject& o = level.Object(list[i]);
    Click(o.x + (list[i] == L"Pink Hexagon" ? 20 : 2), o.y + (list[i] == L"Pink Hexagon" ? 20 : 2));
    ASSERT_EQ(seek->GetBoard().GetFoundRecords().size(), i + 1) << list[i];
  }
  EXPECT_FALSE(seek->IsPlaying());
  EXPECT_FALSE(seek->CanPlay());
  EXPECT_TRUE(seek->IsResultStored());
  EXPECT_GE(seek->GetLevelScore(), 1000);
  EXPECT_EQ(GameMode::ReadScore(), seek->GetLevelScore()) << "the bonus is in the stored total";
  Run(4600);
  EXPECT_EQ(seek->GetState(), GameModeSeek::GMS_STATE_SHOWRESULTS);
}

TEST_F(SeekModeTest, LeavingAndComingBackGivesTheSameListWithItsFinds) {
  SeekFixtureLevel level;
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  const std::vector<std::wstring> list = seek->GetBoard().GetSearchList();
  ClickObject(level, L"Yellow Heart");
  ClickObject(level, L"Blue Ball");
  seek->SaveProgress();
  HLF::Player player;
  std::wstring items;
  std::wstring found;
  ASSERT_TRUE(player.GetVar(ProgressPath(), L"items", items));
  ASSERT_TRUE(player.GetVar(ProgressPath(), L"itemsFound", found));
  EXPECT_EQ(items + L",", Join(list)) << "no comma after the last";
  EXPECT_EQ(std::count(found.begin(), found.end(), L','), 2);
  EXPECT_EQ(found.back(), L',');

  LLF::SeedRandom(12345);  // another shuffle: the stored list wins
  seek = Load(level);
  ASSERT_NE(seek, nullptr);
  EXPECT_EQ(seek->GetBoard().GetSearchList(), list);
  EXPECT_EQ(seek->GetBoard().GetFoundRecords().size(), 2u);
  Run(3000);
  for (const wchar_t* name : {L"Yellow Heart", L"Blue Ball"}) {
    const SeekModeManager::SeekObject* object = seek->GetBoard().FindObject(name);
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->found) << "gone from the scene";
    EXPECT_EQ(seek->GetListLabel(LineOf(name))->GetAlpha(), 64) << name;
  }
  EXPECT_EQ(seek->GetListLabel(LineOf(L"Purple Ring"))->GetAlpha(), 255) << "an open line shows in full";
  EXPECT_TRUE(seek->IsPlaying());
}

TEST_F(SeekModeTest, StoredProgressThatDoesNotFitTheListIsTrimmed) {
  SeekFixtureLevel level;
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  std::vector<std::wstring> list = seek->GetBoard().GetSearchList();
  std::reverse(list.begin(), list.end());
  HLF::Player player;
  const struct {
    std::wstring items;
    std::wstring found;
    size_t records;
    bool won;
  } cases[] = {
      // Two names more than lines: cut to the list.
      {Join(list) + L"Extra One,Extra Two", L"", 0, false},
      // Twice the same, a name no line holds, empty parts: one record.
      {L"", list[0] + L"," + list[0] + L",Nothing Here,,", 1, false},
      // Everything found: the level ends at once instead of waiting for a
      // click that can find nothing.
      {L"", Join(list), 10, true},
  };
  for (const auto& c : cases) {
    player.SetVar(ProgressPath(), L"items", c.items);
    player.SetVar(ProgressPath(), L"itemsFound", c.found);
    seek = Load(level);
    ASSERT_NE(seek, nullptr);
    ASSERT_EQ(seek->GetBoard().GetSearchList().size(), 10u);
    if (!c.items.empty()) {
      EXPECT_EQ(seek->GetBoard().GetSearchList(), list);
    }
    EXPECT_EQ(seek->GetBoard().GetFoundRecords().size(), c.records);
    EXPECT_EQ(seek->IsResultStored(), c.won);
    EXPECT_EQ(seek->IsPlaying(), !c.won);
  }
}

TEST_F(SeekModeTest, ALongNameShrinksAboutItsLinesCentreAndItsEffectEndsThere) {
  SeekFixtureLevel level;
  const std::wstring longName = L"A Remarkably Long Name For A Ball";
  level.objects[3].name = longName;  // an easy one: always listed
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  const int line = LineOf(longName);
  ASSERT_LT(line, 10);
  HLF::Label* label = seek->GetListLabel(line);
  ASSERT_NE(label, nullptr);
  // The layout's place: the scaler shrinks about the line's centre.
  EXPECT_FLOAT_EQ(label->GetPosition().x, 12.0f);
  EXPECT_FLOAT_EQ(label->GetPosition().y, float(line * 40));
  EXPECT_FLOAT_EQ(label->GetTransformCenter().x, label->GetSize().x * 0.5f);
  ASSERT_EQ(label->GetEffectsCount(), 1);
  float s = 0.0f;
  for (int m = 0; m < label->GetEffect(0)->GetModifiersCount(); ++m) {
    if (auto* scaler = dynamic_cast<HLF::Scaler*>(label->GetEffect(0)->GetModifier(m))) {
      LLF::Vector2 start;
      LLF::Vector2 end;
      scaler->GetScales(start, end);
      EXPECT_FLOAT_EQ(end.y, end.x);
      s = end.x;
    }
  }
  EXPECT_LT(s, 0.9f) << "the effect's scaler ends at the shrunk size";
  EXPECT_GT(s, 0.2f);
  Run(3000);
  EXPECT_FLOAT_EQ(label->GetScale().x, s);
  EXPECT_FLOAT_EQ(label->GetScale().y, s);
  EXPECT_FLOAT_EQ(label->GetPosition().x, 12.0f) << "and stays in place";
  // A short name keeps its size.
  EXPECT_FLOAT_EQ(seek->GetListLabel(LineOf(L"Blue Ball"))->GetScale().x, 1.0f);
}

TEST_F(SeekModeTest, SilhouettesAreWhiteShapesInFiftyPixelBoxes) {
  SeekFixtureLevel level;
  level.mode = L"silhouette";
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  HLF::Control* panel = game->GetGameLayer()->FindChild(L"seek_ui")->GetChildByName(L"items_scroll");
  EXPECT_TRUE(panel->GetChildByName(L"silhouetteMode")->IsVisible());
  EXPECT_FALSE(panel->GetChildByName(L"textMode")->IsVisible());

  HLF::StaticImage* ring = seek->GetListPicture(LineOf(L"Purple Ring"));
  ASSERT_NE(ring, nullptr);
  LLF::Color pixel;
  ring->GetImage()->GetPixel(&pixel, 2, 2);
  EXPECT_EQ(pixel.r + pixel.g + pixel.b + pixel.a, 4 * 255);
  ring->GetImage()->GetPixel(&pixel, 15, 15);
  EXPECT_EQ(pixel.a, 0) << "the hole stays clear";
  EXPECT_FLOAT_EQ(ring->GetScale().x, 50.0f / 40.0f);
  const SeekModeManager::SeekObject* object = seek->GetBoard().FindObject(L"Purple Ring");
  object->picture->GetPixel(&pixel, 2, 2);
  EXPECT_EQ(pixel.b, 220) << "the scene keeps its colours";

  const int boxLine = LineOf(L"Orange Box");
  if (boxLine < 10) {  // a normal object: listed by the shuffle
    HLF::StaticImage* box = seek->GetListPicture(boxLine);
    EXPECT_FLOAT_EQ(box->GetScale().x, 50.0f / 60.0f);
    const float layoutY = float((boxLine / 2) * 84 + 8);
    EXPECT_FLOAT_EQ(box->GetPosition().y, layoutY + 25.0f - (50.0f / 60.0f) * 30.0f * 0.5f) << "centred";
  }
}

TEST_F(SeekModeTest, AShortListHidesTheLinesBeyondIt) {
  SeekFixtureLevel level;
  level.easy = 1;
  level.normal = 1;
  level.difficult = 1;
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  ASSERT_EQ(seek->GetBoard().GetSearchList().size(), 5u);
  EXPECT_EQ(HeadlessVoyage::LogCount(L"holds 5 names instead of 10"), 1);
  HLF::Control* lines = game->GetGameLayer()
                            ->FindChild(L"seek_ui")
                            ->GetChildByName(L"items_scroll")
                            ->GetChildByName(L"textMode");
  EXPECT_TRUE(lines->GetChildByName(L"item_04")->IsVisible());
  EXPECT_FALSE(lines->GetChildByName(L"item_05")->IsVisible());
  EXPECT_FALSE(lines->GetChildByName(L"item_09")->IsVisible());
}

TEST_F(SeekModeTest, AHintPointsAtAnUnfoundListedObject) {
  SeekFixtureLevel level;
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  seek->UseHint();
  ASSERT_NE(seek->GetHintEmitter(), nullptr);
  EXPECT_EQ(seek->GetHintEmitter()->GetParent(), &seek->GetBoard());
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Hint used. Hint object: "), 1);
  const LLF::Vector2 at = seek->GetHintEmitter()->GetPosition();
  const int index = seek->GetBoard().ObjectAt(int(at.x), int(at.y));
  EXPECT_GE(index, 0) << "the middle of a listed object";
  seek->UseHint();
  EXPECT_EQ(HeadlessVoyage::LogCount(L"Hint used. Hint object: "), 1) << "not while one shows";
}

TEST_F(SeekModeTest, ObjectsPastTheBoundAreSkippedWithOneWarning) {
  SeekFixtureLevel level;
  const SeekFixtureObject model = level.objects.front();
  while (level.objects.size() < SeekModeManager::kMaxObjects + 3) {
    SeekFixtureObject more = model;
    more.name = L"Copy " + std::to_wstring(level.objects.size());
    more.flag = L"easy";
    level.objects.push_back(more);
  }
  level.easy = int(level.objects.size());
  ASSERT_NE(Load(level), nullptr);
  EXPECT_EQ(mode->GetBoard().GetObjects().size(), SeekModeManager::kMaxObjects);
  EXPECT_EQ(
      HeadlessVoyage::LogCount(L"Warning: SeekModeManager - more than 256 objects; the rest are skipped."),
      1);
}

TEST_F(SeekModeTest, TheGamesOwnSeekLevelsLoad) {
  std::filesystem::copy(
      GeneratedDataFolder() + "levels", folders.Program() + "/levels",
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::skip_existing);
  const struct {
    const wchar_t* name;
    const wchar_t* levelInfoMode;
    int display;
    bool right;
    bool animated;
  } levels[] = {
      {L"d2_seek", L"", GameModeSeek::DISPLAY_SILHOUETTE, true, false},
      {L"d3_seek_grey", L"", GameModeSeek::DISPLAY_GREY, false, true},
      {L"d3_seek_dark", L"dark", GameModeSeek::DISPLAY_DARK, true, false},
  };
  for (const auto& c : levels) {
    SCOPED_TRACE(LLF::WideToAnsi(c.name));
    mode.reset();
    HLF::GameServices::DeleteDeferred();
    LevelInfo info;
    info.folder = L"levels/" + std::wstring(c.name) + L"/";
    info.name = c.name;
    info.type = L"seek";
    info.mode = c.levelInfoMode;
    info.musicAsset = L"LEVMUSIC_B";
    info.level = 0;
    info.day = 1;
    mode = std::make_unique<RecordingSeek>();
    const bool loaded = mode->LoadLevel(info);
    if (!loaded) DumpErrors();
    ASSERT_TRUE(loaded);
    game->Frame(16);
    EXPECT_EQ(mode->GetDisplayMode(), c.display);
    EXPECT_EQ(mode->IsListOnRight(), c.right);
    EXPECT_EQ(mode->GetBoard().GetSearchList().size(), 10u);
    EXPECT_EQ(mode->GetBoard().GetObjects().size(), 19u);
    for (const SeekModeManager::SeekObject& object : mode->GetBoard().GetObjects()) {
      EXPECT_NE(object.picture, nullptr) << LLF::WideToAnsi(object.name);
    }
    for (int i = 0; i < GameModeSeek::kListLines; ++i) {
      EXPECT_TRUE(c.display == GameModeSeek::DISPLAY_SILHOUETTE ? mode->GetListPicture(i) != nullptr
                                                                : mode->GetListLabel(i) != nullptr)
          << i;
    }
    HLF::Control* back = game->GetGameLayer()->GetChild(0);
    EXPECT_EQ(back->GetName() == L"backAnimation", c.animated);
    if (c.animated) {
      ASSERT_NE(back->FindChild(L"sky"), nullptr);
      HLF::Control* front = mode->GetBoard().FindChild(L"frontAnimation");
      ASSERT_NE(front, nullptr);
      EXPECT_NE(front->FindChild(L"leaves"), nullptr);
      EXPECT_NE(front->FindChild(L"objtransform"), nullptr);
      LLF::Color pixel;
      mode->GetBoard().GetImage()->GetPixel(&pixel, 300, 20);
      EXPECT_EQ(pixel.a, 0) << "the sky shows through the scene's top";
    }
  }
  mode.reset();
  HLF::GameServices::DeleteDeferred();
  for (int i = 0; i < game->GetGameLayer()->GetChildsCount(); ++i) {
    const std::wstring& name = game->GetGameLayer()->GetChild(i)->GetName();
    EXPECT_TRUE(name != L"backAnimation" && name != L"seek_ui" && name != L"frame" && name != L"seek_scene")
        << "left behind: " << LLF::WideToAnsi(name);
  }
}

TEST_F(SeekModeTest, APlayersClickReachesTheBoardThroughTheLevelScreen) {
  SeekFixtureLevel level;
  RecordingSeek* seek = Load(level);
  ASSERT_NE(seek, nullptr);
  Run(500);
  const auto press = [&](int x, int y) {
    for (int code : {LLF::WMSG_MOUSE_MOVE, LLF::WMSG_BUTTON_DOWN, LLF::WMSG_BUTTON_UP}) {
      LLF::Message msg(&LLF::AppWindow::GetInstance(), code, code == LLF::WMSG_MOUSE_MOVE ? 0 : 1, x, y, L"");
      game->OnMessage(&msg);
    }
    game->Frame(16);
  };
  // Over the scene, under the level screen, the frame and the clock's row.
  const SeekFixtureObject& ball = level.Object(L"Blue Ball");
  press(ball.x + 20, ball.y + 20);
  ASSERT_EQ(seek->GetBoard().GetFoundRecords().size(), 1u);
  EXPECT_EQ(seek->GetBoard().GetFoundRecords()[0].name, L"Blue Ball");
  // Once it flies, the picture lets the next click through.
  const SeekFixtureObject& heart = level.Object(L"Yellow Heart");
  press(heart.x + 20, heart.y + 20);
  EXPECT_EQ(seek->GetBoard().GetFoundRecords().size(), 2u);
  // The list panel is not the scene: no miss is counted there.
  press(700, 200);
  EXPECT_EQ(seek->GetFastClickCount(), 0);
  press(250, 280);
  EXPECT_EQ(seek->GetFastClickCount(), 1) << "an empty spot of the scene is a miss";
}

}  // namespace
}  // namespace QmTest
