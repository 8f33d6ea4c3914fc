#include "flow/TheZentaScript.h"

#include "core/Log.h"
#include "math/Color.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "particles/Emitter.h"
#include "shell/Game.h"

namespace {

const wchar_t kShowcaseFile[] = L"scripts/dialogs/showcase.xml";
const wchar_t kShowcaseSection[] = L"showcase";
const wchar_t kShowcaseName[] = L"screen";

struct AssetList {
  const wchar_t* file;
  const wchar_t* list;
};
const AssetList kShowcaseLists[] = {
    {L"scripts/fonts.xml", L"GUI"},
    {L"scripts/images.xml", L"GUI"},
};

void StartEmitters(HLF::Control& control) {
  if (auto* emitter = dynamic_cast<HLF::Emitter*>(&control)) {
    emitter->Start(0);
  }
  for (int i = 0; i < control.GetChildsCount(); ++i) {
    StartEmitters(*control.GetChild(i));
  }
}

}  // namespace

bool TheZentaScript::Init(const std::wstring& /*argument*/) {
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetStateMachine(this);
  }
  SetState(CS_STATE_SHOWCASE);
  return true;
}

void TheZentaScript::DoState() {
  LLF::Log& log = LLF::Log::GetInstance();
  switch (_current) {
    case CS_STATE_SHOWCASE:
      log.Write(L"TheZentaScript::DoState() - CS_STATE_SHOWCASE");
      StartShowcase();
      break;
    default:
      HLF::StateMachine::DoState();
      break;
  }
}

void TheZentaScript::StartShowcase() {
  LLF::Log& log = LLF::Log::GetInstance();
  if (HLF::Game* game = HLF::Game::GetInstance()) {
    game->SetClearSettings(true, LLF::Color(0, 0, 0, 255));
  }
  showcaseLoader.RemoveReceiver(this);
  showcaseLoader.AddReceiver(this);
  bool first = true;
  for (const AssetList& list : kShowcaseLists) {
    const bool added = first ? showcaseLoader.SetListFromFile(list.file, list.list)
                             : showcaseLoader.AddListFromFile(list.file, list.list);
    first = false;
    if (!added) {
      log.Write(std::wstring(L"Warning: TheZentaScript - the list \"") + list.list + L"\" of " + list.file +
                L" can't be read; the showcase goes without it.");
    }
  }
  // A loader without lists reports nothing, and one that can't start never
  // will: the showcase is then built at once from what there is.
  if (showcaseLoader.GetLists().empty() || !showcaseLoader.Start(0)) {
    log.Write(L"Warning: TheZentaScript - the showcase's assets are not loading; it is built without them.");
    BuildShowcase();
  }
}

bool TheZentaScript::OnMessage(LLF::Message* msg) {
  if (!msg || msg->GetSender() != static_cast<LLF::Object*>(&showcaseLoader)) {
    return HLF::StateMachine::OnMessage(msg);
  }
  switch (msg->GetCode()) {
    case HLF::ASSETS_MSG_DONE:
      BuildShowcase();
      break;
    case HLF::ASSETS_MSG_DONE_FAILED:
      LLF::Log::GetInstance().Write(
          L"Warning: TheZentaScript - some of the showcase's assets did not load; it is built with what "
          L"there "
          L"is.");
      BuildShowcase();
      break;
    default:
      break;
  }
  return true;
}

void TheZentaScript::BuildShowcase() {
  if (showcase) {
    return;
  }
  LLF::Log& log = LLF::Log::GetInstance();
  HLF::Game* game = HLF::Game::GetInstance();
  HLF::Control* layer = game ? game->GetGameLayer() : nullptr;
  if (!layer) {
    log.Write(L"Error: TheZentaScript - there is no game layer to show the showcase in.");
    return;
  }
  HLF::Control* built = HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(
      kShowcaseFile, kShowcaseSection, kShowcaseName);
  if (!built) {
    log.Write(std::wstring(L"Error: Can't create control from file ") + kShowcaseFile + L", section " +
              kShowcaseSection + L", control name " + kShowcaseName);
    return;
  }
  if (!layer->AddChild(built)) {
    delete built;
    log.Write(L"Error: TheZentaScript - the game layer refused the showcase.");
    return;
  }
  showcase = built;
  StartEmitters(*showcase);
}

void TheZentaScript::Release() {
  if (showcase) {
    if (HLF::Control* parent = showcase->GetParent()) {
      parent->RemoveChild(showcase, true);
    } else {
      delete showcase;
    }
    showcase = nullptr;
  }
  showcaseLoader.RemoveReceiver(this);
  showcaseLoader.UnloadAssets();
}

void TheZentaScript::Render(LLF::IRenderSystem* /*rs*/) {}

GameMode* TheZentaScript::GetGameMode() {
  return nullptr;
}

bool TheZentaScript::SaveRunningLevel() {
  return true;
}
