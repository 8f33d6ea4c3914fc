#include <gtest/gtest.h>

#include <string>

#include "LogRecorder.h"
#include "core/Random.h"
#include "model/XmlDocEx.h"
#include "particles/EmitRegion.h"
#include "particles/ParticleSystem.h"
#include "xml/XmlElement.h"

namespace {

// Loads the system from an emitter element given as text.
void Load(HLF::ParticleSystem& system, const std::wstring& text) {
  HLF::XmlDocEx doc;
  LLF::XmlElement* element = doc.ParseDocumentElement(text);
  ASSERT_NE(element, nullptr);
  system.LoadFromXml(*element);
}

// A system with a point region at (50, 50) and no emission of its own, so
// a test spawns by hand.
void MakeQuiet(HLF::ParticleSystem& system) {
  system.SetEmitRegion(HLF::EmitRegion::Create(L"point"));
  system.GetEmitRegion()->SetData(L"50,50");
  system.SetEmitRate(0.0f);
  system.SetParticleLife(1000, 0);
  system.SetAcceleration(LLF::Vector2(), LLF::Vector2());
}

TEST(ParticleSystemTest, EmitsRateTimesTimeInsideItsRegion) {
  struct Case {
    const wchar_t* xml;
    size_t expected;
  } cases[] = {
      {L"<emitter emitRate=\"10\" lifeTime=\"1\"><emitRegion shape=\"rectangle\" data=\"0,0,64,64\" />"
       L"<particle life=\"5\" lifeFluct=\"0\" /></emitter>",
       10},
      {L"<emitter emitRate=\"45\" lifeTime=\"2\"><emitRegion shape=\"rectangle\" data=\"0,0,64,64\" />"
       L"<particle life=\"5\" lifeFluct=\"0\" /></emitter>",
       90},
  };
  for (const Case& c : cases) {
    LLF::SeedRandom(11);
    HLF::ParticleSystem system;
    Load(system, c.xml);
    // Three seconds of 16 ms frames: emission stops after lifeTime, every
    // particle is still alive (life 5 s).
    for (int frame = 0; frame < 190; ++frame) system.Update(16, 0);
    EXPECT_NEAR(double(system.GetParticles().size()), double(c.expected), 1.0);
    EXPECT_EQ(system.GetLifeTime(), 0u);
    for (const HLF::Particle& p : system.GetParticles()) {
      // Born inside and not moved further than the acceleration spread
      // (2.5 units/s^2 over 3 s) can take it.
      EXPECT_TRUE(p.position.x > -12 && p.position.x < 76 && p.position.y > -12 && p.position.y < 76);
    }
    EXPECT_EQ(system.GetQuads().size(), system.GetParticles().size());
  }
}

TEST(ParticleSystemTest, ParticlesFollowTheirTracksAndFreeTheirQuads) {
  HLF::ParticleSystem system;
  MakeQuiet(system);
  system.SetColorTrack(
      {HLF::ColorKey(LLF::Color(255, 0, 0, 255), 0.0f), HLF::ColorKey(LLF::Color(0, 0, 255, 0), 1.0f)});
  system.SetSizeTrack(
      {HLF::VectorKey(LLF::Vector2(10, 10), 0.0f), HLF::VectorKey(LLF::Vector2(20, 30), 1.0f)});
  system.SpawnParticle();
  ASSERT_EQ(system.GetParticles().size(), 1u);
  EXPECT_EQ(system.GetParticles()[0].halfSize, LLF::Vector2(10, 10));

  system.Update(500, 0);
  const HLF::Particle& half = system.GetParticles()[0];
  EXPECT_FLOAT_EQ(half.progress, 0.5f);
  EXPECT_EQ(half.color.ToARGB(), LLF::Color(127, 0, 127, 127).ToARGB());
  EXPECT_EQ(half.halfSize, LLF::Vector2(15, 20));
  // The quad spans the half-size around the particle in its colour.
  const HLF::ParticleQuad& quad = system.GetQuads()[0];
  EXPECT_EQ(quad.vertices[0].x, 35.0f);
  EXPECT_EQ(quad.vertices[0].y, 30.0f);
  EXPECT_EQ(quad.vertices[5].x, 65.0f);
  EXPECT_EQ(quad.vertices[5].y, 70.0f);
  EXPECT_EQ(quad.vertices[3].color, LLF::Color(127, 0, 127, 127).ToARGB());
  EXPECT_EQ(quad.vertices[2].u, 0.0f);
  EXPECT_EQ(quad.vertices[2].v, 0.0f);
  EXPECT_EQ(quad.vertices[0].v, 1.0f);

  // lifeLeft == dt: it lives on at progress 1 with the last key exactly.
  system.Update(500, 0);
  ASSERT_EQ(system.GetParticles().size(), 1u);
  EXPECT_EQ(system.GetParticles()[0].progress, 1.0f);
  EXPECT_EQ(system.GetParticles()[0].color.ToARGB(), LLF::Color(0, 0, 255, 0).ToARGB());

  // Then it dies: its slot turns transparent and the next particle takes it.
  system.Update(1, 0);
  EXPECT_TRUE(system.GetParticles().empty());
  EXPECT_EQ(system.GetQuads()[0].vertices[0].color >> 24, 0u);
  system.SpawnParticle();
  system.SpawnParticle();
  EXPECT_EQ(system.GetParticles()[0].quadIndex, 0);
  EXPECT_EQ(system.GetParticles()[1].quadIndex, 1);
  EXPECT_EQ(system.GetQuads().size(), 2u);
}

TEST(ParticleSystemTest, MotionAccelerationAndFriction) {
  HLF::ParticleSystem system;
  MakeQuiet(system);
  system.SetParticleLife(10000, 0);
  system.SetSpeed(LLF::Vector2(100, -100), LLF::Vector2());
  system.SetFrictionTrack({HLF::VectorKey(LLF::Vector2(60, 60), 0.0f)});
  system.SpawnParticle();
  // Moved by the motion of the second, then damped towards 0 by 60.
  system.Update(1000, 0);
  EXPECT_EQ(system.GetParticles()[0].position, LLF::Vector2(150, -50));
  EXPECT_EQ(system.GetParticles()[0].motion, LLF::Vector2(40, -40));
  // Damping stops at 0 instead of turning the particle round.
  system.Update(1000, 0);
  EXPECT_EQ(system.GetParticles()[0].position, LLF::Vector2(190, -90));
  EXPECT_EQ(system.GetParticles()[0].motion, LLF::Vector2(0, 0));

  system.SetFrictionTrack({});
  system.SetAcceleration(LLF::Vector2(0, 20), LLF::Vector2());
  system.SpawnParticle();
  system.Update(500, 0);
  const HLF::Particle& falling = system.GetParticles()[1];
  EXPECT_EQ(falling.motion, LLF::Vector2(100, -90));
  EXPECT_EQ(falling.position, LLF::Vector2(100, 5));
}

TEST(ParticleSystemTest, EmissionEnds) {
  HLF::ParticleSystem system;
  MakeQuiet(system);
  system.SetEmitRate(1000.0f);  // one particle a millisecond
  // A frame as long as the emission time left ends it without emitting.
  system.SetLifeTime(100);
  system.Update(100, 0);
  EXPECT_TRUE(system.GetParticles().empty());
  EXPECT_TRUE(system.IsExhausted());

  system.SetLifeTime(HLF::ParticleSystem::kEndless);
  system.Update(10, 0);
  EXPECT_EQ(system.GetParticles().size(), 10u);
  system.StopEmitting();
  system.Update(10, 0);
  EXPECT_EQ(system.GetParticles().size(), 10u);
  EXPECT_FALSE(system.IsExhausted());
  system.Update(1000, 0);
  EXPECT_TRUE(system.IsExhausted());
}

// An absurd rate fills the emitter up to its limit and no further: one
// warning, and the emission goes on as particles die.
TEST(ParticleSystemTest, LiveParticlesStopAtTheLimit) {
  QmTest::LogRecorder log;
  LLF::SeedRandom(3);
  HLF::ParticleSystem system;
  Load(system,
       L"<emitter emitRate=\"1e9\"><emitRegion shape=\"point\" data=\"1,1\" />"
       L"<particle life=\"0.1\" lifeFluct=\"0\" accelerationFluct=\"0,0\" /></emitter>");
  const size_t limit = HLF::ParticleSystem::kMaxParticles;
  bool refilled = false;  // born again after the first particles died (100 ms)
  size_t before = 0;
  for (int frame = 0; frame < 20; ++frame) {
    system.Update(16, 0);
    const size_t alive = system.GetParticles().size();
    ASSERT_LE(alive, limit) << "frame " << frame;
    ASSERT_LE(system.GetQuads().size(), limit) << "frame " << frame;
    refilled = refilled || (frame > 7 && alive > before);
    before = alive;
  }
  EXPECT_EQ(log.Count(L"Warning: Emitter has 100000 live particles, its limit"), 1);
  EXPECT_TRUE(refilled);

  // A particle asked for by hand is refused at the limit too.
  system.StopEmitting();
  while (system.GetParticles().size() < limit) system.SpawnParticle();
  system.SpawnParticle();
  EXPECT_EQ(system.GetParticles().size(), limit);
  EXPECT_EQ(log.Count(L"its limit"), 1);
}

TEST(ParticleSystemTest, GuardCases) {
  QmTest::LogRecorder log;
  LLF::SeedRandom(5);
  HLF::ParticleSystem system;
  // Rate 0, no region, no particle element (empty tracks): loads, emits
  // nothing, warns once.
  Load(system, L"<emitter emitRate=\"0\" />");
  EXPECT_EQ(log.Count(L"emit region"), 1);
  for (int i = 0; i < 10; ++i) system.Update(100, 4);
  system.SpawnParticle();
  EXPECT_TRUE(system.GetParticles().empty());

  // Empty tracks give white particles with half-size 50.
  system.SetEmitRegion(HLF::EmitRegion::Create(L"point"));
  system.SpawnParticle();
  ASSERT_EQ(system.GetParticles().size(), 1u);
  EXPECT_EQ(system.GetParticles()[0].color.ToARGB(), 0xFFFFFFFFu);
  EXPECT_EQ(system.GetParticles()[0].halfSize, LLF::Vector2(50, 50));

  // Life 1000 +- 1000 is a life of 0: a frame of 0 ms leaves it at its end
  // (progress 1, not 0/0), the next frame removes it.
  HLF::ParticleSystem zero;
  MakeQuiet(zero);
  zero.SetParticleLife(1000, 1000);
  zero.SetColorTrack(
      {HLF::ColorKey(LLF::Color(0, 0, 0, 0), 0.0f), HLF::ColorKey(LLF::Color(9, 9, 9, 9), 1.0f)});
  zero.SpawnParticle();
  EXPECT_EQ(zero.GetParticles()[0].life, 0u);
  zero.Update(0, 0);
  ASSERT_EQ(zero.GetParticles().size(), 1u);
  EXPECT_EQ(zero.GetParticles()[0].progress, 1.0f);
  EXPECT_EQ(zero.GetParticles()[0].color.r, 9);
  zero.Update(1, 0);
  EXPECT_TRUE(zero.GetParticles().empty());
}

TEST(ParticleSystemTest, FramesStepWithoutSpinning) {
  struct Case {
    float framesSpeed;
    unsigned framesPerLoop;
    unsigned dt;
    unsigned frame;      // after one update
    unsigned frameTime;  // ms shown of that frame
  } cases[] = {
      {0.1f, 4, 250, 2, 50},       {0.1f, 4, 900, 1, 0},  // nine frames round a loop of four
      {0.0001f, 5, 4000000, 0, 0},                        // a step under 1 ms counts as 1 ms
      {0.1f, 0, 250, 0, 0},                               // no image: no frames
      {0.0f, 4, 250, 0, 0},                               // not animated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.framesSpeed << " " << c.framesPerLoop << " " << c.dt);
    HLF::ParticleSystem system;
    MakeQuiet(system);
    system.SetParticleLife(10000000, 0);
    system.SetImageFramesSpeed(c.framesSpeed);
    system.SpawnParticle();
    system.Update(c.dt, c.framesPerLoop);
    EXPECT_EQ(system.GetParticles()[0].frame, c.frame);
    EXPECT_EQ(system.GetParticles()[0].frameTime, c.frameTime);
  }
}

const wchar_t* const kFull =
    L"<emitter emitRate=\"25\" lifeTime=\"1.234\" blendMode=\"normal\" imageFramesSpeed=\"0.05\">"
    L"<emitRegion shape=\"nestedrect\" data=\"1,2,30,40;5,6,7,8\" />"
    L"<particle life=\"1.2\" lifeFluct=\"0.3\" speed=\"0,-30\" speedFluct=\"15,10\" acceleration=\"0,20\" "
    L"accelerationFluct=\"2,2\" autoDetach=\"true\">"
    L"<color><range time=\"0\" data=\"255,240,180,255\" /><range time=\"0.7\" data=\"255,160,60,200\" />"
    L"<range time=\"1\" data=\"255,80,0,0\" /></color>"
    L"<size><range time=\"0\" data=\"6,6\" /><range time=\"1\" data=\"2,2\" /></size>"
    L"</particle></emitter>";

// Everything a save must keep, as text.
std::wstring Settings(const HLF::ParticleSystem& system) {
  LLF::XmlElement element(L"emitter");
  system.SaveToXml(element);
  return element.Serialize(L"");
}

TEST(ParticleSystemTest, SettingsSurviveSaveAndLoad) {
  HLF::ParticleSystem fresh;
  EXPECT_EQ(Settings(fresh), LLF::XmlElement(L"emitter").Serialize(L""));

  HLF::ParticleSystem loaded;
  Load(loaded, kFull);
  EXPECT_EQ(loaded.GetConfiguredLifeTime(), 1234u);
  EXPECT_EQ(loaded.GetBlendMode(), 0);
  EXPECT_TRUE(loaded.IsAutoDetach());
  EXPECT_EQ(loaded.GetParticleLife(), 1200u);
  EXPECT_EQ(loaded.GetColorTrack().size(), 3u);
  // An absent track element gives one default key.
  ASSERT_EQ(loaded.GetFrictionTrack().size(), 1u);

  LLF::XmlElement saved(L"emitter");
  loaded.SaveToXml(saved);
  HLF::ParticleSystem again;
  again.LoadFromXml(saved);
  EXPECT_EQ(Settings(again), Settings(loaded));
  EXPECT_EQ(again.GetConfiguredLifeTime(), 1234u);
  EXPECT_EQ(again.GetParticleLifeFluct(), 300u);
  EXPECT_EQ(again.GetEmitRegion()->GetData(), L"1,2,30,40;5,6,7,8");
  EXPECT_EQ(again.GetColorTrack()[1].value.ToARGB(), LLF::Color(255, 160, 60, 200).ToARGB());
  EXPECT_FLOAT_EQ(again.GetColorTrack()[1].time, 0.7f);
  EXPECT_FLOAT_EQ(again.GetImageFramesSpeed(), 0.05f);
}

TEST(ParticleSystemTest, EditorPageEditsTheSettings) {
  HLF::ParticleSystem system;
  Load(system, kFull);
  struct Edit {
    const wchar_t* label;
    const wchar_t* value;
  } edits[] = {{L"Life time", L"2.5"},      {L"Emit rate", L"40"},          {L"Blend mode", L"additive"},
               {L"Frames speed", L"0"},     {L"Region shape", L"circle"},   {L"Region data", L"3,4,0,9"},
               {L"Particle life", L"0.75"}, {L"Particle life fluct", L"0"}, {L"Speed", L"1,2"},
               {L"Speed fluct", L"3,4"},    {L"Acceleration", L"5,6"},      {L"Acceleration fluct", L"7,8"},
               {L"Auto detach", L"false"}};
  for (const Edit& e : edits) EXPECT_TRUE(system.SetPropertyFromEditor(e.label, e.value)) << e.label;
  EXPECT_FALSE(system.SetPropertyFromEditor(L"Colour", L"1,2,3"));

  const HLF::PropertyGroup page = system.GetPropertyGroup();
  EXPECT_EQ(page.title, L"Emitter properties");
  ASSERT_EQ(page.entries.size(), sizeof(edits) / sizeof(edits[0]));
  for (const Edit& e : edits) {
    bool found = false;
    for (const HLF::PropertyEntry& entry : page.entries) {
      if (entry.label == e.label) {
        found = true;
        EXPECT_EQ(entry.value, e.value) << e.label;
      }
    }
    EXPECT_TRUE(found) << e.label;
  }
  EXPECT_EQ(system.GetLifeTime(), 2500u);
  // An empty life time: emission never ends.
  system.SetPropertyFromEditor(L"Life time", L"");
  EXPECT_EQ(system.GetLifeTime(), HLF::ParticleSystem::kEndless);
}

}  // namespace
