// FrameWriter: converting and writing one frame.
// Depends on: FrameConvert, PngFile, VideoEncoder.
#include "capture/FrameWriter.h"

#include <filesystem>
#include <system_error>

#include "capture/FrameConvert.h"
#include "capture/PngFile.h"

namespace capture {

bool FrameWriter::Open(const WriterSettings& settings, std::string* error) {
  settings_ = settings;
  if (!settings_.pngDir.empty()) {
    std::error_code failure;
    std::filesystem::create_directories(settings_.pngDir, failure);
    if (failure) {
      *error = "cannot create " + settings_.pngDir + ": " + failure.message();
      return false;
    }
  }
  return !settings_.video || encoder_.Open(settings_.videoSettings, error);
}

bool FrameWriter::Write(const CapturedFrame& frame) {
  if (!settings_.pngDir.empty()) {
    rgb_.resize(static_cast<size_t>(frame.width) * frame.height * 3);
    ConvertFrame(frame.bgra.data(), frame.width, frame.height, frame.width, frame.height, rgb_.data());
    const std::string path = (std::filesystem::path(settings_.pngDir) / PngFileName(frame.timeMs)).string();
    if (!WritePng(path, frame.width, frame.height, rgb_.data(), &error_)) return false;
  }
  if (settings_.video) {
    const VideoSettings& video = settings_.videoSettings;
    rgb_.resize(static_cast<size_t>(video.width) * video.height * 3);
    ConvertFrame(frame.bgra.data(), frame.width, frame.height, video.width, video.height, rgb_.data());
    if (!encoder_.WriteFrame(rgb_.data(), &error_)) return false;
  }
  ++frames_written_;
  return true;
}

bool FrameWriter::Close(std::string* error) { return !encoder_.IsOpen() || encoder_.Close(error); }

}  // namespace capture
