#pragma once
// The library's one engine: the SDL output device with its mixing callback,
// the samples, channels and streams by handle, and the thread that keeps the
// streams' read-ahead filled. Each operation returns a BassErrorCode
// (kBassOk on success); BassApi.cpp turns them into the C results.
//
// Locks, always taken in this order: _lifeLock (BASS_Init and BASS_Free
// only), a stream's decoding lock, _lock. The audio callback takes only _lock
// and holds it just while mixing one buffer; no file is read and nothing large
// is freed under it. SDL device calls happen without _lock held, because SDL
// holds its own device lock around the callback.
#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "BassSample.h"
#include "BassStream.h"
#include "BassVoice.h"
#include "sound/BassApi.h"

namespace LibBass {

class BassEngine {
 public:
  static BassEngine& Instance();
  ~BassEngine();
  BassEngine(const BassEngine&) = delete;
  BassEngine& operator=(const BassEngine&) = delete;

  int32_t Init(int32_t device, uint32_t freq, uint32_t flags);
  int32_t Free();
  int32_t Start();
  int32_t Stop();
  int32_t Pause();
  int32_t Update();
  int32_t SetConfig(uint32_t option, uint32_t value);

  int32_t SampleLoad(BassBool mem, const void* file, uint64_t offset, uint32_t length, uint32_t max,
                     uint32_t flags, BassHandle& sample);
  int32_t SampleGetChannel(BassHandle sample, bool onlyNew, BassHandle& channel);
  int32_t SampleGetInfo(BassHandle sample, BassSampleInfo* info);
  int32_t SampleSetInfo(BassHandle sample, const BassSampleInfo* info);
  int32_t SampleFree(BassHandle sample);

  int32_t MusicLoad(BassBool mem, const void* file, uint64_t offset, uint32_t length);
  int32_t MusicHandle(BassHandle music);

  int32_t StreamCreate(BassBool mem, const void* file, uint64_t offset, uint64_t length, uint32_t flags,
                       BassHandle& stream);
  int32_t StreamFree(BassHandle stream);

  int32_t ChannelPlay(BassHandle channel, bool restart);
  int32_t ChannelStop(BassHandle channel);
  int32_t ChannelPause(BassHandle channel);
  int32_t ChannelSetAttributes(BassHandle channel, int32_t freq, int32_t volume, int32_t pan);
  int32_t ChannelGetAttributes(BassHandle channel, uint32_t* freq, uint32_t* volume, int32_t* pan);
  int32_t ChannelSetFlags(BassHandle channel, uint32_t flags);

 private:
  enum class Output { kRunning, kPaused, kStopped };
  static constexpr int kMixFrames = 1024;  // output frames mixed under one hold of _lock

  BassEngine() = default;
  static void SDLCALL AudioCallback(void* user, Uint8* stream, int bytes);
  void Render(Uint8* stream, int bytes);
  void FillLoop();
  // Fills every stream that plays, is paused or waits for a rewind.
  void FillStreams(std::vector<std::shared_ptr<BassStream>>& streams);
  // Under _lock: a handle not in use (never 0).
  BassHandle NewHandle();
  // Under _lock: kBassErrorInit when not initialised, else kBassOk.
  int32_t CheckInit() const;
  // Under _lock: the sample or voice of a handle, or null with the error.
  template <class Map>
  auto Locked(const Map& map, BassHandle handle, int32_t& error) const -> decltype(map.begin()->second.get());

  std::mutex _lifeLock;
  std::mutex _lock;

  // Under _lock.
  bool _initialised = false;
  Output _output = Output::kStopped;
  std::unordered_map<BassHandle, std::shared_ptr<BassSample>> _samples;
  std::unordered_map<BassHandle, std::shared_ptr<BassVoice>> _voices;  // sample channels and streams
  BassHandle _lastHandle = 0;
  uint32_t _streamBufferMs = 500;
  uint32_t _sampleVolume = 100;
  uint32_t _streamVolume = 100;

  // Set up by Init before the callback runs, cleared by Free after it stopped.
  SDL_AudioDeviceID _device = 0;
  uint32_t _outRate = 0;
  bool _eightBits = false;
  std::vector<float> _mix;   // kMixFrames stereo frames
  std::vector<float> _peek;  // BassVoice::kPeekFrames stereo frames

  // The stream-filling thread.
  std::thread _fillThread;
  std::mutex _wakeLock;
  std::condition_variable _wake;
  bool _quit = false;  // under _wakeLock
};

}  // namespace LibBass
