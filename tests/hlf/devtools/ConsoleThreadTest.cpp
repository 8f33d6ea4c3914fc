// The console drawn on the main thread while another thread logs into it,
// with a font that logs an error at every draw: the log takes its lock and
// then the console's, and drawing must never hold the console's lock while
// it logs, or the two threads wait on each other for ever.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "FixedFont.h"
#include "RecordingRenderSystem.h"
#include "TempFolders.h"
#include "TestEditor.h"
#include "TestGame.h"
#include "core/Log.h"
#include "devtools/Console.h"
#include "xml/XmlElement.h"

namespace {

// Every text it is asked to draw fails, and says so in the log.
class FailingTextRender : public QmTest::RecordingRenderSystem {
 public:
  FailingTextRender() : RecordingRenderSystem(true) {}
  void DrawText(const LLF::Font&, const LLF::TextDrawParams&) override {
    LLF::Log::GetInstance().Write(L"Error: the font can't draw this text.");
    ++failures;
  }
  std::atomic<int> failures{0};
};

TEST(ConsoleThreadTest, DrawingWhileAnotherThreadLogsEnds) {
  QmTest::TempFolders folders;
  QmTest::TestGame game(folders);
  ASSERT_TRUE(game.Start());
  QmTest::FixedFont font;
  QmTest::TestEditor editor;
  editor.initialized = true;
  editor.font = font.Get();
  game.GetConfigDoc()->GetRoot()->GetChildByPath(L"config/game")->AddAttribute(L"enableConsole", L"true");
  HLF::Console& console = HLF::Console::GetInstance();
  console.ClearLines();
  console.Show();
  ASSERT_TRUE(console.IsVisible());
  LLF::Log::SetEcho(&HLF::Console::Echo);

  FailingTextRender rs;
  constexpr int kLines = 2000;
  std::atomic<bool> go{false};
  std::thread logger([&go] {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < kLines; ++i) LLF::Log::GetInstance().Write(L"worker line " + std::to_wstring(i));
  });
  go = true;
  int frames = 0;
  for (; frames < 200; ++frames) console.Draw();
  logger.join();
  console.Draw();

  LLF::Log::SetEcho(nullptr);
  console.Hide();
  EXPECT_EQ(frames, 200);
  EXPECT_GT(rs.failures.load(), 0);
  int workerLines = 0;
  for (const std::wstring& line : console.GetLines()) {
    workerLines += line.find(L"worker line ") != std::wstring::npos ? 1 : 0;
  }
  EXPECT_EQ(workerLines, kLines);
  console.ClearLines();
}

}  // namespace
