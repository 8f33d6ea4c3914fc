#include "modes/GameMode.h"

#include <climits>
#include <string>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "map/ZentaLevelMap.h"
#include "shell/Player.h"

namespace {

const wchar_t kStats[] = L"stats";
const wchar_t kTimeLeft[] = L"timeLeft";
constexpr long long kEasyFactor = 3;

// Digits only, and within an int.
bool ReadMilliseconds(const std::wstring& text, int& ms) {
  if (text.empty() || text.size() > 10) {
    return false;
  }
  long long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') {
      return false;
    }
    value = value * 10 + (c - L'0');
  }
  if (value > INT_MAX) {
    return false;
  }
  ms = static_cast<int>(value);
  return true;
}

}  // namespace

int GameMode::GetDayFullTime() {
  const int seconds = ZentaLevelMap::GetDayTime(ZentaLevelMap::GetCurrentDay());
  bool found = false;
  const bool easy = ZentaLevelMap::GetEasyMode(found);
  long long ms = static_cast<long long>(seconds < 0 ? 0 : seconds) * 1000 * (easy ? kEasyFactor : 1);
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

int GameMode::StoreTimeLeft(int ms) {
  if (ms == -1) {
    ms = GetDayFullTime();
  } else if (ms < 0) {
    ms = 0;
  }
  HLF::Player player;
  player.SetVar(kStats, kTimeLeft, LLF::ToString(ms));
  return ms;
}

int GameMode::ReadTimeLeft() {
  HLF::Player player;
  std::wstring value;
  if (!player.GetVar(kStats, kTimeLeft, value)) {
    return StoreTimeLeft(-1);
  }
  int ms = 0;
  if (!ReadMilliseconds(value, ms)) {
    LLF::Log::GetInstance().Write(L"Warning: GameMode - the stored time left \"" + value +
                                  L"\" is no time; the day's full time is taken.");
    return StoreTimeLeft(-1);
  }
  return ms;
}
