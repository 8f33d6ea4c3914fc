// The showcase program: the game's generated data beside it, the showcase's
// own XML laid over a copy of it in a temporary folder, and the application
// run on that folder to its end. The folder goes when the program ends.
#include <cstdio>

#include "app/Application.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "demo/ShowcaseData.h"
#include "demo/ShowcaseDemo.h"

int main() {
  LLF::Application::SetCOMInitialized(false);
  ShowcaseData data;
  if (data.Folder().empty()) {
    std::fprintf(stderr, "showcase_demo: %s\n", data.Error().c_str());
    return 1;
  }
  auto* demo = new ShowcaseDemo(LLF::FromOsPath(data.Folder() + "/"));
  LLF::Application::Start(LLF::Application::StripProgramPath(LLF::OS_GetCommandLine()).c_str(), demo);
  delete demo;
  return 0;
}
