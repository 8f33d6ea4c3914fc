#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "io/TextEncoding.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::wstring>;
using Args = std::vector<std::string>;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Touch(const std::string& path, const std::string& content = "x") {
  std::ofstream(path, std::ios::binary) << content;
}

// Sets an environment variable for the life of a scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : _name(name) {
    if (const char* old = std::getenv(name)) _old = old, _had = true;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (_had)
      setenv(_name.c_str(), _old.c_str(), 1);
    else
      unsetenv(_name.c_str());
  }

 private:
  std::string _name, _old;
  bool _had = false;
};

TEST(OSUtilsTest, Folders) {
  const std::string data = std::getenv("XDG_DATA_HOME");
  EXPECT_EQ(LLF::OS_GetAppDataDir(true), LLF::FromOsPath(data) + L"/");
  EXPECT_EQ(LLF::OS_GetAppDataDir(false), LLF::OS_GetAppDataDir(true));
  {
    // A relative XDG_DATA_HOME is ignored, as the XDG rules say.
    const std::string home = QmTest::NewTempFolder("home");
    ScopedEnv xdg("XDG_DATA_HOME", "relative/data");
    ScopedEnv h("HOME", home.c_str());
    EXPECT_EQ(LLF::OS_GetAppDataDir(true), LLF::FromOsPath(home) + L"/.local/share/");
  }
  EXPECT_EQ(LLF::OS_GetTempDir(), LLF::FromOsPath(std::getenv("TMPDIR")) + L"/");
  {
    ScopedEnv tmp("TMPDIR", "/no/such/folder");
    EXPECT_EQ(LLF::OS_GetTempDir(), L"/tmp/");
  }
  const std::wstring cwd = LLF::OS_GetCurrentDir();
  EXPECT_EQ(cwd, LLF::FromOsPath(fs::current_path().string()) + L"/");
  const std::string other = QmTest::NewTempFolder("cwd");
  ASSERT_TRUE(LLF::OS_SetCurrentDir(LLF::FromOsPath(other)));
  EXPECT_EQ(LLF::OS_GetCurrentDir(), LLF::FromOsPath(fs::canonical(other).string()) + L"/");
  ASSERT_TRUE(LLF::OS_SetCurrentDir(cwd));
  EXPECT_FALSE(LLF::OS_SetCurrentDir(L"/no/such/folder"));

  const std::wstring exe = LLF::OS_GetExePath();
  EXPECT_EQ(LLF::ExtractFileName(exe), L"llf_platform_tests");
  EXPECT_EQ(exe[0], L'/');
  EXPECT_EQ(LLF::OS_GetWindowsDir().back(), L'/');
}

TEST(OSUtilsTest, CreatingFolders) {
  const std::string root = QmTest::NewTempFolder("dirs");
  const std::wstring path = LLF::FromOsPath(root) + L"/a\\b/c";
  LLF::OS_CreateDirectories(path);
  EXPECT_TRUE(fs::is_directory(root + "/a/b/c"));
  LLF::OS_CreateDirectories(path + L"/");  // again: nothing changes, nothing fails
  EXPECT_TRUE(fs::is_directory(root + "/a/b/c"));
  EXPECT_FALSE(LLF::OS_CreateDir(LLF::FromOsPath(root) + L"/a"));
  EXPECT_TRUE(LLF::OS_CreateDir(LLF::FromOsPath(root) + L"/d"));
  EXPECT_FALSE(LLF::OS_CreateDir(LLF::FromOsPath(root) + L"/x/y"));
}

TEST(OSUtilsTest, MoveNeverReplaces) {
  const std::string root = QmTest::NewTempFolder("move");
  const std::wstring w = LLF::FromOsPath(root);
  Touch(root + "/a.txt", "A");
  Touch(root + "/b.txt", "B");
  fs::create_directories(root + "/dir/inner");
  EXPECT_FALSE(LLF::OS_MoveFile(w + L"/a.txt", w + L"/b.txt"));
  EXPECT_EQ(ReadBytes(root + "/a.txt"), "A");
  EXPECT_EQ(ReadBytes(root + "/b.txt"), "B");
  EXPECT_FALSE(LLF::OS_MoveFile(w + L"/a.txt", w + L"/dir"));
  EXPECT_TRUE(LLF::OS_MoveFile(w + L"/a.txt", w + L"\\dir/moved.txt"));
  EXPECT_FALSE(fs::exists(root + "/a.txt"));
  EXPECT_EQ(ReadBytes(root + "/dir/moved.txt"), "A");
  EXPECT_TRUE(LLF::OS_MoveFile(w + L"/dir", w + L"/renamed"));
  EXPECT_TRUE(fs::is_directory(root + "/renamed/inner"));
  EXPECT_FALSE(LLF::OS_MoveFile(w + L"/missing", w + L"/other"));

  EXPECT_TRUE(LLF::OS_DeleteFile(w + L"/b.txt"));
  EXPECT_FALSE(fs::exists(root + "/b.txt"));
  EXPECT_FALSE(LLF::OS_DeleteFile(w + L"/b.txt"));
  EXPECT_FALSE(LLF::OS_DeleteFile(w + L"/renamed"));
  EXPECT_TRUE(fs::is_directory(root + "/renamed"));
}

// Between file systems the file is copied and the original removed, still
// without replacing anything.
TEST(OSUtilsTest, MoveAcrossFileSystems) {
  const std::string root = QmTest::NewTempFolder("move");
  struct stat a, b;
  if (::stat(root.c_str(), &a) != 0 || ::stat("/dev/shm", &b) != 0 || a.st_dev == b.st_dev ||
      ::access("/dev/shm", W_OK) != 0) {
    GTEST_SKIP() << "no second writable file system at /dev/shm";
  }
  const std::string other = "/dev/shm/qm-move-" + std::to_string(::getpid());
  fs::create_directories(other);
  Touch(root + "/f.bin", std::string(100000, 'q'));
  Touch(other + "/taken.bin", "T");
  EXPECT_FALSE(LLF::OS_MoveFile(LLF::FromOsPath(root + "/f.bin"), LLF::FromOsPath(other + "/taken.bin")));
  EXPECT_EQ(ReadBytes(other + "/taken.bin"), "T");
  EXPECT_TRUE(LLF::OS_MoveFile(LLF::FromOsPath(root + "/f.bin"), LLF::FromOsPath(other + "/f.bin")));
  EXPECT_FALSE(fs::exists(root + "/f.bin"));
  EXPECT_EQ(ReadBytes(other + "/f.bin"), std::string(100000, 'q'));
  fs::remove_all(other);
}

TEST(OSUtilsTest, WildcardRules) {
  struct Case {
    const wchar_t* pattern;
    const wchar_t* name;
    bool match;
  } cases[] = {
      {L"*", L"anything.at.all", true},
      {L"*.*", L"noext", true},
      {L"*.*", L"..", true},
      {L"*.txt", L"A.TXT", true},
      {L"*.txt", L"a.txt.bak", false},
      {L"*.png", L".png", true},
      {L"a?c", L"abc", true},
      {L"a?c", L"ac", false},
      {L"a??.txt", L"a.txt", true},
      {L"a??.txt", L"ab.txt", true},
      {L"a??.txt", L"abcd.txt", false},
      {L"x?", L"x", true},
      {L"file.*", L"file", true},
      {L"file.*", L"FILE.png", true},
      {L"file.*", L"filex", false},
      {L"*.", L"README", true},
      {L"*.", L"a.b", false},
      {L"\u00C4*", L"\u00E4pfel", true},
      {L"*a*b*c*", L"xxaxxbxxcxx", true},
      {L"*a*b*c*", L"xxcxxbxxaxx", false},
      {L"data.xml", L"DATA.XML", true},
      {L"", L"a", false},
      {L"[ab]", L"a", false},
      {L"[ab]", L"[ab]", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LLF::OS_MatchWildcard(c.pattern, c.name), c.match)
        << LLF::WideToAnsi(c.pattern) << " ~ " << LLF::WideToAnsi(c.name);
  }
}

TEST(OSUtilsTest, FindFilesAndFolders) {
  const std::string root = QmTest::NewTempFolder("find");
  for (const char* f : {"b.txt", "A.txt", "Readme", "c.PNG",
                        "\xC3\xA4"
                        "x.txt"})
    Touch(root + "/" + f);
  fs::create_directories(root + "/Sub");
  fs::create_directories(root + "/sub2.d");
  fs::create_directory_symlink(root + "/Sub", root + "/link");
  const std::wstring w = LLF::FromOsPath(root);
  EXPECT_EQ(LLF::OS_FindFiles(w + L"/*"), (Strings{L"A.txt", L"b.txt", L"c.PNG", L"Readme", L"\u00E4x.txt"}));
  EXPECT_EQ(LLF::OS_FindFiles(w + L"\\*.*"), LLF::OS_FindFiles(w + L"/*"));
  EXPECT_EQ(LLF::OS_FindFiles(w + L"/*.TXT"), (Strings{L"A.txt", L"b.txt", L"\u00E4x.txt"}));
  EXPECT_EQ(LLF::OS_FindFiles(w + L"/*.png"), Strings{L"c.PNG"});
  EXPECT_EQ(LLF::OS_FindFiles(w + L"/*."), Strings{L"Readme"});
  EXPECT_EQ(LLF::OS_FindDirs(w + L"/*"), (Strings{L"..", L"link", L"Sub", L"sub2.d"}));
  EXPECT_EQ(LLF::OS_FindDirs(w + L"/s*"), (Strings{L"Sub", L"sub2.d"}));
  EXPECT_EQ(LLF::OS_FindFiles(w + L"/Sub/*"), Strings{});
  EXPECT_EQ(LLF::OS_FindDirs(w + L"/Sub/*"), Strings{L".."});
  EXPECT_TRUE(LLF::OS_FindFiles(w + L"/missing/*").empty());
  EXPECT_TRUE(LLF::OS_FindFiles(w + L"/").empty());
}

TEST(OSUtilsTest, SystemFacts) {
  EXPECT_FALSE(LLF::OS_IsWinNT());
  EXPECT_FALSE(LLF::OS_GetComputerName().empty());
  unsigned total = 0, available = 0;
  LLF::OS_GetMemoryStatus(total, available);
  EXPECT_GT(total, 0u);
  EXPECT_LE(available, total);
  const std::wstring version = LLF::OS_GetVersionName();
  EXPECT_TRUE(std::regex_match(version, std::wregex(L".+\\( \\d+\\.\\d+\\.\\d+ \\)")))
      << LLF::WideToAnsi(version);
  int width = 0, height = 0;
  ASSERT_TRUE(LLF::OS_GetDesktopResolution(width, height));  // the offscreen display in tests
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
}

TEST(OSUtilsTest, VideoCardFromDeviceFolders) {
  const std::string root = QmTest::NewTempFolder("drm");
  fs::create_directories(root + "/drm/card0/device");
  fs::create_directories(root + "/drm/card0-HDMI-A-1");
  fs::create_directories(root + "/bus/drivers/i915");
  Touch(root + "/drm/card0/device/vendor", "0x8086\n");
  Touch(root + "/drm/card0/device/device", "0x5917\n");
  fs::create_directory_symlink(root + "/bus/drivers/i915", root + "/drm/card0/device/driver");
  Touch(root + "/pci.ids",
        "# list\n10de  NVIDIA Corporation\n\t5917  Not this one\n8086  Intel Corporation\n"
        "\t1234  Other\n\t5917  UHD Graphics 620\n\t\t1028 0001  Subsystem\n");
  EXPECT_EQ(LLF::OS_GetVideoCardName(root + "/drm", root + "/pci.ids"),
            L"Intel Corporation UHD Graphics 620");
  EXPECT_EQ(LLF::OS_GetVideoCardName(root + "/drm", root + "/missing.ids"), L"i915 [8086:5917]");
  EXPECT_EQ(LLF::OS_GetVideoCardName(root + "/none", root + "/pci.ids"), L"");
}

// Records every command instead of starting it.
class OSShellTest : public ::testing::Test {
 protected:
  struct Call {
    Args args;
    bool wait;
  };
  void SetUp() override {
    _savedFolder = LLF::Log::GetInstance().GetFolder();
    _folder = QmTest::NewTempFolder("shell");
    LLF::Log::GetInstance().SetFolder(LLF::FromOsPath(_folder + "/log"));
    LLF::OS_SetCommandRunner([this](const Args& args, bool wait, std::string* output) {
      _calls.push_back({args, wait});
      if (output && !args.empty() && args[0] == "xfconf-query") *output = _listing;
      // A status is given for a program or for the settings key a command sets.
      for (const auto& [key, status] : _status) {
        if (args[0] == key || (args.size() > 3 && args[3] == key)) return status;
      }
      return 0;
    });
  }
  void TearDown() override {
    LLF::OS_SetCommandRunner(nullptr);
    LLF::Log::GetInstance().SetFolder(_savedFolder);
  }
  std::vector<Args> Commands() const {
    std::vector<Args> out;
    for (const Call& c : _calls) out.push_back(c.args);
    return out;
  }
  std::string LogText() const {
    const std::string bytes = ReadBytes(_folder + "/log/log.txt");
    return bytes.size() > 3 ? bytes.substr(3) : std::string();
  }

  std::vector<Call> _calls;
  std::vector<std::pair<std::string, int>> _status;  // program or gsettings key -> exit status
  std::string _listing;
  std::wstring _savedFolder;
  std::string _folder;
};

// A target is one argument, whatever it holds; nothing is waited for.
TEST_F(OSShellTest, OpenDocumentPassesOneArgument) {
  struct Case {
    std::wstring target;
    std::string arg;
  } cases[] = {
      {L"https://example.com/a b?x=1&y=$(id);`ls`", "https://example.com/a b?x=1&y=$(id);`ls`"},
      {L"mailto:someone@example.com", "mailto:someone@example.com"},
      {L"docs\\my \"file\"; rm -rf ~.pdf", "docs/my \"file\"; rm -rf ~.pdf"},
      {L"-n", "./-n"},
      {L"C:\\games\\readme.txt", "C:/games/readme.txt"},
      {L"\u00FCber.html",
       "\xC3\xBC"
       "ber.html"},
  };
  for (const auto& c : cases) {
    _calls.clear();
    EXPECT_GT(LLF::OS_OpenDocument(c.target), 32);
    ASSERT_EQ(_calls.size(), 1u);
    EXPECT_EQ(_calls[0].args, (Args{"xdg-open", c.arg}));
    EXPECT_FALSE(_calls[0].wait);
  }
  _status = {{"xdg-open", -1}};
  EXPECT_LE(LLF::OS_OpenDocument(L"https://example.com"), 32);
  _calls.clear();
  EXPECT_LE(LLF::OS_OpenDocument(L""), 32);
  EXPECT_TRUE(_calls.empty());
}

TEST_F(OSShellTest, WallpaperCommandPerDesktop) {
  const std::string image = _folder + "/my 'wall' #1.png";
  Touch(image);
  const std::string uri = "'file://" + _folder + "/my%20%27wall%27%20%231.png'";
  const std::string quotedPath = "'" + _folder + "/my \\'wall\\' #1.png'";
  _listing =
      "/backdrop/screen0/monitor0/workspace0/color-style\n/backdrop/screen0/monitor0/workspace0/last-image\n"
      "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n";
  const std::string xfce = "/backdrop/screen0/monitor";
  struct Case {
    const char* desktop;
    int style;
    std::vector<Args> commands;
  } cases[] = {
      {"GNOME",
       3,
       {{"gsettings", "set", "org.gnome.desktop.background", "picture-uri", uri},
        {"gsettings", "set", "org.gnome.desktop.background", "picture-uri-dark", uri},
        {"gsettings", "set", "org.gnome.desktop.background", "picture-options", "'scaled'"}}},
      {"ubuntu:GNOME",
       0,
       {{"gsettings", "set", "org.gnome.desktop.background", "picture-uri", uri},
        {"gsettings", "set", "org.gnome.desktop.background", "picture-uri-dark", uri},
        {"gsettings", "set", "org.gnome.desktop.background", "picture-options", "'wallpaper'"}}},
      {"X-Cinnamon",
       1,
       {{"gsettings", "set", "org.cinnamon.desktop.background", "picture-uri", uri},
        {"gsettings", "set", "org.cinnamon.desktop.background", "picture-options", "'stretched'"}}},
      {"mate",
       2,
       {{"gsettings", "set", "org.mate.background", "picture-filename", quotedPath},
        {"gsettings", "set", "org.mate.background", "picture-options", "'centered'"}}},
      {"XFCE",
       3,
       {{"xfconf-query", "-c", "xfce4-desktop", "-l"},
        {"xfconf-query", "-c", "xfce4-desktop", "-p", xfce + "0/workspace0/last-image", "-s", image},
        {"xfconf-query", "-c", "xfce4-desktop", "-p", xfce + "0/workspace0/image-style", "-n", "-t", "int",
         "-s", "4"},
        {"xfconf-query", "-c", "xfce4-desktop", "-p", xfce + "HDMI-1/workspace0/last-image", "-s", image},
        {"xfconf-query", "-c", "xfce4-desktop", "-p", xfce + "HDMI-1/workspace0/image-style", "-n", "-t",
         "int", "-s", "4"}}},
      {"KDE", 1, {{"plasma-apply-wallpaperimage", image}}},
      {"LXQt", 0, {{"pcmanfm-qt", "--set-wallpaper=" + image, "--wallpaper-mode=tile"}}},
      {"LXDE", 3, {{"pcmanfm", "--set-wallpaper=" + image, "--wallpaper-mode=fit"}}},
      {"", 2, {{"feh", "--bg-center", image}}},
      {"Openbox", 1, {{"feh", "--bg-scale", image}}},
  };
  for (const auto& c : cases) {
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", c.desktop);
    _calls.clear();
    EXPECT_TRUE(LLF::OS_SetWallpaper(LLF::FromOsPath(image), c.style)) << c.desktop;
    EXPECT_EQ(Commands(), c.commands) << c.desktop;
    for (const Call& call : _calls) EXPECT_TRUE(call.wait);
  }
  EXPECT_EQ(LogText(), "") << "success logs nothing";
}

TEST_F(OSShellTest, WallpaperFailuresLogOneLine) {
  const std::string image = _folder + "/wall.png";
  Touch(image);
  const std::wstring path = LLF::FromOsPath(image);
  const std::string step1 = "Error: Can't create IActiveDesktop instance. CoCreateInstance failed.";
  const std::string step3 = "Error: Can't set wallpaper options. SetWallpaperOptions failed.";
  struct Case {
    const char* desktop;
    std::wstring image;
    int style;
    std::vector<std::pair<std::string, int>> status;
    bool result;
    std::string line;
  } cases[] = {
      {"GNOME",
       LLF::FromOsPath(_folder) + L"/100% missing.png",
       1,
       {},
       false,
       "Error: Can't set wallpaper from file " + _folder + "/100% missing.png. SetWallpaper failed."},
      {"GNOME",
       LLF::FromOsPath(_folder),
       1,
       {},
       false,
       "Error: Can't set wallpaper from file " + _folder + ". SetWallpaper failed."},
      {"GNOME", path, 4, {}, false, step3},
      {"GNOME", path, -1, {}, false, step3},
      {"GNOME", path, 1, {{"gsettings", -1}}, false, step1},
      {"GNOME",
       path,
       1,
       {{"picture-uri", 1}},
       false,
       "Error: Can't set wallpaper from file " + image + ". SetWallpaper failed."},
      {"GNOME", path, 1, {{"picture-options", 1}}, false, step3},
      {"GNOME", path, 1, {{"picture-uri-dark", 1}}, true, ""},
      {"XFCE", path, 1, {{"xfconf-query", -1}}, false, step1},
      {"KDE",
       path,
       1,
       {{"plasma-apply-wallpaperimage", 2}},
       false,
       "Error: Can't set wallpaper from file " + image + ". SetWallpaper failed."},
      {"", path, 1, {{"feh", -1}}, false, step1},
  };
  for (const auto& c : cases) {
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", c.desktop);
    _status = c.status;
    _listing.clear();
    LLF::Log::GetInstance().Close();
    fs::remove(_folder + "/log/log.txt");
    EXPECT_EQ(LLF::OS_SetWallpaper(c.image, c.style), c.result) << c.line;
    const std::string log = LogText();
    if (c.line.empty()) {
      EXPECT_EQ(log, "");
    } else {
      ASSERT_GE(log.size(), 24u) << c.line;
      EXPECT_EQ(log.substr(22), c.line + "\r\n");
    }
  }
}

// The real runner: arguments arrive unsplit, output and exit status come
// back, a missing program is reported.
TEST(OSUtilsTest, RealCommandRunner) {
  std::string output;
  EXPECT_EQ(LLF::OS_RunCommand({"printf", "[%s]", "a b;c", "$HOME"}, true, &output), 0);
  EXPECT_EQ(output, "[a b;c][$HOME]");
  EXPECT_EQ(LLF::OS_RunCommand({"false"}, true), 1);
  EXPECT_EQ(LLF::OS_RunCommand({"no-such-program-qm"}, true), -1);
  EXPECT_EQ(LLF::OS_RunCommand({"no-such-program-qm"}, false), -1);
  EXPECT_EQ(LLF::OS_RunCommand({}, true), -1);
  const std::string marker = QmTest::NewTempFolder("run") + "/started";
  EXPECT_EQ(LLF::OS_RunCommand({"touch", marker}, false), 0);
  for (int i = 0; i < 500 && !fs::exists(marker); ++i) usleep(10000);
  EXPECT_TRUE(fs::exists(marker));
}

}  // namespace
