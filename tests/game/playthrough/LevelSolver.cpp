#include "LevelSolver.h"

#include <functional>
#include <map>

#include "JigsawSolver.h"
#include "MirrorSolver.h"
#include "PairSolver.h"
#include "PuzzleSolver.h"
#include "SeekSolver.h"
#include "WindowedVoyage.h"
#include "core/StringUtils.h"
#include "dialogs/Dialog.h"
#include "flow/TheZentaScript.h"
#include "model/XmlDocEx.h"
#include "modes/GameMode.h"

namespace QmTest {

namespace {

// Clicks closer than this count as fast clicks, which cost time.
constexpr unsigned kCalmGapMs = 600;

}  // namespace

LevelPlay::LevelPlay(WindowedVoyage& game, const std::string& levelFolder)
    : _game(game), _folder(levelFolder) {}

GameMode* LevelPlay::Mode() {
  return _game.GetScript().GetGameMode();
}

bool LevelPlay::LoadLevelFile(HLF::XmlDocEx& doc) const {
  return doc.LoadFromFile(LLF::FromOsPath(_folder + "level.xml")) && doc.GetDocumentElement();
}

void LevelPlay::Click(const LLF::Vector2& at, int (*points)(int sinceLastFindMs)) {
  if (GameMode* mode = Mode(); mode && points) {
    _findPoints += points(mode->GetSinceLastFindMs());
  }
  _game.Click(static_cast<int>(at.x), static_cast<int>(at.y));
  Run(kCalmGapMs);
}

bool LevelPlay::ClickControl(const HLF::Control* control) {
  if (!_game.ClickControl(control)) {
    return false;
  }
  Run(kCalmGapMs);
  return true;
}

bool LevelPlay::UntilPlayable() {
  return _game.FramesUntil(
             [&] {
               GameMode* mode = Mode();
               if (!mode) {
                 return true;
               }
               if (HLF::Dialog* message = mode->GetMessageDialog()) {
                 _game.ClickControl(message->GetChildByName(L"OkButton"));
               }
               return mode->IsPlaying() && mode->CanPlay();
             },
             50) &&
         Mode();
}

bool LevelPlay::TakeHint() {
  GameMode* mode = Mode();
  if (!mode) {
    return false;
  }
  const int before = mode->GetHintsUsed();
  HLF::Control* layer = _game.GetGameLayer();
  if (!ClickControl(layer ? layer->FindChild(L"hint_button") : nullptr)) {
    return false;
  }
  HLF::Dialog* confirm = mode->GetHintConfirmDialog();
  if (!confirm || !ClickControl(confirm->GetChildByName(L"OkButton"))) {
    return false;
  }
  // The hint button's own help message may follow the first hint.
  return UntilPlayable() && mode->GetHintsUsed() == before + 1;
}

void LevelPlay::Run(unsigned ms) {
  _game.Run(ms, 50);
}

bool LevelPlay::Until(const std::function<bool()>& done) {
  return _game.FramesUntil(done, 50);
}

bool LevelPlay::Won() {
  GameMode* mode = Mode();
  return mode && mode->IsResultStored();
}

std::unique_ptr<LevelSolver> MakeSolver(const std::wstring& type) {
  static const std::map<std::wstring, std::function<std::unique_ptr<LevelSolver>()>> table = {
      {L"jigsaw", [] { return std::make_unique<JigsawSolver>(); }},
      {L"mirror", [] { return std::make_unique<MirrorSolver>(); }},
      {L"seek", [] { return std::make_unique<SeekSolver>(); }},
      {L"puzzle", [] { return std::make_unique<PuzzleSolver>(); }},
      {L"pair", [] { return std::make_unique<PairSolver>(); }},
  };
  const auto found = table.find(type);
  return found == table.end() ? nullptr : found->second();
}

}  // namespace QmTest
