#pragma once
// Changes the volume (0 to 100) of a music or, when it has none, of a
// sound; neither is owned, and it has no target control. Type 0 falls from
// 100 to 0, type 1 rises from 0 to 100, type 2 goes from fadeFrom to
// fadeTo. Its type name is "MusicFader".
//
// XML attributes: "type" ("FADEIN" 0, "FADEOUT" 1, "FADETO" 2), "fadeFrom"
// and "fadeTo" (floats on the 0 to 100 scale). The sound or music is given
// in code.
#include "modifiers/Modifier.h"

namespace LLF {
class MessageReceiver;
class Music;
class Sound;
}  // namespace LLF

namespace HLF {

class AudioFader : public Modifier {
 public:
  explicit AudioFader(TimeWarp* curve = nullptr);
  // The receiver is added when not null.
  AudioFader(LLF::Sound* sound, TimeWarp* curve, LLF::MessageReceiver* receiver, int type, unsigned duration,
             unsigned startDelay);
  AudioFader(LLF::Music* music, TimeWarp* curve, LLF::MessageReceiver* receiver, int type, unsigned duration,
             unsigned startDelay);

  bool IsKindOf(const std::string& className) const override {
    return className == "MusicFader" || Modifier::IsKindOf(className);
  }
  ~AudioFader() override = default;

  void Apply(float p, float dt) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual int GetType() const { return _type; }
  virtual AudioFader* SetType(int type);
  virtual AudioFader* SetFadeRange(float from, float to);
  virtual void SetSound(LLF::Sound* sound) { _sound = sound; }
  virtual void SetMusic(LLF::Music* music) { _music = music; }

 private:
  static const PropertyTable<AudioFader>& Properties();

  int _type = 0;
  float _fadeFrom = 0.0f;
  float _fadeTo = 0.0f;
  LLF::Music* _music = nullptr;
  LLF::Sound* _sound = nullptr;
};

}  // namespace HLF
