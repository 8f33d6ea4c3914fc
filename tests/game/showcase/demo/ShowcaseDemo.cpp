#include "demo/ShowcaseDemo.h"

#include <utility>

ShowcaseDemo::ShowcaseDemo(std::wstring programFolder) : _programFolder(std::move(programFolder)) {}

std::wstring ShowcaseDemo::GetName() const {
  return L"The Quillmarsh - Showcase";
}

std::wstring ShowcaseDemo::GetVersion() const {
  return L"1.0";
}

std::wstring ShowcaseDemo::GetDescription() const {
  return L"The game shell's controls and dialogs on one screen, for the tests that drive them.";
}

std::wstring ShowcaseDemo::GetVendor() const {
  return L"Brenvik";
}

bool ShowcaseDemo::PostInit(const std::wstring& commandLine) {
  if (!_script.Init()) {
    return false;
  }
  return HLF::Game::PostInit(commandLine);
}

void ShowcaseDemo::OnShutdown() {
  SetStateMachine(nullptr);
  _script.Release();
  HLF::Game::OnShutdown();
}

std::wstring ShowcaseDemo::GetProgramFolder() const {
  return _programFolder.empty() ? HLF::Game::GetProgramFolder() : _programFolder;
}
