// MusicStream over the sound layer: results, restarts, shutdown in every state.
#include <gtest/gtest.h>

#include "director/MusicStream.h"
#include "support/GLTest.h"
#include "support/Mp3Writer.h"

using namespace platform;

namespace {

struct Rig {
  explicit Rig(float version = kSoundLibraryVersion) {
    auto owned = std::make_unique<MemorySink>();
    sink = owned.get();
    sound = std::make_unique<SoundSystem>(std::move(owned), version);
  }
  MemorySink* sink;
  std::unique_ptr<SoundSystem> sound;
};

std::string WriteSong() {
  const auto path = testsupport::ScratchDir() / "song.mp3";
  testsupport::WriteFile(path, testsupport::MakeSineMp3(440.0, 0.5));
  return path.string();
}

TEST(MusicStream, PlaysTheSongThroughTheSink) {
  const std::string song = WriteSong();
  Rig rig;
  MusicStream music(*rig.sound);
  EXPECT_TRUE(music.Init());
  EXPECT_TRUE(music.Open(song));
  EXPECT_TRUE(music.Play());
  rig.sink->Pump(44100);
  EXPECT_GT(rig.sink->NonSilentFrames(), 20000u);
  EXPECT_EQ(rig.sound->PlayingChannels(), 0);  // not looped: over after half a second
}

TEST(MusicStream, MissingFileLeavesItSilentAndShutdownStillCloses) {
  Rig rig;
  MusicStream music(*rig.sound);
  EXPECT_TRUE(music.Init());
  EXPECT_FALSE(music.Open((testsupport::ScratchDir() / "absent.mp3").string()));
  EXPECT_FALSE(music.Play());
  EXPECT_TRUE(rig.sound->IsInitialised());
  music.Shutdown();
  EXPECT_FALSE(rig.sound->IsInitialised());
  EXPECT_FALSE(rig.sink->IsOpen());
  music.Shutdown();  // safe in every state
}

TEST(MusicStream, EmptyNameOpensNothingAndKeepsTheStream) {
  const std::string song = WriteSong();
  Rig rig;
  MusicStream music(*rig.sound);
  EXPECT_FALSE(music.Open(""));
  EXPECT_FALSE(music.Play());
  ASSERT_TRUE(music.Init());
  ASSERT_TRUE(music.Open(song));
  EXPECT_FALSE(music.Open(""));
  EXPECT_TRUE(music.HasStream());
  EXPECT_TRUE(music.Play());
}

TEST(MusicStream, TooOldLibraryIsNotInitialised) {
  Rig rig(3.39f);
  MusicStream music(*rig.sound);
  EXPECT_FALSE(music.Init());
  EXPECT_FALSE(rig.sound->IsInitialised());
  Rig exact(3.4f);
  MusicStream music2(*exact.sound);
  EXPECT_TRUE(music2.Init());
}

TEST(MusicStream, RestartPlaysExactlyOneStreamFromItsStart) {
  const std::string song = WriteSong();
  Rig rig;
  MusicStream music(*rig.sound);
  for (int start = 0; start < 3; ++start) {
    music.Init();
    music.Open(song);
    EXPECT_TRUE(music.Play());
    EXPECT_EQ(rig.sound->PlayingChannels(), 1);
    EXPECT_EQ(rig.sound->OpenStreams(), 1u);
    rig.sink->Pump(8000);
  }
  // Opening again without a restart replaces the stream rather than adding one.
  music.Open(song);
  EXPECT_EQ(rig.sound->OpenStreams(), 1u);
}

TEST(MusicStream, DestructionStopsAndCloses) {
  const std::string song = WriteSong();
  Rig rig;
  {
    MusicStream music(*rig.sound);
    music.Init();
    music.Open(song);
    music.Play();
  }
  EXPECT_FALSE(rig.sound->IsInitialised());
  EXPECT_EQ(rig.sound->OpenStreams(), 0u);
}

}  // namespace
