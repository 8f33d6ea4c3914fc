#include "modifiers/AudioFader.h"

#include "modifiers/Fader.h"
#include "sound/Music.h"
#include "sound/Sound.h"

namespace HLF {

AudioFader::AudioFader(TimeWarp* curve) : Modifier(curve) {
  _tag = L"audiofader";
}

AudioFader::AudioFader(LLF::Sound* sound, TimeWarp* curve, LLF::MessageReceiver* receiver, int type,
                       unsigned duration, unsigned startDelay)
    : AudioFader(curve) {
  _sound = sound;
  if (receiver) {
    AddReceiver(receiver);
  }
  _type = type;
  _duration = duration;
  _startDelay = startDelay;
}

AudioFader::AudioFader(LLF::Music* music, TimeWarp* curve, LLF::MessageReceiver* receiver, int type,
                       unsigned duration, unsigned startDelay)
    : AudioFader(static_cast<LLF::Sound*>(nullptr), curve, receiver, type, duration, startDelay) {
  _music = music;
}

AudioFader* AudioFader::SetType(int type) {
  _type = type;
  return this;
}

AudioFader* AudioFader::SetFadeRange(float from, float to) {
  _fadeFrom = from;
  _fadeTo = to;
  return this;
}

void AudioFader::Apply(float p, float dt) {
  (void)dt;
  float volume = 0.0f;
  switch (_type) {
    case Fader::FADE_FALL:
      volume = 100.0f - p * 100.0f;
      break;
    case Fader::FADE_RISE:
      volume = p * 100.0f;
      break;
    case Fader::FADE_RANGE:
      volume = _fadeFrom + (_fadeTo - _fadeFrom) * p;
      break;
    default:
      break;
  }
  if (_music) {
    _music->SetVolume(volume);
  } else if (_sound) {
    _sound->SetVolume(volume);
  }
}

const PropertyTable<AudioFader>& AudioFader::Properties() {
  using P = PropertyTable<AudioFader>;
  static const P table({
      Fader::TypeField(&AudioFader::_type),
      P::Member(L"fadeFrom", &AudioFader::_fadeFrom),
      P::Member(L"fadeTo", &AudioFader::_fadeTo),
  });
  return table;
}

bool AudioFader::LoadFromXml(LLF::XmlElement& element) {
  Modifier::LoadFromXml(element);
  return Properties().Load(*this, element);
}

void AudioFader::CopyFrom(const Modifier& other) {
  if (const AudioFader* fader = CopyBaseFrom<AudioFader>(other, "MusicFader")) {
    _type = fader->_type;
    _fadeFrom = fader->_fadeFrom;
    _fadeTo = fader->_fadeTo;
    _music = fader->_music;
    _sound = fader->_sound;
  }
}

Modifier* AudioFader::CreateInstance() const {
  return new AudioFader();
}

}  // namespace HLF
