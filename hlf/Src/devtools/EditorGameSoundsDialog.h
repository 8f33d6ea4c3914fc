#pragma once
// The editor's game sounds dialog over "scripts/sounds.xml": the asset
// groups, each group's sounds, and the selected sound's ID, file, volume
// and looping. "..." picks a file in the audio chooser, which plays it.
// Update is refused, with a warning, while the volume is not a number.
#include <string>

#include "devtools/EditorAssetsDialog.h"

namespace HLF {

class Checkbox;

class EditorGameSoundsDialog : public EditorAssetsDialog {
 public:
  EditorGameSoundsDialog();

  LLF_KIND_OF(EditorGameSoundsDialog, EditorAssetsDialog)
  ~EditorGameSoundsDialog() override;
  Control* CreateInstance() const override;
  // Binds its fourteen controls (an error line and false at the first one
  // missing), fills the list and hides the details.
  bool OnCreated() override;

  virtual Listbox* GetSoundsListbox() const { return _list; }
  virtual Label* GetSoundVolumeLabel() const { return _volumeLabel; }
  virtual Label* GetSoundIDLabel() const { return _idLabel; }
  virtual Label* GetSoundFileLabel() const { return _fileLabel; }
  virtual Edit* GetVolumeEdit() const { return _volumeEdit; }
  virtual Checkbox* GetSoundLoopedCheckbox() const { return _loopedCheckbox; }
  virtual void ShowSelectedSound();
  void SetDetailsVisible(bool shown) override;
  // The entry's "src", "volume" (100 when absent) and "looped" ("true"
  // only); false without the document. A missing entry changes nothing.
  virtual bool GetSoundEntry(const std::wstring& group, const std::wstring& name, std::wstring& source,
                             float& volume, bool& looped) const;

  float GetVolume() const { return _volume; }
  bool IsLooped() const { return _looped; }

 protected:
  XmlDocEx* Document() const override;
  void SaveDocument() override;
  bool ReadEntry(const std::wstring& group, const std::wstring& name) override;
  void ShowEntry() override { ShowSelectedSound(); }
  void AddEntry(const std::wstring& name) override;
  bool UpdateEntry(const std::wstring& name, const std::wstring& newName) override;

 private:
  Label* _volumeLabel = nullptr;
  Label* _idLabel = nullptr;
  Label* _fileLabel = nullptr;
  Edit* _volumeEdit = nullptr;
  Checkbox* _loopedCheckbox = nullptr;
  float _volume = 100.0f;
  bool _looped = false;
};

}  // namespace HLF
