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

std::filesystem::path WriteBmp(const std::string& name, const BmpRecipe& recipe) {
  const auto path = testsupport::ScratchDir() / name;
  testsupport::WriteFile(path, MakeBmp(recipe));
  return path;
}

TEST(BitmapReader, EightBitKeepsPaletteIndicesInTightBottomUpRows) {
  BmpRecipe recipe;
  recipe.width = 5;  // 5-byte rows padded to 8 in the file
  recipe.height = 3;
  recipe.bits = 8;
  recipe.pixel = [](int x, int y, int) { return static_cast<unsigned char>(200 - 10 * y - x); };
  BoxRecorder boxes;
  Image image;
  ASSERT_TRUE(image.LoadBitmap(WriteBmp("grey.bmp", recipe).string(), boxes.Show()));
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(image.Bits(), 8u);
  EXPECT_EQ(image.Width(), 5u);
  EXPECT_EQ(image.Height(), 3u);
  ASSERT_EQ(image.Size(), 15u);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(image.Pixels()[y * 5 + x], 200 - 10 * y - x);
  }
}

TEST(BitmapReader, TwentyFourBitPaddedRowsComeOutTight) {
  BmpRecipe recipe;
  recipe.width = 3;  // 9 bytes padded to 12
  recipe.height = 2;
  BitmapPixels out;
  const auto bytes = MakeBmp(recipe);
  ASSERT_TRUE(DecodeBitmap(bytes.data(), bytes.size(), out));
  ASSERT_EQ(out.pixels.size(), 18u);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      for (int c = 0; c < 3; ++c) EXPECT_EQ(out.pixels[(y * 3 + x) * 3 + c], recipe.pixel(x, y, c));
    }
  }
}

TEST(BitmapReader, TopDownFileIsTurnedBottomUp) {
  BmpRecipe up;
  up.width = 4;
  up.height = 3;
  BmpRecipe down = up;
  down.height = -3;
  BitmapPixels a, b;
  const auto fileUp = MakeBmp(up), fileDown = MakeBmp(down);
  ASSERT_TRUE(DecodeBitmap(fileUp.data(), fileUp.size(), a));
  ASSERT_TRUE(DecodeBitmap(fileDown.data(), fileDown.size(), b));
  EXPECT_EQ(b.height, 3u);
  EXPECT_EQ(a.pixels, b.pixels);
}

TEST(BitmapReader, SizeFieldZeroIsTakenFromDimensions) {
  BmpRecipe recipe;
  recipe.sizeFieldZero = true;
  BitmapPixels out;
  const auto bytes = MakeBmp(recipe);
  ASSERT_TRUE(DecodeBitmap(bytes.data(), bytes.size(), out));
  EXPECT_EQ(out.pixels.size(), 4u * 4 * 3);
}

TEST(BitmapReader, LargerSizeFieldAndLongerInfoHeaderAreAccepted) {
  BmpRecipe recipe;
  recipe.sizeFieldDelta = 0;
  recipe.infoBytes = 124;  // BITMAPV5HEADER
  BitmapPixels out;
  auto bytes = MakeBmp(recipe);
  ASSERT_TRUE(DecodeBitmap(bytes.data(), bytes.size(), out));
  EXPECT_EQ(out.pixels[0], recipe.pixel(0, 0, 0));
}

// Every kind of damage the reader must refuse, each through the file path so that
// the refusal shows the same box as a missing file and leaves the image empty.
TEST(BitmapReader, DamagedFilesFailWithTheReadersBox) {
  std::vector<std::pair<std::string, BmpRecipe>> cases;
  auto add = [&](const std::string& name, auto change) {
    BmpRecipe recipe;
    recipe.width = 6;
    recipe.height = 5;
    change(recipe);
    cases.emplace_back(name, recipe);
  };
  add("truncated", [](BmpRecipe& s) { s.truncateBy = 7; });
  add("headers_only", [](BmpRecipe& s) { s.truncateBy = 6 * 5 * 3 + 2 * 5; });
  add("size_field_too_small", [](BmpRecipe& s) { s.sizeFieldDelta = -10; });
  add("offset_past_end", [](BmpRecipe& s) { s.offsetDelta = 100000; });
  add("offset_inside_headers", [](BmpRecipe& s) { s.offsetDelta = -30; });
  add("offset_wraps", [](BmpRecipe& s) { s.offsetDelta = 0xFFFFFFF0ll; });
  add("rle8", [](BmpRecipe& s) {
    s.bits = 8;
    s.compression = 1;
  });
  add("bitfields", [](BmpRecipe& s) { s.compression = 3; });
  add("core_header", [](BmpRecipe& s) { s.infoBytes = 12; });
  add("zero_width", [](BmpRecipe& s) { s.width = 0; });
  add("negative_width", [](BmpRecipe&) {});
  add("zero_height", [](BmpRecipe& s) { s.height = 0; });
  add("huge_height", [](BmpRecipe& s) {
    s.height = 3;
    s.truncateBy = 0;
  });
  for (auto& [name, recipe] : cases) {
    auto bytes = MakeBmp(recipe);
    if (name == "huge_height") bytes[22] = 0, bytes[23] = 0, bytes[24] = 0, bytes[25] = 0x80;  // INT32_MIN
    if (name == "negative_width")
      bytes[18] = 0xFA, bytes[19] = 0xFF, bytes[20] = 0xFF, bytes[21] = 0xFF;  // -6
    const auto path = testsupport::ScratchDir() / (name + ".bmp");
    testsupport::WriteFile(path, bytes);
    BoxRecorder boxes;
    Image image;
    EXPECT_FALSE(image.LoadBitmap(path.string(), boxes.Show())) << name;
    EXPECT_EQ(image.Pixels(), nullptr) << name;
    EXPECT_EQ(image.Bits() + image.Width() + image.Height(), 0u) << name;
    ASSERT_EQ(boxes.boxes.size(), 1u) << name;
    EXPECT_EQ(boxes.boxes[0], "Error Loading Bitmap|An error occured while opening " + path.string()) << name;
    EXPECT_EQ(boxes.owners[0], BoxOwner::kNone);
  }
}

TEST(BitmapReader, UnsupportedDepthsAndTinyFilesAreRefused) {
  for (uint16_t bits : {1, 4, 15, 48}) {
    BmpRecipe recipe;
    recipe.bits = bits;
    auto bytes = MakeBmp(BmpRecipe{});
    bytes[28] = static_cast<unsigned char>(bits);
    BitmapPixels out;
    EXPECT_FALSE(DecodeBitmap(bytes.data(), bytes.size(), out)) << bits;
    EXPECT_TRUE(out.pixels.empty());
  }
  const auto good = MakeBmp(BmpRecipe{});
  BitmapPixels out;
  for (size_t size : {0, 1, 14, 53}) EXPECT_FALSE(DecodeBitmap(good.data(), size, out)) << size;
  EXPECT_FALSE(DecodeBitmap(nullptr, 100, out));
}

// Every prefix of a good file is either refused or (when only the last row's padding
// is missing) read completely; none reads past the bytes given.
TEST(BitmapReader, EveryTruncationIsRefusedCleanly) {
  BmpRecipe recipe;
  recipe.width = 3;
  recipe.height = 3;
  const auto bytes = MakeBmp(recipe);
  for (size_t size = 0; size < bytes.size(); ++size) {
    std::vector<unsigned char> prefix(bytes.begin(), bytes.begin() + static_cast<long>(size));
    BitmapPixels out;
    const bool ok = DecodeBitmap(prefix.data(), prefix.size(), out);
    EXPECT_EQ(ok, size >= bytes.size() - 3) << size;
  }
}

TEST(BitmapReader, MissingFileShowsTheMessageForAnyPathLength) {
  const std::string longPath = (testsupport::ScratchDir() / std::string(300, 'x')).string() + "/sky.bmp";
  for (const std::string& path : {std::string("data/gfx/skybox/sky.bmp"), longPath}) {
    BoxRecorder boxes;
    Image image(path, boxes.Show());
    EXPECT_EQ(image.Pixels(), nullptr);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0], "Error Loading Bitmap|An error occured while opening " + path);
  }
  Image silent;
  EXPECT_FALSE(silent.LoadBitmap("no/such/file.bmp", {}));
}

TEST(ImageBuffer, SetPixelsSwapAndFree) {
  const unsigned char rgb[6] = {1, 2, 3, 4, 5, 6};
  Image image;
  EXPECT_TRUE(image.SetPixels(rgb, 2, 1, 24));
  ASSERT_EQ(image.Size(), 6u);
  EXPECT_TRUE(image.SwapRedBlue());
  EXPECT_EQ(std::vector<unsigned char>(image.Pixels(), image.Pixels() + 6),
            (std::vector<unsigned char>{3, 2, 1, 6, 5, 4}));
  EXPECT_TRUE(image.SwapRedBlue());
  EXPECT_EQ(std::vector<unsigned char>(image.Pixels(), image.Pixels() + 6),
            (std::vector<unsigned char>{1, 2, 3, 4, 5, 6}));
  Image grey;
  grey.SetPixels(rgb, 3, 2, 8);
  EXPECT_FALSE(grey.SwapRedBlue());
  EXPECT_EQ(grey.Pixels()[0], 1);
  EXPECT_EQ(grey.Pixels()[2], 3);
  image.Free();
  EXPECT_EQ(image.Pixels(), nullptr);
  EXPECT_EQ(image.Width() + image.Height() + image.Bits(), 0u);
}

TEST(ImageBuffer, SaveWritesNothing) {
  const auto dir = testsupport::ScratchDir();
  Image image(2, 2, 24);
  EXPECT_TRUE(image.Save((dir / "out.bmp").string()));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.bmp"));
}

std::vector<unsigned char> Gradient(unsigned w, unsigned h) {
  std::vector<unsigned char> rgb(w * h * 3);
  for (unsigned y = 0; y < h; ++y) {
    for (unsigned x = 0; x < w; ++x) {
      rgb[(y * w + x) * 3 + 0] = static_cast<unsigned char>(y < h / 2 ? 220 : 30);  // red on top
      rgb[(y * w + x) * 3 + 1] = 40;
      rgb[(y * w + x) * 3 + 2] = static_cast<unsigned char>(y < h / 2 ? 30 : 220);
    }
  }
  return rgb;
}

TEST(LoadJpeg, ColourPictureTopRowFirstWithAlpha125) {
  const auto rgb = Gradient(16, 8);
  const auto path = testsupport::ScratchDir() / "pic.jpg";
  testsupport::WriteFile(path, testsupport::EncodeJpeg(rgb.data(), 16, 8, false, 95));
  unsigned w = 9, h = 9, bits = 9;
  auto pixels = LoadJpeg(path.string(), w, h, bits);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(w, 16u);
  EXPECT_EQ(h, 8u);
  EXPECT_EQ(bits, 32u);
  // Top row red, bottom row blue, every alpha 125.
  EXPECT_GT(pixels[0], 180);
  EXPECT_LT(pixels[2], 80);
  const size_t last = (16 * 7 + 3) * 4;
  EXPECT_LT(pixels[last], 80);
  EXPECT_GT(pixels[last + 2], 180);
  for (size_t i = 0; i < 16 * 8; ++i) ASSERT_EQ(pixels[i * 4 + 3], 125);
}

TEST(LoadJpeg, GreyPictureHasEqualChannels) {
  std::vector<unsigned char> grey(8 * 8);
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<unsigned char>(i * 4);
  const auto path = testsupport::ScratchDir() / "grey.jpg";
  testsupport::WriteFile(path, testsupport::EncodeJpeg(grey.data(), 8, 8, true, 90));
  unsigned w, h, bits;
  auto pixels = LoadJpeg(path.string(), w, h, bits);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(w * h, 64u);
  for (size_t i = 0; i < 64; ++i) {
    EXPECT_EQ(pixels[i * 4], pixels[i * 4 + 1]);
    EXPECT_EQ(pixels[i * 4], pixels[i * 4 + 2]);
    EXPECT_EQ(pixels[i * 4 + 3], 125);
  }
}

TEST(LoadJpeg, FailuresGiveNullAndZeroOutputs) {
  const auto dir = testsupport::ScratchDir();
  const auto rgb = Gradient(16, 16);
  const auto good = testsupport::EncodeJpeg(rgb.data(), 16, 16, false, 90);
  ASSERT_GT(good.size(), 200u);
  std::vector<std::pair<std::string, std::vector<unsigned char>>> files = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o'}},
      {"header_only", std::vector<unsigned char>(good.begin(), good.begin() + 20)},
      {"truncated", std::vector<unsigned char>(good.begin(), good.end() - 100)},
      {"bmp", MakeBmp(BmpRecipe{})},
  };
  // A marker in the middle of the entropy-coded data: libjpeg would fill the rest grey.
  size_t scan = 0;
  for (size_t i = 0; i + 3 < good.size(); ++i) {
    if (good[i] == 0xFF && good[i + 1] == 0xDA) scan = i + 2 + (good[i + 2] << 8 | good[i + 3]);
  }
  ASSERT_GT(scan, 0u);
  ASSERT_LT(scan + 4, good.size() - 2);
  auto corrupt = good;
  corrupt[scan + 2] = 0xFF;
  corrupt[scan + 3] = 0xD9;
  files.emplace_back("early_end", corrupt);
  corrupt = good;
  corrupt[scan + 2] = 0xFF;
  corrupt[scan + 3] = 0xD3;
  files.emplace_back("stray_restart", corrupt);
  for (const auto& [name, bytes] : files) {
    testsupport::WriteFile(dir / name, bytes);
    unsigned w = 7, h = 7, bits = 7;
    EXPECT_EQ(LoadJpeg((dir / name).string(), w, h, bits), nullptr) << name;
    EXPECT_EQ(w + h + bits, 0u) << name;
  }
  unsigned w = 7, h = 7, bits = 7;
  EXPECT_EQ(LoadJpeg((dir / "missing.jpg").string(), w, h, bits), nullptr);
  EXPECT_EQ(w + h + bits, 0u);
}

class TextureUpload : public testsupport::GLTest {};

// Draws the bound texture over the whole viewport and reads the centre pixel.
std::array<unsigned char, 4> DrawTextured(const Texture& texture, int size) {
  glViewport(0, 0, size, size);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  texture.Bind();
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2f(-1, -1);
  glTexCoord2f(1, 0), glVertex2f(1, -1);
  glTexCoord2f(1, 1), glVertex2f(1, 1);
  glTexCoord2f(0, 1), glVertex2f(-1, 1);
  glEnd();
  Texture::Unbind();
  std::array<unsigned char, 4> pixel{};
  glReadPixels(size / 2, size / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
  return pixel;
}

TEST_F(TextureUpload, BitmapShowsBlueAsRedUploadAfterSwapShowsTrueColours) {
  BmpRecipe recipe;
  recipe.width = recipe.height = 6;  // 18-byte rows: not 4-aligned once tight
  recipe.pixel = [](int, int, int c) { return static_cast<unsigned char>(c == 0 ? 200 : c == 1 ? 100 : 10); };
  const auto path = WriteBmp("face.bmp", recipe).string();
  Texture raw;
  ASSERT_TRUE(raw.LoadBitmap(path, {}));
  EXPECT_NE(raw.name, 0u);
  EXPECT_EQ(raw.width, 6u);
  const auto shown = DrawTextured(raw, width_);
  EXPECT_NEAR(shown[0], 200, 2);  // stored blue shows as red
  EXPECT_NEAR(shown[2], 10, 2);

  Image image(path, {});
  ASSERT_TRUE(image.SwapRedBlue());
  Texture fixed;
  ASSERT_TRUE(fixed.UploadImage(&image));
  const auto trueColour = DrawTextured(fixed, width_);
  EXPECT_NEAR(trueColour[0], 10, 2);
  EXPECT_NEAR(trueColour[2], 200, 2);
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
}

TEST_F(TextureUpload, WrongDepthIsRefusedAfterReplacingTheName) {
  Image rgb(4, 4, 24);
  Texture texture;
  ASSERT_TRUE(texture.UploadImage(&rgb));
  const unsigned first = texture.name;
  Image grey(4, 4, 8);
  EXPECT_FALSE(texture.UploadImage(&grey));
  EXPECT_NE(texture.name, 0u);
  EXPECT_FALSE(glIsTexture(first));
  EXPECT_FALSE(texture.UploadImage(nullptr));

  BmpRecipe recipe;
  recipe.bits = 8;
  BoxRecorder boxes;
  Texture fromFile;
  EXPECT_FALSE(fromFile.LoadBitmap(WriteBmp("grey.bmp", recipe).string(), boxes.Show()));
  EXPECT_TRUE(boxes.boxes.empty());  // a wrong depth has no box of its own
  EXPECT_FALSE(fromFile.LoadBitmap("missing.bmp", boxes.Show()));
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
