#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlProbe.h"
#include "RecordingRenderSystem.h"
#include "model/Control.h"

namespace {

using HLF::Control;
using QmTest::DrawCall;
using QmTest::Probe;
using QmTest::RecordingRenderSystem;

Control* AddChild(Control* parent, const std::wstring& name, float x, float y, int w, int h) {
  Control* child = new Control(name);
  child->SetPosition(x, y);
  child->SetSize(w, h);
  parent->AddChild(child);
  return child;
}

void ExpectPoint(const LLF::Vector2& actual, float x, float y) {
  EXPECT_NEAR(actual.x, x, 1e-4f);
  EXPECT_NEAR(actual.y, y, 1e-4f);
}

// A control's point under its transform: scale and rotation about the
// centre, minus the origin, then the position.
TEST(ControlRenderTest, TransformOfAControl) {
  struct Case {
    const char* what;
    LLF::Vector2 position, scale, centre, origin;
    float rotation;
    LLF::Vector2 point, expected;
  } cases[] = {
      {"scaled about the centre: the centre stays", {100, 50}, {2, 2}, {10, 10}, {}, 0, {10, 10}, {110, 60}},
      {"scaled about the centre: the corner moves out", {100, 50}, {2, 2}, {10, 10}, {}, 0, {0, 0}, {90, 40}},
      {"a quarter turn takes x to y", {}, {1, 1}, {}, {}, 90, {1, 0}, {0, 1}},
      {"a quarter turn about (10, 0)", {}, {1, 1}, {10, 0}, {}, 90, {20, 0}, {10, 10}},
      {"the origin is subtracted before the position", {20, 30}, {1, 1}, {}, {5, 5}, 0, {5, 5}, {20, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Control control;
    control.SetPosition(c.position);
    control.SetScale(c.scale);
    control.SetTransformCenter(c.centre);
    control.SetOrigin(c.origin);
    control.SetRotation(c.rotation);
    LLF::Vector2 mapped;
    control.ComputeTransform().TransformPoint(c.point.x, c.point.y, mapped.x, mapped.y);
    ExpectPoint(mapped, c.expected.x, c.expected.y);

    // Drawn, the fill carries the same transform.
    RecordingRenderSystem rs;
    control.Render(&rs, nullptr);
    ASSERT_EQ(rs.Fills().size(), 1u);
    ExpectPoint(rs.Fills()[0].Map(c.point.x, c.point.y), c.expected.x, c.expected.y);
  }
}

// A scaled child inside a rotated parent, inside a matrix the caller pushed:
// each transform works inside the one around it.
TEST(ControlRenderTest, NestedRotationAndScale) {
  Control root(L"root");
  root.SetSize(0, 0);
  Control* parent = AddChild(&root, L"parent", 200, 100, 50, 50);
  parent->SetRotation(90);
  Control* child = AddChild(parent, L"child", 10, 0, 10, 5);
  child->SetScale(LLF::Vector2(2, 2));

  RecordingRenderSystem rs;
  const size_t depth = rs.StackDepth();
  root.Render(&rs, nullptr);
  EXPECT_EQ(rs.StackDepth(), depth);
  std::vector<DrawCall> fills = rs.Fills();
  ASSERT_EQ(fills.size(), 3u);  // the root's 0 x 0 fill is drawn too
  ASSERT_EQ(fills[2].rect.width, 10.0f);
  // (5, 0) scaled to (10, 0), placed at (20, 0) in the parent, turned to
  // (0, 20), placed at (200, 120).
  ExpectPoint(fills[2].Map(5, 0), 200, 120);
  ExpectPoint(fills[2].Map(0, 5), 190, 110);
  ExpectPoint(fills[1].Map(0, 0), 200, 100);

  rs.ClearCalls();
  rs.PushTransform(LLF::Matrix4::Translation(LLF::Vector3(1000, 0, 0)));
  root.Render(&rs, nullptr);
  rs.PopTransform();
  fills = rs.Fills();
  ASSERT_EQ(fills.size(), 3u);
  ExpectPoint(fills[2].Map(5, 0), 1200, 120);
}

// The context alpha multiplies down the tree; a control's own fill takes its
// own alpha times its colour's alpha.
TEST(ControlRenderTest, Alpha) {
  struct Case {
    const char* what;
    uint8_t parentAlpha, childAlpha, colourAlpha;
    int childFill;     // alpha of the child's fill, -1: no fill
    int childContext;  // context alpha the grandchild is drawn in
  } cases[] = {
      {"128 inside 128: context 64, fill 128", 128, 128, 255, 128, 64},
      {"half colour alpha, half control alpha", 255, 128, 128, 64, 128},
      {"control alpha 0: no fill, children still drawn", 255, 0, 255, -1, 0},
      {"colour alpha 0: no fill", 255, 255, 0, -1, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Control parent(L"parent");
    Control* child = AddChild(&parent, L"child", 0, 0, 10, 10);
    Probe* grandchild = new Probe(nullptr, L"grandchild");
    child->AddChild(grandchild);
    parent.SetAlpha(c.parentAlpha);
    child->SetAlpha(c.childAlpha);
    grandchild->SetAlpha(255);
    child->SetDefCtrlColor(LLF::Color(1, 2, 3, c.colourAlpha));

    RecordingRenderSystem rs;
    parent.Render(&rs, nullptr);
    EXPECT_EQ(grandchild->parentAlpha, c.childContext);
    std::vector<DrawCall> fills = rs.Fills();
    // The parent's and the grandchild's fills are always there.
    ASSERT_EQ(fills.size(), c.childFill < 0 ? 2u : 3u);
    EXPECT_EQ(fills.back().color, LLF::Color(164, 164, 164, 255));
    if (c.childFill >= 0) {
      EXPECT_EQ(fills[1].color, LLF::Color(1, 2, 3, static_cast<uint8_t>(c.childFill)));
    }
  }
}

TEST(ControlRenderTest, HiddenAndNonRenderingControls) {
  Control root(L"root");
  Control* hidden = AddChild(&root, L"hidden", 0, 0, 10, 10);
  hidden->SetVisible(false);
  AddChild(hidden, L"under_hidden", 0, 0, 10, 10);
  Control* container = AddChild(&root, L"container", 50, 50, 100, 100);
  container->SetRenderable(false);
  AddChild(container, L"inside", 10, 10, 5, 5);

  RecordingRenderSystem rs;
  root.Render(&rs, nullptr);
  // The root and the container's child only: a hidden control draws nothing
  // of its subtree; a container draws no fill and pushes nothing of its own,
  // yet its children are placed by its transform.
  EXPECT_EQ(rs.Calls(DrawCall::kPush).size(), 2u);
  std::vector<DrawCall> fills = rs.Fills();
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[1].rect.width, 5.0f);
  ExpectPoint(fills[1].Map(0, 0), 60, 60);
}

// A clipped control inside a clipped one draws inside both, and the outer
// clip is back for the siblings drawn after it.
TEST(ControlRenderTest, ClippingNests) {
  Control root(L"root");
  root.SetSize(800, 600);
  Control* panel = AddChild(&root, L"panel", 100, 100, 200, 200);
  panel->SetClipping(true);
  Control* list = AddChild(panel, L"list", 150, 50, 100, 100);
  list->SetClipping(true);
  AddChild(list, L"row", 0, 0, 100, 10);
  AddChild(panel, L"footer", 0, 180, 50, 50);
  AddChild(&root, L"after", 0, 0, 10, 10);

  RecordingRenderSystem rs;
  root.Render(&rs, nullptr);
  struct Expected {
    bool clipped;
    LLF::Rect clip;
  } expected[] = {
      {false, {}},                   // root
      {true, {100, 100, 200, 200}},  // panel
      {true, {250, 150, 50, 100}},   // list: its rectangle within the panel's
      {true, {250, 150, 50, 100}},   // row
      {true, {100, 100, 200, 200}},  // footer: the panel's clip again
      {false, {}},                   // after
  };
  std::vector<DrawCall> fills = rs.Fills();
  ASSERT_EQ(fills.size(), std::size(expected));
  for (size_t i = 0; i < fills.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(fills[i].hasClip, expected[i].clipped);
    if (expected[i].clipped) {
      EXPECT_EQ(fills[i].clip, expected[i].clip);
    }
  }
  ASSERT_FALSE(rs.Calls(DrawCall::kClip).empty());
  EXPECT_FALSE(rs.Calls(DrawCall::kClip).back().hasClip);
}

}  // namespace
