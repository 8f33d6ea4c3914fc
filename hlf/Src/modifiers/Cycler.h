#pragma once
// Steps through the animation cells of a target that has an image, one
// cell each time 1 / fps seconds of frame time have run out (the overshoot
// is dropped; the next interval starts on the following update). FORWARD
// (0) goes along each loop and on to the next one, wrapping from the last
// cell of the last loop to the first; BACKWARD (1) goes the other way.
// ROUND (2) and RANDOM (3) are accepted and leave the cell as it is. A
// target without an image is left alone.
//
// XML attributes: "fps" (float), "type" ("FORWARD", "BACKWARD", "ROUND",
// "RANDOM"; other text leaves it).
#include "modifiers/Modifier.h"

namespace HLF {

class ImageProperty;

class Cycler : public Modifier {
 public:
  enum Type { FORWARD = 0, BACKWARD = 1, ROUND = 2, RANDOM = 3 };

  explicit Cycler(TimeWarp* curve = nullptr);

  LLF_KIND_OF(Cycler, Modifier)
  ~Cycler() override = default;

  // A control without an image property is refused with a log line; the
  // target stays as it was.
  Modifier* SetTarget(Control* target) override;
  void Apply(float p, float dt) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  // Copies fps, type and the current frame; the copy starts its own
  // interval.
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual float GetFps() const { return _fps; }
  virtual int GetType() const { return _type; }
  virtual void SetFps(float fps) { _fps = fps; }
  virtual void SetType(int type) { _type = type; }

  // The frame shown last (-1 before the first step).
  int GetFrame() const { return _frame; }
  int GetLoop() const { return _loop; }

 private:
  static const PropertyTable<Cycler>& Properties();
  // One cell on in the image's grid of frames x loops.
  void Advance(int frames, int loops);

  float _fps = 2.0f;
  int _loop = -1;
  int _frame = -1;
  int _step = -1;
  float _timeLeft = -1.0f;
  int _type = FORWARD;
};

}  // namespace HLF
