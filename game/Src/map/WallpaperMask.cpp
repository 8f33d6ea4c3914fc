#include "map/WallpaperMask.h"

#include "shell/Player.h"

namespace {
const wchar_t kStats[] = L"stats";
const wchar_t kWallpapers[] = L"wallpapers";
}  // namespace

std::wstring ReadWallpaperMask() {
  HLF::Player player;
  std::wstring mask;
  if (!player.GetVar(kStats, kWallpapers, mask)) {
    mask.assign(kWallpaperCount, L'0');
    WriteWallpaperMask(mask);
    return mask;
  }
  if (mask.size() < static_cast<size_t>(kWallpaperCount)) {
    mask.resize(kWallpaperCount, L'0');
  }
  return mask;
}

void WriteWallpaperMask(const std::wstring& mask) {
  HLF::Player player;
  player.SetVar(kStats, kWallpapers, mask);
}
