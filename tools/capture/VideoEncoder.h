// VideoEncoder: an H.264 MP4 made by the ffmpeg program from the read-back frames
//
// An H.264 MP4 made by the ffmpeg program, fed the read-back frames (BGRA, bottom row first) through a pipe
// as they are: ffmpeg's own converters flip them and turn them into YUV faster than we would. The music is
// muxed in from the programme time of the first frame.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

struct VideoSettings {
  std::string path;
  int width = 1024;
  int height = 768;
  int fps = 60;
  int64_t startUs = 0;    // programme time of the first frame in microseconds: where the music starts
  std::string musicPath;  // empty: a video without sound
};

// The ffmpeg command line (program name first). The audio is padded with silence and cut
// where the pictures end, so sound and picture always have the same length.
std::vector<std::string> FfmpegArguments(const VideoSettings& settings);

class VideoEncoder {
 public:
  VideoEncoder() = default;
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  bool Open(const VideoSettings& settings, std::string* error);
  // `bgra`: one frame of width x height BGRA pixels, bottom row first.
  bool WriteFrame(const uint8_t* bgra, std::string* error);
  // Ends the stream and waits for ffmpeg; false when it failed.
  bool Close(std::string* error);
  bool IsOpen() const { return pid_ > 0; }

 private:
  int pipe_ = -1;  // ffmpeg's standard input
  pid_t pid_ = -1;
  size_t frame_bytes_ = 0;
};

}  // namespace capture
