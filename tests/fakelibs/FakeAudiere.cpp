// A libaudiere.so standing in for the Audiere library in tests: the 21
// names (undecorated), objects with real reference counts, and streams whose
// position is a count of device updates while they play. A source opens
// only bytes that start with "RIFF" or "OggS". Setting FAKE_AUDIERE_NO_DEVICE
// makes opening the device fail. FakeAudiere_LiveObjects counts the files,
// sources and streams not yet released.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sound/AudiereApi.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int g_live = 0;

template <class Interface>
class Counted : public Interface {
 public:
  Counted() { ++g_live; }
  virtual ~Counted() { --g_live; }
  void ref() override { ++_references; }
  void unref() override {
    if (--_references == 0) delete this;
  }

 private:
  int _references = 1;
};

class MemoryFile : public Counted<AudiereApi::File> {
 public:
  MemoryFile(const void* buffer, int size) : _bytes(static_cast<const unsigned char*>(buffer)), _size(size) {}
  int read(void* buffer, int size) override {
    const int count = std::max(0, std::min(size, _size - _position));
    std::memcpy(buffer, _bytes + _position, static_cast<size_t>(count));
    _position += count;
    return count;
  }
  bool seek(int position, int origin) override {
    const int base = origin == 0 ? 0 : origin == 1 ? _position : _size;
    if (base + position < 0 || base + position > _size) return false;
    _position = base + position;
    return true;
  }
  int tell() override { return _position; }

 private:
  const unsigned char* _bytes;
  int _size;
  int _position = 0;
};

class Source : public Counted<AudiereApi::SampleSource> {
 public:
  explicit Source(AudiereApi::File* file) : _file(file) { _file->ref(); }
  ~Source() override { _file->unref(); }
  void getFormat(int& channels, int& sampleRate) override {
    channels = 2;
    sampleRate = 44100;
  }
  int read(int, void*) override { return 0; }
  void reset() override { _file->seek(0, 0); }

 private:
  AudiereApi::File* _file;
};

class Device;

class Stream : public Counted<AudiereApi::OutputStream> {
 public:
  Stream(Device* device, AudiereApi::SampleSource* source);
  ~Stream() override;
  void play() override { _playing = true; }
  void stop() override { _playing = false; }
  bool isPlaying() override { return _playing; }
  void reset() override { _position = 0; }
  void setRepeat(bool repeat) override { _repeat = repeat; }
  bool getRepeat() override { return _repeat; }
  void setVolume(float volume) override { _volume = volume; }
  float getVolume() override { return _volume; }
  int getPosition() override { return _position; }
  void Advance() {
    if (_playing) ++_position;
  }

 private:
  Device* _device;
  AudiereApi::SampleSource* _source;
  bool _playing = false;
  bool _repeat = false;
  float _volume = 1.0f;
  int _position = 0;
};

// The device is not counted among the live objects.
class Device : public AudiereApi::AudioDevice {
 public:
  void ref() override { ++_references; }
  void unref() override {
    if (--_references == 0) delete this;
  }
  void update() override {
    for (Stream* stream : streams) stream->Advance();
  }
  const char* getName() override { return "fake"; }
  std::vector<Stream*> streams;

 private:
  virtual ~Device() = default;
  int _references = 1;
};

Stream::Stream(Device* device, AudiereApi::SampleSource* source) : _device(device), _source(source) {
  _device->ref();
  _source->ref();
  _device->streams.push_back(this);
}

Stream::~Stream() {
  auto& streams = _device->streams;
  streams.erase(std::remove(streams.begin(), streams.end(), this), streams.end());
  _source->unref();
  _device->unref();
}

}  // namespace

FAKE_EXPORT void* AdrCreateLoopPointSource() {
  return nullptr;
}
FAKE_EXPORT AudiereApi::File* AdrCreateMemoryFile(const void* buffer, int size) {
  return buffer && size >= 0 ? new MemoryFile(buffer, size) : nullptr;
}
FAKE_EXPORT void* AdrCreatePinkNoise() {
  return nullptr;
}
FAKE_EXPORT void* AdrCreateSampleBuffer() {
  return nullptr;
}
FAKE_EXPORT void* AdrCreateSampleBufferFromSource() {
  return nullptr;
}
FAKE_EXPORT void* AdrCreateSquareWave() {
  return nullptr;
}
FAKE_EXPORT void* AdrCreateTone() {
  return nullptr;
}
FAKE_EXPORT void* AdrCreateWhiteNoise() {
  return nullptr;
}
FAKE_EXPORT void* AdrEnumerateCDDevices() {
  return nullptr;
}
FAKE_EXPORT int AdrGetSampleSize() {
  return 0;
}
FAKE_EXPORT const char* AdrGetSupportedAudioDevices() {
  return "fake:Fake device";
}
FAKE_EXPORT const char* AdrGetSupportedFileFormats() {
  return "wav:WAV;ogg:Ogg";
}
FAKE_EXPORT const char* AdrGetVersion() {
  return "fake";
}
FAKE_EXPORT void* AdrOpenCDDevice() {
  return nullptr;
}
FAKE_EXPORT AudiereApi::AudioDevice* AdrOpenDevice(const char*, const char*) {
  return std::getenv("FAKE_AUDIERE_NO_DEVICE") ? nullptr : new Device;
}
FAKE_EXPORT void* AdrOpenFile() {
  return nullptr;
}
FAKE_EXPORT void* AdrOpenMIDIDevice() {
  return nullptr;
}
FAKE_EXPORT void* AdrOpenSampleSource() {
  return nullptr;
}
FAKE_EXPORT AudiereApi::SampleSource* AdrOpenSampleSourceFromFile(AudiereApi::File* file, int) {
  char magic[4] = {};
  if (!file || !file->seek(0, 0) || file->read(magic, 4) != 4) return nullptr;
  if (std::memcmp(magic, "RIFF", 4) != 0 && std::memcmp(magic, "OggS", 4) != 0) return nullptr;
  return new Source(file);
}
FAKE_EXPORT AudiereApi::OutputStream* AdrOpenSound(AudiereApi::AudioDevice* device,
                                                   AudiereApi::SampleSource* source, bool) {
  return device && source ? new Stream(static_cast<Device*>(device), source) : nullptr;
}
FAKE_EXPORT void* AdrOpenSoundEffect() {
  return nullptr;
}

FAKE_EXPORT int FakeAudiere_LiveObjects() {
  return g_live;
}
