#pragma once
// A headless game on a copy of the generated data without its levels, the
// builder's input folders written to levels/built, tips off and a stand-in
// for the script that hosts the levels started here.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "HeadlessVoyage.h"
#include "TempFolders.h"
#include "math/Rect.h"
#include "model/StateMachine.h"
#include "modes/GameModeHost.h"

namespace QmTest {

class BuiltLevelFixture : public ::testing::Test, public HLF::StateMachine {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Update(unsigned dt) override;
  bool OnMessage(LLF::Message* msg) override;

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
    return folders.Program() + "/levels/built/" + name + "/";
  }

  TempFolders folders;
  std::unique_ptr<HeadlessVoyage> game;
  GameModeHost host;
};

}  // namespace QmTest
