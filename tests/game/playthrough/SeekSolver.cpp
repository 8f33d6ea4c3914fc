#include "SeekSolver.h"

#include <map>
#include <optional>

#include "core/StringUtils.h"
#include "math/Point.h"
#include "model/XmlDocEx.h"
#include "modes/GameMode.h"
#include "modes/seek/GameModeSeek.h"
#include "modes/seek/SeekModeManager.h"

namespace QmTest {

namespace {

struct Placed {
  LLF::Point pos;
  LLF::Point dims;
};

bool Inside(const Placed& p, int x, int y) {
  return x >= p.pos.x && x < p.pos.x + p.dims.x && y >= p.pos.y && y < p.pos.y + p.dims.y;
}

// A point of the object's picture that is opaque where no other object
// still sought is opaque (a ring's hole shows what lies under it), in board
// coordinates.
std::optional<LLF::Point> PointOf(const std::wstring& name, const std::map<std::wstring, Placed>& placed,
                                  const SeekModeManager& board) {
  const SeekModeManager::SeekObject* object = board.FindObject(name);
  const auto own = placed.find(name);
  if (!object || own == placed.end()) {
    return std::nullopt;
  }
  for (int py = 0; py < own->second.dims.y; ++py) {
    for (int px = 0; px < own->second.dims.x; ++px) {
      if (!SeekModeManager::IsOpaqueAt(*object, px, py)) {
        continue;
      }
      const int x = own->second.pos.x + px;
      const int y = own->second.pos.y + py;
      bool covered = false;
      for (const std::wstring& other : board.GetSearchList()) {
        const auto at = placed.find(other);
        const SeekModeManager::SeekObject* picture = board.FindObject(other);
        covered =
            covered || (other != name && !board.IsFound(other) && at != placed.end() && picture &&
                        Inside(at->second, x, y) &&
                        SeekModeManager::IsOpaqueAt(*picture, x - at->second.pos.x, y - at->second.pos.y));
      }
      if (!covered) {
        return LLF::Point(x, y);
      }
    }
  }
  return std::nullopt;
}

}  // namespace

bool SeekSolver::Solve(LevelPlay& play) {
  HLF::XmlDocEx doc;
  if (!play.LoadLevelFile(doc)) {
    return Fail("level.xml does not load");
  }
  std::map<std::wstring, Placed> placed;
  LLF::XmlElement* level = doc.GetDocumentElement();
  for (int i = 0; i < level->GetChildsCount(); ++i) {
    const LLF::XmlElement* object = level->GetChild(i);
    if (object->GetName() == L"object") {
      placed[object->GetAttribute(L"name", L"").GetValue()] = {
          object->GetAttribute(L"pos", LLF::Point()).GetIntPair(),
          object->GetAttribute(L"dims", LLF::Point()).GetIntPair()};
    }
  }
  auto* mode = dynamic_cast<GameModeSeek*>(play.Mode());
  if (!mode || placed.empty() || !play.UntilPlayable()) {
    return Fail("no Seek level to play");
  }
  SeekModeManager& board = mode->GetBoard();
  if (play.takeHint && !play.TakeHint()) {
    return Fail("the hint was not taken");
  }
  const LLF::Vector2 origin = board.GetAbsolutePosition();
  for (int finds = 0; finds < static_cast<int>(placed.size()) && !board.AllFound(); ++finds) {
    std::wstring name;
    for (const std::wstring& sought : board.GetSearchList()) {
      if (!board.IsFound(sought)) {
        name = sought;
        break;
      }
    }
    const std::optional<LLF::Point> at = PointOf(name, placed, board);
    if (!at) {
      return Fail("no clear opaque point for \"" + LLF::WideToAnsi(name) + "\"");
    }
    play.Click(LLF::Vector2(origin.x + static_cast<float>(at->x), origin.y + static_cast<float>(at->y)),
               &GameMode::FindPoints);
    if (play.Won()) {
      return board.AllFound() ? true : Fail("won before every name was found");
    }
    if (!board.IsFound(name)) {
      return Fail("\"" + LLF::WideToAnsi(name) + "\" was not found where level.xml puts it");
    }
    if (!play.UntilPlayable()) {
      return Fail("the board stopped taking clicks");
    }
  }
  return play.Won() ? true : Fail("every name is found but the level is not won");
}

}  // namespace QmTest
