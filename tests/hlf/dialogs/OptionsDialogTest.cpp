// The options dialog on the test shell, driven by mouse and keys through the
// shell's own routing: each reaction written into the configuration (and
// saved with it), the volumes handed to the sound driver, and the test
// sound, which must not go on looping when the dialog closes mid-drag.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SoundFixture.h"
#include "SoundTestDoubles.h"
#include "TempFolders.h"
#include "TestGame.h"
#include "app/InputCodes.h"
#include "core/StringUtils.h"
#include "dialogs/OptionsDialog.h"
#include "model/ControlFactory.h"
#include "model/GameServices.h"
#include "sound/Music.h"
#include "sound/Sound.h"
#include "widgets/Checkbox.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace {

using HLF::OptionsDialog;

// The fake driver, also noting whether a sound was looping when played and
// which sounds were stopped.
class RecordingDriver : public SoundTestDoubles::FakeDriver {
 public:
  RecordingDriver() : FakeDriver(false, true) {}
  bool PlaySound(LLF::Sound* sound) override {
    loopedWhenPlayed.push_back(sound && sound->IsLooped());
    return FakeDriver::PlaySound(sound);
  }
  bool StopSound(LLF::Sound* sound) override {
    stopped.push_back(sound);
    return true;
  }
  std::vector<bool> loopedWhenPlayed;
  std::vector<const LLF::Sound*> stopped;
};

// Sliders 225 wide with a 25 wide thumb: 2 px per step of 0 to 100. The
// music slider's track starts at (100, 50), the sound slider's at
// (100, 150); the check boxes stand in a row at y 250.
std::wstring Layout(bool cancelButton) {
  return std::wstring(
             L"<optionsdlg pos=\"0,0\" size=\"600,400\" testSound=\"beep\">"
             L"<label name=\"TitleLabel\" /><label name=\"MusicLabel\" /><label name=\"SoundLabel\" />"
             L"<slider name=\"MusicSlider\" pos=\"100,50\" size=\"225,50\" minValue=\"0\" "
             L"maxValue=\"100\" />"
             L"<slider name=\"SoundSlider\" pos=\"100,150\" size=\"225,50\" minValue=\"0\" "
             L"maxValue=\"100\" />"
             L"<checkbox name=\"WinModeCheckbox\" pos=\"20,250\" size=\"30,30\" />"
             L"<checkbox name=\"WideScreenCheckbox\" pos=\"120,250\" size=\"30,30\" />"
             L"<checkbox name=\"HelpCheckbox\" pos=\"220,250\" size=\"30,30\" />"
             L"<checkbox name=\"CursorCheckbox\" pos=\"320,250\" size=\"30,30\" />"
             L"<button name=\"OkButton\" pos=\"400,350\" size=\"60,30\" />") +
         (cancelButton ? L"<button name=\"CancelButton\" pos=\"500,350\" size=\"60,30\" />" : L"") +
         L"</optionsdlg>";
}

class OptionsDialogTest : public QmTest::SoundFixture {
 protected:
  void SetUp() override {
    UseSilentDriver();
    beep = AddSilentSound(L"beep");
    tune = AddSilentMusic(L"tune");
    ASSERT_TRUE(beep && tune);
    ASSERT_TRUE(system.RegisterDriver(&driver));
    ASSERT_TRUE(system.SetCurrentDriver(system.GetDriversCount() - 1));
  }

  RecordingDriver driver;  // outlives the fixture's clean-up
  LLF::Sound* beep = nullptr;
  LLF::Music* tune = nullptr;
};

// A started test shell on a desktop of the size given, with the dialog open
// in its game layer and given the music.
struct OptionsRun {
  OptionsRun(LLF::Music* music, bool cancelButton = true, unsigned desktopWidth = 1920,
             unsigned desktopHeight = 1080)
      : game(folders) {
    game.SetDesktop(desktopWidth, desktopHeight);
    EXPECT_TRUE(game.Start());
    dialog = dynamic_cast<OptionsDialog*>(
        HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(Layout(cancelButton)));
    EXPECT_NE(dialog, nullptr);
    if (dialog) {
      dialog->SetMusic(music);
      game.GetGameLayer()->AddChild(dialog);
    }
  }

  // A press on the point, a move by toX - x, and (when asked) a release.
  // The shell starts a drag on the first move and moves from the next one.
  void Drag(int x, int y, int toX, bool release) {
    game.MouseMove(x, y);
    game.MouseDown(x, y);
    game.MouseMove(x + 1, y);
    game.MouseMove(toX + 1, y);
    if (release) game.MouseUp(toX + 1, y);
  }
  void Click(int x, int y) {
    game.MouseMove(x, y);
    game.MouseDown(x, y);
    game.MouseUp(x, y);
  }
  HLF::Checkbox* Box(const wchar_t* name) const {
    return dynamic_cast<HLF::Checkbox*>(dialog->GetChildByName(name));
  }
  LLF::XmlElement* Config() { return game.GetConfigDoc()->GetRoot(); }
  std::wstring Setting(const wchar_t* path, const wchar_t* name) {
    return Config()->GetAttribute(path, name, std::wstring(L"(none)")).GetValue();
  }
  // Whether the dialog is still in the game layer.
  bool Open() { return game.GetGameLayer()->IndexOfChild(dialog) >= 0; }

  QmTest::TempFolders folders;
  QmTest::TestGame game;
  OptionsDialog* dialog = nullptr;  // owned by the game layer
};

float Number(const std::wstring& text) {
  float value = -1.0f;
  LLF::FromString(text, value);
  return value;
}

TEST_F(OptionsDialogTest, ReactionsAreWrittenIntoTheConfiguration) {
  OptionsRun run(tune);
  ASSERT_NE(run.dialog, nullptr);
  EXPECT_EQ(run.dialog->GetTestSound(), beep);
  // The stored settings shown: the defaults.
  EXPECT_TRUE(run.Box(L"WinModeCheckbox")->IsChecked());
  EXPECT_TRUE(run.Box(L"WinModeCheckbox")->IsEnabled());
  EXPECT_FALSE(run.Box(L"CursorCheckbox")->IsChecked());

  struct Case {
    const wchar_t* box;
    int x;
    const wchar_t* path;
    const wchar_t* attribute;
    const wchar_t* before;
    const wchar_t* after;
  } cases[] = {
      {L"WinModeCheckbox", 35, L"config/video", L"windowed", L"true", L"false"},
      {L"WideScreenCheckbox", 135, L"config/video", L"enableWidescreen", L"true", L"false"},
      {L"HelpCheckbox", 235, L"config/game/help", L"showTips", L"true", L"false"},
      {L"CursorCheckbox", 335, L"config/game/cursor", L"useCustom", L"false", L"true"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(LLF::WideToAnsi(c.box));
    EXPECT_EQ(run.Setting(c.path, c.attribute), c.before);
    run.Click(c.x, 265);
    EXPECT_EQ(run.Box(c.box)->IsChecked(), std::wstring(c.after) == L"true");
    EXPECT_EQ(run.Setting(c.path, c.attribute), c.after);
  }
  EXPECT_FALSE(run.game.GetRenderSettings().windowed) << "windowed mode follows its box";

  // Music from 100 (thumb at 300) dragged to the left end; sound to 70.
  driver.updated.clear();
  run.Drag(310, 75, 50, true);
  run.Drag(310, 175, 250, true);
  EXPECT_EQ(Number(run.Setting(L"config/audio/music", L"volume")), 0.0f);
  EXPECT_EQ(Number(run.Setting(L"config/audio/sound", L"volume")), 70.0f);
  EXPECT_EQ(driver.GetMusicMasterVolume(), 0.0f);
  EXPECT_EQ(driver.GetSoundMasterVolume(), 70.0f);
  EXPECT_NE(std::find(driver.updated.begin(), driver.updated.end(), tune), driver.updated.end())
      << "the menu music takes the new volume";
  EXPECT_EQ(run.game.GetMusicVolume(), 0.0f);

  // OK closes; the configuration reaches the user's game.xml when saved.
  run.Click(430, 365);
  HLF::GameServices::DeleteDeferred();
  EXPECT_FALSE(run.Open());
  run.game.Stop();
  LLF::XmlDoc saved;
  ASSERT_TRUE(saved.LoadFromFile(LLF::FromOsPath(run.game.UserFolder() + "game.xml")));
  LLF::XmlElement* root = saved.GetRoot();
  EXPECT_EQ(Number(root->GetAttribute(L"config/audio/music", L"volume", std::wstring()).GetValue()), 0.0f);
  EXPECT_EQ(Number(root->GetAttribute(L"config/audio/sound", L"volume", std::wstring()).GetValue()), 70.0f);
  for (const Case& c : cases) {
    EXPECT_EQ(root->GetAttribute(c.path, c.attribute, std::wstring()).GetValue(), c.after) << c.attribute;
  }
}

TEST_F(OptionsDialogTest, NoTestSoundLoopsOnceTheDialogIsGone) {
  struct Case {
    const char* what;
    bool cancelButton;
    bool release;  // the drag ends before the dialog closes
    int key;
    bool stopped;  // the closing stops the sound
  } cases[] = {
      {"Escape mid-drag", true, false, LLF::KEY_ESCAPE, true},
      {"Enter mid-drag, no Cancel button", false, false, LLF::KEY_ENTER, true},
      {"Escape after the drag ended", true, true, LLF::KEY_ESCAPE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    driver.loopedWhenPlayed.clear();
    driver.played.clear();
    driver.stopped.clear();
    OptionsRun run(tune, c.cancelButton);
    ASSERT_NE(run.dialog, nullptr);
    run.Drag(310, 175, 250, c.release);
    EXPECT_EQ(driver.played, std::vector<const LLF::Sound*>{beep});
    EXPECT_EQ(driver.loopedWhenPlayed, std::vector<bool>{true}) << "looping while dragged";
    EXPECT_EQ(beep->IsLooped(), !c.release);

    run.game.KeyUp(c.key);
    run.game.Frame(16);
    EXPECT_FALSE(run.Open()) << "closed and deleted";
    EXPECT_EQ(run.game.Dragged(), nullptr);
    EXPECT_FALSE(beep->IsLooped());
    EXPECT_EQ(driver.stopped,
              c.stopped ? std::vector<const LLF::Sound*>{beep} : std::vector<const LLF::Sound*>{});
    EXPECT_EQ(Number(run.Setting(L"config/audio/sound", L"volume")), 70.0f) << "closing undoes nothing";
    run.game.MouseUp(250, 175);  // the release after the dialog is gone reaches nothing
  }
}

TEST_F(OptionsDialogTest, WindowedBoxOnADesktopNoLargerThanTheWindow) {
  OptionsRun run(nullptr, true, 800, 600);
  ASSERT_NE(run.dialog, nullptr);
  HLF::Checkbox* windowed = run.Box(L"WinModeCheckbox");
  EXPECT_FALSE(windowed->IsEnabled());
  EXPECT_EQ(windowed->IsChecked(), run.Setting(L"config/video", L"windowed") == L"true")
      << "shows the stored state";
  run.Click(35, 265);
  EXPECT_EQ(windowed->IsChecked(), run.Setting(L"config/video", L"windowed") == L"true");
  // Without a music the music slider still sets the driver's volume.
  run.Drag(310, 75, 250, true);
  EXPECT_EQ(driver.GetMusicMasterVolume(), 70.0f);
}

}  // namespace
