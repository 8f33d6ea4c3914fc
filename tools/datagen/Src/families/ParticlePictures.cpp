#include "families/ParticlePictures.h"

#include <algorithm>
#include <cmath>

#include "Staging.h"
#include "draw/Raster.h"

namespace Datagen {

Raster ParticlePictures::SoftDot(int size) {
  Raster dot(size, size);
  const float centre = size * 0.5f;
  const float radius = size * 0.5f;
  dot.Paint([](float, float) { return 1.0f; },
            [=](float x, float y) {
              const float r = std::min(1.0f, std::hypot(x - centre, y - centre) / radius);
              // A soft halo that reaches zero at the rim, and a hot core.
              const float halo = std::pow(1.0f - r * r, 2.0f);
              const float core = std::exp(-r * r * 18.0f);
              return Rgba{1.0f, 1.0f, 1.0f, std::clamp(0.55f * halo + 0.45f * core, 0.0f, 1.0f)};
            });
  return dot;
}

bool ParticlePictures::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  return staging.SavePng("images/particle.png", SoftDot(32), report);
}

}  // namespace Datagen
