#pragma once
// A graphics library for tests: it records every call the render system
// makes on it as a line of text, keeps textures and surfaces in memory, and
// can be told to fail or to report a lost device. No display is needed.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/IGfxLibrary.h"

namespace QmTest {

// What the fake does and what it saw; shared by all its objects.
struct GfxScript {
  // Behaviour.
  bool loadFails = false;
  bool createSystemFails = false;
  bool displayModeFails = false;
  LLF::GfxDisplayMode desktop{1024, 768, 60, LLF::GFXFMT_X8R8G8B8};
  std::vector<LLF::GfxDisplayMode> modes{{640, 480, 60, LLF::GFXFMT_X8R8G8B8},
                                         {800, 600, 60, LLF::GFXFMT_X8R8G8B8},
                                         {1024, 768, 60, LLF::GFXFMT_X8R8G8B8}};
  bool capsFail = false;
  LLF::GfxCaps caps{LLF::GFXPTEXTURECAPS_NONPOW2CONDITIONAL, 1024, 1024, 0};
  bool createDeviceFails = false;
  std::deque<LLF::GfxDeviceState> cooperative;  // answers to come; OK when empty
  bool resetFails = false;
  int textureFailures = 0;  // the next CreateTexture calls that fail
  bool textureLockFails = false;
  bool surfaceFails = false;
  // The back buffer as read back: rows top down, blue, green, red, x.
  uint32_t backBufferWidth = 0;
  uint32_t backBufferHeight = 0;
  std::vector<uint8_t> backBuffer;

  // Record.
  std::vector<std::string> calls;
  struct Draw {
    uint32_t type;
    uint32_t primitives;
    uint32_t vertexFormat;
    int texture;  // id of the texture set, 0 for none
    std::vector<uint8_t> vertices;
  };
  std::vector<Draw> draws;
  int texturesCreated = 0;
  int texturesAlive = 0;
  LLF::GfxPresentParameters deviceParams;
  int currentTexture = 0;
  LLF::Matrix4 view = LLF::Matrix4::Identity();
  LLF::Matrix4 projection = LLF::Matrix4::Identity();
  uint32_t vertexFormat = 0;
  std::map<int, std::vector<uint8_t>> texturePixels;  // by id, as last unlocked
  std::map<int, std::pair<uint32_t, uint32_t>> textureSizes;

  // The recorded calls that start with prefix.
  std::vector<std::string> Calls(const std::string& prefix) const;
  size_t Count(const std::string& prefix) const { return Calls(prefix).size(); }
  void ClearRecord();
};

class RecordingGfx : public LLF::IGfxLibrary {
 public:
  RecordingGfx() : _script(std::make_shared<GfxScript>()) {}
  LLF_KIND_OF(RecordingGfx, IGfxLibrary)
  std::wstring Dump() const override { return L"RecordingGfx"; }

  bool Load() override;
  void Unload() override;
  bool IsLoaded() const override { return _loaded; }
  std::unique_ptr<LLF::IGfxSystem> CreateSystem() override;

  GfxScript& Script() { return *_script; }

 private:
  std::shared_ptr<GfxScript> _script;
  bool _loaded = false;
};

}  // namespace QmTest
