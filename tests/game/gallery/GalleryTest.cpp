// The wallpaper gallery of the game's main menu, run headless in the whole
// game on a copy of the generated data folder: the unlock string decides
// between the blocked dialog and the gallery, which pages and thumbnails
// open; pages turn; a thumbnail opens its own wallpaper in the large view;
// the desktop wallpaper is set through a recording command runner; and
// faulty data (a missing thumbnail, wide picture or layout control) never
// leaves the player stuck.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "TestEnv.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "flow/ZentaMainMenu.h"
#include "image/ImagesManager.h"
#include "map/WallpaperMask.h"
#include "shell/Player.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/StaticImage.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;
using Menu = ZentaMainMenu;

void Click(HLF::Control* button) {
  ASSERT_NE(button, nullptr);
  static_cast<HLF::Button*>(button)->OnClick(LLF::Message());
}

HLF::Control* Frame(Menu& menu, int preview) {
  HLF::Control* control = menu.GetPreview(preview);
  return control ? control->GetChild(0) : nullptr;
}

std::wstring ImageOf(HLF::Control* control) {
  auto* image = dynamic_cast<HLF::ImageProperty*>(control);
  return image && image->GetImage() ? LLF::ImagesManager::GetInstance().FindResourceId(image->GetImage())
                                    : std::wstring();
}

// Cuts the element that starts with start out of the file, up to and
// including the first end after it; false when it is not there.
bool CutElement(const std::string& path, const std::string& start, const std::string& end) {
  std::stringstream read;
  read << std::ifstream(path, std::ios::binary).rdbuf();
  std::string text = read.str();
  const size_t from = text.find(start);
  const size_t to = from == std::string::npos ? from : text.find(end, from);
  if (to == std::string::npos) return false;
  text.erase(from, to + end.size() - from);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  return true;
}

struct GalleryRun {
  GalleryRun() : game(folders.Program()) {}
  // The menu with the player "Fox", whose unlock string is mask (none when
  // absent).
  bool Start(const std::optional<std::wstring>& mask,
             const std::function<void(const std::string&)>& prepare = nullptr) {
    CopyGeneratedData(folders.Program());
    if (prepare) prepare(folders.Program());
    if (!game.Start(true) || !game.SkipToMenu()) return false;
    game.SetCurrentProfile(L"Fox");
    if (mask) WriteWallpaperMask(*mask);
    return true;
  }
  Menu& M() { return *game.GetScript().GetMainMenu(); }
  bool Until(const std::function<bool()>& done) { return game.FramesUntil(done, 50); }
  // Until the gallery works and its pages have come in.
  bool Idle() {
    return Until([&] {
      if (M().GetState() != Menu::ZENTAMM_STATE_GALLERY || !M().GetRibbon() ||
          !M().GetRibbon()->IsEnabled()) {
        return false;
      }
      for (int i = 1; i <= 4; ++i) {
        if (M().GetPreview(i)->GetEffectsCount() || M().GetPreview(i)->GetModifiersCount()) return false;
      }
      return true;
    });
  }
  bool Open() {
    Click(M().GetGalleryButton());
    return Idle();
  }
  bool LargeViewOpen() {
    return Until([&] {
      return M().GetState() == Menu::ZENTAMM_STATE_GALLERY_BIGPREVIEW && M().GetRibbonWide() &&
             M().GetRibbonWide()->IsEnabled();
    });
  }
  std::wstring StoredMask() {
    HLF::Player player;
    std::wstring value = L"(none)";
    player.GetVar(L"stats", L"wallpapers", value);
    return value;
  }

  TempFolders folders;
  HeadlessVoyage game;
};

// One table over unlock strings: nothing unlocked (however it is stored)
// gives the blocked dialog over a disabled menu; otherwise the first page
// shows locked thumbnails dim and unclickable, and the page buttons lead
// only where there is something to see.
TEST(GalleryTest, TheUnlockStringDecidesWhatOpens) {
  struct Case {
    const char* name;
    std::optional<std::wstring> mask;
    bool blocked;
    bool next;                 // on the first page
    std::vector<bool> locked;  // previews 1 to 4 of the first page
  };
  const std::wstring zeros(20, L'0');
  const std::vector<Case> cases = {
      {"all zeros", zeros, true, false, {}},
      {"absent", std::nullopt, true, false, {}},
      {"short, all zeros", L"0000", true, false, {}},
      {"long, the twenty-first only", zeros + L"1", true, false, {}},
      {"wallpaper 1", L"1" + std::wstring(19, L'0'), false, false, {false, true, true, true}},
      {"wallpaper 1, stored short", L"1", false, false, {false, true, true, true}},
      {"wallpapers 1 and 9", L"10000000100000000000", false, false, {false, true, true, true}},
      {"wallpapers 2 and 6", L"01000100000000000000", false, true, {true, false, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GalleryRun run;
    ASSERT_TRUE(run.Start(c.mask));
    Menu& menu = run.M();
    Click(menu.GetGalleryButton());
    if (c.blocked) {
      HLF::Dialog* dialog = menu.GetBlockedDialog();
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->GetParent(), &menu);
      EXPECT_EQ(run.StoredMask(), c.mask ? *c.mask : zeros) << "an absent string is written as twenty zeros";
      for (HLF::Control* control : {menu.GetPlayButton(), menu.GetGalleryButton(), menu.GetOptionsButton(),
                                    menu.GetQuitButton(), menu.GetWelcomeLabel()}) {
        EXPECT_FALSE(control->IsEnabled());
      }
      run.game.Frame(50);
      EXPECT_EQ(menu.GetState(), HLF::MainMenu::MM_STATE_MENU);
      dialog->OnOk();
      EXPECT_EQ(menu.GetBlockedDialog(), nullptr);
      EXPECT_TRUE(menu.GetGalleryButton()->IsEnabled());
      EXPECT_TRUE(menu.GetPlayButton()->IsEnabled());
      continue;
    }
    EXPECT_EQ(menu.GetBlockedDialog(), nullptr);
    ASSERT_TRUE(run.Idle());
    EXPECT_EQ(menu.GetPage(), 0);
    EXPECT_FALSE(menu.GetBackgroundBottom()->IsVisible());
    EXPECT_FALSE(menu.GetPrevButton()->IsEnabled());
    EXPECT_EQ(menu.GetNextButton()->IsEnabled(), c.next);
    EXPECT_EQ(menu.GetPageLabel()->GetText(), L"Page 1");
    for (int i = 1; i <= 4; ++i) {
      SCOPED_TRACE(i);
      const bool locked = c.locked[size_t(i - 1)];
      EXPECT_EQ(ImageOf(menu.GetPreview(i)), L"wall_0" + LLF::ToString(i) + L"_thumb");
      EXPECT_EQ(menu.GetPreview(i)->GetAlpha(), locked ? 60 : 255) << "locked ones end dim";
      EXPECT_EQ(menu.GetPreview(i)->GetPosition().y, i <= 2 ? 100 : 320) << "back at home";
      EXPECT_EQ(Frame(menu, i)->IsEnabled(), !locked);
    }
  }
}

// The five demo awards, one a page: Next turns page by page to the last,
// where it goes off; Previous comes back with the new page dropping in.
// Thumbnail ids and page labels follow the page.
TEST(GalleryTest, PagesTurnToTheLastAndBack) {
  GalleryRun run;
  ASSERT_TRUE(run.Start(L"10001000100010001000"));
  Menu& menu = run.M();
  ASSERT_TRUE(run.Open());
  for (int page = 1; page <= 4; ++page) {
    SCOPED_TRACE(page);
    ASSERT_TRUE(menu.GetNextButton()->IsEnabled());
    Click(menu.GetNextButton());
    EXPECT_FALSE(menu.GetRibbon()->IsEnabled()) << "no second turn while one runs";
    ASSERT_TRUE(run.Idle());
    EXPECT_EQ(menu.GetPage(), page);
    EXPECT_EQ(menu.GetPageLabel()->GetText(), L"Page " + LLF::ToString(page + 1));
    const int first = page * 4 + 1;
    EXPECT_EQ(ImageOf(menu.GetPreview(1)), Menu::ThumbnailId(first));
    EXPECT_EQ(ImageOf(menu.GetPreview(4)), Menu::ThumbnailId(first + 3));
    EXPECT_EQ(menu.GetPreview(1)->GetAlpha(), 255);
    EXPECT_EQ(menu.GetPreview(2)->GetAlpha(), 60);
    EXPECT_TRUE(menu.GetPrevButton()->IsEnabled());
  }
  EXPECT_EQ(ImageOf(menu.GetPreview(4)), L"wall_20_thumb");
  EXPECT_FALSE(menu.GetNextButton()->IsEnabled()) << "the last page";
  menu.ShowNextGalleryPage();
  EXPECT_EQ(menu.GetPage(), 4) << "never past the last page";

  Click(menu.GetPrevButton());
  ASSERT_TRUE(run.Until([&] { return menu.GetState() == Menu::ZENTAMM_STATE_GALLERY_SHOWPREV; }));
  run.game.Frame(16);
  EXPECT_LT(menu.GetPreview(1)->GetPosition().y, 100) << "dropping in from above";
  ASSERT_TRUE(run.Idle());
  EXPECT_EQ(menu.GetPage(), 3);
  EXPECT_EQ(ImageOf(menu.GetPreview(2)), L"wall_14_thumb");
  EXPECT_EQ(menu.GetPreview(1)->GetPosition().y, 100);
  EXPECT_EQ(run.game.LogCount(L"ZentaMainMenu::DoState() - ZENTAMM_STATE_GALLERY_SHOWNEXT/PREV"), 5);
}

// Preview 3 of the second page is wallpaper 07: the large view shows its
// wide picture 600 pixels high where the thumbnail landed; Close brings
// the page back and frees the picture; leaving the gallery frees its
// images, and coming back starts on the first page with them loaded again.
TEST(GalleryTest, TheLargeViewShowsTheThumbnailsWallpaper) {
  GalleryRun run;
  ASSERT_TRUE(run.Start(std::wstring(20, L'1')));
  Menu& menu = run.M();
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  ASSERT_TRUE(run.Open());
  Click(menu.GetNextButton());
  ASSERT_TRUE(run.Idle());
  HLF::Control* frame = Frame(menu, 3);
  frame->OnMouseEnter();
  EXPECT_EQ(ImageOf(frame), L"gallery_thumb_frame_over");
  frame->OnMouseUp(LLF::Message());
  const std::string wide = run.folders.Program() + "/images/wallpapers/wallpaper_07_wide.jpg";
  EXPECT_EQ(LLF::ToOsPath(menu.GetWallpaperPath()), fs::canonical(wide).string());
  ASSERT_NE(menu.GetBigPreview(), nullptr);
  EXPECT_FALSE(menu.GetRibbon()->IsEnabled());
  // A second thumbnail while the first zooms changes nothing.
  Frame(menu, 1)->OnMouseUp(LLF::Message());
  EXPECT_EQ(LLF::ToOsPath(menu.GetWallpaperPath()), fs::canonical(wide).string());

  ASSERT_TRUE(run.LargeViewOpen());
  HLF::StaticImage* big = menu.GetBigPreview();
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->GetParent(), &menu);
  EXPECT_FALSE(menu.GetGalleryBackground()->IsVisible());
  EXPECT_EQ(big->GetImage()->GetHeight(), 600u);
  EXPECT_FLOAT_EQ(big->GetScale().x, 1.0f);
  EXPECT_EQ(big->GetAlpha(), 255);
  HLF::Control* zoomed = menu.GetPreview(3);
  EXPECT_FLOAT_EQ(zoomed->GetScale().y, 3.0f) << "the 200-pixel thumbnail grew to 600";
  EXPECT_EQ(zoomed->GetPosition().x, 0);
  EXPECT_NE(images.FindResource(LLF::FromOsPath(wide)), nullptr);

  Click(menu.GetClose2Button());
  ASSERT_TRUE(run.Idle());
  EXPECT_EQ(menu.GetBigPreview(), nullptr);
  EXPECT_EQ(menu.GetRibbonWide(), nullptr);
  EXPECT_TRUE(menu.GetGalleryBackground()->IsVisible());
  EXPECT_EQ(zoomed->GetPosition().y, 320);
  EXPECT_FLOAT_EQ(zoomed->GetScale().x, 1.0f);
  EXPECT_EQ(images.FindResource(LLF::FromOsPath(wide)), nullptr) << "the wide picture is freed";
  EXPECT_EQ(menu.GetPage(), 1);

  Click(menu.GetCloseButton());
  ASSERT_TRUE(run.Until([&] { return menu.GetState() == HLF::MainMenu::MM_STATE_MENU; }));
  EXPECT_EQ(menu.GetGalleryBackground(), nullptr);
  EXPECT_TRUE(menu.GetBackgroundBottom()->IsVisible());
  EXPECT_TRUE(menu.GetGalleryButton()->IsEnabled());
  EXPECT_EQ(images.FindResource(L"wall_01_thumb"), nullptr);
  EXPECT_EQ(images.FindResource(L"gallery_background"), nullptr);

  ASSERT_TRUE(run.Open());
  EXPECT_EQ(menu.GetPage(), 0);
  EXPECT_EQ(menu.GetPageLabel()->GetText(), L"Page 1");
  EXPECT_NE(images.FindResource(L"wall_01_thumb"), nullptr);
  EXPECT_EQ(ImageOf(menu.GetPreview(1)), L"wall_01_thumb");
}

// While a page turns a thumbnail click only resets its frame.
TEST(GalleryTest, AClickDuringAPageTurnOnlyResetsTheFrame) {
  GalleryRun run;
  ASSERT_TRUE(run.Start(std::wstring(20, L'1')));
  Menu& menu = run.M();
  ASSERT_TRUE(run.Open());
  Click(menu.GetNextButton());
  run.game.Frame(50);
  HLF::Control* frame = Frame(menu, 2);
  frame->OnMouseEnter();
  EXPECT_EQ(ImageOf(frame), L"gallery_thumb_frame_over");
  frame->OnMouseUp(LLF::Message());
  EXPECT_EQ(ImageOf(frame), L"gallery_thumb_frame");
  EXPECT_EQ(menu.GetBigPreview(), nullptr);
  ASSERT_TRUE(run.Idle());
  EXPECT_EQ(menu.GetBigPreview(), nullptr);
  EXPECT_EQ(menu.GetPage(), 1);
}

// Setting the wallpaper through a recording runner: on GNOME the desktop
// gets the wide picture's file URI and "scaled", then the "set" dialog;
// a desktop command that fails gives the "failed" dialog. Both buttons of
// the large view stay off until the dialog is closed.
TEST(GalleryTest, SettingTheWallpaperShowsItsResult) {
  for (const bool works : {true, false}) {
    SCOPED_TRACE(works ? "the desktop takes it" : "the desktop refuses");
    std::vector<std::vector<std::string>> calls;
    LLF::OS_SetCommandRunner([&](const std::vector<std::string>& args, bool, std::string*) {
      calls.push_back(args);
      return works ? 0 : 1;
    });
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "GNOME");
    GalleryRun run;
    ASSERT_TRUE(run.Start(L"00001000000000000000"));
    Menu& menu = run.M();
    ASSERT_TRUE(run.Open());
    Click(menu.GetNextButton());
    ASSERT_TRUE(run.Idle());
    Frame(menu, 1)->OnMouseUp(LLF::Message());
    ASSERT_TRUE(run.LargeViewOpen());
    Click(menu.GetSetWallpaperButton());
    const std::string wide =
        fs::canonical(run.folders.Program() + "/images/wallpapers/wallpaper_05_wide.jpg").string();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0], (std::vector<std::string>{"gsettings", "set", "org.gnome.desktop.background",
                                                  "picture-uri", "'file://" + wide + "'"}));
    if (works) {
      EXPECT_EQ(calls.back(), (std::vector<std::string>{"gsettings", "set", "org.gnome.desktop.background",
                                                        "picture-options", "'scaled'"}));
    }
    HLF::Dialog* dialog = menu.GetResultDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetName(), works ? L"WallpaperSetDlg" : L"WallpaperFailedDlg");
    EXPECT_FALSE(menu.GetSetWallpaperButton()->IsEnabled());
    EXPECT_FALSE(menu.GetClose2Button()->IsEnabled());
    run.game.Frame(50);
    EXPECT_EQ(menu.GetState(), Menu::ZENTAMM_STATE_GALLERY_BIGPREVIEW) << "the large view stays";
    dialog->OnOk();
    EXPECT_EQ(menu.GetResultDialog(), nullptr);
    EXPECT_TRUE(menu.GetSetWallpaperButton()->IsEnabled());
    EXPECT_TRUE(menu.GetClose2Button()->IsEnabled());
    LLF::OS_SetCommandRunner(nullptr);
  }
}

// Faulty data never leaves the player stuck: a thumbnail missing (the
// loader reports failures) still opens the gallery; a wide picture
// missing logs one line and keeps the large view closed (another
// thumbnail still opens); a layout control missing logs the standard line
// and the gallery fades back to a working menu.
TEST(GalleryTest, FaultyDataNeverLeavesThePlayerStuck) {
  {
    SCOPED_TRACE("a thumbnail and a wide picture missing");
    GalleryRun run;
    ASSERT_TRUE(run.Start(L"11000000000000000000", [](const std::string& folder) {
      fs::remove(folder + "/images/wallpapers/wall_03_thumb.jpg");
      fs::remove(folder + "/images/wallpapers/wallpaper_01_wide.jpg");
    }));
    Menu& menu = run.M();
    ASSERT_TRUE(run.Open());
    EXPECT_EQ(run.game.LogCount(L"Warning: ZentaMainMenu - some of the gallery's pictures did not load"), 1);
    Frame(menu, 1)->OnMouseUp(LLF::Message());
    EXPECT_EQ(run.game.LogCount(L"Error: ZentaMainMenu - can't load the wallpaper"), 1);
    EXPECT_EQ(menu.GetBigPreview(), nullptr);
    run.game.Frame(50);
    EXPECT_EQ(menu.GetState(), Menu::ZENTAMM_STATE_GALLERY);
    EXPECT_TRUE(menu.GetRibbon()->IsEnabled());
    Frame(menu, 2)->OnMouseUp(LLF::Message());
    EXPECT_TRUE(run.LargeViewOpen());
  }
  for (const char* control : {"NextButton", "preview2", "Close2Button"}) {
    SCOPED_TRACE(control);
    GalleryRun run;
    const bool preview = std::string(control) == "preview2";
    ASSERT_TRUE(run.Start(L"1", [&](const std::string& folder) {
      ASSERT_TRUE(CutElement(folder + "/scripts/dialogs/gallery.xml",
                             std::string(preview ? "<staticimage" : "<button") + " name=\"" + control + "\"",
                             preview ? "</staticimage>" : "/>"));
    }));
    Menu& menu = run.M();
    Click(menu.GetGalleryButton());
    if (std::string(control) == "Close2Button") {
      ASSERT_TRUE(run.Idle());
      Frame(menu, 1)->OnMouseUp(LLF::Message());
    }
    ASSERT_TRUE(run.Until([&] {
      return run.game.LogCount(L"ZENTAMM_STATE_GALLERYTOMENU") == 1 &&
             menu.GetState() == HLF::MainMenu::MM_STATE_MENU && menu.GetGalleryButton()->IsEnabled();
    }));
    const std::string kind =
        std::string(control).find("Button") != std::string::npos ? "Button" : "StaticImage";
    EXPECT_EQ(run.game.LogCount(LLF::FromOsPath("Error: Can't create " + kind +
                                                " from file scripts/dialogs/gallery.xml, section gallery, "
                                                "control name " +
                                                control)),
              1);
    EXPECT_EQ(menu.GetGalleryBackground(), nullptr);
    EXPECT_EQ(menu.GetBigPreview(), nullptr);
    EXPECT_TRUE(menu.GetBackgroundBottom()->IsVisible());
    EXPECT_TRUE(menu.GetPlayButton()->IsEnabled());
  }
}

}  // namespace
}  // namespace QmTest
