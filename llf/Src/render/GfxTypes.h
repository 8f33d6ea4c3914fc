#pragma once
// Numbers and records of the graphics device layer. The layer offers the
// operations the hardware render system performs on its device, with the
// device's own numbers where they reach the log (pixel formats, vertex
// formats) and small enumerations elsewhere.
#include <cstdint>
#include <string>

namespace LLF {

// Pixel formats, as logged ("Format: %d").
enum GfxFormat : uint32_t {
  GFXFMT_UNKNOWN = 0,
  GFXFMT_A8R8G8B8 = 21,
  GFXFMT_X8R8G8B8 = 22,  // the fourth byte is not alpha: sampling reads alpha 1
  GFXFMT_R5G6B5 = 23,
  GFXFMT_D16 = 80,
};

// Vertex formats: position, colour and one texture-coordinate pair
// (24 bytes) or position and colour (16 bytes).
enum GfxVertexFormat : uint32_t {
  GFXFVF_XYZ_DIFFUSE = 0x42,
  GFXFVF_XYZ_DIFFUSE_TEX1 = 0x142,
};

enum GfxPrimitive : uint32_t {
  GFXPT_LINELIST = 2,
  GFXPT_LINESTRIP = 3,
  GFXPT_TRIANGLELIST = 4,
  GFXPT_TRIANGLEFAN = 6,
};

enum GfxTransformKind : uint32_t { GFXTS_VIEW = 2, GFXTS_PROJECTION = 3 };

enum GfxRenderState : uint32_t {
  GFXRS_ZENABLE,
  GFXRS_ZWRITEENABLE,
  GFXRS_ZFUNC,
  GFXRS_ALPHATESTENABLE,
  GFXRS_ALPHAREF,
  GFXRS_ALPHAFUNC,
  GFXRS_ALPHABLENDENABLE,
  GFXRS_SRCBLEND,
  GFXRS_DESTBLEND,
  GFXRS_CULLMODE,
  GFXRS_LIGHTING,
  GFXRS_LASTPIXEL,
  GFXRS_COUNT
};

enum GfxBlend : uint32_t {
  GFXBLEND_ZERO = 1,
  GFXBLEND_ONE = 2,
  GFXBLEND_SRCALPHA = 5,
  GFXBLEND_INVSRCALPHA = 6
};
enum GfxCull : uint32_t { GFXCULL_NONE = 1, GFXCULL_CW = 2, GFXCULL_CCW = 3 };
enum GfxCompare : uint32_t {
  GFXCMP_NEVER = 1,
  GFXCMP_LESS = 2,
  GFXCMP_EQUAL = 3,
  GFXCMP_LESSEQUAL = 4,
  GFXCMP_GREATER = 5,
  GFXCMP_NOTEQUAL = 6,
  GFXCMP_GREATEREQUAL = 7,
  GFXCMP_ALWAYS = 8
};

enum GfxStageState : uint32_t {
  GFXTSS_COLOROP,
  GFXTSS_COLORARG1,
  GFXTSS_COLORARG2,
  GFXTSS_ALPHAOP,
  GFXTSS_ALPHAARG1,
  GFXTSS_ALPHAARG2,
  GFXTSS_ADDRESSU,
  GFXTSS_ADDRESSV,
  GFXTSS_MAGFILTER,
  GFXTSS_MINFILTER,
  GFXTSS_COUNT
};

enum GfxTextureOp : uint32_t { GFXTOP_DISABLE = 1, GFXTOP_SELECTARG1 = 2, GFXTOP_MODULATE = 4 };
enum GfxTextureArg : uint32_t { GFXTA_DIFFUSE = 0, GFXTA_TEXTURE = 2 };
enum GfxAddress : uint32_t { GFXTADDRESS_WRAP = 1, GFXTADDRESS_CLAMP = 3 };
enum GfxFilter : uint32_t { GFXTEXF_POINT = 1, GFXTEXF_LINEAR = 2 };

enum GfxClearFlags : uint32_t { GFXCLEAR_TARGET = 1, GFXCLEAR_ZBUFFER = 2 };

enum GfxSwapEffect : uint32_t { GFXSWAP_FLIP = 2, GFXSWAP_COPY = 3, GFXSWAP_COPY_VSYNC = 4 };
enum GfxPresentInterval : uint32_t {
  GFXPRESENT_INTERVAL_ONE = 1,
  GFXPRESENT_INTERVAL_IMMEDIATE = 0x80000000u
};

// What TestCooperativeLevel reports.
enum class GfxDeviceState { OK, LOST, NOT_RESET };

// Texture capability bit: non-power-of-two sizes work under conditions.
constexpr uint32_t GFXPTEXTURECAPS_NONPOW2CONDITIONAL = 0x100;
// Device creation flags: software vertex processing, used from several threads.
constexpr uint32_t GFXCREATE_SOFTWARE_VERTEXPROCESSING_MULTITHREADED = 0x24;

// How the back buffer is presented.
struct GfxPresentParameters {
  uint32_t backBufferWidth = 0;
  uint32_t backBufferHeight = 0;
  uint32_t backBufferFormat = GFXFMT_UNKNOWN;
  uint32_t backBufferCount = 0;
  uint32_t multiSampleType = 0;
  uint32_t swapEffect = 0;
  void* deviceWindow = nullptr;
  bool windowed = false;
  bool enableAutoDepthStencil = false;
  uint32_t autoDepthStencilFormat = GFXFMT_UNKNOWN;
  uint32_t fullScreenRefreshRate = 0;
  uint32_t presentationInterval = 0;
};

struct GfxDisplayMode {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t refreshRate = 0;
  uint32_t format = GFXFMT_UNKNOWN;
};

struct GfxAdapterIdentifier {
  std::string driver;
  std::string description;
  // Four 16-bit parts, the most significant first.
  uint64_t driverVersion = 0;
};

struct GfxCaps {
  uint32_t textureCaps = 0;
  uint32_t maxTextureWidth = 0;
  uint32_t maxTextureHeight = 0;
  uint32_t maxTextureAspectRatio = 0;
};

struct GfxViewport {
  uint32_t x = 0;
  uint32_t y = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  float minZ = 0.0f;
  float maxZ = 1.0f;
};

// A locked texture or surface: pitch in bytes and the first byte of the
// top row.
struct GfxLockedRect {
  int pitch = 0;
  void* bits = nullptr;
};

struct GfxSurfaceDesc {
  uint32_t format = GFXFMT_UNKNOWN;
  uint32_t width = 0;
  uint32_t height = 0;
};

}  // namespace LLF
