// Sound: a small FSOUND-style sound layer over Mp3Decoder, with pluggable output sinks
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Mp3Decoder.h"

// A small FSOUND-style sound layer (version, driver, init, streams opened from files, played on free
// channels, stopped, library closed) over Mp3Decoder, mixing into an AudioSink. The sink decides where
// samples go: the SDL audio device on its own thread, or, headless, nowhere, memory or a raw PCM file, pulled
// by the driver of the virtual clock.

namespace platform {

inline constexpr int FSOUND_FREE = -1;             // StreamPlay: any free channel
inline constexpr unsigned FSOUND_LOOP_OFF = 0x01;  // stream mode: play once
inline constexpr unsigned FSOUND_INIT_GLOBALFOCUS = 0x02;
inline constexpr float kSoundLibraryVersion = 3.75f;

// Fills `frames` interleaved stereo 16-bit frames.
using AudioSource = std::function<void(int16_t* out, int frames)>;

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // Starts taking samples from `source` at `rate` Hz, two channels. False when no
  // output is available (the sound layer then fails to initialise).
  virtual bool Open(int rate, AudioSource source) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

// A sink that takes samples only when asked to (Pump): the headless backend pumps
// it as its virtual clock advances, so the output stays in step with programme time.
class PulledSink : public AudioSink {
 public:
  bool Open(int rate, AudioSource source) override;
  void Close() override;
  bool IsOpen() const override { return static_cast<bool>(source_); }
  int Rate() const { return rate_; }
  // Pulls `frames` frames from the source and hands them to Consume; none while closed.
  void Pump(int frames);
  uint64_t FramesPulled() const { return framesPulled_; }
  uint64_t NonSilentFrames() const { return nonSilentFrames_; }

 protected:
  virtual void Consume(const int16_t* samples, int frames) = 0;

 private:
  AudioSource source_;
  int rate_ = 0;
  uint64_t framesPulled_ = 0;
  uint64_t nonSilentFrames_ = 0;
  std::vector<int16_t> buffer_;
};

// Discards what it pulls (but counts it).
class NullSink : public PulledSink {
 protected:
  void Consume(const int16_t*, int) override {}
};

// Keeps every sample pulled since it was created.
class MemorySink : public PulledSink {
 public:
  const std::vector<int16_t>& Samples() const { return samples_; }

 protected:
  void Consume(const int16_t* samples, int frames) override;

 private:
  std::vector<int16_t> samples_;
};

// Appends raw little-endian signed 16-bit stereo PCM to a file, opened with the sink.
class FileSink : public PulledSink {
 public:
  explicit FileSink(std::string path) : path_(std::move(path)) {}
  ~FileSink() override;
  bool Open(int rate, AudioSource source) override;
  void Close() override;
  const std::string& Path() const { return path_; }

 protected:
  void Consume(const int16_t* samples, int frames) override;

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

struct SoundStream;  // opaque stream handle, owned by the SoundSystem

class SoundSystem {
 public:
  explicit SoundSystem(std::unique_ptr<AudioSink> sink, float version = kSoundLibraryVersion);
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  float GetVersion() const { return version_; }
  // Only driver 0, the default output, exists.
  bool SetDriver(int driver);
  // Opens the sink at `mixRate` with `maxChannels` channels. Initialising again first
  // closes what the previous initialisation had (streams included).
  bool Init(int mixRate, int maxChannels, unsigned flags);
  // Stops every channel, frees every stream and closes the sink. Safe at any time.
  void Close();

  // Null when not initialised, the name is empty or the file holds no MP3 audio.
  SoundStream* StreamOpenFile(const std::string& name, unsigned mode, int length);
  // Plays from the start on `channel` (FSOUND_FREE: the first free one); returns the
  // channel or -1. A stream already playing is restarted on its channel.
  int StreamPlay(int channel, SoundStream* stream);
  bool StreamStop(SoundStream* stream);
  bool StreamClose(SoundStream* stream);

  bool IsInitialised() const { return initialised_; }
  int PlayingChannels();
  size_t OpenStreams();
  AudioSink& Sink() { return *sink_; }

 private:
  void Mix(int16_t* out, int frames);  // runs on the sink's thread
  bool Owns(SoundStream* stream) const;
  void StopLocked(SoundStream* stream);

  std::unique_ptr<AudioSink> sink_;
  float version_;
  bool initialised_ = false;
  std::mutex mutex_;  // guards channels_ and the streams' decoders against Mix
  std::vector<std::unique_ptr<SoundStream>> streams_;
  std::vector<SoundStream*> channels_;
  std::vector<int16_t> scratch_;
  int mixRate_ = 0;
};

}  // namespace platform
