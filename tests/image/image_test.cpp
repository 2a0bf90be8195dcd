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

// Padded rows come out tight and bottom row first whatever the file's order, depth or header length; the
// last row's padding is not needed.
TEST(BitmapReader, GoodFilesGiveTightBottomUpRows) {
  const std::pair<const char*, BmpRecipe> cases[] = {{"8-bit, 5-byte rows", {5, 3, 8}},
                                                     {"24-bit, 9-byte rows", {3, 2}},
                                                     {"top-down", {4, -3}},
                                                     {"size field zero", {4, 4, 24, 40, true}},
                                                     {"longer header", {2, 2, 32, 124}},
                                                     {"16-bit", {3, 1, 16}},
                                                     {"no last padding", {3, 3, 24, 40, false, 3}}};
  for (const auto& [name, recipe] : cases) {
    SCOPED_TRACE(name);
    const auto bytes = MakeBmp(recipe);
    BitmapPixels out;
    ASSERT_TRUE(DecodeBitmap(bytes.data(), bytes.size(), out));
    const int height = std::abs(recipe.height);
    std::vector<unsigned char> expected;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < recipe.width; ++x)
        for (int k = 0; k < recipe.bits / 8; ++k) expected.push_back(recipe.pixel(x, y, k));
    EXPECT_EQ(std::tie(out.width, out.height, out.bits, out.pixels),
              std::tuple(uint32_t(recipe.width), uint32_t(height), uint32_t(recipe.bits), expected));
  }
}

// Every kind of damage, one header field at a time on a good 6 x 5 file, is refused through the file path
// (of any length) with the same box as a missing file and leaves the image empty; no prefix of a good file
// reads past its end.
TEST(BitmapReader, DamagedFilesFailWithTheReadersBox) {
  // A 32-bit field's byte offset and its new value: the pixel offset past the end, inside the headers and
  // wrapping; a core header; zero and negative widths; zero and most negative heights; 1, 4, 15 and 48 bits;
  // RLE and bit-field compression; an image size field too small.
  const std::pair<size_t, uint32_t> cases[] = {
      {10, 100000},       {10, 24}, {10, 0xFFFFFFF0},  {14, 12}, {18, 0},
      {18, uint32_t(-6)}, {22, 0},  {22, 0x80000000u}, {28, 1},  {28, 4},
      {28, 15},           {28, 48}, {30, 1},           {30, 3},  {34, 90}};
  const auto path = testsupport::ScratchDir() / std::string(150, 'x') / std::string(150, 'y') / "damaged.bmp";
  const std::vector<std::string> box{"Error Loading Bitmap|An error occured while opening " + path.string()};
  for (const auto& [at, value] : cases) {
    SCOPED_TRACE(testing::Message() << at << ": " << value);
    auto bytes = MakeBmp(BmpRecipe{6, 5});
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    testsupport::WriteFile(path, bytes);
    BoxRecorder boxes;
    Image image(2, 2, 24);
    EXPECT_FALSE(image.LoadBitmap(path.string(), boxes.Show()));
    EXPECT_EQ(image.Pixels(), nullptr);
    EXPECT_EQ(image.Bits() + image.Width() + image.Height(), 0u);
    EXPECT_EQ(std::tie(boxes.boxes, boxes.owners), std::tuple(box, std::vector<BoxOwner>{BoxOwner::kNone}));
  }
  std::filesystem::remove(path);
  BoxRecorder boxes;
  EXPECT_FALSE(Image().LoadBitmap(path.string(), boxes.Show()));
  EXPECT_EQ(boxes.boxes, box);
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

class TextureUpload : public testsupport::GLTest {};

// A bitmap goes up as stored (its blue shows as red); an image as it holds its bytes, so after SwapRedBlue
// in true colours. 18-byte rows are not 4-aligned once tight. A wrong depth is refused after the old name is
// replaced; from a file it shows no box of its own.
TEST_F(TextureUpload, BitmapAndSwappedImageGoUpByteForByteAndWrongDepthsAreRefused) {
  const auto texels = [](const Texture& texture) {  // the 6 x 4 texture's tight RGB rows
    std::vector<unsigned char> out(6 * 4 * 3);
    texture.Bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
    return out;
  };
  const BmpRecipe recipe{6, 4};
  std::vector<unsigned char> stored, swapped;
  for (int i = 0; i < 6 * 4 * 3; ++i) {
    stored.push_back(recipe.pixel(i / 3 % 6, i / 18, i % 3));
    swapped.push_back(recipe.pixel(i / 3 % 6, i / 18, 2 - i % 3));
  }
  const auto path = (testsupport::ScratchDir() / "face.bmp").string(), grey = path + ".grey.bmp";
  testsupport::WriteFile(path, MakeBmp(recipe));
  testsupport::WriteFile(grey, MakeBmp(BmpRecipe{4, 4, 8}));
  Image image(path, {}), greyImage(4, 4, 8);
  Texture raw, fixed;
  ASSERT_TRUE(raw.LoadBitmap(path, {}));
  EXPECT_EQ((std::array<unsigned, 2>{raw.width, raw.height}), (std::array<unsigned, 2>{6, 4}));
  EXPECT_EQ(texels(raw), stored);
  ASSERT_TRUE(image.SwapRedBlue());
  ASSERT_TRUE(fixed.UploadImage(&image));
  EXPECT_EQ(texels(fixed), swapped);
  const unsigned first = fixed.name;
  EXPECT_FALSE(greyImage.SwapRedBlue());
  EXPECT_FALSE(fixed.UploadImage(&greyImage));
  EXPECT_FALSE(glIsTexture(first));
  EXPECT_FALSE(fixed.UploadImage(nullptr));
  BoxRecorder boxes;
  EXPECT_FALSE(raw.LoadBitmap(grey, boxes.Show()));
  EXPECT_FALSE(raw.LoadBitmap("missing.bmp", boxes.Show()));
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
