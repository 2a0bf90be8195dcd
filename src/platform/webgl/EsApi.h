// EsApi: the OpenGL ES 3.0 functions the layer calls, as a table of pointers
//
// The layer defines GL 1.1 functions of the same names (glBindTexture, glClear, ...), so it never calls ES by
// symbol: natively the table comes from eglGetProcAddress, on the web from emscripten's WebGL 2 bindings
// (emscripten_gl*).
#pragma once

#define GL_GLES_PROTOTYPES 0
#include <GLES3/gl3.h>

#include <string>

#include "platform/webgl/Gl11.h"

namespace webgl {

#define WEBGL_ES_FUNCTIONS(X)                                  \
  X(PFNGLATTACHSHADERPROC, AttachShader)                       \
  X(PFNGLBINDBUFFERPROC, BindBuffer)                           \
  X(PFNGLBINDBUFFERBASEPROC, BindBufferBase)                   \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                         \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                 \
  X(PFNGLBLENDFUNCPROC, BlendFunc)                             \
  X(PFNGLBUFFERDATAPROC, BufferData)                           \
  X(PFNGLCLEARPROC, Clear)                                     \
  X(PFNGLCLEARCOLORPROC, ClearColor)                           \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                     \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                     \
  X(PFNGLCREATESHADERPROC, CreateShader)                       \
  X(PFNGLCULLFACEPROC, CullFace)                               \
  X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                     \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                     \
  X(PFNGLDELETESHADERPROC, DeleteShader)                       \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                   \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)           \
  X(PFNGLDISABLEPROC, Disable)                                 \
  X(PFNGLDRAWELEMENTSPROC, DrawElements)                       \
  X(PFNGLENABLEPROC, Enable)                                   \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray) \
  X(PFNGLFINISHPROC, Finish)                                   \
  X(PFNGLFLUSHPROC, Flush)                                     \
  X(PFNGLFRONTFACEPROC, FrontFace)                             \
  X(PFNGLGENBUFFERSPROC, GenBuffers)                           \
  X(PFNGLGENTEXTURESPROC, GenTextures)                         \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                 \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                         \
  X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)             \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                       \
  X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)               \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                         \
  X(PFNGLGETUNIFORMBLOCKINDEXPROC, GetUniformBlockIndex)       \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)           \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                         \
  X(PFNGLPIXELSTOREIPROC, PixelStorei)                         \
  X(PFNGLREADPIXELSPROC, ReadPixels)                           \
  X(PFNGLSCISSORPROC, Scissor)                                 \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                       \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                           \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                     \
  X(PFNGLUNIFORM1IPROC, Uniform1i)                             \
  X(PFNGLUNIFORMBLOCKBINDINGPROC, UniformBlockBinding)         \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                           \
  X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)         \
  X(PFNGLVIEWPORTPROC, Viewport)

struct EsApi {
#define WEBGL_ES_MEMBER(type, name) type name = nullptr;
  WEBGL_ES_FUNCTIONS(WEBGL_ES_MEMBER)
#undef WEBGL_ES_MEMBER
};

// Fills the table; false with the first missing function named in `error`.
bool LoadEsApi(ProcLoader load, EsApi* api, std::string* error);

}  // namespace webgl
