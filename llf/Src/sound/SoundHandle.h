#pragma once
// Base of the record a sound driver keeps behind each sound or music object
// its codec made. The record names that driver, so the object's data is
// always freed and updated by the driver that made it, whichever driver is
// current by then.
#include "core/Object.h"

namespace LLF {

class ISoundDriver;

class SoundHandle : public virtual Object {
 public:
  explicit SoundHandle(ISoundDriver* driver) : _driver(driver) {}
  SoundHandle(const SoundHandle&) = delete;
  SoundHandle& operator=(const SoundHandle&) = delete;

  LLF_KIND_OF(SoundHandle, Object)
  ~SoundHandle() override = default;

  ISoundDriver* GetDriver() const { return _driver; }

 private:
  ISoundDriver* const _driver;
};

}  // namespace LLF
