#pragma once
// The one exception class the framework throws. Creating one writes it to
// the log between two star lines, so every exception is recorded once
// whether or not anybody catches it; copies made while throwing do not log.
#include <exception>
#include <string>

#include "core/Object.h"

namespace LLF {

class Exception : public virtual Object, public std::exception {
 public:
  // file and function are narrow compiler texts, read through the ANSI
  // code page.
  Exception(int code, const std::wstring& description, const std::wstring& source, const char* file, int line,
            const char* function);

  LLF_KIND_OF(Exception, Object)
  ~Exception() override = default;
  // The eight-line record: "An exception has been thrown!", "Details:", then
  // File, Line, Function, Code, Description and Source, each ended by CR LF.
  std::wstring Dump() const override;
  virtual int GetCode() const { return _code; }

  const std::wstring& GetDescription() const { return _description; }
  const std::wstring& GetSource() const { return _source; }
  const std::wstring& GetFile() const { return _file; }
  const std::wstring& GetFunction() const { return _function; }
  int GetLine() const { return _line; }

  // The qualified name of a function from the compiler's full signature
  // ("std::wstring LLF::OS_GetTempDir()" gives "LLF::OS_GetTempDir").
  static std::string FunctionName(const char* signature);

 private:
  int _code;
  std::wstring _description;
  std::wstring _source;
  std::wstring _file;
  std::wstring _function;
  int _line;
};

}  // namespace LLF

// Throws an LLF::Exception naming the throw site.
#define LLF_THROW(code, description, source)                                  \
  throw ::LLF::Exception((code), (description), (source), __FILE__, __LINE__, \
                         ::LLF::Exception::FunctionName(__PRETTY_FUNCTION__).c_str())
