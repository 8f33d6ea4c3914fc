#include "DataGenerator.h"

#include "Manifest.h"
#include "OutputFolder.h"
#include "Report.h"
#include "Staging.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "families/ButtonStrips.h"
#include "families/ClockPictures.h"
#include "families/ClockSounds.h"
#include "families/CursorArrow.h"
#include "families/DialogFrame.h"
#include "families/EditorFont.h"
#include "families/FontFiles.h"
#include "families/GalleryPictures.h"
#include "families/GallerySounds.h"
#include "families/InterfaceSounds.h"
#include "families/JigsawPictures.h"
#include "families/JigsawSounds.h"
#include "families/LevelFolders.h"
#include "families/LevelMusic.h"
#include "families/MainMenuPictures.h"
#include "families/MainMenuSounds.h"
#include "families/MapPictures.h"
#include "families/MapSounds.h"
#include "families/MenuPictures.h"
#include "families/MenuSounds.h"
#include "families/MirrorPictures.h"
#include "families/PairPictures.h"
#include "families/ParticlePictures.h"
#include "families/ScriptFiles.h"
#include "families/SeekPictures.h"
#include "families/SeekSounds.h"
#include "families/ShowcaseBackdrop.h"
#include "families/TitlePicture.h"
#include "families/TutorialPicture.h"
#include "families/WallpaperPictures.h"
#include "families/WidgetPictures.h"
#include "families/WindowIcon.h"

#ifndef DATAGEN_DEFAULT_DATA_FOLDER
#define DATAGEN_DEFAULT_DATA_FOLDER "data"
#endif

namespace Datagen {

namespace fs = std::filesystem;

namespace {

// The framework's log lines (an XML file that does not parse, a codec that
// fails) reach the run's report. The log file itself goes into the staging
// folder and away with it, never into the data folder.
class LogRelay {
 public:
  LogRelay(Report& report, const fs::path& folder) : _previousFolder(LLF::Log::GetInstance().GetFolder()) {
    s_report = &report;
    LLF::Log::GetInstance().SetFolder(LLF::FromOsPath(folder.string() + "/"));
    LLF::Log::SetEcho(&Echo);
  }
  ~LogRelay() {
    LLF::Log::SetEcho(nullptr);
    LLF::Log::GetInstance().SetFolder(_previousFolder);
    s_report = nullptr;
  }
  LogRelay(const LogRelay&) = delete;
  LogRelay& operator=(const LogRelay&) = delete;

 private:
  static void Echo(const std::wstring& line) {
    // "MM.DD.YYYY / hh:mm:ss " before the text, CR LF after it.
    constexpr size_t kStamp = 22;
    std::wstring text = line.size() > kStamp ? line.substr(kStamp) : line;
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    if (s_report) s_report->Relay(LLF::WideToAnsi(text));
  }

  std::wstring _previousFolder;
  static Report* s_report;
};

Report* LogRelay::s_report = nullptr;

}  // namespace

DataGenerator::DataGenerator(const GeneratorSettings& settings, Report& report)
    : _settings(settings), _report(report) {}

DataGenerator::~DataGenerator() = default;

void DataGenerator::AddFamily(std::unique_ptr<AssetFamily> family) {
  _families.push_back(std::move(family));
}

void DataGenerator::AddStandardFamilies() {
  AddFamily(std::make_unique<ScriptFiles>());
  AddFamily(std::make_unique<FontFiles>());
  AddFamily(std::make_unique<TitlePicture>());
  AddFamily(std::make_unique<ShowcaseBackdrop>());
  AddFamily(std::make_unique<ParticlePictures>());
  AddFamily(std::make_unique<WindowIcon>());
  AddFamily(std::make_unique<ButtonStrips>());
  AddFamily(std::make_unique<DialogFrame>());
  AddFamily(std::make_unique<WidgetPictures>());
  AddFamily(std::make_unique<CursorArrow>());
  AddFamily(std::make_unique<TutorialPicture>());
  AddFamily(std::make_unique<InterfaceSounds>());
  AddFamily(std::make_unique<LevelMusic>());
  AddFamily(std::make_unique<LevelFolders>());
  AddFamily(std::make_unique<MenuPictures>());
  AddFamily(std::make_unique<MenuSounds>());
  AddFamily(std::make_unique<ClockPictures>());
  AddFamily(std::make_unique<ClockSounds>());
  AddFamily(std::make_unique<MapPictures>());
  AddFamily(std::make_unique<MapSounds>());
  AddFamily(std::make_unique<MainMenuPictures>());
  AddFamily(std::make_unique<MainMenuSounds>());
  AddFamily(std::make_unique<EditorFont>());
  AddFamily(std::make_unique<WallpaperPictures>());
  AddFamily(std::make_unique<GalleryPictures>());
  AddFamily(std::make_unique<GallerySounds>());
  AddFamily(std::make_unique<JigsawPictures>());
  AddFamily(std::make_unique<JigsawSounds>());
  AddFamily(std::make_unique<MirrorPictures>());
  AddFamily(std::make_unique<SeekPictures>());
  AddFamily(std::make_unique<SeekSounds>());
  AddFamily(std::make_unique<PairPictures>());
}

bool DataGenerator::Run() {
  const fs::path output = _settings.outputFolder;
  std::error_code ec;
  fs::create_directories(output, ec);
  if (ec || !fs::is_directory(output)) {
    _report.Error("cannot create the output folder " + output.string() +
                  (ec ? ": " + ec.message() : std::string()));
    return false;
  }

  Staging staging(output);
  if (!staging.Create(_report)) return false;
  const LogRelay relay(_report, staging.LogFolder());
  for (const std::unique_ptr<AssetFamily>& family : _families) {
    if (!family->Generate(_settings, staging, _report)) {
      _report.Error("generating " + family->Name() + " failed; the data folder " + output.string() +
                    " is left as it was");
      return false;
    }
  }

  Manifest manifest;
  const fs::path manifestFile = output / Manifest::kFileName;
  if (!manifest.Load(manifestFile, _report)) return false;
  const OutputFolder::Summary summary = OutputFolder(output).Apply(staging, manifest, _report);
  const bool saved = manifest.Save(manifestFile, _report);
  staging.Remove();

  _report.Info(std::to_string(summary.written) + " written, " + std::to_string(summary.unchanged) +
               " unchanged, " + std::to_string(summary.removed) + " removed, " +
               std::to_string(summary.kept) + " left in place, in " + output.string());
  return saved && summary.failed == 0;
}

bool DataGenerator::ParseArguments(const std::vector<std::string>& arguments, GeneratorSettings& settings,
                                   Report& report) {
  settings = GeneratorSettings{};
  settings.dataFolder = DATAGEN_DEFAULT_DATA_FOLDER;
  settings.fontFolder = kDefaultFontFolder;
  bool haveOutput = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--data" || argument == "--fonts") {
      if (i + 1 >= arguments.size()) {
        report.Error(argument + " needs a folder");
        return false;
      }
      (argument == "--data" ? settings.dataFolder : settings.fontFolder) = arguments[++i];
    } else if (!argument.empty() && argument[0] == '-') {
      report.Error("unknown option " + argument);
      return false;
    } else if (haveOutput) {
      report.Error("more than one output folder: " + argument);
      return false;
    } else {
      settings.outputFolder = argument;
      haveOutput = true;
    }
  }
  if (!haveOutput || settings.outputFolder.empty()) {
    report.Error("usage: datagen [--data FOLDER] [--fonts FOLDER] OUTPUT_FOLDER");
    return false;
  }
  return true;
}

int DataGenerator::Main(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  Report report(out, err);
  GeneratorSettings settings;
  if (!ParseArguments(arguments, settings, report)) return 2;
  DataGenerator generator(settings, report);
  generator.AddStandardFamilies();
  return generator.Run() ? 0 : 1;
}

}  // namespace Datagen
