// ParticleSystem on a GL context: the picture's alpha, its texture, the squares and the blend
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "particles/ParticleSystem.h"
#include "particles/RuntimeRand.h"
#include "support/GLTest.h"
#include "support/TestJpeg.h"

namespace {

void WriteJpeg(const std::filesystem::path& path, unsigned w, unsigned h,
               const testsupport::PixelColour& colour) {
  ASSERT_TRUE(testsupport::WriteTestJpeg(path, w, h, colour));
}

// Top half pure blue (red 0), bottom half white.
void BlueOverWhite(unsigned, unsigned y, unsigned char* p) {
  const bool blue = y < 16;
  p[0] = blue ? 0 : 255, p[1] = blue ? 0 : 255, p[2] = 255;
}

class ParticleGLTest : public testsupport::GLTest {
 protected:
  ParticleGLTest() : GLTest(64, 64) {}
  void SetUp() override {
    GLTest::SetUp();
    previous_ = std::filesystem::current_path();
    folder_ = testsupport::ScratchDir();
    std::filesystem::current_path(folder_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    GLTest::TearDown();
  }
  void Ortho() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }

  std::filesystem::path folder_;

 private:
  std::filesystem::path previous_;
};

TEST(ParticleAlpha, RedThirtyOrLessIsTransparentElseHalf) {
  unsigned char pixels[] = {0, 0,   255, 125, 30,  255, 255, 125, 31, 0,
                            0, 125, 255, 255, 255, 125, 0,   255, 0,  125};
  SetParticleAlpha(pixels, 5);
  EXPECT_EQ(pixels[3], 0);     // pure blue: red 0
  EXPECT_EQ(pixels[7], 0);     // red exactly 30
  EXPECT_EQ(pixels[11], 128);  // red 31
  EXPECT_EQ(pixels[15], 128);
  EXPECT_EQ(pixels[19], 0);  // pure green
  EXPECT_EQ(pixels[0], 0);   // colours untouched
  EXPECT_EQ(pixels[10], 0);
}

TEST_F(ParticleGLTest, LoadTextureUploadsTheAlphaMaskedPicture) {
  WriteJpeg(folder_ / "glow.jpg", 16, 32, BlueOverWhite);
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kDrift, rand);
  ASSERT_TRUE(system.LoadTexture("glow.jpg"));
  ASSERT_NE(system.Texture(), 0u);
  glBindTexture(GL_TEXTURE_2D, system.Texture());
  GLint width = 0, height = 0, wrapS = 0, wrapT = 0, minFilter = 0, magFilter = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  EXPECT_EQ(width, 16);
  EXPECT_EQ(height, 32);
  EXPECT_EQ(wrapS, GL_REPEAT);
  EXPECT_EQ(wrapT, GL_REPEAT);
  EXPECT_EQ(minFilter, GL_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);

  std::vector<unsigned char> texels(16 * 32 * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  for (size_t i = 0; i < 16 * 32; ++i) {
    ASSERT_EQ(texels[4 * i + 3], texels[4 * i] <= 30 ? 0 : 128) << "texel " << i;
  }
  // Rows away from the colour edge: the blue rows vanish, the white rows stay.
  EXPECT_EQ(texels[(2 * 16 + 5) * 4 + 3], 0);
  EXPECT_EQ(texels[(29 * 16 + 5) * 4 + 3], 128);
}

TEST_F(ParticleGLTest, InitLoadsTheParticlePictureOrReportsItsAbsence) {
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kJet, rand);
  EXPECT_FALSE(system.Init());
  EXPECT_EQ(system.Texture(), 0u);
  WriteJpeg(folder_ / "textures" / "particle.jpg", 8, 8, BlueOverWhite);
  EXPECT_TRUE(system.Init());
  EXPECT_NE(system.Texture(), 0u);
  WriteJpeg(folder_ / "textures" / "particle.jpg", 8, 8, BlueOverWhite);
  std::filesystem::resize_file(folder_ / "textures" / "particle.jpg", 40);  // truncated
  EXPECT_FALSE(system.Init());
  EXPECT_EQ(system.Texture(), 0u);
  system.Frame();  // still updated and drawn
  EXPECT_GT(system.Emitter()->liveCount, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleGLTest, DrawSendsOneSquarePerParticleNewestFirst) {
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kJet, rand);
  system.Init();
  for (int i = 0; i < 3; ++i) system.Update();
  Ortho();
  const std::vector<float> feedback = testsupport::CaptureFeedback([&] { system.Draw(); });
  std::vector<const Particle*> live;
  for (const Particle* p = system.Emitter()->live; p != nullptr; p = p->next) live.push_back(p);
  // Each four-vertex strip comes back as two triangles.
  ASSERT_EQ(feedback.size(), live.size() * 2 * (2 + 3 * 11));
  for (size_t k = 0; k < live.size(); ++k) {
    const Particle& p = *live[k];
    for (int t = 0; t < 2; ++t) {
      const float* tri = &feedback[(2 * k + t) * 35];
      ASSERT_EQ(tri[0], GL_POLYGON_TOKEN);
      for (int v = 0; v < 3; ++v) {
        const float* rec = tri + 2 + v * 11;
        // Texture corner (s, t) sits at (x - h + 2hs, y - h + 2ht) in window units of 16 per unit.
        const float x = p.position.x - 0.5f + rec[7], y = p.position.y - 0.5f + rec[8];
        EXPECT_NEAR(rec[0], (x + 2) * 16, 1e-3);
        EXPECT_NEAR(rec[1], (y + 2) * 16, 1e-3);
        EXPECT_FLOAT_EQ(rec[3], std::min(1.0f, std::max(0.0f, p.colour.x)));
        EXPECT_FLOAT_EQ(rec[4], std::min(1.0f, std::max(0.0f, p.colour.y)));
      }
    }
  }
  // The state Draw leaves: blend off, texturing off, depth test on, additive function set.
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE);
}

TEST_F(ParticleGLTest, OverlappingParticlesAddUp) {
  WriteJpeg(folder_ / "textures" / "particle.jpg", 8, 8,
            [](unsigned, unsigned, unsigned char* p) { p[0] = p[1] = p[2] = 255; });
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kDrift, rand);  // white particles
  ASSERT_TRUE(system.Init());
  Ortho();
  glScalef(10, 10, 1);  // a square of edge 0.2 fills the view's centre
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  system.Frame();  // 2 to 4 squares, all at the origin
  ASSERT_GE(system.Emitter()->liveCount, 2);
  const std::vector<unsigned char> pixels = ReadPixels();
  const unsigned char* centre = &pixels[(32 * 64 + 32) * 4];
  // One square adds 128/255 of white; two or more saturate. An ordinary blend would not.
  EXPECT_GE(centre[0], 250);
  EXPECT_GE(centre[2], 250);
  const unsigned char* corner = &pixels[(2 * 64 + 2) * 4];
  EXPECT_EQ(corner[0], 0);
}

}  // namespace
