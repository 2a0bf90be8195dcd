// Mp3Decoder: an MP3 file or buffer decoded to 16-bit stereo PCM at a fixed rate
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An MP3 file or memory buffer decoded to interleaved signed 16-bit stereo PCM at a fixed rate (libmpg123
// resamples and up-mixes as needed).

namespace platform {

class Mp3Decoder {
 public:
  Mp3Decoder() = default;
  ~Mp3Decoder();
  Mp3Decoder(const Mp3Decoder&) = delete;
  Mp3Decoder& operator=(const Mp3Decoder&) = delete;

  // False when the file cannot be opened or holds no decodable MPEG audio.
  bool OpenFile(const std::string& path, int rate);
  // The bytes are copied, so the caller's buffer may go away.
  bool OpenMemory(const unsigned char* data, size_t size, int rate);
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }

  // Decodes up to `frames` stereo frames into `out`; returns how many were written,
  // 0 at the end of the stream or on a decoding error.
  int Read(int16_t* out, int frames);
  bool Rewind();

 private:
  bool Configure(int rate);
  void* handle_ = nullptr;  // mpg123_handle
  std::vector<unsigned char> memory_;
  bool fromMemory_ = false;
  bool ended_ = false;
};

}  // namespace platform
