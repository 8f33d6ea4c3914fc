#pragma once
// Where the generator tells what it did: progress to one stream, warning
// and error lines (prefixed "Warning: " and "Error: ") to another, with a
// count of each.
#include <ostream>
#include <string>

namespace Datagen {

class Report {
 public:
  Report(std::ostream& out, std::ostream& err) : _out(out), _err(err) {}

  void Info(const std::string& text);
  void Warning(const std::string& text);
  void Error(const std::string& text);
  // A line that already carries its own prefix (the framework log's).
  void Relay(const std::string& line);

  int Warnings() const { return _warnings; }
  int Errors() const { return _errors; }

 private:
  std::ostream& _out;
  std::ostream& _err;
  int _warnings = 0;
  int _errors = 0;
};

}  // namespace Datagen
