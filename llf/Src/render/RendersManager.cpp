#include "render/RendersManager.h"

#include <algorithm>

#include "core/Log.h"
#include "core/StringUtils.h"

namespace LLF {

std::wstring RendersManager::Dump() const {
  return L"RendersManager: registered renders count: " + ToString(GetRendersCount()) + L"\r\n";
}

unsigned RendersManager::GetRendersCount() const {
  MutexLock lock(_lock);
  return unsigned(_renders.size());
}

IRenderSystem* RendersManager::GetCurrentRender() const {
  MutexLock lock(_lock);
  return _current;
}

bool RendersManager::RegisterRender(IRenderSystem* render) {
  {
    MutexLock lock(_lock);
    if (std::find(_renders.begin(), _renders.end(), render) == _renders.end()) {
      _renders.push_back(render);
      return true;
    }
  }
  Log::GetInstance().Write(L"Warning: trying to register the same render twice.\r\n" +
                           (render ? render->Dump() : std::wstring()));
  return false;
}

bool RendersManager::UnregisterRender(IRenderSystem* render) {
  {
    MutexLock lock(_lock);
    const auto it = std::find(_renders.begin(), _renders.end(), render);
    if (it != _renders.end()) {
      _renders.erase(it);
      return true;
    }
  }
  Log::GetInstance().Write(L"Warning: trying to unregister not registered render.\r\n" +
                           (render ? render->Dump() : std::wstring()));
  return false;
}

IRenderSystem* RendersManager::GetRender(unsigned index) const {
  MutexLock lock(_lock);
  return index < _renders.size() ? _renders[index] : nullptr;
}

bool RendersManager::SetCurrentRender(unsigned index) {
  MutexLock lock(_lock);
  if (index >= _renders.size()) return false;
  _current = _renders[index];
  return true;
}

void RendersManager::ReleaseCurrentRender() {
  IRenderSystem* current = GetCurrentRender();
  if (!current) return;
  // Destroy runs outside the lock, while the system is still current: the
  // images it releases ask this manager for the current render system.
  current->Destroy();
  MutexLock lock(_lock);
  if (_current == current) _current = nullptr;
}

}  // namespace LLF
