#pragma once
// A timed state machine: the state in force, the state to enter next and a
// delay the change waits for. Subclasses put their behaviour into DoState,
// which runs once each time the state changes, and ask for changes with
// ChangeState, NextState or SetState. Base of every control and of the
// scenes that are not controls.
#include <string>

#include "core/MessageReceiver.h"
#include "core/MessageSender.h"

namespace HLF {

// Codes the state machine sends to its receivers.
enum StateMachineMessageCode {
  SM_MSG_EMPTY = 0,    // SendEmptyMessage: a scene reports it has finished
  SM_MSG_DOSTATE = 1,  // the base DoState: a state was entered
};

class StateMachine : public LLF::MessageSender, public LLF::MessageReceiver {
 public:
  StateMachine() = default;
  // Adds the receiver first of all.
  explicit StateMachine(LLF::MessageReceiver* receiver);

  LLF_KIND_OF2(StateMachine, LLF::MessageSender, LLF::MessageReceiver)
  ~StateMachine() override = default;

  virtual int GetState() { return _current; }
  virtual unsigned GetDelay() { return _delay; }
  virtual unsigned GetElapsed() { return _elapsed; }
  // Asks for state after delay ms. A delay starts the count at 1, so the
  // change comes on the first Update at which 1 + the frame times since
  // reach the delay. Always true.
  virtual bool ChangeState(int state, unsigned delay);
  // ChangeState(current + 1, delay).
  virtual bool NextState(unsigned delay);
  // Counts dt towards a pending delay; once it has run out, enters the next
  // state (when it differs from the current one) and calls DoState.
  virtual void Update(unsigned dt);
  // Sends code 1.
  virtual void DoState();
  // Enters state at once and calls DoState; a pending change to another
  // state is dropped. Delay and elapsed time are left as they are. True.
  virtual bool SetState(int state);
  // Sends code 0.
  virtual void SendEmptyMessage();

 protected:
  // Sends a message with this machine as its sender.
  void SendCode(int code, int param = 0, int primary = 0, int secondary = 0,
                const std::wstring& text = std::wstring());

  // Subclasses write _current to force the same state to be entered again.
  int _current = -1;  // -1: no state entered yet
  int _next = 0;
  unsigned _delay = 0;    // ms the pending change waits; 0 = none
  unsigned _elapsed = 0;  // ms counted towards the delay; 0 = not counting
};

}  // namespace HLF
