// Ilut: the three ILUT calls of the demo, done as ILUT 1.7 does them, for builds on the GL layer
//
// The three calls of DevIL's ILUT that the demo makes, done with DevIL's image libraries and GL calls, as
// ILUT 1.7 does them: its GL set-up leaves GL state behind that the demo's drawing then sees, and an image
// goes up bottom row first (an image whose rows run from the top, as decoded PNG and JPEG files do, is
// flipped), as RGB or RGBA bytes.
#include <GL/gl.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

#include "platform/ilut/IlutGl.h"

namespace {

bool HasAlpha(ILint format) {
  return format == IL_RGBA || format == IL_BGRA || format == IL_LUMINANCE_ALPHA || format == IL_ALPHA;
}

}  // namespace

ILboolean ILAPIENTRY ilutRenderer(ILenum renderer) {
  if (renderer != ILUT_OPENGL) return IL_FALSE;
  ilut::SelectGl();
  return IL_TRUE;
}

GLuint ILAPIENTRY ilutGLBindTexImage() {
  const auto source = static_cast<ILuint>(ilGetInteger(IL_CUR_IMAGE));
  const ILint width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
  if (source == 0 || width <= 0 || height <= 0) return 0;
  const bool alpha = HasAlpha(ilGetInteger(IL_IMAGE_FORMAT));
  const bool topFirst = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT;
  // A converted copy: the caller's image stays as it was.
  ILuint copy = 0;
  ilGenImages(1, &copy);
  ilBindImage(copy);
  GLuint name = 0;
  if (ilCopyImage(source) && ilConvertImage(alpha ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE) &&
      (!topFirst || iluFlipImage())) {
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    ilut::SetTextureState();
    glTexImage2D(GL_TEXTURE_2D, 0, alpha ? 4 : 3, width, height, 0, alpha ? GL_RGBA : GL_RGB,
                 GL_UNSIGNED_BYTE, ilGetData());
  }
  ilDeleteImages(1, &copy);
  ilBindImage(source);
  return name;
}

GLuint ILAPIENTRY ilutGLLoadImage(ILstring fileName) {
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  const GLuint name = ilLoadImage(fileName) ? ilutGLBindTexImage() : 0;
  ilDeleteImages(1, &image);
  return name;
}
