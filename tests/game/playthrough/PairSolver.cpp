#include "PairSolver.h"

#include <optional>
#include <vector>

#include "core/StringUtils.h"
#include "math/Point.h"
#include "model/XmlDocEx.h"
#include "modes/pair/GameModePair.h"
#include "modes/pair/PairModeManager.h"
#include "modes/pair/PairModeScene.h"

namespace QmTest {

namespace {

struct Item {
  std::wstring name;
  bool left = false;
  LLF::Point pos;
  LLF::Point dims;
};

// A find's points: 20 for each second under a minute since the last find.
int PairPoints(int sinceLastFindMs) {
  const long long points = (60000LL - sinceLastFindMs) * 20 / 1000;
  return points > 0 ? static_cast<int>(points) : 0;
}

// The first name of the pane without a partner on the other pane.
std::wstring OddOf(const std::vector<Item>& items, bool left) {
  for (const Item& item : items) {
    if (item.left != left) {
      continue;
    }
    bool partnered = false;
    for (const Item& other : items) {
      partnered = partnered || (other.left != left && other.name == item.name);
    }
    if (!partnered) {
      return item.name;
    }
  }
  return std::wstring();
}

// The scene's picture of the item at that place (several items may share
// a name on one scene, never on one pane at one place).
HLF::StaticImage* PictureOf(PairModeScene& scene, const Item& item) {
  for (int i = 0; i < scene.GetChildsCount(); ++i) {
    auto* child = dynamic_cast<HLF::StaticImage*>(scene.GetChild(i));
    if (child && child->GetName() == item.name && static_cast<int>(child->GetPosition().x) == item.pos.x &&
        static_cast<int>(child->GetPosition().y) == item.pos.y) {
      return child;
    }
  }
  return nullptr;
}

// An opaque pixel of the item that no other item of the scene is opaque
// at, in scene coordinates.
std::optional<LLF::Point> ClearPointOf(PairModeScene& scene, const std::vector<Item>& items,
                                       const Item& item) {
  HLF::StaticImage* picture = PictureOf(scene, item);
  if (!picture) {
    return std::nullopt;
  }
  for (int py = item.dims.y / 4; py < item.dims.y; ++py) {
    for (int px = item.dims.x / 4; px < item.dims.x; ++px) {
      if (!PairModeScene::IsOpaqueAt(*picture, LLF::Point(px, py))) {
        continue;
      }
      const LLF::Point at(item.pos.x + px, item.pos.y + py);
      bool covered = false;
      for (const Item& other : items) {
        if (&other == &item) {
          continue;
        }
        HLF::StaticImage* otherPicture = PictureOf(scene, other);
        covered = covered || (otherPicture && otherPicture->IsVisible() &&
                              PairModeScene::IsOpaqueAt(*otherPicture,
                                                        LLF::Point(at.x - other.pos.x, at.y - other.pos.y)));
      }
      if (!covered) {
        return at;
      }
    }
  }
  return std::nullopt;
}

}  // namespace

bool PairSolver::Solve(LevelPlay& play) {
  HLF::XmlDocEx doc;
  if (!play.LoadLevelFile(doc)) {
    return Fail("level.xml does not load");
  }
  std::vector<std::vector<Item>> scenes;
  LLF::XmlElement* level = doc.GetDocumentElement();
  for (int i = 0; i < level->GetChildsCount(); ++i) {
    LLF::XmlElement* scene = level->GetChild(i);
    if (scene->GetName().find(L"scene_") == std::wstring::npos) {
      continue;
    }
    std::vector<Item>& items = scenes.emplace_back();
    for (int j = 0; j < scene->GetChildsCount(); ++j) {
      const LLF::XmlElement* object = scene->GetChild(j);
      if (object->GetName() == L"object") {
        items.push_back({object->GetAttribute(L"name", L"").GetValue(),
                         object->GetAttribute(L"pane", L"").GetValue() == L"left",
                         object->GetAttribute(L"pos", LLF::Point()).GetIntPair(),
                         object->GetAttribute(L"dims", LLF::Point()).GetIntPair()});
      }
    }
  }
  auto* mode = dynamic_cast<GameModePair*>(play.Mode());
  if (!mode || scenes.empty() || !play.UntilPlayable()) {
    return Fail("no Pair level to play");
  }
  PairModeManager& board = mode->GetBoard();
  if (board.GetScenes().size() != scenes.size()) {
    return Fail("the board does not hold the level file's scenes");
  }
  // Where a scene stands once it has slid in: where the first one stands.
  const LLF::Vector2 rest = board.GetScenes()[0]->GetAbsolutePosition();
  for (size_t s = 0; s < scenes.size(); ++s) {
    if (!play.Until([&] {
          const LLF::Vector2 at = board.GetScenes()[s]->GetAbsolutePosition();
          return board.GetCurrentIndex() == static_cast<int>(s) && mode->IsPlaying() && mode->CanPlay() &&
                 at.x == rest.x && at.y == rest.y;
        })) {
      PairModeScene* current = board.GetCurrentScene();
      return Fail("scene " + std::to_string(s + 1) + " never came; scene " +
                  std::to_string(board.GetCurrentIndex() + 1) + " waits for \"" +
                  LLF::WideToAnsi(current ? current->GetMissingLeft() : L"") + "\" and \"" +
                  LLF::WideToAnsi(current ? current->GetMissingRight() : L"") + "\"");
    }
    PairModeScene& scene = *board.GetScenes()[s];
    const LLF::Vector2 origin = scene.GetAbsolutePosition();
    const std::vector<Item>& items = scenes[s];
    if (play.wrongClick && s == 0) {
      const std::wstring oddLeft = OddOf(items, true);
      const std::wstring oddRight = OddOf(items, false);
      for (const Item& item : items) {
        if (item.name == oddLeft || item.name == oddRight) {
          continue;
        }
        if (const std::optional<LLF::Point> at = ClearPointOf(scene, items, item)) {
          const int before = mode->GetRemainingMs();
          play.Click(
              LLF::Vector2(origin.x + static_cast<float>(at->x), origin.y + static_cast<float>(at->y)));
          if (mode->GetRemainingMs() > before - 30000) {
            return Fail("a wrong item cost less than 30 seconds");
          }
          if (!play.UntilPlayable()) {
            return Fail("the board stopped taking clicks after a wrong item");
          }
          break;
        }
      }
    }
    for (const bool left : {true, false}) {
      const std::wstring odd = OddOf(items, left);
      const Item* item = nullptr;
      for (const Item& candidate : items) {
        item = !item && candidate.left == left && candidate.name == odd ? &candidate : item;
      }
      if (!item) {
        return Fail("a pane of scene " + std::to_string(s + 1) + " has no odd item");
      }
      const std::optional<LLF::Point> at = ClearPointOf(scene, items, *item);
      if (!at) {
        return Fail("no clear opaque point for \"" + LLF::WideToAnsi(odd) + "\"");
      }
      play.Click(LLF::Vector2(origin.x + static_cast<float>(at->x), origin.y + static_cast<float>(at->y)),
                 &PairPoints);
      if (play.Won()) {
        return s + 1 == scenes.size() ? true : Fail("won before the last scene");
      }
      if (!play.UntilPlayable()) {
        return Fail("the board stopped taking clicks");
      }
    }
  }
  return play.Won() ? true : Fail("every odd item is found but the level is not won");
}

}  // namespace QmTest
