// CaptureRun: the demo run on the headless backend with a virtual clock, its frames read back
//
// Sets up the writer, the headless platform and the demo, runs the demo's own entry, and reports.
#include "capture/CaptureRun.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "capture/CaptureDriver.h"
#include "capture/FrameQueue.h"
#include "capture/FrameWriter.h"
#include "capture/ProgressBar.h"
#include "director/Demo.h"
#include "director/Startup.h"
#include "platform/HeadlessPlatform.h"
#include "shell/MainLoop.h"

namespace capture {
namespace {

// Enough to keep the writer busy while the next frames are drawn, few enough that a slow
// writer holds the drawing back instead of filling memory.
constexpr size_t kFramePool = 4;

WriterSettings MakeWriterSettings(const CaptureOptions& options) {
  WriterSettings settings;
  settings.pngDir = options.pngDir;
  settings.video = !options.videoFile.empty();
  VideoSettings& video = settings.videoSettings;
  video.path = options.videoFile;
  video.width = options.width;
  video.height = options.height;
  video.fps = options.fps;
  video.crf = options.crf;
  // The music is in step with programme time, so it starts where the first written frame is.
  video.startUs = options.Schedule().FirstWrittenFrame() * 1000000 / options.fps;
  if (settings.video && std::filesystem::exists(kMusicFile)) {
    video.musicPath = kMusicFile;
  } else if (settings.video) {
    std::fprintf(stderr, "landscape-capture: no %s here; the video will have no sound\n", kMusicFile);
  }
  return settings;
}

}  // namespace

int RunCapture(const CaptureOptions& options) {
  FrameWriter writer;
  std::string error;
  if (!writer.Open(MakeWriterSettings(options), &error)) {
    std::fprintf(stderr, "landscape-capture: %s\n", error.c_str());
    return 1;
  }
  FrameQueue queue(kFramePool, [&writer](const CapturedFrame& frame) { return writer.Write(frame); });
  ProgressBar progress(!options.quiet, options.Schedule().EndFrame());

  int exitCode = 0;
  int64_t framesDrawn = 0;
  int64_t lastMs = 0;
  {
    platform::HeadlessPlatform platform;
    Demo demo(platform);
    CaptureDriver driver(options, platform, demo.timeline, queue, progress);
    exitCode = RunLandscape(demo, {options.width, options.height});
    framesDrawn = driver.FramesDrawn();
    lastMs = driver.LastProgrammeMs();
  }
  progress.Finish(framesDrawn, lastMs);

  const bool written = queue.Finish();
  const bool closed = writer.Close(&error);
  const bool wantsOutput = !options.pngDir.empty() || !options.videoFile.empty();
  if (wantsOutput && writer.FramesWritten() == 0) {
    std::fprintf(stderr, "landscape-capture: no frame lay in [%lld, %lld) ms; the demo drew %lld frames\n",
                 static_cast<long long>(options.fromMs), static_cast<long long>(options.toMs),
                 static_cast<long long>(framesDrawn));
    return 1;
  }
  if (!written || !closed) {
    std::fprintf(stderr, "landscape-capture: %s\n", (!written ? writer.Error() : error).c_str());
    return 1;
  }
  return exitCode;
}

}  // namespace capture
