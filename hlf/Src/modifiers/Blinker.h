#pragma once
// Switches its target between two states a number of times over its run:
// VISIBILITY (0) shows and hides it, ALPHA (1) sets alpha1 and alpha2. The
// run is cut into blinksCount equal periods; the first half of each holds
// the start state (visible as visibleOnStart, or alpha1), the second half
// the other. At the end the target is left visible as visibleOnFinish (or
// at alpha1 when that is set, else alpha2).
//
// XML attributes: "visibleOnFinish", "visibleOnStart" (bools),
// "blinksCount", "type" ("VISIBILITY" or "ALPHA"; other text leaves it),
// "alpha1" and "alpha2" (used only when both are given).
#include <cstdint>

#include "modifiers/Modifier.h"

namespace LLF {
class MessageReceiver;
}

namespace HLF {

class Blinker : public Modifier {
 public:
  enum Type { VISIBILITY = 0, ALPHA = 1 };

  explicit Blinker(TimeWarp* curve = nullptr);
  // The receiver is added when not null.
  Blinker(Control* target, TimeWarp* curve, LLF::MessageReceiver* receiver, unsigned duration,
          unsigned startDelay, int blinksCount, int type, bool visibleOnFinish, bool visibleOnStart);

  LLF_KIND_OF(Blinker, Modifier)
  ~Blinker() override = default;

  void Apply(float p, float dt) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual bool IsVisibleOnFinish() const { return _visibleOnFinish; }
  virtual bool IsVisibleOnStart() const { return _visibleOnStart; }
  virtual int GetBlinksCount() const { return _blinksCount; }
  virtual int GetType() const { return _type; }
  virtual void GetAlphas(uint8_t& alpha1, uint8_t& alpha2) const;
  virtual Blinker* SetVisibleOnFinish(bool visible);
  virtual Blinker* SetVisibleOnStart(bool visible);
  // A count below 1 blinks as 1.
  virtual Blinker* SetBlinksCount(int count);
  virtual Blinker* SetType(int type);
  virtual void SetAlphas(uint8_t alpha1, uint8_t alpha2);

 private:
  static const PropertyTable<Blinker>& Properties();
  // The target in the start state (true) or the other one.
  void Show(bool startState);

  bool _visibleOnFinish = true;
  bool _visibleOnStart = true;
  int _blinksCount = 3;
  int _type = VISIBILITY;
  uint8_t _alpha1 = 127;
  uint8_t _alpha2 = 255;
};

}  // namespace HLF
