#include "BassEngine.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <new>

#include "BassByteSource.h"
#include "BassDecoder.h"
#include "BassSampleChannel.h"

namespace LibBass {

namespace {

constexpr auto kFillPeriod = std::chrono::milliseconds(10);
constexpr int64_t kMinReadAheadFrames = 4096;

// Device buffer of about 25 ms: short enough for prompt sound effects, long
// enough for a loaded machine.
Uint16 DeviceFrames(uint32_t rate) {
  Uint16 frames = 128;
  while (frames < 8192 && frames * 2u <= rate / 40u) {
    frames = static_cast<Uint16>(frames * 2);
  }
  return frames;
}

bool ValidRate(uint32_t rate) {
  return rate >= kBassMinRate && rate <= kBassMaxRate;
}

}  // namespace

BassEngine& BassEngine::Instance() {
  static BassEngine engine;
  return engine;
}

BassEngine::~BassEngine() {
  Free();
}

int32_t BassEngine::CheckInit() const {
  return _initialised ? kBassOk : kBassErrorInit;
}

BassHandle BassEngine::NewHandle() {
  do {
    ++_lastHandle;
  } while (_lastHandle == 0 || _samples.count(_lastHandle) || _voices.count(_lastHandle));
  return _lastHandle;
}

// Under _lock: the entry of a handle in one of the maps, or null with the error.
template <class Map>
auto BassEngine::Locked(const Map& map, BassHandle handle, int32_t& error) const
    -> decltype(map.begin()->second.get()) {
  if ((error = CheckInit()) != kBassOk) {
    return nullptr;
  }
  const auto it = map.find(handle);
  if (it == map.end()) {
    error = kBassErrorHandle;
    return nullptr;
  }
  return it->second.get();
}

// ---- Output ----------------------------------------------------------------

int32_t BassEngine::Init(int32_t device, uint32_t freq, uint32_t flags) {
  std::lock_guard<std::mutex> life(_lifeLock);
  {
    std::lock_guard<std::mutex> lock(_lock);
    if (_initialised) {
      return kBassErrorAlready;
    }
  }
  if (!ValidRate(freq)) {
    return kBassErrorParam;
  }
  if (device != kBassDefaultDevice && device < 1) {
    return kBassErrorDevice;
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    return kBassErrorNoDevice;
  }
  const char* name = nullptr;
  if (device != kBassDefaultDevice) {
    if (device > SDL_GetNumAudioDevices(0) || !(name = SDL_GetAudioDeviceName(device - 1, 0))) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return kBassErrorDevice;
    }
  }
  _eightBits = (flags & kBassDevice8Bits) != 0;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(freq);
  want.format = _eightBits ? AUDIO_U8 : AUDIO_S16SYS;
  want.channels = 2;
  want.samples = DeviceFrames(freq);
  want.callback = &AudioCallback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No allowed changes: SDL converts to whatever the hardware takes, so the
  // callback always sees the format asked for.
  _device = SDL_OpenAudioDevice(name, 0, &want, &have, 0);
  if (_device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return kBassErrorNoDevice;
  }
  try {
    _outRate = freq;
    _mix.assign(static_cast<size_t>(kMixFrames) * 2, 0.0f);
    _peek.assign(static_cast<size_t>(BassVoice::kPeekFrames) * 2, 0.0f);
    {
      std::lock_guard<std::mutex> wake(_wakeLock);
      _quit = false;
    }
    _fillThread = std::thread(&BassEngine::FillLoop, this);
  } catch (...) {
    SDL_CloseAudioDevice(_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    _device = 0;
    throw;
  }
  {
    std::lock_guard<std::mutex> lock(_lock);
    _initialised = true;
    _output = Output::kRunning;
  }
  SDL_PauseAudioDevice(_device, 0);
  return kBassOk;
}

int32_t BassEngine::Free() {
  std::lock_guard<std::mutex> life(_lifeLock);
  {
    std::lock_guard<std::mutex> lock(_lock);
    if (!_initialised) {
      return kBassErrorInit;
    }
    _initialised = false;
    _output = Output::kStopped;
  }
  {
    std::lock_guard<std::mutex> wake(_wakeLock);
    _quit = true;
  }
  _wake.notify_all();
  _fillThread.join();
  SDL_CloseAudioDevice(_device);  // returns once the callback has finished for good
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  _device = 0;

  std::unordered_map<BassHandle, std::shared_ptr<BassSample>> samples;
  std::unordered_map<BassHandle, std::shared_ptr<BassVoice>> voices;
  {
    std::lock_guard<std::mutex> lock(_lock);
    samples.swap(_samples);
    voices.swap(_voices);
    for (auto& [handle, voice] : voices) {
      if (voice->IsStream()) {
        static_cast<BassStream&>(*voice).MarkFreed();
      }
    }
  }
  for (auto& [handle, voice] : voices) {
    if (voice->IsStream()) {
      static_cast<BassStream&>(*voice).Close();
    }
  }
  return kBassOk;
}

int32_t BassEngine::Start() {
  std::lock_guard<std::mutex> lock(_lock);
  if (_initialised) {
    _output = Output::kRunning;
  }
  return CheckInit();
}

int32_t BassEngine::Pause() {
  std::lock_guard<std::mutex> lock(_lock);
  if (_initialised) {
    _output = Output::kPaused;
  }
  return CheckInit();
}

int32_t BassEngine::Stop() {
  std::lock_guard<std::mutex> lock(_lock);
  if (_initialised) {
    for (auto& [handle, voice] : _voices) {
      voice->Stop();
    }
    _output = Output::kStopped;
  }
  return CheckInit();
}

int32_t BassEngine::SetConfig(uint32_t option, uint32_t value) {
  std::lock_guard<std::mutex> lock(_lock);
  switch (option) {
    case kBassConfigStreamBuffer:
      if (value < 50 || value > 5000) {
        return kBassErrorParam;
      }
      _streamBufferMs = value;
      return kBassOk;
    case kBassConfigSampleVolume:
    case kBassConfigStreamVolume:
      if (value > 100) {
        return kBassErrorParam;
      }
      (option == kBassConfigSampleVolume ? _sampleVolume : _streamVolume) = value;
      return kBassOk;
    default:
      return kBassErrorOption;
  }
}

void SDLCALL BassEngine::AudioCallback(void* user, Uint8* stream, int bytes) {
  static_cast<BassEngine*>(user)->Render(stream, bytes);
}

void BassEngine::Render(Uint8* stream, int bytes) {
  const int frameBytes = _eightBits ? 2 : 4;
  for (int frames = bytes / frameBytes; frames > 0;) {
    const int n = std::min(frames, kMixFrames);
    std::fill_n(_mix.begin(), 2 * n, 0.0f);
    {
      std::lock_guard<std::mutex> lock(_lock);
      if (_output == Output::kRunning) {
        const float samples = static_cast<float>(_sampleVolume) / 100.0f;
        const float streams = static_cast<float>(_streamVolume) / 100.0f;
        for (auto& [handle, voice] : _voices) {
          voice->Mix(_mix.data(), n, _outRate, voice->IsStream() ? streams : samples, _peek.data());
        }
      }
    }
    for (int i = 0; i < 2 * n; ++i) {
      const float v = std::clamp(_mix[static_cast<size_t>(i)], -1.0f, 1.0f);
      if (_eightBits) {
        stream[i] = static_cast<Uint8>(std::lrint(v * 127.0f) + 128);
      } else {
        const auto s = static_cast<Sint16>(std::lrint(v * 32767.0f));
        std::memcpy(stream + 2 * i, &s, sizeof s);
      }
    }
    stream += n * frameBytes;
    frames -= n;
  }
}

// ---- Streams' read-ahead ---------------------------------------------------

void BassEngine::FillLoop() {
  std::vector<std::shared_ptr<BassStream>> streams;
  std::unique_lock<std::mutex> wake(_wakeLock);
  while (!_quit) {
    wake.unlock();
    try {
      FillStreams(streams);
    } catch (const std::bad_alloc&) {
      streams.clear();  // try again next time rather than end the program
    }
    wake.lock();
    _wake.wait_for(wake, kFillPeriod, [this] { return _quit; });
  }
}

void BassEngine::FillStreams(std::vector<std::shared_ptr<BassStream>>& streams) {
  streams.clear();
  {
    std::lock_guard<std::mutex> lock(_lock);
    for (auto& [handle, voice] : _voices) {
      if (voice->IsStream()) {
        auto stream = std::static_pointer_cast<BassStream>(voice);
        if (stream->GetState() != BassVoice::State::kStopped || stream->RewindPending()) {
          streams.push_back(std::move(stream));
        }
      }
    }
  }
  for (auto& stream : streams) {
    stream->Fill(_lock);
  }
  streams.clear();  // the last reference to a freed stream goes here, outside _lock
}

int32_t BassEngine::Update() {
  {
    std::lock_guard<std::mutex> lock(_lock);
    if (const int32_t error = CheckInit(); error != kBassOk) {
      return error;
    }
  }
  std::vector<std::shared_ptr<BassStream>> streams;
  FillStreams(streams);
  return kBassOk;
}

// ---- Samples ---------------------------------------------------------------

int32_t BassEngine::SampleLoad(BassBool mem, const void* file, uint64_t offset, uint32_t length, uint32_t max,
                               uint32_t flags, BassHandle& sample) {
  {
    std::lock_guard<std::mutex> lock(_lock);
    if (const int32_t error = CheckInit(); error != kBassOk) {
      return error;
    }
  }
  if (max < 1 || max > kBassMaxSampleChannels) {
    return kBassErrorParam;
  }
  // Decoding takes no lock: a long file on the loader thread holds up nobody.
  int32_t error = kBassOk;
  auto decoder = BassDecoder::Open(mem, file, offset, length, error);
  if (!decoder) {
    return error;
  }
  auto frames = std::make_shared<std::vector<float>>();
  if (!decoder->DecodeAll(*frames, error)) {
    return error;
  }
  auto loaded =
      std::make_shared<BassSample>(std::move(frames), decoder->Rate(), decoder->Channels(), max, flags);
  std::lock_guard<std::mutex> lock(_lock);
  if ((error = CheckInit()) != kBassOk) {
    return error;
  }
  sample = NewHandle();
  _samples.emplace(sample, std::move(loaded));
  return kBassOk;
}

int32_t BassEngine::SampleGetChannel(BassHandle sample, bool onlyNew, BassHandle& channel) {
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  BassSample* owner = Locked(_samples, sample, error);
  if (!owner) {
    return error;
  }
  auto& channels = owner->Channels();
  const BassSampleInfo& info = owner->Info();
  auto make = [&](BassHandle handle) {
    return std::make_shared<BassSampleChannel>(handle, sample, owner->Frames(), info.freq, info);
  };
  if (channels.size() < info.max) {
    channel = NewHandle();
    _voices.emplace(channel, make(channel));
    channels.push_back(channel);
    return kBassOk;
  }
  if (!onlyNew) {
    for (BassHandle handle : channels) {
      auto& voice = _voices.at(handle);
      if (voice->GetState() == BassVoice::State::kStopped) {
        // Frames are shared, so the replaced channel frees nothing large here.
        voice = make(handle);
        channel = handle;
        return kBassOk;
      }
    }
  }
  return kBassErrorNoChannel;
}

int32_t BassEngine::SampleGetInfo(BassHandle sample, BassSampleInfo* info) {
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  const BassSample* owner = Locked(_samples, sample, error);
  if (owner && !info) {
    error = kBassErrorParam;
  }
  if (error == kBassOk) {
    *info = owner->Info();
  }
  return error;
}

int32_t BassEngine::SampleSetInfo(BassHandle sample, const BassSampleInfo* info) {
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  BassSample* owner = Locked(_samples, sample, error);
  if (!owner) {
    return error;
  }
  if (!info || !ValidRate(info->freq) || info->max < 1 || info->max > kBassMaxSampleChannels) {
    return kBassErrorParam;
  }
  BassSampleInfo& target = owner->Info();
  target.freq = info->freq;
  target.volume = std::min<uint32_t>(info->volume, 100);
  target.pan = std::clamp(info->pan, -100, 100);
  target.flags = info->flags & kBassSampleLoop;
  target.max = info->max;
  return kBassOk;
}

int32_t BassEngine::SampleFree(BassHandle sample) {
  std::shared_ptr<BassSample> freed;
  std::vector<std::shared_ptr<BassVoice>> channels;
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  if (!Locked(_samples, sample, error)) {
    return error;
  }
  const auto it = _samples.find(sample);
  for (BassHandle handle : it->second->Channels()) {
    const auto voice = _voices.find(handle);
    channels.push_back(std::move(voice->second));
    _voices.erase(voice);
  }
  freed = std::move(it->second);
  _samples.erase(it);
  return kBassOk;
}

// ---- Modules -----------------------------------------------------------------

int32_t BassEngine::MusicLoad(BassBool mem, const void* file, uint64_t offset, uint32_t length) {
  {
    std::lock_guard<std::mutex> lock(_lock);
    if (const int32_t error = CheckInit(); error != kBassOk) {
      return error;
    }
  }
  // Tracker modules are not played; report the arguments' own fault first.
  int32_t error = kBassErrorFileFormat;
  BassByteSource::Open(mem, file, offset, length, error);
  return error;
}

int32_t BassEngine::MusicHandle(BassHandle) {
  std::lock_guard<std::mutex> lock(_lock);
  const int32_t error = CheckInit();
  return error != kBassOk ? error : kBassErrorHandle;
}

// ---- Streams -----------------------------------------------------------------

int32_t BassEngine::StreamCreate(BassBool mem, const void* file, uint64_t offset, uint64_t length,
                                 uint32_t flags, BassHandle& stream) {
  uint32_t bufferMs = 0;
  BassHandle handle = 0;
  {
    std::lock_guard<std::mutex> lock(_lock);
    if (const int32_t error = CheckInit(); error != kBassOk) {
      return error;
    }
    bufferMs = _streamBufferMs;
    handle = NewHandle();  // numbers only grow, so it stays free while the file is opened
  }
  int32_t error = kBassOk;
  auto decoder = BassDecoder::Open(mem, file, offset, length, error);
  if (!decoder) {
    return error;
  }
  // A file cut short is refused now rather than ending early while it plays.
  if (!decoder->ReachesDeclaredEnd() || !decoder->Rewind()) {
    return kBassErrorFileFormat;
  }
  const int64_t readAhead =
      std::max<int64_t>(kMinReadAheadFrames, int64_t{decoder->Rate()} * int64_t{bufferMs} / 1000);
  std::shared_ptr<BassStream> created;
  try {
    created =
        std::make_shared<BassStream>(handle, std::move(decoder), readAhead, (flags & kBassSampleLoop) != 0);
  } catch (const std::bad_alloc&) {
    return kBassErrorMemory;
  }
  // The start is decoded now, so that a file without audio fails here and
  // the first play starts at once.
  created->Fill(_lock);
  {
    std::lock_guard<std::mutex> lock(_lock);
    if ((error = CheckInit()) == kBassOk && !created->HasData()) {
      error = kBassErrorFileFormat;
    }
    if (error == kBassOk) {
      stream = handle;
      _voices.emplace(stream, created);
      return kBassOk;
    }
    created->MarkFreed();
  }
  created->Close();
  return error;
}

int32_t BassEngine::StreamFree(BassHandle stream) {
  std::shared_ptr<BassVoice> freed;
  {
    std::lock_guard<std::mutex> lock(_lock);
    int32_t error = kBassOk;
    BassVoice* voice = Locked(_voices, stream, error);
    if (!voice || !voice->IsStream()) {
      return voice ? kBassErrorHandle : error;
    }
    const auto it = _voices.find(stream);
    freed = std::move(it->second);
    _voices.erase(it);
    static_cast<BassStream&>(*freed).MarkFreed();
  }
  static_cast<BassStream&>(*freed).Close();
  return kBassOk;
}

// ---- Channels ----------------------------------------------------------------

int32_t BassEngine::ChannelPlay(BassHandle channel, bool restart) {
  std::shared_ptr<BassStream> stream;
  {
    std::lock_guard<std::mutex> lock(_lock);
    int32_t error = kBassOk;
    BassVoice* voice = Locked(_voices, channel, error);
    if (!voice) {
      return error;
    }
    voice->Play(restart);
    if (_output == Output::kStopped) {
      _output = Output::kRunning;
    }
    if (voice->IsStream()) {
      stream = std::static_pointer_cast<BassStream>(_voices.at(channel));
    }
  }
  if (stream) {
    // A stream that was rewound is silent until refilled: do that now rather
    // than at the decoding thread's next turn.
    stream->Fill(_lock);
  }
  return kBassOk;
}

int32_t BassEngine::ChannelStop(BassHandle channel) {
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  if (BassVoice* voice = Locked(_voices, channel, error)) {
    voice->Stop();
  }
  return error;
}

int32_t BassEngine::ChannelPause(BassHandle channel) {
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  BassVoice* voice = Locked(_voices, channel, error);
  return voice ? voice->Pause() : error;
}

int32_t BassEngine::ChannelSetAttributes(BassHandle channel, int32_t freq, int32_t volume, int32_t pan) {
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  BassVoice* voice = Locked(_voices, channel, error);
  if (!voice) {
    return error;
  }
  if (freq != kBassKeep && freq != 0 && !ValidRate(static_cast<uint32_t>(freq))) {
    return kBassErrorParam;
  }
  if (freq != kBassKeep) {
    voice->SetRate(freq == 0 ? voice->NativeRate() : static_cast<uint32_t>(freq));
  }
  if (volume != kBassKeep) {
    voice->SetVolume(static_cast<uint32_t>(std::clamp(volume, 0, 100)));
  }
  if (pan != kBassKeep) {
    voice->SetPan(std::clamp(pan, -100, 100));
  }
  return kBassOk;
}

int32_t BassEngine::ChannelGetAttributes(BassHandle channel, uint32_t* freq, uint32_t* volume, int32_t* pan) {
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  const BassVoice* voice = Locked(_voices, channel, error);
  if (!voice) {
    return error;
  }
  if (freq) *freq = voice->Rate();
  if (volume) *volume = voice->Volume();
  if (pan) *pan = voice->Pan();
  return kBassOk;
}

int32_t BassEngine::ChannelSetFlags(BassHandle channel, uint32_t flags) {
  std::lock_guard<std::mutex> lock(_lock);
  int32_t error = kBassOk;
  if (BassVoice* voice = Locked(_voices, channel, error)) {
    voice->SetLooped((flags & kBassSampleLoop) != 0);
  }
  return error;
}

}  // namespace LibBass
