// Fuzz target: the music stream as start-up drives it, over our sound layer and MP3 decoder
#include <cstddef>
#include <cstdint>
#include <memory>

#include "director/MusicStream.h"
#include "platform/Sound.h"
#include "support/FuzzInput.h"

namespace {

constexpr int kPumpFrames = 4410;  // 0.1 s at the mix rate
constexpr int kMaxPumps = 10;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzz::WriteInputFile(data, size);
  auto ownedSink = std::make_unique<platform::NullSink>();
  platform::NullSink& sink = *ownedSink;
  platform::SoundSystem sound(std::move(ownedSink));
  {
    MusicStream music(sound);
    fuzz::Require(music.Init(), "the sound layer initialises on a null sink");
    const bool opened = music.Open(path);
    fuzz::Require(music.Play() == opened, "Play succeeds exactly when a stream is open");
    for (int pump = 0; pump < kMaxPumps && sound.PlayingChannels() > 0; ++pump) sink.Pump(kPumpFrames);
    fuzz::Require(sink.FramesPulled() <= static_cast<uint64_t>(kPumpFrames) * kMaxPumps,
                  "no more than pumped");
  }
  fuzz::Require(!sound.IsInitialised() && sound.OpenStreams() == 0, "shutdown releases every stream");
  return 0;
}
