#pragma once
// Test doubles shared by the window tests: a window object of a test's own,
// an application that records what the window asks of it, and the fields of
// a sent message in comparable form.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/AppWindow.h"
#include "app/IWindowHost.h"
#include "core/Message.h"
#include "core/MessageReceiver.h"

namespace WindowTest {

// A window of its own per test, beside the program's singleton.
class TestWindow : public LLF::AppWindow {
 public:
  TestWindow() = default;
};

struct FakeHost : LLF::IWindowHost {
  bool CanClose() override {
    ++closeAsked;
    return allowClose;
  }
  void OnResize(LLF::AppSettings* settings) override {
    resized.push_back({static_cast<int>(settings->width), static_cast<int>(settings->height)});
  }
  void OnActivate() override { ++activated; }
  void OnDeactivate(bool* inactive) override {
    *inactive = true;
    ++deactivated;
  }
  bool allowClose = true;
  int closeAsked = 0;
  int activated = 0;
  int deactivated = 0;
  std::vector<LLF::Point> resized;
};

struct Sent {
  int code, param, primary, secondary;
  std::wstring text;

  static Sent Of(const LLF::Message& m) {
    return {m.GetCode(), m.GetParam(), m.GetPrimary(), m.GetSecondary(), m.GetText()};
  }
  bool operator==(const Sent& o) const {
    return code == o.code && param == o.param && primary == o.primary && secondary == o.secondary &&
           text == o.text;
  }
};

inline std::ostream& operator<<(std::ostream& os, const Sent& s) {
  os << "{" << s.code << ", " << s.param << ", " << s.primary << ", 0x" << std::hex
     << static_cast<unsigned>(s.secondary) << std::dec << ", \"";
  for (wchar_t c : s.text) {
    os << (c >= 32 && c < 127 ? std::string(1, static_cast<char>(c)) : "\\x" + std::to_string(c));
  }
  return os << "\"}";
}

struct Recorder : LLF::MessageReceiver {
  bool OnMessage(LLF::Message* m) override {
    got.push_back(Sent::Of(*m));
    return true;
  }
  std::vector<Sent> Take() { return std::exchange(got, {}); }
  std::vector<Sent> got;
};

}  // namespace WindowTest
