// Throughput of the text file codecs on a 10 MB mixed-script text, and the
// cost of one log entry. Writes only into a private temporary folder.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "io/TextFile.h"

namespace {

std::string g_folder;

// About 10 MB of UTF-8: ASCII markup with Latin-1, Cyrillic, CJK and a
// character above U+FFFF, the mix a script or profile file has.
const std::wstring& Sample() {
  static const std::wstring text = [] {
    const std::wstring line =
        L"<item name=\"Gr\u00FC\u00DFe\" text=\"\u041F\u0440\u0438\u0432\u0435\u0442 "
        L"\u4F60\u597D \U0001F600\" value=\"12,34\" />\r\n";
    std::wstring t;
    while (t.size() * 1.5 < 10e6) t += line;
    return t;
  }();
  return text;
}

void BM_WriteAll(benchmark::State& state) {
  const int encoding = static_cast<int>(state.range(0));
  const std::wstring path = LLF::FromOsPath(g_folder + "/out.txt");
  LLF::TextFile file;
  size_t bytes = 0;
  for (auto _ : state) {
    if (!file.WriteAll(path, Sample(), encoding)) state.SkipWithError("write failed");
    bytes = std::filesystem::file_size(g_folder + "/out.txt");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_WriteAll)->Arg(0)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ReadAll(benchmark::State& state) {
  const int encoding = static_cast<int>(state.range(0));
  const std::wstring path = LLF::FromOsPath(g_folder + "/in.txt");
  LLF::TextFile file;
  file.WriteAll(path, Sample(), encoding);
  const auto bytes = std::filesystem::file_size(g_folder + "/in.txt");
  std::wstring text;
  for (auto _ : state) {
    if (!file.ReadAll(path, text) || text.size() != Sample().size()) state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ReadAll)->Arg(0)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_LogWriteFormat(benchmark::State& state) {
  LLF::Log& log = LLF::Log::GetInstance();
  int i = 0;
  for (auto _ : state) log.WriteFormat(L"Warning: Can't load image %s (%d).", L"images/background.png", ++i);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogWriteFormat);

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/qm-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  g_folder = pattern;
  LLF::Log::GetInstance().SetFolder(LLF::FromOsPath(g_folder));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  LLF::Log::GetInstance().Close();
  std::filesystem::remove_all(g_folder);
  return 0;
}
