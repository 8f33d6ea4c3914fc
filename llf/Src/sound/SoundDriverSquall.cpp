#include "sound/SoundDriverSquall.h"

#include <iterator>
#include <mutex>

#include "app/AppWindow.h"
#include "core/Log.h"
#include "io/File.h"

namespace LLF {

namespace {

// The file the library reads, set while a load runs.
std::mutex g_loadLock;
File* g_currentFile = nullptr;  // under g_loadLock

// The library's "name" is the address of an open framework file.
int32_t OpenCallback(const char* name) {
  g_currentFile = reinterpret_cast<File*>(const_cast<char*>(name));
  return 0;
}

int32_t ReadCallback(int32_t, void* buffer, int32_t size) {
  if (!g_currentFile || size < 0) return -1;
  return static_cast<int32_t>(g_currentFile->Read(buffer, static_cast<unsigned>(size)));
}

int32_t SeekCallback(int32_t, int32_t position, int32_t origin) {
  if (!g_currentFile || origin < 0 || origin > 2) return -1;
  if (!g_currentFile->Seek(origin, position)) return -1;
  return static_cast<int32_t>(g_currentFile->GetPosition());
}

void CloseCallback(int32_t) {
  g_currentFile = nullptr;
}

}  // namespace

SoundDriverSquall::SoundDriverSquall()
    : _library(L"Squall.dll", kSquallFunctionNames, std::size(kSquallFunctionNames)) {
  static_assert(sizeof(Api) == std::size(kSquallFunctionNames) * sizeof(void*), "one pointer for each name");
  _library.Load();
  _library.CopyFunctions(&_api, sizeof _api);
}

SoundDriverSquall::~SoundDriverSquall() {
  _library.Release();
}

bool SoundDriverSquall::Init(const SoundSettings& settings) {
  if (!IsLibraryLoaded()) return false;
  _settings = settings;
  const unsigned rate = OutputRate(settings.sampleRate);
  const wchar_t* sixteenBit = settings.sixteenBit ? L"yes" : L"no";
  const auto channels = static_cast<int32_t>(settings.channels);
  Log& log = Log::GetInstance();
  log.WriteFormat(L"Initializing SoundDriverSquall( frequency: %d, 16bit: %s, channels: %d )...", rate,
                  sixteenBit, channels);
  SquallInitParameters parameters{};
  parameters.window = AppWindow::GetInstance().GetHandle();
  parameters.device = 0;
  parameters.sampleRate = static_cast<int32_t>(rate);
  parameters.bitsPerSample = settings.sixteenBit ? 16 : 8;
  parameters.channels = channels;
  parameters.field6 = 1;
  parameters.field7 = 1;
  parameters.field8 = 0;
  parameters.field9 = 500;
  parameters.field10 = 0;
  parameters.factor11 = parameters.factor12 = parameters.factor13 = 1.0f;
  if (_api.Init(&parameters) < 0) {
    log.WriteFormat(
        L"Warning: Can't initialize SoundDriverSquall. SQUALL_Init failed. "
        L"Parameters: Frequency - %u, 16 bit - %s, channels - %d",
        rate, sixteenBit, channels);
    return false;
  }
  if (_api.SetFileCallbacks(&OpenCallback, &ReadCallback, &SeekCallback, &CloseCallback) < 0) {
    log.WriteFormat(
        L"Warning: Can't initialize SoundDriverSquall. SQUALL_SetFileCallbacks failed. "
        L"Parameters: Frequency - %u, 16 bit - %s, channels - %d",
        rate, sixteenBit, channels);
    _api.Free();
    return false;
  }
  log.Write(L"SoundDriverSquall initialized successfully.");
  return true;
}

void SoundDriverSquall::Destroy() {
  if (!IsLibraryLoaded()) return;
  _api.Free();
  Log::GetInstance().Write(L"SoundDriverSquall destroyed successfully.");
}

bool SoundDriverSquall::PlaySound(Sound* sound) {
  if (!sound) Log::GetInstance().Write(kPlayNullSound);
  return false;
}

bool SoundDriverSquall::PlayMusic(Music* music) {
  if (!music) Log::GetInstance().Write(kPlayNullMusic);
  return false;
}

SoundDriverSquall::Record* SoundDriverSquall::LoadSample(File& file) {
  if (!IsLibraryLoaded()) return nullptr;
  std::lock_guard<std::mutex> lock(g_loadLock);
  const int32_t sample = _api.SampleLoadFile(reinterpret_cast<const char*>(&file), 0, 0);
  g_currentFile = nullptr;
  return sample >= 0 ? new Record(this, sample) : nullptr;
}

}  // namespace LLF
