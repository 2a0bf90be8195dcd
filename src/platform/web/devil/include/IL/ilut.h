// ilut.h (browser build): the part of DevIL's GL toolkit the demo's start-up calls
//
// Textures are made as DevIL makes them: repeat wrapping, linear filters, no mipmaps, modulate, the picture's
// own channel count, bottom row first.
#pragma once

#include <GL/gl.h>

#include "IL/il.h"

#ifdef __cplusplus
extern "C" {
#endif

#define ILUT_OPENGL 0

// Selects GL; as DevIL does, enables texturing, sets the pixel-store alignments to 1 and
// gives the bound texture the upload's parameters, for good.
ILboolean ilutRenderer(ILenum renderer);
// A new GL texture of the bound image, left bound; a 1 x 1 grey one when the image
// holds no picture.
GLuint ilutGLBindTexImage(void);
// Loads a file into a texture of its own; 0 (and no texture) when it cannot be read.
GLuint ilutGLLoadImage(ILstring fileName);

#ifdef __cplusplus
}
#endif
