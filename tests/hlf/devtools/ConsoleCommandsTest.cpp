// The console's built-in commands run through Execute on a started game in
// a temporary program folder, their log lines recorded.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "FontTestUtil.h"
#include "ImageTestUtil.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "devtools/Editor.h"
#include "font/Font.h"
#include "font/FontsManager.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "math/Color.h"
#include "math/Point.h"
#include "model/Control.h"

namespace {

using HLF::Console;

void GameCommand(const std::wstring&) {}

class ConsoleCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.Start());
    log.reset();
    log = std::make_unique<QmTest::LogRecorder>();
  }
  void TearDown() override {
    log.reset();
    LLF::OS_SetCommandRunner(nullptr);
  }

  bool Run(const std::wstring& line) { return Console::GetInstance().Execute(line, true); }
  // The recorded lines' texts, time stamp and line end cut.
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> texts;
    for (std::wstring line : log->Lines()) {
      line = line.substr(22);
      while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
      texts.push_back(line);
    }
    return texts;
  }
  std::string Path(const std::string& relative) const { return folders.Program() + "/" + relative; }

  QmTest::TempFolders folders;
  QmTest::TestGame game{folders};
  std::unique_ptr<QmTest::LogRecorder> log;
};

TEST_F(ConsoleCommandsTest, GivesItsUsageWhenArgumentsAreMissing) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"videomode",
       L"Command videomode use: videomode mode, where mode can be fullscreen(alias full),or windowed(window, "
       L"win)."},
      {L"alias", L"Command alias use: alias aliasname command"},
      {L"alias x", L"Error: Not enough params in command \"alias x\""},
      {L"openurl", L"Command openurl use: openurl url_path"},
      {L"load", L"Command load use: load object_type object_path object_id[optional]"},
      {L"editor", L"Command editor use: editor action, where action can be open or close."},
      {L"create", L"Command create use: create object_type, where object_type can be font, etc."},
      {L"create font", L"Command create use: create font src_path font_size charset dst_path"},
      {L"create fontappend", L"Command create use: create fontappend src_path src_path2 dst_path"},
      {L"enableinputlogging",
       L"Command enableinputlogging use: enableinputlogging state, where state can be enabled or disable."},
      {L"getuniquesymbols",
       L"Command getuniquesymbols use: getuniquesymbols folderwithtextfiles additionalcharset"},
      {L"getuniquesymbols a b c",
       L"Command getuniquesymbols use: getuniquesymbols folderwithtextfiles additionalcharset"},
      {L"imgutil", L"Command imgutil use: imgutil action params. Possible actions:"},
      {L"videomode tv", L"Error: Unknown mode in command \"videomode tv\""},
      {L"load font a.ttf", L"Warning: Command load - only images load; \"font\" is not loaded."},
  };
  for (const auto& [line, expected] : cases) {
    SCOPED_TRACE(line);
    log.reset();
    log = std::make_unique<QmTest::LogRecorder>();
    EXPECT_TRUE(Run(line));
    const std::vector<std::wstring> texts = Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], expected);
  }
  EXPECT_EQ(Texts().size(), 1u);
}

TEST_F(ConsoleCommandsTest, VideoModeSwitchesThroughTheShell) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"videomode Full", false}, {L"videomode window", true}, {L"videomode FULLSCREEN", false},
      {L"videomode WIN", true},   {L"videomode tv", true},
  };
  for (const auto& [line, windowed] : cases) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(Run(line));
    EXPECT_EQ(game.GetRenderSettings().windowed, windowed);
  }
}

TEST_F(ConsoleCommandsTest, HelpListsVariablesCommandsAndAliases) {
  ASSERT_TRUE(Console::GetInstance().AddCommand(L"winlevel", &GameCommand));
  EXPECT_TRUE(Run(L"help me"));
  Console::GetInstance().DeleteCommand(L"winlevel");
  const std::vector<std::wstring> texts = Texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts.front(), std::wstring(62, L'='));
  EXPECT_EQ(texts[1], L"Console help. Variables list:");
  const std::vector<std::wstring> colors(texts.begin() + 2, texts.begin() + 8);
  EXPECT_EQ(colors, (std::vector<std::wstring>{L"Color con_ColorBackground", L"Color con_ColorCurrentCommand",
                                               L"Color con_ColorErrorText", L"Color con_ColorHistoryText",
                                               L"Color con_ColorPrintLine", L"Color con_ColorWarningText"}));
  EXPECT_EQ(texts[8], L"Commands list:");
  const auto aliases = std::find(texts.begin(), texts.end(), L"Aliases list:");
  ASSERT_NE(aliases, texts.end());
  const std::vector<std::wstring> commands(texts.begin() + 9, aliases);
  EXPECT_EQ(commands.size(), 13u);
  EXPECT_NE(std::find(commands.begin(), commands.end(), L"winlevel"), commands.end());
  EXPECT_EQ(*(aliases + 1), L"quit exit");
  EXPECT_EQ(texts.back(), std::wstring(62, L'='));
}

TEST_F(ConsoleCommandsTest, OpenUrlStartsTheOpenerWithoutAShell) {
  std::vector<std::vector<std::string>> started;
  LLF::OS_SetCommandRunner([&started](const std::vector<std::string>& args, bool, std::string*) {
    started.push_back(args);
    return 0;
  });
  EXPECT_TRUE(Run(L"openurl https://example.org/a;rm$(x) ignored"));
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", "https://example.org/a;rm$(x)"}));
}

TEST_F(ConsoleCommandsTest, InputLoggingAndTheEditorFollowTheirWords) {
  Console& console = Console::GetInstance();
  const std::pair<const wchar_t*, bool> logging[] = {
      {L"enableinputlogging TRUE", true},     {L"enableinputlogging maybe", true},
      {L"enableinputlogging Disable", false}, {L"enableinputlogging maybe", false},
      {L"enableinputlogging enable", true},   {L"enableinputlogging false", false},
  };
  for (const auto& [line, on] : logging) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(Run(line));
    EXPECT_EQ(console.IsInputLogging(), on);
  }

  HLF::Editor& editor = HLF::Editor::GetInstance();
  EXPECT_TRUE(Run(L"editor anything"));
  ASSERT_TRUE(editor.IsOpen());
  EXPECT_FALSE(game.GetGameLayer()->IsVisible());
  EXPECT_TRUE(Run(L"editor CLOSE"));
  EXPECT_FALSE(editor.IsOpen());
  EXPECT_TRUE(game.GetGameLayer()->IsVisible());
  EXPECT_EQ(log->Count(L"Opening editor..."), 1);
  EXPECT_EQ(log->Count(L"Closing editor..."), 1);
}

TEST_F(ConsoleCommandsTest, DumpTreeShowsNamesHiddenOnesInBrackets) {
  auto* panel = new HLF::Control(L"panel");
  auto* inner = new HLF::Control(L"inner");
  inner->SetVisible(false);
  panel->AddChild(inner);
  game.GetGameLayer()->AddChild(panel);
  EXPECT_TRUE(Run(L"dumptree"));
  const std::vector<std::wstring> plain = {std::wstring(62, L'='), L"Game controls tree dump:", L"\"GAME\"",
                                           L"     \"panel\"",      L"          [inner]",        L"[EDITOR]",
                                           std::wstring(62, L'=')};
  EXPECT_EQ(Texts(), plain);

  log.reset();
  log = std::make_unique<QmTest::LogRecorder>();
  EXPECT_TRUE(Run(L"dumptree full"));
  const std::vector<std::wstring> full = {std::wstring(62, L'='), L"Game controls tree dump:", L"\"GAME\"",
                                          L" -modifiers list:",   L" -effects list:",          L"[GAME]",
                                          L"     \"panel\"",      L"          [inner]",        L"[EDITOR]",
                                          L" -modifiers list:",   L" -effects list:",          L"[EDITOR]",
                                          std::wstring(62, L'=')};
  EXPECT_EQ(Texts(), full);
}

TEST_F(ConsoleCommandsTest, GetUniqueSymbolsWritesTheCharactersOfTheXmlFiles) {
  QmTest::WriteBytes(Path("texts/a.xml"), "ab a\r\nc");
  QmTest::WriteBytes(Path("texts/B.XML"),
                     "\xEF\xBB\xBF"
                     "c\xC3\xA9");
  QmTest::WriteBytes(Path("texts/skip.txt"), "qrs");
  EXPECT_TRUE(Run(L"getuniquesymbols texts"));
  EXPECT_EQ(QmTest::ReadBytes(Path("texts/UniqueSymbols.txt")), QmTest::kUtf8Bom + "abc\xC3\xA9");
  EXPECT_TRUE(Run(L"getuniquesymbols texts xyx"));
  EXPECT_EQ(QmTest::ReadBytes(Path("texts/UniqueSymbols.txt")), QmTest::kUtf8Bom + "xyxabc\xC3\xA9");
  EXPECT_EQ(log->Count(L"Error"), 0);

  EXPECT_TRUE(Run(L"getuniquesymbols missing/folder"));
  EXPECT_EQ(log->Count(L"Error: Can't save unique symbols to file."), 0);  // an empty list is written
  QmTest::WriteBytes(Path("blocked"), "a file where a folder should be");
  EXPECT_TRUE(Run(L"getuniquesymbols blocked"));
  EXPECT_EQ(log->Count(L"Error: Can't save unique symbols to file."), 1);
}

// A 2 x 1 RGBA PNG.
void WritePng(const std::string& path, const LLF::Color& left, const LLF::Color& right) {
  QmTest::PngOptions options;
  options.colorType = 6;  // RGBA
  QmTest::WriteFileBytes(
      path,
      QmTest::MakePng(2, 1, {left.r, left.g, left.b, left.a, right.r, right.g, right.b, right.a}, options));
}

LLF::Color PixelOf(const std::string& path, int x) {
  std::unique_ptr<LLF::Image> image(
      LLF::ImagesManager::GetInstance().LoadImage(LLF::FromOsPath(path), std::wstring(), true, true));
  LLF::Color c(1, 2, 3, 4);
  if (image) image->GetPixel(&c, x, 0);
  return c;
}

TEST_F(ConsoleCommandsTest, ImgUtilTurnsGreysIntoAlpha) {
  WritePng(Path("bw.png"), LLF::Color(30, 60, 90, 255), LLF::Color(0, 0, 0, 255));
  EXPECT_TRUE(Run(L"imgutil bwtoalpha bw.png mask.png"));
  EXPECT_EQ(PixelOf(Path("mask.png"), 0), LLF::Color(255, 255, 255, 60));
  EXPECT_EQ(PixelOf(Path("mask.png"), 1), LLF::Color(255, 255, 255, 0));
  // Over its own source: read whole first, replaced once written.
  EXPECT_TRUE(Run(L"imgutil bwtoalpha bw.png bw.png"));
  EXPECT_EQ(PixelOf(Path("bw.png"), 0), LLF::Color(255, 255, 255, 60));
  EXPECT_EQ(QmTest::NamesStartingWith(folders.Program(), ".~new~"), std::vector<std::string>());
  // Another action, or a source that does not load: nothing is written.
  EXPECT_TRUE(Run(L"imgutil blur bw.png other.png"));
  EXPECT_TRUE(Run(L"imgutil bwtoalpha none.png other.png"));
  EXPECT_FALSE(QmTest::FileExists(Path("other.png")));
}

TEST_F(ConsoleCommandsTest, CreateFontMakesAnXmlFontThatLoadsBack) {
  const std::wstring ttf = LLF::AnsiToWide(QmTest::kDejaVuSans);
  EXPECT_TRUE(Run(L"create font " + ttf + L" 20 ABCabc fonts/made.xml"));
  EXPECT_EQ(log->Count(L"Font has been created."), 1);
  std::unique_ptr<LLF::Font> font(LLF::FontsManager::GetInstance().LoadFont(
      L"fonts/made.xml", 0, std::wstring(), std::wstring(), true, true, LLF::Point(0, 0)));
  ASSERT_TRUE(font);
  EXPECT_EQ(font->GetCharsCount(), 6u);
  EXPECT_NE(font->FindChar(L'b'), nullptr);

  // Two fonts joined; the game's own font under that path is not touched.
  LLF::Font* held =
      LLF::FontsManager::GetInstance().LoadFont(ttf, 14, L"Z", std::wstring(), false, true, LLF::Point(0, 0));
  ASSERT_NE(held, nullptr);
  EXPECT_TRUE(Run(L"create fontappend " + ttf + L" " + ttf + L" fonts/joined.xml"));
  EXPECT_EQ(log->Count(L"Font has been created."), 2);
  EXPECT_EQ(held->GetCharsCount(), 1u);
  EXPECT_EQ(LLF::FontsManager::GetInstance().FindResource(ttf), held);
  std::unique_ptr<LLF::Font> joined(LLF::FontsManager::GetInstance().LoadFont(
      L"fonts/joined.xml", 0, std::wstring(), std::wstring(), true, true, LLF::Point(0, 0)));
  ASSERT_TRUE(joined);
  EXPECT_EQ(joined->GetCharsCount(), 64u);
  LLF::FontsManager::GetInstance().FreeFont(held);

  // Failures: a source that does not load, a destination that can't be
  // written; no half-written file is left.
  EXPECT_TRUE(Run(L"create font missing.ttf 20 ABC fonts/none.xml"));
  EXPECT_EQ(log->Count(L"Error: Can't load font \"missing.ttf\""), 1);
  QmTest::WriteBytes(Path("blocked"), "a file where a folder should be");
  EXPECT_TRUE(Run(L"create font " + ttf + L" 20 ABC blocked/none.xml"));
  EXPECT_EQ(log->Count(L"Error: Can't save font \"blocked/none.xml\""), 1);
  EXPECT_EQ(QmTest::NamesStartingWith(Path("fonts"), ".~new~"), std::vector<std::string>());
}

}  // namespace
