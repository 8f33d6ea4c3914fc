#include "GlScreen.h"

#include "app/AppSettings.h"
#include "app/AppWindow.h"
#include "image/Image.h"
#include "render/RenderSettings.h"
#include "render/RenderSystemHardware.h"
#include "render/RendersManager.h"

namespace QmTest {

GlScreen::GlScreen() {
  LLF::AppSettings settings;
  settings.width = 800;
  settings.height = 600;
  if (!LLF::AppWindow::GetInstance().Create(settings)) {
    return;
  }
  LLF::RenderSystemHardware::SetGfxLibrary(nullptr);
  LLF::RenderSettings render;
  render.verticalSync = false;
  if (!Render().Init(render)) {
    LLF::AppWindow::GetInstance().Destroy();
    return;
  }
  LLF::RendersManager& renders = LLF::RendersManager::GetInstance();
  renders.RegisterRender(&Render());
  renders.SetCurrentRender(renders.GetRendersCount() - 1);
  _ready = true;
}

GlScreen::~GlScreen() {
  if (!_ready) {
    return;
  }
  LLF::RendersManager& renders = LLF::RendersManager::GetInstance();
  renders.ReleaseCurrentRender();
  renders.UnregisterRender(&Render());
  LLF::AppWindow::GetInstance().Destroy();
}

LLF::RenderSystemHardware& GlScreen::Render() {
  return LLF::RenderSystemHardware::GetInstance();
}

std::unique_ptr<LLF::Image> GlScreen::Frame(const std::function<void(LLF::IRenderSystem*)>& draw) {
  LLF::RenderSystemHardware& rs = Render();
  if (!_ready || !rs.BeginFrame()) {
    return nullptr;
  }
  rs.Clear(LLF::Color(0, 0, 0, 255), true, false);
  draw(&rs);
  rs.EndFrame();
  return std::unique_ptr<LLF::Image>(rs.GetScreenshot());
}

}  // namespace QmTest
