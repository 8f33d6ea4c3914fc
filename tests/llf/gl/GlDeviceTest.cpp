// The OpenGL device on a real context (SDL's offscreen video on Mesa): the
// conventions it keeps for its caller, and batching that leaves the picture
// as unbatched draws give it.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/AppWindow.h"
#include "gl/GlDevice.h"
#include "gl/GlLibrary.h"
#include "render/IGfxSystem.h"
#include "render/TexturedVertex.h"

namespace {

using namespace LLF;

constexpr uint32_t kWidth = 64;
constexpr uint32_t kHeight = 48;

// The window's own buffers (window as large as the back buffer) or a
// framebuffer object (a smaller window, shown scaled).
class GlDeviceTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(_library.Load()) << SDL_GetError();
    _system = _library.CreateSystem();
    ASSERT_TRUE(_system) << "no OpenGL 2.1 context";
    AppSettings settings;
    settings.width = GetParam() ? kWidth : kWidth / 2;
    settings.height = GetParam() ? kHeight : kHeight / 2;
    ASSERT_TRUE(AppWindow::GetInstance().Create(settings));
    _window = static_cast<SDL_Window*>(AppWindow::GetInstance().GetHandle());
    GfxPresentParameters params;
    params.backBufferWidth = kWidth;
    params.backBufferHeight = kHeight;
    params.windowed = true;
    params.swapEffect = GFXSWAP_COPY;
    std::unique_ptr<IGfxDevice> device = _system->CreateDevice(_window, 0, params);
    ASSERT_TRUE(device);
    _device.reset(static_cast<GlDevice*>(device.release()));

    // The states and the transforms the render system works with.
    _device->SetRenderState(GFXRS_CULLMODE, GFXCULL_CCW);
    _device->SetRenderState(GFXRS_ALPHABLENDENABLE, 1);
    _device->SetRenderState(GFXRS_SRCBLEND, GFXBLEND_SRCALPHA);
    _device->SetRenderState(GFXRS_DESTBLEND, GFXBLEND_INVSRCALPHA);
    _device->SetRenderState(GFXRS_ALPHATESTENABLE, 1);
    _device->SetRenderState(GFXRS_ALPHAREF, 1);
    _device->SetRenderState(GFXRS_ALPHAFUNC, GFXCMP_GREATEREQUAL);
    _device->SetRenderState(GFXRS_ZENABLE, 0);
    _device->SetTextureStageState(0, GFXTSS_COLOROP, GFXTOP_MODULATE);
    _device->SetTextureStageState(0, GFXTSS_ALPHAOP, GFXTOP_MODULATE);
    _device->SetTextureStageState(0, GFXTSS_ADDRESSU, GFXTADDRESS_CLAMP);
    _device->SetTextureStageState(0, GFXTSS_ADDRESSV, GFXTADDRESS_CLAMP);
    _device->SetTextureStageState(0, GFXTSS_MAGFILTER, GFXTEXF_POINT);
    _device->SetTextureStageState(0, GFXTSS_MINFILTER, GFXTEXF_POINT);
    const float w = float(kWidth);
    const float h = float(kHeight);
    _device->SetTransform(GFXTS_PROJECTION, Matrix4::Scaling(Vector3(1, -1, 1)) *
                                                Matrix4::Translation(Vector3(-0.5f, h + 0.5f, 0)) *
                                                Matrix4::OrthoOffCenterLH(0, w, 0, h, 0, 1));
    _device->SetTransform(GFXTS_VIEW, Matrix4::Identity());
    _device->BeginScene();
    _device->Clear(GFXCLEAR_TARGET, 0xFF000000u, 0.0f);
  }

  void TearDown() override {
    _device.reset();
    _system.reset();
    AppWindow::GetInstance().Destroy();
    _library.Unload();
  }

  // A texture of w x h from colours given top row first as 0xAARRGGBB.
  std::unique_ptr<IGfxTexture> Texture(uint32_t w, uint32_t h, uint32_t format,
                                       const std::vector<uint32_t>& argb) {
    std::unique_ptr<IGfxTexture> t = _device->CreateTexture(w, h, format);
    GfxLockedRect locked;
    EXPECT_TRUE(t->LockRect(locked));
    // Texture rows run from v = 0; the picture's top row is the last one.
    for (uint32_t y = 0; y < h; ++y) {
      std::memcpy(static_cast<uint8_t*>(locked.bits) + size_t(y) * locked.pitch, &argb[(h - 1 - y) * w],
                  w * 4);
    }
    t->UnlockRect();
    return t;
  }

  void Quad(float x, float y, float w, float h, uint32_t color, float u1 = 1.0f, float v0 = 0.0f) {
    TexturedVertex q[4] = {{x, y, 0, color, 0, 1},
                           {x + w, y, 0, color, u1, 1},
                           {x + w, y + h, 0, color, u1, v0},
                           {x, y + h, 0, color, 0, v0}};
    _device->SetVertexShader(GFXFVF_XYZ_DIFFUSE_TEX1);
    ASSERT_TRUE(_device->DrawPrimitiveUP(GFXPT_TRIANGLEFAN, 2, q, sizeof(TexturedVertex)));
  }

  // The back buffer as 0x00RRGGBB values, rows top down.
  std::vector<uint32_t> Read() {
    std::unique_ptr<IGfxSurface> back = _device->GetBackBuffer();
    std::unique_ptr<IGfxSurface> copy = _device->CreateImageSurface(kWidth, kHeight, GFXFMT_X8R8G8B8);
    EXPECT_TRUE(_device->CopyRects(*back, *copy));
    GfxLockedRect locked;
    EXPECT_TRUE(copy->LockRect(locked, true));
    std::vector<uint32_t> pixels(kWidth * kHeight);
    for (uint32_t y = 0; y < kHeight; ++y) {
      for (uint32_t x = 0; x < kWidth; ++x) {
        uint32_t p;
        std::memcpy(&p, static_cast<uint8_t*>(locked.bits) + size_t(y) * locked.pitch + x * 4, 4);
        pixels[y * kWidth + x] = p & 0xFFFFFF;
      }
    }
    copy->UnlockRect();
    return pixels;
  }

  static uint32_t At(const std::vector<uint32_t>& p, int x, int y) { return p[size_t(y) * kWidth + x]; }

  GlLibrary _library;
  std::unique_ptr<IGfxSystem> _system;
  SDL_Window* _window = nullptr;
  std::unique_ptr<GlDevice> _device;
};

TEST_P(GlDeviceTest, QuadOnIntegerPositionsMapsTexelsOneToOne) {
  auto t = Texture(2, 2, GFXFMT_A8R8G8B8, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
  _device->SetTexture(0, t.get());
  Quad(10, 20, 2, 2, 0xFFFFFFFF);
  const auto p = Read();
  EXPECT_EQ(At(p, 10, 20), 0xFF0000u);
  EXPECT_EQ(At(p, 11, 20), 0x00FF00u);
  EXPECT_EQ(At(p, 10, 21), 0x0000FFu);
  EXPECT_EQ(At(p, 11, 21), 0xFFFFFFu);
  for (auto [x, y] : {std::pair{9, 20}, {12, 20}, {10, 19}, {10, 22}}) {
    EXPECT_EQ(At(p, x, y), 0u) << x << "," << y;
  }
}

TEST_P(GlDeviceTest, CullingKeepsClockwiseQuadsAndDropsMirroredOnes) {
  auto t = Texture(1, 1, GFXFMT_A8R8G8B8, {0xFFFFFFFF});
  _device->SetTexture(0, t.get());
  Quad(4, 4, 8, 8, 0xFF00FF00);
  Quad(30, 4, -8, 8, 0xFFFF0000);  // mirrored: counter-clockwise on screen
  _device->SetRenderState(GFXRS_CULLMODE, GFXCULL_NONE);
  Quad(50, 4, -8, 8, 0xFF0000FF);
  const auto p = Read();
  EXPECT_EQ(At(p, 8, 8), 0x00FF00u);
  EXPECT_EQ(At(p, 26, 8), 0u);
  EXPECT_EQ(At(p, 46, 8), 0x0000FFu);
}

TEST_P(GlDeviceTest, TextureWithoutAlphaShowsWhateverItsFourthByte) {
  auto t = Texture(1, 1, GFXFMT_X8R8G8B8, {0x00336699});
  auto a = Texture(1, 1, GFXFMT_A8R8G8B8, {0x00336699});
  _device->SetTexture(0, t.get());
  Quad(0, 0, 4, 4, 0xFFFFFFFF);
  _device->SetTexture(0, a.get());
  Quad(8, 0, 4, 4, 0xFFFFFFFF);
  const auto p = Read();
  EXPECT_EQ(At(p, 1, 1), 0x336699u);
  EXPECT_EQ(At(p, 9, 1), 0u);  // alpha 0 fails the alpha test
}

TEST_P(GlDeviceTest, BatchedDrawsKeepOrderStatesAndTransforms) {
  auto red = Texture(1, 1, GFXFMT_A8R8G8B8, {0xFFFF0000});
  auto green = Texture(1, 1, GFXFMT_A8R8G8B8, {0xFF00FF00});
  // Red, then half-transparent green over it, then red again through a view
  // translation, then additive green.
  _device->SetTexture(0, red.get());
  Quad(0, 0, 10, 10, 0xFFFFFFFF);
  _device->SetTexture(0, green.get());
  Quad(5, 0, 10, 10, 0x80FFFFFF);
  _device->SetTransform(GFXTS_VIEW, Matrix4::Translation(Vector3(20, 0, 0)));
  _device->SetTexture(0, red.get());
  Quad(0, 0, 10, 10, 0xFFFFFFFF);
  _device->SetRenderState(GFXRS_DESTBLEND, GFXBLEND_ONE);
  _device->SetTexture(0, green.get());
  Quad(5, 0, 10, 10, 0xFFFFFFFF);
  _device->SetRenderState(GFXRS_DESTBLEND, GFXBLEND_INVSRCALPHA);
  _device->SetTransform(GFXTS_VIEW, Matrix4::Identity());
  const auto p = Read();
  EXPECT_EQ(At(p, 2, 2), 0xFF0000u);
  EXPECT_EQ(At(p, 7, 2), 0x7F8000u);   // red * (1 - 0x80/255) + green * 0x80/255
  EXPECT_EQ(At(p, 12, 2), 0x008000u);  // green at half over black
  EXPECT_EQ(At(p, 22, 2), 0xFF0000u);
  EXPECT_EQ(At(p, 27, 2), 0xFFFF00u);  // additive
  EXPECT_EQ(At(p, 32, 2), 0x00FF00u);
}

TEST_P(GlDeviceTest, ClearTouchesOnlyTheViewport) {
  _device->Clear(GFXCLEAR_TARGET, 0xFF102030u, 0.0f);
  _device->SetViewport(GfxViewport{8, 4, 10, 6, 0.0f, 1.0f});
  _device->Clear(GFXCLEAR_TARGET, 0xFFFFFFFFu, 0.0f);
  const auto p = Read();
  EXPECT_EQ(At(p, 8, 4), 0xFFFFFFu);
  EXPECT_EQ(At(p, 17, 9), 0xFFFFFFu);
  EXPECT_EQ(At(p, 7, 4), 0x102030u);
  EXPECT_EQ(At(p, 18, 9), 0x102030u);
  EXPECT_EQ(At(p, 8, 10), 0x102030u);
}

TEST_P(GlDeviceTest, AlphaTestStillDropsWhereBlendingWouldNot) {
  auto red = Texture(1, 1, GFXFMT_A8R8G8B8, {0xFFFF0000});
  auto clear = Texture(1, 1, GFXFMT_A8R8G8B8, {0x0000FF00});
  _device->SetRenderState(GFXRS_ALPHABLENDENABLE, 0);
  _device->SetTexture(0, red.get());
  Quad(0, 0, 8, 8, 0xFFFFFFFF);
  _device->SetTexture(0, clear.get());
  Quad(0, 0, 8, 8, 0xFFFFFFFF);
  // Blending is off: only the alpha test keeps the transparent texel from
  // replacing red.
  const auto p = Read();
  EXPECT_EQ(At(p, 4, 4), 0xFF0000u);
}

// Small textures that take turns are drawn from an atlas page, a run of one
// texture from its own: both must give the same pixels, also filtered.
TEST_P(GlDeviceTest, AtlasCellsSampleAsTheTexturesOwn) {
  std::vector<uint32_t> ramp;
  for (int i = 0; i < 16; ++i) ramp.push_back(0xFF000000u | uint32_t(i * 16) << 16 | uint32_t(255 - i * 16));
  auto image = Texture(4, 4, GFXFMT_A8R8G8B8, ramp);
  auto other = Texture(1, 1, GFXFMT_A8R8G8B8, {0xFF00FF00});
  _device->SetTextureStageState(0, GFXTSS_MAGFILTER, GFXTEXF_LINEAR);
  _device->SetTextureStageState(0, GFXTSS_MINFILTER, GFXTEXF_LINEAR);
  _device->SetTexture(0, other.get());
  Quad(0, 40, 2, 2, 0xFFFFFFFF);
  _device->SetTexture(0, image.get());
  Quad(30, 0, 13, 11, 0xFFFFFFFF);  // after another texture: from the atlas
  _device->EndScene();
  _device->BeginScene();
  Quad(10, 0, 13, 11, 0xFFFFFFFF);  // the same texture again: its own
  EXPECT_EQ(_device->GetAtlasPageCount(), 1u);
  const auto p = Read();
  int differences = 0;
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 13; ++x) differences += At(p, 10 + x, y) != At(p, 30 + x, y);
  }
  EXPECT_EQ(differences, 0);
  EXPECT_NE(At(p, 10, 0), At(p, 22, 10));  // a ramp, not one colour
  EXPECT_EQ(At(p, 9, 5), 0u);
  EXPECT_EQ(At(p, 43, 5), 0u);
}

TEST_P(GlDeviceTest, RefilledTextureLeavesEarlierDrawsAsTheyWere) {
  auto texture = Texture(1, 1, GFXFMT_A8R8G8B8, {0xFFFF0000});
  auto other = Texture(1, 1, GFXFMT_A8R8G8B8, {0xFF0000FF});
  auto refill = [&](uint32_t argb) {
    GfxLockedRect locked;
    ASSERT_TRUE(texture->LockRect(locked));
    std::memcpy(locked.bits, &argb, 4);
    texture->UnlockRect();
  };
  // Its own texture: one run, refilled in between.
  _device->SetTexture(0, texture.get());
  Quad(0, 0, 4, 4, 0xFFFFFFFF);
  Quad(0, 0, 4, 4, 0xFFFFFFFF);
  refill(0xFF00FF00);
  Quad(8, 0, 4, 4, 0xFFFFFFFF);
  // In the atlas: taking turns with another texture.
  refill(0xFFFF0000);
  for (float x : {20.0f, 28.0f}) {
    _device->SetTexture(0, other.get());
    Quad(x + 4, 0, 2, 2, 0xFFFFFFFF);
    _device->SetTexture(0, texture.get());
    Quad(x, 0, 4, 4, 0xFFFFFFFF);
    refill(0xFF00FF00);
  }
  const auto p = Read();
  EXPECT_EQ(At(p, 1, 1), 0xFF0000u);
  EXPECT_EQ(At(p, 9, 1), 0x00FF00u);
  EXPECT_EQ(At(p, 21, 1), 0xFF0000u);
  EXPECT_EQ(At(p, 29, 1), 0x00FF00u);
}

TEST_P(GlDeviceTest, ReleasedTexturesGiveTheirAtlasCellsBack) {
  // 300 textures of 64 x 64 taking turns fill more than one page; once they
  // are gone, the next 300 take their cells.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    std::vector<std::unique_ptr<IGfxTexture>> textures;
    for (int i = 0; i < 300; ++i) {
      textures.push_back(
          Texture(64, 64, GFXFMT_X8R8G8B8, std::vector<uint32_t>(64 * 64, 0x00000000u | uint32_t(i))));
      _device->SetTexture(0, textures.back().get());
      Quad(float(i % 60), 0, 1, 1, 0xFFFFFFFF);
    }
    _device->SetTexture(0, nullptr);
    EXPECT_EQ(At(Read(), 59, 0), 299u);  // the last texture drawn there, its fourth byte ignored
    textures.clear();
    _device->EndScene();
    _device->Present();
    _device->BeginScene();
    EXPECT_EQ(_device->GetAtlasPageCount(), 2u);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, GlDeviceTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "WindowBuffers" : "FramebufferObject";
                         });

}  // namespace
