#pragma once
// The C interface of libbass.so, our own sound library: the 25 functions the
// BASS sound driver loads by name at run time ("BASS.DLL" maps to libbass.so)
// and binds all or nothing. Program and library are both ours, so these
// declarations are the whole contract; the function-pointer types below are
// what the driver casts its looked-up addresses to.
//
// Conventions of every function:
// - BassBool results are exactly 1 on success and 0 on failure; handle results
//   are 0 on failure.
// - Every call sets the calling thread's error code (BASS_ErrorGetCode): kBassOk
//   on success, one of BassErrorCode on failure. Codes are per thread, because
//   the asset loader and the main thread call in at the same time.
// - All functions are safe to call from any thread. Unknown, freed or
//   wrong-kind handles fail with kBassErrorHandle and never crash.
// - Handles are never reused within a process, so a stale handle stays invalid.
// - Volumes are 0..100 (linear), pans -100 (left) .. 100 (right), rates in Hz.
#include <cstdint>
#include <iterator>

#if defined(LIBBASS_BUILDING)
#define LIBBASS_EXPORT __attribute__((visibility("default")))
#else
#define LIBBASS_EXPORT
#endif

using BassBool = int32_t;
using BassHandle = uint32_t;  // sample, channel or stream; 0 is never a valid handle

enum BassErrorCode : int32_t {
  kBassOk = 0,
  kBassErrorMemory = 1,       // out of memory, or decoded data beyond the size limit
  kBassErrorFileOpen = 2,     // the named file cannot be opened or read
  kBassErrorNoDevice = 3,     // no audio output could be opened
  kBassErrorDevice = 4,       // no such device number
  kBassErrorAlready = 5,      // already initialised, or channel already paused
  kBassErrorInit = 6,         // BASS_Init has not succeeded (or BASS_Free came since)
  kBassErrorHandle = 7,       // unknown, freed or wrong-kind handle
  kBassErrorParam = 8,        // an argument is out of range or null
  kBassErrorFileFormat = 9,   // not a supported audio file, malformed, truncated or empty
  kBassErrorNoChannel = 10,   // every channel of the sample is in use
  kBassErrorNotPlaying = 11,  // the channel is neither playing nor paused
  kBassErrorOption = 12,      // unknown configuration option
  kBassErrorUnknown = 13,     // anything else
};

// BASS_Init flags.
constexpr uint32_t kBassDevice8Bits = 1;  // 8-bit unsigned output instead of 16-bit signed
// BASS_Init device number of the system's default output.
constexpr int32_t kBassDefaultDevice = -1;

// Sample, stream and channel flags.
constexpr uint32_t kBassSampleLoop = 4;  // play again from the start at the end

// BASS_ChannelSetAttributes: leave this attribute as it is.
constexpr int32_t kBassKeep = -1;

// BASS_SetConfig options.
enum BassConfigOption : uint32_t {
  kBassConfigStreamBuffer = 1,  // read-ahead of streams created later, 50..5000 ms (default 500)
  kBassConfigSampleVolume = 2,  // volume applied to every sample channel, 0..100 (default 100)
  kBassConfigStreamVolume = 3,  // volume applied to every stream, 0..100 (default 100)
};

// Limits.
constexpr uint32_t kBassMinRate = 1000;
constexpr uint32_t kBassMaxRate = 384000;
constexpr uint32_t kBassMaxSampleChannels = 65535;

// What BASS_SampleGetInfo gives and BASS_SampleSetInfo takes: the defaults a
// channel obtained later starts with. SetInfo reads freq, volume, pan, flags
// and max; length and chans are for reading only.
struct BassSampleInfo {
  uint32_t freq;    // default playback rate (the file's rate after loading), kBassMinRate..kBassMaxRate
  uint32_t volume;  // default volume 0..100 (SetInfo clamps larger values to 100)
  int32_t pan;      // default pan -100..100 (SetInfo clamps)
  uint32_t flags;   // kBassSampleLoop or 0
  uint32_t length;  // length in frames at the file's rate
  uint32_t max;     // most channels the sample may have, 1..kBassMaxSampleChannels
  uint32_t chans;   // channel count of the file
};

extern "C" {

// Opens the output: device kBassDefaultDevice (-1) or 1..n (the n-th output the
// system lists), rate freq (kBassMinRate..kBassMaxRate), flags kBassDevice8Bits
// or 0; window is not used. Output starts running at once (silent until
// something plays). Fails with kBassErrorNoDevice when no output can be opened,
// kBassErrorAlready when already initialised.
LIBBASS_EXPORT BassBool BASS_Init(int32_t device, uint32_t freq, uint32_t flags, void* window);
// Stops and closes the output and frees every sample, channel and stream.
LIBBASS_EXPORT BassBool BASS_Free();
// Decodes a whole file into a new sample. mem 1: file points to length bytes
// (read during the call only; offset is added to file). mem 0: file is a
// UTF-8 path, offset the byte offset in it, length 0 for "to the end". max is
// the most channels the sample may have, flags kBassSampleLoop or 0 (default
// of its channels). Files libsndfile reads: WAV, AIFF, FLAC, Ogg Vorbis/Opus,
// MP1/MP2/MP3 and more. A file that does not open, holds no audio, reports a
// decode error or ends before its header says fails with kBassErrorFileFormat.
LIBBASS_EXPORT BassHandle BASS_SampleLoad(BassBool mem, const void* file, uint64_t offset, uint32_t length,
                                          uint32_t max, uint32_t flags);
// Plays a channel (a sample channel or a stream). restart 1: from the start;
// restart 0: a paused channel continues where it was, a stopped one starts
// from the start, a playing one goes on. After BASS_Stop this also starts the
// output again; after BASS_Pause the output stays paused until BASS_Start.
LIBBASS_EXPORT BassBool BASS_ChannelPlay(BassHandle channel, BassBool restart);
// Stops a channel and rewinds it to the start. Stopping a stopped channel succeeds.
LIBBASS_EXPORT BassBool BASS_ChannelStop(BassHandle channel);
// Pauses a playing channel, keeping its position. A paused channel gives
// kBassErrorAlready, a stopped one kBassErrorNotPlaying.
LIBBASS_EXPORT BassBool BASS_ChannelPause(BassHandle channel);
// The calling thread's error code of its last call.
LIBBASS_EXPORT int32_t BASS_ErrorGetCode();
// A channel of the sample carrying the sample's current defaults (rate, volume,
// pan, loop). A new channel while the sample has fewer than max; at max, with
// onlyNew 0, the sample's first stopped channel is reset to the defaults and
// returned again; otherwise fails with kBassErrorNoChannel.
LIBBASS_EXPORT BassHandle BASS_SampleGetChannel(BassHandle sample, BassBool onlyNew);
LIBBASS_EXPORT BassBool BASS_SampleGetInfo(BassHandle sample, BassSampleInfo* info);
// Sets the defaults for channels obtained later; existing channels keep theirs.
LIBBASS_EXPORT BassBool BASS_SampleSetInfo(BassHandle sample, const BassSampleInfo* info);
// Frees a sample and all its channels (they stop at once).
LIBBASS_EXPORT BassBool BASS_SampleFree(BassHandle sample);
// Tracker modules are not supported: always 0, with kBassErrorFileFormat for
// readable data (so a caller falls through to a stream), or the error of the
// arguments (kBassErrorInit, kBassErrorParam, kBassErrorFileOpen).
LIBBASS_EXPORT BassHandle BASS_MusicLoad(BassBool mem, const void* file, uint64_t offset, uint32_t length,
                                         uint32_t flags, uint32_t freq);
// No module handle ever exists: these fail with kBassErrorHandle (or kBassErrorInit);
// BASS_MusicGetAttribute then gives 0xFFFFFFFF.
LIBBASS_EXPORT BassBool BASS_MusicFree(BassHandle music);
LIBBASS_EXPORT BassBool BASS_MusicSetAttribute(BassHandle music, uint32_t attribute, uint32_t value);
LIBBASS_EXPORT uint32_t BASS_MusicGetAttribute(BassHandle music, uint32_t attribute);
// A stream decoding the file bit by bit while it plays; the handle is also its
// channel. mem 1: file points to length bytes at offset that must stay valid
// and unchanged until BASS_StreamFree (they are not copied). mem 0: a UTF-8
// path as for BASS_SampleLoad. flags kBassSampleLoop or 0. The start is decoded
// during the call, and the end the file's header declares is looked for, so a
// file without audio or cut short fails here with kBassErrorFileFormat; other
// damage further in ends the stream early.
LIBBASS_EXPORT BassHandle BASS_StreamCreateFile(BassBool mem, const void* file, uint64_t offset,
                                                uint64_t length, uint32_t flags);
LIBBASS_EXPORT BassBool BASS_StreamFree(BassHandle stream);
// Rate (kBassMinRate..kBassMaxRate, 0 for the file's own rate), volume (0..100,
// larger values clamped to 100, other negatives to 0) and pan (-100..100,
// clamped); kBassKeep (-1) leaves an attribute as it is. A volume change
// glides over one mixing period to avoid clicks.
LIBBASS_EXPORT BassBool BASS_ChannelSetAttributes(BassHandle channel, int32_t freq, int32_t volume,
                                                  int32_t pan);
// Reads the attributes; null pointers are skipped.
LIBBASS_EXPORT BassBool BASS_ChannelGetAttributes(BassHandle channel, uint32_t* freq, uint32_t* volume,
                                                  int32_t* pan);
// kBassSampleLoop or 0; other bits are ignored. Takes effect on the running channel.
LIBBASS_EXPORT BassBool BASS_ChannelSetFlags(BassHandle channel, uint32_t flags);
// Sets a BassConfigOption; allowed before BASS_Init and kept across BASS_Free.
LIBBASS_EXPORT BassBool BASS_SetConfig(uint32_t option, uint32_t value);
// Fills the read-ahead of every playing or paused stream now, on the calling
// thread (the library's own decoding thread does this continually).
LIBBASS_EXPORT BassBool BASS_Update();
// Output control: BASS_Pause holds the output (channels keep their state and
// position), BASS_Start lets it run again, BASS_Stop stops and rewinds every
// channel and holds the output until BASS_Start or the next BASS_ChannelPlay.
LIBBASS_EXPORT BassBool BASS_Start();
LIBBASS_EXPORT BassBool BASS_Stop();
LIBBASS_EXPORT BassBool BASS_Pause();

}  // extern "C"

// Pointer types for binding the functions by name.
using BassInitFunc = decltype(&BASS_Init);
using BassFreeFunc = decltype(&BASS_Free);
using BassSampleLoadFunc = decltype(&BASS_SampleLoad);
using BassChannelPlayFunc = decltype(&BASS_ChannelPlay);
using BassChannelStopFunc = decltype(&BASS_ChannelStop);
using BassChannelPauseFunc = decltype(&BASS_ChannelPause);
using BassErrorGetCodeFunc = decltype(&BASS_ErrorGetCode);
using BassSampleGetChannelFunc = decltype(&BASS_SampleGetChannel);
using BassSampleGetInfoFunc = decltype(&BASS_SampleGetInfo);
using BassSampleSetInfoFunc = decltype(&BASS_SampleSetInfo);
using BassSampleFreeFunc = decltype(&BASS_SampleFree);
using BassMusicLoadFunc = decltype(&BASS_MusicLoad);
using BassMusicFreeFunc = decltype(&BASS_MusicFree);
using BassMusicSetAttributeFunc = decltype(&BASS_MusicSetAttribute);
using BassMusicGetAttributeFunc = decltype(&BASS_MusicGetAttribute);
using BassStreamCreateFileFunc = decltype(&BASS_StreamCreateFile);
using BassStreamFreeFunc = decltype(&BASS_StreamFree);
using BassChannelSetAttributesFunc = decltype(&BASS_ChannelSetAttributes);
using BassChannelGetAttributesFunc = decltype(&BASS_ChannelGetAttributes);
using BassChannelSetFlagsFunc = decltype(&BASS_ChannelSetFlags);
using BassSetConfigFunc = decltype(&BASS_SetConfig);
using BassUpdateFunc = decltype(&BASS_Update);
using BassStartFunc = decltype(&BASS_Start);
using BassStopFunc = decltype(&BASS_Stop);
using BassPauseFunc = decltype(&BASS_Pause);

// The 25 functions as bound by name: one pointer each, in the order of
// kBassFunctionNames below.
struct BassFunctions {
  BassInitFunc Init;
  BassFreeFunc Free;
  BassSampleLoadFunc SampleLoad;
  BassChannelPlayFunc ChannelPlay;
  BassChannelStopFunc ChannelStop;
  BassChannelPauseFunc ChannelPause;
  BassErrorGetCodeFunc ErrorGetCode;
  BassSampleGetChannelFunc SampleGetChannel;
  BassSampleGetInfoFunc SampleGetInfo;
  BassSampleSetInfoFunc SampleSetInfo;
  BassSampleFreeFunc SampleFree;
  BassMusicLoadFunc MusicLoad;
  BassMusicFreeFunc MusicFree;
  BassMusicSetAttributeFunc MusicSetAttribute;
  BassMusicGetAttributeFunc MusicGetAttribute;
  BassStreamCreateFileFunc StreamCreateFile;
  BassStreamFreeFunc StreamFree;
  BassChannelSetAttributesFunc ChannelSetAttributes;
  BassChannelGetAttributesFunc ChannelGetAttributes;
  BassChannelSetFlagsFunc ChannelSetFlags;
  BassSetConfigFunc SetConfig;
  BassUpdateFunc Update;
  BassStartFunc Start;
  BassStopFunc Stop;
  BassPauseFunc Pause;
};

// The 25 exported names, in the order the driver binds them.
inline constexpr const char* kBassFunctionNames[] = {
    "BASS_Init",
    "BASS_Free",
    "BASS_SampleLoad",
    "BASS_ChannelPlay",
    "BASS_ChannelStop",
    "BASS_ChannelPause",
    "BASS_ErrorGetCode",
    "BASS_SampleGetChannel",
    "BASS_SampleGetInfo",
    "BASS_SampleSetInfo",
    "BASS_SampleFree",
    "BASS_MusicLoad",
    "BASS_MusicFree",
    "BASS_MusicSetAttribute",
    "BASS_MusicGetAttribute",
    "BASS_StreamCreateFile",
    "BASS_StreamFree",
    "BASS_ChannelSetAttributes",
    "BASS_ChannelGetAttributes",
    "BASS_ChannelSetFlags",
    "BASS_SetConfig",
    "BASS_Update",
    "BASS_Start",
    "BASS_Stop",
    "BASS_Pause",
};

static_assert(sizeof(BassFunctions) == std::size(kBassFunctionNames) * sizeof(void*),
              "one pointer for each name");
