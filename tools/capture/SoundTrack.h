// SoundTrack: the video's AAC sound stream
//
// Made from the music from the programme time of the first frame on, as long as the pictures.
#pragma once

#include <cstdint>
#include <string>

#include "capture/Libav.h"
#include "capture/MusicSource.h"

namespace capture {

class SoundTrack {
 public:
  // Opens the music and adds the stream to `file` (before its header is written). False
  // with `error` set when the music cannot be read or encoded.
  bool Open(const std::string& musicPath, int64_t startUs, AVFormatContext* file, std::string* error);
  // Encodes whole AAC frames up to `samples` from the start.
  bool EncodeUntil(int64_t samples, std::string* error);
  // Encodes up to exactly `samples` and empties the encoder.
  bool Finish(int64_t samples, std::string* error);
  int Rate() const { return music_.Rate(); }

 private:
  bool EncodeFrame(int count, std::string* error);

  MusicSource music_;
  CodecContextPtr encoder_;
  FramePtr frame_;
  PacketPtr packet_;
  AVFormatContext* file_ = nullptr;
  AVStream* stream_ = nullptr;
  int64_t encoded_ = 0;  // samples handed to the encoder
};

}  // namespace capture
