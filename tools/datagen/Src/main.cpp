// datagen: writes the game's data folder (pictures, sounds, fonts and the
// hand-written scripts) into the folder given on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "DataGenerator.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  return Datagen::DataGenerator::Main(arguments, std::cout, std::cerr);
}
