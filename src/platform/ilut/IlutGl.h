// IlutGl: the GL state DevIL's GL toolkit leaves behind, shared by the native and browser stand-ins for it
#pragma once

#include <GL/gl.h>

namespace ilut {

// On the bound texture, as every upload of ILUT 1.7 does it: repeat wrapping, linear filters, modulate,
// and tightly packed rows read from their start.
inline void SetTextureState() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

// Selecting GL as the renderer: texturing on, the upload state on whatever texture is bound, and
// byte-aligned read-back. The demo's drawing sees all of it afterwards.
inline void SelectGl() {
  glEnable(GL_TEXTURE_2D);
  SetTextureState();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

}  // namespace ilut
