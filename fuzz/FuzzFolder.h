#pragma once
// A private folder for one fuzzing process, in memory where there is such a
// folder, removed at exit. The log is written there and started afresh
// after each input (CloseLog), so a long run neither fills a disk nor leaves
// files behind.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Log.h"
#include "core/StringUtils.h"

inline std::string& FuzzFolderPath() {
  static std::string folder;
  return folder;
}

inline void RemoveFuzzFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(FuzzFolderPath(), ignored);
}

// Makes the folder once and sends the log there; gives its path.
inline const std::string& FuzzFolder() {
  std::string& folder = FuzzFolderPath();
  if (folder.empty()) {
    std::string name = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    name += "/qm_fuzz_XXXXXX";
    if (::mkdtemp(name.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    folder = name;
    std::atexit(RemoveFuzzFolder);
    LLF::Log::GetInstance().SetFolder(LLF::FromOsPath(folder));
  }
  return folder;
}

inline void CloseLog() {
  LLF::Log::GetInstance().Close();
}
