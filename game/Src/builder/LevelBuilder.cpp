#include "builder/LevelBuilder.h"

#include <vector>

#include "builder/MirrorLevelBuilder.h"
#include "builder/PairLevelBuilder.h"
#include "builder/SeekLevelBuilder.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "devtools/Console.h"

LevelBuilder::Words LevelBuilder::ReadWords(const std::wstring& line) {
  Words words;
  const int count = HLF::Console::GetParamCount(line);
  if (count <= 1) {
    words.usage = true;
    return words;
  }
  if (count == 2) {
    words.type = L"seek";
    words.folder = HLF::Console::GetParam(line, 2);
  } else {
    words.type = HLF::Console::GetParam(line, 2);
    if (words.type != L"mirror" && words.type != L"pair") words.type = L"seek";
    words.folder = HLF::Console::GetParam(line, 3);
    if (count >= 4) words.option = HLF::Console::GetParam(line, 4);
  }
  if (words.folder.empty() || (words.folder.back() != L'/' && words.folder.back() != L'\\')) {
    words.folder += L'/';
  }
  return words;
}

int LevelBuilder::MergeDistance(const std::wstring& option) {
  if (option.empty()) return MirrorLevelBuilder::kDefaultMergeDistance;
  size_t i = 0;
  const bool negative = option[0] == L'-';
  if (option[0] == L'-' || option[0] == L'+') i = 1;
  long long value = 0;
  for (; i < option.size() && option[i] >= L'0' && option[i] <= L'9'; ++i) {
    // Beyond the frame's size every distance merges alike.
    if (value < 100000) value = value * 10 + (option[i] - L'0');
  }
  return int(negative ? -value : value);
}

void LevelBuilder::BuildLevel(const std::wstring& line) {
  const Words words = ReadWords(line);
  if (words.usage) {
    LLF::Log::GetInstance().Write(L"Command buildlevel use: buildlevel level_type layers_folder_path");
    return;
  }
  std::vector<std::wstring> files;
  for (const std::wstring& file : LLF::OS_FindFiles(words.folder + L"*.*")) {
    // What a run killed while writing left behind: a picture's or a file's
    // temporary, no layer. This run writes its own over it.
    if (file.rfind(L'~', 0) == 0 || (file.size() > 4 && file.compare(file.size() - 4, 4, L".tmp") == 0)) {
      LLF::Log::GetInstance().Write(L"Warning: \"" + file +
                                    L"\" is a temporary file of an earlier run. Skipped.");
      continue;
    }
    files.push_back(file);
  }
  // A mistyped folder would otherwise be made, holding an empty level.
  if (files.empty()) {
    LLF::Log::GetInstance().Write(L"Error: Folder \"" + words.folder +
                                  L"\" holds no files. Nothing has been built.");
    return;
  }
  if (words.type == L"mirror") {
    MirrorLevelBuilder::Build(words.folder, files, MergeDistance(words.option));
  } else if (words.type == L"pair") {
    PairLevelBuilder::Build(words.folder, files, words.option == L"exportImages");
  } else {
    SeekLevelBuilder::Build(words.folder, files);
  }
}
