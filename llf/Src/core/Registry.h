#pragma once
// A list of registered objects in registration order, and the one of them
// that is current. The codec lists of the resource managers, the sound
// drivers and the render systems are each kept in one, so they follow one
// rule: null and an object already listed are refused, an object not listed
// cannot be unregistered, and each refusal is one log line followed by the
// object's dump. The objects are not owned (they are singletons).
//
// Thread-safe. The log and the objects' own operations run outside the
// lock, so an object may ask the registry for the current one meanwhile.
#include <algorithm>
#include <string>
#include <vector>

#include "core/Log.h"
#include "core/Mutex.h"
#include "core/Object.h"

namespace LLF {

template <class T>
class Registry : public virtual Object {
 public:
  // The refusals' log texts, each before the object's dump.
  struct Texts {
    const wchar_t* registeredTwice;
    const wchar_t* notRegistered;
  };

  explicit Registry(const Texts& texts) : _texts(texts) {}
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;
  LLF_KIND_OF(Registry, Object)
  ~Registry() override = default;

  // Appends an object not yet listed. Null counts as a failed registration:
  // it would come back from Get as "no such object".
  bool Register(T* item) {
    {
      MutexLock lock(_lock);
      if (item && std::find(_items.begin(), _items.end(), item) == _items.end()) {
        _items.push_back(item);
        return true;
      }
    }
    Refuse(_texts.registeredTwice, item);
    return false;
  }

  // Removes a listed object; the current one stays current.
  bool Unregister(T* item) {
    {
      MutexLock lock(_lock);
      const auto it = std::find(_items.begin(), _items.end(), item);
      if (item && it != _items.end()) {
        _items.erase(it);
        return true;
      }
    }
    Refuse(_texts.notRegistered, item);
    return false;
  }

  unsigned GetCount() const {
    MutexLock lock(_lock);
    return unsigned(_items.size());
  }

  // Null when the index is not below the count.
  T* Get(unsigned index) const {
    MutexLock lock(_lock);
    return index < _items.size() ? _items[index] : nullptr;
  }

  // A copy of the list, for walking it without holding the lock.
  std::vector<T*> GetAll() const {
    MutexLock lock(_lock);
    return _items;
  }

  T* GetCurrent() const {
    MutexLock lock(_lock);
    return _current;
  }

  // False when the index is not below the count; the current one is then
  // unchanged.
  bool SetCurrent(unsigned index) {
    MutexLock lock(_lock);
    if (index >= _items.size()) return false;
    _current = _items[index];
    return true;
  }

  // Calls the current object's Destroy, then forgets it. Destroy runs while
  // the object is still current: what it releases may ask for it.
  void ReleaseCurrent() {
    T* current = GetCurrent();
    if (!current) return;
    current->Destroy();
    MutexLock lock(_lock);
    if (_current == current) _current = nullptr;
  }

 private:
  static void Refuse(const wchar_t* text, const T* item) {
    Log::GetInstance().Write(text + (item ? item->Dump() : std::wstring()));
  }

  const Texts _texts;
  mutable Mutex _lock;
  std::vector<T*> _items;
  T* _current = nullptr;
};

}  // namespace LLF
