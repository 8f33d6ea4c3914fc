#include "LogRecorder.h"

#include "core/Log.h"

namespace QmTest {

namespace {

std::vector<std::wstring>& Kept() {
  static std::vector<std::wstring> lines;
  return lines;
}

void Keep(const std::wstring& line) {
  Kept().push_back(line);
}

}  // namespace

LogRecorder::LogRecorder() {
  Kept().clear();
  LLF::Log::SetEcho(&Keep);
}

LogRecorder::~LogRecorder() {
  LLF::Log::SetEcho(nullptr);
}

const std::vector<std::wstring>& LogRecorder::Lines() const {
  return Kept();
}

int LogRecorder::Count(const std::wstring& text) const {
  int count = 0;
  for (const std::wstring& line : Kept()) {
    count += line.find(text) != std::wstring::npos ? 1 : 0;
  }
  return count;
}

}  // namespace QmTest
