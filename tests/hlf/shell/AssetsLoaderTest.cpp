// The asset loader: its lists, its message sequence delivered on the main
// thread, and a loader destroyed while it runs. These tests also run under
// ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "FileBytes.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "shell/AssetsLoader.h"
#include "xml/XmlElement.h"

namespace {

class AssetsLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = QmTest::NewTempFolder("assets") + "/";
    LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
    images.RegisterCodec(&LLF::CodecPng::GetInstance());
    LLF::Image picture(8, 4, LLF::IMGFORMAT_R8G8B8A8);
    ASSERT_TRUE(images.SaveImage(&picture, LLF::FromOsPath(folder + "pic.png")));
    png = QmTest::ReadBytes(folder + "pic.png");
  }

  void TearDown() override {
    LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
    images.CleanupEverything(true);
    images.UnregisterCodec(&LLF::CodecPng::GetInstance());
  }

  // A picture file under the name; its path as the lists write it.
  std::string Picture(const std::string& name) {
    QmTest::WriteBytes(folder + name + ".png", png);
    return folder + name + ".png";
  }

  // An asset-list file holding the text inside game / assets.
  std::wstring ListFile(const std::string& lists) {
    QmTest::WriteBytes(folder + "lists.xml", "<game><assets>" + lists + "</assets></game>");
    return LLF::FromOsPath(folder + "lists.xml");
  }

  std::string folder;
  std::string png;
};

TEST_F(AssetsLoaderTest, ProgressArrivesInOrderOnTheMainThread) {
  const std::wstring file =
      ListFile("<FIRST><image name=\"a\" src=\"" + Picture("a") + "\" cells=\"2\" loops=\"2\" />" +
               "<image name=\"b\" src=\"" + Picture("b") + "\" /><video src=\"clip.avi\" /></FIRST>" +
               "<SECOND><image name=\"c\" src=\"" + Picture("c") + "\" /><!-- counted too --></SECOND>");
  HLF::AssetsLoader loader;
  ASSERT_TRUE(loader.AddListFromFile(file, L"FIRST"));
  ASSERT_TRUE(loader.AddListFromFile(file, L"SECOND"));
  QmTest::MessageRecorder recorder;
  recorder.Listen(&loader);
  std::vector<std::thread::id> threads;
  recorder.action = [&threads](const LLF::Message&) { threads.push_back(std::this_thread::get_id()); };

  ASSERT_TRUE(loader.Start(0));
  loader.Wait();
  EXPECT_TRUE(recorder.Entries().empty()) << "nothing reaches a receiver from the loader's thread";
  EXPECT_EQ(loader.GetQueuedCount(), 6u);
  EXPECT_EQ(HLF::AssetsLoader::DeliverAllQueued(), 6u);

  const auto& got = recorder.Entries();
  ASSERT_EQ(got.size(), 6u);
  const wchar_t* const texts[] = {L"0", L"0", L"0", L"1", L"1", L"2"};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got[i].code, i < 5 ? HLF::ASSETS_MSG_PROGRESS : HLF::ASSETS_MSG_DONE);
    EXPECT_EQ(got[i].param, 0);
    EXPECT_EQ(got[i].primary, i < 5 ? i + 1 : 5);
    EXPECT_EQ(got[i].secondary, 5);
    EXPECT_EQ(got[i].text, texts[i]);
    EXPECT_EQ(threads[i], std::this_thread::get_id());
  }
  EXPECT_FALSE(loader.IsLoadFailed()) << "an unknown element is no failure";

  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  LLF::Image* a = images.FindResource(L"a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetCellsCount(), 2u);
  EXPECT_EQ(a->GetLoopsCount(), 2u);
  EXPECT_EQ(a->GetRenderData(), nullptr) << "loaded without render data";
  EXPECT_NE(images.FindResource(L"c"), nullptr);

  // A second run over the same lists shares what is loaded; one unload
  // per run releases it all.
  ASSERT_TRUE(loader.Start(0));
  loader.Wait();
  EXPECT_EQ(loader.DeliverQueued(), 6u);
  loader.UnloadAssets();
  EXPECT_NE(images.FindResource(L"a"), nullptr);
  loader.UnloadAssets();
  EXPECT_EQ(images.FindResource(L"a"), nullptr);
  EXPECT_EQ(images.FindResource(L"c"), nullptr);
  EXPECT_EQ(loader.GetLists().size(), 2u) << "unloading keeps the lists";
}

// A failed item marks the run and the rest still loads; cells and loops
// below 1 become 1.
TEST_F(AssetsLoaderTest, FailuresAndBadCellCounts) {
  const std::wstring file =
      ListFile("<L><image name=\"gone\" src=\"" + folder + "none.png\" />" + "<image name=\"bad\" src=\"" +
               Picture("bad") + "\" cells=\"0\" loops=\"-3\" /><font name=\"f\" src=\"" + folder +
               "none.xml\" /></L>");
  HLF::AssetsLoader loader;
  ASSERT_TRUE(loader.SetListFromFile(file, L"L"));
  QmTest::MessageRecorder recorder;
  recorder.Listen(&loader);
  QmTest::LogRecorder log;
  ASSERT_TRUE(loader.Start(0));
  loader.Wait();
  HLF::AssetsLoader::DeliverAllQueued();
  EXPECT_EQ(recorder.Codes(), (std::vector<std::string>{"?:0", "?:0", "?:0", "?:2"}));
  EXPECT_TRUE(loader.IsLoadFailed());
  EXPECT_EQ(log.Count(L"Error: LoadImage failed. Can't open image file."), 1);
  EXPECT_EQ(log.Count(L"Error: LoadFont failed. Can't open font file."), 1);
  EXPECT_EQ(log.Count(L"Warning: AssetsLoader - image \"bad\" has cells 0; 1 is used."), 1);
  EXPECT_EQ(log.Count(L"Warning: AssetsLoader - image \"bad\" has loops -3; 1 is used."), 1);
  LLF::Image* bad = LLF::ImagesManager::GetInstance().FindResource(L"bad");
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(bad->GetCellsCount(), 1u);
  EXPECT_EQ(bad->GetCellWidth(), 8u);
  EXPECT_EQ(bad->GetCellHeight(), 4u);
  loader.UnloadAssets();
  EXPECT_EQ(LLF::ImagesManager::GetInstance().FindResource(L"bad"), nullptr);
}

TEST_F(AssetsLoaderTest, ListsFromFiles) {
  const std::wstring file = ListFile("<L><video /></L>");
  HLF::AssetsLoader loader;
  QmTest::LogRecorder log;
  ASSERT_TRUE(loader.SetListFromFile(file, L"L"));
  EXPECT_FALSE(loader.SetListFromFile(file, L"NONE"));
  EXPECT_TRUE(loader.GetLists().empty()) << "a failed SetListFromFile leaves no lists";
  EXPECT_EQ(log.Count(L"Error: Can't find asset \"NONE\" in file \"" + file + L"\""), 1);

  QmTest::WriteBytes(folder + "noassets.xml", "<game><other /></game>");
  QmTest::WriteBytes(folder + "nogame.xml", "<config />");
  EXPECT_FALSE(loader.AddListFromFile(LLF::FromOsPath(folder + "noassets.xml"), L"L"));
  EXPECT_EQ(
      log.Count(L"Error: Can't find assets child in file \"" + LLF::FromOsPath(folder) + L"noassets.xml\""),
      1);
  const size_t lines = log.Lines().size();
  EXPECT_FALSE(loader.AddListFromFile(LLF::FromOsPath(folder + "nogame.xml"), L"L"));
  EXPECT_FALSE(loader.AddListFromFile(LLF::FromOsPath(folder + "missing.xml"), L"L"));
  EXPECT_EQ(log.Lines().size(), lines) << "an unreadable file or one without game is not logged";
  EXPECT_FALSE(loader.AddList(nullptr));
  EXPECT_FALSE(loader.SetList(nullptr));

  // No lists: nothing at all is sent.
  QmTest::MessageRecorder recorder;
  recorder.Listen(&loader);
  ASSERT_TRUE(loader.Start(0));
  loader.Wait();
  EXPECT_EQ(HLF::AssetsLoader::DeliverAllQueued(), 0u);
  EXPECT_TRUE(recorder.Entries().empty());
}

// What a blocking item saw; it outlives the loader.
struct ItemProbe {
  std::atomic<int> items{0};
  std::atomic<bool> left{false};
};

// Holds each image until the loader is asked to stop.
class BlockingLoader : public HLF::AssetsLoader {
 public:
  explicit BlockingLoader(ItemProbe& probe) : _probe(probe) {}
  ~BlockingLoader() override { Terminate(); }
  void LoadImageAsset(const LLF::XmlElement&) override {
    ++_probe.items;
    while (!StopRequested()) {
      std::this_thread::yield();
    }
    _probe.left.store(true);
  }

 private:
  ItemProbe& _probe;
};

TEST_F(AssetsLoaderTest, DestroyedLoaderSendsNothingMore) {
  LLF::XmlElement list(L"L");
  for (int i = 0; i < 3; ++i) {
    list.AddChild(L"image");
  }
  QmTest::MessageRecorder recorder;

  // Destroyed in the middle of an item: stopped before the next item,
  // joined, and nothing it queued arrives.
  ItemProbe probe;
  auto* running = new BlockingLoader(probe);
  ASSERT_TRUE(running->SetList(&list));
  recorder.Listen(running);
  ASSERT_TRUE(running->Start(0));
  while (probe.items.load() == 0) {
    std::this_thread::yield();
  }
  EXPECT_FALSE(running->SetList(&list)) << "the lists stay as they are while they load";
  delete running;
  EXPECT_TRUE(probe.left.load()) << "the item had returned before the loader went";
  EXPECT_EQ(probe.items.load(), 1);
  EXPECT_EQ(HLF::AssetsLoader::DeliverAllQueued(), 0u);
  EXPECT_TRUE(recorder.Entries().empty());

  // Finished, then destroyed before the frame delivered its messages.
  auto* finished = new HLF::AssetsLoader();
  LLF::XmlElement unknown(L"U");
  unknown.AddChild(L"video");
  finished->SetList(&unknown);
  recorder.Listen(finished);
  ASSERT_TRUE(finished->Start(0));
  finished->Wait();
  EXPECT_EQ(finished->GetQueuedCount(), 2u);
  delete finished;
  EXPECT_EQ(HLF::AssetsLoader::DeliverAllQueued(), 0u);

  // Destroyed by its receiver during the delivery: the rest is dropped.
  auto* closing = new HLF::AssetsLoader();
  closing->SetList(&unknown);
  recorder.Listen(closing);
  recorder.action = [&closing](const LLF::Message&) {
    delete closing;
    closing = nullptr;
  };
  ASSERT_TRUE(closing->Start(0));
  closing->Wait();
  EXPECT_EQ(HLF::AssetsLoader::DeliverAllQueued(), 1u);
  EXPECT_EQ(closing, nullptr);
  EXPECT_EQ(recorder.Codes(), std::vector<std::string>{"?:0"});
}

// The loader registers 200 images while the main thread looks images up,
// loads its own and frees them in the same manager.
TEST_F(AssetsLoaderTest, RaceWithMainThreadLookupsAndFrees) {
  constexpr int kCount = 200;
  LLF::XmlElement list(L"MANY");
  std::vector<std::wstring> files;
  for (int i = 0; i < kCount; ++i) {
    // Appended rather than "p" + ..., which GCC 12 at -O3 wrongly flags as
    // an overlapping copy.
    std::string stem = "p";
    stem += std::to_string(i);
    files.push_back(LLF::FromOsPath(Picture(stem)));
    LLF::XmlElement* image = list.AddChild(L"image");
    image->AddAttribute(L"name", L"img" + LLF::ToString(i));
    image->AddAttribute(L"src", files.back());
    image->AddAttribute(L"cells", 2);
  }
  HLF::AssetsLoader loader;
  ASSERT_TRUE(loader.SetList(&list));
  QmTest::MessageRecorder recorder;
  recorder.Listen(&loader);
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();

  ASSERT_TRUE(loader.Start(0));
  size_t delivered = 0;
  for (int round = 0; loader.IsRunning() || round == 0; ++round) {
    for (int i = 0; i < kCount; i += 7) {
      const std::wstring id = L"img" + LLF::ToString(i);
      images.FindResource(id);
      if (LLF::Image* shared = images.LoadImage(files[i], id, false, true)) {
        images.FreeImage(shared);
      }
      if (LLF::Image* own = images.LoadImage(files[i], L"main" + LLF::ToString(i), false, true)) {
        images.FreeImage(own);
      }
    }
    delivered += HLF::AssetsLoader::DeliverAllQueued();
  }
  loader.Wait();
  delivered += HLF::AssetsLoader::DeliverAllQueued();

  EXPECT_EQ(delivered, static_cast<size_t>(kCount + 1));
  ASSERT_EQ(recorder.Entries().size(), static_cast<size_t>(kCount + 1));
  for (int i = 0; i < kCount; ++i) {
    EXPECT_EQ(recorder.Entries()[i].primary, i + 1);
  }
  EXPECT_EQ(recorder.Entries().back().code, HLF::ASSETS_MSG_DONE);
  for (int i = 0; i < kCount; ++i) {
    ASSERT_NE(images.FindResource(L"img" + LLF::ToString(i)), nullptr) << i;
    EXPECT_EQ(images.FindResource(L"main" + LLF::ToString(i)), nullptr) << i;
  }
  loader.UnloadAssets();
  for (int i = 0; i < kCount; ++i) {
    EXPECT_EQ(images.FindResource(L"img" + LLF::ToString(i)), nullptr) << i;
  }
}

}  // namespace
