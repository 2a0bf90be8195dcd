// MusicStream over the sound layer: playing, restarts, refusals, shutdown in every state
#include <gtest/gtest.h>

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

// Each start-up (Init, Open, Play) plays exactly one stream, from its start, to its end.
TEST_F(Music, EveryStartPlaysOneStreamFromItsStart) {
  for (int start = 1; start <= 3; ++start) {
    SCOPED_TRACE(start);
    EXPECT_TRUE(music_.Init());
    EXPECT_TRUE(music_.Open(song_));
    EXPECT_TRUE(music_.Play());
    EXPECT_EQ(sound_.PlayingChannels(), 1);
    EXPECT_EQ(sound_.OpenStreams(), 1u);
    sink_->Pump(44100);
    EXPECT_GT(sink_->NonSilentFrames(), start * 20000u);
    EXPECT_EQ(sound_.PlayingChannels(), 0);  // not looped: over after half a second
  }
  music_.Open(song_);  // opening again without a restart replaces the stream
  EXPECT_EQ(sound_.OpenStreams(), 1u);
}

TEST_F(Music, MissingOrEmptyNameOpensNothingAndKeepsWhatPlays) {
  EXPECT_FALSE(music_.Open(""));
  EXPECT_FALSE(music_.Play());
  ASSERT_TRUE(music_.Init());
  EXPECT_FALSE(music_.Open(song_ + ".absent"));
  EXPECT_FALSE(music_.Play());
  ASSERT_TRUE(music_.Open(song_));
  EXPECT_FALSE(music_.Open(""));
  EXPECT_TRUE(music_.HasStream());
  EXPECT_TRUE(music_.Play());
}

TEST_F(Music, ShutdownAndDestructionCloseInEveryState) {
  for (int opened : {0, 1, 2}) {  // initialised only, playing, playing and shut down before
    SCOPED_TRACE(opened);
    auto owned = std::make_unique<MemorySink>();
    MemorySink* sink = owned.get();
    SoundSystem sound(std::move(owned));
    {
      MusicStream music(sound);
      music.Init();
      if (opened > 0) music.Open(song_), music.Play();
      if (opened > 1) music.Shutdown();
    }
    EXPECT_FALSE(sound.IsInitialised());
    EXPECT_FALSE(sink->IsOpen());
    EXPECT_EQ(sound.OpenStreams(), 0u);
  }
}

TEST(MusicVersion, LibrariesOlderThan3Point4AreNotInitialised) {
  for (float version : {3.39f, 3.4f}) {
    SCOPED_TRACE(version);
    SoundSystem sound(std::make_unique<MemorySink>(), version);
    MusicStream music(sound);
    EXPECT_EQ(music.Init(), version >= 3.4f);
    EXPECT_EQ(sound.IsInitialised(), version >= 3.4f);
  }
}

}  // namespace
