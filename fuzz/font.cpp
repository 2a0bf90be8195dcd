// Fuzz target: the TGA font reader uploading into a headless GL texture
#include "text/Font.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>

#include "platform/HeadlessGL.h"
#include "support/FuzzInput.h"

namespace {

// One context and one texture name for the whole run: a name per input would pile up
// textures in the driver.
unsigned int FontTexture() {
  static platform::HeadlessGL gl;
  static unsigned int texture = 0;
  if (texture == 0) {
    fuzz::Require(gl.Create({16, 16, 32, 16}), "a headless GL context");
    glGenTextures(1, &texture);
  }
  return texture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const unsigned int texture = FontTexture();
  const std::string& path = fuzz::WriteInputFile(data, size);
  const TgaResult result = LoadTgaTexture(path.c_str(), texture);
  const int code = static_cast<int>(result);
  fuzz::Require(result == TgaResult::kLoaded || (code >= -17 && code <= -14),
                "a result code of the reader (the file exists, so never -13)");
  if (result == TgaResult::kLoaded) {
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    fuzz::Require(width == (data[12] | data[13] << 8), "the texture has the file's width");
  }
  return 0;
}
