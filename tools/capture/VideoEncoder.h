// VideoEncoder: an H.264 MP4 written in the process with libavcodec's x264 and libavformat
//
// Each read-back frame (RGBA, bottom row first) is flipped and turned into YUV 4:2:0 in one pass straight
// into the encoder's picture, with no pipe and no other copy. The music is muxed in from the programme time
// of the first frame, exactly as long as the pictures.
#pragma once

#include <cstdint>
#include <string>

#include "capture/Libav.h"
#include "capture/SoundTrack.h"

namespace capture {

// x264's constant rate factor: lower is better and larger. The default is the best quality
// whose whole programme, sound included, stays within 250 MB on the measured curve that the
// README's Capture section shows.
constexpr int kDefaultCrf = 24;
constexpr int kMaxCrf = 51;

struct VideoSettings {
  std::string path;  // the container follows the file name's extension; MP4 when it has none
  int width = 1024;
  int height = 768;
  int fps = 60;
  int crf = kDefaultCrf;  // the quality the encoder starts with
  int64_t startUs = 0;    // programme time of the first frame in microseconds: where the music starts
  std::string musicPath;  // empty: a video without sound
};

class VideoEncoder {
 public:
  VideoEncoder() = default;
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Creates the file and starts both encoders. False with `error` set on failure; a music
  // file that cannot be read is a failure too, found here before any frame is drawn.
  bool Open(const VideoSettings& settings, std::string* error);
  // The quality of the frames written from now on (settings' crf until then); it may change
  // from frame to frame. False with `error` set when the encoder refuses it.
  bool SetCrf(int crf, std::string* error);
  // `rgba`: one frame of width x height RGBA pixels, bottom row first.
  bool WriteFrame(const uint8_t* rgba, std::string* error);
  // Empties the encoders and finishes the file; false when that failed.
  bool Close(std::string* error);
  bool IsOpen() const { return file_ != nullptr; }
  int64_t FramesWritten() const { return frames_; }

 private:
  bool OpenVideoStream(std::string* error);
  bool WriteHeader(std::string* error);
  bool AllocatePicture(std::string* error);
  bool SendFrame(AVFrame* frame, std::string* error);
  // Sound samples that go with the first `frames` pictures.
  int64_t SamplesFor(int64_t frames) const;
  void Release();

  VideoSettings settings_;
  AVFormatContext* file_ = nullptr;
  CodecContextPtr encoder_;
  AVStream* stream_ = nullptr;
  FramePtr picture_;
  PacketPtr packet_;
  SoundTrack sound_;
  bool hasSound_ = false;
  int64_t frames_ = 0;
};

}  // namespace capture
