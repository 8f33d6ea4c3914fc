// The game's application object and its top-level script, run headless on a
// copy of the generated data folder: the showcase appears once the loader
// reports, a failed load or a missing layout is logged and survived, and
// shutdown releases the script before the shell.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "core/StringUtils.h"
#include "devtools/Console.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "model/Control.h"
#include "particles/Emitter.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

TEST(TheZentaVoyageTest, NamesTheGameItsVersionAndItsFolders) {
  TempFolders folders;
  HeadlessVoyage game(folders.Program());
  EXPECT_EQ(game.GetName(), L"The Quillmarsh - Zenta");
  EXPECT_EQ(game.GetVendor(), L"Brenvik");
  EXPECT_EQ(game.GetVersion(), L"1.454 date Thu Oct 15 18:56:26 2009");
  EXPECT_FALSE(game.GetDescription().empty());
  EXPECT_EQ(LLF::ToOsPath(game.GetUserDataFolder()), folders.User() + "/Brenvik/The Quillmarsh - Zenta/");
  EXPECT_TRUE(game.CanClose());
  EXPECT_EQ(game.GetScript().GetGameMode(), nullptr);
}

// The showcase's parts, found by their kind.
struct ShowcaseParts {
  HLF::StaticImage* title = nullptr;
  HLF::Emitter* emitter = nullptr;
};

ShowcaseParts FindParts(HLF::Control* showcase) {
  ShowcaseParts parts;
  for (int i = 0; showcase && i < showcase->GetChildsCount(); ++i) {
    HLF::Control* child = showcase->GetChild(i);
    if (child->GetName() == L"title") parts.title = dynamic_cast<HLF::StaticImage*>(child);
    if (auto* emitter = dynamic_cast<HLF::Emitter*>(child)) parts.emitter = emitter;
  }
  return parts;
}

TEST(TheZentaVoyageTest, TheShowcaseAppearsOnceTheGuiListsHaveLoaded) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start());
  TheZentaScript& script = game.GetScript();
  EXPECT_EQ(game.GetStateMachine(), &script);
  EXPECT_EQ(script.GetState(), TheZentaScript::CS_STATE_SHOWCASE);
  EXPECT_EQ(game.LogCount(L"TheZentaScript::DoState() - CS_STATE_SHOWCASE"), 1);
  // The loader's report reaches the script only through a frame.
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 0);

  ASSERT_TRUE(game.FramesUntil([&] { return script.GetShowcase() != nullptr; }));
  HLF::Control* showcase = script.GetShowcase();
  ASSERT_EQ(game.GetGameLayer()->GetChildsCount(), 1);
  EXPECT_EQ(game.GetGameLayer()->GetChild(0), showcase);
  EXPECT_EQ(showcase->GetName(), L"screen");
  EXPECT_NE(LLF::FontsManager::GetInstance().FindResource(L"Title28"), nullptr)
      << "the fonts' list loaded too";

  const ShowcaseParts parts = FindParts(showcase);
  ASSERT_NE(parts.title, nullptr);
  ASSERT_NE(parts.emitter, nullptr);
  EXPECT_EQ(parts.title->GetImage(), LLF::ImagesManager::GetInstance().FindResource(L"title"));
  EXPECT_NE(parts.title->GetImage(), nullptr);
  EXPECT_TRUE(parts.emitter->IsStarted());
  EXPECT_EQ(parts.title->GetAlpha(), 0) << "its start effect fades it in";

  for (int i = 0; i < 150; ++i) game.Frame(16);
  EXPECT_GT(parts.title->GetAlpha(), 0);
  EXPECT_FALSE(parts.emitter->GetParticleSystem().GetParticles().empty());
  for (const std::wstring& line : HLF::Console::GetInstance().GetLines()) {
    EXPECT_EQ(line.find(L"Error"), std::wstring::npos) << LLF::WideToAnsi(line);
    EXPECT_EQ(line.find(L"Warning: TheZentaScript"), std::wstring::npos) << LLF::WideToAnsi(line);
  }
}

TEST(TheZentaVoyageTest, AFailedLoadStillShowsTheShowcaseWithAWarning) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  fs::remove(folders.Program() + "/images/particle.png");
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start());
  TheZentaScript& script = game.GetScript();
  ASSERT_TRUE(game.FramesUntil([&] { return script.GetShowcase() != nullptr; }));
  EXPECT_EQ(game.LogCount(L"Warning: TheZentaScript - some of the showcase's assets did not load"), 1);
  const ShowcaseParts parts = FindParts(script.GetShowcase());
  ASSERT_NE(parts.title, nullptr);
  EXPECT_NE(parts.title->GetImage(), nullptr);
  ASSERT_NE(parts.emitter, nullptr);
  EXPECT_TRUE(parts.emitter->IsStarted());
}

TEST(TheZentaVoyageTest, AMissingLayoutIsLoggedAndTheGameRunsOn) {
  TempFolders folders;
  CopyGeneratedData(folders.Program());
  fs::remove(folders.Program() + "/scripts/dialogs/showcase.xml");
  HeadlessVoyage game(folders.Program());
  ASSERT_TRUE(game.Start());
  const std::wstring failure =
      L"Error: Can't create control from file scripts/dialogs/showcase.xml, section showcase, control name "
      L"screen";
  ASSERT_TRUE(game.FramesUntil([&] { return game.LogCount(failure) > 0; }));
  for (int i = 0; i < 10; ++i) game.Frame(16);
  EXPECT_EQ(game.LogCount(failure), 1) << "built once, not retried every frame";
  EXPECT_EQ(game.GetScript().GetShowcase(), nullptr);
  EXPECT_EQ(game.GetGameLayer()->GetChildsCount(), 0);
}

TEST(TheZentaVoyageTest, ShutdownReleasesTheScriptBeforeTheShell) {
  // Stopped while the lists still load, and once the showcase is shown.
  for (const bool waitForShowcase : {false, true}) {
    SCOPED_TRACE(waitForShowcase ? "showcase shown" : "still loading");
    TempFolders folders;
    CopyGeneratedData(folders.Program());
    HeadlessVoyage game(folders.Program());
    ASSERT_TRUE(game.Start());
    TheZentaScript& script = game.GetScript();
    if (waitForShowcase) {
      ASSERT_TRUE(game.FramesUntil([&] { return script.GetShowcase() != nullptr; }));
    }
    game.Stop();
    EXPECT_EQ(game.GetStateMachine(), nullptr);
    EXPECT_EQ(script.GetShowcase(), nullptr);
    EXPECT_FALSE(script.GetShowcaseLoader().IsRunning());
    EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResource(L"title"), nullptr);
    EXPECT_EQ(LLF::FontsManager::GetInstance().FindResource(L"Title28"), nullptr);
    EXPECT_TRUE(fs::exists(LLF::ToOsPath(game.GetConfigPath())));
    EXPECT_TRUE(fs::exists(LLF::ToOsPath(game.GetProfilesPath())));
  }
}

}  // namespace
}  // namespace QmTest
