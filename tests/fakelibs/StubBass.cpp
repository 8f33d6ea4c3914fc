// A libbass.so that lacks BASS_Pause: the BASS driver must not bind it.
// Every function it has fails.
#include "sound/BassApi.h"

extern "C" {

BassBool BASS_Init(int32_t, uint32_t, uint32_t, void*) {
  return 0;
}
BassBool BASS_Free() {
  return 0;
}
BassHandle BASS_SampleLoad(BassBool, const void*, uint64_t, uint32_t, uint32_t, uint32_t) {
  return 0;
}
BassBool BASS_ChannelPlay(BassHandle, BassBool) {
  return 0;
}
BassBool BASS_ChannelStop(BassHandle) {
  return 0;
}
BassBool BASS_ChannelPause(BassHandle) {
  return 0;
}
int32_t BASS_ErrorGetCode() {
  return kBassErrorUnknown;
}
BassHandle BASS_SampleGetChannel(BassHandle, BassBool) {
  return 0;
}
BassBool BASS_SampleGetInfo(BassHandle, BassSampleInfo*) {
  return 0;
}
BassBool BASS_SampleSetInfo(BassHandle, const BassSampleInfo*) {
  return 0;
}
BassBool BASS_SampleFree(BassHandle) {
  return 0;
}
BassHandle BASS_MusicLoad(BassBool, const void*, uint64_t, uint32_t, uint32_t, uint32_t) {
  return 0;
}
BassBool BASS_MusicFree(BassHandle) {
  return 0;
}
BassBool BASS_MusicSetAttribute(BassHandle, uint32_t, uint32_t) {
  return 0;
}
uint32_t BASS_MusicGetAttribute(BassHandle, uint32_t) {
  return 0;
}
BassHandle BASS_StreamCreateFile(BassBool, const void*, uint64_t, uint64_t, uint32_t) {
  return 0;
}
BassBool BASS_StreamFree(BassHandle) {
  return 0;
}
BassBool BASS_ChannelSetAttributes(BassHandle, int32_t, int32_t, int32_t) {
  return 0;
}
BassBool BASS_ChannelGetAttributes(BassHandle, uint32_t*, uint32_t*, int32_t*) {
  return 0;
}
BassBool BASS_ChannelSetFlags(BassHandle, uint32_t) {
  return 0;
}
BassBool BASS_SetConfig(uint32_t, uint32_t) {
  return 0;
}
BassBool BASS_Update() {
  return 0;
}
BassBool BASS_Start() {
  return 0;
}
BassBool BASS_Stop() {
  return 0;
}

}  // extern "C"
