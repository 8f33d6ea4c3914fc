#pragma once
// A control that writes what happens to it ("name:event") into a journal
// shared by a test's tree, and lets the test act from inside its handlers.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/StringUtils.h"
#include "model/Control.h"

namespace QmTest {

using Journal = std::vector<std::string>;

class Probe : public HLF::Control {
 public:
  Probe(Journal* journal, const std::wstring& name, float x = 0, float y = 0, int width = 100,
        int height = 100)
      : HLF::Control(name), _journal(journal) {
    SetPosition(x, y);
    SetSize(width, height);
  }

  // Adds a new probe to parent and returns it.
  static Probe* Add(HLF::Control* parent, Journal* journal, const std::wstring& name, float x, float y,
                    int width, int height) {
    Probe* probe = new Probe(journal, name, x, y, width, height);
    parent->AddChild(probe);
    return probe;
  }

  bool IsKindOf(const std::string& className) const override {
    return (dialog && className == "Dialog") || HLF::Control::IsKindOf(className);
  }
  bool HitTest(const LLF::Point& p) override { return hitTest ? hitTest(p) : HLF::Control::HitTest(p); }
  bool ProcessMessage(const LLF::Message& msg) override {
    if (CanProcessMessages()) Note("pm");
    if (onMessage) onMessage(msg);
    return HLF::Control::ProcessMessage(msg);
  }
  void OnMouseDown(const LLF::Message& msg) override {
    Note("down");
    if (throwOnDown) throw std::runtime_error("down");
    HLF::Control::OnMouseDown(msg);
  }
  void OnMouseMove(const LLF::Message& msg) override {
    Note("move");
    HLF::Control::OnMouseMove(msg);
  }
  void OnMouseUp(const LLF::Message& msg) override {
    HLF::Control::OnMouseUp(msg);
    // Runs after the click went out: the control must still be alive here
    // even when a receiver of the click closed it.
    Note("up");
  }
  void OnMouseWheel(const LLF::Message& msg) override {
    Note("wheel");
    HLF::Control::OnMouseWheel(msg);
  }
  void OnMouseDblClick(const LLF::Message& msg) override {
    Note("dblclick");
    HLF::Control::OnMouseDblClick(msg);
  }
  void Update(unsigned dt) override {
    Note("update");
    lastFrameTime = dt;
    if (onUpdate) onUpdate();
    HLF::Control::Update(dt);
    Note("updated");
  }
  void DoState() override {
    Note("state" + std::to_string(GetState()));
    if (throwOnDoState) throw std::runtime_error("state");
    HLF::Control::DoState();
  }
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override {
    parentAlpha = parent ? parent->alpha : -1;
    HLF::Control::Render(rs, parent);
  }

  void Note(const std::string& event) {
    if (_journal) _journal->push_back(LLF::WideToAnsi(GetName()) + ":" + event);
  }

  bool dialog = false;  // answers the type test for "Dialog"
  bool throwOnDown = false;
  bool throwOnDoState = false;
  std::function<bool(const LLF::Point&)> hitTest;
  std::function<void(const LLF::Message&)> onMessage;
  std::function<void()> onUpdate;
  unsigned lastFrameTime = 0;
  int parentAlpha = -2;  // the context alpha of the last draw; -1 without a parent

 private:
  Journal* _journal;
};

// The journal's entries that end in one of the events.
inline Journal Only(const Journal& journal, const std::vector<std::string>& events) {
  Journal result;
  for (const std::string& entry : journal) {
    for (const std::string& event : events) {
      if (entry.size() > event.size() &&
          entry.compare(entry.size() - event.size(), event.size(), event) == 0 &&
          entry[entry.size() - event.size() - 1] == ':') {
        result.push_back(entry);
      }
    }
  }
  return result;
}

}  // namespace QmTest
