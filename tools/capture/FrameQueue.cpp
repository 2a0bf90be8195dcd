// FrameQueue: the hand-over between render and writer threads
#include "capture/FrameQueue.h"

namespace capture {

FrameQueue::FrameQueue(size_t poolSize, Consumer consumer) : consumer_(std::move(consumer)) {
  for (size_t i = 0; i < poolSize; ++i) {
    pool_.push_back(std::make_unique<CapturedFrame>());
    free_.push_back(pool_.back().get());
  }
  writer_ = std::thread([this] { RunWriter(); });
}

FrameQueue::~FrameQueue() { Finish(); }

CapturedFrame* FrameQueue::Acquire() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return failed_ || !free_.empty(); });
  if (failed_) return nullptr;
  CapturedFrame* frame = free_.front();
  free_.pop_front();
  return frame;
}

void FrameQueue::Submit(CapturedFrame* frame) {
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(frame);
  }
  changed_.notify_all();
}

bool FrameQueue::Finish() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (writer_.joinable()) writer_.join();
  std::lock_guard lock(mutex_);
  return !failed_;
}

void FrameQueue::RunWriter() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
    if (pending_.empty()) return;  // stopping, and everything is written
    CapturedFrame* frame = pending_.front();
    pending_.pop_front();
    if (!failed_) {  // after a failure the rest is only handed back, not written
      lock.unlock();
      const bool ok = consumer_(*frame);
      lock.lock();
      if (!ok) failed_ = true;
    }
    free_.push_back(frame);
    changed_.notify_all();
  }
}

}  // namespace capture
