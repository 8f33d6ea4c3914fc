#pragma once
// The player's unlocked wallpapers: stats/wallpapers of the current
// profile, one character per wallpaper, "1" unlocked. Only these two read
// and write it.
#include <string>

// How many wallpapers the game has.
constexpr int kWallpaperCount = 20;

// The stored string; absent, twenty "0" are written and returned. A stored
// string shorter than the wallpapers is returned padded with "0" but not
// written back: only a changed character is worth a write.
std::wstring ReadWallpaperMask();
// Writes the string as given; the profiles reach the disk with their next
// save.
void WriteWallpaperMask(const std::wstring& mask);
