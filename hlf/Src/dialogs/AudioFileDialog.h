#pragma once
// The file dialog that plays what is picked, the XML element
// "audiofiledlg": each pick stops and frees the sound of the last one,
// then loads the file (once, not looping, full volume) and plays it
// through the current sound driver. The sound belongs to the dialog.
#include <string>

#include "dialogs/FileDialog.h"

namespace LLF {
class Sound;
}

namespace HLF {

class AudioFileDialog : public FileDialog {
 public:
  AudioFileDialog();

  LLF_KIND_OF(AudioFileDialog, FileDialog)
  // Stops and frees the sound.
  ~AudioFileDialog() override;
  Control* CreateInstance() const override;
  void OnFileSelected(const std::wstring& path) override;

  LLF::Sound* GetPreviewSound() const { return _previewSound; }

 private:
  void DropSound();

  LLF::Sound* _previewSound = nullptr;
};

}  // namespace HLF
