#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/StringUtils.h"
#include "modifiers/TimeWarp.h"
#include "modifiers/TimeWarpAccDec.h"
#include "modifiers/TimeWarpAccelerate.h"
#include "modifiers/TimeWarpDecAcc.h"
#include "modifiers/TimeWarpDecelerate.h"
#include "xml/XmlElement.h"

namespace {

std::vector<std::unique_ptr<HLF::TimeWarp>> AllCurves() {
  std::vector<std::unique_ptr<HLF::TimeWarp>> curves;
  curves.emplace_back(new HLF::TimeWarp());
  curves.emplace_back(new HLF::TimeWarpAccelerate());
  curves.emplace_back(new HLF::TimeWarpDecelerate());
  curves.emplace_back(new HLF::TimeWarpAccDec());
  curves.emplace_back(new HLF::TimeWarpDecAcc());
  return curves;
}

TEST(TimeWarpTest, ValuesAtChosenPoints) {
  const double pi = 3.14159265358979323846;
  struct Case {
    const char* tag;
    float t;
    double expected;
    double tolerance;
  } cases[] = {
      // The ends and the middle.
      {"linear", 0.0f, 0.0, 0.0},
      {"linear", 0.5f, 0.5, 0.0},
      {"accelerate", 0.0f, 0.0, 1e-6},
      {"accelerate", 0.5f, 0.2929, 1e-4},
      {"decelerate", 0.0f, 0.0, 0.0},
      {"decelerate", 0.5f, 0.7071, 1e-4},
      {"accdecelerate", 0.0f, -0.0016, 1e-4},
      {"accdecelerate", 0.5f, 0.5, 0.0},
      {"decaccelerate", 0.0f, 0.0004, 1e-4},
      {"decaccelerate", 0.5f, 0.5, 0.0},
      // Inside, against the formulas worked out in double precision.
      {"accelerate", 0.25f, 1.0 - std::cos(22.5 * pi / 180.0), 1e-6},
      {"decelerate", 0.75f, std::sin(67.5 * pi / 180.0), 1e-6},
      {"accdecelerate", 0.25f, std::tan(-0.625) / 6.0 + 0.5, 1e-6},
      {"decaccelerate", 0.75f, std::atan(1.5) / 2.5 + 0.5, 1e-6},
      // Just below the end the fast-slow-fast curve overshoots 1.
      {"accdecelerate", std::nextafter(1.0f, 0.0f), 1.0016, 1e-4},
      // No clamping: outside 0..1 the formulas go on.
      {"linear", -0.5f, -0.5, 0.0},
      {"decelerate", 2.0f, 0.0, 1e-6},
  };
  const auto curves = AllCurves();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tag) + " at " + std::to_string(c.t));
    for (const auto& curve : curves) {
      if (curve->GetTag() == LLF::AnsiToWide(c.tag)) {
        EXPECT_NEAR(curve->Warp(c.t), c.expected, c.tolerance);
      }
    }
  }
  for (const auto& curve : curves) {
    EXPECT_EQ(curve->Warp(1.0f), 1.0f);  // exactly
  }
}

TEST(TimeWarpTest, EachPrototypeCreatesOnlyForItsExactTag) {
  struct Case {
    const wchar_t* attribute;  // null: no attribute
    const wchar_t* created;    // tag of the one curve made, null: none
  } cases[] = {
      {L"decelerate", L"decelerate"},
      {L"accdecelerate", L"accdecelerate"},
      {L"linear", L"linear"},
      {L"Linear", nullptr},
      {nullptr, nullptr},
      {L"", nullptr},
  };
  const auto prototypes = AllCurves();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attribute ? LLF::WideToAnsi(c.attribute) : "no attribute");
    LLF::XmlElement element(L"fader");
    if (c.attribute) {
      element.AddAttribute(L"timeWarp", std::wstring(c.attribute));
    }
    std::vector<std::wstring> made;
    for (const auto& prototype : prototypes) {
      std::unique_ptr<HLF::TimeWarp> curve(prototype->CreateFromXml(element));
      if (curve) {
        made.push_back(curve->GetTag());
        // A new object of the prototype's own class.
        EXPECT_NE(curve.get(), prototype.get());
        const HLF::TimeWarp& made = *curve;
        const HLF::TimeWarp& original = *prototype;
        EXPECT_EQ(typeid(made), typeid(original));
      }
    }
    EXPECT_EQ(made, c.created ? std::vector<std::wstring>{c.created} : std::vector<std::wstring>{});
  }
}

}  // namespace
