// MusicStream: the demo's soundtrack, one MP3 streamed through the platform's sound layer
#pragma once

#include <string>

#include "platform/Sound.h"

// The demo's soundtrack, one MP3 streamed once from its start through the platform's FSOUND-style sound
// layer. Shutdown runs when the object goes, i.e. at program exit, after the window is gone.

class MusicStream {
 public:
  explicit MusicStream(platform::SoundSystem& sound) : sound_(sound) {}
  ~MusicStream() { Shutdown(); }
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  // True when the sound library (version 3.4 or later) initialised. Initialising
  // again (a restart) first stops and releases the stream of the previous start.
  bool Init();
  // True when `fileName` was opened as a stream; an empty name changes nothing.
  bool Open(const std::string& fileName);
  // False when no stream is open.
  bool Play();
  // Stops the stream, if any, and always closes the library.
  void Shutdown();

  bool HasStream() const { return stream_ != nullptr; }

 private:
  platform::SoundSystem& sound_;
  platform::SoundStream* stream_ = nullptr;
};
