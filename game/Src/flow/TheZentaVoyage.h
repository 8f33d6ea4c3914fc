#pragma once
// The game's application object: the game shell with the game's name,
// version, description and vendor, and its top-level script, which the
// shell's hooks start, ask and release. Everything else is the shell's.
//
// The name and vendor make the user folder: "<data home>/Brenvik/The
// Quillmarsh - Zenta/".
#include <string>

#include "flow/TheZentaScript.h"
#include "shell/Game.h"

class TheZentaVoyage : public HLF::Game {
 public:
  TheZentaVoyage() = default;
  ~TheZentaVoyage() override = default;

  LLF_KIND_OF(TheZentaVoyage, HLF::Game)
  std::wstring GetName() const override;         // "The Quillmarsh - Zenta"
  std::wstring GetVersion() const override;      // "1.454 date Thu Oct 15 18:56:26 2009"
  std::wstring GetDescription() const override;  // one sentence for the log header
  std::wstring GetVendor() const override;       // "Brenvik"
  LLF::RenderSettings GetRenderSettings() const override;
  // The script first (a false from it ends Init), then the shell's.
  bool PostInit(const std::wstring& commandLine) override;
  // The shell must not delete the script, which is a member: it forgets it
  // first, the script releases its scenes, then the shell shuts down.
  void OnShutdown() override;
  // The shell's; then, while the menu or the map is on screen, the menu's
  // band starts again and its music resumes where the shell paused it.
  void OnActivate() override;
  // The shell's; then a running level opens its game menu, so the player
  // comes back to a paused level rather than a clock that ran on.
  void OnDeactivate(bool* windowInactive) override;
  // Saves the running level and its resume position; always allows the
  // close. The window asks this on a close request and on a quit signal.
  bool CanClose() override;
  void OnRender(LLF::IRenderSystem* rs) override;

  TheZentaScript& GetScript() { return script; }

 private:
  TheZentaScript script;
};
