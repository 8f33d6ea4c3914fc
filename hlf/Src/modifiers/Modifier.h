#pragma once
// The base of every timed change of a control: a target, a duration after
// a start delay, and an optional easing curve that maps the linear
// progress to the progress applied. A control updates the modifiers it
// holds every frame and deletes those that have stopped; named effects
// group them. This base only times: Apply is each subclass's change.
//
// Messages to the receivers: code 1 when the modifier ends (unless asked to
// end silently); code 0 from the base Apply.
//
// XML attributes (each optional): "duration" and "startDelay" in seconds
// (truncated to whole milliseconds), "noInitialParamsSet" (bool),
// "timeWarp" (the name of an easing curve).
//
// Subclasses append theirs from 31 on.
#include <string>

#include "core/MessageSender.h"
#include "math/Vector2.h"
#include "properties/PropertyTable.h"

namespace LLF {
class XmlElement;
}

namespace HLF {

class Control;
class TimeWarp;

// Codes a modifier sends to its receivers.
enum ModifierMessageCode {
  MOD_MSG_APPLIED = 0,  // the base Apply
  MOD_MSG_END = 1,
};

class Modifier : public LLF::MessageSender {
 public:
  // No target; takes over the curve (null: linear).
  explicit Modifier(TimeWarp* curve = nullptr);
  Modifier(Control* target, TimeWarp* curve);
  Modifier(const Modifier&) = delete;
  Modifier& operator=(const Modifier&) = delete;

  LLF_KIND_OF(Modifier, LLF::MessageSender)
  // Deletes the curve.
  ~Modifier() override;

  virtual Control* GetTarget() const { return _target; }
  virtual unsigned GetDuration() const { return _duration; }
  virtual unsigned GetStartDelay() const { return _startDelay; }
  virtual TimeWarp* GetTimeWarp() const { return _timeWarp; }
  virtual bool IsStopped() const { return _stopped; }
  virtual std::wstring GetTag() const { return _tag; }
  virtual bool IsNoInitialParamsSet() const { return _noInitialParamsSet; }
  // The target is not owned.
  virtual Modifier* SetTarget(Control* target);
  virtual void SetDuration(unsigned ms) { _duration = ms; }
  virtual void SetStartDelay(unsigned ms) { _startDelay = ms; }
  // Takes over the curve; the one held before is deleted.
  virtual Modifier* SetTimeWarp(TimeWarp* curve);
  virtual Modifier* SetNoInitialParamsSet(bool set);
  // Runs the modifier from its beginning (also after it has ended) and
  // applies the initial state.
  virtual void Start();
  // Counts dt (ms): waits while the delay runs, applies the eased progress,
  // and finishes once the progress reaches 1. False when not running.
  virtual bool Update(unsigned dt);
  // Applies the end state (progress 1, time step 0) and ends; sends code 1
  // unless silent.
  virtual void Finish(bool silent);
  // Ends where it is, applying nothing; sends code 1 unless silent.
  virtual void Stop(bool silent);
  // The state at progress 0 through the curve, unless noInitialParamsSet.
  virtual void ApplyInitial();
  // The change at progress p (0 to 1, eased) with the frame time dt in
  // seconds. Here: sends code 0.
  virtual void Apply(float p, float dt);
  // A new modifier of this class loaded from the element when the element
  // is named by this class's tag, else null; a failed load gives null.
  virtual Modifier* CreateFromXml(LLF::XmlElement& element);
  // CreateFromXml of the top-level element of the text, read with
  // variables; null when it does not parse.
  virtual Modifier* CreateFromXmlText(const std::wstring& text);
  // Reads the attributes present. True.
  virtual bool LoadFromXml(LLF::XmlElement& element);
  virtual bool LoadFromXmlText(const std::wstring& text);
  // Takes the other's timing, state, tag, a copy of its curve and its
  // receivers, except the effect that owns the other (that one lives and
  // dies with the other, not with the copy). Nothing when other is this.
  virtual void CopyFrom(const Modifier& other);
  // A new default object of the same class.
  virtual Modifier* CreateInstance() const;

  bool IsRunning() const { return _running; }
  unsigned GetElapsed() const { return _elapsed; }

  // Seconds from a file as whole milliseconds, truncated; a negative or
  // unreadable value gives 0.
  static unsigned SecondsToMs(float seconds);

 protected:
  // The message of code with this modifier as its sender.
  void SendCode(int code);
  // A time of a modifier class M in whole ms, written in seconds in files.
  template <class M>
  static typename PropertyTable<M>::Field MsField(const wchar_t* attribute, unsigned M::*member) {
    return PropertyTable<M>::Typed(
        attribute, [member](const M& m) { return static_cast<float>(m.*member) / 1000.0f; },
        [member](M& m, float seconds) { m.*member = SecondsToMs(seconds); });
  }
  // The first steps of a subclass's CopyFrom: nothing for itself, else the
  // base's copy; then the other as the subclass when its type test answers
  // typeName, so the subclass copies its own settings, else null.
  template <class M>
  const M* CopyBaseFrom(const Modifier& other, const char* typeName) {
    if (&other == this) {
      return nullptr;
    }
    Modifier::CopyFrom(other);
    return other.IsKindOf(typeName) ? dynamic_cast<const M*>(&other) : nullptr;
  }

  Control* _target = nullptr;
  unsigned _elapsed = 0;
  bool _stopped = false;
  bool _running = false;
  bool _noInitialParamsSet = false;
  unsigned _duration = 1;
  unsigned _startDelay = 0;
  TimeWarp* _timeWarp = nullptr;
  std::wstring _tag = L"modifier";

 private:
  static const PropertyTable<Modifier>& Properties();
};

}  // namespace HLF
