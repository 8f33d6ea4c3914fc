#include "dialogs/AudioFileDialog.h"

#include "sound/ISoundDriver.h"
#include "sound/Sound.h"
#include "sound/SoundSystem.h"

namespace HLF {

AudioFileDialog::AudioFileDialog() {
  _tag = L"audiofiledlg";
}

AudioFileDialog::~AudioFileDialog() {
  DropSound();
}

Control* AudioFileDialog::CreateInstance() const {
  return new AudioFileDialog();
}

void AudioFileDialog::DropSound() {
  if (!_previewSound) {
    return;
  }
  // A sound still playing must be stopped before its data goes.
  if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
    driver->StopSound(_previewSound);
  }
  delete _previewSound;
  _previewSound = nullptr;
}

void AudioFileDialog::OnFileSelected(const std::wstring& path) {
  FileDialog::OnFileSelected(path);
  DropSound();
  // Unmanaged: the dialog owns it and no id is left behind in the system.
  _previewSound = LLF::SoundSystem::GetInstance().LoadSound(path, 0, 100.0f, 100.0f, std::wstring(), true);
  if (!_previewSound) {
    return;
  }
  if (LLF::ISoundDriver* driver = LLF::SoundSystem::GetInstance().GetCurrentDriver()) {
    driver->PlaySound(_previewSound);
  }
}

}  // namespace HLF
