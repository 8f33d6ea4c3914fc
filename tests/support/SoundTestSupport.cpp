#include "SoundTestSupport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "TestEnv.h"

// libsndfile 1.2.0 leaks libvorbis's info block (about 6 KB) each time it
// refuses a truncated Ogg file; a known fault of that library, not of ours.
// Only allocations made in vorbis_info_init are passed over.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
  return "leak:vorbis_info_init\n";
}
#endif

namespace SoundTest {

std::vector<unsigned char> MakeSound(int format, int rate, int channels, const std::vector<Tone>& tones) {
  const std::string path = QmTest::NewTempFolder("sound") + "/sound";
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    return {};
  }
  double phase = 0.0;
  std::vector<float> frames;
  for (const Tone& tone : tones) {
    const auto count = static_cast<size_t>(std::lround(tone.seconds * rate));
    frames.assign(count * static_cast<size_t>(channels), 0.0f);
    for (size_t i = 0; i < count; ++i) {
      const auto v = static_cast<float>(tone.amplitude * std::sin(phase));
      std::fill_n(frames.begin() + static_cast<std::ptrdiff_t>(i) * channels, channels, v);
      phase = std::fmod(phase + 2.0 * M_PI * tone.freq / rate, 2.0 * M_PI);
    }
    sf_writef_float(file, frames.data(), static_cast<sf_count_t>(count));
  }
  sf_close(file);
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string WriteTemp(const std::vector<unsigned char>& bytes, const std::string& name) {
  const std::string path = QmTest::NewTempFolder("file") + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

DiskOutput::DiskOutput()
    : _path(QmTest::NewTempFolder("recording") + "/output.raw"),
      _driver("SDL_AUDIODRIVER", "disk"),
      _file("SDL_DISKAUDIOFILE", _path.c_str()) {}

void DiskOutput::Read(bool eightBits) {
  std::ifstream in(_path, std::ios::binary);
  const std::vector<char> raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const size_t width = eightBits ? 1 : 2;
  const size_t frames = raw.size() / (2 * width);
  _left.resize(frames);
  _right.resize(frames);
  for (size_t i = 0; i < frames; ++i) {
    for (size_t c = 0; c < 2; ++c) {
      const char* p = raw.data() + (2 * i + c) * width;
      float v = 0.0f;
      if (eightBits) {
        v = (static_cast<float>(static_cast<unsigned char>(*p)) - 128.0f) / 127.0f;
      } else {
        int16_t s = 0;
        std::memcpy(&s, p, sizeof s);
        v = static_cast<float>(s) / 32767.0f;
      }
      (c == 0 ? _left : _right)[i] = v;
    }
  }
}

double ToneAmplitude(const float* x, size_t n, double freq, double rate) {
  const double w = 2.0 * M_PI * freq / rate;
  const double coeff = 2.0 * std::cos(w);
  double s1 = 0.0, s2 = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const double s0 = x[i] + coeff * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
  return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(n);
}

std::vector<double> BlockAmplitudes(const std::vector<float>& x, size_t block, double freq, double rate) {
  std::vector<double> out;
  for (size_t start = 0; start + block <= x.size(); start += block) {
    out.push_back(ToneAmplitude(x.data() + start, block, freq, rate));
  }
  return out;
}

std::vector<double> BlockRms(const std::vector<float>& x, size_t block) {
  std::vector<double> out;
  for (size_t start = 0; start + block <= x.size(); start += block) {
    double sum = 0.0;
    for (size_t i = start; i < start + block; ++i) sum += double{x[i]} * x[i];
    out.push_back(std::sqrt(sum / static_cast<double>(block)));
  }
  return out;
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0.0;
  }
  const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), mid, values.end());
  return *mid;
}

std::vector<Run> Runs(const std::string& symbols, size_t ignore, char blank) {
  std::vector<Run> raw;
  for (char c : symbols) {
    if (!raw.empty() && raw.back().symbol == c) {
      ++raw.back().length;
    } else {
      raw.push_back({c, 1});
    }
  }
  std::vector<Run> runs;
  for (const Run& run : raw) {
    if (run.length <= ignore) {
      continue;
    }
    if (!runs.empty() && runs.back().symbol == run.symbol) {
      runs.back().length += run.length;
    } else {
      runs.push_back(run);
    }
  }
  while (!runs.empty() && runs.front().symbol == blank) runs.erase(runs.begin());
  while (!runs.empty() && runs.back().symbol == blank) runs.pop_back();
  return runs;
}

::testing::AssertionResult HeardMix(const std::vector<float>& x, size_t block, double rate, double minHigh) {
  const auto low = BlockAmplitudes(x, block, 500, rate);
  const auto high = BlockAmplitudes(x, block, 1200, rate);
  std::vector<double> lowLevels, highLevels;
  for (size_t i = 0; i < low.size(); ++i) {
    if (low[i] > 0.1 && high[i] > minHigh) {
      lowLevels.push_back(low[i]);
      highLevels.push_back(high[i]);
    }
  }
  if (lowLevels.size() <= 120) {
    return ::testing::AssertionFailure() << "both sound together for only " << lowLevels.size() << " blocks";
  }
  const auto third = static_cast<std::ptrdiff_t>(highLevels.size() / 3);
  const double levels[] = {Median(lowLevels), Median({highLevels.begin(), highLevels.begin() + third}),
                           Median({highLevels.end() - third, highLevels.end()})};
  const double expected[] = {0.5 * 0.50, 0.5 * 0.80, 0.5 * 0.40};
  const double tolerance[] = {0.02, 0.03, 0.02};
  for (size_t i = 0; i < 3; ++i) {
    if (std::fabs(levels[i] - expected[i]) > tolerance[i]) {
      return ::testing::AssertionFailure()
             << "levels " << levels[0] << ", " << levels[1] << " and " << levels[2] << "; expected "
             << expected[0] << ", " << expected[1] << " and " << expected[2];
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult HeardRestarted(const std::vector<float>& x) {
  const auto low = BlockAmplitudes(x, 441, 500, 44100);
  const auto high = BlockAmplitudes(x, 441, 1500, 44100);
  std::string symbols;
  for (size_t i = 0; i < low.size(); ++i) {
    const bool a = low[i] > 0.15, b = high[i] > 0.15;
    symbols += a && b ? 'X' : a ? 'A' : b ? 'B' : '-';
  }
  const auto runs = Runs(symbols, 2, '-');
  std::string order;
  for (const Run& run : runs) order += run.symbol;
  if (order != "ABAB") {
    return ::testing::AssertionFailure() << "heard " << symbols;
  }
  if (runs[1].length >= 140 || runs[2].length < 47 || runs[2].length > 53 || runs[3].length < 147 ||
      runs[3].length > 153) {
    return ::testing::AssertionFailure() << "parts of " << runs[1].length << ", " << runs[2].length << " and "
                                         << runs[3].length << " blocks in " << symbols;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult HeardOnceWithPauses(const std::vector<float>& x, size_t pauses, size_t minPause) {
  std::string symbols;
  size_t sounding = 0;
  for (double rms : BlockRms(x, 441)) {
    const bool on = rms > 0.5 * 0.5 / std::sqrt(2.0);
    sounding += on ? 1 : 0;
    symbols += on ? 'S' : '-';
  }
  if (sounding < 155 || sounding > 165) {
    return ::testing::AssertionFailure() << sounding << " blocks of tone, the file holds 160: " << symbols;
  }
  const auto runs = Runs(symbols, 2, '-');
  if (runs.size() != 2 * pauses + 1) {
    return ::testing::AssertionFailure() << "heard " << symbols;
  }
  for (size_t i = 1; i < runs.size(); i += 2) {
    if (runs[i].length <= minPause) return ::testing::AssertionFailure() << "a short pause in " << symbols;
  }
  return ::testing::AssertionSuccess();
}

void Wait(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace SoundTest
