#pragma once
// The interface of the Audiere sound library ("audiere.dll", here
// libaudiere.so) as the Audiere sound driver uses it: a handful of C
// functions that make reference-counted objects, and the objects' own
// operations. Written from what the driver needs.
//
// Reference counts: each object a function gives comes with one reference
// for the caller, who gives it back with unref(); an object keeps its own
// references to the objects it uses (a stream to its source, a source to its
// file). A memory file does not copy its bytes: they must outlive every
// object made from it.
#include <cstdint>

namespace AudiereApi {

class RefCounted {
 public:
  virtual void ref() = 0;
  virtual void unref() = 0;

 protected:
  ~RefCounted() = default;
};

// Bytes to decode: a file or a block of memory.
class File : public RefCounted {
 public:
  virtual int read(void* buffer, int size) = 0;
  // origin 0 from the start, 1 from the current position, 2 from the end.
  virtual bool seek(int position, int origin) = 0;
  virtual int tell() = 0;

 protected:
  ~File() = default;
};

// Decoded audio.
class SampleSource : public RefCounted {
 public:
  virtual void getFormat(int& channels, int& sampleRate) = 0;
  // Reads up to frameCount frames; fewer at the end.
  virtual int read(int frameCount, void* buffer) = 0;
  virtual void reset() = 0;

 protected:
  ~SampleSource() = default;
};

// One sound on a device.
class OutputStream : public RefCounted {
 public:
  virtual void play() = 0;
  // Halts the stream where it is; play() goes on from there.
  virtual void stop() = 0;
  virtual bool isPlaying() = 0;
  // Back to the start.
  virtual void reset() = 0;
  virtual void setRepeat(bool repeat) = 0;
  virtual bool getRepeat() = 0;
  // 0.0 (silent) to 1.0 (full).
  virtual void setVolume(float volume) = 0;
  virtual float getVolume() = 0;
  // In frames from the start.
  virtual int getPosition() = 0;

 protected:
  ~OutputStream() = default;
};

// The output.
class AudioDevice : public RefCounted {
 public:
  // Once per main-loop pass.
  virtual void update() = 0;
  virtual const char* getName() = 0;

 protected:
  ~AudioDevice() = default;
};

}  // namespace AudiereApi

// The functions the driver calls. name "" is the default device; parameters
// may be "". fileFormat 0 detects the format. streaming false decodes the
// whole source at once, true while it plays.
using AdrOpenDeviceFunc = AudiereApi::AudioDevice* (*)(const char* name, const char* parameters);
using AdrCreateMemoryFileFunc = AudiereApi::File* (*)(const void* buffer, int size);
using AdrOpenSampleSourceFromFileFunc = AudiereApi::SampleSource* (*)(AudiereApi::File* file, int fileFormat);
using AdrOpenSoundFunc = AudiereApi::OutputStream* (*)(AudiereApi::AudioDevice* device,
                                                       AudiereApi::SampleSource* source, bool streaming);
// The functions that are bound but never called.
using AdrOtherFunc = void (*)();

// The 21 names the driver binds, in binding order.
inline constexpr const char* kAudiereFunctionNames[] = {
    "_AdrCreateLoopPointSource@4",
    "_AdrCreateMemoryFile@8",
    "_AdrCreatePinkNoise@0",
    "_AdrCreateSampleBuffer@20",
    "_AdrCreateSampleBufferFromSource@4",
    "_AdrCreateSquareWave@8",
    "_AdrCreateTone@8",
    "_AdrCreateWhiteNoise@0",
    "_AdrEnumerateCDDevices@0",
    "_AdrGetSampleSize@4",
    "_AdrGetSupportedAudioDevices@0",
    "_AdrGetSupportedFileFormats@0",
    "_AdrGetVersion@0",
    "_AdrOpenCDDevice@4",
    "_AdrOpenDevice@8",
    "_AdrOpenFile@8",
    "_AdrOpenMIDIDevice@4",
    "_AdrOpenSampleSource@8",
    "_AdrOpenSampleSourceFromFile@8",
    "_AdrOpenSound@12",
    "_AdrOpenSoundEffect@12",
};
