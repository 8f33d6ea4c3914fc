#include "modifiers/Effect.h"

#include <algorithm>
#include <cmath>

#include "core/Log.h"
#include "model/OwnedList.h"
#include "model/XmlDocEx.h"
#include "modifiers/Modifier.h"
#include "modifiers/ModifierFactory.h"
#include "properties/PropertyTable.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

Effect::Effect() = default;

Effect::Effect(const std::wstring& file, const std::wstring& name, LLF::MessageReceiver* receiver,
               unsigned startDelay)
    : _startDelay(startDelay) {
  LoadFromFile(file, name);
  if (receiver) {
    AddReceiver(receiver);
  }
}

Effect::Effect(LLF::XmlElement& element, LLF::MessageReceiver* receiver, unsigned startDelay)
    : _startDelay(startDelay) {
  LoadFromXml(element);
  if (receiver) {
    AddReceiver(receiver);
  }
}

Effect::~Effect() {
  *_alive = false;
  DeleteModifiers();
}

void Effect::DeleteModifiers() {
  std::vector<Modifier*> modifiers;
  modifiers.swap(_modifiers);
  for (Modifier* modifier : modifiers) {
    delete modifier;
  }
}

Modifier* Effect::GetModifier(int index) const {
  return EntryAt(_modifiers, index);
}

bool Effect::HasModifier(const Modifier* modifier) const {
  return Holds(_modifiers, modifier);
}

void Effect::AddModifier(Modifier* modifier) {
  if (modifier && !HasModifier(modifier)) {
    _modifiers.push_back(modifier);
  }
}

void Effect::StartModifiers() {
  for (Modifier* modifier : _modifiers) {
    modifier->Start();
  }
}

void Effect::Start() {
  for (Modifier* modifier : _modifiers) {
    modifier->SetTarget(_target);
    modifier->AddReceiver(this);
  }
  if (_startDelay == 0) {
    StartModifiers();
  }
  // The target shows the starting state during a delay too.
  ApplyInitialParams();
  _running = true;
  _stopped = false;
  _endReported = false;
}

bool Effect::Update(unsigned dt) {
  if (!_running || _stopped) {
    return false;
  }
  if (_startDelay > 0) {
    if (_startDelay <= dt) {
      // Not restored: a looping effect restarts without the delay.
      _startDelay = 0;
      StartModifiers();
    } else {
      _startDelay -= dt;
    }
    return true;
  }
  const std::shared_ptr<bool> alive = _alive;
  const std::vector<Modifier*> modifiers = _modifiers;
  for (Modifier* modifier : modifiers) {
    if (HasModifier(modifier)) {
      modifier->Update(dt);
      if (!*alive) {
        return true;
      }
    }
  }
  if (_stopped) {
    // A receiver of a modifier ended the effect meanwhile.
    return true;
  }
  if (_infiniteLoop) {
    const bool allStopped = std::all_of(_modifiers.begin(), _modifiers.end(),
                                        [](const Modifier* modifier) { return modifier->IsStopped(); });
    if (allStopped) {
      Stop(false);
    }
    return true;
  }
  DeleteStopped(_modifiers);
  if (_modifiers.empty()) {
    // The end message goes last: a receiver may delete this effect.
    Stop(false);
  }
  return true;
}

void Effect::End(bool silent, bool finishModifiers) {
  _running = false;
  _stopped = true;
  if (_infiniteLoop) {
    Start();
    return;
  }
  if (finishModifiers) {
    for (Modifier* modifier : _modifiers) {
      modifier->Finish(true);
    }
  }
  // Once per run, however often it is ended.
  if (!silent && !_endReported) {
    _endReported = true;
    // Last: a receiver may delete this effect.
    LLF::Message msg(this, EFFECT_MSG_END, 0, 0, 0, std::wstring());
    Send(&msg);
  }
}

void Effect::Stop(bool silent) {
  End(silent, true);
}

void Effect::Cancel(bool silent) {
  End(silent, false);
}

bool Effect::LoadFromXmlText(const std::wstring& text) {
  XmlDocEx doc;
  if (!doc.Parse(text)) {
    LLF::Log::GetInstance().Write(L"Error: Can't assign effect XML text");
    return false;
  }
  LLF::XmlElement* element = doc.GetDocumentElement();
  if (!element) {
    LLF::Log::GetInstance().Write(L"Error: Effects XML doesn't have \"effect\" item.");
    return false;
  }
  return LoadFromXml(*element);
}

const PropertyTable<Effect>& Effect::Properties() {
  using P = PropertyTable<Effect>;
  static const P table({
      // Every load names the effect, an unnamed one with no name.
      P::Member(L"name", &Effect::_name).WhenAbsent(L""),
      // Seconds, rounded to whole milliseconds.
      P::Typed(
          L"startDelay", [](const Effect& e) { return static_cast<float>(e._startDelay) / 1000.0f; },
          [](Effect& e, float seconds) {
            const double ms = std::round(static_cast<double>(seconds) * 1000.0);
            e._startDelay = ms > 0.0 ? static_cast<unsigned>(std::min(ms, 4294967295.0)) : 0u;
          }),
      P::Member(L"infiniteLoop", &Effect::_infiniteLoop),
  });
  return table;
}

bool Effect::LoadFromXml(LLF::XmlElement& element) {
  Properties().Load(*this, element);
  ModifierFactory& factory = ModifierFactory::GetInstance();
  for (int i = 0; i < element.GetChildsCount(); ++i) {
    if (Modifier* modifier = factory.CreateFrom(*element.GetChild(i))) {
      _modifiers.push_back(modifier);
    }
  }
  return true;
}

bool Effect::LoadFromFile(const std::wstring& file, const std::wstring& name) {
  XmlDocEx doc;
  if (!doc.LoadFromFile(file)) {
    LLF::Log::GetInstance().Write(L"Error: Can't open effects file \"" + file + L"\"");
    return false;
  }
  LLF::XmlElement* effects = doc.GetDocumentElement();
  if (!effects) {
    LLF::Log::GetInstance().Write(L"Error: Effects file \"" + file + L"\" don't have root item.");
    return false;
  }
  LLF::XmlElement* effect = XmlDocEx::FindNamedChild(*effects, name);
  return effect && LoadFromXml(*effect);
}

void Effect::ApplyInitialParams() {
  for (Modifier* modifier : _modifiers) {
    modifier->ApplyInitial();
  }
}

void Effect::CopyFrom(const Effect& other) {
  if (&other == this) {
    return;
  }
  _target = other._target;
  _stopped = other._stopped;
  _running = other._running;
  _infiniteLoop = other._infiniteLoop;
  _name = other._name;
  _startDelay = other._startDelay;
  _endReported = other._endReported;
  DeleteModifiers();
  for (const Modifier* modifier : other._modifiers) {
    Modifier* copy = modifier->CreateInstance();
    copy->CopyFrom(*modifier);
    _modifiers.push_back(copy);
  }
  RemoveAllReceivers();
  for (LLF::MessageReceiver* receiver : other.GetReceivers()) {
    AddReceiver(receiver);
  }
}

bool Effect::OnMessage(LLF::Message* msg) {
  (void)msg;
  return true;
}

}  // namespace HLF
