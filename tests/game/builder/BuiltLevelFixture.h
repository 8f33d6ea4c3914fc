#pragma once
// A headless game on a copy of the generated data without its levels, the
// builder's input folders written to levels/built, tips off and a stand-in
// for the script that hosts the levels started here.
#include <gtest/gtest.h>

#include <string>

#include "GameAtMenu.h"
#include "ModeDriver.h"
#include "math/Rect.h"

namespace QmTest {

class BuiltLevelFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // What a test removes from the copied data before the game starts.
  virtual void TrimData() {}

  static bool Execute(const std::wstring& line);
  // The level of levels/built/<name> started and run until its clock runs;
  // null when it does not start.
  GameMode* Start(const std::wstring& name, const std::wstring& type);
  // A left click at the window point, then one short frame.
  void Click(int x, int y);
  static LLF::Point Centre(const LLF::Rect& r) { return LLF::Point(r.x + r.width / 2, r.y + r.height / 2); }
  std::string Folder(const std::string& name) const {
    return start.Program() + "/levels/built/" + name + "/";
  }

  GameAtMenu start;
  ModeDriver driver;
};

}  // namespace QmTest
