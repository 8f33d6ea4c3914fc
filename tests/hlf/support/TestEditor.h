#pragma once
// A test double of the developer editor: installed as the editor for its
// life, with its answers set by the test.
#include "model/EditorServices.h"

namespace QmTest {

class TestEditor : public HLF::EditorServices {
 public:
  TestEditor();
  ~TestEditor() override;

  bool IsInitialized() override { return initialized; }
  LLF::Font* GetFont() override { return initialized ? font : nullptr; }
  bool IsOpen() override { return open; }
  bool Init() override;

  bool open = false;
  bool initialized = false;
  bool canInit = true;
  int initCalls = 0;
  LLF::Font* font = nullptr;
};

}  // namespace QmTest
