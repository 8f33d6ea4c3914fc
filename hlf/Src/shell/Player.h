#pragma once
// A handle on one player profile of the game's profiles document. A
// variable is a text addressed by an element path below the profile
// (names separated by '/' or '\', mixed freely) and an attribute name; an
// empty attribute name addresses the element's text. Writing creates the
// missing elements of the path; nothing is saved until Save.
//
// Keys become element and attribute names of "profiles.xml", so a segment
// or attribute name the XML reader would not take back (anything but
// letters, digits and '_', not starting with a digit) is refused: a file
// that no longer reads would lose every player's progress. Empty segments
// (a leading, doubled or trailing separator) are skipped.
//
// A handle is only valid while its profile stays in the document: keep
// players short-lived.
#include <string>
#include <vector>

#include "core/Object.h"

namespace LLF {
class XmlElement;
}

namespace HLF {

class Player : public LLF::Object {
 public:
  // Selects the profile at once, as SetPlayer.
  explicit Player(const std::wstring& name = std::wstring());

  LLF_KIND_OF(Player, LLF::Object)
  ~Player() override = default;

  // The named profile, or the current one for an empty name; false, with
  // an error line, when there is none (the handle is then unselected).
  virtual bool SetPlayer(const std::wstring& name);
  // Writes the variable, creating the path; a key that is not an XML name
  // is refused with an error line and nothing is written.
  virtual void SetVar(const std::wstring& path, const std::wstring& attribute, const std::wstring& value);
  // False (value untouched) when the element or the attribute is missing.
  virtual bool GetVar(const std::wstring& path, const std::wstring& attribute, std::wstring& value);
  // The element names of the children of the element at path, comments
  // left out.
  virtual std::vector<std::wstring> GetPathChilds(const std::wstring& path);
  // The attribute names of the element at path, in order.
  virtual std::vector<std::wstring> GetPathAttributes(const std::wstring& path);
  // The game's SaveConfigs.
  virtual void Save();

  LLF::XmlElement* GetProfile() const { return _profile; }

  // Letters, digits and '_', not starting with a digit.
  static bool IsXmlName(const std::wstring& name);

 private:
  // The element at path below the profile, or null (an empty path too);
  // with create, the missing elements are appended.
  LLF::XmlElement* FindPath(const std::wstring& path, bool create);

  LLF::XmlElement* _profile = nullptr;
};

}  // namespace HLF
