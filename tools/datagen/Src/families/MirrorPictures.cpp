#include "families/MirrorPictures.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Staging.h"
#include "core/Random.h"
#include "draw/Shape.h"
#include "draw/ValueNoise.h"
#include "encode/WavEncoder.h"
#include "synth/Waveform.h"

namespace Datagen {

namespace {

constexpr unsigned kSoundSeed = 0x3199;

float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

// A fill of the whole picture below (or above) a line.
Raster::Coverage Below(const std::function<float(float)>& line) {
  return [line](float x, float y) { return Clamp01(y - line(x) + 0.5f); };
}

void Tree(Raster& picture, float x, float foot, float height, const Rgba& leaves) {
  const float trunk = height * 0.08f;
  picture.Paint(Shape::RoundedRect(x - trunk, foot - height * 0.35f, x + trunk, foot, 1.0f),
                Rgba::Bytes(86, 58, 34));
  const std::vector<Point2> crown = {{x, foot - height},
                                     {x + height * 0.32f, foot - height * 0.3f},
                                     {x - height * 0.32f, foot - height * 0.3f}};
  picture.Paint(Shape::Polygon(crown),
                [&](float px, float) { return leaves.Shade((px - x) / height * 0.6f); });
}

void House(Raster& picture, float x, float foot, float width, const Rgba& wall) {
  const float height = width * 0.6f;
  picture.Paint(Shape::RoundedRect(x, foot - height, x + width, foot, 0.5f), wall);
  const std::vector<Point2> roof = {{x - width * 0.1f, foot - height},
                                    {x + width * 0.5f, foot - height - width * 0.45f},
                                    {x + width * 1.1f, foot - height}};
  picture.Paint(Shape::Polygon(roof), Rgba::Bytes(150, 52, 40));
  picture.Paint(Shape::RoundedRect(x + width * 0.4f, foot - height * 0.55f, x + width * 0.6f, foot, 0.5f),
                Rgba::Bytes(70, 44, 30));
}

bool SaveSound(Staging& staging, const char* file, Waveform& wave, Report& report) {
  wave.FadeOut(0.02);
  return staging.Write(file, WavEncoder::Encode(wave.ToPcm16(), wave.SampleRate(), 1), report);
}

}  // namespace

const std::vector<MirrorPictures::Level>& MirrorPictures::Levels() {
  using S = Sprite;
  static const std::vector<Level> levels = {
      {"levels/d1_mirror",
       1101u,
       {{S::Flower, 48, 48}, {S::Star, 40, 40}, {S::Window, 36, 44}, {S::Ball, 44, 44}, {S::Flower, 40, 40}}},
      {"levels/d3_mirror",
       3303u,
       {{S::Star, 44, 44},
        {S::Ball, 36, 36},
        {S::Window, 40, 48},
        {S::Flower, 52, 52},
        {S::Star, 32, 32},
        {S::Ball, 48, 48},
        {S::Window, 36, 40}}},
  };
  return levels;
}

Raster MirrorPictures::DrawLandscape(unsigned seed, int width, int height) {
  LLF::SeedRandom(seed);
  const ValueNoise noise(seed, 64);
  const float w = float(width);
  const float h = float(height);
  const float horizon = h * 0.40f;
  const float meadow = h * 0.60f;
  const float sunX = LLF::RandomRange(w * 0.2f, w * 0.8f);
  const float sunY = LLF::RandomRange(h * 0.12f, h * 0.24f);
  Raster picture(width, height);
  // Sky: deep blue at the top, warm towards the horizon, the sun's glow.
  picture.Paint([](float, float) { return 1.0f; },
                [&](float x, float y) {
                  Rgba c = Rgba::Bytes(58, 104, 184).Mix(Rgba::Bytes(250, 204, 150), Clamp01(y / horizon));
                  const float glow = std::max(0.0f, 1.0f - std::hypot(x - sunX, y - sunY) / 150.0f);
                  return c.Mix(Rgba::Bytes(255, 236, 180), glow * glow * 0.6f);
                });
  picture.Paint(Shape::Circle(sunX, sunY, 30.0f), Rgba::Bytes(255, 240, 170));
  // Three ranges of hills, far to near.
  const Rgba ranges[] = {Rgba::Bytes(124, 138, 178), Rgba::Bytes(84, 120, 110), Rgba::Bytes(60, 112, 62)};
  for (int layer = 0; layer < 3; ++layer) {
    const float base = horizon + float(layer) * h * 0.07f;
    const float amplitude = h * (0.16f - float(layer) * 0.03f);
    const float offset = float(layer) * 37.0f;
    const auto ridge = [&, base, amplitude, offset](float x) {
      return base - amplitude * noise.Fractal(x / 90.0f + offset, offset, 4);
    };
    picture.Paint(Below(ridge), [&, layer](float x, float y) {
      const float texture = noise.Fractal(x / 14.0f, y / 14.0f + float(layer) * 11.0f, 3) - 0.5f;
      return ranges[layer].Shade(texture * 0.25f - Clamp01((y - base) / h) * 0.3f);
    });
  }
  // The meadow with its grass texture.
  picture.Paint(Below([&](float x) { return meadow + 6.0f * std::sin(x / 50.0f); }), [&](float x, float y) {
    const float texture = noise.Fractal(x / 6.0f, y / 6.0f + 40.0f, 3) - 0.5f;
    const float depth = Clamp01((y - meadow) / (h - meadow));
    return Rgba::Bytes(110, 168, 70).Mix(Rgba::Bytes(58, 118, 44), depth).Shade(texture * 0.3f);
  });
  // A lake.
  const float lakeX = LLF::RandomRange(w * 0.3f, w * 0.7f);
  const float lakeY = h * 0.70f;
  picture.Paint(Shape::Ellipse(lakeX, lakeY, w * 0.32f, 26.0f), [&](float x, float y) {
    const float ripple = 0.08f * std::sin(y * 1.7f + x * 0.05f);
    return Rgba::Bytes(70, 130, 190)
        .Mix(Rgba::Bytes(150, 196, 230), Clamp01((lakeY + 26.0f - y) / 52.0f))
        .Shade(ripple);
  });
  // Houses and trees, nearer ones lower and larger.
  for (int i = 0; i < 2; ++i) {
    const float x = LLF::RandomRange(w * 0.05f, w * 0.75f);
    const float foot = LLF::RandomRange(meadow + 10.0f, meadow + 40.0f);
    House(picture, x, foot, 40.0f + float(i) * 10.0f,
          i == 0 ? Rgba::Bytes(232, 214, 180) : Rgba::Bytes(214, 190, 150));
  }
  for (int i = 0; i < 9; ++i) {
    const float foot = LLF::RandomRange(meadow + 20.0f, h - 20.0f);
    const float x = LLF::RandomRange(10.0f, w - 10.0f);
    const float size = 30.0f + (foot - meadow) * 0.35f;
    Tree(picture, x, foot, size, Rgba::Bytes(36, 96 + (i * 13) % 50, 44));
  }
  return picture;
}

Raster MirrorPictures::DrawSprite(Sprite sprite, int width, int height, unsigned seed) {
  Raster picture(width, height);
  const float w = float(width);
  const float h = float(height);
  const float cx = w * 0.5f;
  const float cy = h * 0.5f;
  const float r = std::min(w, h) * 0.5f - 1.5f;
  switch (sprite) {
    case Sprite::Flower: {
      const Rgba petal = (seed % 2) ? Rgba::Bytes(236, 80, 150) : Rgba::Bytes(150, 90, 230);
      for (int i = 0; i < 6; ++i) {
        const float a = float(i) * 3.14159265f / 3.0f;
        picture.Paint(Shape::Circle(cx + std::cos(a) * r * 0.55f, cy + std::sin(a) * r * 0.55f, r * 0.42f),
                      petal.Shade(0.1f * float(i % 2)));
      }
      picture.Paint(Shape::Circle(cx, cy, r * 0.32f), Rgba::Bytes(255, 214, 60));
      break;
    }
    case Sprite::Star: {
      const std::vector<Point2> star = Shape::StarPoints(cx, cy + r * 0.05f, 5, r, r * 0.45f);
      picture.Paint(Shape::Polygon(star), Rgba::Bytes(120, 70, 10));
      const std::vector<Point2> inner = Shape::StarPoints(cx, cy + r * 0.05f, 5, r * 0.82f, r * 0.36f);
      picture.Paint(Shape::Polygon(inner), [&](float, float y) {
        return Rgba::Bytes(255, 236, 90).Mix(Rgba::Bytes(246, 160, 30), Clamp01((y - cy + r) / (2 * r)));
      });
      break;
    }
    case Sprite::Window: {
      picture.Paint(Shape::RoundedRect(1, 1, w - 1, h - 1, 3.0f), Rgba::Bytes(104, 62, 30));
      const float inset = std::max(3.0f, w * 0.12f);
      picture.Paint(Shape::RoundedRect(inset, inset, w - inset, h - inset, 1.0f), [&](float, float y) {
        return Rgba::Bytes(250, 236, 140).Mix(Rgba::Bytes(240, 180, 80), Clamp01(y / h));
      });
      picture.Paint(Shape::RoundedRect(cx - 1.5f, inset, cx + 1.5f, h - inset, 0.5f),
                    Rgba::Bytes(104, 62, 30));
      picture.Paint(Shape::RoundedRect(inset, cy - 1.5f, w - inset, cy + 1.5f, 0.5f),
                    Rgba::Bytes(104, 62, 30));
      break;
    }
    case Sprite::Ball: {
      const Rgba colour = (seed % 2) ? Rgba::Bytes(220, 40, 40) : Rgba::Bytes(40, 90, 220);
      picture.Paint(Shape::Circle(cx, cy, r), [&](float x, float y) {
        const float d = std::hypot(x - (cx - r * 0.35f), y - (cy - r * 0.35f)) / (r * 1.6f);
        return colour.Shade(0.55f - Clamp01(d) * 0.9f);
      });
      picture.Paint(
          [&](float x, float y) {
            const float inside = Shape::FromDistance(Shape::CircleDistance(x, y, cx, cy, r));
            return inside * Clamp01(2.0f - std::fabs(y - cy - (x - cx) * 0.3f) * 0.8f);
          },
          Rgba::Bytes(255, 255, 255, 220));
      break;
    }
  }
  return picture;
}

Raster MirrorPictures::DrawRing() {
  Raster ring(64, 64);
  ring.Paint(Shape::Ring(32, 32, 27, 5), Rgba::Bytes(255, 230, 120, 110));
  ring.Paint(Shape::Ring(32, 32, 27, 2.6f), Rgba::Bytes(255, 248, 200));
  ring.Paint(Shape::Ring(32, 32, 22, 0.8f), Rgba::Bytes(255, 210, 90, 200));
  return ring;
}

Raster MirrorPictures::DrawFrameStrip() {
  Raster strip(800, 64);
  strip.Paint([](float, float) { return 1.0f; },
              [](float, float y) {
                return Rgba::Bytes(44, 40, 70).Mix(Rgba::Bytes(20, 18, 36), Clamp01(y / 64.0f));
              });
  strip.Paint(Shape::RoundedRect(0, 0, 800, 3, 0.0f), Rgba::Bytes(214, 164, 76));
  strip.Paint(Shape::RoundedRect(0, 5, 800, 6, 0.0f), Rgba::Bytes(236, 196, 110, 150));
  return strip;
}

Raster MirrorPictures::DrawTimerBlock() {
  Raster block(160, 48);
  block.Paint(Shape::RoundedRect(1, 1, 159, 47, 10), Rgba::Bytes(214, 164, 76));
  block.Paint(Shape::RoundedRect(4, 4, 156, 44, 8), [](float, float y) {
    return Rgba::Bytes(34, 44, 88).Mix(Rgba::Bytes(14, 18, 44), Clamp01(y / 48.0f));
  });
  return block;
}

Raster MirrorPictures::DrawCursor() {
  Raster cursor(32, 32);
  const std::vector<Point2> arrow = {{2, 2}, {2, 24}, {8, 19}, {13, 29}, {17, 27}, {12, 17}, {20, 17}};
  cursor.Paint(Shape::Polygon(arrow), Rgba::Bytes(20, 40, 70, 200));
  const std::vector<Point2> inner = {{4, 6},         {4, 20},  {8.5f, 16}, {13.5f, 26},
                                     {14.5f, 25.5f}, {10, 15}, {16, 15}};
  cursor.Paint(Shape::Polygon(inner), Rgba::Bytes(180, 230, 255, 170));
  return cursor;
}

bool MirrorPictures::Generate(const GeneratorSettings&, Staging& staging, Report& report) {
  bool ok = true;
  for (const Level& level : Levels()) {
    const std::string folder = std::string(level.folder) + "/";
    ok = staging.SavePng(folder + "original.png", DrawLandscape(level.seed, kHalfWidth, kHeight), report,
                         true) &&
         ok;
    for (size_t i = 0; i < level.differences.size(); ++i) {
      const Difference& d = level.differences[i];
      ok = staging.SavePng(folder + "diff_" + std::to_string(i) + ".png",
                           DrawSprite(d.sprite, d.width, d.height, level.seed + unsigned(i)), report) &&
           ok;
    }
  }
  ok = staging.SavePng("images/levels/mirror/difference.png", DrawRing(), report) && ok;
  ok = staging.SavePng("images/levels/mirror/frame_strip.png", DrawFrameStrip(), report) && ok;
  ok = staging.SavePng("images/levels/mirror/timer_block.png", DrawTimerBlock(), report) && ok;
  ok = staging.SavePng("images/gui/cursor_mirror.png", DrawCursor(), report) && ok;

  LLF::SeedRandom(kSoundSeed);
  Waveform found(0.5);
  found.AddBlip(0.0, 0.25, 880.0, 990.0, 0.004, 0.1, 0.6, 0.2);
  found.AddBlip(0.09, 0.35, 1320.0, 1480.0, 0.004, 0.14, 0.6, 0.2);
  found.Normalise(0.6);
  Waveform sides(2.2);
  sides.AddNoise(0.0, 2.0, 0.92, 0.5);
  sides.AddTone(0.0, 2.1, 262.0, 0.3, 0.6, 0.8);
  sides.AddTone(0.4, 1.7, 392.0, 0.25, 0.5, 0.8);
  sides.AddTone(0.8, 1.3, 523.0, 0.2, 0.4, 0.8);
  sides.Normalise(0.6);
  ok = SaveSound(staging, "sounds/mirror_difference_found.wav", found, report) && ok;
  ok = SaveSound(staging, "sounds/mirror_sides_anim.wav", sides, report) && ok;
  return ok;
}

}  // namespace Datagen
