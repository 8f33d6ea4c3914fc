// Lint of the generated data folder beside the programs: it walks whatever
// is there, so new files, registries and layouts are covered as they come.
// Every XML file parses; every "#name;" it uses is a variable it defines or
// includes; every attribute that names a file names one that exists, in
// that exact case (beside the data folder's root or the XML file itself);
// every list of every asset registry loads completely (code 1); and every
// control element, wherever it stands, builds through the control factory
// without an error line, its wrapped captions inside it and its
// buttons' captions between their ornaments. The level list is
// checked as the game reads it: days and levels numbered without gaps, every
// required attribute, names the profiles can hold, once per day, known
// types, wallpapers in range with no gallery page left empty before the last
// award, music lists that exist and a folder with its two files for every
// level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "FileBytes.h"
#include "HeadlessVoyage.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "flow/ZentaMainMenu.h"
#include "font/Font.h"
#include "font/TextDrawParams.h"
#include "image/CodecJpg.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "math/Point.h"
#include "math/Rect.h"
#include "math/Vector2.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "model/XmlDocEx.h"
#include "modes/GameMode.h"
#include "shell/AssetsLoader.h"
#include "shell/Player.h"
#include "widgets/Button.h"
#include "widgets/CaptionedText.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

// Every XML file below the folder, relative, sorted.
std::vector<std::string> XmlFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    if (entry.is_regular_file() && extension == ".xml") {
      files.push_back(fs::relative(entry.path(), folder).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

void ForEachElement(LLF::XmlElement& element, const std::function<void(LLF::XmlElement&)>& visit) {
  if (element.IsComment()) return;
  visit(element);
  for (int i = 0; i < element.GetChildsCount(); ++i) ForEachElement(*element.GetChild(i), visit);
}

// The names of the "#name;" references in the text ("##" is a plain '#').
std::vector<std::wstring> VariableReferences(const std::wstring& text) {
  std::vector<std::wstring> names;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'#') continue;
    if (text[i + 1] == L'#') {
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < text.size() &&
           (std::iswalnum(text[end]) || text[end] == L'_' || text[end] == L'-' || text[end] == L'.')) {
      ++end;
    }
    if (end > i + 1 && end < text.size() && text[end] == L';') {
      names.push_back(text.substr(i + 1, end - i - 1));
      i = end;
    }
  }
  return names;
}

// Whether the value reads as a file name: one word with a data file's
// extension.
bool NamesAFile(const std::string& value) {
  static const std::set<std::string> kExtensions = {".xml", ".png", ".jpg", ".jpeg", ".gif", ".mng", ".bmp",
                                                    ".ico", ".ttf", ".otf", ".wav",  ".ogg", ".mp3", ".flac"};
  if (value.empty() || value.find_first_of(" \t\r\n") != std::string::npos) return false;
  std::string extension = fs::path(value).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
  return kExtensions.count(extension) != 0;
}

// Whether base/relative exists with every part of relative in that exact
// case.
bool ExistsInThatCase(const fs::path& base, const std::string& relative) {
  fs::path at = base;
  for (const fs::path& part : fs::path(relative)) {
    if (part == "." || part == "..") {
      at /= part;
      continue;
    }
    std::error_code ec;
    bool found = false;
    for (const auto& entry : fs::directory_iterator(at, ec)) {
      if (entry.path().filename() == part) {
        found = true;
        break;
      }
    }
    if (!found) return false;
    at /= part;
  }
  return fs::is_regular_file(at);
}

void ReportLines(const LogRecorder& log, const std::wstring& prefix, const std::string& where) {
  for (const std::wstring& line : log.Lines()) {
    if (line.find(prefix) != std::wstring::npos) ADD_FAILURE() << where << ": " << LLF::WideToAnsi(line);
  }
}

// Each multiline caption of the tree, as laid out and drawn, stays inside
// its control: no line of more than one word wider than the field, and the
// lines no taller than the control. The number of captions checked.
int CheckWrappedCaptions(const HLF::Control& control, const std::string& where) {
  int checked = 0;
  const auto* text = dynamic_cast<const HLF::CaptionedText*>(&control);
  const LLF::Font* font = text ? text->GetFont() : nullptr;
  if (font && text->IsMultiline() && !text->GetLines().empty()) {
    const std::string name = where + " " + LLF::WideToAnsi(control.GetName());
    LLF::TextDrawParams params = text->GetDrawParams();
    const std::vector<std::wstring>& lines = text->GetLines();
    for (const std::wstring& line : lines) {
      params.text = line;
      if (line.find(L' ') != std::wstring::npos) {
        EXPECT_LE(font->GetTextWidth(params), text->GetBoxWidth()) << name << ": " << LLF::WideToAnsi(line);
      }
    }
    const int count = static_cast<int>(lines.size());
    const int height = count * (font->GetTextHeight(params) + text->GetInterval()) - text->GetInterval();
    EXPECT_LE(height, control.GetSize().y) << name << ": " << count << " lines";
    ++checked;
  }
  for (int i = 0; i < control.GetChildsCount(); ++i) {
    checked += CheckWrappedCaptions(*control.GetChild(i), where);
  }
  return checked;
}

// Each one-line caption of a button drawn on one of the ornamented button
// pictures stays between the two diamonds at the picture's ends (centred 12
// pixels in from the plate, whose rim is a pixel or two in from the cell).
// The number of captions checked.
int CheckButtonCaptions(const HLF::Control& control, const std::string& where) {
  constexpr int kOrnamentInset = 22;
  int checked = 0;
  const auto* button = dynamic_cast<const HLF::Button*>(&control);
  const LLF::Font* font = button ? button->GetFont() : nullptr;
  if (font && !button->IsMultiline() && !button->GetText().empty()) {
    const std::wstring image = button->GetImageName();
    if (image == L"button" || image == L"button_small" || image == L"gallery_button") {
      EXPECT_LE(font->GetTextWidth(button->GetDrawParams()), control.GetSize().x - 2 * kOrnamentInset)
          << where << " " << LLF::WideToAnsi(control.GetName()) << ": \""
          << LLF::WideToAnsi(button->GetText()) << "\" runs over the diamonds of " << LLF::WideToAnsi(image);
      ++checked;
    }
  }
  for (int i = 0; i < control.GetChildsCount(); ++i) {
    checked += CheckButtonCaptions(*control.GetChild(i), where);
  }
  return checked;
}

// Digits only, with an optional leading '-'.
bool ReadInteger(const std::wstring& text, int& value) {
  size_t start = !text.empty() && text[0] == L'-' ? 1 : 0;
  if (text.size() <= start || text.size() > 9) return false;
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
  }
  value = std::stoi(LLF::WideToAnsi(text));
  return true;
}

// The faults of the level list of the data folder, one line each.
std::vector<std::string> LevelListFaults(const std::string& folder) {
  std::vector<std::string> faults;
  auto fault = [&](const std::string& where, const std::string& what) {
    faults.push_back(where + ": " + what);
  };
  LLF::XmlDoc levels;
  LLF::XmlDoc music;
  if (!levels.LoadFromFile(LLF::FromOsPath(folder + "scripts/game/levels.xml"))) {
    return {"scripts/game/levels.xml does not read"};
  }
  std::set<std::wstring> musicLists;
  if (music.LoadFromFile(LLF::FromOsPath(folder + "scripts/game/levmusic.xml"))) {
    if (LLF::XmlElement* lists = music.GetRoot()->GetChildByPath(L"game/assets")) {
      for (int i = 0; i < lists->GetChildsCount(); ++i) {
        if (!lists->GetChild(i)->IsComment()) musicLists.insert(lists->GetChild(i)->GetName());
      }
    }
  } else {
    fault("scripts/game/levmusic.xml", "does not read");
  }
  LLF::XmlElement* root = levels.GetRoot()->FindChild(L"gamelevels");
  if (!root) return {"scripts/game/levels.xml has no gamelevels"};

  const std::set<std::wstring> types = {L"jigsaw", L"puzzle", L"mirror", L"pair", L"seek"};
  std::set<int> awardPages;
  std::set<int> awards;
  int days = 0;
  for (int d = 0; d < root->GetChildsCount(); ++d) {
    LLF::XmlElement* day = root->GetChild(d);
    if (day->IsComment()) continue;
    const std::string dayName = LLF::WideToAnsi(day->GetName());
    ++days;
    if (day->GetName() != L"day" + LLF::ToString(days)) {
      fault(dayName, "day" + std::to_string(days) + " belongs here (days are numbered from 1 without gaps)");
    }
    int time = 0;
    if (!day->GetAttribute(std::wstring(L"time"))) {
      fault(dayName, "missing required attribute time");
    } else if (!ReadInteger(day->GetAttribute(L"time", std::wstring()).GetValue(), time) || time <= 0) {
      fault(dayName, "time is no positive number of seconds");
    }
    std::set<std::wstring> names;
    int levelCount = 0;
    for (int l = 0; l < day->GetChildsCount(); ++l) {
      LLF::XmlElement* level = day->GetChild(l);
      if (level->IsComment()) continue;
      ++levelCount;
      const std::string where = dayName + "/" + LLF::WideToAnsi(level->GetName());
      if (level->GetName() != L"level" + LLF::ToString(levelCount)) {
        fault(where, "level" + std::to_string(levelCount) +
                         " belongs here (levels are numbered from 1 without gaps)");
      }
      for (const wchar_t* required : {L"folder", L"name", L"type", L"musicAsset", L"group"}) {
        if (!level->GetAttribute(std::wstring(required))) {
          fault(where, "missing required attribute " + LLF::WideToAnsi(required));
        }
      }
      const std::wstring name = level->GetAttribute(L"name", std::wstring()).GetValue();
      if (!HLF::Player::IsXmlName(name)) {
        fault(where, "the name \"" + LLF::WideToAnsi(name) + "\" is not a valid XML name");
      } else if (!names.insert(name).second) {
        fault(where, "the name \"" + LLF::WideToAnsi(name) + "\" repeats a name of its day");
      }
      const std::wstring type = level->GetAttribute(L"type", std::wstring()).GetValue();
      if (!types.count(type)) fault(where, "unknown type \"" + LLF::WideToAnsi(type) + "\"");
      int group = 0;
      if (!ReadInteger(level->GetAttribute(L"group", L"0").GetValue(), group) || group < 0) {
        fault(where, "group is no number from 0");
      }
      if (const LLF::XmlAttribute* wallpaper = level->GetAttribute(std::wstring(L"wallpaper"))) {
        int index = 0;
        if (!ReadInteger(wallpaper->GetValue(), index) || index < -1 || index >= 20) {
          fault(where, "wallpaper \"" + LLF::WideToAnsi(wallpaper->GetValue()) + "\" is not in -1..19");
        } else if (index >= 0) {
          if (!awards.insert(index).second)
            fault(where, "wallpaper " + std::to_string(index) + " is awarded twice");
          awardPages.insert(index / 4);
        }
      }
      const std::wstring musicAsset = level->GetAttribute(L"musicAsset", std::wstring()).GetValue();
      if (!musicLists.count(musicAsset)) {
        fault(where, "musicAsset \"" + LLF::WideToAnsi(musicAsset) +
                         "\" names no list of scripts/game/levmusic.xml");
      }
      std::string levelFolder = LLF::ToOsPath(level->GetAttribute(L"folder", std::wstring()).GetValue());
      if (!levelFolder.empty() && levelFolder.back() != '/') levelFolder += '/';
      for (const char* file : {"level.xml", "asset.xml"}) {
        if (levelFolder.empty() || !ExistsInThatCase(folder, levelFolder + file)) {
          fault(where, "the folder \"" + levelFolder + "\" lacks " + file);
        }
      }
    }
  }
  if (days == 0) fault("scripts/game/levels.xml", "no day");
  // The gallery turns forward only to a page with an unlocked wallpaper.
  if (!awardPages.empty()) {
    for (int page = 0; page < *awardPages.rbegin(); ++page) {
      if (!awardPages.count(page)) {
        fault("scripts/game/levels.xml", "gallery page " + std::to_string(page + 1) +
                                             " has no award, so the later awards can never be seen");
      }
    }
  }
  return faults;
}

class DataLintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = GeneratedDataFolder();
    ASSERT_TRUE(fs::is_directory(folder + "scripts"))
        << "no generated data folder beside the test program in " << folder;
    files = XmlFiles(folder);
    previousDir = fs::current_path().string();
    fs::current_path(folder);  // the data's relative names resolve from here, as in the game
  }
  void TearDown() override {
    std::error_code ec;
    fs::current_path(previousDir, ec);
  }

  std::string folder;
  std::vector<std::string> files;
  std::string previousDir;
};

TEST_F(DataLintTest, EveryXmlFileParsesAndDefinesTheVariablesItUses) {
  EXPECT_GE(files.size(), 12u);
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    LLF::XmlDoc raw;
    ASSERT_TRUE(raw.LoadFromFile(LLF::FromOsPath(file)));
    LogRecorder log;
    HLF::XmlDocEx doc;
    ASSERT_TRUE(doc.LoadFromFile(LLF::FromOsPath(file)));
    ReportLines(log, L"Error:", file);

    std::set<std::wstring> defined;
    const LLF::XmlElement& vars = doc.GetVars();
    for (int i = 0; i < vars.GetChildsCount(); ++i) {
      const LLF::XmlElement* var = vars.GetChild(i);
      if (!var->IsComment() && var->GetName() == L"var") {
        defined.insert(var->GetAttribute(L"name", std::wstring()).GetValue());
      }
    }
    // Only what stands beside the variables' section is substituted.
    LLF::XmlElement* document = nullptr;
    for (int i = 0; i < raw.GetRoot()->GetChildsCount() && !document; ++i) {
      if (!raw.GetRoot()->GetChild(i)->IsComment()) document = raw.GetRoot()->GetChild(i);
    }
    ASSERT_NE(document, nullptr);
    for (int i = 0; i < document->GetChildsCount(); ++i) {
      LLF::XmlElement* child = document->GetChild(i);
      if (child->GetName() == L"vars") continue;
      ForEachElement(*child, [&](LLF::XmlElement& element) {
        for (int a = 0; a < element.GetAttributesCount(); ++a) {
          for (const std::wstring& name : VariableReferences(element.GetAttribute(a)->GetValue())) {
            EXPECT_TRUE(defined.count(name))
                << "#" << LLF::WideToAnsi(name) << "; in <" << LLF::WideToAnsi(element.GetName()) << ">";
          }
        }
      });
    }
  }
}

TEST_F(DataLintTest, EveryFileNamedExistsInThatCase) {
  int named = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    HLF::XmlDocEx doc;
    ASSERT_TRUE(doc.LoadFromFile(LLF::FromOsPath(file)));
    ForEachElement(*doc.GetRoot(), [&](LLF::XmlElement& element) {
      for (int a = 0; a < element.GetAttributesCount(); ++a) {
        const std::string value = LLF::ToOsPath(element.GetAttribute(a)->GetValue());
        if (!NamesAFile(value)) continue;
        ++named;
        EXPECT_FALSE(fs::path(value).is_absolute()) << value;
        EXPECT_TRUE(ExistsInThatCase(folder, value) ||
                    ExistsInThatCase(fs::path(folder + file).parent_path(), value))
            << "<" << LLF::WideToAnsi(element.GetName()) << " "
            << LLF::WideToAnsi(element.GetAttribute(a)->GetName()) << "=\"" << value << "\">";
      }
    });
  }
  EXPECT_GE(named, 10);
}

TEST_F(DataLintTest, EveryRegistryListLoadsAndEveryLayoutBuilds) {
  HeadlessVoyage game(folder);
  ASSERT_TRUE(game.Start(true));
  // The game's own start has run through: its prototypes are registered
  // and its first loads (the menu's music, blocking) are done.
  ASSERT_NE(game.GetScript().GetMainMenu(), nullptr);
  ASSERT_NE(game.GetScript().GetMainMenu()->GetMusic(), nullptr);
  game.Frame(16);

  std::vector<std::unique_ptr<HLF::AssetsLoader>> loaders;
  int lists = 0;
  {
    LogRecorder log;
    for (const std::string& file : files) {
      HLF::XmlDocEx doc;
      ASSERT_TRUE(doc.LoadFromFile(LLF::FromOsPath(file))) << file;
      LLF::XmlElement* document = doc.GetDocumentElement();
      LLF::XmlElement* assets =
          document && document->GetName() == L"game" ? document->FindChild(L"assets") : nullptr;
      for (int i = 0; assets && i < assets->GetChildsCount(); ++i) {
        LLF::XmlElement* list = assets->GetChild(i);
        if (list->IsComment()) continue;
        SCOPED_TRACE(file + ", list " + LLF::WideToAnsi(list->GetName()));
        ++lists;
        auto loader = std::make_unique<HLF::AssetsLoader>();
        MessageRecorder recorder;
        recorder.Listen(loader.get());
        ASSERT_TRUE(loader->SetList(list));
        ASSERT_TRUE(loader->Start(0));
        loader->Wait();
        loader->DeliverQueued();
        loader->RemoveReceiver(&recorder);
        ASSERT_FALSE(recorder.Entries().empty());
        EXPECT_EQ(recorder.Entries().back().code, HLF::ASSETS_MSG_DONE);
        loaders.push_back(std::move(loader));
      }
    }
    EXPECT_GE(lists, 4);
    ReportLines(log, L"Error:", "loading the registries");
  }

  // With every list loaded, as the screens find them, each control element
  // builds: the outermost one of a tree, with its children.
  HLF::ControlFactory& factory = HLF::ControlFactory::GetInstance();
  std::set<std::wstring> tags;
  for (int i = 0; i < factory.GetPrototypesCount(); ++i) tags.insert(factory.GetPrototype(i)->GetTypeName());
  ASSERT_FALSE(tags.empty());
  EXPECT_TRUE(tags.count(L"statsdlg")) << "the game registers its results dialog";
  int built = 0;
  int wrapped = 0;
  int buttons = 0;
  for (const std::string& file : files) {
    HLF::XmlDocEx doc;
    ASSERT_TRUE(doc.LoadFromFile(LLF::FromOsPath(file)));
    std::function<void(LLF::XmlElement&)> walk = [&](LLF::XmlElement& element) {
      if (element.IsComment()) return;
      if (!tags.count(element.GetName())) {
        for (int i = 0; i < element.GetChildsCount(); ++i) walk(*element.GetChild(i));
        return;
      }
      const std::string where = file + ": <" + LLF::WideToAnsi(element.GetName()) + " name=\"" +
                                LLF::WideToAnsi(element.GetAttribute(L"name", std::wstring()).GetValue()) +
                                "\">";
      LogRecorder controlLog;
      std::unique_ptr<HLF::Control> control(factory.CreateFrom(element));
      EXPECT_NE(control, nullptr) << where;
      ReportLines(controlLog, L"Error:", where);
      if (control) {
        wrapped += CheckWrappedCaptions(*control, where);
        buttons += CheckButtonCaptions(*control, where);
      }
      ++built;
    };
    if (LLF::XmlElement* document = doc.GetDocumentElement()) walk(*document);
  }
  EXPECT_GE(built, 2);
  EXPECT_GE(wrapped, 10) << "the game's message texts are wrapped";
  EXPECT_GE(buttons, 10) << "the dialogs' buttons are checked";

  for (auto& loader : loaders) loader->UnloadAssets();
}

// The game's own list is sound, and the lint names each fault of a copy.
TEST_F(DataLintTest, TheLevelListIsSound) {
  for (const std::string& line : LevelListFaults(folder)) ADD_FAILURE() << line;

  std::string text;
  {
    std::FILE* file = std::fopen((folder + "scripts/game/levels.xml").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
    std::fclose(file);
  }
  const std::string copy = NewTempFolder("levellint") + "/";
  fs::create_directories(copy + "scripts/game");
  fs::copy_file(folder + "scripts/game/levmusic.xml", copy + "scripts/game/levmusic.xml");
  fs::copy(folder + "levels", copy + "levels", fs::copy_options::recursive);

  struct Fault {
    const char* from;
    const char* to;
    const char* named;
  };
  const Fault cases[] = {
      {"name=\"d1_puzzle\"", "name=\"Level 2\"", "day1/level2: the name \"Level 2\" is not a valid XML name"},
      {"name=\"d2_pair\"", "name=\"d2_seek\"", "day2/level2: the name \"d2_seek\" repeats a name of its day"},
      {"<level3 folder=\"levels/d1_mirror/\"", "<level4 folder=\"levels/d1_mirror/\"",
       "day1/level4: level3 belongs here"},
      {"day3", "day4", "day4: day3 belongs here"},
      {"musicAsset=\"LEVMUSIC_B\"", "musicAsset=\"LEVMUSIC_Z\"",
       "day2/level1: musicAsset \"LEVMUSIC_Z\" names no list of scripts/game/levmusic.xml"},
      {" group=\"1\"", "", "day1/level3: missing required attribute group"},
      {"wallpaper=\"16\"", "wallpaper=\"20\"", "day3/level5: wallpaper \"20\" is not in -1..19"},
      {"wallpaper=\"4\"", "wallpaper=\"1\"", "gallery page 2 has no award"},
      {"levels/d2_jigsaw/", "levels/D2_jigsaw/",
       "day2/level3: the folder \"levels/D2_jigsaw/\" lacks level.xml"},
  };
  for (const Fault& c : cases) {
    SCOPED_TRACE(c.named);
    std::string changed = text;
    ASSERT_NE(changed.find(c.from), std::string::npos);
    for (size_t at = changed.find(c.from); at != std::string::npos;
         at = changed.find(c.from, at + std::strlen(c.to))) {
      changed.replace(at, std::strlen(c.from), c.to);
    }
    std::FILE* file = std::fopen((copy + "scripts/game/levels.xml").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(changed.data(), 1, changed.size(), file);
    std::fclose(file);
    const std::vector<std::string> faults = LevelListFaults(copy);
    EXPECT_TRUE(std::any_of(faults.begin(), faults.end(), [&](const std::string& line) {
      return line.find(c.named) != std::string::npos;
    })) << testing::PrintToString(faults);
  }
}

// The play modes' particles and the names the play-mode base asks for.
TEST_F(DataLintTest, TheParticlesAndEffectsOfThePlayModesAreSound) {
  const auto endsWith = [](const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
  };
  HLF::XmlDocEx particles;
  ASSERT_TRUE(particles.LoadFromFile(L"scripts/psystems.xml"));
  LLF::XmlElement* systems = particles.GetDocumentElement();
  ASSERT_NE(systems, nullptr);
  int hints = 0;
  for (int i = 0; i < systems->GetChildsCount(); ++i) {
    LLF::XmlElement* emitter = systems->GetChild(i);
    if (emitter->IsComment()) continue;
    const std::wstring name = emitter->GetAttribute(L"name", L"").GetValue();
    SCOPED_TRACE(LLF::WideToAnsi(name));
    // Particles over a board must not take its clicks.
    EXPECT_TRUE(emitter->GetAttribute(L"actionsInvisible", false).GetBool());
    LLF::XmlElement* particle = emitter->FindChild(L"particle");
    const bool autoDetach = particle && particle->GetAttribute(L"autoDetach", false).GetBool();
    const bool ends = emitter->GetAttribute(L"lifeTime", 0.0f).GetFloat() > 0.0f;
    if (endsWith(name, L"Hint")) {
      // A hint blocks the hint button until its emitter reports its end.
      ++hints;
      EXPECT_TRUE(ends);
      EXPECT_FALSE(autoDetach);
    } else if (endsWith(name, L"Found") || endsWith(name, L"WrongMove")) {
      // Nothing else deletes them.
      EXPECT_TRUE(ends);
      EXPECT_TRUE(autoDetach);
    }
  }
  EXPECT_GT(hints, 0);

  HLF::XmlDocEx effects;
  ASSERT_TRUE(effects.LoadFromFile(L"scripts/effects.xml"));
  LLF::XmlElement* effectsRoot = effects.GetDocumentElement();
  ASSERT_NE(effectsRoot, nullptr);
  std::vector<std::wstring> needed = {L"LevelNumShow"};
  for (const wchar_t* prefix :
       {L"LevelJigsaw", L"LevelPuzzle", L"LevelMirror", L"LevelPair", L"LevelSeekLeft", L"LevelSeekRight"}) {
    for (const wchar_t* effect : {L"ClockShow", L"ClockHide", L"ClockSandShow", L"ClockSandHide"}) {
      needed.push_back(std::wstring(prefix) + effect);
    }
  }
  for (const std::wstring& name : needed) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*effectsRoot, name), nullptr) << LLF::WideToAnsi(name);
  }

  // The clock of every mode's section, the level number, and the dialogs.
  HLF::XmlDocEx levui;
  ASSERT_TRUE(levui.LoadFromFile(L"scripts/game/levui.xml"));
  LLF::XmlElement* levuiRoot = levui.GetDocumentElement();
  ASSERT_NE(levuiRoot, nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*levuiRoot, L"level_number_label"), nullptr);
  for (const wchar_t* section : {L"level_jigsaw", L"level_puzzle", L"level_mirror", L"level_pair",
                                 L"level_seek_left", L"level_seek_right"}) {
    SCOPED_TRACE(LLF::WideToAnsi(section));
    LLF::XmlElement* element = levuiRoot->FindChild(section);
    ASSERT_NE(element, nullptr);
    LLF::XmlElement* ribbon = HLF::XmlDocEx::FindNamedChild(*element, L"clock_ribbon");
    ASSERT_NE(ribbon, nullptr);
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*ribbon, L"clock_time_label"), nullptr);
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*element, L"clock_sand"), nullptr);
  }
  HLF::XmlDocEx messages;
  ASSERT_TRUE(messages.LoadFromFile(L"scripts/dialogs/dlg_gamemsg.xml"));
  for (int index = 0; index < GameMode::HELP_MESSAGES_COUNT; ++index) {
    if (index == GameMode::HELP_TIME_OUT) continue;
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*messages.GetDocumentElement(), GameMode::HelpMessageName(index)),
              nullptr)
        << index;
  }
  HLF::XmlDocEx timeOut;
  ASSERT_TRUE(timeOut.LoadFromFile(L"scripts/dialogs/dlg_timeout.xml"));
  EXPECT_EQ(timeOut.GetDocumentElement()->GetName(), L"messagedlg");
  EXPECT_EQ(timeOut.GetDocumentElement()->GetAttribute(L"name", L"").GetValue(), L"TimeOutDlg");
}

}  // namespace
// Every level of the list has its thumbnail on the map, in its day's
// section and in level order, holding a button first; every effect a story
// page starts ends by itself (a page whose effects never end could only be
// closed by the click that stops them).
TEST_F(DataLintTest, TheMapAndTheStoryPagesFitTheLevelList) {
  LLF::XmlDoc levels;
  HLF::XmlDocEx map;
  HLF::XmlDocEx story;
  HLF::XmlDocEx effects;
  ASSERT_TRUE(levels.LoadFromFile(L"scripts/game/levels.xml"));
  ASSERT_TRUE(map.LoadFromFile(L"scripts/dialogs/levelsmap.xml"));
  ASSERT_TRUE(story.LoadFromFile(L"scripts/dialogs/story.xml"));
  ASSERT_TRUE(effects.LoadFromFile(L"scripts/effects.xml"));
  LLF::XmlElement* days = levels.GetRoot()->FindChild(L"gamelevels");
  ASSERT_NE(days, nullptr);
  int dayCount = 0;
  for (int d = 0; d < days->GetChildsCount(); ++d) {
    if (days->GetChild(d)->IsComment()) continue;
    ++dayCount;
    const std::wstring day = L"day" + LLF::ToString(dayCount);
    SCOPED_TRACE(LLF::WideToAnsi(day));
    int levelCount = 0;
    for (int l = 0; l < days->GetChild(d)->GetChildsCount(); ++l) {
      levelCount += days->GetChild(d)->GetChild(l)->IsComment() ? 0 : 1;
    }
    LLF::XmlElement* section = map.GetDocumentElement()->FindChild(day);
    LLF::XmlElement* thumbs = section ? HLF::XmlDocEx::FindNamedChild(*section, L"maplevelthumbs") : nullptr;
    ASSERT_NE(thumbs, nullptr) << "no maplevelthumbs";
    std::vector<LLF::XmlElement*> containers;
    for (int i = 0; i < thumbs->GetChildsCount(); ++i) {
      if (!thumbs->GetChild(i)->IsComment()) containers.push_back(thumbs->GetChild(i));
    }
    EXPECT_EQ(static_cast<int>(containers.size()), levelCount) << "one thumbnail per level";
    for (LLF::XmlElement* container : containers) {
      LLF::XmlElement* first = nullptr;
      for (int i = 0; i < container->GetChildsCount() && !first; ++i) {
        if (!container->GetChild(i)->IsComment()) first = container->GetChild(i);
      }
      EXPECT_TRUE(first && first->GetName() == L"button")
          << LLF::WideToAnsi(container->GetAttribute(L"name", std::wstring()).GetValue())
          << " holds no button first";
    }
  }
  EXPECT_GE(dayCount, 3);

  int pageEffects = 0;
  ForEachElement(*story.GetDocumentElement(), [&](LLF::XmlElement& element) {
    const std::wstring name = element.GetAttribute(L"startEffectName", std::wstring()).GetValue();
    if (name.empty()) return;
    ++pageEffects;
    LLF::XmlElement* effect = HLF::XmlDocEx::FindNamedChild(*effects.GetDocumentElement(), name);
    ASSERT_NE(effect, nullptr) << LLF::WideToAnsi(name);
    EXPECT_NE(effect->GetAttribute(L"infiniteLoop", std::wstring()).GetValue(), L"true")
        << LLF::WideToAnsi(name);
  });
  EXPECT_GE(pageEffects, 8);
}

// The gallery's data as its code asks for it: every effect name it builds
// (preview 4's hide effects must end, as their end turns the page), every
// named control of its layout with the previews showing the first page's
// thumbnails over a frame, the award screen's parts, its sounds and page
// text; and the twenty wallpapers in their three sizes, under exactly the
// names the gallery and the award screen build, all 16:10.
TEST_F(DataLintTest, TheGalleryFindsEverythingItNames) {
  HLF::XmlDocEx effects;
  ASSERT_TRUE(effects.LoadFromFile(L"scripts/effects.xml"));
  LLF::XmlElement* effectsRoot = effects.GetDocumentElement();
  ASSERT_NE(effectsRoot, nullptr);
  std::vector<std::wstring> names = {L"GalleryPageNumShow", L"GalleryPageNumHide",    L"GalleryRibbonShow",
                                     L"GalleryRibbonHide",  L"GalleryRibbonHideFast", L"AwardHide"};
  for (int i = 1; i <= 4; ++i) {
    for (const wchar_t* motion : {L"ShowUp", L"ShowDown", L"HideUp", L"HideDown"}) {
      for (const wchar_t* hidden : {L"", L"Hidden"}) {
        names.push_back(L"GalleryPreview" + LLF::ToString(i) + motion + hidden);
      }
    }
  }
  EXPECT_EQ(names.size(), 38u);
  for (const std::wstring& name : names) {
    SCOPED_TRACE(LLF::WideToAnsi(name));
    LLF::XmlElement* effect = HLF::XmlDocEx::FindNamedChild(*effectsRoot, name);
    ASSERT_NE(effect, nullptr);
    if (name.find(L"Preview4Hide") != std::wstring::npos || name == L"AwardHide") {
      EXPECT_NE(effect->GetAttribute(L"infiniteLoop", std::wstring()).GetValue(), L"true");
      int modifiers = 0;
      for (int c = 0; c < effect->GetChildsCount(); ++c)
        modifiers += effect->GetChild(c)->IsComment() ? 0 : 1;
      EXPECT_GT(modifiers, 0) << "an effect without modifiers ends at once";
    }
  }

  HLF::XmlDocEx gallery;
  ASSERT_TRUE(gallery.LoadFromFile(ZentaMainMenu::kGalleryFile));
  LLF::XmlElement* section = gallery.GetDocumentElement();
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(section->GetName(), ZentaMainMenu::kGallerySection);
  for (const wchar_t* name : {L"page_num_label", L"ribbon", L"NextButton", L"PrevButton", L"CloseButton",
                              L"ribbon_wide", L"SetAsWallpaperButton", L"Close2Button", L"AwardScreen"}) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*section, name), nullptr) << LLF::WideToAnsi(name);
  }
  for (int i = 1; i <= 4; ++i) {
    SCOPED_TRACE(i);
    LLF::XmlElement* preview = HLF::XmlDocEx::FindNamedChild(*section, L"preview" + LLF::ToString(i));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetAttribute(L"imageName", std::wstring()).GetValue(), ZentaMainMenu::ThumbnailId(i))
        << "building the first page does not set the thumbnails";
    LLF::XmlElement* frame = nullptr;
    for (int c = 0; c < preview->GetChildsCount() && !frame; ++c) {
      if (!preview->GetChild(c)->IsComment()) frame = preview->GetChild(c);
    }
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetAttribute(L"imageName", std::wstring()).GetValue(), L"gallery_thumb_frame");
  }
  LLF::XmlElement* award = HLF::XmlDocEx::FindNamedChild(*section, L"AwardScreen");
  ASSERT_NE(award, nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*award, L"WallPreview"), nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*award, L"Continue"), nullptr);
  ForEachElement(*award, [&](LLF::XmlElement& element) {
    const std::wstring name = element.GetAttribute(L"startEffectName", std::wstring()).GetValue();
    if (name.empty()) return;
    LLF::XmlElement* effect = HLF::XmlDocEx::FindNamedChild(*effectsRoot, name);
    ASSERT_NE(effect, nullptr) << LLF::WideToAnsi(name);
    EXPECT_NE(effect->GetAttribute(L"infiniteLoop", std::wstring()).GetValue(), L"true")
        << "the award screen takes its closing click only once its effects have ended";
  });

  HLF::XmlDocEx sounds;
  ASSERT_TRUE(sounds.LoadFromFile(L"scripts/sounds.xml"));
  LLF::XmlElement* assets = sounds.GetDocumentElement()->FindChild(L"assets");
  LLF::XmlElement* main = assets ? assets->FindChild(L"MAIN") : nullptr;
  ASSERT_NE(main, nullptr);
  for (const wchar_t* sound : {L"gallery_img_show", L"gallery_img_hide", L"gallery_img_open_big",
                               L"button_click", L"award_earned"}) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*main, sound), nullptr) << LLF::WideToAnsi(sound);
  }
  HLF::XmlDocEx strings;
  ASSERT_TRUE(strings.LoadFromFile(L"scripts/strings.xml"));
  LLF::XmlElement* vars = strings.GetDocumentElement()->FindChild(L"vars");
  ASSERT_NE(vars, nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*vars, L"gallery_page_num"), nullptr);

  // The thumbnails by id in their list, the wide and award pictures by file.
  HLF::XmlDocEx images;
  ASSERT_TRUE(images.LoadFromFile(L"scripts/images.xml"));
  LLF::XmlElement* imageAssets = images.GetDocumentElement()->FindChild(L"assets");
  LLF::XmlElement* thumbs = imageAssets ? imageAssets->FindChild(L"WALLPAPERS_THUMBS") : nullptr;
  ASSERT_NE(thumbs, nullptr);
  ASSERT_NE(imageAssets->FindChild(L"GALLERY"), nullptr);
  const auto sizeOf = [&](const std::string& file) {
    EXPECT_TRUE(ExistsInThatCase(folder, file)) << file;
    std::unique_ptr<LLF::Image> image(LLF::CodecJpg::GetInstance().LoadFromFile(LLF::FromOsPath(file)));
    return image ? std::make_pair(image->GetWidth(), image->GetHeight()) : std::make_pair(0u, 0u);
  };
  for (int n = 1; n <= 20; ++n) {
    SCOPED_TRACE(n);
    const std::string nn = (n < 10 ? "0" : "") + std::to_string(n);
    LLF::XmlElement* thumb = HLF::XmlDocEx::FindNamedChild(*thumbs, ZentaMainMenu::ThumbnailId(n));
    ASSERT_NE(thumb, nullptr) << "wall_" << nn << "_thumb";
    EXPECT_EQ(sizeOf(LLF::WideToAnsi(thumb->GetAttribute(L"src", std::wstring()).GetValue())),
              std::make_pair(320u, 200u));
    EXPECT_EQ(LLF::WideToAnsi(ZentaMainMenu::WideImageFile(n)),
              "images/wallpapers/wallpaper_" + nn + "_wide.jpg");
    EXPECT_EQ(sizeOf("images/wallpapers/wallpaper_" + nn + "_wide.jpg"), std::make_pair(960u, 600u));
    EXPECT_EQ(sizeOf("images/wallpapers/thumb_wlp_" + nn + "_wide.jpg"), std::make_pair(240u, 150u));
  }
}

namespace {

// The pictures are read without a game, so with codecs of the test's own.
class OwnCodecs {
 public:
  OwnCodecs() {
    LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
    png = images.RegisterCodec(&LLF::CodecPng::GetInstance());
    jpg = images.RegisterCodec(&LLF::CodecJpg::GetInstance());
  }
  ~OwnCodecs() {
    LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
    if (png) images.UnregisterCodec(&LLF::CodecPng::GetInstance());
    if (jpg) images.UnregisterCodec(&LLF::CodecJpg::GetInstance());
  }
  OwnCodecs(const OwnCodecs&) = delete;
  OwnCodecs& operator=(const OwnCodecs&) = delete;

 private:
  bool png = false;
  bool jpg = false;
};

// A board screen (Jigsaw, Puzzle) in its levui section: the named controls
// of its "level_ui", the three counters, the hint button hidden and a frame
// that checks its pixels. *frame is the frame's element.
void CheckBoardScreen(LLF::XmlElement& section, std::initializer_list<const wchar_t*> controls,
                      LLF::XmlElement** frame) {
  LLF::XmlElement* ui = HLF::XmlDocEx::FindNamedChild(section, L"level_ui");
  ASSERT_NE(ui, nullptr);
  for (const wchar_t* name : controls) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*ui, name), nullptr) << LLF::WideToAnsi(name);
  }
  LLF::XmlElement* counters = HLF::XmlDocEx::FindNamedChild(*ui, L"items_scroll");
  ASSERT_NE(counters, nullptr);
  for (const wchar_t* name : {L"correct_num", L"incorrect_num", L"total_num"}) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*counters, name), nullptr) << LLF::WideToAnsi(name);
  }
  LLF::XmlElement* hint = HLF::XmlDocEx::FindNamedChild(*ui, L"hint_button");
  ASSERT_NE(hint, nullptr);
  EXPECT_FALSE(hint->GetAttribute(L"visible", true).GetBool()) << "a hint would only cost the bonus";
  *frame = HLF::XmlDocEx::FindNamedChild(section, L"frame");
  ASSERT_NE(*frame, nullptr);
  EXPECT_TRUE((*frame)->GetAttribute(L"doAlphaPixelCheck", false).GetBool());
}

// The picture of the frame element, found by its id in the images list
// listName, which also holds the board's background.
void LoadFramePicture(const std::wstring& listName, const wchar_t* background, LLF::XmlElement& frameElement,
                      std::unique_ptr<LLF::Image>& frame) {
  HLF::XmlDocEx images;
  ASSERT_TRUE(images.LoadFromFile(L"scripts/images.xml"));
  LLF::XmlElement* list = images.GetDocumentElement()->GetChildByPath(L"assets/" + listName);
  ASSERT_NE(list, nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*list, background), nullptr);
  LLF::XmlElement* frameItem =
      HLF::XmlDocEx::FindNamedChild(*list, frameElement.GetAttribute(L"imageName", L"").GetValue());
  ASSERT_NE(frameItem, nullptr) << "the frame's image is not in " << LLF::WideToAnsi(listName);
  frame.reset(LLF::ImagesManager::GetInstance().LoadImage(frameItem->GetAttribute(L"src", L"").GetValue(),
                                                          L"", true, true));
  ASSERT_TRUE(frame);
}

// Each level of the type in the level list: its "level" element and its
// picture, which exists in that case below dataFolder. How many there are.
int ForEachBoardLevel(const std::string& dataFolder, const std::wstring& type,
                      const std::function<void(LLF::XmlElement& board, LLF::Image& picture)>& check) {
  LLF::XmlDoc levels;
  EXPECT_TRUE(levels.LoadFromFile(L"scripts/game/levels.xml"));
  LLF::XmlElement* root = levels.GetRoot()->FindChild(L"gamelevels");
  EXPECT_NE(root, nullptr);
  int count = 0;
  for (int d = 0; root && d < root->GetChildsCount(); ++d) {
    LLF::XmlElement* day = root->GetChild(d);
    for (int l = 0; !day->IsComment() && l < day->GetChildsCount(); ++l) {
      LLF::XmlElement* level = day->GetChild(l);
      if (level->IsComment() || level->GetAttribute(L"type", L"").GetValue() != type) continue;
      ++count;
      const std::wstring folderName = level->GetAttribute(L"folder", L"").GetValue();
      SCOPED_TRACE(LLF::WideToAnsi(folderName));
      [&] {
        LLF::XmlDoc file;
        ASSERT_TRUE(file.LoadFromFile(folderName + L"level.xml"));
        LLF::XmlElement* board = file.GetRoot()->FindChild(L"level");
        ASSERT_NE(board, nullptr);
        const std::wstring imageFile = board->GetAttribute(L"imageFile", L"").GetValue();
        ASSERT_TRUE(ExistsInThatCase(fs::path(dataFolder), LLF::ToOsPath(imageFile)))
            << LLF::WideToAnsi(imageFile);
        std::unique_ptr<LLF::Image> picture(
            LLF::ImagesManager::GetInstance().LoadImage(imageFile, L"", true, true));
        ASSERT_TRUE(picture);
        check(*board, *picture);
      }();
    }
  }
  return count;
}

// Every pixel of the frame (at framePos) over a board of width x height at
// the boards' origin (44, 44) is clear.
void ExpectBoardClearOfFrame(const LLF::Image& frame, const LLF::Vector2& framePos, int width, int height) {
  const int left = 44 - static_cast<int>(framePos.x);
  const int top = 44 - static_cast<int>(framePos.y);
  ASSERT_TRUE(left >= 0 && top >= 0 && left + width <= static_cast<int>(frame.GetWidth()) &&
              top + height <= static_cast<int>(frame.GetHeight()))
      << "the board reaches past the frame";
  int covered = 0;
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x) {
      LLF::Color c;
      frame.GetPixel(&c, x, y);
      covered += c.a != 0 ? 1 : 0;
    }
  }
  EXPECT_EQ(covered, 0) << "frame pixels over the board";
}

// A spot-the-difference screen (Mirror, Pair) in its levui section: a
// frame that checks its pixels over the board, standing at *strip, the
// counter label and the buttons, the timer block with its time label and a
// click-score label that lets clicks through.
void CheckSpotScreen(LLF::XmlElement& section, const wchar_t* counterLabel, int* strip) {
  LLF::XmlElement* frame = HLF::XmlDocEx::FindNamedChild(section, L"frame");
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->GetAttribute(L"doAlphaPixelCheck", false).GetBool()) << "the frame lies over the board";
  *strip = frame->GetAttribute(L"pos", LLF::Point()).GetIntPair().y;
  for (const wchar_t* name : {counterLabel, L"menu_button", L"map_button", L"hint_button"}) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(section, name), nullptr) << LLF::WideToAnsi(name);
  }
  LLF::XmlElement* timer = HLF::XmlDocEx::FindNamedChild(section, L"timer_block");
  ASSERT_NE(timer, nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*timer, L"time_label"), nullptr);
  LLF::XmlElement* score = HLF::XmlDocEx::FindNamedChild(section, L"clickscore_effect_label");
  ASSERT_NE(score, nullptr);
  EXPECT_TRUE(score->GetAttribute(L"actionsInvisible", false).GetBool());
}

// The effects exist, have modifiers and end: what waits for their end
// would wait for ever.
void ExpectEndingEffects(HLF::XmlDocEx& effects, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names) {
    LLF::XmlElement* effect = HLF::XmlDocEx::FindNamedChild(*effects.GetDocumentElement(), name);
    ASSERT_NE(effect, nullptr) << LLF::WideToAnsi(name);
    EXPECT_NE(effect->GetAttribute(L"infiniteLoop", std::wstring()).GetValue(), L"true")
        << LLF::WideToAnsi(name);
    EXPECT_GT(effect->GetChildsCount(), 0) << LLF::WideToAnsi(name);
  }
}

}  // namespace

// Every Jigsaw level: its picture is there, its grid has two pieces or more
// and fits the picture, and the board (at 44,44) lies in the clear window of
// the level screen's frame, whose hit test then lets the clicks through. The
// level screen holds what the mode takes from it, with the hint hidden.
TEST_F(DataLintTest, EveryJigsawBoardIsPlayableAndClearOfItsFrame) {
  HLF::XmlDocEx levui;
  ASSERT_TRUE(levui.LoadFromFile(L"scripts/game/levui.xml"));
  LLF::XmlElement* section = levui.GetDocumentElement()->FindChild(L"level_jigsaw");
  ASSERT_NE(section, nullptr);
  LLF::XmlElement* frameElement = nullptr;
  ASSERT_NO_FATAL_FAILURE(CheckBoardScreen(
      *section, {L"menu_button", L"map_button", L"hint_button", L"items_scroll"}, &frameElement));
  LLF::XmlElement* label = HLF::XmlDocEx::FindNamedChild(*section, L"clickscore_effect_label");
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->GetAttribute(L"actionsInvisible", false).GetBool());
  const LLF::Vector2 framePos = frameElement->GetAttribute(L"pos", LLF::Vector2(0, 0)).GetFloatPair();

  OwnCodecs codecs;
  std::unique_ptr<LLF::Image> frame;
  ASSERT_NO_FATAL_FAILURE(LoadFramePicture(L"LEVEL_JIGSAW", L"ljs_background", *frameElement, frame));
  int rim = 0;
  for (unsigned y = 0; y < frame->GetHeight(); ++y) {
    for (unsigned x = 0; x < frame->GetWidth(); ++x) {
      LLF::Color c;
      frame->GetPixel(&c, static_cast<int>(x), static_cast<int>(y));
      rim += c.a == 255 ? 1 : 0;
    }
  }
  EXPECT_GT(rim, 10000) << "the frame has an opaque rim";

  const int jigsaws = ForEachBoardLevel(folder, L"jigsaw", [&](LLF::XmlElement& board, LLF::Image& picture) {
    const int cols = board.GetAttribute(L"cols", 0).AsInt();
    const int rows = board.GetAttribute(L"rows", 0).AsInt();
    EXPECT_TRUE(cols >= 1 && rows >= 1 && cols * rows >= 2) << cols << " x " << rows;
    EXPECT_GE(static_cast<int>(picture.GetWidth()), cols);
    EXPECT_GE(static_cast<int>(picture.GetHeight()), rows);
    ExpectBoardClearOfFrame(*frame, framePos, static_cast<int>(picture.GetWidth()),
                            static_cast<int>(picture.GetHeight()));
  });
  EXPECT_GE(jigsaws, 2);
}

// Every Mirror level: its picture and each difference listed in its
// asset.xml, each difference complete, inside its half, clear of the frame
// strip at the bottom, apart from the others (on either half) and drawn at
// the size of its region; and what the Mirror mode asks of the shared data.
TEST_F(DataLintTest, TheMirrorLevelsAndTheirDataAreSound) {
  // The width and height of a PNG file from its header, or (0, 0).
  const auto pngSize = [](const std::string& file) {
    unsigned char header[24] = {};
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in) return std::pair<int, int>(0, 0);
    const size_t read = std::fread(header, 1, sizeof(header), in);
    std::fclose(in);
    if (read != sizeof(header) || std::memcmp(header + 12, "IHDR", 4) != 0) return std::pair<int, int>(0, 0);
    const auto at = [&](int i) {
      return header[i] << 24 | header[i + 1] << 16 | header[i + 2] << 8 | header[i + 3];
    };
    return std::pair<int, int>(at(16), at(20));
  };
  HLF::XmlDocEx levui;
  ASSERT_TRUE(levui.LoadFromFile(L"scripts/game/levui.xml"));
  LLF::XmlElement* section = levui.GetDocumentElement()->FindChild(L"level_mirror");
  ASSERT_NE(section, nullptr);
  int strip = 0;
  ASSERT_NO_FATAL_FAILURE(CheckSpotScreen(*section, L"diff_left_count_label", &strip));
  EXPECT_GE(strip, 500);

  HLF::XmlDocEx effects;
  ASSERT_TRUE(effects.LoadFromFile(L"scripts/effects.xml"));
  // The label's number changes when its hide effect ends.
  ASSERT_NO_FATAL_FAILURE(
      ExpectEndingEffects(effects, {L"LevelMirrorTimerBlockShow", L"LevelMirrorDiffLabelHide",
                                    L"LevelMirrorDiffLabelShow", L"LevelMirrorClickScoreShow"}));
  HLF::XmlDocEx particles;
  ASSERT_TRUE(particles.LoadFromFile(L"scripts/psystems.xml"));
  for (const wchar_t* name :
       {L"MirrorLevelHint", L"MirrorLevelFound", L"MirrorLevelWrongMove", L"MirrorLevelComplete"}) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*particles.GetDocumentElement(), name), nullptr)
        << LLF::WideToAnsi(name);
  }
  // "cursor_mirror" is looked up before a level's lists load.
  HLF::XmlDocEx images;
  ASSERT_TRUE(images.LoadFromFile(L"scripts/images.xml"));
  LLF::XmlElement* gui = images.GetDocumentElement()->GetChildByPath(L"assets/GUI");
  LLF::XmlElement* mirrorList = images.GetDocumentElement()->GetChildByPath(L"assets/LEVEL_MIRROR");
  ASSERT_NE(gui, nullptr);
  ASSERT_NE(mirrorList, nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*gui, L"cursor_mirror"), nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*mirrorList, L"lm_difference"), nullptr);

  LLF::XmlDoc levels;
  ASSERT_TRUE(levels.LoadFromFile(L"scripts/game/levels.xml"));
  int mirrorLevels = 0;
  ForEachElement(*levels.GetRoot(), [&](LLF::XmlElement& entry) {
    if (entry.GetAttribute(L"type", std::wstring()).GetValue() != L"mirror") return;
    ++mirrorLevels;
    const std::string levelFolder = LLF::WideToAnsi(entry.GetAttribute(L"folder", std::wstring()).GetValue());
    SCOPED_TRACE(levelFolder);
    HLF::XmlDocEx level;
    HLF::XmlDocEx assets;
    ASSERT_TRUE(level.LoadFromFile(LLF::FromOsPath(levelFolder + "level.xml")));
    ASSERT_TRUE(assets.LoadFromFile(LLF::FromOsPath(levelFolder + "asset.xml")));
    LLF::XmlElement* list = assets.GetDocumentElement()->GetChildByPath(L"assets/LEVOBJECTS");
    ASSERT_NE(list, nullptr);
    const auto listed = [&](const std::wstring& id) -> std::string {
      LLF::XmlElement* image = HLF::XmlDocEx::FindNamedChild(*list, id);
      return image ? LLF::WideToAnsi(image->GetAttribute(L"src", std::wstring()).GetValue()) : std::string();
    };
    LLF::XmlElement* root = level.GetDocumentElement();
    ASSERT_EQ(root->GetName(), L"level");
    LLF::XmlElement* background = root->FindChild(L"background");
    ASSERT_NE(background, nullptr);
    EXPECT_FALSE(listed(background->GetAttribute(L"imgName", std::wstring()).GetValue()).empty());
    std::vector<LLF::Rect> regions;  // in the coordinates of a half
    for (int i = 0; i < root->GetChildsCount(); ++i) {
      LLF::XmlElement* child = root->GetChild(i);
      if (child->IsComment() || child == background) continue;
      SCOPED_TRACE(i);
      ASSERT_NE(child->GetAttribute(std::wstring(L"imgName")), nullptr);
      ASSERT_NE(child->GetAttribute(std::wstring(L"pos")), nullptr);
      ASSERT_NE(child->GetAttribute(std::wstring(L"dims")), nullptr);
      const LLF::Vector2 pos = child->GetAttribute(std::wstring(L"pos"))->GetFloatPair();
      const LLF::Point dims = child->GetAttribute(std::wstring(L"dims"))->GetIntPair();
      const int x = static_cast<int>(pos.x);
      const int y = static_cast<int>(pos.y);
      const int left = x < 400 ? 0 : 400;
      EXPECT_TRUE(dims.x > 0 && dims.y > 0);
      EXPECT_TRUE(x >= left && x + dims.x < left + 400) << "inside its half";
      EXPECT_TRUE(y >= 0 && y + dims.y < strip) << "clear of the frame strip";
      const std::string src = listed(child->GetAttribute(std::wstring(L"imgName"))->GetValue());
      ASSERT_FALSE(src.empty()) << "listed in asset.xml";
      EXPECT_EQ(pngSize(src), (std::pair<int, int>(dims.x, dims.y)))
          << src << " is drawn at its region's size";
      const LLF::Rect region(x - left, y, dims.x, dims.y);
      for (const LLF::Rect& other : regions) {
        EXPECT_TRUE(region.x + region.width <= other.x || other.x + other.width <= region.x ||
                    region.y + region.height <= other.y || other.y + other.height <= region.y)
            << "apart from the others";
      }
      regions.push_back(region);
    }
    EXPECT_GE(regions.size(), 5u);
  });
  EXPECT_EQ(mirrorLevels, 2);
}

// Each Seek level of the level list: its classes and counts give exactly
// the list's ten names (priority names, then the counts, a class's
// shortfall passed to the next, the difficult class's to the unknown
// reserve), its names are distinct, and every object's dims lie within its
// picture (a click there reads the picture).
namespace {

std::vector<std::string> SeekLevelFaults(const std::string& folder) {
  std::vector<std::string> faults;
  LLF::XmlDoc levels;
  if (!levels.LoadFromFile(LLF::FromOsPath(folder + "scripts/game/levels.xml"))) return {"no level list"};
  LLF::XmlElement* days = levels.GetRoot()->FindChild(L"gamelevels");
  if (!days) return {"no gamelevels"};
  int seekLevels = 0;
  ForEachElement(*days, [&](LLF::XmlElement& level) {
    if (level.GetAttribute(L"type", std::wstring()).GetValue() != L"seek") return;
    ++seekLevels;
    const std::string levelFolder = LLF::ToOsPath(level.GetAttribute(L"folder", std::wstring()).GetValue());
    const auto fault = [&](const std::string& text) { faults.push_back(levelFolder + "level.xml: " + text); };
    LLF::XmlDoc doc;
    LLF::XmlDoc assets;
    LLF::XmlElement* root = doc.LoadFromFile(LLF::FromOsPath(folder + levelFolder + "level.xml"))
                                ? doc.GetRoot()->FindChild(L"level")
                                : nullptr;
    LLF::XmlElement* list = assets.LoadFromFile(LLF::FromOsPath(folder + levelFolder + "asset.xml"))
                                ? assets.GetRoot()->GetChildByPath(L"game/assets/LEVOBJECTS")
                                : nullptr;
    if (!root || !list) return fault("it or its asset.xml does not read");
    std::map<std::wstring, std::wstring> sources;
    for (int i = 0; i < list->GetChildsCount(); ++i) {
      LLF::XmlElement* image = list->GetChild(i);
      sources[image->GetAttribute(L"name", std::wstring()).GetValue()] =
          image->GetAttribute(L"src", std::wstring()).GetValue();
    }
    std::map<std::wstring, int> classes;
    std::set<std::wstring> names;
    for (int i = 0; i < root->GetChildsCount(); ++i) {
      LLF::XmlElement* object = root->GetChild(i);
      if (object->IsComment() || object->GetName() != L"object") continue;
      const std::wstring name = object->GetAttribute(L"name", std::wstring()).GetValue();
      if (!names.insert(LLF::StrToLower(name)).second)
        fault("the name \"" + LLF::WideToAnsi(name) + "\" repeats");
      ++classes[object->GetAttribute(L"flag", std::wstring()).GetValue()];
      const std::wstring id = object->GetAttribute(L"imgName", std::wstring()).GetValue();
      std::unique_ptr<LLF::Image> picture(sources.count(id)
                                              ? LLF::ImagesManager::GetInstance().LoadImage(
                                                    LLF::FromOsPath(folder) + sources[id], L"", true, true)
                                              : nullptr);
      const LLF::Point dims = object->GetAttribute(L"dims", LLF::Point()).GetIntPair();
      if (!picture) {
        fault("\"" + LLF::WideToAnsi(name) + "\": no picture for \"" + LLF::WideToAnsi(id) + "\"");
      } else if (dims.x <= 0 || dims.y <= 0 || dims.x > int(picture->GetWidth()) ||
                 dims.y > int(picture->GetHeight())) {
        fault("\"" + LLF::WideToAnsi(name) + "\": dims " + std::to_string(dims.x) + "," +
              std::to_string(dims.y) + " are not within its picture");
      }
    }
    int easy = root->GetAttribute(L"seekEasy", -1).GetInt();
    int normal = root->GetAttribute(L"seekNormal", -1).GetInt();
    int difficult = root->GetAttribute(L"seekDifficult", -1).GetInt();
    if (easy < 0 || normal < 0 || difficult < 0) return fault("a count is missing");
    const auto take = [&](int& count, const wchar_t* flag) {
      const int taken = std::min(count, classes[flag]);
      const int missing = count - taken;
      count = taken;
      return missing;
    };
    normal += take(easy, L"easy");
    difficult += take(normal, L"normal");
    int unknown = take(difficult, L"difficult");
    if (unknown > classes[L"unknown"]) {
      fault("not enough seekable objects");
      unknown = 0;
    }
    const int total = classes[L"priority"] + easy + normal + difficult + unknown;
    if (total != 10) fault("the list comes to " + std::to_string(total) + " names, not 10");
  });
  if (seekLevels == 0) faults.push_back("no Seek level");
  return faults;
}

}  // namespace

TEST_F(DataLintTest, EachSeekLevelListsTenNamesWithinItsPictures) {
  // The pictures are read for their sizes.
  struct PngCodec {
    const bool own = LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecPng::GetInstance());
    ~PngCodec() {
      if (own) LLF::ImagesManager::GetInstance().UnregisterCodec(&LLF::CodecPng::GetInstance());
    }
  } png;
  for (const std::string& line : SeekLevelFaults(folder)) ADD_FAILURE() << line;

  // The lint sees the faults it is for, in a copy of one level.
  const std::string copy = NewTempFolder("seeklint") + "/";
  fs::create_directories(copy + "scripts/game");
  fs::copy_file(folder + "scripts/game/levels.xml", copy + "scripts/game/levels.xml");
  fs::copy(folder + "levels", copy + "levels", fs::copy_options::recursive);
  fs::copy(folder + "images", copy + "images", fs::copy_options::recursive);
  const std::string file = copy + "levels/d2_seek/level.xml";
  std::string text;
  {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, read);
    std::fclose(in);
  }
  const struct {
    const char* from;
    const char* to;
    const char* named;
  } cases[] = {
      {"seekNormal=\"4\"", "seekNormal=\"5\"", "the list comes to 11 names, not 10"},
      {"dims=\"56,56\"", "dims=\"57,56\"", "\"Red Star\": dims 57,56 are not within its picture"},
      {"seekDifficult=\"2\"", "seekDifficult=\"6\"", "not enough seekable objects"},
      {"name=\"Blue Ball\"", "name=\"red star\"", "the name \"red star\" repeats"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    std::string changed = text;
    const size_t at = changed.find(c.from);
    ASSERT_NE(at, std::string::npos);
    changed.replace(at, std::strlen(c.from), c.to);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(changed.data(), 1, changed.size(), out);
    std::fclose(out);
    const std::vector<std::string> faults = SeekLevelFaults(copy);
    EXPECT_TRUE(std::any_of(faults.begin(), faults.end(), [&](const std::string& line) {
      return line.find(c.named) != std::string::npos;
    })) << testing::PrintToString(faults);
  }
}

// The Puzzle mode's data: each rotate effect is one FIXED turn from its
// quarter to the next that ends by itself (a piece counts as upright only
// at exactly 0 or 360 degrees, so the turns must land there); the hover
// effects, the sounds and the level screen are there, with the hint hidden;
// each Puzzle level's picture is square, splits into its grid and lies in
// the clear window of the frame.
TEST_F(DataLintTest, ThePuzzleTurnsLandOnQuartersAndEveryPuzzleBoardFitsItsFrame) {
  HLF::XmlDocEx effects;
  ASSERT_TRUE(effects.LoadFromFile(L"scripts/effects.xml"));
  LLF::XmlElement* effectsRoot = effects.GetDocumentElement();
  ASSERT_NE(effectsRoot, nullptr);
  for (int quarter = 0; quarter < 360; quarter += 90) {
    const std::wstring name = L"LevelPuzzleRotatePiece" + LLF::ToString(quarter);
    SCOPED_TRACE(LLF::WideToAnsi(name));
    LLF::XmlElement* effect = HLF::XmlDocEx::FindNamedChild(*effectsRoot, name);
    ASSERT_NE(effect, nullptr);
    EXPECT_FALSE(effect->GetAttribute(L"infiniteLoop", false).GetBool());
    int rotators = 0;
    for (int i = 0; i < effect->GetChildsCount(); ++i) {
      LLF::XmlElement* modifier = effect->GetChild(i);
      if (modifier->IsComment()) continue;
      ASSERT_EQ(modifier->GetName(), L"rotator");
      ++rotators;
      EXPECT_EQ(modifier->GetAttribute(L"type", L"").GetValue(), L"FIXED");
      EXPECT_EQ(modifier->GetAttribute(L"startAngle", -1.0f).GetFloat(), static_cast<float>(quarter));
      EXPECT_EQ(modifier->GetAttribute(L"endAngle", -1.0f).GetFloat(), static_cast<float>(quarter + 90));
      const float duration = modifier->GetAttribute(L"duration", 0.0f).GetFloat();
      EXPECT_TRUE(duration > 0.0f && duration <= 0.5f) << duration;
    }
    EXPECT_EQ(rotators, 1);
  }
  for (const wchar_t* name : {L"LevelPuzzlePieceMouseEnter", L"LevelPuzzlePieceMouseLeave"}) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*effectsRoot, name), nullptr) << LLF::WideToAnsi(name);
  }
  HLF::XmlDocEx sounds;
  ASSERT_TRUE(sounds.LoadFromFile(L"scripts/sounds.xml"));
  LLF::XmlElement* soundList = sounds.GetDocumentElement()->GetChildByPath(L"assets/MAIN");
  ASSERT_NE(soundList, nullptr);
  for (const wchar_t* name : {L"rotation_rotate", L"rotation_over", L"game_level_won"}) {
    EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*soundList, name), nullptr) << LLF::WideToAnsi(name);
  }

  HLF::XmlDocEx levui;
  ASSERT_TRUE(levui.LoadFromFile(L"scripts/game/levui.xml"));
  LLF::XmlElement* section = levui.GetDocumentElement()->FindChild(L"level_puzzle");
  ASSERT_NE(section, nullptr);
  LLF::XmlElement* frameElement = nullptr;
  ASSERT_NO_FATAL_FAILURE(
      CheckBoardScreen(*section, {L"menu_button", L"map_button", L"items_scroll"}, &frameElement));
  // The hover goes to the topmost rectangle under the mouse, whatever its
  // pixels: over the board that would be the frame, never a piece.
  EXPECT_TRUE(frameElement->GetAttribute(L"actionsInvisible", false).GetBool());
  const LLF::Vector2 framePos = frameElement->GetAttribute(L"pos", LLF::Vector2(0, 0)).GetFloatPair();

  OwnCodecs codecs;
  std::unique_ptr<LLF::Image> frame;
  ASSERT_NO_FATAL_FAILURE(LoadFramePicture(L"LEVEL_PUZZLE", L"lpz_background", *frameElement, frame));

  const int puzzles = ForEachBoardLevel(folder, L"puzzle", [&](LLF::XmlElement& board, LLF::Image& picture) {
    const int n = board.GetAttribute(L"colsRows", 0).AsInt();
    const int width = static_cast<int>(picture.GetWidth());
    EXPECT_GE(n, 2);
    EXPECT_EQ(width, static_cast<int>(picture.GetHeight())) << "not square";
    EXPECT_EQ(width % std::max(n, 1), 0) << "the pieces would not meet";
    ExpectBoardClearOfFrame(*frame, framePos, width, width);
  });
  EXPECT_GE(puzzles, 2);
}

}  // namespace QmTest

namespace QmTest {

// Every Pair level: its item list in the file "assetFile" names, each item
// complete, listed there, inside its pane and clear of the frame strip,
// every scene with an odd item to find; and what the Pair mode asks of the
// shared data.
TEST_F(DataLintTest, ThePairLevelsAndTheirDataAreSound) {
  HLF::XmlDocEx levui;
  ASSERT_TRUE(levui.LoadFromFile(L"scripts/game/levui.xml"));
  LLF::XmlElement* section = levui.GetDocumentElement()->FindChild(L"level_pair");
  ASSERT_NE(section, nullptr);
  int strip = 0;
  ASSERT_NO_FATAL_FAILURE(CheckSpotScreen(*section, L"scene_number", &strip));
  EXPECT_GE(strip, 526);

  HLF::XmlDocEx effects;
  ASSERT_TRUE(effects.LoadFromFile(L"scripts/effects.xml"));
  // Items let clicks through, the next scene waits and the label's number
  // changes until these end.
  ASSERT_NO_FATAL_FAILURE(ExpectEndingEffects(
      effects, {L"LevelPairTimerBlockShow", L"LevelPairCorrectItem", L"LevelPairIncorrectItem",
                L"LevelPairMoveSceneDown", L"LevelPairMoveSceneDown2", L"LevelPairSceneNumHide",
                L"LevelPairSceneNumShow"}));
  const auto moverOf = [&](const wchar_t* name) {
    LLF::XmlElement* mover =
        HLF::XmlDocEx::FindNamedChild(*effects.GetDocumentElement(), name)->FindChild(L"mover");
    return mover ? mover->GetAttribute(L"startPosition", std::wstring()).GetValue() + L" " +
                       mover->GetAttribute(L"endPosition", std::wstring()).GetValue()
                 : std::wstring();
  };
  EXPECT_EQ(moverOf(L"LevelPairMoveSceneDown"), L"0,0 0,600");
  EXPECT_EQ(moverOf(L"LevelPairMoveSceneDown2"), L"0,-600 0,0");
  HLF::XmlDocEx particles;
  ASSERT_TRUE(particles.LoadFromFile(L"scripts/psystems.xml"));
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*particles.GetDocumentElement(), L"PairLevelHint"), nullptr);
  HLF::XmlDocEx images;
  ASSERT_TRUE(images.LoadFromFile(L"scripts/images.xml"));
  LLF::XmlElement* pairList = images.GetDocumentElement()->GetChildByPath(L"assets/LEVEL_PAIR");
  ASSERT_NE(pairList, nullptr);
  EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*pairList, L"lp_background"), nullptr);
  HLF::XmlDocEx strings;
  ASSERT_TRUE(strings.LoadFromFile(L"scripts/strings.xml"));
  bool sceneVariable = false;
  ForEachElement(*strings.GetDocumentElement(), [&](LLF::XmlElement& var) {
    sceneVariable = sceneVariable || var.GetAttribute(L"name", std::wstring()).GetValue() == L"lp_scene_num";
  });
  EXPECT_TRUE(sceneVariable) << "lp_scene_num";

  LLF::XmlDoc levels;
  ASSERT_TRUE(levels.LoadFromFile(L"scripts/game/levels.xml"));
  std::map<std::string, int> scenesOf;
  ForEachElement(*levels.GetRoot(), [&](LLF::XmlElement& entry) {
    if (entry.GetAttribute(L"type", std::wstring()).GetValue() != L"pair") return;
    const std::string levelFolder = LLF::WideToAnsi(entry.GetAttribute(L"folder", std::wstring()).GetValue());
    SCOPED_TRACE(levelFolder);
    HLF::XmlDocEx level;
    ASSERT_TRUE(level.LoadFromFile(LLF::FromOsPath(levelFolder + "level.xml")));
    LLF::XmlElement* root = level.GetDocumentElement();
    ASSERT_EQ(root->GetName(), L"level");
    HLF::XmlDocEx items;
    ASSERT_TRUE(items.LoadFromFile(root->GetAttribute(L"assetFile", std::wstring()).GetValue()));
    LLF::XmlElement* list = items.GetDocumentElement()->GetChildByPath(L"assets/pairImages");
    ASSERT_NE(list, nullptr);
    int& scenes = scenesOf[levelFolder];
    for (int i = 0; i < root->GetChildsCount(); ++i) {
      LLF::XmlElement* scene = root->GetChild(i);
      if (scene->IsComment() || scene->GetName().find(L"scene_") == std::wstring::npos) continue;
      SCOPED_TRACE(LLF::WideToAnsi(scene->GetName()));
      ++scenes;
      std::multiset<std::wstring> panes[2];
      for (int j = 0; j < scene->GetChildsCount(); ++j) {
        LLF::XmlElement* object = scene->GetChild(j);
        if (object->IsComment() || object->GetName() != L"object") continue;
        SCOPED_TRACE(j);
        for (const wchar_t* attribute : {L"name", L"dims", L"pane", L"imgName", L"pos"}) {
          ASSERT_NE(object->GetAttribute(std::wstring(attribute)), nullptr) << LLF::WideToAnsi(attribute);
        }
        const bool left = object->GetAttribute(std::wstring(L"pane"))->GetValue() == L"left";
        panes[left ? 0 : 1].insert(object->GetAttribute(std::wstring(L"name"))->GetValue());
        const LLF::Vector2 pos = object->GetAttribute(std::wstring(L"pos"))->GetFloatPair();
        const LLF::Point dims = object->GetAttribute(std::wstring(L"dims"))->GetIntPair();
        const float paneLeft = left ? 10.0f : 410.0f;
        EXPECT_TRUE(dims.x > 0 && dims.y > 0);
        EXPECT_TRUE(pos.x >= paneLeft && pos.x + static_cast<float>(dims.x) <= paneLeft + 380.0f)
            << "inside its pane";
        EXPECT_TRUE(pos.y >= 10.0f && pos.y + static_cast<float>(dims.y) <= 526.0f)
            << "above the frame strip";
        const std::wstring image = object->GetAttribute(std::wstring(L"imgName"))->GetValue();
        EXPECT_NE(HLF::XmlDocEx::FindNamedChild(*list, image), nullptr)
            << LLF::WideToAnsi(image) << " in pairImages";
      }
      const auto unmatched = [&](int pane) {
        return std::any_of(panes[pane].begin(), panes[pane].end(),
                           [&](const std::wstring& name) { return panes[1 - pane].count(name) == 0; });
      };
      EXPECT_TRUE(unmatched(0) || unmatched(1)) << "a scene without an odd item cannot be won";
    }
  });
  EXPECT_EQ(scenesOf, (std::map<std::string, int>{{"levels/d2_pair/", 3}, {"levels/d3_pair/", 4}}));
}

// The hover goes to the topmost rectangle under the mouse, whatever its
// pixels: a frame over a whole board must take no mouse, or no piece under
// it is ever hovered.
TEST_F(DataLintTest, TheFramesOverTheBoardsTakeNoMouse) {
  HLF::XmlDocEx levui;
  ASSERT_TRUE(levui.LoadFromFile(L"scripts/game/levui.xml"));
  for (const wchar_t* name : {L"level_jigsaw", L"level_puzzle"}) {
    SCOPED_TRACE(LLF::WideToAnsi(name));
    LLF::XmlElement* section = levui.GetDocumentElement()->FindChild(name);
    ASSERT_NE(section, nullptr);
    LLF::XmlElement* frame = HLF::XmlDocEx::FindNamedChild(*section, L"frame");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetAttribute(L"size", LLF::Vector2(0, 0)).GetFloatPair(), LLF::Vector2(800, 600));
    EXPECT_TRUE(frame->GetAttribute(L"actionsInvisible", false).GetBool());
  }
}

// Every day of the level list opens and closes with a page of its own, as
// the map shows them: both pages under game/dayN of the story file, each
// picture they name listed in that day's assets, a title and at least one
// line of text. A day without its pages leaves the map warning and the
// player without the story between the days.
namespace {

std::vector<std::string> StoryPageFaults(const std::string& folder) {
  LLF::XmlDoc levels;
  LLF::XmlDoc story;
  if (!levels.LoadFromFile(LLF::FromOsPath(folder + "scripts/game/levels.xml"))) return {"no level list"};
  if (!story.LoadFromFile(LLF::FromOsPath(folder + "scripts/dialogs/story.xml"))) return {"no story file"};
  LLF::XmlElement* days = levels.GetRoot()->FindChild(L"gamelevels");
  LLF::XmlElement* game = story.GetRoot()->FindChild(L"game");
  if (!days || !game) return {"no gamelevels or no game element"};
  std::vector<std::string> faults;
  int day = 0;
  for (int d = 0; d < days->GetChildsCount(); ++d) {
    if (days->GetChild(d)->IsComment()) continue;
    const std::wstring dayName = L"day" + LLF::ToString(++day);
    const std::string where = LLF::WideToAnsi(dayName);
    LLF::XmlElement* assets = game->GetChildByPath(L"assets/" + dayName);
    LLF::XmlElement* pages = game->FindChild(dayName);
    for (const wchar_t* pageName : {L"prestory", L"poststory"}) {
      const std::string page = where + "/" + LLF::WideToAnsi(pageName);
      LLF::XmlElement* shown = pages ? HLF::XmlDocEx::FindNamedChild(*pages, pageName) : nullptr;
      if (!shown) {
        faults.push_back(page + ": no page");
        continue;
      }
      int texts = 0;
      bool title = false;
      ForEachElement(*shown, [&](LLF::XmlElement& element) {
        const std::wstring image = element.GetAttribute(L"imageName", std::wstring()).GetValue();
        if (!image.empty() && (!assets || !HLF::XmlDocEx::FindNamedChild(*assets, image))) {
          faults.push_back(page + ": the picture " + LLF::WideToAnsi(image) + " is not in assets/" + where);
        }
        if (element.GetName() == L"label" &&
            !element.GetAttribute(L"text", std::wstring()).GetValue().empty()) {
          ++texts;
          title = title || element.GetAttribute(L"name", std::wstring()).GetValue() == L"title";
        }
      });
      if (!title || texts < 2) faults.push_back(page + ": no title and line of text");
    }
  }
  return faults;
}

}  // namespace

TEST_F(DataLintTest, EveryDayHasItsOpeningAndClosingPages) {
  EXPECT_EQ(StoryPageFaults(folder), std::vector<std::string>{});

  const std::string text = ReadBytes(folder + "scripts/dialogs/story.xml");
  const std::string copy = NewTempFolder("storylint") + "/";
  fs::create_directories(copy + "scripts/game");
  fs::create_directories(copy + "scripts/dialogs");
  fs::copy_file(folder + "scripts/game/levels.xml", copy + "scripts/game/levels.xml");
  struct Fault {
    const char* named;
    std::vector<std::pair<std::string, std::string>> edits;  // every match of each replaced
  };
  const Fault cases[] = {
      {"day1/prestory: no page", {{"<staticimage name=\"prestory\"", "<staticimage name=\"opening\""}}},
      {"day2/prestory: no page",
       {{"\t<day2 >\r\n\t\t<staticimage", "\t<dayTwo >\r\n\t\t<staticimage"},
        {"</day2>\r\n\t<day3", "</dayTwo>\r\n\t<day3"}}},
      {"day2/poststory: the picture story_parchment is not in assets/day2",
       {{"<image name=\"story_parchment\"", "<image name=\"story_parch\""}}},
      {"day2/poststory: no title and line of text", {{"text=\"The Second Evening\"", "text=\"\""}}},
  };
  for (const Fault& c : cases) {
    SCOPED_TRACE(c.named);
    std::string changed = text;
    for (const auto& [from, to] : c.edits) {
      ASSERT_NE(changed.find(from), std::string::npos) << from;
      for (size_t at = changed.find(from); at != std::string::npos; at = changed.find(from, at + to.size())) {
        changed.replace(at, from.size(), to);
      }
    }
    WriteBytes(copy + "scripts/dialogs/story.xml", changed);
    const std::vector<std::string> faults = StoryPageFaults(copy);
    EXPECT_TRUE(std::any_of(faults.begin(), faults.end(), [&](const std::string& line) {
      return line.find(c.named) != std::string::npos;
    })) << testing::PrintToString(faults);
  }
}

}  // namespace QmTest
