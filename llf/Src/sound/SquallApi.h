#pragma once
// The interface of the Squall sound library ("Squall.dll", here
// libsquall.so) as the Squall sound driver uses it. Written from what the
// driver needs. Results below 0 are failures.
#include <cstdint>

// The start-up record, filled by the driver field by field.
struct SquallInitParameters {
  void* window;           // the application window
  int32_t device;         // 0: the default output
  int32_t sampleRate;     // Hz
  int32_t bitsPerSample;  // 16 or 8
  int32_t channels;       // simultaneous channels
  int32_t field6;         // the driver gives 1
  int32_t field7;         // the driver gives 1
  int32_t field8;         // the driver gives 0
  int32_t field9;         // the driver gives 500
  int32_t field10;        // the driver gives 0
  float factor11;         // the driver gives 1.0
  float factor12;         // the driver gives 1.0
  float factor13;         // the driver gives 1.0
};

// How the library reads files: open gives a handle (below 0 on failure)
// for a name, read gives the bytes read (below 0 on failure), seek gives the
// new position (origin 0 start, 1 current, 2 end; below 0 on failure).
using SquallOpenCallback = int32_t (*)(const char* name);
using SquallReadCallback = int32_t (*)(int32_t handle, void* buffer, int32_t size);
using SquallSeekCallback = int32_t (*)(int32_t handle, int32_t position, int32_t origin);
using SquallCloseCallback = void (*)(int32_t handle);

using SquallInitFunc = int32_t (*)(SquallInitParameters* parameters);
using SquallFreeFunc = void (*)();
// A sample id (0 or more) for a file read through the callbacks.
using SquallSampleLoadFileFunc = int32_t (*)(const char* name, int32_t option1, int32_t option2);
using SquallSampleUnloadFunc = int32_t (*)(int32_t sample);
using SquallSetFileCallbacksFunc = int32_t (*)(SquallOpenCallback open, SquallReadCallback read,
                                               SquallSeekCallback seek, SquallCloseCallback close);

// The 5 names the driver binds, in binding order.
inline constexpr const char* kSquallFunctionNames[] = {
    "SQUALL_Init", "SQUALL_Free", "SQUALL_Sample_LoadFile", "SQUALL_Sample_Unload", "SQUALL_SetFileCallbacks",
};
