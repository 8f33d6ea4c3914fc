#include "core/Exception.h"

#include "core/Log.h"
#include "core/StringUtils.h"

namespace LLF {

Exception::Exception(int code, const std::wstring& description, const std::wstring& source, const char* file,
                     int line, const char* function)
    : _code(code),
      _description(description),
      _source(source),
      _file(AnsiToWide(file ? file : "")),
      _function(AnsiToWide(function ? function : "")),
      _line(line) {
  // One lock around the three entries keeps another thread's line from
  // falling between them.
  Log& log = Log::GetInstance();
  MutexLock lock(log.GetMutex());
  log.WriteStarLine();
  log.Write(Dump());
  log.WriteStarLine();
}

std::wstring Exception::Dump() const {
  return L"An exception has been thrown!\r\nDetails:\r\nFile: " + _file + L"\r\nLine: " + ToString(_line) +
         L"\r\nFunction: " + _function + L"\r\nCode: " + ToString(_code) + L"\r\nDescription: " +
         _description + L"\r\nSource: " + _source + L"\r\n";
}

std::string Exception::FunctionName(const char* signature) {
  std::string s = signature ? signature : "";
  // Drop a template argument list such as " [with T = int]".
  if (const size_t with = s.find(" [with "); with != std::string::npos) s.erase(with);
  // The parameter list is the last bracketed group at the top level.
  int depth = 0;
  size_t open = std::string::npos;
  for (size_t i = s.size(); i-- > 0;) {
    if (s[i] == ')') {
      ++depth;
    } else if (s[i] == '(') {
      if (--depth == 0) {
        open = i;
        break;
      }
    }
  }
  if (open == std::string::npos) return s;
  // The name runs back to the blank before it, not counting blanks inside
  // brackets ("(anonymous namespace)::f", "A<int, int>::f").
  int nesting = 0;
  size_t begin = 0;
  for (size_t i = open; i-- > 0;) {
    if (s[i] == '>' || s[i] == ')') {
      ++nesting;
    } else if (s[i] == '<' || s[i] == '(') {
      --nesting;
    } else if ((s[i] == ' ' || s[i] == '*' || s[i] == '&') && nesting == 0) {
      begin = i + 1;
      break;
    }
  }
  return s.substr(begin, open - begin);
}

}  // namespace LLF
