#include "shell/Player.h"

#include "core/Log.h"
#include "shell/Game.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'/' || c == L'\\';
}

// The path's segments, empty ones left out.
std::vector<std::wstring> Segments(const std::wstring& path) {
  std::vector<std::wstring> segments;
  std::wstring segment;
  for (wchar_t c : path) {
    if (IsSeparator(c)) {
      if (!segment.empty()) {
        segments.push_back(segment);
      }
      segment.clear();
    } else {
      segment.push_back(c);
    }
  }
  if (!segment.empty()) {
    segments.push_back(segment);
  }
  return segments;
}

void LogNotSelected(const wchar_t* operation, const wchar_t* what) {
  LLF::Log::GetInstance().Write(std::wstring(L"Error: Player::") + operation +
                                L" - Player is not selected to " + what + L" his vars.");
}

}  // namespace

Player::Player(const std::wstring& name) {
  SetPlayer(name);
}

bool Player::IsXmlName(const std::wstring& name) {
  if (name.empty()) {
    return false;
  }
  for (size_t i = 0; i < name.size(); ++i) {
    const wchar_t c = name[i];
    const bool letter = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
    const bool digit = c >= L'0' && c <= L'9';
    if (!letter && !(digit && i > 0)) {
      return false;
    }
  }
  return true;
}

bool Player::SetPlayer(const std::wstring& name) {
  Game* game = Game::GetInstance();
  _profile = nullptr;
  if (game) {
    _profile = name.empty() ? game->GetCurrentProfile() : game->FindProfile(name);
  }
  if (!_profile) {
    LLF::Log::GetInstance().Write(L"Error: Player::SetPlayer - there is no player with name \"" + name +
                                  L"\"");
  }
  return _profile != nullptr;
}

LLF::XmlElement* Player::FindPath(const std::wstring& path, bool create) {
  const std::vector<std::wstring> segments = Segments(path);
  if (segments.empty()) {
    return nullptr;  // the profile itself holds no variables
  }
  LLF::XmlElement* element = _profile;
  for (const std::wstring& segment : segments) {
    LLF::XmlElement* next = nullptr;
    for (int i = 0; i < element->GetChildsCount() && !next; ++i) {
      LLF::XmlElement* child = element->GetChild(i);
      if (!child->IsComment() && child->GetName() == segment) {
        next = child;
      }
    }
    if (!next) {
      if (!create) {
        return nullptr;
      }
      next = element->AddChild(segment);
    }
    element = next;
  }
  return element;
}

void Player::SetVar(const std::wstring& path, const std::wstring& attribute, const std::wstring& value) {
  if (!_profile) {
    LogNotSelected(L"SetVar", L"change");
    return;
  }
  const std::vector<std::wstring> segments = Segments(path);
  bool valid = !segments.empty() && (attribute.empty() || IsXmlName(attribute));
  for (const std::wstring& segment : segments) {
    valid = valid && IsXmlName(segment);
  }
  if (!valid) {
    LLF::Log::GetInstance().Write(L"Error: Player::SetVar - invalid key \"" + path + L"\" \"" + attribute +
                                  L"\"; nothing is written.");
    return;
  }
  LLF::XmlElement* element = FindPath(path, true);
  if (attribute.empty()) {
    element->SetText(value);
  } else if (LLF::XmlAttribute* existing = element->GetAttribute(attribute)) {
    existing->SetValue(value);
  } else {
    element->AddAttribute(attribute, value);
  }
}

bool Player::GetVar(const std::wstring& path, const std::wstring& attribute, std::wstring& value) {
  if (!_profile) {
    LogNotSelected(L"GetVar", L"get");
    return false;
  }
  LLF::XmlElement* element = FindPath(path, false);
  if (!element) {
    return false;
  }
  if (attribute.empty()) {
    value = element->GetText();
    return true;
  }
  const LLF::XmlAttribute* found = element->GetAttribute(attribute);
  if (!found) {
    return false;
  }
  value = found->GetValue();
  return true;
}

std::vector<std::wstring> Player::GetPathChilds(const std::wstring& path) {
  std::vector<std::wstring> names;
  if (!_profile) {
    LogNotSelected(L"GetPathChilds", L"get");
    return names;
  }
  if (LLF::XmlElement* element = FindPath(path, false)) {
    for (int i = 0; i < element->GetChildsCount(); ++i) {
      const LLF::XmlElement* child = element->GetChild(i);
      if (!child->IsComment()) {
        names.push_back(child->GetName());
      }
    }
  }
  return names;
}

std::vector<std::wstring> Player::GetPathAttributes(const std::wstring& path) {
  std::vector<std::wstring> names;
  if (!_profile) {
    LogNotSelected(L"GetPathAttributes", L"get");
    return names;
  }
  if (LLF::XmlElement* element = FindPath(path, false)) {
    for (int i = 0; i < element->GetAttributesCount(); ++i) {
      names.push_back(element->GetAttribute(i)->GetName());
    }
  }
  return names;
}

void Player::Save() {
  if (Game* game = Game::GetInstance()) {
    game->SaveConfigs();
  }
}

}  // namespace HLF
