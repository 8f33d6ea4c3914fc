#pragma once
// A named group of modifiers run together on one target control, such as a
// dialog's show and hide effects, read from an effects file (usually
// "scripts/effects.xml"). The effect owns its modifiers; the target is not
// owned. When the last modifier has finished the effect ends and sends
// code 2 to its receivers once; a looping effect starts again instead and
// never reports an end.
//
// Effects file: any document element; each child with a "name" is an
// effect. Effect attributes: "name", "startDelay" (seconds, rounded to
// whole milliseconds), "infiniteLoop" ("true" loops). Each child element
// that the modifier factory makes a modifier of is one of its modifiers,
// in document order; others are skipped.
#include <memory>
#include <string>
#include <vector>

#include "core/MessageReceiver.h"
#include "core/MessageSender.h"

namespace LLF {
class XmlElement;
}

namespace HLF {

class Control;
class Modifier;
template <class Owner>
class PropertyTable;

// The code an effect sends when it ends.
enum EffectMessageCode { EFFECT_MSG_END = 2 };

class Effect : public LLF::MessageSender, public LLF::MessageReceiver {
 public:
  Effect();
  // Loads the named effect from the file; startDelay (ms) stands unless
  // the effect gives its own. The receiver is added when not null. A failed
  // load leaves what was read.
  Effect(const std::wstring& file, const std::wstring& name, LLF::MessageReceiver* receiver = nullptr,
         unsigned startDelay = 0);
  Effect(LLF::XmlElement& element, LLF::MessageReceiver* receiver = nullptr, unsigned startDelay = 0);
  Effect(const Effect&) = delete;
  Effect& operator=(const Effect&) = delete;

  LLF_KIND_OF2(Effect, LLF::MessageSender, LLF::MessageReceiver)
  // Deletes the modifiers.
  ~Effect() override;

  virtual Control* GetTarget() const { return _target; }
  virtual bool IsStopped() const { return _stopped; }
  virtual std::wstring GetName() const { return _name; }
  virtual unsigned GetStartDelay() const { return _startDelay; }
  virtual bool IsInfiniteLoop() const { return _infiniteLoop; }
  virtual int GetModifiersCount() const { return static_cast<int>(_modifiers.size()); }
  // Null for an index out of range.
  virtual Modifier* GetModifier(int index) const;
  virtual void SetTarget(Control* target) { _target = target; }
  virtual void SetName(const std::wstring& name) { _name = name; }
  virtual void SetStartDelay(unsigned ms) { _startDelay = ms; }
  virtual void SetInfiniteLoop(bool loop) { _infiniteLoop = loop; }
  // Gives every modifier the target and this effect as a receiver, starts
  // them unless a start delay is to run first, and applies their initial
  // states.
  virtual void Start();
  // Counts down the start delay (the frame that uses it up starts the
  // modifiers), then updates the modifiers; finished ones are deleted and
  // the effect stops when none is left (a looping one restarts when all
  // have stopped). False when not running.
  virtual bool Update(unsigned dt);
  // Ends the effect: a looping one starts again; any other puts its
  // modifiers at their end states and, unless silent, sends code 2 (once
  // a run: an effect ended again does not report again).
  virtual void Stop(bool silent);
  // As Stop, but leaves the modifiers where they are.
  virtual void Cancel(bool silent);
  // The text's document element is the effect element. Failures are
  // logged and give false.
  virtual bool LoadFromXmlText(const std::wstring& text);
  // Reads the attributes present and appends the modifiers. True.
  virtual bool LoadFromXml(LLF::XmlElement& element);
  // The first effect named name in the file. A file that does not load or
  // has no element is logged; a missing name gives false silently.
  virtual bool LoadFromFile(const std::wstring& file, const std::wstring& name);
  virtual void ApplyInitialParams();
  // Takes the other's settings and state, copies of its modifiers and its
  // receivers. Nothing when other is this.
  virtual void CopyFrom(const Effect& other);

  // The modifiers' messages are taken and ignored.
  bool OnMessage(LLF::Message* msg) override;

  bool IsRunning() const { return _running; }
  bool HasModifier(const Modifier* modifier) const;
  // Appends a modifier, which the effect then owns.
  void AddModifier(Modifier* modifier);

 private:
  static const PropertyTable<Effect>& Properties();
  void StartModifiers();
  void DeleteModifiers();
  // Stop and Cancel: ends the effect, or starts a looping one again.
  void End(bool silent, bool finishModifiers);

  Control* _target = nullptr;
  bool _stopped = false;
  bool _running = false;
  bool _infiniteLoop = false;
  std::wstring _name;
  unsigned _startDelay = 0;
  std::vector<Modifier*> _modifiers;
  bool _endReported = false;  // code 2 went out since the last Start
  // Cleared by the destructor; an update holds it, so one that a
  // modifier's receiver ends by deleting this effect touches nothing more.
  std::shared_ptr<bool> _alive = std::make_shared<bool>(true);
};

}  // namespace HLF
