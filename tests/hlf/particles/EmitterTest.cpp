#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameDriver.h"
#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "TempFolders.h"
#include "core/Random.h"
#include "image/Image.h"
#include "model/ControlFactory.h"
#include "modifiers/ModProps.h"
#include "particles/EmitRegion.h"
#include "particles/Emitter.h"
#include "xml/XmlElement.h"

namespace {

using QmTest::DrawCall;

// The particle systems the tests load by name, as the game keeps them.
const char kSystems[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<game>
	<particlesystems>
		<emitter name="Steady" imageName="spark" pos="100,50" emitRate="10" lifeTime="1">
			<emitRegion shape="rectangle" data="0,0,64,64" />
			<particle life="2" lifeFluct="0" accelerationFluct="0,0">
				<color>
					<range time="0" data="255,255,255,255" />
					<range time="1" data="255,255,255,0" />
				</color>
				<size>
					<range time="1" data="2,2" />
					<range time="0" data="8,8" />
				</size>
			</particle>
		</emitter>
		<emitter name="Detach" imageName="spark" emitRate="20" lifeTime="0.5">
			<emitRegion shape="circle" data="50,50,0,10" />
			<particle life="0.3" lifeFluct="0.1" autoDetach="true" />
		</emitter>
		<emitter name="Animated" imageName="strip" emitRate="50" imageFramesSpeed="0.0001" blendMode="normal">
			<emitRegion shape="point" data="5,5" />
			<particle life="1" lifeFluct="0" />
		</emitter>
		<emitter name="Ring" imageName="spark" emitRate="200" lifeTime="1">
			<emitRegion shape="nestedrect" data="0,0,100,100;20,20,60,60" />
			<particle life="5" lifeFluct="0" accelerationFluct="0,0" />
		</emitter>
		<emitter name="NoRate" imageName="spark" emitRate="0" lifeTime="0.5">
			<emitRegion shape="point" data="1,1" />
		</emitter>
		<emitter name="Zero" imageName="spark" emitRate="100" lifeTime="0.2">
			<emitRegion shape="point" data="1,1" />
			<particle life="1" lifeFluct="1" />
		</emitter>
		<emitter name="NoRegion" imageName="spark" emitRate="100" lifeTime="0.2" />
		<emitter name="BadRegion" imageName="spark" emitRate="100" lifeTime="0.2">
			<emitRegion shape="triangle" data="1,1" />
		</emitter>
		<emitter name="NoImage" emitRate="100" lifeTime="0.2">
			<emitRegion shape="point" data="1,1" />
			<particle life="0.1" />
		</emitter>
		<emitter name="InnerTooBig" imageName="spark" emitRate="100" lifeTime="0.2">
			<emitRegion shape="nestedrect" data="0,0,10,10;5,5,50,50" />
			<particle life="0.1" lifeFluct="0" accelerationFluct="0,0" />
		</emitter>
		<emitter name="EmptyTracks" imageName="spark" emitRate="100" lifeTime="0.2">
			<emitRegion shape="point" data="1,1" />
			<particle life="0.1" accelerationFluct="0,0"><color /><size /><friction /></particle>
		</emitter>
		<emitter name="Sized" imageName="strip" size="30,40" />
		<emitter name="ImageSized" imageName="strip" />
	</particlesystems>
</game>
)";

// The codes an emitter itself sends (10 start, 11 end), in order; the
// state machine underneath sends its own.
std::vector<int> EmitterCodes(const QmTest::MessageRecorder& messages) {
  std::vector<int> codes;
  for (const QmTest::MessageRecorder::Entry& entry : messages.Entries()) {
    if (entry.code == 10 || entry.code == 11) codes.push_back(entry.code);
  }
  return codes;
}

class EmitterTest : public testing::Test {
 protected:
  void SetUp() override {
    folders.WriteProgramFile("scripts/psystems.xml", kSystems);
    images.Add(L"spark", 16, 16);
    images.Add(L"strip", 64, 16, 4, 1);
    root.SetSize(800, 600);
    LLF::SeedRandom(1);
  }

  // The emitter of that name, made a child of root, or null.
  HLF::Emitter* LoadAndAdd(const std::wstring& name) {
    HLF::Control* made = HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(
        L"scripts/psystems.xml", L"game/particlesystems", name);
    HLF::Emitter* emitter = dynamic_cast<HLF::Emitter*>(made);
    if (!emitter) {
      delete made;
      return nullptr;
    }
    root.AddChild(emitter);
    return emitter;
  }

  QmTest::FrameworkFactories factories;
  QmTest::TempFolders folders;
  QmTest::ImageAssets images;
  QmTest::RecordingRenderSystem rs{true};
  HLF::Control root;
};

TEST_F(EmitterTest, LoadedByNameEmitsFollowsItsTracksDrawsOnceAFrameAndEnds) {
  HLF::Emitter* emitter = LoadAndAdd(L"Steady");
  ASSERT_NE(emitter, nullptr);
  EXPECT_TRUE(emitter->IsKindOf("Emitter") && emitter->IsKindOf("Control") &&
              emitter->IsKindOf("ImageProperty"));
  QmTest::MessageRecorder messages;
  messages.Listen(emitter);
  QmTest::FrameDriver frames(&root, &rs);
  frames.Step(16);
  // Not started: no particles, no draws.
  EXPECT_TRUE(rs.Calls(DrawCall::kImageArray).empty());
  emitter->Start(0);
  EXPECT_EQ(EmitterCodes(messages), std::vector<int>({10}));

  // One second of 20 ms frames: 10 per second for 1 s, all still alive.
  for (int frame = 0; frame < 50; ++frame) {
    rs.ClearCalls();
    frames.Step(20);
    const HLF::ParticleSystem& system = emitter->GetParticleSystem();
    if (system.GetParticles().empty()) continue;
    std::vector<DrawCall> arrays = rs.Calls(DrawCall::kImageArray);
    ASSERT_EQ(arrays.size(), 1u) << "frame " << frame;
    EXPECT_EQ(arrays[0].value, int(system.GetQuads().size()));
    EXPECT_EQ(arrays[0].image, emitter->GetImage());
    EXPECT_EQ(arrays[0].imageParams.alpha, 255);
    // Under the emitter's transform, additive blending set around the draw.
    EXPECT_EQ(arrays[0].Map(0, 0), LLF::Vector2(100, 50));
    const std::vector<DrawCall> blends = rs.Calls(DrawCall::kBlend);
    ASSERT_EQ(blends.size(), 2u);
    EXPECT_EQ(blends[0].value, 1);
    EXPECT_EQ(blends[1].value, 0);
  }
  const std::vector<HLF::Particle>& particles = emitter->GetParticleSystem().GetParticles();
  EXPECT_NEAR(double(particles.size()), 10.0, 1.0);
  for (const HLF::Particle& p : particles) {
    EXPECT_TRUE(p.position.x >= 0 && p.position.x <= 64 && p.position.y >= 0 && p.position.y <= 64);
    // Alpha 255 -> 0 and half-size 8 -> 2 over the life.
    EXPECT_NEAR(p.color.a, 255.0 * (1.0 - p.progress), 1.0);
    EXPECT_NEAR(p.halfSize.x, 8.0 - 6.0 * p.progress, 1e-3);
  }

  // The last particles die within two more seconds; the end is told once.
  for (int frame = 0; frame < 150; ++frame) frames.Step(20);
  EXPECT_TRUE(emitter->IsFinished());
  EXPECT_TRUE(emitter->IsActiveAndEmpty());
  EXPECT_EQ(EmitterCodes(messages), std::vector<int>({10, 11}));
  EXPECT_EQ(root.GetChildsCount(), 1);
  rs.ClearCalls();
  frames.Step(20);
  EXPECT_TRUE(rs.Calls(DrawCall::kImageArray).empty());

  // Started again with its time used up: it ends again once updated.
  emitter->Start(0);
  frames.Step(20);
  EXPECT_TRUE(emitter->IsFinished());
  EXPECT_EQ(EmitterCodes(messages), std::vector<int>({10, 11, 10, 11}));
}

TEST_F(EmitterTest, AutoDetachRemovesAndDeletesItself) {
  HLF::Emitter* emitter = LoadAndAdd(L"Detach");
  ASSERT_NE(emitter, nullptr);
  QmTest::MessageRecorder messages;
  messages.Listen(emitter);
  emitter->Start(0);
  QmTest::FrameDriver frames(&root, &rs);
  for (int frame = 0; frame < 100 && root.GetChildsCount() == 1; ++frame) frames.Step(16);
  EXPECT_EQ(root.GetChildsCount(), 0);
  // Only the start was told; the emitter is gone without code 11.
  EXPECT_EQ(EmitterCodes(messages), std::vector<int>({10}));
}

TEST_F(EmitterTest, AnimatedParticlesDrawOneByOneWithTheirFrame) {
  HLF::Emitter* emitter = LoadAndAdd(L"Animated");
  ASSERT_NE(emitter, nullptr);
  emitter->Start(0);
  QmTest::FrameDriver frames(&root, &rs);
  // A frame speed under a millisecond steps one frame a millisecond.
  for (int frame = 0; frame < 10; ++frame) frames.Step(33);
  const size_t alive = emitter->GetParticleSystem().GetParticles().size();
  ASSERT_GT(alive, 0u);
  rs.ClearCalls();
  frames.Step(33);
  const std::vector<DrawCall> arrays = rs.Calls(DrawCall::kImageArray);
  EXPECT_EQ(arrays.size(), emitter->GetParticleSystem().GetParticles().size());
  bool moved = false;
  for (const DrawCall& call : arrays) {
    EXPECT_EQ(call.value, 1);
    EXPECT_GE(call.imageParams.cell, 0);
    EXPECT_LT(call.imageParams.cell, 4);
    moved = moved || call.imageParams.cell != 0;
  }
  EXPECT_TRUE(moved);
  // Normal blending: the blend mode is left alone.
  EXPECT_TRUE(rs.Calls(DrawCall::kBlend).empty());
}

TEST_F(EmitterTest, ANestedRectangleKeepsItsParticlesOutOfTheInnerOne) {
  HLF::Emitter* emitter = LoadAndAdd(L"Ring");
  ASSERT_NE(emitter, nullptr);
  emitter->Start(0);
  QmTest::FrameDriver frames(&root, &rs);
  for (int frame = 0; frame < 50; ++frame) frames.Step(20);
  const std::vector<HLF::Particle>& particles = emitter->GetParticleSystem().GetParticles();
  // The frame that reaches the end of the emission time emits nothing:
  // 980 ms at 200 a second.
  EXPECT_NEAR(double(particles.size()), 196.0, 1.0);
  for (const HLF::Particle& p : particles) {
    EXPECT_FALSE(p.position.x > 20 && p.position.x < 80 && p.position.y > 20 && p.position.y < 80)
        << p.position.x << "," << p.position.y;
  }
}

TEST_F(EmitterTest, GuardCasesRunToTheirEnd) {
  struct Case {
    const wchar_t* name;
    bool draws;     // whether any particle is drawn
    bool finishes;  // within the frames run
  } cases[] = {
      {L"NoRate", false, true},     {L"Zero", false, true},    {L"NoRegion", false, true},
      {L"BadRegion", false, true},  {L"NoImage", false, true}, {L"InnerTooBig", true, true},
      {L"EmptyTracks", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
    QmTest::LogRecorder log;
    HLF::Emitter* emitter = LoadAndAdd(c.name);
    ASSERT_NE(emitter, nullptr);
    emitter->Start(0);
    QmTest::FrameDriver frames(&root, &rs);
    rs.ClearCalls();
    bool drew = false;
    // Frames of 0 ms among the others.
    for (int frame = 0; frame < 40; ++frame) {
      frames.Step(frame % 3 == 0 ? 0 : 20);
      drew = drew || !rs.Calls(DrawCall::kImageArray).empty();
      for (const HLF::Particle& p : emitter->GetParticleSystem().GetParticles()) {
        ASSERT_TRUE(p.progress >= 0.0f && p.progress <= 1.0f);
      }
    }
    EXPECT_EQ(drew, c.draws);
    EXPECT_EQ(emitter->IsFinished(), c.finishes);
    const bool hasRegion = emitter->GetEmitRegion() != nullptr;
    EXPECT_EQ(log.Count(L"no emit region"), hasRegion ? 0 : 1);
    if (std::wstring(c.name) == L"InnerTooBig") {
      EXPECT_FALSE(emitter->GetParticleSystem().GetQuads().empty());
    }
    if (std::wstring(c.name) == L"EmptyTracks") {
      EXPECT_TRUE(emitter->GetColorTrack().empty());
      EXPECT_EQ(emitter->GetParticleSystem().GetQuads()[0].vertices[5].x, 1.0f + 50.0f);
    }
    root.RemoveChild(emitter, true);
  }
}

// A property modifier applies attributes through the emitter's reader: the
// emission time left stays unless the element gives "lifeTime", so a
// stopped emitter stays stopped.
TEST_F(EmitterTest, AppliedAttributesKeepTheEmissionTimeLeft) {
  HLF::Emitter* emitter = LoadAndAdd(L"Steady");  // 1 s of emission
  ASSERT_NE(emitter, nullptr);
  const HLF::ParticleSystem& system = emitter->GetParticleSystem();
  auto apply = [&](const wchar_t* xml) {
    QmTest::ParsedElement parsed(xml);
    HLF::ModProps* props = new HLF::ModProps();
    props->LoadFromXml(*parsed.element);
    ASSERT_TRUE(emitter->AddAndStartModifier(props));
  };
  emitter->Start(0);
  QmTest::FrameDriver frames(&root, &rs);
  frames.Run(25, 20);
  ASSERT_EQ(system.GetLifeTime(), 500u);

  apply(L"<modprops pos=\"200,100\" />");
  frames.Step(20);
  EXPECT_EQ(emitter->GetPosition(), LLF::Vector2(200, 100));
  EXPECT_EQ(system.GetLifeTime(), 480u);

  emitter->StopEmitting();
  frames.Step(20);
  const size_t alive = system.GetParticles().size();
  apply(L"<modprops alpha=\"128\" />");
  frames.Run(10, 20);
  EXPECT_EQ(emitter->GetAlpha(), 128);
  EXPECT_EQ(system.GetLifeTime(), 0u);
  EXPECT_EQ(system.GetParticles().size(), alive);  // life 2 s: none has died, none was born

  // Given, it replaces the time left.
  apply(L"<modprops lifeTime=\"0.3\" />");
  frames.Step(20);
  EXPECT_EQ(system.GetLifeTime(), 300u);
  EXPECT_EQ(system.GetConfiguredLifeTime(), 300u);
}

TEST_F(EmitterTest, ElementSizeWinsOverTheImageCell) {
  const struct {
    const wchar_t* name;
    LLF::Point size;
  } cases[] = {{L"Sized", LLF::Point(30, 40)}, {L"ImageSized", LLF::Point(16, 16)}};
  for (const auto& c : cases) {
    HLF::Emitter* emitter = LoadAndAdd(c.name);
    ASSERT_NE(emitter, nullptr);
    EXPECT_EQ(emitter->GetSize(), c.size);
  }
}

TEST_F(EmitterTest, SavedEmitterLoadsBackWithAllItsSettings) {
  HLF::Emitter* emitter = LoadAndAdd(L"Steady");
  ASSERT_NE(emitter, nullptr);
  std::unique_ptr<LLF::XmlElement> saved(emitter->SaveToXml());
  ASSERT_NE(saved, nullptr);
  std::unique_ptr<HLF::Control> loaded(HLF::ControlFactory::GetInstance().CreateFromXml(*saved));
  HLF::Emitter* again = dynamic_cast<HLF::Emitter*>(loaded.get());
  ASSERT_NE(again, nullptr);
  std::unique_ptr<LLF::XmlElement> savedAgain(again->SaveToXml());
  EXPECT_EQ(savedAgain->Serialize(L""), saved->Serialize(L""));
  EXPECT_EQ(again->GetName(), L"Steady");
  EXPECT_EQ(again->GetImage(), emitter->GetImage());
  EXPECT_EQ(again->GetPosition(), LLF::Vector2(100, 50));
  const HLF::ParticleSystem& system = again->GetParticleSystem();
  EXPECT_EQ(system.GetEmitRate(), 10.0f);
  EXPECT_EQ(system.GetConfiguredLifeTime(), 1000u);
  EXPECT_EQ(system.GetParticleLife(), 2000u);
  EXPECT_EQ(system.GetParticleLifeFluct(), 0u);
  ASSERT_NE(system.GetEmitRegion(), nullptr);
  EXPECT_EQ(system.GetEmitRegion()->GetData(), L"0,0,64,64");
  ASSERT_EQ(system.GetSizeTrack().size(), 2u);
  EXPECT_EQ(system.GetSizeTrack()[1].value, LLF::Vector2(8, 8));

  // A default emitter writes only what every control writes.
  HLF::Emitter plain;
  std::unique_ptr<LLF::XmlElement> bare(plain.SaveToXml());
  EXPECT_EQ(bare->GetAttributesCount(), 2);
  EXPECT_EQ(bare->GetChildsCount(), 0);
}

TEST_F(EmitterTest, EditorPagesReachTheImageAndTheParticles) {
  HLF::Emitter emitter;
  std::vector<HLF::PropertyGroup> pages;
  emitter.FillPropertyGrid(pages);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].title, L"Control properties");
  EXPECT_EQ(pages[1].title, L"Image properties");
  EXPECT_EQ(pages[2].title, L"Emitter properties");
  EXPECT_TRUE(emitter.SetPropertyFromEditor(L"Emitter properties", L"Emit rate", L"40"));
  EXPECT_EQ(emitter.GetParticleSystem().GetEmitRate(), 40.0f);
  EXPECT_TRUE(emitter.SetPropertyFromEditor(L"Image properties", L"ID", L"strip"));
  EXPECT_NE(emitter.GetImage(), nullptr);
  EXPECT_TRUE(emitter.SetPropertyFromEditor(L"Control properties", L"Position", L"3,4"));
  EXPECT_EQ(emitter.GetPosition(), LLF::Vector2(3, 4));
  EXPECT_FALSE(emitter.SetPropertyFromEditor(L"Emitter properties", L"Nothing", L"1"));
}

}  // namespace
