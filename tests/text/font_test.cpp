// The TGA font reader and the glyph table: result codes, pixels as uploaded, files closed
#include "text/Font.h"

#include <GL/gl.h>

#include <filesystem>
#include <vector>

#include "support/GLTest.h"
#include "support/TestTga.h"

namespace {

using testsupport::MakeTga;

std::vector<unsigned char> Sequence(size_t count) {
  std::vector<unsigned char> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
  return bytes;
}

class FontTest : public testsupport::GLTest {
 protected:
  // Writes the file and loads it into a fresh texture.
  int Load(const std::vector<unsigned char>& bytes) {
    testsupport::WriteFile("font.tga", bytes);
    glGenTextures(1, &texture_);
    return static_cast<int>(LoadTgaTexture("font.tga", texture_));
  }

  testsupport::ScopedChdir cwd_;
  GLuint texture_ = 0;
};

// Header rules in their order, with their codes. A loaded file's pixels start right after the 18
// header bytes (an ID field included), go up in file order (the first row at t = 0) and come back red
// first; the depth alone decides the texture's format.
TEST_F(FontTest, ReadsOnlyWhatTheHeaderRulesAllowAndUploadsItAsStored) {
  const struct {
    const char* what;
    testsupport::TgaFields fields;
    int result;
    GLenum format = 0;        // a loaded file's texels, read back so
    long body = -1;           // bytes after the header; -1: the ID field and the pixel block asked for
    size_t cutTo = SIZE_MAX;  // the file's length, when the header itself is cut short
  } cases[] = {
      // clang-format off
      {"run-length true colour", {.imageType = 10}, -14},
      {"colour map present", {.colorMapType = 1}, -14},
      {"type before size and depth", {.imageType = 10, .width = 640, .bitsPerPixel = 16}, -14},
      {"width not a power of two", {.width = 640, .bitsPerPixel = 16}, -15},
      {"height not a power of two", {.width = 256, .height = 300, .bitsPerPixel = 16}, -15},
      {"16 bits", {.bitsPerPixel = 16}, -16},
      {"32-bit block one byte short", {.width = 4, .height = 4}, -17, 0, 63},
      {"empty file", {}, -14, 0, 0, 0},
      {"depth missing", {}, -16, 0, 0, 16},
      {"only the descriptor missing", {}, -17, 0, 0, 17},
      {"32 bits", {}, 1, GL_RGBA},
      {"24 bits", {.width = 4, .bitsPerPixel = 24}, 1, GL_RGB},
      {"8-bit grey", {.imageType = 3, .bitsPerPixel = 8}, 1, GL_ALPHA},
      {"8 bits in a true-colour file, 256 high", {.height = 256, .bitsPerPixel = 8}, 1, GL_ALPHA},
      {"an ID field read as pixels", {.idLength = 2, .bitsPerPixel = 8}, 1, GL_ALPHA},
      {"a top-down origin ignored", {.width = 4, .descriptor = 0x20}, 1, GL_RGBA},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const testsupport::TgaFields& f = c.fields;
    const size_t bytes = f.bitsPerPixel / 8, count = static_cast<size_t>(f.width) * f.height * bytes;
    const std::vector<unsigned char> body = Sequence(c.body >= 0 ? c.body : f.idLength + count);
    std::vector<unsigned char> file = MakeTga(f, body);
    file.resize(std::min(file.size(), c.cutTo));
    ASSERT_EQ(Load(file), c.result);
    if (c.result != 1) continue;
    std::vector<unsigned char> expected(body.begin(), body.begin() + count), texels(count);
    for (size_t i = 0; bytes >= 3 && i < count; i += bytes) std::swap(expected[i], expected[i + 2]);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, c.format, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, expected);
  }
  std::filesystem::permissions("font.tga",
                               std::filesystem::perms::owner_read);  // an installed font is often read-only
  EXPECT_EQ(LoadTgaTexture("font.tga", texture_), TgaResult::kLoaded);
}

TEST(TgaSizes, ArePowersOfTwoFrom2To512) {
  std::vector<int> accepted;
  for (int n = -4; n <= 70000; ++n) {
    if (IsPowerOfTwo(n)) accepted.push_back(n);
  }
  EXPECT_EQ(accepted, (std::vector<int>{2, 4, 8, 16, 32, 64, 128, 256, 512}));
}

TEST_F(FontTest, LoadBuildsTheSixteenBySixteenGlyphTableEvenWithoutAFile) {
  Font font;
  font.rows = font.columns = 3;  // Load sets the grid itself
  EXPECT_EQ(font.Load("none.tga"), TgaResult::kCannotOpen);
  EXPECT_NE(font.texture, 0u);
  for (int c = 0; c < 256; ++c) {  // the first row on top
    ASSERT_EQ(font.glyphs[c].u, static_cast<float>(c % 16) / 16) << c;
    ASSERT_EQ(font.glyphs[c].v, static_cast<float>(15 - c / 16) / 16) << c;
  }
  testsupport::WriteFile("bad.tga", MakeTga({.bitsPerPixel = 16}, {}));
  EXPECT_EQ(font.Load("bad.tga"), TgaResult::kBadDepth);  // passed on unchanged
  // Odd grids neither overrun the table nor stall; 4 x 4 fills its first 16 entries, top row first.
  for (const auto& [rows, columns] : {std::pair{-4, 16}, {16, 0}, {1 << 30, 1 << 30}, {4, 4}}) {
    font.rows = rows, font.columns = columns;
    font.BuildGlyphTable();
  }
  EXPECT_EQ(font.glyphs[5].u + font.glyphs[5].v, 0.25f + 0.5f);
  EXPECT_EQ(font.glyphs[15].v + font.glyphs[16].u + font.glyphs[16].v, 0.0f);
}

}  // namespace
