// Particles per frame at 60 frames a second: one emitter of N particles
// (16 x 16 quads of a 16 x 16 image, additive, colour, size and friction
// tracks, born over the whole 800 x 600 window) updated and drawn through
// RenderSystemHardware on OpenGL, each frame cleared, drawn, presented and
// finished (glFinish) before the clock is read. The emitter runs in its
// steady state: N particles a second, each living one second. The
// particles are drawn in one call a frame, and, to compare, one call a
// particle (as an animated emitter draws them).
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
#include "core/Random.h"
#include "image/Image.h"
#include "particles/EmitRegion.h"
#include "particles/Emitter.h"
#include "render/RenderSystemHardware.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr unsigned kFrameMs = 16;
constexpr double kBudget = 1.0 / 60.0;

using FinishFunction = void (*)();
FinishFunction g_finish = nullptr;
std::unique_ptr<LLF::Image> g_image;

// Median seconds per frame by (draw mode, particles).
std::map<std::string, std::map<int, double>> g_frameTimes;

bool Start() {
  if (!QmBench::StartHardwareRender(L"emitter bench", kWidth, kHeight)) return false;
  // A soft round spark.
  g_image = std::make_unique<LLF::Image>(16, 16, LLF::IMGFORMAT_R8G8B8A8);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int d2 = (2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15);
      const LLF::Color c(255, 255, 255, uint8_t(std::max(0, 255 - d2)));
      g_image->SetPixel(x, y, &c);
    }
  }
  g_image->Update(0, 0, true);
  g_finish = reinterpret_cast<FinishFunction>(SDL_GL_GetProcAddress("glFinish"));
  return g_finish != nullptr;
}

void Stop() {
  g_image.reset();
  QmBench::StopHardwareRender();
}

// An emitter in its steady state of about `particles` live particles.
std::unique_ptr<HLF::Emitter> MakeEmitter(int particles, bool perParticle) {
  LLF::SeedRandom(1);
  auto emitter = std::make_unique<HLF::Emitter>();
  emitter->SetImageObject(g_image.get());
  HLF::EmitRegion* region = HLF::EmitRegion::Create(L"rectangle");
  region->SetData(L"0,0,800,600");
  emitter->SetEmitRegion(region);
  emitter->SetEmitRate(float(particles));
  emitter->SetParticleLife(1000, 0);
  emitter->SetColorTrack(
      {HLF::ColorKey(LLF::Color(255, 240, 180, 255), 0.0f), HLF::ColorKey(LLF::Color(255, 80, 0, 0), 1.0f)});
  HLF::ParticleSystem& system = emitter->GetParticleSystem();
  system.SetSizeTrack({HLF::VectorKey(LLF::Vector2(8, 8), 0.0f), HLF::VectorKey(LLF::Vector2(4, 4), 1.0f)});
  system.SetFrictionTrack({HLF::VectorKey(LLF::Vector2(5, 5), 0.0f)});
  system.SetSpeed(LLF::Vector2(0, -30), LLF::Vector2(15, 10));
  system.SetAcceleration(LLF::Vector2(0, 20), LLF::Vector2(2, 2));
  // A frame step far longer than the run: one draw a particle, frames
  // never change.
  system.SetImageFramesSpeed(perParticle ? 1000000.0f : 0.0f);
  emitter->Start(0);
  // Past the first particle life, so as many die as are born each frame.
  for (unsigned t = 0; t < 1200; t += kFrameMs) emitter->Update(kFrameMs);
  return emitter;
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

void BM_Emitter(benchmark::State& state) {
  const int particles = int(state.range(0));
  const bool perParticle = state.range(1) != 0;
  LLF::RenderSystemHardware& rs = LLF::RenderSystemHardware::GetInstance();
  std::unique_ptr<HLF::Emitter> emitter = MakeEmitter(particles, perParticle);
  std::vector<double> frames;
  std::vector<double> updates;
  size_t live = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    emitter->Update(kFrameMs);
    updates.push_back(Seconds(start));
    rs.BeginFrame();
    rs.Clear(LLF::Color(0, 0, 0, 255), true, false);
    emitter->Render(&rs, nullptr);
    rs.EndFrame();
    g_finish();
    frames.push_back(Seconds(start));
    live += emitter->GetParticleSystem().GetParticles().size();
    state.SetIterationTime(frames.back());
  }
  std::sort(frames.begin(), frames.end());
  std::sort(updates.begin(), updates.end());
  const double frame = frames.empty() ? 0.0 : frames[frames.size() / 2];
  g_frameTimes[perParticle ? "one call a particle" : "one call a frame"][particles] = frame;
  state.counters["frame_ms"] = frame * 1000.0;
  state.counters["update_ms"] = updates.empty() ? 0.0 : updates[updates.size() / 2] * 1000.0;
  state.counters["live"] = frames.empty() ? 0.0 : double(live) / double(frames.size());
}

// The largest N measured within the budget, and N where the line through
// the two measurements around the budget crosses it.
void Report(const std::string& mode, const std::map<int, double>& times) {
  int within = 0;
  double estimate = 0.0;
  auto previous = times.end();
  for (auto it = times.begin(); it != times.end(); previous = it++) {
    if (it->second < kBudget) within = it->first;
    if (previous != times.end() && previous->second < kBudget && it->second >= kBudget) {
      const double slope = (it->second - previous->second) / double(it->first - previous->first);
      estimate = slope > 0 ? previous->first + (kBudget - previous->second) / slope : 0.0;
    }
  }
  std::printf("%-22s %18d %22.0f\n", mode.c_str(), within, estimate);
}

}  // namespace

int main(int argc, char** argv) {
  // The log goes to a private folder, never the user's.
  LLF::Log::GetInstance().SetFolder(LLF::OS_GetTempDir() + L"emitter_bench");
  benchmark::Initialize(&argc, argv);
  if (!Start()) {
    std::fprintf(stderr, "emitter_bench: cannot start OpenGL: %s\n", SDL_GetError());
    return 1;
  }
  const auto glGetString = reinterpret_cast<const char* (*)(unsigned)>(SDL_GL_GetProcAddress("glGetString"));
  const std::string gl = glGetString ? glGetString(0x1F01) : "?";
  benchmark::RegisterBenchmark("Emitter", BM_Emitter)
      ->ArgNames({"particles", "per_particle"})
      ->ArgsProduct({{500, 1000, 2000, 3000, 4000, 6000, 8000, 16000, 32000, 64000}, {0}})
      ->ArgsProduct({{1000, 2000, 4000, 8000}, {1}})
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->MinTime(1.0);
  benchmark::RunSpecifiedBenchmarks();

  std::printf("\nParticles per frame at 60 frames a second (update + draw + present, %d x %d, OpenGL: %s)\n",
              kWidth, kHeight, gl.c_str());
  std::printf("%-22s %18s %22s\n", "draws", "largest N measured", "N at 16.7 ms (line)");
  for (const auto& [mode, times] : g_frameTimes) Report(mode, times);
  Stop();
  benchmark::Shutdown();
  return 0;
}
