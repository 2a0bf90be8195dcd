// The BMP reader, Image buffer operations, LoadJpeg and the upload of 24-bit images
#include "image/Image.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "image/Jpeg.h"
#include "image/Texture.h"
#include "image/internal/Bitmap.h"
#include "support/GLTest.h"
#include "support/TerrainFiles.h"
#include "support/TestJpeg.h"

namespace {

using testsupport::BmpRecipe;
using testsupport::BoxRecorder;
using testsupport::MakeBmp;

std::string WriteBmp(const std::string& name, const BmpRecipe& recipe) {
  const auto path = testsupport::ScratchDir() / name;
  testsupport::WriteFile(path, MakeBmp(recipe));
  return path.string();
}

// Padded rows come out tight and bottom row first whatever the file's order, depth or header length.
TEST(BitmapReader, GoodFilesGiveTightBottomUpRows) {
  const struct {
    const char* name;
    int32_t width, height;
    uint16_t bits;
    uint32_t infoBytes;
    bool sizeFieldZero;
    size_t truncateBy;  // the last row's padding is not needed
  } cases[] = {{"8-bit, 5-byte rows", 5, 3, 8, 40, false, 0}, {"24-bit, 9-byte rows", 3, 2, 24, 40, false, 0},
               {"top-down", 4, -3, 24, 40, false, 0},         {"size field zero", 4, 4, 24, 40, true, 0},
               {"longer header", 2, 2, 32, 124, false, 0},    {"16-bit", 3, 1, 16, 40, false, 0},
               {"no last padding", 3, 3, 24, 40, false, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BmpRecipe recipe{c.width, c.height, c.bits, c.infoBytes, c.sizeFieldZero};
    recipe.truncateBy = c.truncateBy;
    const auto bytes = MakeBmp(recipe);
    BitmapPixels out;
    ASSERT_TRUE(DecodeBitmap(bytes.data(), bytes.size(), out));
    const int height = std::abs(c.height), depth = c.bits / 8;
    EXPECT_EQ((std::array<uint32_t, 3>{out.width, out.height, out.bits}),
              (std::array<uint32_t, 3>{uint32_t(c.width), uint32_t(height), c.bits}));
    std::vector<unsigned char> expected;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < c.width; ++x)
        for (int k = 0; k < depth; ++k) expected.push_back(recipe.pixel(x, y, k));
    EXPECT_EQ(out.pixels, expected);
  }
}

// Every kind of damage, one header field at a time on a good 6 x 5 file, is refused through the file path
// (of any length) with the same box as a missing file and leaves the image empty; no prefix of a good file
// reads past its end.
TEST(BitmapReader, DamagedFilesFailWithTheReadersBox) {
  const struct {
    const char* name;
    size_t at;  // byte offset of the 32-bit field in the file
    uint32_t value;
  } cases[] = {{"offset past end", 10, 100000},
               {"offset inside headers", 10, 24},
               {"offset wraps", 10, 0xFFFFFFF0},
               {"core header", 14, 12},
               {"zero width", 18, 0},
               {"negative width", 18, uint32_t(-6)},
               {"zero height", 22, 0},
               {"height INT32_MIN", 22, 0x80000000u},
               {"1 bit", 28, 1},
               {"4 bits", 28, 4},
               {"15 bits", 28, 15},
               {"48 bits", 28, 48},
               {"rle", 30, 1},
               {"bitfields", 30, 3},
               {"size field too small", 34, 90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = MakeBmp(BmpRecipe{6, 5});
    for (int i = 0; i < 4; ++i) bytes[c.at + i] = static_cast<unsigned char>(c.value >> (8 * i));
    const auto path =
        testsupport::ScratchDir() / std::string(150, 'x') / std::string(150, 'y') / "damaged.bmp";
    testsupport::WriteFile(path, bytes);
    BoxRecorder boxes;
    Image image(2, 2, 24);
    EXPECT_FALSE(image.LoadBitmap(path.string(), boxes.Show()));
    EXPECT_EQ(image.Pixels(), nullptr);
    EXPECT_EQ(image.Bits() + image.Width() + image.Height(), 0u);
    EXPECT_EQ(boxes.boxes, std::vector<std::string>{"Error Loading Bitmap|An error occured while opening " +
                                                    path.string()});
    EXPECT_EQ(boxes.owners, std::vector<BoxOwner>{BoxOwner::kNone});
    std::filesystem::remove(path);  // a missing file: the same box
    EXPECT_FALSE(image.LoadBitmap(path.string(), boxes.Show()));
    EXPECT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0], boxes.boxes[1]);
  }
  const auto good = MakeBmp(BmpRecipe{3, 3});
  for (size_t size = 0; size < good.size(); ++size) {
    const std::vector<unsigned char> prefix(good.begin(), good.begin() + static_cast<long>(size));
    BitmapPixels out;
    EXPECT_EQ(DecodeBitmap(prefix.data(), prefix.size(), out), size >= good.size() - 3) << size;
  }
  BitmapPixels out;
  EXPECT_FALSE(DecodeBitmap(nullptr, 100, out));
}

// Colour and grey pictures come out as RGBA, top row first, every alpha 125.
TEST(LoadJpeg, PicturesComeOutAsRgbaTopRowFirst) {
  std::vector<unsigned char> rgb(16 * 8 * 3, 40), grey(16 * 8, 90);
  for (size_t i = 0; i < 16 * 4 * 3; i += 3) rgb[i] = 220;  // top half red
  for (const bool isGrey : {false, true}) {
    SCOPED_TRACE(isGrey ? "grey" : "colour");
    const auto path = testsupport::ScratchDir() / "pic.jpg";
    testsupport::WriteFile(path, testsupport::EncodeJpeg((isGrey ? grey : rgb).data(), 16, 8, isGrey, 95));
    unsigned w = 9, h = 9, bits = 9;
    const auto p = LoadJpeg(path.string(), w, h, bits);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ((std::array<unsigned, 3>{w, h, bits}), (std::array<unsigned, 3>{16, 8, 32}));
    for (size_t i = 0; i < 16 * 8; ++i) ASSERT_EQ(p[i * 4 + 3], 125) << i;
    const int rest = isGrey ? 90 : 40, want[6] = {isGrey ? 90 : 220, rest, rest, rest, rest, rest};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(p[(k < 3 ? 0 : (16 * 8 - 1) * 4) + k % 3], want[k], 12) << k;
  }
}

// A marker in the middle of the entropy-coded data would otherwise leave the rest of the picture grey.
TEST(LoadJpeg, FailuresGiveNullAndZeroSizes) {
  std::vector<unsigned char> rgb(16 * 16 * 3, 99);
  const auto good = testsupport::EncodeJpeg(rgb.data(), 16, 16, false, 90);
  size_t scan = 0;
  for (size_t i = 0; i + 3 < good.size(); ++i)
    if (good[i] == 0xFF && good[i + 1] == 0xDA) scan = i + 2 + (good[i + 2] << 8 | good[i + 3]);
  ASSERT_TRUE(scan > 0 && scan + 4 < good.size() - 2);
  const auto marker = [&](unsigned char code) {
    auto bytes = good;
    bytes[scan + 2] = 0xFF, bytes[scan + 3] = code;
    return bytes;
  };
  const std::vector<std::pair<std::string, std::vector<unsigned char>>> files = {
      {"empty", {}},
      {"truncated", std::vector<unsigned char>(good.begin(), good.end() - 100)},
      {"bmp", MakeBmp(BmpRecipe{})},
      {"early end", marker(0xD9)},
      {"stray restart", marker(0xD3)},
      {"missing", {}}};
  for (const auto& [name, bytes] : files) {
    const auto path = testsupport::ScratchDir() / "pic.jpg";
    if (name != "missing") testsupport::WriteFile(path, bytes);
    unsigned w = 7, h = 7, bits = 7;
    EXPECT_EQ(LoadJpeg(path.string(), w, h, bits), nullptr) << name;
    EXPECT_EQ(w + h + bits, 0u) << name;
  }
}

class TextureUpload : public testsupport::GLTest {
 protected:
  // The 6 x 4 texture's texels, tight RGB rows.
  static std::vector<unsigned char> Texels(const Texture& texture) {
    std::vector<unsigned char> texels(6 * 4 * 3);
    texture.Bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
  }
};

// A bitmap goes up as stored (its blue shows as red); an image as it holds its bytes, so after SwapRedBlue
// in true colours. 18-byte rows are not 4-aligned once tight.
TEST_F(TextureUpload, BitmapAndSwappedImageGoUpByteForByte) {
  const BmpRecipe recipe{6, 4};
  std::vector<unsigned char> stored, swapped;
  for (int i = 0; i < 6 * 4 * 3; ++i) {
    stored.push_back(recipe.pixel(i / 3 % 6, i / 18, i % 3));
    swapped.push_back(recipe.pixel(i / 3 % 6, i / 18, 2 - i % 3));
  }
  const auto path = WriteBmp("face.bmp", recipe);
  Image image(path, {});
  Texture raw, fixed;
  ASSERT_TRUE(raw.LoadBitmap(path, {}));
  EXPECT_EQ((std::array<unsigned, 2>{raw.width, raw.height}), (std::array<unsigned, 2>{6, 4}));
  EXPECT_EQ(Texels(raw), stored);
  ASSERT_TRUE(image.SwapRedBlue());
  ASSERT_TRUE(fixed.UploadImage(&image));
  EXPECT_EQ(Texels(fixed), swapped);
}

// A wrong depth is refused after the old name is replaced; from a file it shows no box of its own.
TEST_F(TextureUpload, WrongDepthIsRefused) {
  Image rgb(4, 4, 24), grey(4, 4, 8);
  Texture texture, fromFile;
  ASSERT_TRUE(texture.UploadImage(&rgb));
  const unsigned first = texture.name;
  EXPECT_FALSE(grey.SwapRedBlue());
  EXPECT_FALSE(texture.UploadImage(&grey));
  EXPECT_FALSE(glIsTexture(first));
  EXPECT_FALSE(texture.UploadImage(nullptr));
  BoxRecorder boxes;
  EXPECT_FALSE(fromFile.LoadBitmap(WriteBmp("grey.bmp", BmpRecipe{4, 4, 8}), boxes.Show()));
  EXPECT_FALSE(fromFile.LoadBitmap("missing.bmp", boxes.Show()));
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
