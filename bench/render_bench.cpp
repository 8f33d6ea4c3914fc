// Sprites per frame at 60 frames a second: N textured 32 x 32 sprites per
// frame drawn through RenderSystemHardware and through SDL_Renderer's
// geometry path (SDL_RenderGeometry on its OpenGL renderer, batching on,
// linear filtering as ours), in one run on the same OpenGL, with one shared
// texture and with 64 textures taken in turn. Every frame is cleared, drawn,
// presented and finished (glFinish) before the clock is read; the two paths
// draw their frames in turn, so load from elsewhere falls on both alike.
// Each path is timed empty and with 20000 sprites; the sprites a 1/60 s
// frame holds follow from the two medians.
//
// Run headless with SDL_VIDEODRIVER=offscreen (Mesa llvmpipe), or on a
// desktop for the real driver.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "HardwareRenderSetup.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "gl/GlDevice.h"
#include "image/Image.h"
#include "render/RenderSystemHardware.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSide = 32;
constexpr int kTextures = 64;
constexpr int kSprites = 20000;

using FinishFunction = void (*)();
FinishFunction g_finish = nullptr;

struct Sprite {
  float x, y;
};
std::vector<Sprite> g_sprites;

// Median frame time in seconds per (path, textures, sprites).
std::map<std::string, std::map<int, std::map<int, double>>> g_frameTimes;

// The same pixels for both paths: texture t is a 32 x 32 gradient with a
// transparent corner, tinted by t.
uint32_t TexelRGBA(int t, int x, int y) {
  const uint8_t a = (x < 4 && y < 4) ? 0 : 255;
  return uint32_t(uint8_t(x * 8)) | uint32_t(uint8_t(y * 8)) << 8 | uint32_t(uint8_t(t * 4)) << 16 |
         uint32_t(a) << 24;
}

void MakeSprites() {
  // A fixed linear congruential sequence: the same layout every run.
  uint32_t seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  g_sprites.resize(kSprites);
  for (Sprite& s : g_sprites) {
    s.x = float(next() % (kWidth - kSide));
    s.y = float(next() % (kHeight - kSide));
  }
}

// Seconds one frame takes, drawn and finished.
template <class DrawFrame>
double TimeFrame(DrawFrame& draw, int sprites, int textures) {
  const auto start = std::chrono::steady_clock::now();
  draw(sprites, textures);
  g_finish();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// ---------------------------------------------------------------------------
// RenderSystemHardware

std::vector<std::unique_ptr<LLF::Image>> g_images;

bool StartOurs() {
  if (!QmBench::StartHardwareRender(L"render bench", kWidth, kHeight)) return false;
  for (int t = 0; t < kTextures; ++t) {
    auto image = std::make_unique<LLF::Image>(kSide, kSide, LLF::IMGFORMAT_R8G8B8A8);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const uint32_t p = TexelRGBA(t, x, y);
        const LLF::Color c(uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16), uint8_t(p >> 24));
        image->SetPixel(x, y, &c);
      }
    }
    image->Update(0, 0, true);
    g_images.push_back(std::move(image));
  }
  return true;
}

void StopOurs() {
  g_images.clear();
  QmBench::StopHardwareRender();
}

void DrawOurs(int sprites, int textures) {
  LLF::RenderSystemHardware& rs = LLF::RenderSystemHardware::GetInstance();
  HLF::ImageDrawParams params;
  params.transform = 0;
  rs.BeginFrame();
  rs.Clear(LLF::Color(0, 0, 0, 255), true, false);
  for (int i = 0; i < sprites; ++i) {
    params.position = LLF::Vector2(g_sprites[size_t(i)].x, g_sprites[size_t(i)].y);
    rs.DrawImage(g_images[size_t(i % textures)].get(), params);
  }
  rs.EndFrame();
}

void MakeOursCurrent() {
  static_cast<LLF::GlDevice*>(LLF::RenderSystemHardware::GetInstance().GetDevice())->MakeCurrent();
}

// ---------------------------------------------------------------------------
// SDL_Renderer

SDL_Window* g_sdlWindow = nullptr;
SDL_Renderer* g_renderer = nullptr;
SDL_GLContext g_sdlContext = nullptr;
std::vector<SDL_Texture*> g_sdlTextures;

bool StartSdl() {
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  // Linear filtering, as the render system samples by default.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  g_sdlWindow = SDL_CreateWindow("render bench: SDL_Renderer", 0, 0, kWidth, kHeight,
                                 SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!g_sdlWindow) return false;
  g_renderer = SDL_CreateRenderer(g_sdlWindow, -1, SDL_RENDERER_ACCELERATED);
  if (!g_renderer) return false;
  g_sdlContext = SDL_GL_GetCurrentContext();
  std::vector<uint32_t> pixels(kSide * kSide);
  for (int t = 0; t < kTextures; ++t) {
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) pixels[size_t(y * kSide + x)] = TexelRGBA(t, x, y);
    }
    SDL_Texture* texture =
        SDL_CreateTexture(g_renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, kSide, kSide);
    if (!texture) return false;
    SDL_UpdateTexture(texture, nullptr, pixels.data(), kSide * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    g_sdlTextures.push_back(texture);
  }
  return true;
}

void StopSdl() {
  for (SDL_Texture* t : g_sdlTextures) SDL_DestroyTexture(t);
  g_sdlTextures.clear();
  if (g_renderer) SDL_DestroyRenderer(g_renderer);
  if (g_sdlWindow) SDL_DestroyWindow(g_sdlWindow);
}

void DrawSdl(int sprites, int textures) {
  static const int indices[6] = {0, 1, 2, 0, 2, 3};
  SDL_SetRenderDrawColor(g_renderer, 0, 0, 0, 255);
  SDL_RenderClear(g_renderer);
  SDL_Vertex quad[4];
  for (SDL_Vertex& v : quad) v.color = SDL_Color{255, 255, 255, 255};
  for (int i = 0; i < sprites; ++i) {
    const float x = g_sprites[size_t(i)].x;
    const float y = g_sprites[size_t(i)].y;
    quad[0].position = {x, y};
    quad[0].tex_coord = {0, 0};
    quad[1].position = {x + kSide, y};
    quad[1].tex_coord = {1, 0};
    quad[2].position = {x + kSide, y + kSide};
    quad[2].tex_coord = {1, 1};
    quad[3].position = {x, y + kSide};
    quad[3].tex_coord = {0, 1};
    SDL_RenderGeometry(g_renderer, g_sdlTextures[size_t(i % textures)], quad, 4, indices, 6);
  }
  SDL_RenderPresent(g_renderer);
}

void MakeSdlCurrent() {
  SDL_GL_MakeCurrent(g_sdlWindow, g_sdlContext);
}

// One frame through each path in turn, so that other load on the machine
// falls on both alike; the iteration time is the pair's.
void BM_Frames(benchmark::State& state) {
  const int sprites = int(state.range(0));
  const int textures = int(state.range(1));
  std::vector<double> ours;
  std::vector<double> theirs;
  // Warm up: uploads, first-use compilation.
  MakeOursCurrent();
  TimeFrame(DrawOurs, sprites, textures);
  MakeSdlCurrent();
  TimeFrame(DrawSdl, sprites, textures);
  for (auto _ : state) {
    MakeOursCurrent();
    ours.push_back(TimeFrame(DrawOurs, sprites, textures));
    MakeSdlCurrent();
    theirs.push_back(TimeFrame(DrawSdl, sprites, textures));
    state.SetIterationTime(ours.back() + theirs.back());
  }
  g_frameTimes["RenderSystemHardware"][textures][sprites] = Median(ours);
  g_frameTimes["SDL_RenderGeometry"][textures][sprites] = Median(theirs);
  state.counters["ours_ms"] = Median(ours) * 1000.0;
  state.counters["sdl_ms"] = Median(theirs) * 1000.0;
}

void Register() {
  benchmark::RegisterBenchmark("Frames", BM_Frames)
      ->ArgNames({"sprites", "textures"})
      ->ArgsProduct({{0, kSprites}, {1, kTextures}})
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->MinTime(3.0);
}

// Sprites a 1/60 s frame holds: the empty frame's time (clear and present)
// plus the cost per sprite measured with kSprites.
double SpritesAt60(const std::map<int, double>& times) {
  if (times.count(0) == 0 || times.count(kSprites) == 0) return 0.0;
  const double fixed = times.at(0);
  const double perSprite = (times.at(kSprites) - fixed) / double(kSprites);
  if (perSprite <= 0.0) return 0.0;
  return std::max(0.0, (1.0 / 60.0 - fixed) / perSprite);
}

}  // namespace

int main(int argc, char** argv) {
  // The log goes to a private folder, never the user's.
  LLF::Log::GetInstance().SetFolder(LLF::OS_GetTempDir() + L"render_bench");
  benchmark::Initialize(&argc, argv);
  MakeSprites();
  if (!StartOurs() || !StartSdl()) {
    std::fprintf(stderr, "render_bench: cannot start OpenGL: %s\n", SDL_GetError());
    return 1;
  }
  g_finish = reinterpret_cast<FinishFunction>(SDL_GL_GetProcAddress("glFinish"));
  const auto renderer = reinterpret_cast<const char* (*)(unsigned)>(SDL_GL_GetProcAddress("glGetString"));
  MakeOursCurrent();
  const std::string gl = renderer ? renderer(0x1F01) : "?";
  Register();
  benchmark::RunSpecifiedBenchmarks();

  std::printf("\nSprites per frame at 60 frames a second (32 x 32, %d x %d, OpenGL: %s)\n", kWidth, kHeight,
              gl.c_str());
  std::printf("%-14s %22s %22s %8s\n", "textures", "RenderSystemHardware", "SDL_RenderGeometry", "ratio");
  for (int textures : {1, kTextures}) {
    const double ours = SpritesAt60(g_frameTimes["RenderSystemHardware"][textures]);
    const double theirs = SpritesAt60(g_frameTimes["SDL_RenderGeometry"][textures]);
    std::printf("%-14d %22.0f %22.0f %8.2f\n", textures, ours, theirs, theirs > 0 ? ours / theirs : 0.0);
  }
  StopSdl();
  StopOurs();
  benchmark::Shutdown();
  return 0;
}
