#pragma once
// The board of the Seek mode: the scene picture with the objects of the
// level file drawn over it, the list of names to find, the click test and
// the flight of each find towards the list. Its owner mode scores the
// finds and builds the list's lines.
//
// Objects ("object" elements of the level, in file order) are never
// reordered; the first object opaque under a click that is in the list and
// not yet found is the find. The list takes the priority objects in file
// order, then the easy, normal and difficult classes (each shuffled), a
// class that runs short passing its shortfall to the next, the difficult
// class's to the unknown reserve.
#include <cstddef>
#include <string>
#include <vector>

#include "widgets/StaticImage.h"

namespace LLF {
class Image;
class Message;
class XmlElement;
}  // namespace LLF

namespace HLF {
class Fader;
}

class GameModeSeek;

class SeekModeManager : public HLF::StaticImage {
 public:
  enum ObjectClass {
    CLASS_UNPLAYABLE = 0,
    CLASS_UNKNOWN = 1,
    CLASS_EASY = 2,
    CLASS_NORMAL = 3,
    CLASS_DIFFICULT = 4,
    CLASS_PRIORITY = 5,
  };

  struct SeekObject {
    LLF::Image* picture = nullptr;  // the images manager's
    float x = 0.0f;
    float y = 0.0f;
    int w = 0;
    int h = 0;
    std::wstring name;
    bool found = false;
    int objectClass = CLASS_UNPLAYABLE;
  };

  struct FoundRecord {
    HLF::StaticImage* picture = nullptr;  // the flying picture, in the game layer
    HLF::Fader* fader = nullptr;          // its fade, until it has ended
    std::wstring name;
  };

  // The screen the flight crosses: the game's logical size, whatever the
  // window's.
  static constexpr float kScreenWidth = 800.0f;
  static constexpr float kScreenHeight = 600.0f;
  static constexpr float kListWidth = 170.0f;
  // Each object is searched on every click and every stored name: a level
  // file listing thousands would take minutes to load and to play.
  static constexpr size_t kMaxObjects = 256;

  SeekModeManager();
  // Takes the flying pictures out of the game layer.
  ~SeekModeManager() override;

  LLF_KIND_OF(SeekModeManager, HLF::StaticImage)

  virtual void SetOwnerMode(GameModeSeek* mode) { owner = mode; }
  // The background, the objects and the search list of the level element;
  // objects past the first kMaxObjects are skipped with a warning. True.
  virtual bool LoadBoard(LLF::XmlElement& level);
  // Without regard to case.
  virtual bool IsInSearchList(const std::wstring& name) const;
  virtual bool IsFound(const std::wstring& name) const;
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  void OnMouseUp(const LLF::Message& msg) override;
  // The end of a flying picture's fade: the picture hides and its list
  // line fades.
  bool OnMessage(LLF::Message* msg) override;

  // The stored progress: the list in order replaces the chosen one (names
  // past the list's length are dropped); each found name that is in the
  // list and not found yet makes a found record and marks its object.
  void Restore(const std::wstring& items, const std::wstring& itemsFound);
  // "items": the list joined by ","; "itemsFound": each list name whose
  // object is found, followed by ",".
  std::wstring ItemsValue() const;
  std::wstring ItemsFoundValue() const;
  // Every name of a non-empty list found: the goal.
  bool AllFound() const;
  // Greys the scene picture and every object's picture in place.
  void TurnGrey();

  // The index of the object a click at (lx, ly) in board coordinates
  // finds, -1 for none.
  int ObjectAt(int lx, int ly) const;
  // Whether the object's picture is opaque at (px, py) of the picture; a
  // point outside the picture (dims larger than it) is transparent.
  static bool IsOpaqueAt(const SeekObject& object, int px, int py);

  const std::vector<SeekObject>& GetObjects() const { return objects; }
  const std::vector<FoundRecord>& GetFoundRecords() const { return found; }
  const std::vector<std::wstring>& GetSearchList() const { return searchList; }
  // The first object whose name is exactly name; null for none.
  const SeekObject* FindObject(const std::wstring& name) const;
  void SetLightImage(LLF::Image* image) { lightImage = image; }
  LLF::Image* GetLightImage() const { return lightImage; }

 private:
  // The flying picture of a find, with its modifiers started.
  void StartFlight(const SeekObject& object);

  std::vector<SeekObject> objects;
  std::vector<FoundRecord> found;
  std::vector<std::wstring> searchList;
  GameModeSeek* owner = nullptr;
  LLF::Image* lightImage = nullptr;
};
