// Writers: BMP, TGA by hand; JPEG through libjpeg-turbo; PNG through libpng (see Writers.h)
#include "Writers.h"

#include <jpeglib.h>
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace assetgen {

uint8_t ToByte(double v) {
  if (!(v > 0)) return 0;
  if (v >= 1) return 255;
  return static_cast<uint8_t>(std::lround(v * 255.0));
}

namespace {

void Put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<unsigned char>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// BITMAPFILEHEADER + BITMAPINFOHEADER for an uncompressed bottom-up picture.
std::vector<unsigned char> BmpHeader(int width, int height, int bits, uint32_t paletteBytes,
                                     uint32_t pixelBytes) {
  std::vector<unsigned char> out;
  uint32_t offset = 14 + 40 + paletteBytes;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + pixelBytes);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));  // positive: bottom row first
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);  // BI_RGB, uncompressed
  Put32(out, pixelBytes);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, bits == 8 ? 256 : 0);
  Put32(out, 0);
  return out;
}

int PaddedRow(int width, int bytesPerPixel) { return (width * bytesPerPixel + 3) & ~3; }

}  // namespace

bool WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!file) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

bool WriteBmpGrey(const std::filesystem::path& path, const GreyMap& map) {
  int row = PaddedRow(map.width, 1);
  std::vector<unsigned char> out = BmpHeader(map.width, map.height, 8, 1024, uint32_t(row) * map.height);
  for (int i = 0; i < 256; ++i) {
    out.insert(out.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
  }
  for (int y = map.height - 1; y >= 0; --y) {
    for (int x = 0; x < map.width; ++x) out.push_back(ToByte(map.At(x, y)));
    for (int p = map.width; p < row; ++p) out.push_back(0);
  }
  return WriteBytes(path, out);
}

bool WriteBmpColour(const std::filesystem::path& path, const Picture& picture, ByteOrder order) {
  int row = PaddedRow(picture.width, 3);
  std::vector<unsigned char> out =
      BmpHeader(picture.width, picture.height, 24, 0, uint32_t(row) * picture.height);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb& c = picture.At(x, y);
      uint8_t r = ToByte(c.r), g = ToByte(c.g), b = ToByte(c.b);
      if (order == ByteOrder::kBlueFirst) {
        out.insert(out.end(), {b, g, r});
      } else {
        out.insert(out.end(), {r, g, b});
      }
    }
    for (int p = picture.width * 3; p < row; ++p) out.push_back(0);
  }
  return WriteBytes(path, out);
}

bool WriteTga(const std::filesystem::path& path, const Picture& picture) {
  std::vector<unsigned char> out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16(out, picture.width);
  Put16(out, picture.height);
  out.push_back(32);
  out.push_back(0x08);  // 8 alpha bits, origin at the lower left: rows bottom-up
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb& c = picture.At(x, y);
      out.insert(out.end(), {ToByte(c.b), ToByte(c.g), ToByte(c.r),
                             ToByte(picture.alpha[size_t(y) * picture.width + x])});
    }
  }
  return WriteBytes(path, out);
}

bool WriteJpeg(const std::filesystem::path& path, const Picture& picture, int quality) {
  std::vector<unsigned char> rgb;
  rgb.reserve(size_t(picture.width) * picture.height * 3);
  for (const Rgb& c : picture.colour) rgb.insert(rgb.end(), {ToByte(c.r), ToByte(c.g), ToByte(c.b)});

  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);  // baseline sequential, Huffman coded
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = &rgb[size_t(cinfo.next_scanline) * picture.width * 3];
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<unsigned char> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return WriteBytes(path, bytes);
}

namespace {

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushPng(png_structp) {}

}  // namespace

bool WritePng(const std::filesystem::path& path, const Picture& picture, bool withAlpha) {
  int channels = withAlpha ? 4 : 3;
  std::vector<unsigned char> pixels;
  pixels.reserve(size_t(picture.width) * picture.height * channels);
  for (size_t i = 0; i < picture.colour.size(); ++i) {
    const Rgb& c = picture.colour[i];
    pixels.insert(pixels.end(), {ToByte(c.r), ToByte(c.g), ToByte(c.b)});
    if (withAlpha) pixels.push_back(ToByte(picture.alpha[i]));
  }
  std::vector<unsigned char> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fprintf(stderr, "assetgen: PNG encoding failed for %s\n", path.c_str());
    return false;
  }
  png_set_write_fn(png, &bytes, AppendPng, FlushPng);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, picture.width, picture.height, 8,
               withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < picture.height; ++y) {
    png_write_row(png, &pixels[size_t(y) * picture.width * channels]);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return WriteBytes(path, bytes);
}

}  // namespace assetgen
