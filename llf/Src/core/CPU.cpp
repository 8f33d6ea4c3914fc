#include "core/CPU.h"

#include <chrono>
#include <fstream>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define LLF_CPU_X86 1
#endif

#include "core/StringUtils.h"

namespace LLF {

namespace {

std::wstring TrimBlanks(const std::wstring& s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && s[begin] == L' ') ++begin;
  while (end > begin && s[end - 1] == L' ') --end;
  return s.substr(begin, end - begin);
}

// 4-byte register words laid out as text, cut at the first NUL.
std::wstring RegistersToText(const uint32_t* words, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    for (int b = 0; b < 4; ++b) {
      const char c = static_cast<char>((words[i] >> (8 * b)) & 0xFF);
      if (c == '\0') {
        return AnsiToWide(text);
      }
      text.push_back(c);
    }
  }
  return AnsiToWide(text);
}

}  // namespace

CPU::CPU() {
#ifdef LLF_CPU_X86
  Registers regs;
  regs.maxLeaf = __get_cpuid_max(0, nullptr);
  if (regs.maxLeaf == 0) {
    // No CPUID: keep the "not detected" texts.
    return;
  }
  unsigned a, b, c, d;
  __cpuid(0, a, b, c, d);
  regs.vendor[0] = b;
  regs.vendor[1] = d;
  regs.vendor[2] = c;
  if (regs.maxLeaf >= 1) {
    __cpuid(1, a, b, c, d);
    regs.leaf1Eax = a;
    regs.leaf1Edx = d;
  }
  regs.maxExtLeaf = __get_cpuid_max(0x80000000u, nullptr);
  if (regs.maxExtLeaf >= 0x80000001u) {
    __cpuid(0x80000001u, a, b, c, d);
    regs.ext1Edx = d;
  }
  if (regs.maxExtLeaf >= 0x80000004u) {
    for (unsigned leaf = 0; leaf < 3; ++leaf) {
      __cpuid(0x80000002u + leaf, a, b, c, d);
      regs.brand[leaf * 4 + 0] = a;
      regs.brand[leaf * 4 + 1] = b;
      regs.brand[leaf * 4 + 2] = c;
      regs.brand[leaf * 4 + 3] = d;
    }
  }
  Decode(regs);
#else
  DetectFromProcCpuinfo();
#endif
}

void CPU::DecodeSignature(uint32_t eax, int& family, int& model, int& stepping) {
  stepping = static_cast<int>(eax & 0xF);
  const int baseModel = static_cast<int>((eax >> 4) & 0xF);
  const int baseFamily = static_cast<int>((eax >> 8) & 0xF);
  const int extModel = static_cast<int>((eax >> 16) & 0xF);
  const int extFamily = static_cast<int>((eax >> 20) & 0xFF);
  family = baseFamily == 0xF ? baseFamily + extFamily : baseFamily;
  model = (baseFamily == 0x6 || baseFamily == 0xF) ? baseModel + (extModel << 4) : baseModel;
}

void CPU::Decode(const Registers& regs) {
  if (regs.maxLeaf == 0) {
    return;
  }
  _vendor = RegistersToText(regs.vendor, 3);
  _isAMD = _vendor == L"AuthenticAMD";
  _isIntel = _vendor == L"GenuineIntel";

  unsigned features = 0;
  if (regs.maxLeaf >= 1) {
    DecodeSignature(regs.leaf1Eax, _family, _model, _stepping);
    const uint32_t edx = regs.leaf1Edx;
    if (edx & (1u << 4)) features |= FEATURE_RDTSC;
    if (edx & (1u << 23)) features |= FEATURE_MMX;
    if (edx & (1u << 25)) features |= FEATURE_SSE;
    if (edx & (1u << 26)) features |= FEATURE_SSE2;
  }
  if (regs.maxExtLeaf >= 0x80000001u) {
    const uint32_t edx = regs.ext1Edx;
    if (edx & (1u << 22)) features |= FEATURE_MMX_EXT;
    if (edx & (1u << 31)) features |= FEATURE_3DNOW;
    if (edx & (1u << 30)) features |= FEATURE_3DNOW_EXT;
  }
  // The brand text exists whenever its three leaves do, whatever the
  // stepping and model are.
  if (regs.maxExtLeaf >= 0x80000004u) {
    _brand = TrimBlanks(RegistersToText(regs.brand, 12));
  } else {
    _brand = L"Brand could not be detected.";
  }
  _features = features;
}

void CPU::DetectFromProcCpuinfo() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  auto valueOf = [](const std::string& l) {
    const size_t colon = l.find(':');
    std::string v = colon == std::string::npos ? std::string() : l.substr(colon + 1);
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.erase(v.begin());
    return v;
  };
  while (std::getline(in, line)) {
    if (line.rfind("vendor_id", 0) == 0 || line.rfind("CPU implementer", 0) == 0) {
      if (_vendor == L"VENDOR NOT DETECTED") _vendor = AnsiToWide(valueOf(line));
    } else if (line.rfind("model name", 0) == 0 || line.rfind("Model", 0) == 0 ||
               line.rfind("Hardware", 0) == 0) {
      if (_brand == L"BRAND NOT DETECTED") _brand = AnsiToWide(valueOf(line));
    }
  }
}

float CPU::GetSpeed() const {
  std::call_once(_speedOnce, [this] {
#ifdef LLF_CPU_X86
    if (!HasFeature(FEATURE_RDTSC)) {
      return;
    }
    // Cycles of the time-stamp counter over a measured span of the steady
    // clock; no priority change is needed for a coarse MHz figure.
    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    const unsigned long long c0 = __rdtsc();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const unsigned long long c1 = __rdtsc();
    const auto t1 = Clock::now();
    const double micros = std::chrono::duration<double, std::micro>(t1 - t0).count();
    if (micros > 0.0) {
      _speed = static_cast<float>(static_cast<double>(c1 - c0) / micros);
    }
#else
    std::ifstream in("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    double khz = 0.0;
    if (in >> khz) {
      _speed = static_cast<float>(khz / 1000.0);
    }
#endif
  });
  return _speed;
}

std::wstring CPU::Dump() const {
  static const struct {
    unsigned bit;
    const wchar_t* name;
  } kNames[] = {{FEATURE_RDTSC, L"RDTSC"},
                {FEATURE_MMX, L"MMX"},
                {FEATURE_MMX_EXT, L"MMX_EXT"},
                {FEATURE_3DNOW, L"3DNOW!"},
                {FEATURE_3DNOW_EXT, L"3DNOW!EXT"},
                {FEATURE_SSE, L"SSE"},
                {FEATURE_SSE2, L"SSE2"},
                {FEATURE_SSE3, L"SSE3"},
                {FEATURE_HT, L"HT"},
                {FEATURE_ALTIVEC, L"AltiVec"}};
  std::wstring text = L"CPU: Vendor: " + _vendor + L" Brand: " + _brand + L" Family: " +
                      std::to_wstring(_family) + L" Model: " + std::to_wstring(_model) + L" Stepping: " +
                      std::to_wstring(_stepping) + L" Features: ";
  for (const auto& f : kNames) {
    if (_features & f.bit) {
      text += f.name;
      text += L' ';
    }
  }
  return text;
}

}  // namespace LLF
