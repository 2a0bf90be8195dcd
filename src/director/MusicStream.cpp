// MusicStream: the calls of the original music object, mapped one to one.
#include "director/MusicStream.h"

namespace {
constexpr float kMinimumVersion = 3.4f;
constexpr int kMixRate = 44100;
constexpr int kMaxChannels = 32;
}  // namespace

bool MusicStream::Init() {
  if (sound_.GetVersion() < kMinimumVersion) return false;
  // A restart runs Init again: the previous stream must not play on beside the new
  // one, nor stay allocated. Re-initialising the library would free it as well, but
  // only if the version check passes, so release it here explicitly.
  if (stream_ != nullptr) {
    sound_.StreamStop(stream_);
    sound_.StreamClose(stream_);
    stream_ = nullptr;
  }
  sound_.SetDriver(0);
  return sound_.Init(kMixRate, kMaxChannels, platform::FSOUND_INIT_GLOBALFOCUS);
}

bool MusicStream::Open(const std::string& fileName) {
  if (fileName.empty()) return false;
  if (stream_ != nullptr) sound_.StreamClose(stream_);  // never two streams at once
  stream_ = sound_.StreamOpenFile(fileName, platform::FSOUND_LOOP_OFF, 0);
  return stream_ != nullptr;
}

bool MusicStream::Play() {
  if (stream_ == nullptr) return false;
  sound_.StreamPlay(platform::FSOUND_FREE, stream_);
  return true;
}

void MusicStream::Shutdown() {
  if (stream_ != nullptr) {
    sound_.StreamStop(stream_);
    stream_ = nullptr;
  }
  sound_.Close();
}
