// Gl11: the GL 1.1 and GLU calls the demo makes, implemented on OpenGL ES 3.0 / WebGL 2.
//
// The library defines the standard C entry points (glBegin, glDrawElements, gluLookAt, ...),
// so the engine's modules compile unchanged against <GL/gl.h> and <GL/glu.h> and link this
// instead of the system's GL. A binary that links it must not also link libGL, libOpenGL,
// libGLU or libILUT (they define the same names). It reaches the real ES 3 functions through
// a table filled by Attach: from the loader given natively (eglGetProcAddress), from
// emscripten's WebGL 2 bindings on the web. Link the web build with -sMAX_WEBGL_VERSION=2 and
// -sMIN_WEBGL_VERSION=2, and without -sLEGACY_GL_EMULATION, -sFULL_ES2 or -sFULL_ES3 (each would
// bring JavaScript of its own for names the layer defines).
//
// What it draws, with the semantics Mesa gives the native build:
// - glBegin/glEnd with every primitive mode; glVertex2f/3f, glColor3f/4f/4fv, glTexCoord2f/2fv/2i,
//   glNormal3f between them or outside (current values).
// - Client arrays: glVertexPointer (2 or 3 floats), glColorPointer (3 or 4 unsigned bytes or
//   floats), glTexCoordPointer (1 or 2 floats), glEnable/DisableClientState, glDrawElements
//   with 8-, 16- or 32-bit indices, glPush/PopClientAttrib.
// - Textures: glGen/Bind/DeleteTextures; glTexImage2D level 0 with internal formats 1 to 4,
//   GL_ALPHA, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA (and their 8-bit sized forms)
//   from unsigned bytes in the same formats, honouring the unpack alignment, row length and
//   skips; glTexParameteri/f for the filters and GL_REPEAT, GL_CLAMP (with its border),
//   GL_CLAMP_TO_EDGE; glTexEnvi/f GL_MODULATE and GL_REPLACE. A texture without an image, or
//   with a mipmapping minifying filter, is incomplete: it draws as if texturing were off.
// - Matrices: the three stacks, glLoadIdentity, glPush/PopMatrix, glTranslatef, glRotatef,
//   glScalef, glMultMatrixf/d, glOrtho, gluPerspective, gluLookAt, glGetFloatv of the matrices.
// - Lighting: GL_LIGHT0 (ambient, diffuse, specular, position, positional or directional),
//   glLightModelfv(GL_LIGHT_MODEL_AMBIENT), GL_COLOR_MATERIAL in its default mode (ambient and
//   diffuse follow the colour), the default material otherwise, GL_NORMALIZE.
// - State: glEnable/glDisable/glIsEnabled of GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING,
//   GL_LIGHT0, GL_BLEND, GL_ALPHA_TEST, GL_CULL_FACE, GL_SCISSOR_TEST, GL_FOG, GL_LINE_SMOOTH,
//   GL_COLOR_MATERIAL, GL_NORMALIZE, GL_DITHER; glPolygonMode (lines and points per face, culled
//   as GL does), glShadeModel (GL's provoking vertices), glFrontFace, glCullFace, glBlendFunc,
//   glAlphaFunc, glHint, glScissor, glViewport, glClear, glClearColor, glPush/PopAttrib (every
//   group the subset has), glGetIntegerv/glGetFloatv (see Query.cpp), glGetError, glFlush,
//   glFinish, glPixelStorei, glReadPixels (GL_RGBA, GL_BGRA or GL_RGB, unsigned bytes).
// - Smooth lines (GL_LINE_SMOOTH) as Mesa draws them: two pixels wide, alpha by coverage.
// What it leaves out: fog is state only (the demo never turns it on); the specular term (the
// default material has none, and glMaterial is not there); lights other than GL_LIGHT0,
// attenuation and spots; a flat-shaded, lit polygon drawn as lines lights each line by its own
// end, not by the polygon's last vertex. Other calls, enums
// and formats are not there; unsupported values of the calls that are there set
// GL_INVALID_ENUM or GL_INVALID_VALUE, as GL does for values it does not know.
//
// Drawing is batched: consecutive glBegin/glEnd blocks (and glDrawElements) that share state
// go to ES as one draw, made when the state changes, or at glFlush, glFinish, glReadPixels or
// glClear. Call glFlush (or glFinish) before presenting a frame.
//
// The ES context needs a depth buffer; on the web create it without antialiasing and without
// alpha (what the page shows must not depend on the alpha the demo leaves in the framebuffer).
#pragma once

#include <string>

namespace webgl {

// Returns the address of an ES 3 function by name, as eglGetProcAddress does.
using ProcLoader = void* (*)(const char* name);

// Takes over the current ES 3 / WebGL 2 context: builds the layer's shaders and buffers and
// starts from GL 1.1's initial state (the viewport and scissor box from the context's
// drawable). Natively `load` must be given; on the web it is not used. Attaching again, to the
// same or another context, starts over. False, with LastError() set, when the context lacks
// what the layer needs; the layer then stays detached and every GL call does nothing.
bool Attach(ProcLoader load = nullptr);

// Forgets the context without calling it (it may no longer be current, or already be gone):
// GL calls do nothing until the next Attach. The context's own destruction frees the layer's
// GPU objects.
void Detach();

bool IsAttached();
const std::string& LastError();

}  // namespace webgl
