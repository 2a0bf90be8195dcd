// MusicStream over the sound layer: playing, restarts, refusals, shutdown in every state
#include <gtest/gtest.h>

#include <tuple>

#include "director/MusicStream.h"
#include "support/Mp3Writer.h"
#include "support/Scratch.h"

using namespace platform;

namespace {

class Music : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::WriteFile(song_, testsupport::MakeSineMp3(440.0, 0.5)); }
  const std::string song_ = (testsupport::ScratchDir() / "song.mp3").string();
  MemorySink* sink_ = new MemorySink;
  SoundSystem sound_{std::unique_ptr<MemorySink>(sink_)};
  MusicStream music_{sound_};
};

// Each start-up (Init, Open, Play) plays exactly one stream, from its start, to its end. Opening again
// replaces the stream; an empty name keeps it, a missing file leaves none.
TEST_F(Music, EveryStartPlaysOneStreamFromItsStartAndOnlyANameReplacesIt) {
  for (int start = 1; start <= 3; ++start) {
    SCOPED_TRACE(start);
    EXPECT_TRUE(music_.Init() && music_.Open(song_) && music_.Play());
    EXPECT_EQ(std::make_pair(sound_.PlayingChannels(), sound_.OpenStreams()), std::make_pair(1, size_t{1}));
    sink_->Pump(44100);
    EXPECT_GT(sink_->NonSilentFrames(), start * 20000u);
    EXPECT_EQ(sound_.PlayingChannels(), 0);  // not looped: over after half a second
  }
  EXPECT_TRUE(music_.Open(song_));
  EXPECT_EQ(sound_.OpenStreams(), 1u);
  EXPECT_TRUE(!music_.Open("") && music_.Play());
  EXPECT_FALSE(music_.Open(song_ + ".absent") || music_.Play());
}

TEST_F(Music, ShutdownAndDestructionCloseInEveryState) {
  for (int opened : {0, 1, 2}) {  // initialised only, playing, playing and shut down before
    SCOPED_TRACE(opened);
    auto music = std::make_unique<MusicStream>(sound_);
    music->Init();
    if (opened > 0) music->Open(song_), music->Play();
    if (opened > 1) music->Shutdown();
    music.reset();
    EXPECT_EQ(std::make_tuple(sound_.IsInitialised(), sink_->IsOpen(), sound_.OpenStreams()),
              std::make_tuple(false, false, size_t{0}));
  }
}

TEST(MusicVersion, LibrariesOlderThan3Point4AreNotInitialised) {
  for (float version : {3.39f, 3.4f}) {
    SoundSystem sound(std::make_unique<MemorySink>(), version);
    EXPECT_EQ(MusicStream(sound).Init(), version >= 3.4f) << version;
  }
}

}  // namespace
