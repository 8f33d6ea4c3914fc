#pragma once
// The drawing device over OpenGL 2.1 (compatibility profile). The back
// buffer is the window's own while it has the window's size; otherwise (full
// screen, a window smaller than the back buffer) it is a framebuffer object,
// presented into the window's drawable through the window's letterbox.
//
// The device keeps the conventions its caller was written for:
// - The projection it is given shifts by half a pixel so that integer
//   positions fall on pixel centres under that other convention; the device
//   shifts back by half a pixel, so a quad on integer positions covers
//   whole pixels and maps texels one to one.
// - Cull modes name the winding as seen on screen that is dropped; OpenGL
//   names the kept one, so the caller's "cull counter-clockwise" keeps
//   clockwise front faces.
// - Textures without alpha are kept as RGB, so their fourth byte is never
//   read as alpha.
//
// The texture stage runs in small shader programs (the fixed-function stage
// where the driver cannot build them); everything else is fixed function.
//
// Draws are batched: consecutive draws with the same states, texture and
// primitive kind go to OpenGL as one, in the order they came. Small
// textures sampled within their edges and clamped are drawn from shared
// atlas pages (GlAtlas), so draws with different small textures batch too. The view
// transform is applied to the vertices as they are batched, so changing it
// does not end a batch. Everything else that changes what a draw looks like
// ends the batch first, so the picture is the one unbatched draws give.
#include <SDL.h>

#include <memory>
#include <vector>

#include "gl/GlAtlas.h"
#include "gl/GlFunctions.h"
#include "gl/GlReleaseQueue.h"
#include "gl/GlTexture.h"
#include "render/IGfxDevice.h"

namespace LLF {

class GlDevice : public IGfxDevice {
 public:
  // A device on a context created for the application window (whose
  // handle window must be) and made current; null (with the context
  // deleted) when it cannot start.
  static std::unique_ptr<GlDevice> Create(SDL_Window* window, const GfxPresentParameters& params);

  LLF_KIND_OF(GlDevice, IGfxDevice)
  ~GlDevice() override;
  std::wstring Dump() const override { return L"GlDevice"; }

  GfxDeviceState TestCooperativeLevel() override { return GfxDeviceState::OK; }
  bool Reset(const GfxPresentParameters& params) override;
  bool Present() override;
  bool BeginScene() override;
  bool EndScene() override;
  bool Clear(uint32_t flags, uint32_t color, float z) override;
  bool SetViewport(const GfxViewport& viewport) override;
  bool SetTransform(GfxTransformKind kind, const Matrix4& matrix) override;
  bool SetRenderState(GfxRenderState state, uint32_t value) override;
  bool SetTextureStageState(uint32_t stage, GfxStageState state, uint32_t value) override;
  bool SetTexture(uint32_t stage, IGfxTexture* texture) override;
  bool SetVertexShader(uint32_t vertexFormat) override;
  bool DrawPrimitiveUP(GfxPrimitive type, uint32_t primitiveCount, const void* vertices,
                       uint32_t stride) override;
  std::unique_ptr<IGfxTexture> CreateTexture(uint32_t width, uint32_t height, uint32_t format) override;
  std::unique_ptr<IGfxSurface> CreateImageSurface(uint32_t width, uint32_t height, uint32_t format) override;
  std::unique_ptr<IGfxSurface> GetBackBuffer() override;
  bool CopyRects(IGfxSurface& source, IGfxSurface& destination) override;

  // Waits until OpenGL has finished every command given so far.
  void Finish();
  // Makes the device's context current again, after other OpenGL work on
  // this thread (another renderer, a probe).
  bool MakeCurrent() { return SDL_GL_MakeCurrent(_window, _context) == 0; }
  // Atlas pages made so far.
  size_t GetAtlasPageCount() const { return _atlas ? _atlas->GetPageCount() : 0; }

 private:
  // Everything a batch is drawn with, but the view transform.
  // Everything a batch is drawn with, but the view transform.
  struct BatchKey {
    uint32_t renderStates[GFXRS_COUNT] = {};
    bool alphaTest = false;  // the test as it is applied, see AlphaTestNeeded
    bool textured = false;
    std::shared_ptr<GlTexture::Data> texture;
    GLint envMode = GL_MODULATE;
    GLint wrapS = GL_CLAMP_TO_EDGE;
    GLint wrapT = GL_CLAMP_TO_EDGE;
    GLint magFilter = GL_LINEAR;
    GLint minFilter = GL_LINEAR;
    bool lines = false;

    // All but the texture.
    bool SameStates(const BatchKey& o) const;
  };
  struct Vertex {
    float x, y, z;
    uint8_t rgba[4];
    float u, v;
  };

  GlDevice(SDL_Window* window, SDL_GLContext context);
  bool SetUpBackBuffer(const GfxPresentParameters& params);
  // Draws into the window's buffers or into the framebuffer object.
  bool ChooseTarget();
  // Windowed or full screen, the back buffer's size for the window's
  // letterbox, and vertical sync. False when the window refuses.
  bool ApplyPresentation(const GfxPresentParameters& params);
  BatchKey MakeKey(bool lines) const;
  // Whether every vertex's texture coordinates lie within 0 and 1.
  static bool CoordinatesWithinTexture(const uint8_t* vertices, uint32_t count, uint32_t stride);
  void Append(const uint8_t* data, uint32_t stride, uint32_t index);
  void Flush();
  void ApplyKey(const BatchKey& key);
  void ApplyViewportAndProjection();
  void DeleteReleasedTextures();
  GLuint Compile(GLenum kind, const char* source);
  // The shader programs; none (and the fixed-function stage) when the
  // driver cannot build them.
  void BuildPrograms();

  SDL_Window* _window;
  SDL_GLContext _context;
  GlFunctions _gl;
  std::shared_ptr<GlReleaseQueue> _releaseQueue = std::make_shared<GlReleaseQueue>();
  GLuint _framebuffer = 0;  // made when first needed
  GLuint _colorBuffer = 0;
  GLuint _depthBuffer = 0;
  uint32_t _framebufferWidth = 0;
  uint32_t _framebufferHeight = 0;
  bool _framebufferDepth = false;
  GLuint _target = 0;  // the framebuffer drawn into: 0 is the window's
  bool _windowDoubleBuffered = true;
  GLint _windowDepthBits = 0;
  bool _presented = false;  // since the last BeginScene
  uint32_t _width = 0;      // of the back buffer
  uint32_t _height = 0;
  bool _depth = false;
  bool _windowed = true;

  // State as the caller set it.
  uint32_t _renderStates[GFXRS_COUNT] = {};
  uint32_t _stageStates[GFXTSS_COUNT] = {};
  std::shared_ptr<GlTexture::Data> _texture;
  uint32_t _vertexFormat = GFXFVF_XYZ_DIFFUSE_TEX1;
  Matrix4 _view = Matrix4::Identity();
  bool _viewIsIdentity = true;
  Matrix4 _projection = Matrix4::Identity();
  GfxViewport _viewport;

  enum { PROGRAM_COLOR, PROGRAM_MODULATE, PROGRAM_REPLACE, kProgramCount };
  GLuint _programs[kProgramCount] = {};

  // State OpenGL has.
  BatchKey _applied;
  GLuint _appliedProgram = 0;
  bool _appliedValid = false;

  BatchKey _batchKey;
  BatchKey _currentKey;   // what the states ask for, with the texture's own texture
  bool _keyDirty = true;  // a state changed since _currentKey was made
  std::unique_ptr<GlAtlas> _atlas;
  const GlTexture::Data* _lastTexture = nullptr;  // of the last textured draw; compared only
  // Texture coordinates into the batch's texture: offset + coordinate x scale.
  float _uScale = 1.0f;
  float _vScale = 1.0f;
  float _uOffset = 0.0f;
  float _vOffset = 0.0f;

  std::vector<Vertex> _batch;
  const uint8_t* _arrays = nullptr;  // where OpenGL's vertex arrays point
};

}  // namespace LLF
