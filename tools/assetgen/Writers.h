// Writers: the file formats the demo reads, written from Pictures
//
// BMP and TGA are written by hand (tiny formats, and the readers are picky about their headers). Every writer
// returns false (and says why on stderr) when the file cannot be written.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Picture.h"

namespace assetgen {

// Uncompressed 8-bit BMP with a grey ramp palette, bottom row first.
bool WriteBmpGrey(const std::filesystem::path& path, const GreyMap& map);

// Which byte of a 24-bit BMP pixel comes first. Readers that upload the bytes unchanged as
// RGB need red first to show the intended colours.
enum class ByteOrder { kBlueFirst, kRedFirst };

// Uncompressed 24-bit BMP, bottom row first, rows padded to 4 bytes.
bool WriteBmpColour(const std::filesystem::path& path, const Picture& picture, ByteOrder order);

// Uncompressed true-colour TGA (type 2, 32 bits, blue-green-red-alpha), bottom row first.
bool WriteTga(const std::filesystem::path& path, const Picture& picture);

// Baseline JPEG, 4:2:0, at the given quality.
bool WriteJpeg(const std::filesystem::path& path, const Picture& picture, int quality);

// 8-bit RGBA PNG (alpha kept), or RGB when withAlpha is false.
bool WritePng(const std::filesystem::path& path, const Picture& picture, bool withAlpha);

// Raw bytes, creating the parent folders.
bool WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

}  // namespace assetgen
