// The exported C functions: each runs the engine's operation, records the
// error code for the calling thread and turns it into the C result. No C++
// exception crosses into the caller.
#include "sound/BassApi.h"

#include <pthread.h>

#include <cstdint>
#include <new>

#include "BassEngine.h"

namespace {

// The calling thread's last error code, in a thread key rather than a
// thread_local: a library loaded at run time with a TLS block of its own
// trips LeakSanitizer's scan of dynamic TLS at exit. A thread that has set
// none reads null, kBassOk. Without a key (the process has used them all)
// every call reads as failed.
struct ErrorKey {
  ErrorKey() : made(pthread_key_create(&key, nullptr) == 0) {}
  pthread_key_t key;
  bool made;
};

const ErrorKey& TheErrorKey() {
  static const ErrorKey key;
  return key;
}

void SetError(int32_t code) {
  const ErrorKey& k = TheErrorKey();
  if (k.made) pthread_setspecific(k.key, reinterpret_cast<void*>(static_cast<intptr_t>(code)));
}

int32_t LastError() {
  const ErrorKey& k = TheErrorKey();
  return k.made ? static_cast<int32_t>(reinterpret_cast<intptr_t>(pthread_getspecific(k.key)))
                : kBassErrorUnknown;
}

using LibBass::BassEngine;

// Runs an operation that gives an error code; 1 on kBassOk, else 0.
template <class Op>
BassBool Call(Op op) {
  int32_t error;
  try {
    error = op(BassEngine::Instance());
  } catch (const std::bad_alloc&) {
    error = kBassErrorMemory;
  } catch (...) {
    error = kBassErrorUnknown;
  }
  SetError(error);
  return error == kBassOk ? 1 : 0;
}

// Runs an operation that makes a handle; the handle on success, else 0.
template <class Op>
BassHandle Make(Op op) {
  BassHandle handle = 0;
  return Call([&](BassEngine& engine) { return op(engine, handle); }) ? handle : 0;
}

}  // namespace

extern "C" {

BassBool BASS_Init(int32_t device, uint32_t freq, uint32_t flags, void*) {
  return Call([&](BassEngine& e) { return e.Init(device, freq, flags); });
}

BassBool BASS_Free() {
  return Call([](BassEngine& e) { return e.Free(); });
}

BassHandle BASS_SampleLoad(BassBool mem, const void* file, uint64_t offset, uint32_t length, uint32_t max,
                           uint32_t flags) {
  return Make(
      [&](BassEngine& e, BassHandle& h) { return e.SampleLoad(mem, file, offset, length, max, flags, h); });
}

BassBool BASS_ChannelPlay(BassHandle channel, BassBool restart) {
  return Call([&](BassEngine& e) { return e.ChannelPlay(channel, restart != 0); });
}

BassBool BASS_ChannelStop(BassHandle channel) {
  return Call([&](BassEngine& e) { return e.ChannelStop(channel); });
}

BassBool BASS_ChannelPause(BassHandle channel) {
  return Call([&](BassEngine& e) { return e.ChannelPause(channel); });
}

int32_t BASS_ErrorGetCode() {
  return LastError();
}

BassHandle BASS_SampleGetChannel(BassHandle sample, BassBool onlyNew) {
  return Make([&](BassEngine& e, BassHandle& h) { return e.SampleGetChannel(sample, onlyNew != 0, h); });
}

BassBool BASS_SampleGetInfo(BassHandle sample, BassSampleInfo* info) {
  return Call([&](BassEngine& e) { return e.SampleGetInfo(sample, info); });
}

BassBool BASS_SampleSetInfo(BassHandle sample, const BassSampleInfo* info) {
  return Call([&](BassEngine& e) { return e.SampleSetInfo(sample, info); });
}

BassBool BASS_SampleFree(BassHandle sample) {
  return Call([&](BassEngine& e) { return e.SampleFree(sample); });
}

BassHandle BASS_MusicLoad(BassBool mem, const void* file, uint64_t offset, uint32_t length, uint32_t,
                          uint32_t) {
  Call([&](BassEngine& e) { return e.MusicLoad(mem, file, offset, length); });
  return 0;
}

BassBool BASS_MusicFree(BassHandle music) {
  return Call([&](BassEngine& e) { return e.MusicHandle(music); });
}

BassBool BASS_MusicSetAttribute(BassHandle music, uint32_t, uint32_t) {
  return Call([&](BassEngine& e) { return e.MusicHandle(music); });
}

uint32_t BASS_MusicGetAttribute(BassHandle music, uint32_t) {
  Call([&](BassEngine& e) { return e.MusicHandle(music); });
  return 0xFFFFFFFFu;
}

BassHandle BASS_StreamCreateFile(BassBool mem, const void* file, uint64_t offset, uint64_t length,
                                 uint32_t flags) {
  return Make(
      [&](BassEngine& e, BassHandle& h) { return e.StreamCreate(mem, file, offset, length, flags, h); });
}

BassBool BASS_StreamFree(BassHandle stream) {
  return Call([&](BassEngine& e) { return e.StreamFree(stream); });
}

BassBool BASS_ChannelSetAttributes(BassHandle channel, int32_t freq, int32_t volume, int32_t pan) {
  return Call([&](BassEngine& e) { return e.ChannelSetAttributes(channel, freq, volume, pan); });
}

BassBool BASS_ChannelGetAttributes(BassHandle channel, uint32_t* freq, uint32_t* volume, int32_t* pan) {
  return Call([&](BassEngine& e) { return e.ChannelGetAttributes(channel, freq, volume, pan); });
}

BassBool BASS_ChannelSetFlags(BassHandle channel, uint32_t flags) {
  return Call([&](BassEngine& e) { return e.ChannelSetFlags(channel, flags); });
}

BassBool BASS_SetConfig(uint32_t option, uint32_t value) {
  return Call([&](BassEngine& e) { return e.SetConfig(option, value); });
}

BassBool BASS_Update() {
  return Call([](BassEngine& e) { return e.Update(); });
}

BassBool BASS_Start() {
  return Call([](BassEngine& e) { return e.Start(); });
}

BassBool BASS_Stop() {
  return Call([](BassEngine& e) { return e.Stop(); });
}

BassBool BASS_Pause() {
  return Call([](BassEngine& e) { return e.Pause(); });
}

}  // extern "C"
