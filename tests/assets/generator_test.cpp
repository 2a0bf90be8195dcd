// The generator and its soundtrack: the same bytes from a second run, refusals, and a 44.1 kHz stereo
// MP3 that sounds through the whole programme
#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>
#include <cstdlib>
#include <numeric>

#include "support/Scratch.h"

using testsupport::RunDir;

namespace {

int RunGenerator(const std::string& arguments) {
  return std::system(("\"" ASSETGEN_PATH "\" " + arguments + " 2>/dev/null").c_str());
}

}  // namespace

TEST(Generator, RefusesBadArgumentsAndUnwritableFoldersAndRepeatsItsPictures) {
  EXPECT_NE(RunGenerator(""), 0);
  EXPECT_NE(RunGenerator("--bogus x"), 0);
  const std::filesystem::path scratch = testsupport::ScratchDir(), run = scratch / "run";
  testsupport::WriteFile(scratch / "data", {1});  // a file where a folder must go
  EXPECT_NE(RunGenerator("--no-music \"" + scratch.string() + "\""), 0);
  // Without the music (the next test checks it): every picture, byte for byte the run folder's.
  ASSERT_EQ(RunGenerator("--no-music \"" + run.string() + "\""), 0);
  size_t files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(run)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const auto name = std::filesystem::relative(entry.path(), run);
    EXPECT_TRUE(testsupport::ReadFile(entry.path()) == testsupport::ReadFile(RunDir() / name)) << name;
  }
  EXPECT_EQ(files, 14u);
}

TEST(Generator, MusicDecodesToTheWholeProgrammeWithSoundInEverySection) {
  mpg123_init();
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  ASSERT_EQ(mpg123_open(mh, (RunDir() / "data/demosong.mp3").c_str()), MPG123_OK);
  long rate = 0;
  int channels = 0, encoding = 0;
  mpg123_frameinfo info{};
  mpg123_getformat(mh, &rate, &channels, &encoding);
  mpg123_info(mh, &info);
  EXPECT_EQ(std::tuple(rate, channels, encoding, info.layer), std::tuple(44100, 2, MPG123_ENC_SIGNED_16, 3));
  std::vector<short> samples(size_t(200 * 44100) * 2);  // interleaved; longer than any track we make
  size_t done = 0;
  mpg123_read(mh, samples.data(), samples.size() * 2, &done);
  mpg123_delete(mh);
  samples.resize(done / 2);
  EXPECT_TRUE(samples.size() >= size_t(186 * 44100) * 2 && samples.size() < size_t(199 * 44100) * 2) << done;
  // The power of each quarter second (mean square, full scale 1), the loudest sample (no clipping) and
  // the loudest after 185.95 s, when the track has ended.
  std::vector<double> power(samples.size() / 22050);
  int peak = 0, tail = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (i / 22050 < power.size()) power[i / 22050] += double(samples[i]) * samples[i] / 22050 / 32768 / 32768;
    int& loudest = i < size_t(185.95 * 44100) * 2 ? peak : tail;
    loudest = std::max(loudest, std::abs(int(samples[i])));
  }
  EXPECT_LT(peak, 32767);
  EXPECT_LT(tail, 400);
  // Every section has sound, and no quarter second is silent before the closing fade.
  const int cuts[] = {0, 19, 47, 75, 102, 130, 158, 184};
  for (int s = 0; s < 7; ++s) {
    const auto from = power.begin() + cuts[s] * 4, to = power.begin() + cuts[s + 1] * 4;
    EXPECT_GT(std::sqrt(std::accumulate(from, to, 0.0) / double(to - from)), 0.03) << cuts[s];
    EXPECT_GT(std::sqrt(*std::min_element(from, to)), 0.002) << cuts[s];
  }
}
