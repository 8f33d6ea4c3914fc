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
// 3 to 11 belong to the gallery (its button is built and does nothing
// yet); 12 fades towards the map and 13 sends code 2.
//
// The loader's reports reach the menu on the main thread, through the
// shell's frame. A load that reports failures builds the menu all the
// same (with a warning): a menu with a missing picture beats a white
// screen for ever.
#include "shell/AssetsLoader.h"
#include "shell/MainMenu.h"

namespace HLF {
class Button;
class Effect;
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
  // The gallery's messages; none yet.
  virtual bool OnGalleryMessage(LLF::Message* msg);

  HLF::StaticImage* GetBackgroundTop() const { return backgroundTop; }
  HLF::StaticImage* GetBackgroundBottom() const { return backgroundBottom; }
  HLF::StaticImage* GetColumnLeft() const { return columnLeft; }
  HLF::StaticImage* GetColumnRight() const { return columnRight; }
  HLF::Control* GetScroll() const { return scroll; }
  HLF::Control* GetLogo() const { return logo; }
  HLF::Control* GetGalleryButton() const;
  HLF::Dialog* GetEasyModeDialog() const { return easyModeDialog; }
  HLF::AssetsLoader& GetMenuLoader() { return menuLoader; }

  static constexpr wchar_t kEasyModeFile[] = L"scripts/dialogs/dlg_easymode.xml";

 private:
  // The menu's scene from the loaded assets; false when the layout's
  // controls cannot be made (the menu then stays in its first state).
  bool Build();
  // An object of the menu layout, with the standard line when it is
  // missing.
  HLF::Control* CreateLayoutObject(const wchar_t* name, const wchar_t* kind);
  HLF::StaticImage* AddImage(const wchar_t* name, const wchar_t* image, float x, float y);
  // The effect from the effects file, started on the control.
  HLF::Effect* RunEffect(const wchar_t* name, HLF::Control* control,
                         LLF::MessageReceiver* receiver = nullptr);
  // A 1000 ms fade of the whole screen to black (type 1) or from it (0).
  void StartScreenFade(int type);
  void StartMusicFadeOut();
  void PlaySound(const wchar_t* id);
  // Play, or the easy-mode question first when the profile lacks the
  // answer.
  bool PlayOrAskEasyMode();
  bool From(const LLF::Message& msg, const LLF::Object* object) const;

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
};
