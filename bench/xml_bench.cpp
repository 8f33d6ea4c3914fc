// Reading speed of our XML reader beside pugixml and tinyxml2 on one
// generated layout-like document of about 10 MB, all in one run. Each reader
// starts from the same UTF-8 bytes in memory and ends with a complete
// document, which it destroys again within the timed loop. Ours reads the
// bytes directly (XmlDoc::ParseUtf8); beside it are the wide-text path that
// files take (decode, then Parse) and Parse alone. The summary at the end
// gives MB/s (10^6 bytes of the UTF-8 input per second) and our ratios to
// pugixml and tinyxml2.
//
// Usage: xml_bench [--size-mb=N] [--save=FILE] [--once=utf8|decode]
//                  [Google Benchmark options]
// (--save also writes the generated document to FILE; --once reads the
// document once, through ParseUtf8 or by decoding and Parse, in ReadOnce and
// ends, for counting instructions:
//   valgrind --tool=callgrind --toggle-collect='*ReadOnce*' build/bin/xml_bench --size-mb=1 --once=utf8)
#include <benchmark/benchmark.h>

#include <tinyxml2.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "io/TextEncoding.h"
#include "xml/XmlDoc.h"

namespace {

std::string g_bytes;  // the document as UTF-8
std::wstring g_text;  // the same, decoded
size_t g_targetBytes = 10u << 20;

// A layout file as the game's data has them: sections of dialogs whose
// controls carry five to ten attributes (names, positions, sizes, colours,
// images, texts with references), labels with text, comments, nested groups.
std::string GenerateLayout(size_t targetBytes) {
  std::string s;
  s.reserve(targetBytes + 4096);
  s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
  s += "<!-- Generated layouts for the reading benchmark -->\r\n";
  s += "<layouts>\r\n\t<vars>\r\n";
  for (int i = 0; i < 20; ++i) {
    s += "\t\t<var name=\"left" + std::to_string(i) + "\" value=\"" + std::to_string(i * 8) + "\" />\r\n";
  }
  s += "\t</vars>\r\n";
  static const char* kClasses[] = {"button", "label", "staticimage", "checkbox", "slider", "listbox"};
  static const char* kTexts[] = {"Play &amp; win",
                                 "Options",
                                 "Gr\303\266\303\237e &lt;100&gt;",
                                 "Quit?",
                                 "Caf\303\251 &quot;Noir&quot;",
                                 "Smile \360\237\230\200"};
  for (int d = 0; s.size() < targetBytes; ++d) {
    const std::string dn = std::to_string(d);
    s += "\t<!-- dialog " + dn + " -->\r\n";
    s += "\t<dialog name=\"dlg_" + dn + "\" pos=\"" + std::to_string(d % 97) + "," + std::to_string(d % 53) +
         "\" size=\"640,480\" alpha=\"255\" visible=\"true\" modal=\"" + (d % 2 ? "true" : "false") +
         "\" >\r\n";
    for (int c = 0; c < 24; ++c) {
      const int k = (d * 24 + c) % 6;
      const std::string cn = std::to_string(c);
      s += "\t\t<";
      s += kClasses[k];
      s += " name=\"" + std::string(kClasses[k]) + "_" + cn + "\" pos=\"" + std::to_string(c * 13 % 600) +
           "," + std::to_string(c * 29 % 400) + "\" size=\"" + std::to_string(40 + c) + ",24\" color=\"255," +
           std::to_string(c * 10 % 256) + ",0,200\" image=\"images/ui/" + kClasses[k] + "_" + cn +
           ".png\" font=\"VeraBD\"";
      if (c % 3 == 0) s += " text=\"" + std::string(kTexts[c % 6]) + "\" soundClick=\"click_01\"";
      if (c % 4 == 0) s += " imageCell=\"" + std::to_string(c % 5) + "\" imageLoop=\"0\" flags=\"C:&#x5C;x\"";
      if (k == 1) {
        s += " >";
        s += kTexts[(c + d) % 6];
        s += "</label>\r\n";
      } else if (k == 5) {
        s += " >\r\n";
        for (int i = 0; i < 4; ++i) {
          s += "\t\t\t<item id=\"" + std::to_string(i) + "\" text=\"Item " + std::to_string(i) + "\" />\r\n";
        }
        s += "\t\t</listbox>\r\n";
      } else {
        s += " />\r\n";
      }
    }
    s += "\t</dialog>\r\n";
  }
  s += "</layouts>\r\n";
  return s;
}

struct Counts {
  size_t elements = 0;
  size_t attributes = 0;
};

void CountOurs(const LLF::XmlElement& e, Counts& n) {
  for (int i = 0; i < e.GetChildsCount(); ++i) {
    const LLF::XmlElement* c = e.GetChild(i);
    if (c->IsComment()) continue;
    ++n.elements;
    n.attributes += c->GetAttributesCount();
    CountOurs(*c, n);
  }
}

void CountPugi(const pugi::xml_node& node, Counts& n) {
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    ++n.elements;
    for (pugi::xml_attribute a = c.first_attribute(); a; a = a.next_attribute()) ++n.attributes;
    CountPugi(c, n);
  }
}

void CountTiny(const tinyxml2::XMLNode* node, Counts& n) {
  for (const tinyxml2::XMLElement* c = node->FirstChildElement(); c; c = c->NextSiblingElement()) {
    ++n.elements;
    for (const tinyxml2::XMLAttribute* a = c->FirstAttribute(); a; a = a->Next()) ++n.attributes;
    CountTiny(c, n);
  }
}

// Runs read (which makes and destroys one document from the input) in the
// timed loop; the rate is of the UTF-8 input.
template <class Read>
void Measure(benchmark::State& state, Read read) {
  for (auto _ : state) benchmark::DoNotOptimize(read());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_bytes.size()));
}

void BM_Ours_Utf8ToDocument(benchmark::State& state) {
  Measure(state, [] { return LLF::XmlDoc().ParseUtf8(g_bytes); });
}

void BM_Ours_DecodeThenParse(benchmark::State& state) {
  Measure(state, [] { return LLF::XmlDoc().Parse(LLF::Utf8Decode(g_bytes)); });
}

void BM_Ours_WideTextToDocument(benchmark::State& state) {
  Measure(state, [] { return LLF::XmlDoc().Parse(g_text); });
}

void BM_Ours_Utf8Decode(benchmark::State& state) {
  for (auto _ : state) {
    std::wstring text = LLF::Utf8Decode(g_bytes);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_bytes.size()));
}

void BM_Ours_Serialize(benchmark::State& state) {
  LLF::XmlDoc doc;
  doc.Parse(g_text);
  for (auto _ : state) {
    std::wstring out = doc.Serialize(L"UTF-8");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_bytes.size()));
}

void BM_Pugixml(benchmark::State& state) {
  Measure(state, [] { return pugi::xml_document().load_buffer(g_bytes.data(), g_bytes.size()).status; });
}

void BM_Tinyxml2(benchmark::State& state) {
  Measure(state, [] { return tinyxml2::XMLDocument().Parse(g_bytes.data(), g_bytes.size()); });
}

// Shows the usual table and keeps each benchmark's bytes per second.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions the median comes after the single runs and wins.
    for (const Run& run : runs) {
      auto it = run.counters.find("bytes_per_second");
      if (it == run.counters.end()) continue;
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
        rates[run.run_name.str()] = it->second.value / 1e6;
      }
    }
  }
  std::map<std::string, double> rates;  // MB/s by benchmark name
};

// One reading of the document, made and destroyed.
__attribute__((noinline)) bool ReadOnce(bool utf8) {
  LLF::XmlDoc doc;
  return utf8 ? doc.ParseUtf8(g_bytes) : doc.Parse(LLF::Utf8Decode(g_bytes));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  const char* savePath = nullptr;
  const char* once = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--size-mb=", 10) == 0) {
      g_targetBytes = static_cast<size_t>(std::atof(argv[i] + 10) * (1 << 20));
    } else if (std::strncmp(argv[i], "--save=", 7) == 0) {
      savePath = argv[i] + 7;
    } else if (std::strncmp(argv[i], "--once=", 7) == 0) {
      once = argv[i] + 7;
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());

  g_bytes = GenerateLayout(g_targetBytes);
  g_text = LLF::Utf8Decode(g_bytes);
  if (savePath) std::ofstream(savePath, std::ios::binary) << g_bytes;
  if (once) return ReadOnce(std::strcmp(once, "utf8") == 0) ? 0 : 1;

  // The three readers must agree on what they read, and our ways of
  // reading on the document.
  Counts ours, pugi, tiny;
  {
    LLF::XmlDoc doc, direct;
    if (!doc.Parse(g_text) || !direct.ParseUtf8(g_bytes)) {
      std::fprintf(stderr, "our reader failed on the generated document\n");
      return 1;
    }
    const std::wstring written = doc.Serialize(L"UTF-8");
    if (direct.Serialize(L"UTF-8") != written) {
      std::fprintf(stderr, "our ways of reading disagree on the document\n");
      return 1;
    }
    CountOurs(*doc.GetRoot(), ours);
    pugi::xml_document p;
    if (!p.load_buffer(g_bytes.data(), g_bytes.size())) return 1;
    CountPugi(p, pugi);
    tinyxml2::XMLDocument t;
    if (t.Parse(g_bytes.data(), g_bytes.size()) != tinyxml2::XML_SUCCESS) return 1;
    CountTiny(&t, tiny);
  }
  std::printf("document: %.2f MB UTF-8, %zu elements, %zu attributes (pugixml %zu/%zu, tinyxml2 %zu/%zu)\n",
              g_bytes.size() / 1e6, ours.elements, ours.attributes, pugi.elements, pugi.attributes,
              tiny.elements, tiny.attributes);
  if (ours.elements != pugi.elements || ours.attributes != pugi.attributes ||
      ours.elements != tiny.elements || ours.attributes != tiny.attributes) {
    std::fprintf(stderr, "the readers disagree on the document\n");
    return 1;
  }

  benchmark::RegisterBenchmark("ours/utf8_to_document", BM_Ours_Utf8ToDocument)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ours/decode_then_parse", BM_Ours_DecodeThenParse)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ours/wide_text_to_document", BM_Ours_WideTextToDocument)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ours/utf8_decode_only", BM_Ours_Utf8Decode)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ours/serialize", BM_Ours_Serialize)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("pugixml/load_buffer", BM_Pugixml)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("tinyxml2/parse", BM_Tinyxml2)->Unit(benchmark::kMillisecond);

  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto rate = [&](const char* name) {
    auto it = reporter.rates.find(name);
    return it == reporter.rates.end() ? 0.0 : it->second;
  };
  const double oursRate = rate("ours/utf8_to_document");
  const double pugiRate = rate("pugixml/load_buffer");
  const double tinyRate = rate("tinyxml2/parse");
  std::printf("\nreading %.2f MB (MB/s of UTF-8 input, bytes to document):\n", g_bytes.size() / 1e6);
  std::printf("  ours       %8.1f MB/s  (decode then parse: %.1f, from wide text: %.1f)\n", oursRate,
              rate("ours/decode_then_parse"), rate("ours/wide_text_to_document"));
  std::printf("  pugixml    %8.1f MB/s\n", pugiRate);
  std::printf("  tinyxml2   %8.1f MB/s\n", tinyRate);
  if (oursRate > 0 && pugiRate > 0) std::printf("  ours / pugixml: %.3f\n", oursRate / pugiRate);
  if (oursRate > 0 && tinyRate > 0) std::printf("  ours / tinyxml2: %.3f\n", oursRate / tinyRate);
  return 0;
}
