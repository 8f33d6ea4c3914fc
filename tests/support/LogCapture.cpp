#include "LogCapture.h"

#include "core/Log.h"

namespace QmTest {

namespace {

std::vector<std::wstring> g_lines;

void Echo(const std::wstring& line) {
  // "MM.DD.YYYY / HH:MM:SS " then the text and "\r\n".
  std::wstring text = line.size() >= 22 ? line.substr(22) : line;
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0) text.resize(text.size() - 2);
  g_lines.push_back(text);
}

}  // namespace

LogCapture::LogCapture() {
  g_lines.clear();
  LLF::Log::GetInstance().SetEcho(Echo);
}

LogCapture::~LogCapture() {
  LLF::Log::GetInstance().SetEcho(nullptr);
}

const std::vector<std::wstring>& LogCapture::Lines() const {
  return g_lines;
}

int LogCapture::Count(const std::wstring& text) const {
  int n = 0;
  for (const auto& line : g_lines) n += line.find(text) != std::wstring::npos;
  return n;
}

void LogCapture::Clear() {
  g_lines.clear();
}

}  // namespace QmTest
