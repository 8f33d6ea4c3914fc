#include "families/EditorFont.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

#include "Report.h"
#include "Staging.h"
#include "core/CodecsManager.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "devtools/Editor.h"
#include "families/FontFiles.h"
#include "font/Font.h"
#include "font/FontCodecTTF.h"
#include "font/FontCodecXML.h"
#include "font/FontsManager.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"
#include "math/Point.h"

namespace Datagen {

namespace {

// Registers the codecs the run needs for its life; those another part of
// the process registered already are left to it.
class CodecScope {
 public:
  CodecScope() {
    Add(LLF::FontsManager::GetInstance(), &LLF::FontCodecTTF::GetInstance());
    Add(LLF::FontsManager::GetInstance(), &LLF::FontCodecXML::GetInstance());
    Add(LLF::ImagesManager::GetInstance(), &LLF::CodecPng::GetInstance());
  }
  ~CodecScope() {
    for (const auto& undo : _undo) undo();
  }
  CodecScope(const CodecScope&) = delete;
  CodecScope& operator=(const CodecScope&) = delete;

 private:
  template <class Manager>
  void Add(Manager& manager, LLF::ICodec* codec) {
    for (unsigned i = 0; i < manager.GetCodecsCount(); ++i) {
      if (manager.GetCodec(i) == codec) return;
    }
    if (manager.RegisterCodec(codec)) {
      _undo.push_back([&manager, codec] { manager.UnregisterCodec(codec); });
    }
  }

  std::vector<std::function<void()>> _undo;
};

// The framework's log lines while it lives: its success lines ("Font
// loaded", "Image saved") are no news for the run's report; its errors are
// handed on when the family fails.
class QuietLog {
 public:
  QuietLog() : _previous(LLF::Log::GetEcho()) {
    Lines().clear();
    LLF::Log::SetEcho(&Keep);
  }
  ~QuietLog() { LLF::Log::SetEcho(_previous); }
  QuietLog(const QuietLog&) = delete;
  QuietLog& operator=(const QuietLog&) = delete;

  void Report(Datagen::Report& report) const {
    for (const std::wstring& line : Lines()) report.Error(LLF::WideToAnsi(line));
  }

 private:
  static std::vector<std::wstring>& Lines() {
    static std::vector<std::wstring> lines;
    return lines;
  }
  static void Keep(const std::wstring& line) { Lines().push_back(line); }

  LLF::Log::EchoFunction _previous;
};

bool ReadBytes(const std::filesystem::path& file, std::string& bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  bytes = text.str();
  return static_cast<bool>(in) || in.eof();
}

}  // namespace

bool EditorFont::Generate(const GeneratorSettings& settings, Staging& staging, Report& report) {
  std::string source;
  if (!FontFiles::Locate(settings, "DejaVuSans.ttf", source, report)) return false;

  const CodecScope codecs;
  const QuietLog quiet;
  LLF::FontsManager& fonts = LLF::FontsManager::GetInstance();
  std::unique_ptr<LLF::Font> font(fonts.LoadFont(LLF::FromOsPath(source), kSize, HLF::Editor::kFontCharacters,
                                                 std::wstring(), true, true, LLF::Point(2, 2)));
  if (!font) {
    quiet.Report(report);
    report.Error("the editor's font can't be rendered from " + source);
    return false;
  }
  // Saved into a scratch folder first: the codec writes two files whose
  // names it chooses itself.
  const std::filesystem::path scratch = staging.LogFolder() / "editor-font";
  std::error_code ec;
  std::filesystem::create_directories(scratch, ec);
  const std::filesystem::path saved = scratch / "FontSystem.xml";
  if (ec || !fonts.SaveFont(font.get(), LLF::FromOsPath(saved.string()))) {
    quiet.Report(report);
    report.Error("the editor's font can't be saved in " + scratch.string());
    return false;
  }
  for (const char* suffix : {"", ".png"}) {
    std::string bytes;
    if (!ReadBytes(saved.string() + suffix, bytes) ||
        !staging.Write(std::string(kFile) + suffix, bytes, report)) {
      report.Error(std::string("the editor's font file ") + kFile + suffix + " can't be staged");
      return false;
    }
  }
  std::filesystem::remove_all(scratch, ec);
  return true;
}

}  // namespace Datagen
