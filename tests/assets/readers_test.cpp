// The generated files loaded the way the demo loads them, on a headless GL context
#include <GL/gl.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "RunFolder.h"
#include "image/Image.h"
#include "image/Jpeg.h"
#include "support/GLTest.h"
#include "text/Font.h"

using namespace assettest;

namespace {

ShowMessageBox Recorder(int& boxes) {
  return [&boxes](const std::string&, const std::string&, unsigned, BoxOwner) { return ++boxes, 1; };
}

struct TexturePixels {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;  // row 0 is t = 0
  const unsigned char* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
  // Mean of one channel over texel rows [y0, y1).
  double Mean(int channel, int y0, int y1) const {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < width; ++x) sum += At(x, y)[channel];
    return sum / (double(y1 - y0) * width);
  }
};

TexturePixels ReadTexture(GLuint name) {
  TexturePixels t;
  glBindTexture(GL_TEXTURE_2D, name);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &t.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &t.height);
  t.rgba.resize(size_t(t.width) * t.height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.rgba.data());
  return t;
}

class Readers : public testsupport::GLTest {};

}  // namespace

TEST(ReadersBmp, TerrainFilesLoadThroughTheImageReader) {
  int boxes = 0;
  Image height;
  ASSERT_TRUE(height.LoadBitmap((RunDir() / "data/terrain/TerrainData4.bmp").string(), Recorder(boxes)));
  EXPECT_EQ(height.Bits(), 8u);
  EXPECT_EQ(height.Width(), 256u);
  EXPECT_EQ(height.Height(), 256u);
  EXPECT_EQ(height.Size(), 65536u);
  for (const char* name : {"tex0.bmp", "tex1.bmp", "tex2.bmp", "tex3.bmp"}) {
    Image layer;
    ASSERT_TRUE(layer.LoadBitmap((RunDir() / "data/gfx/large" / name).string(), Recorder(boxes))) << name;
    EXPECT_EQ(layer.Bits(), 24u);
    EXPECT_EQ(layer.Size(), 256u * 256u * 3u);
  }
  EXPECT_EQ(boxes, 0);
}

TEST_F(Readers, SkyUploadsAsABlueSkyOverSeaAndTheFloorAsSea) {
  int boxes = 0;
  Texture sky, stone;
  ASSERT_TRUE(sky.LoadBitmap((RunDir() / "data/gfx/skybox/sky.bmp").string(), Recorder(boxes)));
  ASSERT_TRUE(stone.LoadBitmap((RunDir() / "data/gfx/skybox/stone.bmp").string(), Recorder(boxes)));
  TexturePixels s = ReadTexture(sky.name);
  ASSERT_GT(s.height, 0);
  // Upper part of each side face (t near 1): clear blue as it appears on screen.
  EXPECT_GT(s.Mean(2, s.height * 3 / 4, s.height), s.Mean(0, s.height * 3 / 4, s.height) + 60);
  // The lower half lies below the horizon: sea, blue rather than red on screen, and darker at
  // the foot than the sky above.
  EXPECT_GT(s.Mean(2, 0, s.height / 8), s.Mean(0, 0, s.height / 8) + 15);
  EXPECT_GT(s.Mean(2, s.height * 7 / 8, s.height), s.Mean(2, 0, s.height / 8) + 30);
  // The floor is the open sea: blue and green well above red, not the red a swapped file gives.
  TexturePixels g = ReadTexture(stone.name);
  EXPECT_GT(g.Mean(2, 0, g.height), g.Mean(0, 0, g.height) + 20);
  EXPECT_GT(g.Mean(1, 0, g.height), g.Mean(0, 0, g.height));
  EXPECT_EQ(boxes, 0);
}

TEST(ReadersJpeg, EffectTexturesDecodeThroughLoadJpeg) {
  for (const char* name : {"particle.jpg", "torus.jpg", "bg1.jpg", "ttex_1.jpg", "ttex_2.jpg"}) {
    SCOPED_TRACE(name);
    unsigned width = 0, height = 0, bits = 0;
    auto pixels = LoadJpeg((RunDir() / "textures" / name).string(), width, height, bits);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(bits, 32u);
    EXPECT_TRUE(IsPowerOfTwo(width) && IsPowerOfTwo(height));
  }
  // The glow: bright centre (kept by the particle texture's red > 30 rule), black rim (dropped).
  unsigned w = 0, h = 0, bits = 0;
  auto glow = LoadJpeg((RunDir() / "textures/particle.jpg").string(), w, h, bits);
  ASSERT_TRUE(glow);
  auto red = [&](unsigned x, unsigned y) { return glow[(size_t(y) * w + x) * 4]; };
  EXPECT_GT(red(w / 2, h / 2), 200);
  EXPECT_LE(red(0, 0), 30);
  EXPECT_LE(red(w - 1, h / 2), 30);
  EXPECT_GT(red(w / 2 + w / 4, h / 2), 30);  // a soft disc, not a dot
}

TEST_F(Readers, FontLoadsWithGlyphsWhereTheTableLooks) {
  Font font;
  ASSERT_EQ(font.Load((RunDir() / "data/font/Font.tga").string().c_str()), TgaResult::kLoaded);
  TexturePixels t = ReadTexture(font.texture);
  ASSERT_EQ(t.width, 256);
  auto ink = [&](int c) {
    int x0 = int(font.glyphs[c].u * 256), y0 = int(font.glyphs[c].v * 256), sum = 0;
    for (int y = y0; y < y0 + 16; ++y)
      for (int x = x0; x < x0 + 16; ++x) sum += t.At(x, y)[3];
    return sum;
  };
  for (char c : {'A', 'z', '0', '\\', '.', '~'}) EXPECT_GT(ink(static_cast<unsigned char>(c)), 255) << c;
  for (int c : {0, 15, int(' '), 127, 200, 255}) EXPECT_EQ(ink(c), 0) << c;
  // Upright: the bar of 'T' in the upper rows of its cell (higher t).
  int x0 = int(font.glyphs['T'].u * 256), y0 = int(font.glyphs['T'].v * 256), top = 0, bottom = 0;
  for (int x = x0; x < x0 + 16; ++x) {
    for (int y = y0; y < y0 + 8; ++y) bottom += t.At(x, y)[3];
    for (int y = y0 + 8; y < y0 + 16; ++y) top += t.At(x, y)[3];
  }
  EXPECT_GT(top, bottom);
}

TEST_F(Readers, ConsolePanelUploadsUprightThroughDevil) {
  ilInit();
  ilutRenderer(ILUT_OPENGL);
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  ASSERT_TRUE(ilLoadImage((RunDir() / "data/textures/console.png").c_str()));
  GLuint name = ilutGLBindTexImage();
  ASSERT_NE(name, 0u);
  TexturePixels t = ReadTexture(name);
  ilDeleteImages(1, &image);
  ASSERT_GT(t.height, 0);
  // The scrollers map t = 1 to the panel's top: the dark vignette is there, the light plate
  // (behind the dark text) below the middle.
  auto luminance = [&](int y0, int y1) {
    return (t.Mean(0, y0, y1) + t.Mean(1, y0, y1) + t.Mean(2, y0, y1)) / 3;
  };
  EXPECT_LT(luminance(t.height * 70 / 100, t.height * 85 / 100),
            luminance(t.height * 25 / 100, t.height * 45 / 100) - 50);
}
