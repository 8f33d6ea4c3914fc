#pragma once
// The framework's event record: a code, a parameter, two data words, a text
// and the sending object (not owned). The sender's code table gives meaning.
#include <string>

#include "core/Object.h"

namespace LLF {

class Message : public virtual Object {
 public:
  Message() = default;
  Message(Object* sender, int code, int param, int primary, int secondary, const std::wstring& text)
      : _code(code), _param(param), _primary(primary), _secondary(secondary), _text(text), _sender(sender) {}
  Message(const Message&) = default;
  Message& operator=(const Message&) = default;

  LLF_KIND_OF(Message, Object)
  ~Message() override = default;
  std::wstring Dump() const override;

  virtual int GetCode() const { return _code; }
  virtual int GetParam() const { return _param; }
  virtual int GetPrimary() const { return _primary; }
  virtual int GetSecondary() const { return _secondary; }
  virtual std::wstring GetText() const { return _text; }
  virtual Object* GetSender() const { return _sender; }
  virtual int SetCode(int code) { return _code = code; }
  virtual int SetParam(int param) { return _param = param; }
  virtual int SetPrimary(int primary) { return _primary = primary; }
  virtual int SetSecondary(int secondary) { return _secondary = secondary; }
  virtual void SetText(const std::wstring& text) { _text = text; }
  virtual Object* SetSender(Object* sender) { return _sender = sender; }

  // Read-only view of the text without a copy, for hot paths.
  const std::wstring& TextRef() const { return _text; }

 private:
  int _code = 0;
  int _param = 0;
  int _primary = 0;
  int _secondary = 0;
  std::wstring _text;
  Object* _sender = nullptr;
};

}  // namespace LLF
