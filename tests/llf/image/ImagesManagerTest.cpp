#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "ImageTestUtil.h"
#include "TestEnv.h"
#include "core/Exception.h"
#include "core/StringUtils.h"
#include "image/CodecBmp.h"
#include "image/CodecGif.h"
#include "image/CodecPng.h"
#include "image/ImagesManager.h"
#include "io/File.h"

namespace {

using LLF::Image;
using LLF::ImagesManager;

// A codec of another kind, as a font codec would be.
class OtherCodec : public LLF::ICodec {
 public:
  OtherCodec() { _extensions = L"png bmp"; }
  LLF_KIND_OF(OtherCodec, ICodec)
};

class ImagesManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& m = ImagesManager::GetInstance();
    ASSERT_TRUE(m.RegisterCodec(&LLF::CodecBmp::GetInstance()));
    ASSERT_TRUE(m.RegisterCodec(&LLF::CodecPng::GetInstance()));
    ASSERT_TRUE(m.RegisterCodec(&LLF::CodecGif::GetInstance()));
    folder = QmTest::NewTempFolder();
    QmTest::WriteFileBytes(folder + "/a.png", QmTest::MakePng(3, 2, std::vector<uint16_t>(18, 9), {}));
    QmTest::WriteFileBytes(folder + "/b.bmp", QmTest::MakeBmp(QmTest::Pattern(4, 4, false)));
  }
  void TearDown() override {
    auto& m = ImagesManager::GetInstance();
    m.CleanupEverything(true);
    m.UnregisterCodec(&LLF::CodecBmp::GetInstance());
    m.UnregisterCodec(&LLF::CodecPng::GetInstance());
    m.UnregisterCodec(&LLF::CodecGif::GetInstance());
  }
  std::wstring Path(const char* name) const { return LLF::FromOsPath(folder + "/" + name); }

  std::string folder;
};

TEST_F(ImagesManagerTest, SameIdSharesOneImageUntilTheLastFree) {
  auto& m = ImagesManager::GetInstance();
  QmTest::LogCapture log;
  Image* first = m.LoadImage(Path("a.png"), L"bg", false, true);
  ASSERT_NE(first, nullptr);
  // The second load opens the file but reads nothing from it.
  QmTest::WriteFileBytes(folder + "/a.png", {1, 2, 3});
  Image* second = m.LoadImage(Path("a.png"), L"bg", false, true);
  EXPECT_EQ(second, first);
  EXPECT_EQ(log.Count(L"Image loaded \"" + Path("a.png") + L"\""), 1);
  EXPECT_EQ(m.FindResource(L"bg"), first);
  EXPECT_EQ(m.FindResourceId(first), L"bg");
  EXPECT_EQ(
      m.Dump(),
      L"ImagesManager class. Info:\r\nImages loaded: 1\r\nCodecs registered: 3\r\nImages list(only ID's): "
      L"\r\nbg. References count: 2\r\n--- End of list.\r\n");

  log.Clear();
  EXPECT_TRUE(m.FreeImage(first));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Image \"bg\" reference removed."});
  EXPECT_TRUE(m.FreeImage(first));
  EXPECT_EQ(log.Lines().back(), L"Image \"bg\" deleted.");
  EXPECT_EQ(m.FindResource(L"bg"), nullptr);
  log.Clear();
  EXPECT_FALSE(m.FreeImage(first));
  EXPECT_FALSE(m.FreeImage(nullptr));
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(m.FindResource(L""), nullptr);
  EXPECT_EQ(m.FindResourceId(nullptr), L"");
}

TEST_F(ImagesManagerTest, KeysAndFailures) {
  auto& m = ImagesManager::GetInstance();
  QmTest::LogCapture log;
  // An empty id keys the image by its file name.
  Image* byName = m.LoadImage(Path("b.bmp"), L"", false, true);
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(m.FindResource(Path("b.bmp")), byName);
  EXPECT_EQ(m.FindResourceId(byName), Path("b.bmp"));
  EXPECT_TRUE(QmTest::SamePixels(*byName, QmTest::Pattern(4, 4, false), true));

  // A missing file is reported even when its id is loaded.
  Image* loaded = m.LoadImage(Path("a.png"), L"bg", false, true);
  ASSERT_NE(loaded, nullptr);
  log.Clear();
  EXPECT_EQ(m.LoadImage(Path("missing.png"), L"bg", false, true), nullptr);
  EXPECT_EQ(log.Lines(),
            std::vector<std::wstring>{L"Error: LoadImage failed. Can't open image file. Filename: " +
                                      Path("missing.png") + L" Image ID: bg"});

  // No codec takes the extension.
  QmTest::WriteFileBytes(folder + "/c.tga", {0, 1, 2});
  log.Clear();
  EXPECT_EQ(m.LoadImage(Path("c.tga"), L"", false, true), nullptr);
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{
                             L"Error: LoadImage failed. Corresponding codec was not found for this file "
                             L"format.\r\nFilename: " +
                             Path("c.tga") + L"\r\nImage ID: " + Path("c.tga")});

  // A corrupt file: null, one log line, the reason in the codec.
  QmTest::BmpOptions sixteen;
  sixteen.bitCount = 16;
  QmTest::WriteFileBytes(folder + "/bad.bmp", QmTest::MakeBmp(QmTest::Pattern(2, 2, false), sixteen));
  log.Clear();
  EXPECT_EQ(m.LoadImage(Path("bad.bmp"), L"bad", false, true), nullptr);
  EXPECT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Count(L"Error: LoadImage failed. Corresponding codec was not found"), 1);
  EXPECT_EQ(LLF::CodecBmp::GetInstance().GetLastError(),
            L"Only 24 and 32 bit bmp files supported. Filename: " + Path("bad.bmp"));
  EXPECT_EQ(m.FindResource(L"bad"), nullptr);
}

// A do-not-keep load belongs to its caller: the map is neither read nor
// changed, even when the key is loaded.
TEST_F(ImagesManagerTest, DoNotKeepGivesAPrivateCopy) {
  auto& m = ImagesManager::GetInstance();
  Image* shared = m.LoadImage(Path("a.png"), L"bg", false, true);
  ASSERT_NE(shared, nullptr);
  std::unique_ptr<Image> mine(m.LoadImage(Path("a.png"), L"bg", true, true));
  ASSERT_TRUE(mine);
  EXPECT_NE(mine.get(), shared);
  EXPECT_EQ(m.FindResourceId(mine.get()), L"");
  EXPECT_FALSE(m.FreeImage(mine.get()));
  EXPECT_NE(m.Dump().find(L"bg. References count: 1\r\n"), std::wstring::npos);
  mine.reset();  // the caller deletes its copy; the shared image is untouched
  EXPECT_TRUE(m.FreeImage(shared));
  EXPECT_EQ(m.FindResource(L"bg"), nullptr);
}

TEST_F(ImagesManagerTest, UploadsUnlessToldNot) {
  auto& m = ImagesManager::GetInstance();
  {
    QmTest::FakeRenderSystem render;
    QmTest::CurrentRender current(&render);
    Image* image = m.LoadImage(Path("a.png"), L"up", false, false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(render.uploads, 1);
    EXPECT_NE(image->GetRenderData(), nullptr);
    m.LoadImage(Path("a.png"), L"quiet", false, true);
    EXPECT_EQ(render.uploads, 1);
    m.CleanupEverything(true);
    EXPECT_EQ(render.liveData, 0);
  }
  // With no render system the upload throws; the image is not kept.
  try {
    m.LoadImage(Path("a.png"), L"up", false, false);
    FAIL() << "no exception";
  } catch (const LLF::Exception& e) {
    EXPECT_EQ(e.GetCode(), 7);
  }
  EXPECT_EQ(m.FindResource(L"up"), nullptr);
}

TEST_F(ImagesManagerTest, CleanupReportsLeftImages) {
  auto& m = ImagesManager::GetInstance();
  QmTest::FakeRenderSystem render;
  QmTest::CurrentRender current(&render);
  m.LoadImage(Path("a.png"), L"one", false, false);
  m.LoadImage(Path("a.png"), L"one", false, false);
  m.LoadImage(Path("b.bmp"), L"two", false, false);
  QmTest::LogCapture log;
  m.CleanupEverything(false);
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0], L"WARNING: Some images are not freed. Leaked images list follows:");
  EXPECT_EQ(log.Lines()[1],
            L"ImagesManager class. Info:\r\nImages loaded: 2\r\nCodecs registered: 3\r\nImages "
            L"list(only ID's): \r\none. References count: 2\r\ntwo. References count: 1\r\n--- End of "
            L"list.\r\n");
  EXPECT_EQ(render.liveData, 0) << "both images deleted";
  EXPECT_EQ(m.FindResource(L"one"), nullptr);

  m.LoadImage(Path("a.png"), L"three", false, false);
  log.Clear();
  m.CleanupEverything(true);
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(render.liveData, 0);
  m.CleanupEverything(false);
  EXPECT_TRUE(log.Lines().empty()) << "nothing left, nothing reported";
}

TEST_F(ImagesManagerTest, CodecRegistry) {
  auto& m = ImagesManager::GetInstance();
  QmTest::LogCapture log;
  EXPECT_FALSE(m.RegisterCodec(&LLF::CodecPng::GetInstance()));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Warning: trying to register the same codec twice.\r\n" +
                                                   LLF::CodecPng::GetInstance().Dump()});
  EXPECT_EQ(m.CodecsManager<Image>::Dump(), L"CodecsManager base class. Registered codecs count: 3\r\n");
  OtherCodec other;
  log.Clear();
  EXPECT_FALSE(m.UnregisterCodec(&other));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Warning: trying to unregister unregistered codec.\r\n" +
                                                   other.Dump()});

  // A codec of another kind is skipped with a warning; the next one loads.
  ASSERT_TRUE(m.UnregisterCodec(&LLF::CodecBmp::GetInstance()));
  ASSERT_TRUE(m.UnregisterCodec(&LLF::CodecPng::GetInstance()));
  ASSERT_TRUE(m.RegisterCodec(&other));
  ASSERT_TRUE(m.RegisterCodec(&LLF::CodecPng::GetInstance()));
  ASSERT_TRUE(m.RegisterCodec(&LLF::CodecBmp::GetInstance()));
  log.Clear();
  EXPECT_NE(m.LoadImage(Path("a.png"), L"", false, true), nullptr);
  EXPECT_EQ(
      log.Count(L"Warning: Not ImageCodec is registered in ImagesManager codecs list.\r\n" + other.Dump()),
      1);
  m.UnregisterCodec(&other);
  EXPECT_TRUE(m.IsKindOf("ImagesManager") && m.IsKindOf("CodecsManager") && m.IsKindOf("Object"));
}

TEST_F(ImagesManagerTest, SavesThroughTheCodecOfTheExtension) {
  auto& m = ImagesManager::GetInstance();
  QmTest::LogCapture log;
  Image image(2, 2, LLF::IMGFORMAT_R8G8B8A8);
  EXPECT_TRUE(m.SaveImage(&image, Path("out.png")));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Image saved \"" + Path("out.png") + L"\""});
  std::unique_ptr<Image> back(LLF::CodecPng::GetInstance().LoadFromFile(Path("out.png")));
  EXPECT_TRUE(back);

  log.Clear();
  EXPECT_FALSE(m.SaveImage(&image, Path("out.gif")));
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"Warning: SaveImage failed. Codec was not able to save. "
                                                   L"\r\nFilename: " +
                                                   Path("out.gif") + L"\r\n" + image.Dump() + L"\r\nCodec: " +
                                                   LLF::CodecGif::GetInstance().Dump()});
  log.Clear();
  EXPECT_FALSE(m.SaveImage(&image, Path("out.xyz")));
  EXPECT_EQ(log.Lines(),
            std::vector<std::wstring>{L"Error: SaveImage failed. Corresponding codec was not found for "
                                      L"this file format.\r\nFilename: " +
                                      Path("out.xyz") + L"\r\n" + image.Dump()});
}

// The asset loader fills the manager from its thread while the main thread
// looks up, loads and frees in it.
TEST_F(ImagesManagerTest, LoadsFromAnotherThreadWhileThisOneReads) {
  auto& m = ImagesManager::GetInstance();
  constexpr int kImages = 60;
  std::atomic<bool> done{false};
  std::thread loader([&] {
    for (int i = 0; i < kImages; ++i) {
      m.LoadImage(Path(i % 2 ? "a.png" : "b.bmp"), L"img" + LLF::ToString(i), false, true);
      m.LoadImage(Path("a.png"), L"shared", false, true);
    }
    done = true;
  });
  do {
    if (Image* shared = m.FindResource(L"shared")) {
      EXPECT_EQ(m.FindResourceId(shared), L"shared");
    }
    m.Dump();
    Image* own = m.LoadImage(Path("b.bmp"), L"main", false, true);
    EXPECT_TRUE(m.FreeImage(own));
  } while (!done);
  loader.join();
  for (int i = 0; i < kImages; ++i) EXPECT_NE(m.FindResource(L"img" + LLF::ToString(i)), nullptr) << i;
  EXPECT_NE(m.Dump().find(L"shared. References count: " + LLF::ToString(kImages) + L"\r\n"),
            std::wstring::npos);
  EXPECT_EQ(m.FindResource(L"main"), nullptr);
}

// Two threads loading one id at once end with one shared image.
TEST_F(ImagesManagerTest, ConcurrentLoadsOfOneIdShare) {
  auto& m = ImagesManager::GetInstance();
  for (int round = 0; round < 20; ++round) {
    Image* got[2] = {nullptr, nullptr};
    std::thread a([&] { got[0] = m.LoadImage(Path("b.bmp"), L"race", false, true); });
    std::thread b([&] { got[1] = m.LoadImage(Path("b.bmp"), L"race", false, true); });
    a.join();
    b.join();
    ASSERT_NE(got[0], nullptr);
    EXPECT_EQ(got[0], got[1]);
    EXPECT_TRUE(m.FreeImage(got[0]));
    EXPECT_TRUE(m.FreeImage(got[0]));
    EXPECT_EQ(m.FindResource(L"race"), nullptr);
  }
}

}  // namespace
