// The program's entry: one application object, handed the command line
// without the program's path, run to its end.
#include "app/Application.h"
#include "core/OSUtils.h"
#include "flow/TheZentaVoyage.h"

int main() {
  // There is no component system to start here; the flag says so to the
  // code that would release it.
  LLF::Application::SetCOMInitialized(false);
  TheZentaVoyage* game = new TheZentaVoyage;
  LLF::Application::Start(LLF::Application::StripProgramPath(LLF::OS_GetCommandLine()).c_str(), game);
  delete game;
  return 0;
}
