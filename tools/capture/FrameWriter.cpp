// FrameWriter: converting and writing one frame
#include "capture/FrameWriter.h"

#include <filesystem>
#include <system_error>

#include "capture/FrameConvert.h"
#include "capture/PngFile.h"
#include "capture/SceneQuality.h"

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
  if (!settings_.video) return true;
  // Found out here, with a clearer reason than the muxer would give.
  const std::filesystem::path folder = std::filesystem::path(settings_.videoSettings.path).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder)) {
    *error = "cannot write " + settings_.videoSettings.path + ": no folder " + folder.string();
    return false;
  }
  return encoder_.Open(settings_.videoSettings, error);
}

bool FrameWriter::Write(const CapturedFrame& frame) {
  if (!settings_.pngDir.empty()) {
    scratch_.resize(static_cast<size_t>(frame.width) * frame.height * 3);
    ToRgb(frame.rgba.data(), frame.width, frame.height, scratch_.data());
    const std::string path = (std::filesystem::path(settings_.pngDir) / PngFileName(frame.timeMs)).string();
    if (!WritePng(path, frame.width, frame.height, scratch_.data(), &error_)) return false;
  }
  if (settings_.video) {
    const VideoSettings& video = settings_.videoSettings;
    const uint8_t* pixels = frame.rgba.data();
    if (frame.width != video.width || frame.height != video.height) {
      scratch_.resize(static_cast<size_t>(video.width) * video.height * 4);
      CentreFrame(pixels, frame.width, frame.height, video.width, video.height, scratch_.data());
      pixels = scratch_.data();
    }
    if (!encoder_.SetCrf(ChooseCrf(video.crf, frame.demoMs), &error_) ||
        !encoder_.WriteFrame(pixels, &error_))
      return false;
  }
  ++framesWritten_;
  return true;
}

bool FrameWriter::Close(std::string* error) { return !encoder_.IsOpen() || encoder_.Close(error); }

}  // namespace capture
