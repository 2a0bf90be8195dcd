// CaptureDriver: the per-frame hooks
#include "capture/CaptureDriver.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#include "capture/MessageBoxes.h"

namespace capture {

CaptureDriver::CaptureDriver(const CaptureOptions& options, platform::HeadlessPlatform& platform,
                             const TimelineState& timeline, FrameQueue& queue, ProgressBar& progress)
    : options_(options),
      platform_(platform),
      timeline_(timeline),
      queue_(queue),
      progress_(progress),
      schedule_(options.Schedule()),
      keys_(options.keys, schedule_),
      baseTicks_(platform.Ticks()),
      readsBack_(!options.pngDir.empty() || !options.videoFile.empty()) {
  platform_.onIdle = [this] { BeforeFrame(); };
  platform_.onSwap = [this] { AfterFrame(); };
  platform_.onMessageBox = [this](const platform::MessageBoxRecord& box) { return AnswerBox(box); };
}

CaptureDriver::~CaptureDriver() {
  platform_.onIdle = nullptr;
  platform_.onSwap = nullptr;
  platform_.onMessageBox = nullptr;
}

void CaptureDriver::BeforeFrame() {
  if (prepared_ || closing_) return;
  if (frame_ >= schedule_.EndFrame() || stopped_) {
    // The loop ends on the quit message before drawing again, with the demo's exit code.
    platform_.QueueClose();
    closing_ = true;
    return;
  }
  platform_.SetTicks(baseTicks_ + static_cast<uint32_t>(schedule_.TimeOf(frame_)));
  for (const ScriptedMessage& m : keys_.MessagesBefore(frame_))
    platform_.QueueMessage(m.message, m.wParam, m.lParam);
  prepared_ = true;
}

void CaptureDriver::AfterFrame() {
  if (!prepared_) return;  // a swap outside the schedule (none is expected)
  if (readsBack_ && schedule_.IsWritten(frame_)) {
    CapturedFrame* frame = queue_.Acquire();
    if (frame == nullptr) {
      stopped_ = true;
    } else {
      frame->index = frame_;
      frame->timeMs = schedule_.TimeOf(frame_);
      // As the timeline reckons it, wrap of the tick counter included.
      frame->demoMs = static_cast<int32_t>(platform_.Ticks() - timeline_.TimelineStartTick);
      ReadBack(*frame);
      queue_.Submit(frame);
      ++submitted_;
    }
  }
  progress_.Update(frame_ + 1, schedule_.TimeOf(frame_));
  ++frame_;
  prepared_ = false;
}

void CaptureDriver::ReadBack(CapturedFrame& frame) {
  frame.width = platform_.WindowWidth();
  frame.height = platform_.WindowHeight();
  frame.rgba.resize(static_cast<size_t>(frame.width) * frame.height * 4);
  // RGBA: on llvmpipe half the time of BGRA (0.5 against 1 ms a 1024 x 768 frame), the
  // framebuffer being RGBX. The demo's pixel-store state stays as it was.
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
  glReadPixels(0, 0, frame.width, frame.height, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
  glPopClientAttrib();
}

int CaptureDriver::AnswerBox(const platform::MessageBoxRecord& box) {
  progress_.Clear();
  std::fputs(FormatMessageBox(box.caption, box.text).c_str(), stderr);
  return AnswerMessageBox(box.flags, options_.answerNo);
}

}  // namespace capture
