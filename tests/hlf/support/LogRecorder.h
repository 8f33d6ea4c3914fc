#pragma once
// Keeps the log lines written while it lives (through the log's echo), so a
// test can look for a warning. One recorder at a time.
#include <string>
#include <vector>

namespace QmTest {

class LogRecorder {
 public:
  LogRecorder();
  ~LogRecorder();
  LogRecorder(const LogRecorder&) = delete;
  LogRecorder& operator=(const LogRecorder&) = delete;

  // Whole lines, time stamp and line end included.
  const std::vector<std::wstring>& Lines() const;
  // How many lines hold the text.
  int Count(const std::wstring& text) const;
};

}  // namespace QmTest
