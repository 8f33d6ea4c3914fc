#pragma once
// The player's settings: sliders for the music and sound volumes and check
// boxes for windowed mode, wide screen, tips and the custom cursor. Every
// change takes effect at once and is written at once into the shell's
// configuration document (saved with it); OK only closes, and Cancel or
// Escape undo nothing. Dragging the sound slider plays the test sound in a
// loop so the player hears the volume; the music slider sets the volume of
// the menu music the opener hands in.
//
// The XML element "optionsdlg"; "testSound" names a loaded sound. Required
// children: "OkButton", "TitleLabel", "MusicLabel", "SoundLabel",
// "MusicSlider", "SoundSlider", "WinModeCheckbox", "WideScreenCheckbox",
// "HelpCheckbox", "CursorCheckbox".
#include "dialogs/Dialog.h"

namespace LLF {
class Music;
class Sound;
}  // namespace LLF

namespace HLF {

class Checkbox;
class Label;
class Slider;

class OptionsDialog : public Dialog {
 public:
  OptionsDialog();

  LLF_KIND_OF(OptionsDialog, Dialog)
  // Stops listening to its controls, and stops a test sound still looping
  // (the dialog may close while the sound slider is dragged).
  ~OptionsDialog() override;
  // "Options Dialog: "
  std::wstring Dump() const override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  Control* CreateInstance() const override;
  // The required children, the settings shown, then the dialog base's.
  bool OnCreated() override;
  Button* GetOkButton() const override { return okButton; }

  virtual Label* GetTitleLabel() const { return titleLabel; }
  // The music whose volume follows the music slider (not owned).
  virtual void SetMusic(LLF::Music* menuMusic) { music = menuMusic; }
  // The configuration shown in the controls, without their messages. True.
  virtual bool LoadSettings();
  // Nothing to do: every setting is applied as it changes. True.
  virtual bool ApplySettings() { return true; }

  bool OnMessage(LLF::Message* msg) override;

  LLF::Sound* GetTestSound() const { return testSound; }

 private:
  void StopTestSound();

  Button* okButton = nullptr;
  Label* titleLabel = nullptr;
  Label* musicLabel = nullptr;
  Label* soundLabel = nullptr;
  Checkbox* winModeCheckbox = nullptr;
  Checkbox* wideScreenCheckbox = nullptr;
  Checkbox* helpCheckbox = nullptr;
  Checkbox* cursorCheckbox = nullptr;
  Slider* musicSlider = nullptr;
  Slider* soundSlider = nullptr;
  LLF::Music* music = nullptr;
  LLF::Sound* testSound = nullptr;
  bool testSoundLooping = false;
};

}  // namespace HLF
