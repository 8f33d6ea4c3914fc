#include "core/Message.h"

namespace LLF {

std::wstring Message::Dump() const {
  return L"Message - code: " + std::to_wstring(_code) + L", data primary: " + std::to_wstring(_primary) +
         L", data secondary: " + std::to_wstring(_secondary) + L", text data: " + _text;
}

}  // namespace LLF
