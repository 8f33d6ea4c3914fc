// The level builder on small layer folders written by the tests: the
// command's words, the cut sizes, the Seek names and flags, the Mirror
// regions in both modes, the Pair names and item export, and the file
// safety of every branch (nothing replaced, layers kept on failure).
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BuilderTestSupport.h"
#include "FileBytes.h"
#include "LogRecorder.h"
#include "TempFolders.h"
#include "builder/LayerCrop.h"
#include "builder/LevelBuilder.h"
#include "builder/MirrorLevelBuilder.h"
#include "builder/PairLevelBuilder.h"
#include "builder/SeekLevelBuilder.h"
#include "image/CodecJpg.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"

namespace QmTest {
namespace {

namespace fs = std::filesystem;

const LLF::Color kRed(200, 0, 0, 255);
const LLF::Color kBlue(0, 0, 200, 255);

class LevelBuilderTest : public ::testing::Test {
 protected:
  LevelBuilderTest() {
    LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecPng::GetInstance());
    LLF::ImagesManager::GetInstance().RegisterCodec(&LLF::CodecJpg::GetInstance());
  }
  ~LevelBuilderTest() override {
    LLF::ImagesManager::GetInstance().UnregisterCodec(&LLF::CodecJpg::GetInstance());
    LLF::ImagesManager::GetInstance().UnregisterCodec(&LLF::CodecPng::GetInstance());
  }
  static void Run(const std::wstring& line) { LevelBuilder::BuildLevel(line); }
  // Names in the folder, sorted.
  static std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : FolderBytes(folder)) names.push_back(name);
    return names;
  }

  TempFolders folders;
  LogRecorder log;
};

// Root passes every permission check; a read-only folder needs it lowered.
class WithoutOverride {
 public:
  WithoutOverride() {
    _header.version = _LINUX_CAPABILITY_VERSION_3;
    if (syscall(SYS_capget, &_header, _saved) != 0) return;
    __user_cap_data_struct lowered[2] = {_saved[0], _saved[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_FOWNER));
    _lowered = syscall(SYS_capset, &_header, lowered) == 0;
  }
  ~WithoutOverride() {
    if (_lowered) syscall(SYS_capset, &_header, _saved);
  }
  WithoutOverride(const WithoutOverride&) = delete;
  WithoutOverride& operator=(const WithoutOverride&) = delete;

 private:
  __user_cap_header_struct _header{};
  __user_cap_data_struct _saved[2]{};
  bool _lowered = false;
};

TEST_F(LevelBuilderTest, TheWordsGiveTypeFolderAndOption) {
  const struct {
    const wchar_t* line;
    bool usage;
    const wchar_t* type;
    const wchar_t* folder;
    const wchar_t* option;
  } cases[] = {
      {L"buildlevel", true, L"", L"", L""},
      {L"buildlevel levels/s1", false, L"seek", L"levels/s1/", L""},
      {L"buildlevel foo levels/s1", false, L"seek", L"levels/s1/", L""},
      {L"buildlevel Mirror levels/s1", false, L"seek", L"levels/s1/", L""},
      {L"buildlevel mirror levels\\m1\\ 35", false, L"mirror", L"levels\\m1\\", L"35"},
      {L"buildlevel pair items/ exportImages", false, L"pair", L"items/", L"exportImages"},
  };
  for (const auto& c : cases) {
    const LevelBuilder::Words w = LevelBuilder::ReadWords(c.line);
    EXPECT_EQ(w.usage, c.usage) << c.line;
    EXPECT_EQ(w.type, c.type) << c.line;
    EXPECT_EQ(w.folder, c.folder) << c.line;
    EXPECT_EQ(w.option, c.option) << c.line;
  }
  const struct {
    const wchar_t* option;
    int distance;
  } distances[] = {{L"", 20}, {L"35", 35}, {L"1", 1}, {L"abc", 0}, {L"12px", 12}, {L"-4", -4}};
  for (const auto& d : distances) EXPECT_EQ(LevelBuilder::MergeDistance(d.option), d.distance) << d.option;

  Run(L"buildlevel");
  EXPECT_EQ(log.Count(L"Command buildlevel use: buildlevel level_type layers_folder_path"), 1);
  // A folder that is not there is not made.
  Run(L"buildlevel seek lv/typo");
  EXPECT_EQ(log.Count(L"Error: Folder \"lv/typo/\" holds no files."), 1);
  EXPECT_FALSE(fs::exists(folders.Program() + "/lv/typo"));
}

TEST_F(LevelBuilderTest, NextPowerOfTwoIsStrictlyGreater) {
  const unsigned cases[][2] = {{0, 1}, {1, 2}, {3, 4}, {4, 8}, {64, 128}, {600, 1024}, {800, 1024}};
  for (const auto& c : cases) EXPECT_EQ(LayerCrop::NextPowerOfTwo(c[0]), c[1]) << c[0];
  EXPECT_EQ(LayerCrop::NextPowerOfTwo(0x80000000u), 0u);
}

TEST_F(LevelBuilderTest, SeekLayerNamesAndFlags) {
  const struct {
    const wchar_t* file;
    const wchar_t* name;
    int flag;
    const wchar_t* word;
  } cases[] = {
      {L"L_lamp--5.png", L"Lamp", 5, L"priority"},
      {L"L_lamp--7.png", L"Lamp", 7, L""},
      {L"L_lamp-5.png", L"Lamp-5", 1, L"unknown"},
      {L"Layer_base.png", L"Base", 1, L"unknown"},
      {L"a_b_Baker's hat--2.png", L"Baker's hat", 2, L"easy"},
      {L"x--4.png", L"X", 4, L"difficult"},
      {L"A_--3.png", L"--3", 1, L"unknown"},
  };
  for (const auto& c : cases) {
    std::wstring name;
    int flag = -1;
    SeekLevelBuilder::LayerName(c.file, name, flag);
    EXPECT_EQ(name, c.name) << c.file;
    EXPECT_EQ(flag, c.flag) << c.file;
    EXPECT_EQ(SeekLevelBuilder::FlagWord(flag), c.word) << c.file;
  }
}

TEST_F(LevelBuilderTest, SeekBuildsCutsAndLevelAndKeepsTheSkippedDuplicate) {
  const std::string dir = folders.Program() + "/lv/seek/";
  WriteLayer(dir + "M_base.png", {{{0, 0, 800, 600}, kBlue}});
  WriteLayer(dir + "L_lamp--5.png", {{{100, 50, 64, 64}, kRed}});
  WriteLayer(dir + "B_Lamp.png", {{{10, 10, 5, 5}, kRed}});
  WriteLayer(dir + "X_Baker's hat.png", {{{300, 310, 1, 1}, kRed}});
  WriteLayer(dir + "Y_pin--7.png", {{{20, 500, 30, 3}, kRed}});
  fs::copy_file(dir + "B_Lamp.png", folders.Program() + "/lamp_copy.png");
  QmTest::WriteBytes(dir + "notes.xml", "<notes />");

  Run(L"buildlevel seek lv/seek");

  // Sorted: B_Lamp 0, L_lamp--5 1, M_base 2, notes.xml 3, X_Baker's hat 4, Y_pin--7 5.
  const std::vector<Element> level = ReadChildren(dir + "level.xml");
  ASSERT_EQ(level.size(), 4u);
  const struct {
    const wchar_t* tag;
    const wchar_t* img;
    const wchar_t* name;
    const wchar_t* pos;
    const wchar_t* dims;
    const wchar_t* flag;
  } expected[] = {
      {L"object", L"levobj_image_0005", L"Pin", L"20,500", L"30,3", L"(none)"},
      {L"object", L"levobj_image_0004", L"Baker's hat", L"300,310", L"1,1", L"unknown"},
      {L"background", L"background", L"Base", L"0,0", L"800,600", L"unknown"},
      {L"object", L"levobj_image_0001", L"Lamp", L"100,50", L"64,64", L"priority"},
  };
  for (size_t i = 0; i < level.size(); ++i) {
    EXPECT_EQ(level[i].tag, expected[i].tag) << i;
    EXPECT_EQ(level[i].Get(L"imgName"), expected[i].img) << i;
    EXPECT_EQ(level[i].Get(L"name"), expected[i].name) << i;
    EXPECT_EQ(level[i].Get(L"pos"), expected[i].pos) << i;
    EXPECT_EQ(level[i].Get(L"dims"), expected[i].dims) << i;
    EXPECT_EQ(level[i].Get(L"flag"), expected[i].flag) << i;
  }
  // Escaped once, by the writer.
  const std::string text = ReadBytes(dir + "level.xml");
  EXPECT_EQ(text.rfind(kUtf8Bom, 0), 0u);
  EXPECT_NE(text.find("name=\"Baker&apos;s hat\""), std::string::npos) << text;
  EXPECT_EQ(text.find("&amp;"), std::string::npos) << text;

  const std::vector<Element> assets = ReadChildren(dir + "asset.xml", L"assets/LEVOBJECTS");
  ASSERT_EQ(assets.size(), 4u);
  EXPECT_EQ(assets[2].Get(L"name"), L"background");
  EXPECT_EQ(assets[2].Get(L"src"), L"lv/seek/background.jpg");
  EXPECT_EQ(assets[3].Get(L"src"), L"lv/seek/object_0001.png");
  EXPECT_EQ(assets[3].Get(L"cells"), L"1");

  // Power-of-two canvases; the background at its visible size, and as JPEG.
  EXPECT_EQ(ImageSize(dir + "object_0001.png"), LLF::Rect(0, 0, 128, 128));
  EXPECT_EQ(ImageSize(dir + "object_0004.png"), LLF::Rect(0, 0, 2, 2));
  EXPECT_EQ(ImageSize(dir + "background.png"), LLF::Rect(0, 0, 800, 600));
  EXPECT_EQ(ImageSize(dir + "background.jpg"), LLF::Rect(0, 0, 800, 600));

  EXPECT_EQ(log.Count(L"Warning: Name \"Lamp\" already exists in level. Skipped."), 1);
  EXPECT_EQ(log.Count(L"Level has been created!"), 1);
  const std::vector<std::string> left = Names(dir);
  const std::vector<std::string> want = {"B_Lamp.png",      "asset.xml",       "background.jpg",
                                         "background.png",  "level.xml",       "notes.xml",
                                         "object_0001.png", "object_0004.png", "object_0005.png"};
  EXPECT_EQ(left, want);
  EXPECT_EQ(ReadBytes(dir + "B_Lamp.png"), ReadBytes(folders.Program() + "/lamp_copy.png"));

  // A second run finds its own outputs and changes nothing.
  const auto before = FolderBytes(dir);
  Run(L"buildlevel lv/seek");
  EXPECT_EQ(log.Count(L"already exists. Nothing has been built."), 1);
  EXPECT_TRUE(FolderBytes(dir) == before);
}

TEST_F(LevelBuilderTest, NoOutputReplacesALayerNamedLikeOne) {
  const std::string dir = folders.Program() + "/lv/clash/";
  // A_cup, first in the list, would be cut to object_0000.png.
  WriteLayer(dir + "A_cup.png", {{{5, 5, 4, 4}, kRed}});
  WriteLayer(dir + "Layer_base.png", {{{0, 0, 10, 10}, kBlue}});
  WriteLayer(dir + "object_0000.png", {{{5, 5, 4, 4}, kRed}});
  const auto before = FolderBytes(dir);
  Run(L"buildlevel seek lv/clash/");
  EXPECT_EQ(log.Count(L"Error: File \"lv/clash/object_0000.png\" already exists. Nothing has been built."),
            1);
  EXPECT_TRUE(FolderBytes(dir) == before);
}

TEST_F(LevelBuilderTest, AFailedSaveKeepsEveryLayer) {
  const std::string dir = folders.Program() + "/lv/ro/";
  WriteLayer(dir + "Layer_base.png", {{{0, 0, 800, 600}, kBlue}});
  WriteLayer(dir + "Layer_cup--2.png", {{{5, 5, 4, 4}, kRed}});
  const std::string mirror = folders.Program() + "/lv/ro_mirror/";
  WriteLayer(mirror + "original.png", {{{0, 0, 800, 600}, kBlue}});
  WriteLayer(mirror + "left.png", {{{0, 0, 800, 600}, kBlue}, {{10, 10, 5, 5}, kRed}});
  WriteLayer(mirror + "right.png", {{{0, 0, 800, 600}, kBlue}, {{410, 10, 5, 5}, kRed}});
  for (const std::string& d : {dir, mirror}) {
    const auto before = FolderBytes(d);
    fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec);
    {
      WithoutOverride asAnyUser;
      Run(d == dir ? L"buildlevel seek lv/ro" : L"buildlevel mirror lv/ro_mirror");
    }
    fs::permissions(d, fs::perms::owner_all);
    EXPECT_TRUE(FolderBytes(d) == before) << d;
  }
  EXPECT_GE(log.Count(L"Error: Can't save image file"), 2);
}

// A gradient picture, so neighbouring pixels differ.
LLF::Color Gradient(int x, int y) {
  return LLF::Color(uint8_t(x % 400 / 2), uint8_t(y / 3), 90, 255);
}

// The three layers of a Mirror folder: the original, the left layer with
// the left blobs painted, the right layer (the picture in its right half)
// with the right blobs.
void WriteMirror(const std::string& dir, const std::vector<LLF::Rect>& leftBlobs,
                 const std::vector<LLF::Rect>& rightBlobs, unsigned originalHeight = 600,
                 bool originalAlpha = true) {
  for (int kind = 0; kind < 3; ++kind) {
    const unsigned height = kind == 0 ? originalHeight : 600;
    LLF::Image image(800, height,
                     kind == 0 && !originalAlpha ? LLF::IMGFORMAT_R8G8B8X8 : LLF::IMGFORMAT_R8G8B8A8);
    for (int y = 0; y < int(height); ++y)
      for (int x = 0; x < 800; ++x) {
        LLF::Color c = Gradient(kind == 2 ? x - 400 : x, y);
        if (kind == 0 && !originalAlpha) c.a = 0;
        image.SetPixel(x, y, &c);
      }
    for (const LLF::Rect& r : kind == 1 ? leftBlobs : kind == 2 ? rightBlobs : std::vector<LLF::Rect>{})
      for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x) image.SetPixel(x, y, &kRed);
    static const char* const kNames[] = {"Pic_Original.png", "Pic_Left.png", "Pic_Right.png"};
    fs::create_directories(dir);
    LLF::CodecPng::GetInstance().Save(&image, LLF::FromOsPath(dir + kNames[kind]));
  }
}

TEST_F(LevelBuilderTest, MirrorThreeLayersFindsEachDifferenceOnItsSide) {
  // The folder's own name holds "left": only file names decide the kind.
  const std::string dir = folders.Program() + "/lv/left_side/";
  const std::vector<LLF::Rect> left = {{30, 40, 20, 10}, {380, 590, 20, 10}};
  // A one-pixel difference right at the middle line.
  const std::vector<LLF::Rect> right = {{400, 0, 1, 1}, {600, 300, 50, 40}};
  WriteMirror(dir, left, right);
  Run(L"buildlevel mirror lv/left_side");

  const std::vector<Element> level = ReadChildren(dir + "level.xml");
  ASSERT_EQ(level.size(), 5u);
  EXPECT_EQ(level[0].tag, L"background");
  EXPECT_EQ(level[0].Get(L"imgName"), L"original");
  EXPECT_EQ(level[0].Get(L"dims"), L"400,600");
  const struct {
    const wchar_t* img;
    LLF::Rect rect;
  } objects[] = {{L"left_diff_image_0", left[0]},
                 {L"left_diff_image_1", left[1]},
                 {L"right_diff_image_0", right[0]},
                 {L"right_diff_image_1", right[1]}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(level[i + 1].Get(L"imgName"), objects[i].img);
    EXPECT_EQ(level[i + 1].Get(L"pos"), Pos(objects[i].rect)) << i;
    EXPECT_EQ(level[i + 1].Get(L"dims"), Dims(objects[i].rect)) << i;
  }
  const std::vector<Element> assets = ReadChildren(dir + "asset.xml", L"assets/LEVOBJECTS");
  ASSERT_EQ(assets.size(), 5u);
  EXPECT_EQ(assets[0].Get(L"src"), L"lv/left_side/background.jpg");
  EXPECT_EQ(assets[4].Get(L"name"), L"right_diff_image_1");
  EXPECT_EQ(assets[4].Get(L"src"), L"lv/left_side/right_diff_1.png");
  EXPECT_EQ(ImageSize(dir + "right_diff_0.png"), LLF::Rect(0, 0, 1, 1));
  EXPECT_EQ(ImageSize(dir + "left_diff_1.png"), LLF::Rect(0, 0, 20, 10));
  EXPECT_EQ(ImageSize(dir + "background.png"), LLF::Rect(0, 0, 400, 600));
  EXPECT_EQ(ImageSize(dir + "background.jpg"), LLF::Rect(0, 0, 400, 600));
  // The cut shows the changed picture, opaque.
  std::unique_ptr<LLF::Image> cut(LLF::ImagesManager::GetInstance().LoadImage(
      LLF::FromOsPath(dir + "right_diff_1.png"), L"", true, true));
  ASSERT_NE(cut, nullptr);
  LLF::Color c;
  cut->GetPixel(&c, 10, 10);
  EXPECT_EQ(c.r, kRed.r);
  EXPECT_EQ(c.g, kRed.g);
  for (const char* layer : {"Pic_Original.png", "Pic_Left.png", "Pic_Right.png"})
    EXPECT_FALSE(FileExists(dir + layer)) << layer;

  const auto before = FolderBytes(dir);
  Run(L"buildlevel mirror lv/left_side");
  EXPECT_TRUE(FolderBytes(dir) == before);
}

TEST_F(LevelBuilderTest, MirrorMergeDistanceJoinsNearbyBlobs) {
  // 30 pixels between the blobs.
  const std::vector<LLF::Rect> blobs = {{50, 100, 20, 20}, {100, 100, 20, 20}};
  const struct {
    const wchar_t* option;
    std::vector<std::wstring> dims;
  } cases[] = {
      {L"35", {L"70,20"}},
      {L"", {L"20,20", L"20,20"}},
      {L"1", {L"20,20", L"20,20"}},
      {L"0", {L"20,20", L"20,20"}},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string name = "merge" + std::to_string(n++);
    WriteMirror(folders.Program() + "/lv/" + name + "/", blobs, {});
    Run(L"buildlevel mirror lv/" + LLF::FromOsPath(name) + L" " + c.option);
    const std::vector<Element> level = ReadChildren(folders.Program() + "/lv/" + name + "/level.xml");
    ASSERT_EQ(level.size(), c.dims.size() + 1) << c.option;
    for (size_t i = 0; i < c.dims.size(); ++i) EXPECT_EQ(level[i + 1].Get(L"dims"), c.dims[i]) << c.option;
  }
}

TEST_F(LevelBuilderTest, MirrorElevenBlobsAndAWholeHalf) {
  std::vector<LLF::Rect> eleven;
  for (int i = 0; i < 11; ++i) eleven.push_back({10 + (i % 4) * 90, 20 + (i / 4) * 150, 10 + i, 10});
  // The whole right half differs: one region of 240,000 pixels.
  WriteMirror(folders.Program() + "/lv/many/", eleven, {{400, 0, 400, 600}});
  Run(L"buildlevel mirror lv/many");
  const std::vector<Element> level = ReadChildren(folders.Program() + "/lv/many/level.xml");
  ASSERT_EQ(level.size(), 13u);
  for (int i = 0; i < 11; ++i) {
    // Row by row: blobs of one row are found left to right.
    EXPECT_EQ(level[size_t(i) + 1].Get(L"pos"), Pos(eleven[size_t(i)])) << i;
    EXPECT_EQ(level[size_t(i) + 1].Get(L"dims"), Dims(eleven[size_t(i)])) << i;
  }
  EXPECT_EQ(level[12].Get(L"imgName"), L"right_diff_image_0");
  EXPECT_EQ(level[12].Get(L"pos"), L"400,0");
  EXPECT_EQ(level[12].Get(L"dims"), L"400,600");
}

TEST_F(LevelBuilderTest, MirrorRefusalsWriteNothing) {
  const struct {
    const char* folder;
    unsigned height;
    bool alpha;
    const wchar_t* error;
  } cases[] = {
      {"tall", 601, true, L"Error: Original mirror image must be 800x600."},
      {"formats", 600, false, L"Error: Mirror images must all have the same pixel format."},
  };
  for (const auto& c : cases) {
    const std::string dir = folders.Program() + "/lv/" + c.folder + "/";
    WriteMirror(dir, {{10, 10, 5, 5}}, {{500, 10, 5, 5}}, c.height, c.alpha);
    const auto before = FolderBytes(dir);
    Run(L"buildlevel mirror lv/" + LLF::FromOsPath(c.folder));
    EXPECT_EQ(log.Count(c.error), 1) << c.folder;
    EXPECT_TRUE(FolderBytes(dir) == before) << c.folder;
  }
  // A missing kind: "left" twice.
  const std::string dir = folders.Program() + "/lv/twoleft/";
  WriteLayer(dir + "a_left.png", {});
  WriteLayer(dir + "b_left.png", {});
  WriteLayer(dir + "original.png", {});
  Run(L"buildlevel mirror lv/twoleft");
  EXPECT_EQ(log.Count(L"Error: Can't load right mirror image."), 1);
  EXPECT_EQ(Names(dir).size(), 3u);
}

TEST_F(LevelBuilderTest, MirrorPreCutKindsAndTargets) {
  const struct {
    const wchar_t* file;
    MirrorLevelBuilder::Kind kind;
  } kinds[] = {
      {L"lv/left_side/Original.png", MirrorLevelBuilder::KIND_ORIGINAL},
      {L"Right_3.png", MirrorLevelBuilder::KIND_RIGHT},
      {L"LEFTRIGHT.png", MirrorLevelBuilder::KIND_LEFT},
      {L"bg.png", MirrorLevelBuilder::KIND_NONE},
  };
  for (const auto& k : kinds) EXPECT_EQ(MirrorLevelBuilder::KindOf(k.file), k.kind) << k.file;

  const std::string dir = folders.Program() + "/lv/precut/";
  WriteLayer(dir + "Layer_original.png", {{{0, 0, 400, 600}, kBlue}});
  WriteLayer(dir + "d_left_1.png", {{{20, 30, 10, 12}, kRed}});
  WriteLayer(dir + "d_left_2.png", {{{200, 300, 7, 5}, kRed}});
  WriteLayer(dir + "d_right_1.png", {{{500, 60, 11, 13}, kRed}});
  WriteLayer(dir + "stray.png", {{{1, 1, 1, 1}, kRed}});
  WriteBytes(dir + "notes.xml", "<n />");
  Run(L"buildlevel mirror lv/precut");

  // Last file first: d_right_1, then d_left_2, then d_left_1.
  const std::vector<Element> level = ReadChildren(dir + "level.xml");
  ASSERT_EQ(level.size(), 4u);
  const struct {
    const wchar_t* img;
    const char* file;
    LLF::Rect rect;
  } objects[] = {
      {L"left_diff_image_0", "left_diff_0.png", {200, 300, 7, 5}},
      {L"left_diff_image_1", "left_diff_1.png", {20, 30, 10, 12}},
      {L"right_diff_image_0", "right_diff_0.png", {500, 60, 11, 13}},
  };
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(level[i + 1].Get(L"imgName"), objects[i].img);
    EXPECT_EQ(level[i + 1].Get(L"pos"), Pos(objects[i].rect));
    EXPECT_EQ(level[i + 1].Get(L"dims"), Dims(objects[i].rect));
    EXPECT_EQ(ImageSize(dir + objects[i].file),
              LLF::Rect(0, 0, objects[i].rect.width, objects[i].rect.height));
  }
  EXPECT_EQ(ImageSize(dir + "background.png"), LLF::Rect(0, 0, 400, 600));
  // The layers it cut are gone; the unclassified layer and the XML stay.
  const std::vector<std::string> want = {"asset.xml",       "background.jpg",   "background.png",
                                         "left_diff_0.png", "left_diff_1.png",  "level.xml",
                                         "notes.xml",       "right_diff_0.png", "stray.png"};
  EXPECT_EQ(Names(dir), want);
}

TEST_F(LevelBuilderTest, PairNamesGiveItemPaneAndTail) {
  const struct {
    const wchar_t* file;
    bool usable;
    bool left;
    int number;
    const wchar_t* tail;
    bool digitCut;
    bool paneNamed;
  } cases[] = {
      {L"Left_03a.png", true, true, 3, L"_03", false, true},
      {L"right_03b.png", true, false, 3, L"_03", false, false},
      {L"Right_12b.png", true, false, 12, L"_12", false, true},
      {L"Left_05.png", true, true, 0, L"_0", true, true},
      {L"Left05a.png", false, true, 0, L"", false, true},
      {L"Left_a.png", false, true, 0, L"", false, true},
      {L"Left_x7b.png", false, true, 0, L"", false, true},
      {L"Left_07a", false, true, 0, L"", false, true},
  };
  for (const auto& c : cases) {
    const PairLevelBuilder::ItemName n = PairLevelBuilder::ParseName(c.file);
    EXPECT_EQ(n.usable, c.usable) << c.file;
    EXPECT_EQ(n.left, c.left) << c.file;
    if (!c.usable) continue;
    EXPECT_EQ(n.number, c.number) << c.file;
    EXPECT_EQ(n.tail, c.tail) << c.file;
    EXPECT_EQ(n.digitCut, c.digitCut) << c.file;
    EXPECT_EQ(n.paneNamed, c.paneNamed) << c.file;
  }
}

TEST_F(LevelBuilderTest, PairSceneWritesTheFirstSceneAndKeepsTheLayers) {
  const std::string dir = folders.Program() + "/lv/pair/";
  WriteLayer(dir + "Left_03a.png", {{{40, 50, 30, 20}, kRed}});
  WriteLayer(dir + "right_03b.png", {{{440, 60, 30, 20}, kRed}});
  WriteLayer(dir + "Left07.png", {{{1, 1, 3, 3}, kRed}});
  WriteBytes(dir + "asset.xml", "<game />");
  const auto layers = FolderBytes(dir);
  Run(L"buildlevel pair lv/pair");
  const std::vector<Element> scene = ReadChildren(dir + "level.xml", L"scene_01");
  ASSERT_EQ(scene.size(), 2u);
  EXPECT_EQ(scene[0].Get(L"imgName"), L"levobj_image_003");
  EXPECT_EQ(scene[0].Get(L"pane"), L"right");
  EXPECT_EQ(scene[0].Get(L"pos"), L"440,60");
  EXPECT_EQ(scene[1].Get(L"pane"), L"left");
  EXPECT_EQ(scene[1].Get(L"name"), L"levobj__03");
  EXPECT_EQ(scene[1].Get(L"dims"), L"30,20");
  EXPECT_EQ(log.Count(L"Warning: \"Left07.png\""), 1);
  EXPECT_EQ(log.Count(L"Warning: \"right_03b.png\" names neither"), 1);
  for (const auto& [name, bytes] : layers) EXPECT_EQ(ReadBytes(dir + name), bytes) << name;

  // A layer that cannot be loaded ends the run before anything is written.
  const std::string bad = folders.Program() + "/lv/pairbad/";
  WriteLayer(bad + "Left_01a.png", {{{1, 1, 3, 3}, kRed}});
  WriteBytes(bad + "Right_01b.png", "not a picture");
  const auto before = FolderBytes(bad);
  Run(L"buildlevel pair lv/pairbad");
  EXPECT_EQ(log.Count(L"Error: Can't open image file \"lv/pairbad/Right_01b.png\""), 1);
  EXPECT_TRUE(FolderBytes(bad) == before);
}

TEST_F(LevelBuilderTest, PairExportNumbersBySortedPlace) {
  const std::string dir = folders.Program() + "/lv/items/";
  WriteLayer(dir + "b_cup.png", {{{10, 10, 64, 20}, kRed}});
  WriteLayer(dir + "A_hat.png", {{{0, 0, 5, 9}, kRed}});
  WriteLayer(dir + "c_jug.png", {{{3, 4, 33, 17}, kRed}});
  Run(L"buildlevel pair lv/items exportImages");
  const std::vector<Element> assets = ReadChildren(dir + "asset.xml", L"assets/pairImages");
  ASSERT_EQ(assets.size(), 3u);
  EXPECT_EQ(assets[0].Get(L"name"), L"levobj_image_003");
  EXPECT_EQ(assets[0].Get(L"src"), L"lv/items/object_003.png");
  EXPECT_EQ(assets[2].Get(L"name"), L"levobj_image_001");
  EXPECT_EQ(ImageSize(dir + "object_001.png"), LLF::Rect(0, 0, 8, 16));
  EXPECT_EQ(ImageSize(dir + "object_002.png"), LLF::Rect(0, 0, 128, 32));
  EXPECT_EQ(ImageSize(dir + "object_003.png"), LLF::Rect(0, 0, 64, 32));
  EXPECT_EQ(log.Count(L"Pair level assets have been created!"), 1);
  const std::vector<std::string> want = {"asset.xml", "object_001.png", "object_002.png", "object_003.png"};
  EXPECT_EQ(Names(dir), want);

  // One layer that does not load: nothing is cut, every layer stays.
  const std::string bad = folders.Program() + "/lv/itemsbad/";
  WriteLayer(bad + "item_001.png", {{{1, 1, 3, 3}, kRed}});
  WriteBytes(bad + "item_002.png", "broken");
  WriteLayer(bad + "item_003.png", {{{1, 1, 3, 3}, kRed}});
  const auto before = FolderBytes(bad);
  Run(L"buildlevel pair lv/itemsbad exportImages");
  EXPECT_TRUE(FolderBytes(bad) == before);
}

TEST_F(LevelBuilderTest, ALayerWithoutAlphaIsKeptWholeAndOpaqueWithAWarning) {
  const std::string dir = folders.Program() + "/lv/rgb/";
  WriteLayer(dir + "Layer_base.png", {{{0, 0, 30, 20}, kBlue}}, 30, 20, false);
  Run(L"buildlevel lv/rgb");
  EXPECT_EQ(log.Count(L"has no alpha; it is kept whole."), 1);
  const std::vector<Element> level = ReadChildren(dir + "level.xml");
  ASSERT_EQ(level.size(), 1u);
  EXPECT_EQ(level[0].Get(L"dims"), L"30,20");
  std::unique_ptr<LLF::Image> cut(
      LLF::ImagesManager::GetInstance().LoadImage(LLF::FromOsPath(dir + "background.png"), L"", true, true));
  ASSERT_NE(cut, nullptr);
  LLF::Color c;
  cut->GetPixel(&c, 29, 19);
  EXPECT_EQ(c.a, 255);
}

}  // namespace
}  // namespace QmTest
