// datagen: writes the game's data folder (pictures, sounds, fonts and the
// hand-written scripts) into the folder given on the command line; with
// --builder-inputs, the level builder's input folders instead.
#include <iostream>
#include <string>
#include <vector>

#include "BuilderInputs.h"
#include "DataGenerator.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  if (!arguments.empty() && arguments[0] == "--builder-inputs") {
    return Datagen::BuilderInputs::Main(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  }
  return Datagen::DataGenerator::Main(arguments, std::cout, std::cerr);
}
