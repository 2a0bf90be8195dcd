// CaptureDriver: what the capture does at the headless backend's two hooks
//
// Before each frame (the loop found the queue empty): set the virtual clock to the frame's programme time and
// queue its scripted key messages, or ask the window to close once the range is done. After each presented
// frame: read it back into a pooled buffer for the writer.
#pragma once

#include <cstdint>

#include "capture/CaptureOptions.h"
#include "capture/FrameQueue.h"
#include "capture/FrameSchedule.h"
#include "capture/KeyScript.h"
#include "capture/ProgressBar.h"
#include "director/Demo.h"
#include "platform/HeadlessPlatform.h"

namespace capture {

class CaptureDriver {
 public:
  // Installs itself as the platform's onIdle, onSwap and onMessageBox handlers; the
  // platform's clock at this moment is the programme's time 0 (start-up takes no time).
  // `timeline` is the demo's, read to tell each frame's scene.
  CaptureDriver(const CaptureOptions& options, platform::HeadlessPlatform& platform,
                const TimelineState& timeline, FrameQueue& queue, ProgressBar& progress);
  ~CaptureDriver();
  CaptureDriver(const CaptureDriver&) = delete;
  CaptureDriver& operator=(const CaptureDriver&) = delete;

  int64_t FramesDrawn() const { return frame_; }
  int64_t FramesSubmitted() const { return submitted_; }
  // The writer failed and the capture was stopped early.
  bool Stopped() const { return stopped_; }
  int64_t LastProgrammeMs() const { return schedule_.TimeOf(frame_ > 0 ? frame_ - 1 : 0); }

 private:
  void BeforeFrame();
  void AfterFrame();
  int AnswerBox(const platform::MessageBoxRecord& box);
  void ReadBack(CapturedFrame& frame);

  const CaptureOptions& options_;
  platform::HeadlessPlatform& platform_;
  const TimelineState& timeline_;
  FrameQueue& queue_;
  ProgressBar& progress_;
  FrameSchedule schedule_;
  KeyScript keys_;
  uint32_t baseTicks_;
  bool readsBack_;         // false: a run that only draws, to time the drawing
  int64_t frame_ = 0;      // the frame to draw next
  bool prepared_ = false;  // its clock and key messages are set
  bool closing_ = false;   // WM_CLOSE is on its way
  bool stopped_ = false;
  int64_t submitted_ = 0;
};

}  // namespace capture
