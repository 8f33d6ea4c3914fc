#pragma once
// The game's main menu scene on the framework's menu: a band of sky that
// scrolls for as long as the menu lives, the lower background over it, a
// stone column at each side, the logo and the scroll holding Play, Gallery,
// Options and Quit, with the player's welcome under it. It plays the menu
// music, asks a player once before the first game whether to play in easy
// mode, and fades out towards the map or out of the game.
//
// States: the base's 0 (white screen while the menu's assets load, then
// the scene comes in with its effects; the end of "MenuScrollShow" opens
// it), 1 (working) and 2 (quitting: screen and music fade, then code 0);
// 3 to 11 belong to the wallpaper gallery (fade out, load its pictures,
// build it, pages, the large view, fade back); 12 fades towards the map
// and 13 sends code 2.
//
// The loader's reports reach the menu on the main thread, through the
// shell's frame. A load that reports failures builds the menu all the
// same (with a warning): a menu with a missing picture beats a white
// screen for ever. The gallery's loader is treated the same way.
//
// The gallery shows the player's unlocked wallpapers four to a page on
// five pages; a thumbnail zooms into the large view, from which the
// wallpaper can be put on the desktop. Where its data falls short it
// never leaves the player stuck: a layout control that cannot be made
// sends the gallery back to the menu, and a wide picture that does not
// load keeps the large view closed.
#include <array>
#include <string>

#include "math/Vector2.h"
#include "shell/AssetsLoader.h"
#include "shell/MainMenu.h"

namespace LLF {
class Image;
}

namespace HLF {
class Button;
class Effect;
class Label;
class Fader;
class Mover;
class StaticImage;
}  // namespace HLF

class ZentaMainMenu : public HLF::MainMenu {
 public:
  enum ZentaState {
    ZENTAMM_STATE_MENUTOGALLERY = 3,
    ZENTAMM_STATE_GALLERY_LOADRESOURCES = 4,
    ZENTAMM_STATE_GALLERY_FADEOUT = 5,
    ZENTAMM_STATE_GALLERY = 6,
    ZENTAMM_STATE_GALLERY_SHOWNEXT = 7,
    ZENTAMM_STATE_GALLERY_SHOWPREV = 8,
    ZENTAMM_STATE_GALLERY_BIGPREVIEW = 9,
    ZENTAMM_STATE_GALLERY_FADEIN = 10,
    ZENTAMM_STATE_GALLERYTOMENU = 11,
    ZENTAMM_STATE_MENUTOMAP = 12,
    ZENTAMM_STATE_LOADMAP = 13,
  };
  // To the receivers: the player leaves for the map (or the level to
  // resume). Quitting is the state machine's code 0.
  static constexpr int MENU_MSG_PLAY = 2;

  explicit ZentaMainMenu(LLF::MessageReceiver* receiver);

  LLF_KIND_OF(ZentaMainMenu, HLF::MainMenu)
  // The menu's assets are released first.
  ~ZentaMainMenu() override;
  void DoState() override;
  // A music fade-out when a level will be resumed; then towards the map.
  bool Play() override;
  bool Quit() override;
  void SetControlsEnabled(bool enabled) override;
  bool OnMessage(LLF::Message* msg) override;

  virtual void ShowColumns(bool show);
  // The band starts again from x -1024; whatever moved it is finished
  // silently.
  virtual void RestartBackgroundScroll();
  // "menu_music" becomes the menu's music, plays, and rises from silence
  // over fadeInMs.
  virtual void PlayMenuMusic(int fadeInMs);
  virtual void LoadMenuResources();
  // The loader's end builds the menu; the end of "MenuScrollShow" opens
  // it. False for a message it does not take.
  virtual bool OnMenuAssetsLoaded(LLF::Message* msg);
  virtual bool OpenEasyModeDialog();
  // The gallery's messages; false for one it does not take.
  virtual bool OnGalleryMessage(LLF::Message* msg);
  // The page turns (only while the gallery is idle): the previews run
  // their hide effects, and the end of preview 4's shows the new page.
  virtual void ShowPreviousGalleryPage();
  virtual void ShowNextGalleryPage();
  // Previous while not on the first page; next only towards a page with
  // an unlocked wallpaper; a locked thumbnail's frame takes no clicks.
  virtual void UpdateGalleryPageButtons();
  // The thumbnail zooms to the screen's corner and the wide picture
  // appears under it; nothing while a page turns or a large view is on.
  virtual void ShowBigPreview(HLF::Control* preview);

  HLF::StaticImage* GetBackgroundTop() const { return backgroundTop; }
  HLF::StaticImage* GetBackgroundBottom() const { return backgroundBottom; }
  HLF::StaticImage* GetColumnLeft() const { return columnLeft; }
  HLF::StaticImage* GetColumnRight() const { return columnRight; }
  HLF::Control* GetScroll() const { return scroll; }
  HLF::Control* GetLogo() const { return logo; }
  HLF::Control* GetGalleryButton() const;
  HLF::Dialog* GetEasyModeDialog() const { return easyModeDialog; }
  HLF::AssetsLoader& GetMenuLoader() { return menuLoader; }
  HLF::AssetsLoader& GetGalleryLoader() { return galleryLoader; }
  HLF::StaticImage* GetGalleryBackground() const { return galleryBackground; }
  HLF::Control* GetRibbon() const { return ribbon; }
  HLF::Control* GetRibbonWide() const { return ribbonWide; }
  HLF::Button* GetNextButton() const { return nextButton; }
  HLF::Button* GetPrevButton() const { return prevButton; }
  HLF::Button* GetCloseButton() const { return closeButton; }
  HLF::Button* GetSetWallpaperButton() const { return setWallpaperButton; }
  HLF::Button* GetClose2Button() const { return close2Button; }
  // Preview 1 to 4; null outside.
  HLF::Control* GetPreview(int number) const;
  HLF::StaticImage* GetBigPreview() const { return bigPreview; }
  HLF::Label* GetPageLabel() const { return pageLabel; }
  int GetPage() const { return page; }
  const std::wstring& GetWallpaperPath() const { return wallpaperPath; }
  HLF::Dialog* GetResultDialog() const { return resultDialog; }
  HLF::Dialog* GetBlockedDialog() const { return blockedDialog; }

  static constexpr wchar_t kEasyModeFile[] = L"scripts/dialogs/dlg_easymode.xml";
  static constexpr wchar_t kGalleryFile[] = L"scripts/dialogs/gallery.xml";
  static constexpr wchar_t kGallerySection[] = L"gallery";
  static constexpr int kGalleryPages = 5;
  static constexpr int kPreviewsPerPage = 4;
  // The wallpaper's thumbnail id and its wide picture's file below the
  // program's folder, for wallpaper 1 to 20.
  static std::wstring ThumbnailId(int wallpaper);
  static std::wstring WideImageFile(int wallpaper);

 private:
  // The menu's scene from the loaded assets; false when the layout's
  // controls cannot be made (the menu then stays in its first state).
  bool Build();
  // An object of the menu layout, with the standard line when it is
  // missing.
  HLF::Control* CreateLayoutObject(const wchar_t* name, const wchar_t* kind);
  HLF::StaticImage* AddImage(const wchar_t* name, const wchar_t* image, float x, float y);
  // The effect from the effects file, started on the control.
  HLF::Effect* RunEffect(const wchar_t* name, HLF::Control* control, LLF::MessageReceiver* receiver = nullptr,
                         unsigned startDelay = 0);
  // A 1000 ms fade of the whole screen to black (type 1) or from it (0).
  void StartScreenFade(int type);
  void StartMusicFadeOut();
  void PlaySound(const wchar_t* id);
  // Play, or the easy-mode question first when the profile lacks the
  // answer.
  bool PlayOrAskEasyMode();
  bool From(const LLF::Message& msg, const LLF::Object* object) const;

  // The gallery's parts.
  void StartGalleryLoad();
  // False (with the standard line, and nothing left behind) when a control
  // of the layout cannot be made.
  bool BuildGallery();
  void LeaveGallery();
  void ShowGalleryPage(bool forward);
  void TurnGalleryPage(bool forward);
  void OpenBigPreview();
  void CloseBigPreview();
  void TakeDownBigPreview();
  void SetWallpaper();
  // Whether wallpaper (1 to 20) is unlocked in the mask read at the click.
  bool IsUnlocked(int wallpaper) const;
  bool IsPreviewLocked(int number) const;
  std::wstring PageLabelText() const;
  // The named control of the gallery layout, of the class T; null with the
  // standard line when it cannot be made.
  template <class T>
  T* CreateGalleryObject(const wchar_t* name, const wchar_t* kind);
  HLF::Dialog* OpenGalleryDialog(const wchar_t* file);
  // The effect "GalleryPreview" + number + motion, "Hidden" when locked.
  HLF::Effect* RunPreviewEffect(int number, const wchar_t* motion, bool locked, unsigned startDelay = 0);
  void ResetFrameTime();
  // The preview that holds the control as its first child (its frame).
  int PreviewOfFrame(const LLF::Object* sender) const;

  HLF::Mover* scrollMover = nullptr;
  HLF::StaticImage* backgroundTop = nullptr;
  HLF::StaticImage* backgroundBottom = nullptr;
  HLF::StaticImage* columnLeft = nullptr;
  HLF::StaticImage* columnRight = nullptr;
  HLF::Fader* screenFader = nullptr;
  HLF::Effect* menuScrollShowEffect = nullptr;
  HLF::AssetsLoader menuLoader;
  HLF::Dialog* easyModeDialog = nullptr;
  HLF::Button* galleryButton = nullptr;
  HLF::Control* scroll = nullptr;
  HLF::Control* logo = nullptr;

  HLF::AssetsLoader galleryLoader;
  HLF::StaticImage* galleryBackground = nullptr;
  HLF::Control* ribbon = nullptr;
  HLF::Control* ribbonWide = nullptr;
  HLF::Button* nextButton = nullptr;
  HLF::Button* prevButton = nullptr;
  HLF::Button* closeButton = nullptr;
  HLF::Button* setWallpaperButton = nullptr;
  HLF::Button* close2Button = nullptr;
  std::array<HLF::Control*, kPreviewsPerPage> previews{};
  HLF::Control* zoomedPreview = nullptr;
  HLF::StaticImage* bigPreview = nullptr;
  HLF::Label* pageLabel = nullptr;
  int page = 0;
  std::wstring wallpaperPath;
  HLF::Dialog* resultDialog = nullptr;
  HLF::Dialog* blockedDialog = nullptr;
  std::wstring wallpaperMask;
  LLF::Vector2 zoomedPreviewHome;
  HLF::Effect* pageFlipEffect = nullptr;
  bool pageFlipForward = true;
  std::array<LLF::Vector2, kPreviewsPerPage> previewHomes{};
  // The wide picture of the large view, released when it closes.
  LLF::Image* bigPreviewImage = nullptr;
};
