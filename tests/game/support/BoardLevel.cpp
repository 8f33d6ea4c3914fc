#include "BoardLevel.h"

#include <filesystem>
#include <fstream>

#include "core/StringUtils.h"

namespace QmTest {

void WriteTextFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
}

LevelInfo WriteBoardLevel(const std::string& program, const std::string& name, const std::string& attributes,
                          const std::wstring& type, int wallpaper) {
  WriteTextFile(program + "/levels/" + name + "/level.xml",
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?><level " + attributes + " />");
  WriteTextFile(program + "/levels/" + name + "/asset.xml",
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?><game><assets><LEVOBJECTS /></assets></game>");
  LevelInfo info;
  info.folder = LLF::AnsiToWide("levels/" + name + "/");
  info.name = LLF::AnsiToWide(name);
  info.type = type;
  info.musicAsset = L"LEVMUSIC_A";
  info.wallpaper = wallpaper;
  info.level = 0;
  info.day = 0;
  return info;
}

}  // namespace QmTest
