// FrameQueue: frame buffers handed from the render thread to one writer thread
//
// A small pool of frame buffers handed from the render thread to one writer thread, so that converting and
// encoding frame k overlaps with drawing frame k + 1. The render thread blocks only when every buffer is
// still waiting to be written.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace capture {

struct CapturedFrame {
  int64_t index = 0;   // frame number k
  int64_t timeMs = 0;  // programme time of the frame
  // The demo's own programme time when it drew the frame, which picks the scene: the same as
  // timeMs until an F1 restart starts the programme over.
  int32_t demoMs = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // bottom row first, as read back
};

class FrameQueue {
 public:
  // Called on the writer thread, in submission order; false stops the queue.
  using Consumer = std::function<bool(const CapturedFrame&)>;

  FrameQueue(size_t poolSize, Consumer consumer);
  ~FrameQueue();
  FrameQueue(const FrameQueue&) = delete;
  FrameQueue& operator=(const FrameQueue&) = delete;

  // A free buffer (its pixels are whatever it held before); waits while none is free.
  // Null once the consumer has failed: the caller should stop capturing.
  CapturedFrame* Acquire();
  // Hands an acquired buffer to the writer.
  void Submit(CapturedFrame* frame);
  // Writes what is queued, stops the writer; false when the consumer failed. Idempotent.
  bool Finish();

 private:
  void RunWriter();

  Consumer consumer_;
  std::vector<std::unique_ptr<CapturedFrame>> pool_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<CapturedFrame*> free_;
  std::deque<CapturedFrame*> pending_;
  bool stopping_ = false;
  bool failed_ = false;
  std::thread writer_;
};

}  // namespace capture
