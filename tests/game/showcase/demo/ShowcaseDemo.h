#pragma once
// The showcase program's application object: the game shell with a name,
// vendor and user folder of its own ("<data home>/Brenvik/The Quillmarsh -
// Showcase/"), whose script shows the showcase at once. Its program folder
// is the one given (the game's data with the showcase's laid over it), made
// the current folder at start-up; empty means the program file's folder.
#include <string>

#include "demo/ShowcaseScript.h"
#include "shell/Game.h"

class ShowcaseDemo : public HLF::Game {
 public:
  explicit ShowcaseDemo(std::wstring programFolder = std::wstring());
  ~ShowcaseDemo() override = default;

  LLF_KIND_OF(ShowcaseDemo, HLF::Game)
  std::wstring GetName() const override;         // "The Quillmarsh - Showcase"
  std::wstring GetVersion() const override;      // "1.0"
  std::wstring GetDescription() const override;  // one sentence for the log header
  std::wstring GetVendor() const override;       // "Brenvik"
  // The script first (a false from it ends Init), then the shell's.
  bool PostInit(const std::wstring& commandLine) override;
  // The shell must not delete the script, which is a member: it forgets it
  // first, the script releases the showcase, then the shell shuts down.
  void OnShutdown() override;

  ShowcaseScript& GetScript() { return _script; }

 protected:
  std::wstring GetProgramFolder() const override;

 private:
  std::wstring _programFolder;
  ShowcaseScript _script;
};
