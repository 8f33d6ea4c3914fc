#include "MirrorSolver.h"

#include <vector>

#include "math/Point.h"
#include "model/XmlDocEx.h"
#include "modes/mirror/GameModeMirror.h"
#include "modes/mirror/MirrorModeManager.h"

namespace QmTest {

bool MirrorSolver::Solve(LevelPlay& play) {
  HLF::XmlDocEx doc;
  if (!play.LoadLevelFile(doc)) {
    return Fail("level.xml does not load");
  }
  LLF::XmlElement* level = doc.GetDocumentElement();
  LLF::XmlElement* background = level->FindChild(L"background");
  const float half =
      background ? static_cast<float>(background->GetAttribute(L"dims", LLF::Point()).GetIntPair().x) : 0.0f;
  std::vector<LLF::Vector2> centres;
  for (int i = 0; i < level->GetChildsCount(); ++i) {
    const LLF::XmlElement* object = level->GetChild(i);
    if (object->GetName() != L"object") {
      continue;
    }
    const LLF::Point pos = object->GetAttribute(L"pos", LLF::Point()).GetIntPair();
    const LLF::Point dims = object->GetAttribute(L"dims", LLF::Point()).GetIntPair();
    centres.emplace_back(static_cast<float>(pos.x + dims.x / 2), static_cast<float>(pos.y + dims.y / 2));
  }
  auto* mode = dynamic_cast<GameModeMirror*>(play.Mode());
  if (!mode || half <= 0.0f || centres.empty() || !play.UntilPlayable()) {
    return Fail("no Mirror level to play");
  }
  MirrorModeManager& board = mode->GetBoard();
  if (board.LeftCount() != static_cast<int>(centres.size())) {
    return Fail("the board does not hold the level file's differences");
  }
  if (play.takeHint && !play.TakeHint()) {
    return Fail("the hint was not taken");
  }
  const LLF::Vector2 origin = board.GetAbsolutePosition();
  for (size_t i = 0; i < centres.size(); ++i) {
    LLF::Vector2 at = centres[i];
    if (i % 2 == 1) {
      at.x += at.x < half ? half : -half;
    }
    const int left = board.LeftCount();
    play.Click(LLF::Vector2(origin.x + at.x, origin.y + at.y), &GameMode::FindPoints);
    if (play.Won()) {
      return i + 1 == centres.size() ? true : Fail("won before every difference was found");
    }
    if (board.LeftCount() != left - 1) {
      return Fail("a difference's centre was not counted as found");
    }
    if (!play.UntilPlayable()) {
      return Fail("the board stopped taking clicks");
    }
  }
  return play.Won() ? true : Fail("every difference is found but the level is not won");
}

}  // namespace QmTest
