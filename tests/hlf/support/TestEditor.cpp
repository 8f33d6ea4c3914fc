#include "TestEditor.h"

namespace QmTest {

namespace {

TestEditor* g_editor = nullptr;

HLF::EditorServices* Provide() {
  return g_editor;
}

}  // namespace

TestEditor::TestEditor() {
  g_editor = this;
  SetProvider(&Provide);
}

TestEditor::~TestEditor() {
  g_editor = nullptr;
  SetProvider(nullptr);
}

bool TestEditor::Init() {
  ++initCalls;
  initialized = canInit;
  return initialized;
}

}  // namespace QmTest
