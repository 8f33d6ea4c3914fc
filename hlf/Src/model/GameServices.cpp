#include "model/GameServices.h"

#include <algorithm>
#include <vector>

#include "model/Control.h"

namespace HLF {

namespace {

GameServices* g_instance = nullptr;

// The deferred-delete queue; what is still queued when the program ends is
// deleted then.
struct DeferredQueue {
  std::vector<LLF::Object*> objects;

  ~DeferredQueue() { DeleteAll(); }

  // One at a time from the front: a destructor may queue more.
  void DeleteAll() {
    while (!objects.empty()) {
      LLF::Object* object = objects.front();
      objects.erase(objects.begin());
      delete object;
    }
  }
};

DeferredQueue& Queue() {
  static DeferredQueue queue;
  return queue;
}

}  // namespace

GameServices::GameServices() {
  g_instance = this;
}

GameServices::~GameServices() {
  Unregister();
}

void GameServices::Unregister() {
  if (g_instance == this) {
    g_instance = nullptr;
  }
}

LLF::XmlDoc* GameServices::GetStylesDoc() {
  return nullptr;
}

void GameServices::ForgetControl(Control* control) {
  (void)control;
}

GameServices* GameServices::GetInstance() {
  return g_instance;
}

void GameServices::DeleteLater(LLF::Object* object) {
  if (object && !IsDeletePending(object)) {
    Queue().objects.push_back(object);
  }
}

bool GameServices::IsDeletePending(const LLF::Object* object) {
  const std::vector<LLF::Object*>& objects = Queue().objects;
  return std::find(objects.begin(), objects.end(), object) != objects.end();
}

size_t GameServices::GetDeletesPending() {
  return Queue().objects.size();
}

bool GameServices::DeleteDeferred() {
  if (Control::IsDispatching()) {
    return false;
  }
  Queue().DeleteAll();
  return true;
}

}  // namespace HLF
