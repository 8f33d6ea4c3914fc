// Lint of the generated data folder beside the programs: it walks whatever
// is there, so new files, registries and layouts are covered as they come.
// Every XML file parses; every "#name;" it uses is a variable it defines or
// includes; every attribute that names a file names one that exists, in
// that exact case (beside the data folder's root or the XML file itself);
// every list of every asset registry loads completely (code 1); and every
// control element, wherever it stands, builds through the control factory
// without an error line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "HeadlessVoyage.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "core/StringUtils.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "model/XmlDocEx.h"
#include "shell/AssetsLoader.h"
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
  // and its first loads are done.
  const HLF::AssetsLoader& showcaseLoader = game.GetScript().GetShowcaseLoader();
  ASSERT_TRUE(
      game.FramesUntil([&] { return !showcaseLoader.IsRunning() && showcaseLoader.GetQueuedCount() == 0; }));
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
  int built = 0;
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
      ++built;
    };
    if (LLF::XmlElement* document = doc.GetDocumentElement()) walk(*document);
  }
  EXPECT_GE(built, 2);

  for (auto& loader : loaders) loader->UnloadAssets();
}

}  // namespace
}  // namespace QmTest
