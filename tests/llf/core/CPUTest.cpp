#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

#include "core/CPU.h"
#include "core/StringUtils.h"

namespace {

struct DecodedCPU : LLF::CPU {
  explicit DecodedCPU(const Registers& regs) : LLF::CPU(regs) {}
};

// Registers laid out as the identification leaves give them.
LLF::CPU::Registers MakeRegisters(const char* vendor, const char* brand, uint32_t eax, uint32_t edx,
                                  uint32_t extEdx, unsigned maxExt) {
  LLF::CPU::Registers r;
  r.maxLeaf = 0xD;
  std::memcpy(r.vendor, vendor, 12);  // EBX, EDX, ECX hold the text in that order
  r.leaf1Eax = eax;
  r.leaf1Edx = edx;
  r.maxExtLeaf = maxExt;
  r.ext1Edx = extEdx;
  char text[48] = {};
  std::strncpy(text, brand, sizeof(text) - 1);
  std::memcpy(r.brand, text, sizeof(text));
  return r;
}

TEST(CPUTest, SignatureDecoding) {
  struct Case {
    uint32_t eax;
    int family, model, stepping;
  } cases[] = {
      {0x00A20F10, 25, 0x21, 0},  // family 19h (base F + ext A), model 21h, stepping 0
      {0x00A00F11, 25, 1, 1},     // family 25, model 1, stepping 1
      {0x000906EA, 6, 0x9E, 10},  // family 6 takes the extended model
      {0x00000F29, 15, 2, 9},     // family 15 without extension
      {0x00010543, 5, 4, 3},      // family 5 ignores the extended model bits
  };
  for (const auto& c : cases) {
    int family, model, stepping;
    LLF::CPU::DecodeSignature(c.eax, family, model, stepping);
    EXPECT_EQ(family, c.family) << std::hex << c.eax;
    EXPECT_EQ(model, c.model) << std::hex << c.eax;
    EXPECT_EQ(stepping, c.stepping) << std::hex << c.eax;
  }
}

TEST(CPUTest, DecodesVendorBrandAndFeatures) {
  // Stepping 0 and model 0 in the low byte: the brand is still read.
  const DecodedCPU amd(MakeRegisters("AuthenticAMD", "  AMD Test 16-Core Processor  ", 0x00A20F00,
                                     (1u << 4) | (1u << 23) | (1u << 25) | (1u << 26),
                                     (1u << 22) | (1u << 31), 0x80000008));
  EXPECT_EQ(amd.Dump(),
            L"CPU: Vendor: AuthenticAMD Brand: AMD Test 16-Core Processor Family: 25 Model: 32 Stepping: 0 "
            L"Features: RDTSC MMX MMX_EXT 3DNOW! SSE SSE2 ");
  EXPECT_TRUE(amd.HasFeature(LLF::CPU::FEATURE_3DNOW | LLF::CPU::FEATURE_SSE3));
  EXPECT_FALSE(amd.HasFeature(LLF::CPU::FEATURE_SSE3));
  EXPECT_FALSE(amd.HasFeature(LLF::CPU::FEATURE_3DNOW_EXT));

  // No brand leaves: the record says so; no extended leaf 1: no extended features.
  const DecodedCPU old(MakeRegisters("GenuineIntel", "", 0x00000543, 1u << 23, 0xFFFFFFFF, 0x80000000));
  EXPECT_EQ(old.GetVendor(), L"GenuineIntel");
  EXPECT_EQ(old.GetBrand(), L"Brand could not be detected.");
  EXPECT_EQ(old.GetFeatures(), unsigned(LLF::CPU::FEATURE_MMX));
  EXPECT_FLOAT_EQ(old.GetSpeed(), 0.0f);  // no time-stamp counter
}

#if defined(__x86_64__) || defined(__i386__)
// The record of this machine agrees with what the kernel reports.
TEST(CPUTest, ThisMachineMatchesProcCpuinfo) {
  std::ifstream in("/proc/cpuinfo");
  std::string line, vendor, brand, flags;
  while (std::getline(in, line)) {
    auto value = [&] { return line.substr(line.find(':') + 2); };
    if (vendor.empty() && line.rfind("vendor_id", 0) == 0) vendor = value();
    if (brand.empty() && line.rfind("model name", 0) == 0) brand = value();
    if (flags.empty() && line.rfind("flags", 0) == 0) flags = value();
  }
  const LLF::CPU& cpu = LLF::CPU::GetInstance();
  std::cout << LLF::WideToAnsi(cpu.Dump()) << "\n";
  if (vendor.empty()) GTEST_SKIP() << "no /proc/cpuinfo";
  EXPECT_EQ(LLF::WideToAnsi(cpu.GetVendor()), vendor);
  // A hypervisor may give the kernel's model name and the processor's own
  // brand string different texts, so only the presence of a brand is checked.
  if (!brand.empty()) {
    EXPECT_NE(cpu.GetBrand(), L"Brand could not be detected.");
  }

  std::set<std::string> have;
  std::istringstream f(flags);
  for (std::string flag; f >> flag;) have.insert(flag);
  EXPECT_EQ(cpu.HasFeature(LLF::CPU::FEATURE_RDTSC), have.count("tsc") == 1);
  EXPECT_EQ(cpu.HasFeature(LLF::CPU::FEATURE_MMX), have.count("mmx") == 1);
  EXPECT_EQ(cpu.HasFeature(LLF::CPU::FEATURE_SSE), have.count("sse") == 1);
  EXPECT_EQ(cpu.HasFeature(LLF::CPU::FEATURE_SSE2), have.count("sse2") == 1);
  EXPECT_EQ(cpu.HasFeature(LLF::CPU::FEATURE_MMX_EXT), have.count("mmxext") == 1);
  EXPECT_EQ(cpu.HasFeature(LLF::CPU::FEATURE_3DNOW), have.count("3dnow") == 1);
  EXPECT_FALSE(cpu.HasFeature(LLF::CPU::FEATURE_SSE3 | LLF::CPU::FEATURE_HT | LLF::CPU::FEATURE_ALTIVEC));
  if (cpu.HasFeature(LLF::CPU::FEATURE_RDTSC)) {
    EXPECT_GT(cpu.GetSpeed(), 100.0f);
    EXPECT_LT(cpu.GetSpeed(), 10000.0f);
  }
}
#endif

}  // namespace
