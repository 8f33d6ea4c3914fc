#pragma once
// The OpenGL entry points the device layer uses, found at run time in the
// library SDL loaded (SDL_GL_LoadLibrary), so the program does not link
// against OpenGL. Types and constants come from the system's GL headers;
// their function declarations are never called.
#include <GL/gl.h>
#include <GL/glext.h>

namespace LLF {

// (result, name, parameters) of each entry point; "gl" is prefixed when
// looking it up.
#define LLF_GL_FUNCTIONS(X)                                                                            \
  X(const GLubyte*, GetString, (GLenum))                                                               \
  X(void, GetIntegerv, (GLenum, GLint*))                                                               \
  X(GLenum, GetError, (void))                                                                          \
  X(void, Viewport, (GLint, GLint, GLsizei, GLsizei))                                                  \
  X(void, DepthRange, (GLclampd, GLclampd))                                                            \
  X(void, Scissor, (GLint, GLint, GLsizei, GLsizei))                                                   \
  X(void, MatrixMode, (GLenum))                                                                        \
  X(void, LoadMatrixf, (const GLfloat*))                                                               \
  X(void, LoadIdentity, (void))                                                                        \
  X(void, Enable, (GLenum))                                                                            \
  X(void, Disable, (GLenum))                                                                           \
  X(void, CullFace, (GLenum))                                                                          \
  X(void, FrontFace, (GLenum))                                                                         \
  X(void, BlendFunc, (GLenum, GLenum))                                                                 \
  X(void, AlphaFunc, (GLenum, GLclampf))                                                               \
  X(void, DepthFunc, (GLenum))                                                                         \
  X(void, DepthMask, (GLboolean))                                                                      \
  X(void, ColorMask, (GLboolean, GLboolean, GLboolean, GLboolean))                                     \
  X(void, TexEnvi, (GLenum, GLenum, GLint))                                                            \
  X(void, GenTextures, (GLsizei, GLuint*))                                                             \
  X(void, DeleteTextures, (GLsizei, const GLuint*))                                                    \
  X(void, BindTexture, (GLenum, GLuint))                                                               \
  X(void, TexImage2D, (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*))    \
  X(void, TexSubImage2D, (GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*)) \
  X(void, TexParameteri, (GLenum, GLenum, GLint))                                                      \
  X(void, PixelStorei, (GLenum, GLint))                                                                \
  X(void, ClearColor, (GLclampf, GLclampf, GLclampf, GLclampf))                                        \
  X(void, ClearDepth, (GLclampd))                                                                      \
  X(void, Clear, (GLbitfield))                                                                         \
  X(void, EnableClientState, (GLenum))                                                                 \
  X(void, DisableClientState, (GLenum))                                                                \
  X(void, VertexPointer, (GLint, GLenum, GLsizei, const void*))                                        \
  X(void, ColorPointer, (GLint, GLenum, GLsizei, const void*))                                         \
  X(void, TexCoordPointer, (GLint, GLenum, GLsizei, const void*))                                      \
  X(void, DrawArrays, (GLenum, GLint, GLsizei))                                                        \
  X(void, ReadPixels, (GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*))                         \
  X(void, ReadBuffer, (GLenum))                                                                        \
  X(void, DrawBuffer, (GLenum))                                                                        \
  X(void, Finish, (void))                                                                              \
  X(GLuint, CreateShader, (GLenum))                                                                    \
  X(void, ShaderSource, (GLuint, GLsizei, const GLchar* const*, const GLint*))                         \
  X(void, CompileShader, (GLuint))                                                                     \
  X(void, GetShaderiv, (GLuint, GLenum, GLint*))                                                       \
  X(void, DeleteShader, (GLuint))                                                                      \
  X(GLuint, CreateProgram, (void))                                                                     \
  X(void, AttachShader, (GLuint, GLuint))                                                              \
  X(void, LinkProgram, (GLuint))                                                                       \
  X(void, GetProgramiv, (GLuint, GLenum, GLint*))                                                      \
  X(void, UseProgram, (GLuint))                                                                        \
  X(void, DeleteProgram, (GLuint))                                                                     \
  X(GLint, GetUniformLocation, (GLuint, const GLchar*))                                                \
  X(void, Uniform1i, (GLint, GLint))

// The framebuffer entry points: core in OpenGL 3, else the "EXT" extensions.
#define LLF_GL_FRAMEBUFFER_FUNCTIONS(X)                              \
  X(void, GenFramebuffers, (GLsizei, GLuint*))                       \
  X(void, DeleteFramebuffers, (GLsizei, const GLuint*))              \
  X(void, BindFramebuffer, (GLenum, GLuint))                         \
  X(GLenum, CheckFramebufferStatus, (GLenum))                        \
  X(void, FramebufferRenderbuffer, (GLenum, GLenum, GLenum, GLuint)) \
  X(void, GenRenderbuffers, (GLsizei, GLuint*))                      \
  X(void, DeleteRenderbuffers, (GLsizei, const GLuint*))             \
  X(void, BindRenderbuffer, (GLenum, GLuint))                        \
  X(void, RenderbufferStorage, (GLenum, GLenum, GLsizei, GLsizei))   \
  X(void, BlitFramebuffer, (GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum))

struct GlFunctions {
#define LLF_GL_MEMBER(result, name, params) result(APIENTRY* name) params = nullptr;
  LLF_GL_FUNCTIONS(LLF_GL_MEMBER)
  LLF_GL_FRAMEBUFFER_FUNCTIONS(LLF_GL_MEMBER)
#undef LLF_GL_MEMBER

  // Finds every entry point in the loaded library; false when one is
  // missing or the driver offers no framebuffer objects with blits. A
  // context must be current.
  bool Load();
};

}  // namespace LLF
