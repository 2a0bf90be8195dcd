// The FSOUND-style sound layer: decoding, channels, stream lifetime, the sinks.
#include "platform/Sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/Mp3Decoder.h"
#include "support/GLTest.h"
#include "support/Mp3Writer.h"

using namespace platform;

namespace {

std::filesystem::path WriteSine(double hz, double seconds) {
  const auto path = testsupport::ScratchDir() / "sine.mp3";
  testsupport::WriteFile(path, testsupport::MakeSineMp3(hz, seconds));
  return path;
}

// Upward zero crossings of the left channel per second: the tone's frequency.
double MeasuredFrequency(const std::vector<int16_t>& stereo, size_t firstFrame, size_t frames, int rate) {
  int crossings = 0;
  for (size_t i = firstFrame + 1; i < firstFrame + frames; ++i) {
    if (stereo[2 * (i - 1)] < 0 && stereo[2 * i] >= 0) ++crossings;
  }
  return crossings * static_cast<double>(rate) / static_cast<double>(frames);
}

TEST(Mp3Decoder, DecodesASineToStereoAtTheRequestedRate) {
  const auto path = WriteSine(440.0, 0.5);
  Mp3Decoder decoder;
  ASSERT_TRUE(decoder.OpenFile(path.string(), 44100));
  std::vector<int16_t> pcm(2 * 44100);
  const int frames = decoder.Read(pcm.data(), 44100);
  // 0.5 s plus the encoder's padding, but not a whole second.
  EXPECT_GT(frames, 21000);
  EXPECT_LT(frames, 26000);
  EXPECT_NEAR(MeasuredFrequency(pcm, 4000, 16000, 44100), 440.0, 5.0);
  EXPECT_EQ(pcm[2 * 10000], pcm[2 * 10000 + 1]);  // mono doubled into both channels
  EXPECT_EQ(decoder.Read(pcm.data(), 100), 0);    // the end stays the end
  ASSERT_TRUE(decoder.Rewind());
  EXPECT_EQ(decoder.Read(pcm.data(), 100), 100);
}

TEST(Mp3Decoder, ResamplesAnotherRate) {
  const auto path = testsupport::ScratchDir() / "s22.mp3";
  testsupport::WriteFile(path, testsupport::MakeSineMp3(1000.0, 0.5, 22050));
  Mp3Decoder decoder;
  ASSERT_TRUE(decoder.OpenFile(path.string(), 44100));
  std::vector<int16_t> pcm(2 * 44100);
  const int frames = decoder.Read(pcm.data(), 44100);
  EXPECT_GT(frames, 21000);
  EXPECT_NEAR(MeasuredFrequency(pcm, 4000, 16000, 44100), 1000.0, 10.0);
}

TEST(Mp3Decoder, RefusesWhatIsNotMpegAudio) {
  const auto dir = testsupport::ScratchDir();
  Mp3Decoder decoder;
  EXPECT_FALSE(decoder.OpenFile((dir / "missing.mp3").string(), 44100));
  EXPECT_FALSE(decoder.OpenFile("", 44100));
  testsupport::WriteFile(dir / "text.mp3", std::vector<unsigned char>(2000, 'x'));
  EXPECT_FALSE(decoder.OpenFile((dir / "text.mp3").string(), 44100));
  testsupport::WriteFile(dir / "empty.mp3", {});
  EXPECT_FALSE(decoder.OpenFile((dir / "empty.mp3").string(), 44100));
  const std::vector<unsigned char> junk(500, 0xFF);
  EXPECT_FALSE(decoder.OpenMemory(junk.data(), junk.size(), 44100));
  EXPECT_FALSE(decoder.OpenMemory(nullptr, 10, 44100));
  int16_t out[8];
  EXPECT_EQ(decoder.Read(out, 4), 0);  // a closed decoder reads nothing
}

TEST(Mp3Decoder, TruncatedFileDecodesWhatIsThere) {
  auto bytes = testsupport::MakeSineMp3(440.0, 0.5);
  bytes.resize(bytes.size() / 2);
  Mp3Decoder decoder;
  ASSERT_TRUE(decoder.OpenMemory(bytes.data(), bytes.size(), 44100));
  std::vector<int16_t> pcm(2 * 44100);
  const int frames = decoder.Read(pcm.data(), 44100);
  EXPECT_GT(frames, 5000);
  EXPECT_LT(frames, 16000);
}

class SoundSystemTest : public ::testing::Test {
 protected:
  SoundSystemTest() {
    auto sink = std::make_unique<MemorySink>();
    sink_ = sink.get();
    sound_ = std::make_unique<SoundSystem>(std::move(sink));
  }
  MemorySink* sink_;
  std::unique_ptr<SoundSystem> sound_;
};

TEST_F(SoundSystemTest, PlayedStreamReachesTheSinkAndFreesItsChannelAtTheEnd) {
  const auto path = WriteSine(440.0, 0.25);
  EXPECT_GE(sound_->GetVersion(), 3.4f);
  EXPECT_TRUE(sound_->SetDriver(0));
  EXPECT_FALSE(sound_->SetDriver(3));
  ASSERT_TRUE(sound_->Init(44100, 32, FSOUND_INIT_GLOBALFOCUS));
  SoundStream* stream = sound_->StreamOpenFile(path.string(), FSOUND_LOOP_OFF, 0);
  ASSERT_NE(stream, nullptr);
  sink_->Pump(1000);  // nothing plays yet: silence
  EXPECT_EQ(sink_->NonSilentFrames(), 0u);
  EXPECT_EQ(sound_->StreamPlay(FSOUND_FREE, stream), 0);
  EXPECT_EQ(sound_->PlayingChannels(), 1);
  sink_->Pump(44100);  // a second: the whole stream, then silence
  EXPECT_EQ(sound_->PlayingChannels(), 0);
  EXPECT_GT(sink_->NonSilentFrames(), 10000u);
  EXPECT_LT(sink_->NonSilentFrames(), 14000u);
  const auto& samples = sink_->Samples();
  ASSERT_EQ(samples.size(), 2u * 45100u);
  EXPECT_NEAR(MeasuredFrequency(samples, 5000, 6000, 44100), 440.0, 8.0);
  // Playing again starts over from the beginning.
  EXPECT_EQ(sound_->StreamPlay(FSOUND_FREE, stream), 0);
  sink_->Pump(4000);
  EXPECT_GT(sink_->NonSilentFrames(), 13000u);
}

TEST_F(SoundSystemTest, ChannelsAreSharedOutAndStopFreesThem) {
  const auto path = WriteSine(440.0, 0.5);
  ASSERT_TRUE(sound_->Init(44100, 2, 0));
  SoundStream* a = sound_->StreamOpenFile(path.string(), FSOUND_LOOP_OFF, 0);
  SoundStream* b = sound_->StreamOpenFile(path.string(), FSOUND_LOOP_OFF, 0);
  SoundStream* c = sound_->StreamOpenFile(path.string(), FSOUND_LOOP_OFF, 0);
  EXPECT_EQ(sound_->StreamPlay(FSOUND_FREE, a), 0);
  EXPECT_EQ(sound_->StreamPlay(FSOUND_FREE, b), 1);
  EXPECT_EQ(sound_->StreamPlay(FSOUND_FREE, c), -1);  // no free channel
  EXPECT_EQ(sound_->StreamPlay(FSOUND_FREE, a), 0);   // restarted where it plays
  EXPECT_TRUE(sound_->StreamStop(a));
  EXPECT_EQ(sound_->PlayingChannels(), 1);
  EXPECT_EQ(sound_->StreamPlay(FSOUND_FREE, c), 0);
  EXPECT_TRUE(sound_->StreamClose(c));
  EXPECT_FALSE(sound_->StreamClose(c));  // a handle is closed once
  EXPECT_EQ(sound_->PlayingChannels(), 1);
  EXPECT_EQ(sound_->OpenStreams(), 2u);
  sound_->Close();
  EXPECT_EQ(sound_->OpenStreams(), 0u);
  EXPECT_FALSE(sound_->IsInitialised());
  EXPECT_FALSE(sink_->IsOpen());
}

TEST_F(SoundSystemTest, NothingOpensBeforeInitOrAfterClose) {
  const auto path = WriteSine(440.0, 0.1);
  EXPECT_EQ(sound_->StreamOpenFile(path.string(), FSOUND_LOOP_OFF, 0), nullptr);
  EXPECT_EQ(sound_->StreamPlay(FSOUND_FREE, nullptr), -1);
  EXPECT_FALSE(sound_->Init(0, 32, 0));
  ASSERT_TRUE(sound_->Init(44100, 32, 0));
  EXPECT_EQ(sound_->StreamOpenFile("", FSOUND_LOOP_OFF, 0), nullptr);
  sound_->Close();
  sound_->Close();  // twice is fine
  EXPECT_EQ(sound_->StreamOpenFile(path.string(), FSOUND_LOOP_OFF, 0), nullptr);
}

TEST(FileSink, WritesLittleEndianPcm) {
  const auto dir = testsupport::ScratchDir();
  FileSink sink((dir / "out.pcm").string());
  ASSERT_TRUE(sink.Open(8000, [](int16_t* out, int frames) {
    for (int i = 0; i < frames; ++i) {
      out[2 * i] = 0x1234;
      out[2 * i + 1] = -2;
    }
  }));
  sink.Pump(3);
  sink.Close();
  std::ifstream in(dir / "out.pcm", std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), 12u);
  EXPECT_EQ(bytes[0], 0x34);
  EXPECT_EQ(bytes[1], 0x12);
  EXPECT_EQ(bytes[2], 0xFE);
  EXPECT_EQ(bytes[3], 0xFF);
  FileSink bad((dir / "no" / "such" / "dir.pcm").string());
  EXPECT_FALSE(bad.Open(8000, [](int16_t*, int) {}));
}

}  // namespace
