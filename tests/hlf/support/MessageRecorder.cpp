#include "MessageRecorder.h"

#include <algorithm>

#include "core/StringUtils.h"
#include "model/Control.h"

namespace QmTest {

bool MessageRecorder::OnMessage(LLF::Message* msg) {
  Entry entry;
  const HLF::Control* control = dynamic_cast<const HLF::Control*>(msg->GetSender());
  entry.sender = control ? LLF::WideToAnsi(control->GetName()) : "?";
  entry.code = msg->GetCode();
  entry.param = msg->GetParam();
  entry.primary = msg->GetPrimary();
  entry.secondary = msg->GetSecondary();
  entry.text = msg->GetText();
  _entries.push_back(entry);
  if (action) {
    action(*msg);
  }
  return true;
}

std::vector<std::string> MessageRecorder::Codes() const {
  std::vector<std::string> result;
  for (const Entry& entry : _entries) {
    result.push_back(entry.sender + ":" + std::to_string(entry.code));
  }
  return result;
}

std::vector<std::string> MessageRecorder::Codes(const std::vector<int>& only) const {
  std::vector<std::string> result;
  for (const Entry& entry : _entries) {
    if (std::find(only.begin(), only.end(), entry.code) != only.end()) {
      result.push_back(entry.sender + ":" + std::to_string(entry.code));
    }
  }
  return result;
}

}  // namespace QmTest
