#pragma once
// Collects the text of every log line written while it lives (time stamp
// and line end removed). One capture at a time.
#include <string>
#include <vector>

namespace QmTest {

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  const std::vector<std::wstring>& Lines() const;
  // Lines that contain the text.
  int Count(const std::wstring& text) const;
  void Clear();
};

}  // namespace QmTest
