// SdlAudioSink: the mixer's output played on the default SDL audio device
#pragma once

#include <cstdint>

#include "platform/Sound.h"

// Plays the mixer's output on the default SDL audio device; SDL calls the mixer on its own audio thread.

namespace platform {

class SdlAudioSink : public AudioSink {
 public:
  ~SdlAudioSink() override;
  bool Open(int rate, AudioSource source) override;
  void Close() override;
  bool IsOpen() const override { return device_ != 0; }

 private:
  static void Callback(void* self, uint8_t* stream, int bytes);
  AudioSource source_;
  uint32_t device_ = 0;  // SDL_AudioDeviceID
};

}  // namespace platform
