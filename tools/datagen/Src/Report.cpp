#include "Report.h"

namespace Datagen {

void Report::Info(const std::string& text) {
  _out << "datagen: " << text << '\n';
}

void Report::Warning(const std::string& text) {
  ++_warnings;
  _err << "Warning: " << text << '\n';
}

void Report::Error(const std::string& text) {
  ++_errors;
  _err << "Error: " << text << '\n';
}

void Report::Relay(const std::string& line) {
  if (line.rfind("Error: ", 0) == 0) ++_errors;
  if (line.rfind("Warning: ", 0) == 0) ++_warnings;
  _err << line << '\n';
}

}  // namespace Datagen
