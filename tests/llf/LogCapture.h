#pragma once
// Collects the log's lines (without stamp and line end) while it lives.
#include <mutex>
#include <string>
#include <vector>

#include "Log.h"

namespace QmTest {

class LogCapture {
 public:
  LogCapture() {
    LLF::Log::SetEcho(&Collect);
    Lines().clear();
  }
  ~LogCapture() { LLF::Log::SetEcho(nullptr); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::wstring> Take() {
    std::vector<std::wstring> lines;
    lines.swap(Lines());
    return lines;
  }
  // True when a line holds the text.
  bool Has(const std::wstring& text) const {
    for (const std::wstring& line : Lines()) {
      if (line.find(text) != std::wstring::npos) return true;
    }
    return false;
  }
  const std::vector<std::wstring>& Seen() const { return Lines(); }

 private:
  static std::vector<std::wstring>& Lines() {
    static std::vector<std::wstring> lines;
    return lines;
  }
  static void Collect(const std::wstring& line) {
    // "MM.DD.YYYY / hh:mm:ss " first, CR LF last.
    std::wstring text = line.size() >= 22 ? line.substr(22) : line;
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0) text.resize(text.size() - 2);
    Lines().push_back(text);
  }
};

}  // namespace QmTest
