#pragma once
// Changes its target's alpha; without a target it tints the whole screen
// with its colour at that alpha. Type 0 falls from 255 to 0, type 1 rises
// from 0 to 255, type 2 goes from fadeFrom to fadeTo. In XML "FADEIN" is
// type 0 and "FADEOUT" type 1, named for the screen: FADEOUT tints the
// picture away, and on a control makes it appear.
//
// XML attributes: "type" ("FADEIN", "FADEOUT", "FADETO"; other text leaves
// the type), "fadeFrom" and "fadeTo" (integers, kept in 8 bits),
// "hideOnZeroAlpha" (bool).
#include <cstdint>

#include "math/Color.h"
#include "modifiers/Modifier.h"

namespace LLF {
class MessageReceiver;
}

namespace HLF {

class Fader : public Modifier {
 public:
  enum Type { FADE_FALL = 0, FADE_RISE = 1, FADE_RANGE = 2 };

  explicit Fader(TimeWarp* curve = nullptr);
  Fader(Control* target, TimeWarp* curve);
  // The receiver is added when not null.
  Fader(Control* target, TimeWarp* curve, LLF::MessageReceiver* receiver, int type, unsigned duration,
        unsigned startDelay);

  LLF_KIND_OF(Fader, Modifier)
  ~Fader() override = default;

  // The alpha for p; with a target its SetAlpha, else the screen tint. At
  // the end (p exactly 1) a target at alpha 0 is hidden when
  // hideOnZeroAlpha is set.
  void Apply(float p, float dt) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual int GetType() const { return _type; }
  virtual Fader* SetType(int type);
  virtual void SetFadeRange(uint8_t from, uint8_t to);
  virtual void SetColor(const LLF::Color& color) { _color = color; }
  virtual Fader* SetHideOnZeroAlpha(bool hide);

  // The alpha at progress p.
  uint8_t AlphaAt(float p) const;

  // The field "type" of a modifier class M: one of "FADEIN", "FADEOUT",
  // "FADETO" (other text leaves the type). Shared with the audio fader,
  // whose types read alike.
  template <class M>
  static typename PropertyTable<M>::Field TypeField(int M::*type) {
    return PropertyTable<M>::Words(L"type", type, {L"FADEIN", L"FADEOUT", L"FADETO"});
  }

 private:
  static const PropertyTable<Fader>& Properties();

  int _type = FADE_FALL;
  uint8_t _fadeFrom = 0;
  uint8_t _fadeTo = 0;
  bool _hideOnZeroAlpha = false;
  LLF::Color _color = LLF::Color(0, 0, 0, 255);
};

}  // namespace HLF
