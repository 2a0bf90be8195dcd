// FrameWriter: what the writer thread does with each captured frame
//
// A PNG named after its programme time, and/or a frame of the video.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/FrameQueue.h"
#include "capture/VideoEncoder.h"

namespace capture {

struct WriterSettings {
  std::string pngDir;  // empty: no pictures
  bool video = false;
  VideoSettings videoSettings;  // its size is the size of every video frame
};

class FrameWriter {
 public:
  // Creates the picture folder and starts the encoder. False with `error` set on failure.
  bool Open(const WriterSettings& settings, std::string* error);
  // One frame, on the writer thread. False (see Error()) when it could not be written.
  bool Write(const CapturedFrame& frame);
  // Finishes the video. False with `error` set when the encoder failed.
  bool Close(std::string* error);

  const std::string& Error() const { return error_; }
  int64_t FramesWritten() const { return framesWritten_; }

 private:
  WriterSettings settings_;
  VideoEncoder encoder_;
  std::vector<uint8_t> scratch_;  // writer thread only
  std::string error_;
  int64_t framesWritten_ = 0;
};

}  // namespace capture
