#include "render/RendersManager.h"

#include "core/StringUtils.h"

namespace LLF {

std::wstring RendersManager::Dump() const {
  return L"RendersManager: registered renders count: " + ToString(GetRendersCount()) + L"\r\n";
}

unsigned RendersManager::GetRendersCount() const {
  return _renders.GetCount();
}

IRenderSystem* RendersManager::GetCurrentRender() const {
  return _renders.GetCurrent();
}

bool RendersManager::RegisterRender(IRenderSystem* render) {
  return _renders.Register(render);
}

bool RendersManager::UnregisterRender(IRenderSystem* render) {
  return _renders.Unregister(render);
}

IRenderSystem* RendersManager::GetRender(unsigned index) const {
  return _renders.Get(index);
}

bool RendersManager::SetCurrentRender(unsigned index) {
  return _renders.SetCurrent(index);
}

void RendersManager::ReleaseCurrentRender() {
  // Destroy runs while the system is still current: the images it releases
  // ask this manager for the current render system.
  _renders.ReleaseCurrent();
}

}  // namespace LLF
