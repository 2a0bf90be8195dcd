// SdlAudioSink: SDL's audio subsystem, held only while the sink is open.
#include "platform/SdlAudioSink.h"

#include <SDL.h>

namespace platform {

SdlAudioSink::~SdlAudioSink() { Close(); }

bool SdlAudioSink::Open(int rate, AudioSource source) {
  Close();
  if (rate <= 0 || !source) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  source_ = std::move(source);
  SDL_AudioSpec wanted{};
  wanted.freq = rate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = 2048;
  wanted.callback = &SdlAudioSink::Callback;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts whatever the device wants from this format.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device_ == 0) {
    source_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlAudioSink::Close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);  // waits for a running callback to return
  device_ = 0;
  source_ = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioSink::Callback(void* self, uint8_t* stream, int bytes) {
  auto* sink = static_cast<SdlAudioSink*>(self);
  sink->source_(reinterpret_cast<int16_t*>(stream), bytes / 4);
}

}  // namespace platform
