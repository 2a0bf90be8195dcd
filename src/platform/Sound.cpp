// Sound: streams, channels and the mixer of the sound layer, and the headless sinks
#include "platform/Sound.h"

#include <algorithm>

namespace platform {

struct SoundStream {
  Mp3Decoder decoder;
  int channel = -1;  // -1 while not playing
};

// ---- Pulled sinks ---------------------------------------------------------------

bool PulledSink::Open(int rate, AudioSource source) {
  if (rate <= 0 || !source) return false;
  source_ = std::move(source);
  rate_ = rate;
  return true;
}

void PulledSink::Close() { source_ = nullptr; }

void PulledSink::Pump(int frames) {
  while (source_ && frames > 0) {
    const int chunk = std::min(frames, 4096);
    buffer_.assign(static_cast<size_t>(chunk) * 2, 0);
    source_(buffer_.data(), chunk);
    for (int i = 0; i < chunk; ++i) {
      if (buffer_[2 * i] != 0 || buffer_[2 * i + 1] != 0) ++nonSilentFrames_;
    }
    framesPulled_ += static_cast<uint64_t>(chunk);
    Consume(buffer_.data(), chunk);
    frames -= chunk;
  }
}

void MemorySink::Consume(const int16_t* samples, int frames) {
  samples_.insert(samples_.end(), samples, samples + static_cast<size_t>(frames) * 2);
}

FileSink::~FileSink() { Close(); }

bool FileSink::Open(int rate, AudioSource source) {
  Close();
  file_ = std::fopen(path_.c_str(), "wb");
  if (file_ == nullptr) return false;
  if (!PulledSink::Open(rate, std::move(source))) {
    Close();
    return false;
  }
  return true;
}

void FileSink::Close() {
  PulledSink::Close();
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void FileSink::Consume(const int16_t* samples, int frames) {
  if (file_ == nullptr) return;
  // Little-endian on disk whatever the host order.
  std::vector<unsigned char> bytes(static_cast<size_t>(frames) * 4);
  for (size_t i = 0; i < static_cast<size_t>(frames) * 2; ++i) {
    const auto value = static_cast<uint16_t>(samples[i]);
    bytes[2 * i] = static_cast<unsigned char>(value & 0xFF);
    bytes[2 * i + 1] = static_cast<unsigned char>(value >> 8);
  }
  std::fwrite(bytes.data(), 1, bytes.size(), file_);
}

// ---- Sound system ---------------------------------------------------------------

SoundSystem::SoundSystem(std::unique_ptr<AudioSink> sink, float version)
    : sink_(std::move(sink)), version_(version) {}

SoundSystem::~SoundSystem() { Close(); }

bool SoundSystem::SetDriver(int driver) { return driver == 0; }

bool SoundSystem::Init(int mixRate, int maxChannels, unsigned /*flags: focus is irrelevant here*/) {
  Close();
  if (sink_ == nullptr || mixRate <= 0 || maxChannels <= 0 || maxChannels > 1024) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    channels_.assign(static_cast<size_t>(maxChannels), nullptr);
    mixRate_ = mixRate;
  }
  if (!sink_->Open(mixRate, [this](int16_t* out, int frames) { Mix(out, frames); })) {
    std::lock_guard<std::mutex> lock(mutex_);
    channels_.clear();
    return false;
  }
  initialised_ = true;
  return true;
}

void SoundSystem::Close() {
  // The sink first and without the lock: closing an audio device waits for its
  // callback, which may itself be waiting for the lock.
  if (sink_ != nullptr) sink_->Close();
  std::lock_guard<std::mutex> lock(mutex_);
  channels_.clear();
  streams_.clear();
  initialised_ = false;
  mixRate_ = 0;
}

bool SoundSystem::Owns(SoundStream* stream) const {
  return stream != nullptr && std::any_of(streams_.begin(), streams_.end(),
                                          [stream](const auto& owned) { return owned.get() == stream; });
}

SoundStream* SoundSystem::StreamOpenFile(const std::string& name, unsigned /*mode*/, int /*length*/) {
  // Streams never loop and always run to the end of the file, whatever the mode and
  // length ask for; those are the only values the demo uses.
  if (!initialised_ || name.empty()) return nullptr;
  auto stream = std::make_unique<SoundStream>();
  if (!stream->decoder.OpenFile(name, mixRate_)) return nullptr;
  std::lock_guard<std::mutex> lock(mutex_);
  streams_.push_back(std::move(stream));
  return streams_.back().get();
}

void SoundSystem::StopLocked(SoundStream* stream) {
  if (stream->channel >= 0 && static_cast<size_t>(stream->channel) < channels_.size()) {
    channels_[static_cast<size_t>(stream->channel)] = nullptr;
  }
  stream->channel = -1;
}

int SoundSystem::StreamPlay(int channel, SoundStream* stream) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!initialised_ || !Owns(stream)) return -1;
  if (stream->channel >= 0) channel = stream->channel;
  StopLocked(stream);
  if (channel == FSOUND_FREE) {
    const auto free = std::find(channels_.begin(), channels_.end(), nullptr);
    if (free == channels_.end()) return -1;
    channel = static_cast<int>(free - channels_.begin());
  }
  if (channel < 0 || static_cast<size_t>(channel) >= channels_.size()) return -1;
  if (channels_[static_cast<size_t>(channel)] != nullptr) StopLocked(channels_[static_cast<size_t>(channel)]);
  if (!stream->decoder.Rewind()) return -1;
  channels_[static_cast<size_t>(channel)] = stream;
  stream->channel = channel;
  return channel;
}

bool SoundSystem::StreamStop(SoundStream* stream) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!Owns(stream)) return false;
  StopLocked(stream);
  return true;
}

bool SoundSystem::StreamClose(SoundStream* stream) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!Owns(stream)) return false;
  StopLocked(stream);
  std::erase_if(streams_, [stream](const auto& owned) { return owned.get() == stream; });
  return true;
}

int SoundSystem::PlayingChannels() {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(
      std::count_if(channels_.begin(), channels_.end(), [](auto* s) { return s != nullptr; }));
}

size_t SoundSystem::OpenStreams() {
  std::lock_guard<std::mutex> lock(mutex_);
  return streams_.size();
}

void SoundSystem::Mix(int16_t* out, int frames) {
  std::fill(out, out + static_cast<size_t>(frames) * 2, int16_t{0});
  std::lock_guard<std::mutex> lock(mutex_);
  scratch_.resize(static_cast<size_t>(frames) * 2);
  for (SoundStream*& playing : channels_) {
    if (playing == nullptr) continue;
    const int got = playing->decoder.Read(scratch_.data(), frames);
    for (size_t i = 0; i < static_cast<size_t>(got) * 2; ++i) {
      out[i] = static_cast<int16_t>(std::clamp(int{out[i]} + int{scratch_[i]}, -32768, 32767));
    }
    if (got < frames) {  // the stream has ended: its channel becomes free
      playing->channel = -1;
      playing = nullptr;
    }
  }
}

}  // namespace platform
