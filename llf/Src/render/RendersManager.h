#pragma once
// The registry of render systems and the one that is current. Render systems
// are singletons and are not owned. Thread-safe: images ask for the current
// render system from whichever thread creates or destroys them.
#include <string>

#include "core/Object.h"
#include "core/Registry.h"
#include "core/Singleton.h"
#include "render/IRenderSystem.h"

namespace LLF {

class RendersManager : public virtual Object, public Singleton<RendersManager> {
  LLF_SINGLETON(RendersManager)

 public:
  LLF_KIND_OF(RendersManager, Object)
  ~RendersManager() override = default;
  std::wstring Dump() const override;

  virtual unsigned GetRendersCount() const;
  virtual IRenderSystem* GetCurrentRender() const;
  // Appends a render system not yet listed; null or a second registration
  // logs a warning and gives false.
  virtual bool RegisterRender(IRenderSystem* render);
  // Removes a listed render system (the current one stays current); an
  // unlisted one logs a warning and gives false.
  virtual bool UnregisterRender(IRenderSystem* render);
  // Null when the index is not below the count.
  virtual IRenderSystem* GetRender(unsigned index) const;
  // False when the index is not below the count; the current one is then
  // unchanged.
  virtual bool SetCurrentRender(unsigned index);
  // Destroys the current render system's device and forgets it.
  virtual void ReleaseCurrentRender();

 private:
  RendersManager() = default;

  Registry<IRenderSystem> _renders{{L"Warning: trying to register the same render twice.\r\n",
                                    L"Warning: trying to unregister not registered render.\r\n"}};
};

}  // namespace LLF
