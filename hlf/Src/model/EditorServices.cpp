#include "model/EditorServices.h"

namespace HLF {

namespace {
EditorServices::Provider g_provider = nullptr;
}

bool EditorServices::IsInitialized() {
  return false;
}

LLF::Font* EditorServices::GetFont() {
  return nullptr;
}

bool EditorServices::IsOpen() {
  return false;
}

bool EditorServices::Init() {
  return false;
}

EditorServices* EditorServices::GetInstance() {
  return g_provider ? g_provider() : nullptr;
}

void EditorServices::SetProvider(Provider provider) {
  g_provider = provider;
}

EditorServices::Provider EditorServices::GetProvider() {
  return g_provider;
}

bool EditorServices::IsEditorOpen() {
  EditorServices* editor = GetInstance();
  return editor && editor->IsOpen();
}

LLF::Font* EditorServices::GetEditorFont() {
  EditorServices* editor = GetInstance();
  if (!editor || (!editor->IsInitialized() && !editor->Init())) {
    return nullptr;
  }
  return editor->GetFont();
}

}  // namespace HLF
