#pragma once
// What the object model needs from the game shell: the styles document, the
// call every dying control makes so the shell drops its pointers to it, and
// the one queue of objects whose deletion waits for a safe point. The game
// shell derives from this class (its own static GetInstance hides this
// one). While no shell exists GetInstance answers null, and controls go
// without styles and tell nobody when they die.
//
// Deferred deletion: an object that must go while code of its own may still
// be on the stack (a dialog closed from its own button's click, a control
// removed while the tree is handling a message or updating) is handed to
// DeleteLater, and DeleteDeferred deletes it at the next safe point: after a
// message has been delivered to the tree, after a frame's update, and at the
// shell's end. The queue belongs to the class, not to one shell object, so
// it also serves while no shell exists; whatever is left at program exit is
// deleted then.
#include <cstddef>

#include "core/Object.h"

namespace LLF {
class XmlDoc;
}

namespace HLF {

class Control;

class GameServices : public virtual LLF::Object {
 public:
  GameServices(const GameServices&) = delete;
  GameServices& operator=(const GameServices&) = delete;

  LLF_KIND_OF(GameServices, LLF::Object)
  // Unregisters this shell when it is still the registered one.
  ~GameServices() override;

  // The document of styles: its top element "game" holds "styles", whose
  // children are the style elements. Null here: no styles.
  virtual LLF::XmlDoc* GetStylesDoc();
  // Drops every pointer the shell keeps to the control, which is being
  // destroyed. Nothing here.
  virtual void ForgetControl(Control* control);

  // The shell in service, or null before one is built and after its
  // destruction has begun.
  static GameServices* GetInstance();

  // Queues the object (owned from now on) for deletion at the next safe
  // point. The caller has taken it out of every list that refers to it.
  // Null and an object already queued are ignored.
  static void DeleteLater(LLF::Object* object);
  static bool IsDeletePending(const LLF::Object* object);
  static size_t GetDeletesPending();
  // The safe point: deletes the queued objects, those queued meanwhile
  // included. Refused (false, nothing deleted) while a control is handling a
  // message or updating, since the queued objects' code may be running.
  static bool DeleteDeferred();

 protected:
  // Registers the new object as the shell in service.
  GameServices();
  // For the shell's destructor to call first, before it tears down what
  // controls might still ask for.
  void Unregister();
};

}  // namespace HLF
