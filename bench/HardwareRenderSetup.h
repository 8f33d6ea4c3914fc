#pragma once
// The benchmarks' OpenGL set-up: the application window of the given size
// and RenderSystemHardware on it as the current render system, without
// vertical sync, so a frame takes as long as its work.
#include "app/AppWindow.h"
#include "render/RenderSystemHardware.h"
#include "render/RendersManager.h"

namespace QmBench {

// False when the window or the render system cannot start.
inline bool StartHardwareRender(const wchar_t* title, int width, int height) {
  LLF::AppSettings settings;
  settings.width = width;
  settings.height = height;
  settings.title = title;
  if (!LLF::AppWindow::GetInstance().Create(settings)) return false;
  LLF::RenderSettings render;
  render.verticalSync = false;
  LLF::RenderSystemHardware& rs = LLF::RenderSystemHardware::GetInstance();
  LLF::RendersManager& renders = LLF::RendersManager::GetInstance();
  renders.RegisterRender(&rs);
  renders.SetCurrentRender(renders.GetRendersCount() - 1);
  return rs.Init(render);
}

inline void StopHardwareRender() {
  LLF::RendersManager::GetInstance().ReleaseCurrentRender();
  LLF::AppWindow::GetInstance().Destroy();
}

}  // namespace QmBench
