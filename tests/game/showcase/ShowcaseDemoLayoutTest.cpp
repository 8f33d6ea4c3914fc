// The showcase's own layouts and lists, laid over the generated data as the
// showcase program lays them, read back through the control factory: the
// screen, its dialog and the widgets' dialog build with every picture,
// font and effect they name and without a line in the log, and so do the
// game's file and tutorial dialogs the screen opens.
#include <gtest/gtest.h>

#include <memory>

#include "FontAssets.h"
#include "FrameworkFactories.h"
#include "HeadlessShowcase.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "SoundFixture.h"
#include "TempFolders.h"
#include "TestShell.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "modifiers/Effect.h"
#include "particles/Emitter.h"
#include "shell/AssetsLoader.h"
#include "widgets/Button.h"
#include "widgets/Checkbox.h"
#include "widgets/Edit.h"
#include "widgets/HyperLabel.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "widgets/Progress.h"
#include "widgets/Scroll.h"
#include "widgets/Slider.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

class ShowcaseDemoLayoutTest : public SoundFixture {};

TEST_F(ShowcaseDemoLayoutTest, TheShowcaseAndItsDialogsBuildWithoutALogLine) {
  TempFolders folders;  // the program folder is the working directory
  ASSERT_TRUE(LayShowcaseData(folders.Program()));
  FrameworkFactories factories;
  TestShell shell;
  ASSERT_TRUE(shell.styles.LoadFromFile(L"scripts/styles.xml"));
  // The codecs the lists need, registered for the test's life.
  ImageAssets images;
  FontAssets fonts;
  UseSilentDriver();
  // The lists the showcase loads before it builds, as its loader does.
  HLF::AssetsLoader loader;
  ASSERT_TRUE(loader.SetListFromFile(L"scripts/fonts.xml", L"GUI"));
  ASSERT_TRUE(loader.AddListFromFile(L"scripts/images.xml", L"GUI"));
  ASSERT_TRUE(loader.AddListFromFile(L"scripts/sounds.xml", L"MAIN"));
  ASSERT_TRUE(loader.Start(0));
  loader.Wait();
  ASSERT_NE(LLF::ImagesManager::GetInstance().FindResource(L"button"), nullptr);
  EXPECT_NE(LLF::FontsManager::GetInstance().FindResource(L"ShowcaseMenu16"), nullptr) << "the pop-up menu's";

  LogRecorder log;
  std::unique_ptr<HLF::Control> showcase(HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(
      L"scripts/dialogs/showcase.xml", L"showcase", L"screen"));
  for (const std::wstring& line : log.Lines()) ADD_FAILURE() << LLF::WideToAnsi(line);
  ASSERT_TRUE(showcase);
  EXPECT_FALSE(showcase->IsRenderable());
  ASSERT_EQ(showcase->GetChildsCount(), 13);

  auto* backdrop = dynamic_cast<HLF::StaticImage*>(showcase->GetChildByName(L"backdrop"));
  ASSERT_NE(backdrop, nullptr);
  ASSERT_NE(backdrop->GetImage(), nullptr);
  EXPECT_EQ(backdrop->GetSize(), LLF::Point(800, 600));
  EXPECT_TRUE(backdrop->IsActionsInvisible()) << "from its style";

  auto* title = dynamic_cast<HLF::StaticImage*>(showcase->GetChildByName(L"title"));
  ASSERT_NE(title, nullptr);
  ASSERT_NE(title->GetImage(), nullptr);
  EXPECT_EQ(title->GetSize(), LLF::Point(640, 240));
  EXPECT_EQ(title->GetEffectsCount(), 1);
  EXPECT_EQ(title->GetAlpha(), 0) << "the start effect fades it in from nothing";

  auto* sparkles = dynamic_cast<HLF::Emitter*>(showcase->GetChildByName(L"title_sparkles"));
  ASSERT_NE(sparkles, nullptr);
  EXPECT_NE(sparkles->GetImage(), nullptr);
  EXPECT_NE(sparkles->GetEmitRegion(), nullptr);
  EXPECT_EQ(showcase->GetChild(2), sparkles) << "drawn over the title";

  // The controls, drawn over the sparkles.
  for (const wchar_t* name : {L"Dialog", L"Widgets", L"Quit"}) {
    SCOPED_TRACE(LLF::WideToAnsi(name));
    auto* button = dynamic_cast<HLF::Button*>(showcase->GetChildByName(name));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetImage(), LLF::ImagesManager::GetInstance().FindResource(L"button"));
    EXPECT_EQ(button->GetSize(), LLF::Point(180, 44)) << "one cell of the strip";
    EXPECT_EQ(button->GetText(), name);
    EXPECT_NE(button->GetFont(), nullptr);
  }
  auto* intro = dynamic_cast<HLF::Label*>(showcase->GetChildByName(L"intro"));
  ASSERT_NE(intro, nullptr);
  EXPECT_TRUE(intro->IsMultiline());
  EXPECT_GE(intro->GetLines().size(), 3u) << "a line break and wrapped words";
  auto* link = dynamic_cast<HLF::HyperLabel*>(showcase->GetChildByName(L"link"));
  ASSERT_NE(link, nullptr);
  EXPECT_FALSE(link->GetUrl().empty());

  std::unique_ptr<HLF::Control> built(
      HLF::ControlFactory::GetInstance().LoadObjectFromXml(L"scripts/dialogs/dlg_showcase.xml", L"dialog"));
  auto* dialog = dynamic_cast<HLF::Dialog*>(built.get());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetImage(), LLF::ImagesManager::GetInstance().FindResource(L"dlg_frame"));
  EXPECT_TRUE(dialog->IsFadeBackground());
  ASSERT_NE(dialog->GetOkButton(), nullptr);
  ASSERT_NE(dialog->GetCancelButton(), nullptr);
  EXPECT_EQ(dialog->GetOkButton()->GetImage(),
            LLF::ImagesManager::GetInstance().FindResource(L"button_small"));
  EXPECT_EQ(dialog->GetEffectsCount(), 1) << "its show effect";
  EXPECT_EQ(dialog->GetAlpha(), 0) << "faded in from nothing";

  // The widgets' dialog: every widget with its pictures.
  std::unique_ptr<HLF::Control> widgets(
      HLF::ControlFactory::GetInstance().LoadObjectFromXml(L"scripts/dialogs/dlg_widgets.xml", L"dialog"));
  auto* widgetsDialog = dynamic_cast<HLF::Dialog*>(widgets.get());
  ASSERT_NE(widgetsDialog, nullptr);
  ASSERT_NE(widgetsDialog->GetOkButton(), nullptr);
  LLF::ImagesManager& manager = LLF::ImagesManager::GetInstance();
  EXPECT_NE(dynamic_cast<HLF::Edit*>(widgetsDialog->GetChildByName(L"NameEdit")), nullptr);
  int boxes = 0;
  for (int i = 0; i < widgetsDialog->GetChildsCount(); ++i) {
    if (auto* box = dynamic_cast<HLF::Checkbox*>(widgetsDialog->GetChild(i))) {
      ++boxes;
      EXPECT_EQ(box->GetImage(), manager.FindResource(L"checkbox"));
      EXPECT_EQ(box->GetSize(), LLF::Point(24, 24));
    }
  }
  EXPECT_GE(boxes, 2);
  auto* slider = dynamic_cast<HLF::Slider*>(widgetsDialog->GetChildByName(L"TideSlider"));
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->GetImage(), manager.FindResource(L"slider_track"));
  EXPECT_EQ(slider->GetSize(), LLF::Point(260, 24)) << "one cell of the track";
  auto* gauge = dynamic_cast<HLF::Progress*>(widgetsDialog->GetChildByName(L"TideGauge"));
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->GetImage(), manager.FindResource(L"progress"));
  EXPECT_EQ(gauge->GetValue(), slider->GetValue());
  auto* depth = dynamic_cast<HLF::Scroll*>(widgetsDialog->GetChildByName(L"DepthScroll"));
  ASSERT_NE(depth, nullptr);
  EXPECT_EQ(depth->GetImage(), manager.FindResource(L"scroll_back"));
  EXPECT_EQ(depth->GetSize(), LLF::Point(20, 240));
  auto* list = dynamic_cast<HLF::Listbox*>(widgetsDialog->GetChildByName(L"MooringList"));
  ASSERT_NE(list, nullptr);
  EXPECT_NE(list->GetFont(), nullptr);
  ASSERT_NE(list->GetScroll(), nullptr);
  EXPECT_EQ(list->GetScroll()->GetImage(), manager.FindResource(L"scroll_back"));
  EXPECT_EQ(list->GetScroll()->GetSize(), LLF::Point(20, 240)) << "as tall as the list";
  widgets.reset();
  // The file dialogs and the tutorial, with the small buttons that open
  // them.
  for (const wchar_t* name : {L"PickImage", L"PickSound", L"Tutorial", L"Menu"}) {
    auto* button = dynamic_cast<HLF::Button*>(showcase->GetChildByName(name));
    ASSERT_NE(button, nullptr) << LLF::WideToAnsi(name);
    EXPECT_EQ(button->GetImage(), LLF::ImagesManager::GetInstance().FindResource(L"button_small"));
  }
  struct Layout {
    const wchar_t* file;
    const wchar_t* section;
    const char* kind;
  } layouts[] = {
      {L"scripts/dialogs/dlg_file.xml", L"filedlg", "FileDialog"},
      {L"scripts/dialogs/dlg_imagefile.xml", L"imagefiledlg", "ImageFileDialog"},
      {L"scripts/dialogs/dlg_audiofile.xml", L"audiofiledlg", "AudioFileDialog"},
      {L"scripts/dialogs/dlg_tutorial.xml", L"tutorialdlg", "TutorialDialog"},
  };
  for (const Layout& layout : layouts) {
    std::unique_ptr<HLF::Control> made(
        HLF::ControlFactory::GetInstance().LoadObjectFromXml(layout.file, layout.section));
    ASSERT_NE(made, nullptr) << LLF::WideToAnsi(layout.file);
    EXPECT_TRUE(made->IsKindOf(layout.kind)) << LLF::WideToAnsi(layout.file);
  }

  // What the program asks for by name.
  for (const wchar_t* name : {L"BackdropShow", L"TitleShow", L"DialogShow"}) {
    HLF::Effect effect;
    EXPECT_TRUE(effect.LoadFromFile(L"scripts/effects.xml", name)) << LLF::WideToAnsi(name);
    EXPECT_GT(effect.GetModifiersCount(), 0) << LLF::WideToAnsi(name);
  }
  std::unique_ptr<HLF::Control> burst(HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(
      L"scripts/psystems.xml", L"particlesystems", L"SparkleBurst"));
  EXPECT_NE(dynamic_cast<HLF::Emitter*>(burst.get()), nullptr);

  EXPECT_EQ(log.Count(L"Error"), 0);
  EXPECT_EQ(log.Count(L"Warning"), 0);
  EXPECT_EQ(log.Count(L"WARNING"), 0);
  built.reset();
  showcase.reset();
  loader.UnloadAssets();
}

}  // namespace
}  // namespace QmTest
