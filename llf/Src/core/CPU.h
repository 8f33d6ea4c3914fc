#pragma once
// The processor record: vendor, brand, family, model, stepping, the feature
// bits and the clock rate, identified once for the start-up report and for
// choosing routines.
#include <cstdint>
#include <mutex>
#include <string>

#include "core/Object.h"
#include "core/Singleton.h"

namespace LLF {

class CPU : public virtual Object, public Singleton<CPU> {
  LLF_SINGLETON(CPU)

 public:
  enum Feature : unsigned {
    FEATURE_RDTSC = 0x1,
    FEATURE_MMX = 0x2,
    FEATURE_MMX_EXT = 0x4,
    FEATURE_3DNOW = 0x8,
    FEATURE_3DNOW_EXT = 0x10,
    FEATURE_SSE = 0x20,
    FEATURE_SSE2 = 0x40,
    FEATURE_SSE3 = 0x80,     // never set by the detection
    FEATURE_HT = 0x100,      // never set
    FEATURE_ALTIVEC = 0x200  // never set
  };

  // Raw register values of the identification leaves, so the decoding can
  // be checked apart from the machine it runs on.
  struct Registers {
    unsigned maxLeaf = 0;
    uint32_t vendor[3] = {0, 0, 0};  // EBX, EDX, ECX of leaf 0
    uint32_t leaf1Eax = 0;
    uint32_t leaf1Edx = 0;
    unsigned maxExtLeaf = 0;
    uint32_t ext1Edx = 0;
    uint32_t brand[12] = {};  // EAX..EDX of leaves 80000002h..80000004h
  };

  LLF_KIND_OF(CPU, Object)
  ~CPU() override = default;
  std::wstring Dump() const override;

  // True when any bit of mask is set.
  virtual bool HasFeature(unsigned mask) const { return (_features & mask) != 0; }
  virtual std::wstring GetVendor() const { return _vendor; }
  virtual std::wstring GetBrand() const { return _brand; }
  // Clock rate in MHz; measured on the first call (about 50 ms), 0 without a
  // time-stamp counter.
  virtual float GetSpeed() const;
  virtual int GetFamily() const { return _family; }
  virtual int GetModel() const { return _model; }
  virtual int GetStepping() const { return _stepping; }

  unsigned GetFeatures() const { return _features; }

  // Family and model from leaf 1's EAX by the processor makers' rule: the
  // extended family is added when the base family is 15, the extended model
  // is prefixed when the base family is 6 or 15.
  static void DecodeSignature(uint32_t eax, int& family, int& model, int& stepping);

 protected:
  CPU();
  // A record decoded from captured registers, for checking the decoding.
  explicit CPU(const Registers& regs) { Decode(regs); }

 private:
  void Decode(const Registers& regs);
  void DetectFromProcCpuinfo();

  unsigned _features = 0;
  std::wstring _vendor = L"VENDOR NOT DETECTED";
  std::wstring _brand = L"BRAND NOT DETECTED";
  int _family = 0;
  int _model = 0;
  int _stepping = 0;
  mutable float _speed = 0.0f;
  mutable std::once_flag _speedOnce;
  bool _isAMD = false;
  bool _isIntel = false;
};

}  // namespace LLF
