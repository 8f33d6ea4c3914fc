#include "gl/GlDevice.h"

#include <algorithm>
#include <cstring>

#include "app/AppWindow.h"
#include "gl/GlAtlas.h"
#include "gl/GlSurface.h"

namespace LLF {

namespace {

// Vertices a batch holds before it is drawn.
constexpr size_t kBatchLimit = 6 * 8192;

GLenum CompareFunction(uint32_t compare) {
  if (compare < GFXCMP_NEVER || compare > GFXCMP_ALWAYS) {
    return GL_ALWAYS;
  }
  return GL_NEVER + (compare - GFXCMP_NEVER);
}

GLenum BlendFactor(uint32_t blend) {
  switch (blend) {
    case GFXBLEND_ZERO:
      return GL_ZERO;
    case GFXBLEND_SRCALPHA:
      return GL_SRC_ALPHA;
    case GFXBLEND_INVSRCALPHA:
      return GL_ONE_MINUS_SRC_ALPHA;
    default:
      return GL_ONE;
  }
}

GLint AddressMode(uint32_t mode) {
  return mode == GFXTADDRESS_WRAP ? GL_REPEAT : GL_CLAMP_TO_EDGE;
}
GLint FilterMode(uint32_t mode) {
  return mode == GFXTEXF_POINT ? GL_NEAREST : GL_LINEAR;
}

// Whether the alpha test changes any pixel. A test that only drops
// fragments whose alpha rounds to 0 is redundant while they are blended by
// their own alpha onto the destination (normal or additive blending) and
// write no depth: such a fragment changes the destination by less than half
// a step, which rounds away. Mesa's fixed-function path is much slower per
// draw with the test on, so it is left off where it cannot matter.
bool AlphaTestNeeded(const uint32_t* rs, bool depthWrites) {
  if (!rs[GFXRS_ALPHATESTENABLE]) {
    return false;
  }
  const bool dropsOnlyZero = (rs[GFXRS_ALPHAFUNC] == GFXCMP_GREATEREQUAL && rs[GFXRS_ALPHAREF] <= 1) ||
                             (rs[GFXRS_ALPHAFUNC] == GFXCMP_GREATER && rs[GFXRS_ALPHAREF] == 0) ||
                             rs[GFXRS_ALPHAFUNC] == GFXCMP_ALWAYS;
  const bool blendedByAlpha =
      rs[GFXRS_ALPHABLENDENABLE] && rs[GFXRS_SRCBLEND] == GFXBLEND_SRCALPHA &&
      (rs[GFXRS_DESTBLEND] == GFXBLEND_INVSRCALPHA || rs[GFXRS_DESTBLEND] == GFXBLEND_ONE);
  return !(dropsOnlyZero && blendedByAlpha && !depthWrites);
}

// The fixed-function texture stage in shaders: colour alone, texture times
// colour, texture alone. Binding another texture then costs the driver no
// fixed-function bookkeeping. The matrices stay the fixed-function ones.
const char* const kVertexShader =
    "#version 120\n"
    "void main() {\n"
    "  gl_Position = ftransform();\n"
    "  gl_FrontColor = gl_Color;\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "}\n";
const char* const kFragmentShaders[] = {
    "#version 120\n"
    "void main() { gl_FragColor = gl_Color; }\n",
    "#version 120\n"
    "uniform sampler2D texture0;\n"
    "void main() { gl_FragColor = texture2D(texture0, gl_TexCoord[0].xy) * gl_Color; }\n",
    "#version 120\n"
    "uniform sampler2D texture0;\n"
    "void main() { gl_FragColor = texture2D(texture0, gl_TexCoord[0].xy); }\n",
};

uint32_t VerticesOf(GfxPrimitive type, uint32_t count) {
  switch (type) {
    case GFXPT_LINELIST:
      return 2 * count;
    case GFXPT_LINESTRIP:
      return count + 1;
    case GFXPT_TRIANGLELIST:
      return 3 * count;
    case GFXPT_TRIANGLEFAN:
      return count + 2;
  }
  return 0;
}

}  // namespace

bool GlDevice::BatchKey::SameStates(const BatchKey& o) const {
  return std::memcmp(renderStates, o.renderStates, sizeof(renderStates)) == 0 && alphaTest == o.alphaTest &&
         textured == o.textured && envMode == o.envMode && wrapS == o.wrapS && wrapT == o.wrapT &&
         magFilter == o.magFilter && minFilter == o.minFilter && lines == o.lines;
}

std::unique_ptr<GlDevice> GlDevice::Create(SDL_Window* window, const GfxPresentParameters& params) {
  if (!window) {
    return nullptr;
  }
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    return nullptr;
  }
  std::unique_ptr<GlDevice> device(new GlDevice(window, context));
  if (SDL_GL_MakeCurrent(window, context) != 0 || !device->_gl.Load()) {
    return nullptr;
  }
  GLint doubleBuffered = GL_FALSE;
  device->_gl.GetIntegerv(GL_DOUBLEBUFFER, &doubleBuffered);
  device->_windowDoubleBuffered = doubleBuffered != GL_FALSE;
  device->_gl.GetIntegerv(GL_DEPTH_BITS, &device->_windowDepthBits);
  if (!device->ApplyPresentation(params) || !device->SetUpBackBuffer(params)) {
    return nullptr;
  }

  const GlFunctions& gl = device->_gl;
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.MatrixMode(GL_TEXTURE);
  gl.LoadIdentity();
  gl.EnableClientState(GL_VERTEX_ARRAY);
  gl.EnableClientState(GL_COLOR_ARRAY);
  gl.Disable(GL_DITHER);
  gl.Disable(GL_LIGHTING);
  gl.Disable(GL_SCISSOR_TEST);

  // The starting states of the device the caller expects.
  uint32_t* rs = device->_renderStates;
  rs[GFXRS_ZENABLE] = params.enableAutoDepthStencil ? 1 : 0;
  rs[GFXRS_ZWRITEENABLE] = 1;
  rs[GFXRS_ZFUNC] = GFXCMP_LESSEQUAL;
  rs[GFXRS_ALPHATESTENABLE] = 0;
  rs[GFXRS_ALPHAREF] = 0;
  rs[GFXRS_ALPHAFUNC] = GFXCMP_ALWAYS;
  rs[GFXRS_ALPHABLENDENABLE] = 0;
  rs[GFXRS_SRCBLEND] = GFXBLEND_ONE;
  rs[GFXRS_DESTBLEND] = GFXBLEND_ZERO;
  rs[GFXRS_CULLMODE] = GFXCULL_CCW;
  rs[GFXRS_LIGHTING] = 1;
  rs[GFXRS_LASTPIXEL] = 1;
  uint32_t* ts = device->_stageStates;
  ts[GFXTSS_COLOROP] = GFXTOP_MODULATE;
  ts[GFXTSS_COLORARG1] = GFXTA_TEXTURE;
  ts[GFXTSS_COLORARG2] = GFXTA_DIFFUSE;
  ts[GFXTSS_ALPHAOP] = GFXTOP_SELECTARG1;
  ts[GFXTSS_ALPHAARG1] = GFXTA_TEXTURE;
  ts[GFXTSS_ALPHAARG2] = GFXTA_DIFFUSE;
  ts[GFXTSS_ADDRESSU] = GFXTADDRESS_WRAP;
  ts[GFXTSS_ADDRESSV] = GFXTADDRESS_WRAP;
  ts[GFXTSS_MAGFILTER] = GFXTEXF_POINT;
  ts[GFXTSS_MINFILTER] = GFXTEXF_POINT;

  device->_viewport = GfxViewport{0, 0, device->_width, device->_height, 0.0f, 1.0f};
  device->ApplyViewportAndProjection();
  device->BuildPrograms();
  device->_atlas = std::make_unique<GlAtlas>(device->_gl, device->_releaseQueue);
  return device;
}

GLuint GlDevice::Compile(GLenum kind, const char* source) {
  const GLuint shader = _gl.CreateShader(kind);
  _gl.ShaderSource(shader, 1, &source, nullptr);
  _gl.CompileShader(shader);
  GLint ok = GL_FALSE;
  _gl.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    _gl.DeleteShader(shader);
    return 0;
  }
  return shader;
}

void GlDevice::BuildPrograms() {
  const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
  bool ok = vertex != 0;
  for (int i = 0; i < kProgramCount && ok; ++i) {
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentShaders[i]);
    if (!fragment) {
      ok = false;
      break;
    }
    const GLuint program = _gl.CreateProgram();
    _gl.AttachShader(program, vertex);
    _gl.AttachShader(program, fragment);
    _gl.LinkProgram(program);
    _gl.DeleteShader(fragment);
    GLint linked = GL_FALSE;
    _gl.GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
      _gl.DeleteProgram(program);
      ok = false;
      break;
    }
    _programs[i] = program;
    const GLint sampler = _gl.GetUniformLocation(program, "texture0");
    if (sampler >= 0) {
      _gl.UseProgram(program);
      _gl.Uniform1i(sampler, 0);
    }
  }
  if (vertex) _gl.DeleteShader(vertex);
  _gl.UseProgram(0);
  if (!ok) {
    // The fixed-function stage draws the same, only slower.
    for (GLuint& program : _programs) {
      if (program) _gl.DeleteProgram(program);
      program = 0;
    }
  }
}

GlDevice::GlDevice(SDL_Window* window, SDL_GLContext context) : _window(window), _context(context) {
  _batch.reserve(kBatchLimit);
}

GlDevice::~GlDevice() {
  _batch.clear();
  _batchKey = BatchKey();
  _currentKey = BatchKey();
  _applied = BatchKey();
  _texture.reset();
  _atlas.reset();
  if (SDL_GL_MakeCurrent(_window, _context) == 0 && _gl.DeleteFramebuffers) {
    DeleteReleasedTextures();
    _gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    if (_framebuffer) _gl.DeleteFramebuffers(1, &_framebuffer);
    if (_colorBuffer) _gl.DeleteRenderbuffers(1, &_colorBuffer);
    if (_depthBuffer) _gl.DeleteRenderbuffers(1, &_depthBuffer);
    _gl.UseProgram(0);
    for (GLuint program : _programs) {
      if (program) _gl.DeleteProgram(program);
    }
  }
  // Textures still alive lose their names with the context.
  _releaseQueue->Close();
  SDL_GL_MakeCurrent(_window, nullptr);
  SDL_GL_DeleteContext(_context);
}

bool GlDevice::SetUpBackBuffer(const GfxPresentParameters& params) {
  _width = std::max(params.backBufferWidth, 1u);
  _height = std::max(params.backBufferHeight, 1u);
  _depth = params.enableAutoDepthStencil;
  _windowed = params.windowed;
  return ChooseTarget();
}

bool GlDevice::ChooseTarget() {
  // The window's own buffers serve when they have the back buffer's size
  // (and depth when asked): nothing to copy at Present. Otherwise a
  // framebuffer object of that size is drawn into and shown scaled.
  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(_window, &drawableWidth, &drawableHeight);
  const bool direct = _windowed && drawableWidth == static_cast<int>(_width) &&
                      drawableHeight == static_cast<int>(_height) && (!_depth || _windowDepthBits >= 16);
  if (direct) {
    _target = 0;
    _gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    _gl.DrawBuffer(_windowDoubleBuffered ? GL_BACK : GL_FRONT);
    return true;
  }
  if (!_framebuffer) {
    _gl.GenFramebuffers(1, &_framebuffer);
    _gl.GenRenderbuffers(1, &_colorBuffer);
  }
  _target = _framebuffer;
  _gl.BindFramebuffer(GL_FRAMEBUFFER, _framebuffer);
  if (_framebufferWidth == _width && _framebufferHeight == _height && _framebufferDepth == _depth) {
    return true;
  }
  const GLsizei w = static_cast<GLsizei>(_width);
  const GLsizei h = static_cast<GLsizei>(_height);
  _gl.BindRenderbuffer(GL_RENDERBUFFER, _colorBuffer);
  _gl.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
  _gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, _colorBuffer);
  if (_depth) {
    if (!_depthBuffer) _gl.GenRenderbuffers(1, &_depthBuffer);
    _gl.BindRenderbuffer(GL_RENDERBUFFER, _depthBuffer);
    _gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, w, h);
    _gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, _depthBuffer);
  } else if (_depthBuffer) {
    _gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
    _gl.DeleteRenderbuffers(1, &_depthBuffer);
    _depthBuffer = 0;
  }
  _gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
  if (_gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    _framebufferWidth = _framebufferHeight = 0;
    return false;
  }
  _framebufferWidth = _width;
  _framebufferHeight = _height;
  _framebufferDepth = _depth;
  return true;
}

bool GlDevice::ApplyPresentation(const GfxPresentParameters& params) {
  // Full screen is the desktop's: the window covers it and shows the back
  // buffer scaled, and maps the pointer back through the same letterbox.
  AppWindow& window = AppWindow::GetInstance();
  if (window.GetHandle() != _window) {
    return false;
  }
  if (window.IsFullScreen() == params.windowed && !window.SetFullScreen(!params.windowed)) {
    return false;
  }
  window.SetBackBufferSize(std::max(params.backBufferWidth, 1u), std::max(params.backBufferHeight, 1u));
  const bool vsync = params.windowed ? params.swapEffect == GFXSWAP_COPY_VSYNC
                                     : params.presentationInterval == GFXPRESENT_INTERVAL_ONE;
  SDL_GL_SetSwapInterval(vsync ? 1 : 0);
  return true;
}

bool GlDevice::Reset(const GfxPresentParameters& params) {
  Flush();
  if (SDL_GL_MakeCurrent(_window, _context) != 0 || !ApplyPresentation(params) || !SetUpBackBuffer(params)) {
    return false;
  }
  // States start over as after creation: the caller sets them again.
  _appliedValid = false;
  _keyDirty = true;
  _viewport = GfxViewport{0, 0, _width, _height, 0.0f, 1.0f};
  _view = Matrix4::Identity();
  _viewIsIdentity = true;
  ApplyViewportAndProjection();
  return true;
}

bool GlDevice::BeginScene() {
  DeleteReleasedTextures();
  _presented = false;
  // The window may have changed size since the last frame.
  const GLuint previous = _target;
  if (!ChooseTarget()) {
    return false;
  }
  if (_target != previous) {
    ApplyViewportAndProjection();
  }
  return true;
}

bool GlDevice::EndScene() {
  Flush();
  return true;
}

bool GlDevice::Present() {
  Flush();
  if (_target == 0) {
    SDL_GL_SwapWindow(_window);
    _presented = true;
    DeleteReleasedTextures();
    return true;
  }
  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(_window, &drawableWidth, &drawableHeight);
  // Where the window shows the back buffer, rows counted from its top.
  const Rect box = AppWindow::GetInstance().GetLetterbox(true).GetViewport();
  const int outWidth = box.width;
  const int outHeight = box.height;
  const int x = box.x;
  const int y = drawableHeight - box.y - box.height;

  _gl.BindFramebuffer(GL_READ_FRAMEBUFFER, _framebuffer);
  _gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  _gl.Disable(GL_SCISSOR_TEST);
  _gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (outWidth != drawableWidth || outHeight != drawableHeight) {
    _gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    _gl.Clear(GL_COLOR_BUFFER_BIT);
  }
  const bool sameSize = outWidth == static_cast<int>(_width) && outHeight == static_cast<int>(_height);
  _gl.BlitFramebuffer(0, 0, static_cast<GLint>(_width), static_cast<GLint>(_height), x, y, x + outWidth,
                      y + outHeight, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
  SDL_GL_SwapWindow(_window);
  _presented = true;
  _gl.BindFramebuffer(GL_FRAMEBUFFER, _framebuffer);
  DeleteReleasedTextures();
  return true;
}

bool GlDevice::Clear(uint32_t flags, uint32_t color, float z) {
  Flush();
  GLbitfield mask = 0;
  if (flags & GFXCLEAR_TARGET) {
    mask |= GL_COLOR_BUFFER_BIT;
    _gl.ClearColor(float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                   float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f);
  }
  if ((flags & GFXCLEAR_ZBUFFER) && _depth) {
    mask |= GL_DEPTH_BUFFER_BIT;
    _gl.ClearDepth(std::clamp(z, 0.0f, 1.0f));
    _gl.DepthMask(GL_TRUE);
  }
  if (mask == 0) {
    return true;
  }
  // Only the viewport is cleared.
  _gl.Enable(GL_SCISSOR_TEST);
  _gl.Scissor(static_cast<GLint>(_viewport.x),
              static_cast<GLint>(_height) - static_cast<GLint>(_viewport.y + _viewport.height),
              static_cast<GLsizei>(_viewport.width), static_cast<GLsizei>(_viewport.height));
  _gl.Clear(mask);
  _gl.Disable(GL_SCISSOR_TEST);
  if (mask & GL_DEPTH_BUFFER_BIT) {
    _gl.DepthMask(_appliedValid && !_applied.renderStates[GFXRS_ZWRITEENABLE] ? GL_FALSE : GL_TRUE);
  }
  return true;
}

bool GlDevice::SetViewport(const GfxViewport& viewport) {
  if (viewport.x + uint64_t(viewport.width) > _width || viewport.y + uint64_t(viewport.height) > _height) {
    return false;
  }
  Flush();
  _viewport = viewport;
  ApplyViewportAndProjection();
  return true;
}

bool GlDevice::SetTransform(GfxTransformKind kind, const Matrix4& matrix) {
  if (kind == GFXTS_VIEW) {
    _view = matrix;
    static const Matrix4 identity = Matrix4::Identity();
    _viewIsIdentity = std::memcmp(&matrix, &identity, sizeof(Matrix4)) == 0;
    return true;
  }
  if (kind == GFXTS_PROJECTION) {
    Flush();
    _projection = matrix;
    ApplyViewportAndProjection();
    return true;
  }
  return false;
}

void GlDevice::ApplyViewportAndProjection() {
  const GLint glY = static_cast<GLint>(_height) - static_cast<GLint>(_viewport.y + _viewport.height);
  _gl.Viewport(static_cast<GLint>(_viewport.x), glY, static_cast<GLsizei>(_viewport.width),
               static_cast<GLsizei>(_viewport.height));
  _gl.DepthRange(std::clamp(_viewport.minZ, 0.0f, 1.0f), std::clamp(_viewport.maxZ, 0.0f, 1.0f));
  // Half a pixel right and down, in the viewport's clip units, undoes the
  // caller's pixel-centre shift.
  const float w = float(std::max(_viewport.width, 1u));
  const float h = float(std::max(_viewport.height, 1u));
  const Matrix4 shifted = _projection * Matrix4::Translation(Vector3(1.0f / w, -1.0f / h, 0.0f));
  _gl.MatrixMode(GL_PROJECTION);
  _gl.LoadMatrixf(&shifted.m[0][0]);
  _gl.MatrixMode(GL_MODELVIEW);
}

bool GlDevice::SetRenderState(GfxRenderState state, uint32_t value) {
  if (state >= GFXRS_COUNT) {
    return false;
  }
  _keyDirty |= _renderStates[state] != value;
  _renderStates[state] = value;
  return true;
}

bool GlDevice::SetTextureStageState(uint32_t stage, GfxStageState state, uint32_t value) {
  if (stage != 0 || state >= GFXTSS_COUNT) {
    return false;
  }
  _keyDirty |= _stageStates[state] != value;
  _stageStates[state] = value;
  return true;
}

bool GlDevice::SetTexture(uint32_t stage, IGfxTexture* texture) {
  if (stage != 0) {
    return false;
  }
  auto* glTexture = dynamic_cast<GlTexture*>(texture);
  // A texture of another device has no name in this context.
  if (glTexture && glTexture->GetData()->queue != _releaseQueue) {
    glTexture = nullptr;
  }
  GlTexture::Data* data = glTexture ? glTexture->GetData().get() : nullptr;
  if (data != _texture.get()) {
    _texture = glTexture ? glTexture->GetData() : nullptr;
    _keyDirty = true;
  }
  return texture == nullptr || glTexture != nullptr;
}

bool GlDevice::SetVertexShader(uint32_t vertexFormat) {
  if (vertexFormat != GFXFVF_XYZ_DIFFUSE && vertexFormat != GFXFVF_XYZ_DIFFUSE_TEX1) {
    return false;
  }
  _keyDirty |= _vertexFormat != vertexFormat;
  _vertexFormat = vertexFormat;
  return true;
}

GlDevice::BatchKey GlDevice::MakeKey(bool lines) const {
  BatchKey key;
  std::memcpy(key.renderStates, _renderStates, sizeof(key.renderStates));
  key.lines = lines;
  key.alphaTest = AlphaTestNeeded(
      _renderStates, _depth && _renderStates[GFXRS_ZENABLE] && _renderStates[GFXRS_ZWRITEENABLE]);
  const uint32_t op = _stageStates[GFXTSS_COLOROP];
  const bool textureColour =
      op == GFXTOP_MODULATE || (op == GFXTOP_SELECTARG1 && _stageStates[GFXTSS_COLORARG1] == GFXTA_TEXTURE);
  key.textured = _vertexFormat == GFXFVF_XYZ_DIFFUSE_TEX1 && _texture && textureColour;
  if (key.textured) {
    key.texture = _texture;
    key.envMode = op == GFXTOP_MODULATE ? GL_MODULATE : GL_REPLACE;
    key.wrapS = AddressMode(_stageStates[GFXTSS_ADDRESSU]);
    key.wrapT = AddressMode(_stageStates[GFXTSS_ADDRESSV]);
    key.magFilter = FilterMode(_stageStates[GFXTSS_MAGFILTER]);
    key.minFilter = FilterMode(_stageStates[GFXTSS_MINFILTER]);
  }
  return key;
}

bool GlDevice::DrawPrimitiveUP(GfxPrimitive type, uint32_t primitiveCount, const void* vertices,
                               uint32_t stride) {
  const uint32_t expectedStride = _vertexFormat == GFXFVF_XYZ_DIFFUSE_TEX1 ? 24 : 16;
  const uint32_t count = VerticesOf(type, primitiveCount);
  if (!vertices || stride != expectedStride || (count == 0 && primitiveCount != 0)) {
    return false;
  }
  if (primitiveCount == 0) {
    return true;
  }
  const bool lines = type == GFXPT_LINELIST || type == GFXPT_LINESTRIP;
  if (_keyDirty || lines != _currentKey.lines) {
    _currentKey = MakeKey(lines);
    _keyDirty = false;
  }
  // The texture the batch samples: the texture's own, or the atlas page
  // that holds it, with the coordinates mapped into its cell.
  const std::shared_ptr<GlTexture::Data>* source = &_currentKey.texture;
  _uScale = _vScale = 1.0f;
  _uOffset = _vOffset = 0.0f;
  if (_currentKey.textured) {
    GlTexture::Data& texture = *_currentKey.texture;
    // A run of draws with one texture samples its own, more compact texture;
    // draws that change textures share atlas pages. A batch that can take
    // the draw as it is goes on.
    bool atlas = false;
    if (_currentKey.wrapS == GL_CLAMP_TO_EDGE && _currentKey.wrapT == GL_CLAMP_TO_EDGE &&
        CoordinatesWithinTexture(static_cast<const uint8_t*>(vertices), count, stride)) {
      if (!_batch.empty() && _batchKey.texture == _currentKey.texture) {
        atlas = false;
      } else if (!_batch.empty() && texture.atlasPage && _batchKey.texture == texture.atlasPage) {
        atlas = true;
      } else {
        atlas = &texture != _lastTexture && _atlas->Place(texture);
      }
    }
    _lastTexture = &texture;
    if (atlas) {
      source = &texture.atlasPage;
      if (GlAtlas::NeedsFill(texture)) {
        // Draws batched before see the cell as it was.
        if (_batchKey.texture == *source) Flush();
        _atlas->Fill(texture);
      }
      const float side = float(GlAtlas::kPageSize);
      _uScale = float(texture.width) / side;
      _vScale = float(texture.height) / side;
      _uOffset = float(texture.atlasX) / side;
      _vOffset = float(texture.atlasY) / side;
    } else if (GlTexture::NeedsUpload(texture)) {
      if (_batchKey.texture == *source) Flush();
      GlTexture::Upload(_gl, texture);
    }
  }
  if (!_batchKey.SameStates(_currentKey) || _batchKey.texture != *source) {
    Flush();
    _batchKey = _currentKey;
    _batchKey.texture = *source;
  }
  const size_t added = type == GFXPT_TRIANGLEFAN ? 3 * primitiveCount
                       : type == GFXPT_LINESTRIP ? 2 * primitiveCount
                                                 : count;
  if (_batch.size() + added > kBatchLimit) {
    Flush();
  }

  const auto* data = static_cast<const uint8_t*>(vertices);
  switch (type) {
    case GFXPT_TRIANGLEFAN:
      for (uint32_t i = 1; i + 1 < count; ++i) {
        Append(data, stride, 0);
        Append(data, stride, i);
        Append(data, stride, i + 1);
      }
      break;
    case GFXPT_LINESTRIP:
      for (uint32_t i = 0; i + 1 < count; ++i) {
        Append(data, stride, i);
        Append(data, stride, i + 1);
      }
      break;
    default:
      for (uint32_t i = 0; i < count; ++i) {
        Append(data, stride, i);
      }
      break;
  }
  return true;
}

void GlDevice::Append(const uint8_t* data, uint32_t stride, uint32_t index) {
  const uint8_t* p = data + size_t(stride) * index;
  float xyz[3];
  uint32_t color;
  std::memcpy(xyz, p, sizeof(xyz));
  std::memcpy(&color, p + 12, sizeof(color));
  Vertex v;
  if (_viewIsIdentity) {
    v.x = xyz[0];
    v.y = xyz[1];
    v.z = xyz[2];
  } else {
    const auto& m = _view.m;
    v.x = xyz[0] * m[0][0] + xyz[1] * m[1][0] + xyz[2] * m[2][0] + m[3][0];
    v.y = xyz[0] * m[0][1] + xyz[1] * m[1][1] + xyz[2] * m[2][1] + m[3][1];
    v.z = xyz[0] * m[0][2] + xyz[1] * m[1][2] + xyz[2] * m[2][2] + m[3][2];
  }
  v.rgba[0] = static_cast<uint8_t>(color >> 16);
  v.rgba[1] = static_cast<uint8_t>(color >> 8);
  v.rgba[2] = static_cast<uint8_t>(color);
  v.rgba[3] = static_cast<uint8_t>(color >> 24);
  if (stride >= 24) {
    float uv[2];
    std::memcpy(uv, p + 16, sizeof(uv));
    v.u = _uOffset + uv[0] * _uScale;
    v.v = _vOffset + uv[1] * _vScale;
  } else {
    v.u = v.v = 0.0f;
  }

  _batch.push_back(v);
}

void GlDevice::ApplyKey(const BatchKey& key) {
  const bool all = !_appliedValid;
  const uint32_t* rs = key.renderStates;
  const uint32_t* old = _applied.renderStates;
  auto changed = [&](GfxRenderState s) { return all || rs[s] != old[s]; };
  auto toggle = [&](GLenum cap, bool on) { on ? _gl.Enable(cap) : _gl.Disable(cap); };

  if (changed(GFXRS_ZENABLE)) toggle(GL_DEPTH_TEST, rs[GFXRS_ZENABLE] != 0 && _depth);
  if (changed(GFXRS_ZWRITEENABLE)) _gl.DepthMask(rs[GFXRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
  if (changed(GFXRS_ZFUNC)) _gl.DepthFunc(CompareFunction(rs[GFXRS_ZFUNC]));
  if (all || key.alphaTest != _applied.alphaTest) toggle(GL_ALPHA_TEST, key.alphaTest);
  if (changed(GFXRS_ALPHAREF) || changed(GFXRS_ALPHAFUNC)) {
    // The reference is an 8-bit value, compared as such: some drivers round
    // it to 8 bits, so it must be one exactly.
    const float ref = float(rs[GFXRS_ALPHAREF] & 0xFF) / 255.0f;
    _gl.AlphaFunc(CompareFunction(rs[GFXRS_ALPHAFUNC]), ref);
  }
  if (changed(GFXRS_ALPHABLENDENABLE)) toggle(GL_BLEND, rs[GFXRS_ALPHABLENDENABLE] != 0);
  if (changed(GFXRS_SRCBLEND) || changed(GFXRS_DESTBLEND)) {
    _gl.BlendFunc(BlendFactor(rs[GFXRS_SRCBLEND]), BlendFactor(rs[GFXRS_DESTBLEND]));
  }
  if (changed(GFXRS_CULLMODE)) {
    // The mode names the winding, as seen on screen, that is dropped.
    const uint32_t cull = rs[GFXRS_CULLMODE];
    toggle(GL_CULL_FACE, cull == GFXCULL_CW || cull == GFXCULL_CCW);
    _gl.CullFace(GL_BACK);
    _gl.FrontFace(cull == GFXCULL_CW ? GL_CCW : GL_CW);
  }
  if (all || key.textured != _applied.textured) {
    toggle(GL_TEXTURE_2D, key.textured);
    key.textured ? _gl.EnableClientState(GL_TEXTURE_COORD_ARRAY)
                 : _gl.DisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  if (key.textured) {
    if (all || key.envMode != _applied.envMode || !_applied.textured) {
      _gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, key.envMode);
    }
    GlTexture::Bind(_gl, *key.texture, key.wrapS, key.wrapT, key.magFilter, key.minFilter);
  }
  if (_programs[0]) {
    const GLuint program = !key.textured                ? _programs[PROGRAM_COLOR]
                           : key.envMode == GL_MODULATE ? _programs[PROGRAM_MODULATE]
                                                        : _programs[PROGRAM_REPLACE];
    if (all || program != _appliedProgram) {
      _gl.UseProgram(program);
      _appliedProgram = program;
    }
  }
  // The texture itself is not kept here, so a released one is not held.
  _applied = key;
  _applied.texture.reset();
  _appliedValid = true;
}

void GlDevice::Flush() {
  if (_batch.empty()) {
    return;
  }
  ApplyKey(_batchKey);
  // The batch keeps its storage, so the arrays are set once.
  const auto* base = reinterpret_cast<const uint8_t*>(_batch.data());
  if (base != _arrays) {
    _gl.VertexPointer(3, GL_FLOAT, sizeof(Vertex), base + offsetof(Vertex, x));
    _gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), base + offsetof(Vertex, rgba));
    _gl.TexCoordPointer(2, GL_FLOAT, sizeof(Vertex), base + offsetof(Vertex, u));
    _arrays = base;
  }
  _gl.DrawArrays(_batchKey.lines ? GL_LINES : GL_TRIANGLES, 0, static_cast<GLsizei>(_batch.size()));
  _batch.clear();
}

void GlDevice::DeleteReleasedTextures() {
  std::vector<GLuint> names;
  std::vector<GlReleaseQueue::Cell> cells;
  _releaseQueue->Take(names, cells);
  if (!names.empty()) {
    _gl.DeleteTextures(static_cast<GLsizei>(names.size()), names.data());
  }
  if (_atlas) {
    for (const GlReleaseQueue::Cell& cell : cells) _atlas->Free(cell);
  }
}

bool GlDevice::CoordinatesWithinTexture(const uint8_t* vertices, uint32_t count, uint32_t stride) {
  for (uint32_t i = 0; i < count; ++i) {
    float uv[2];
    std::memcpy(uv, vertices + size_t(i) * stride + 16, sizeof(uv));
    if (!(uv[0] >= 0.0f && uv[0] <= 1.0f && uv[1] >= 0.0f && uv[1] <= 1.0f)) {
      return false;
    }
  }
  return true;
}

std::unique_ptr<IGfxTexture> GlDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t format) {
  if (width == 0 || height == 0 || (format != GFXFMT_A8R8G8B8 && format != GFXFMT_X8R8G8B8)) {
    return nullptr;
  }
  return std::make_unique<GlTexture>(width, height, format, _releaseQueue);
}

std::unique_ptr<IGfxSurface> GlDevice::CreateImageSurface(uint32_t width, uint32_t height, uint32_t format) {
  if (width == 0 || height == 0 || (format != GFXFMT_A8R8G8B8 && format != GFXFMT_X8R8G8B8)) {
    return nullptr;
  }
  return std::make_unique<GlSurface>(width, height, format, true);
}

std::unique_ptr<IGfxSurface> GlDevice::GetBackBuffer() {
  return std::make_unique<GlSurface>(_width, _height, GFXFMT_X8R8G8B8, false);
}

bool GlDevice::CopyRects(IGfxSurface& source, IGfxSurface& destination) {
  auto* from = dynamic_cast<GlSurface*>(&source);
  auto* to = dynamic_cast<GlSurface*>(&destination);
  if (!from || !to || !from->IsBackBuffer() || to->IsBackBuffer()) {
    return false;
  }
  Flush();
  GfxSurfaceDesc desc;
  to->GetDesc(desc);
  const uint32_t w = std::min(desc.width, _width);
  const uint32_t h = std::min(desc.height, _height);
  std::vector<uint8_t> rows(size_t(w) * h * 4);
  _gl.BindFramebuffer(GL_READ_FRAMEBUFFER, _target);
  if (_target == 0) {
    // Once presented, the frame is in the front buffer.
    _gl.ReadBuffer(_windowDoubleBuffered && !_presented ? GL_BACK : GL_FRONT);
  }
  _gl.PixelStorei(GL_PACK_ALIGNMENT, 4);
  _gl.PixelStorei(GL_PACK_ROW_LENGTH, 0);
  // The top rows of the back buffer, which OpenGL counts from the bottom.
  _gl.ReadPixels(0, static_cast<GLint>(_height - h), static_cast<GLsizei>(w), static_cast<GLsizei>(h),
                 GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
  uint8_t* out = to->GetPixels();
  for (uint32_t y = 0; y < h; ++y) {
    std::memcpy(out + size_t(y) * desc.width * 4, rows.data() + size_t(h - 1 - y) * w * 4, size_t(w) * 4);
  }
  return true;
}

void GlDevice::Finish() {
  Flush();
  _gl.Finish();
}

}  // namespace LLF
