#pragma once
// One entry of the console's registry: a variable (its type and the storage
// it reads and writes, owned by whoever registered it) or a command (its
// handler).
#include <string>

namespace HLF {

struct ConsoleCommand {
  // A handler gets the whole command line as typed.
  using Handler = void (*)(const std::wstring& line);

  // The type codes; 8 and 9 name no type.
  enum Type {
    TYPE_CHAR = 0,     // unsigned char
    TYPE_INT = 1,      // int32_t
    TYPE_FLOAT = 2,    // float
    TYPE_BOOL = 3,     // one byte, 1 true
    TYPE_STRING = 4,   // std::wstring
    TYPE_POINTI = 5,   // LLF::Point
    TYPE_POINTF = 6,   // LLF::Vector2
    TYPE_COLOR = 7,    // LLF::Color
    TYPE_COMMAND = 10  // the handler is called
  };

  int type = TYPE_COMMAND;
  void* storage = nullptr;
  Handler handler = nullptr;
};

}  // namespace HLF
