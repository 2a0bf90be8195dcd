// The TGA font reader: header rules and result codes, pixels and upload, and the glyph table
#include "text/Font.h"

#include <GL/gl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/GLTest.h"

namespace {

namespace fs = std::filesystem;

struct TgaFields {
  int idLength = 0;
  int colorMapType = 0;
  int imageType = 2;
  int width = 2;
  int height = 2;
  int bitsPerPixel = 32;
  int descriptor = 0;
};

// Header, then `body` as it stands (ID field and pixels, or whatever a case needs).
std::vector<unsigned char> MakeTga(const TgaFields& fields, const std::vector<unsigned char>& body) {
  std::vector<unsigned char> file(18, 0);
  file[0] = static_cast<unsigned char>(fields.idLength);
  file[1] = static_cast<unsigned char>(fields.colorMapType);
  file[2] = static_cast<unsigned char>(fields.imageType);
  file[3] = 0x11;  // colour-map fields and origin bytes are skipped; make them non-zero
  file[8] = 0x22;
  file[12] = static_cast<unsigned char>(fields.width & 0xFF);
  file[13] = static_cast<unsigned char>(fields.width >> 8);
  file[14] = static_cast<unsigned char>(fields.height & 0xFF);
  file[15] = static_cast<unsigned char>(fields.height >> 8);
  file[16] = static_cast<unsigned char>(fields.bitsPerPixel);
  file[17] = static_cast<unsigned char>(fields.descriptor);
  for (unsigned char byte : body) file.push_back(byte);
  return file;
}

std::vector<unsigned char> Sequence(size_t count) {
  std::vector<unsigned char> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
  return bytes;
}

size_t OpenFileCount() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

class TgaReaderTest : public testsupport::GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    dir_ = testsupport::ScratchDir();
    glGenTextures(1, &texture_);
  }

  // Writes the file, loads it into texture_ and checks that no descriptor is left open.
  int Load(const std::vector<unsigned char>& bytes) {
    const fs::path path = dir_ / "font.tga";
    testsupport::WriteFile(path, bytes);
    const size_t before = OpenFileCount();
    const int result = static_cast<int>(LoadTgaTexture(path.c_str(), texture_));
    EXPECT_EQ(OpenFileCount(), before) << "the reader left the file open";
    return result;
  }

  GLint TextureParameter(GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture_);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
  }

  std::vector<unsigned char> TexelBytes(GLenum format, size_t count) {
    std::vector<unsigned char> texels(count, 0);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
    return texels;
  }

  fs::path dir_;
  GLuint texture_ = 0;
};

TEST_F(TgaReaderTest, ThirtyTwoBitPixelsComeBackRedFirstInFileRowOrder) {
  // 2 x 2, file rows bottom to top; each pixel blue, green, red, alpha.
  const std::vector<unsigned char> pixels = {10, 20, 30, 40, 11, 21, 31, 41,   // first row in the file
                                             12, 22, 32, 42, 13, 23, 33, 43};  // second row
  ASSERT_EQ(Load(MakeTga({}, pixels)), 1);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_WIDTH), 2);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_HEIGHT), 2);
  EXPECT_GT(TextureParameter(GL_TEXTURE_ALPHA_SIZE), 0);
  const std::vector<unsigned char> expected = {30, 20, 10, 40, 31, 21, 11, 41,
                                               32, 22, 12, 42, 33, 23, 13, 43};
  EXPECT_EQ(TexelBytes(GL_RGBA, 16), expected);  // texture row 0 (t = 0) is the file's first row
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
  EXPECT_EQ(value, GL_REPEAT);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
  EXPECT_EQ(value, GL_REPEAT);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
  EXPECT_EQ(value, GL_MODULATE);
}

TEST_F(TgaReaderTest, TwentyFourBitPixelsBecomeAnRgbTexture) {
  TgaFields fields;
  fields.bitsPerPixel = 24;
  fields.width = 4;
  fields.height = 2;
  const std::vector<unsigned char> pixels = Sequence(4 * 2 * 3);
  ASSERT_EQ(Load(MakeTga(fields, pixels)), 1);
  EXPECT_EQ(TextureParameter(GL_TEXTURE_ALPHA_SIZE), 0);
  std::vector<unsigned char> expected = pixels;
  for (size_t i = 0; i < expected.size(); i += 3) std::swap(expected[i], expected[i + 2]);
  EXPECT_EQ(TexelBytes(GL_RGB, expected.size()), expected);
}

TEST_F(TgaReaderTest, EightBitPixelsBecomeAnAlphaTextureWhateverTheImageType) {
  for (int imageType : {3, 2}) {
    TgaFields fields;
    fields.imageType = imageType;
    fields.bitsPerPixel = 8;
    fields.width = 2;
    fields.height = 4;
    const std::vector<unsigned char> pixels = Sequence(8);
    ASSERT_EQ(Load(MakeTga(fields, pixels)), 1) << "image type " << imageType;
    EXPECT_EQ(TextureParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_ALPHA);
    EXPECT_EQ(TexelBytes(GL_ALPHA, 8), pixels);
  }
  // A greyscale type with 32 bits is loaded by its depth alone.
  TgaFields fields;
  fields.imageType = 3;
  ASSERT_EQ(Load(MakeTga(fields, Sequence(16))), 1);
  EXPECT_GT(TextureParameter(GL_TEXTURE_ALPHA_SIZE), 0);
}

TEST_F(TgaReaderTest, AnIdFieldIsReadAsPixels) {
  TgaFields fields;
  fields.idLength = 2;
  fields.bitsPerPixel = 8;
  ASSERT_EQ(Load(MakeTga(fields, {0xAA, 0xBB, 1, 2, 3, 4})), 1);
  const std::vector<unsigned char> expected = {0xAA, 0xBB, 1, 2};
  EXPECT_EQ(TexelBytes(GL_ALPHA, 4), expected);
}

TEST_F(TgaReaderTest, OriginBitsChangeNothing) {
  TgaFields fields;
  fields.bitsPerPixel = 8;
  fields.descriptor = 0x20;  // top-down
  const std::vector<unsigned char> pixels = {1, 2, 3, 4};
  ASSERT_EQ(Load(MakeTga(fields, pixels)), 1);
  EXPECT_EQ(TexelBytes(GL_ALPHA, 4), pixels);  // still uploaded in file order: upside down
}

TEST_F(TgaReaderTest, MissingFileGivesMinus13) {
  const size_t before = OpenFileCount();
  EXPECT_EQ(LoadTgaTexture((dir_ / "absent.tga").c_str(), texture_), TgaResult::kCannotOpen);
  EXPECT_NE(LoadTgaTexture(dir_.c_str(), texture_), TgaResult::kLoaded);  // a folder is no font either
  EXPECT_EQ(LoadTgaTexture(nullptr, texture_), TgaResult::kCannotOpen);
  EXPECT_EQ(OpenFileCount(), before);
}

TEST_F(TgaReaderTest, ReadOnlyFileLoads) {
  const fs::path path = dir_ / "readonly.tga";
  TgaFields fields;
  fields.bitsPerPixel = 8;
  testsupport::WriteFile(path, MakeTga(fields, {9, 8, 7, 6}));
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(LoadTgaTexture(path.c_str(), texture_), TgaResult::kLoaded);
  fs::permissions(path, fs::perms::owner_all);
}

TEST_F(TgaReaderTest, ColourMapsAndCompressedOrUnknownTypesGiveMinus14) {
  for (int type : {10, 11, 1, 9, 0, 4}) {
    TgaFields fields;
    fields.imageType = type;
    EXPECT_EQ(Load(MakeTga(fields, Sequence(16))), -14) << "type " << type;
  }
  TgaFields mapped;
  mapped.colorMapType = 1;
  EXPECT_EQ(Load(MakeTga(mapped, Sequence(16))), -14);
  // Type and colour map are tested before the size and depth.
  TgaFields both;
  both.imageType = 10;
  both.width = 640;
  both.bitsPerPixel = 16;
  EXPECT_EQ(Load(MakeTga(both, {})), -14);
}

TEST_F(TgaReaderTest, SizesThatAreNotPowersOfTwoUpTo512GiveMinus15) {
  const std::vector<std::pair<int, int>> sizes = {{1024, 2}, {0, 2},     {1, 2}, {640, 2},
                                                  {2, 1024}, {256, 300}, {2, 0}, {3, 16}};
  for (const auto& [width, height] : sizes) {
    TgaFields fields;
    fields.width = width;
    fields.height = height;
    fields.bitsPerPixel = 16;  // size is tested before depth
    EXPECT_EQ(Load(MakeTga(fields, {})), -15) << width << " x " << height;
  }
}

TEST_F(TgaReaderTest, DepthsOtherThan32Or24Or8GiveMinus16) {
  for (int bits : {16, 15, 0, 1, 33, 64}) {
    TgaFields fields;
    fields.bitsPerPixel = bits;
    EXPECT_EQ(Load(MakeTga(fields, Sequence(64))), -16) << bits << " bits";
  }
}

TEST_F(TgaReaderTest, PixelBlockCutShortGivesMinus17) {
  TgaFields fields;
  fields.width = 4;
  fields.height = 4;
  EXPECT_EQ(Load(MakeTga(fields, Sequence(4 * 4 * 4 - 1))), -17);
  EXPECT_EQ(Load(MakeTga(fields, {})), -17);
  fields.bitsPerPixel = 8;
  EXPECT_EQ(Load(MakeTga(fields, Sequence(15))), -17);
  EXPECT_EQ(Load(MakeTga(fields, Sequence(16))), 1);
}

TEST_F(TgaReaderTest, HeaderCutShortFailsCleanly) {
  EXPECT_EQ(Load({}), -14);
  EXPECT_EQ(Load({0, 0, 2}), -15);  // type read, size missing
  std::vector<unsigned char> header = MakeTga({}, {});
  header.resize(16);  // depth missing too
  EXPECT_EQ(Load(header), -16);
  header = MakeTga({}, {});
  header.resize(17);  // only the unused descriptor missing: the pixels are then missing too
  EXPECT_EQ(Load(header), -17);
}

TEST(TgaPixelsTest, ReadsConvertsAndRefusesShortBlocks) {
  const fs::path path = testsupport::ScratchDir() / "pixels.bin";
  testsupport::WriteFile(path, {1, 2, 3, 4, 5, 6, 7});
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  TgaPixels pixels = ReadTgaPixels(file, 2, 24);
  ASSERT_TRUE(pixels.data);
  EXPECT_EQ(pixels.layout, PixelLayout::kRgb);
  const std::vector<unsigned char> swapped(pixels.data.get(), pixels.data.get() + 6);
  EXPECT_EQ(swapped, (std::vector<unsigned char>{3, 2, 1, 6, 5, 4}));
  TgaPixels rest = ReadTgaPixels(file, 1, 32);  // only one byte is left
  EXPECT_FALSE(rest.data);
  std::rewind(file);
  EXPECT_FALSE(ReadTgaPixels(file, 2, 16).data);
  EXPECT_FALSE(ReadTgaPixels(file, 0, 8).data);
  EXPECT_FALSE(ReadTgaPixels(nullptr, 1, 8).data);
  TgaPixels alpha = ReadTgaPixels(file, 7, 8);
  ASSERT_TRUE(alpha.data);
  EXPECT_EQ(alpha.layout, PixelLayout::kAlpha);
  EXPECT_EQ(alpha.data[6], 7);
  std::fclose(file);
}

TEST(TgaPowerOfTwoTest, AcceptsOnly2To512) {
  std::vector<int> accepted;
  for (int n = -4; n <= 5000; ++n) {
    if (IsPowerOfTwo(n)) accepted.push_back(n);
  }
  EXPECT_EQ(accepted, (std::vector<int>{2, 4, 8, 16, 32, 64, 128, 256, 512}));
  EXPECT_FALSE(IsPowerOfTwo(65536));
}

class FontTest : public testsupport::GLTest {};

TEST_F(FontTest, LoadBuildsTheGlyphTableEvenWhenTheFileIsMissing) {
  Font font;
  font.rows = 3;  // Load sets the grid itself
  font.columns = 5;
  EXPECT_EQ(font.Load((testsupport::ScratchDir() / "none.tga").c_str()), TgaResult::kCannotOpen);
  EXPECT_NE(font.texture, 0u);
  GLint width = -1;
  glBindTexture(GL_TEXTURE_2D, font.texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 0);  // the name exists and holds no image
  EXPECT_EQ(font.rows, 16);
  EXPECT_EQ(font.columns, 16);
  EXPECT_EQ(font.cellWidth, 0.0625f);
  EXPECT_EQ(font.cellHeight, 0.0625f);
  const std::vector<std::pair<int, GlyphCoord>> entries = {{0, {0.0f, 0.9375f}},   {15, {0.9375f, 0.9375f}},
                                                           {32, {0.0f, 0.8125f}},  {65, {0.0625f, 0.6875f}},
                                                           {255, {0.9375f, 0.0f}}, {16, {0.0f, 0.875f}}};
  for (const auto& [c, coord] : entries) {
    EXPECT_EQ(font.glyphs[c].u, coord.u) << "glyph " << c;
    EXPECT_EQ(font.glyphs[c].v, coord.v) << "glyph " << c;
  }
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(font.glyphs[c].u, static_cast<float>(c % 16) / 16.0f);
    EXPECT_EQ(font.glyphs[c].v, static_cast<float>(15 - c / 16) / 16.0f);
  }
}

TEST_F(FontTest, LoadPassesTheReaderResultOn) {
  const fs::path path = testsupport::ScratchDir() / "font.tga";
  TgaFields fields;
  fields.bitsPerPixel = 8;
  testsupport::WriteFile(path, MakeTga(fields, {1, 2, 3, 4}));
  Font font;
  EXPECT_EQ(font.Load(path.c_str()), TgaResult::kLoaded);
  GLint width = 0;
  glBindTexture(GL_TEXTURE_2D, font.texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 2);
  fields.bitsPerPixel = 16;
  testsupport::WriteFile(path, MakeTga(fields, {1, 2, 3, 4}));
  EXPECT_EQ(font.Load(path.c_str()), TgaResult::kBadDepth);
}

TEST(GlyphTableTest, OddGridsNeverOverrunOrStall) {
  Font font;
  for (const auto& [rows, columns] : std::vector<std::pair<int, int>>{
           {32, 32}, {0, 16}, {16, 0}, {-4, 16}, {1, 1}, {1 << 30, 1 << 30}, {4, 4}}) {
    font.rows = rows;
    font.columns = columns;
    font.BuildGlyphTable();  // must return
  }
  // A 4 x 4 grid fills the first 16 entries, top row first, and leaves the rest zero.
  EXPECT_EQ(font.glyphs[0].v, 0.75f);
  EXPECT_EQ(font.glyphs[5].u, 0.25f);
  EXPECT_EQ(font.glyphs[5].v, 0.5f);
  EXPECT_EQ(font.glyphs[15].u, 0.75f);
  EXPECT_EQ(font.glyphs[15].v, 0.0f);
  EXPECT_EQ(font.glyphs[16].u, 0.0f);
  EXPECT_EQ(font.glyphs[16].v, 0.0f);
}

}  // namespace
