// The sound layer: MP3 decoding, channels, stream lifetime, the sinks
#include "platform/Sound.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/Mp3Decoder.h"
#include "support/Mp3Writer.h"
#include "support/Scratch.h"

using namespace platform;

namespace {

// Upward zero crossings of the left channel per second: the tone's frequency.
double MeasuredFrequency(const std::vector<int16_t>& stereo, size_t firstFrame, size_t frames) {
  int crossings = 0;
  for (size_t i = firstFrame + 1; i < firstFrame + frames; ++i)
    crossings += stereo[2 * i - 2] < 0 && stereo[2 * i] >= 0;
  return crossings * 44100.0 / static_cast<double>(frames);
}

// A 0.5 s tone at either rate comes out stereo at 44.1 kHz, with the encoder's padding but not a second
// long; half the file gives what is there; the end stays the end until a rewind.
TEST(Mp3Decoder, DecodesTonesAtTheOutputRate) {
  // Tone, its rate, half the file only, and the least and most frames that come out.
  const std::tuple<double, int, bool, int, int> cases[] = {{440.0, 44100, false, 21000, 26000},
                                                           {1000.0, 22050, false, 21000, 27000},
                                                           {440.0, 44100, true, 5000, 16000}};
  for (const auto& [hz, rate, half, minFrames, maxFrames] : cases) {
    SCOPED_TRACE(rate + half);
    auto bytes = testsupport::MakeSineMp3(hz, 0.5, rate);
    if (half) bytes.resize(bytes.size() / 2);
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.OpenMemory(bytes.data(), bytes.size(), 44100));
    std::vector<int16_t> pcm(2 * 44100);
    const int frames = decoder.Read(pcm.data(), 44100);
    EXPECT_TRUE(frames > minFrames && frames < maxFrames) << frames;
    EXPECT_NEAR(MeasuredFrequency(pcm, 4000, 8000), hz, hz / 40);
    EXPECT_EQ(pcm[2 * 6000], pcm[2 * 6000 + 1]);  // mono doubled into both channels
    EXPECT_EQ(decoder.Read(pcm.data(), 100), 0);
    ASSERT_TRUE(decoder.Rewind());
    EXPECT_EQ(decoder.Read(pcm.data(), 100), 100);
  }
}

TEST(Mp3Decoder, RefusesWhatIsNotMpegAudio) {
  const auto dir = testsupport::ScratchDir();
  testsupport::WriteFile(dir / "text.mp3", std::vector<unsigned char>(2000, 'x'));
  testsupport::WriteFile(dir / "empty.mp3", {});
  Mp3Decoder decoder;
  for (const char* name : {"missing.mp3", "text.mp3", "empty.mp3"})
    EXPECT_FALSE(decoder.OpenFile((dir / name).string(), 44100)) << name;
  EXPECT_FALSE(decoder.OpenMemory(std::vector<unsigned char>(500, 0xFF).data(), 500, 44100));
  EXPECT_FALSE(decoder.OpenMemory(nullptr, 10, 44100));
  int16_t out[8];
  EXPECT_EQ(decoder.Read(out, 4), 0);  // a closed decoder reads nothing
}

// Nothing opens before Init or after Close. A played stream reaches the sink, frees its channel at its end
// and starts over when played again; two channels go to the first two streams played, and stop and close
// free them.
TEST(SoundSystem, PlaysStreamsOnItsChannelsFromInitToClose) {
  const std::string song = (testsupport::ScratchDir() / "sine.mp3").string();
  testsupport::WriteFile(song, testsupport::MakeSineMp3(440.0, 0.25));
  auto* sink = new MemorySink;
  SoundSystem sound{std::unique_ptr<MemorySink>(sink)};
  const auto open = [&] { return sound.StreamOpenFile(song, FSOUND_LOOP_OFF, 0); };
  const auto play = [&](SoundStream* s) { return sound.StreamPlay(FSOUND_FREE, s); };
  EXPECT_EQ(open(), nullptr);
  EXPECT_FALSE(sound.Init(0, 2, 0));
  ASSERT_TRUE(sound.Init(44100, 2, FSOUND_INIT_GLOBALFOCUS));
  EXPECT_EQ(sound.StreamOpenFile("", FSOUND_LOOP_OFF, 0), nullptr);
  SoundStream *a = open(), *b = open(), *c = open();
  ASSERT_NE(a, nullptr);
  sink->Pump(1000);  // nothing plays yet: silence
  EXPECT_EQ(sink->NonSilentFrames(), 0u);
  EXPECT_EQ(play(a), 0);
  sink->Pump(44100);  // a second: the whole stream, then silence
  EXPECT_EQ(sound.PlayingChannels(), 0);
  EXPECT_NEAR(sink->NonSilentFrames(), 12000.0, 2000.0);
  EXPECT_NEAR(MeasuredFrequency(sink->Samples(), 5000, 6000), 440.0, 8.0);
  EXPECT_EQ(play(a), 0);  // played again it starts over
  sink->Pump(4000);
  EXPECT_GT(sink->NonSilentFrames(), 13000u);
  EXPECT_EQ((std::vector<int>{play(b), play(c), play(a)}),
            (std::vector<int>{1, -1, 0}));  // a keeps its channel
  EXPECT_TRUE(sound.StreamStop(a));
  EXPECT_EQ(play(c), 0);
  EXPECT_TRUE(sound.StreamClose(c));
  EXPECT_FALSE(sound.StreamClose(c));  // a handle is closed once
  EXPECT_EQ(std::make_pair(sound.PlayingChannels(), sound.OpenStreams()), std::make_pair(1, size_t{2}));
  sound.Close();
  sound.Close();  // twice is fine
  EXPECT_EQ(sound.OpenStreams(), 0u);
  EXPECT_FALSE(sink->IsOpen());
  EXPECT_EQ(open(), nullptr);
}

TEST(FileSink, WritesLittleEndianPcmAndRefusesAFolderThatIsNot) {
  const auto dir = testsupport::ScratchDir();
  FileSink sink((dir / "out.pcm").string());
  ASSERT_TRUE(sink.Open(8000, [](int16_t* out, int frames) {
    for (int i = 0; i < 2 * frames; ++i) out[i] = i % 2 == 0 ? 0x1234 : -2;
  }));
  sink.Pump(3);
  sink.Close();
  EXPECT_FALSE(sink.IsOpen());  // the clock no longer pulls from it
  EXPECT_EQ(
      testsupport::ReadFile(dir / "out.pcm"),
      (std::vector<unsigned char>{0x34, 0x12, 0xFE, 0xFF, 0x34, 0x12, 0xFE, 0xFF, 0x34, 0x12, 0xFE, 0xFF}));
  FileSink bad((dir / "no" / "such" / "dir.pcm").string());
  EXPECT_FALSE(bad.Open(8000, [](int16_t*, int) {}));
}

}  // namespace
