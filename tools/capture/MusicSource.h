// MusicSource: the music file decoded from a given time of it on, then silence
//
// Planar float stereo samples at the file's own rate, then silence for as long as asked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/Libav.h"

namespace capture {

class MusicSource {
 public:
  // Opens `path` and skips its first `startUs` microseconds. False with `error` set when
  // the file cannot be read as sound.
  bool Open(const std::string& path, int64_t startUs, std::string* error);
  int Rate() const { return rate_; }
  // Fills `count` samples of each of the two channels. Past the end of the music, and
  // after a fault in the file, they are silent: the pictures decide how long sound goes on.
  void Read(int count, float* left, float* right);

 private:
  bool OpenDecoder(const std::string& path, std::string* error);
  bool OpenResampler(const std::string& path, std::string* error);
  // Decodes the next packet's samples into the queue; false once no more will come.
  bool DecodeMore();
  void Queue(uint8_t** samples, int count);

  InputPtr input_;
  CodecContextPtr decoder_;
  ResamplerPtr resampler_;
  SampleFifoPtr queue_;  // decoded, resampled samples not yet read
  FramePtr decoded_;
  PacketPtr packet_;
  int stream_ = -1;
  int rate_ = 0;
  int64_t toSkip_ = 0;  // samples before the start time still to drop
  bool ended_ = false;
  std::vector<float> left_, right_;  // resampler output
};

}  // namespace capture
