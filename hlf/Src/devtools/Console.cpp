#include "devtools/Console.h"

#include "core/Log.h"

namespace HLF {

namespace {

// Index of the first character at or after pos that is not a blank.
size_t SkipBlanks(const std::wstring& line, size_t pos) {
  while (pos < line.size() && line[pos] == L' ') {
    ++pos;
  }
  return pos;
}

}  // namespace

Console::~Console() {
  LLF::Log::SetEcho(nullptr);
}

bool Console::OnMessage(LLF::Message* msg) {
  (void)msg;
  return true;
}

bool Console::IsInputLogging() const {
  return _inputLogging;
}

void Console::SetInputLogging(bool on) {
  _inputLogging = on;
}

bool Console::AddCommand(const std::wstring& name, CommandHandler handler) {
  if (!handler) {
    LLF::Log::GetInstance().Write(L"Warning: Console procedure " + name + L" has no handler.");
    return false;
  }
  if (_commands.count(name) != 0) {
    LLF::Log::GetInstance().Write(L"Warning: Console procedure " + name + L" already exists.");
    return false;
  }
  _commands[name] = handler;
  return true;
}

void Console::Draw() {}

void Console::Print(const std::wstring& line) {
  LLF::MutexLock lock(_mutex);
  _lines.push_back(line);
}

Console::CommandHandler Console::GetCommand(const std::wstring& name) const {
  const auto it = _commands.find(name);
  return it == _commands.end() ? nullptr : it->second;
}

std::vector<std::wstring> Console::GetLines() const {
  LLF::MutexLock lock(_mutex);
  return _lines;
}

void Console::ClearLines() {
  LLF::MutexLock lock(_mutex);
  _lines.clear();
}

int Console::GetParamCount(const std::wstring& line) {
  int count = 0;
  for (size_t pos = SkipBlanks(line, 0); pos < line.size(); pos = SkipBlanks(line, pos)) {
    ++count;
    pos = line.find(L' ', pos);
    if (pos == std::wstring::npos) {
      break;
    }
  }
  return count;
}

std::wstring Console::GetParam(const std::wstring& line, int n) {
  int word = 0;
  for (size_t pos = SkipBlanks(line, 0); pos < line.size(); pos = SkipBlanks(line, pos)) {
    const size_t end = line.find(L' ', pos);
    if (++word == n) {
      return line.substr(pos, end == std::wstring::npos ? std::wstring::npos : end - pos);
    }
    if (end == std::wstring::npos) {
      break;
    }
    pos = end;
  }
  return std::wstring();
}

void Console::EchoLogLine(const std::wstring& line) {
  GetInstance().Print(line);
}

}  // namespace HLF
