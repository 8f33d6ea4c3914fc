#pragma once
// Helpers for the lists of owned pointers that controls and effects keep
// (children aside): modifiers and effects, walked while their entries may
// add or remove entries.
#include <algorithm>
#include <vector>

namespace HLF {

template <class T>
bool Holds(const std::vector<T*>& list, const T* entry) {
  return std::find(list.begin(), list.end(), entry) != list.end();
}

template <class T>
T* EntryAt(const std::vector<T*>& list, int index) {
  return index >= 0 && index < static_cast<int>(list.size()) ? list[index] : nullptr;
}

// Takes entry out of the list; false when it is not there.
template <class T>
bool Unlist(std::vector<T*>& list, const T* entry) {
  auto it = std::find(list.begin(), list.end(), entry);
  if (it == list.end()) {
    return false;
  }
  list.erase(it);
  return true;
}

// Takes the stopped entries out of the list, then deletes them.
template <class T>
void DeleteStopped(std::vector<T*>& list) {
  auto kept =
      std::stable_partition(list.begin(), list.end(), [](const T* entry) { return !entry->IsStopped(); });
  std::vector<T*> stopped(kept, list.end());
  list.erase(kept, list.end());
  for (T* entry : stopped) {
    delete entry;
  }
}

// Updates each entry of a copy of the list that is still listed when its
// turn comes: an update may add or remove entries.
template <class T>
void UpdateListed(const std::vector<T*>& list, unsigned dt) {
  const std::vector<T*> copy = list;
  for (T* entry : copy) {
    if (Holds(list, entry)) {
      entry->Update(dt);
    }
  }
}

}  // namespace HLF
