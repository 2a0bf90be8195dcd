// The soundtrack: a 44.1 kHz stereo MP3 that decodes to the whole programme
#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>

#include "RunFolder.h"

using namespace assettest;

namespace {

struct Decoded {
  long rate = 0;
  int channels = 0;
  int layer = 0;
  std::vector<short> samples;  // interleaved
};

Decoded Decode(const std::filesystem::path& path) {
  Decoded d;
  mpg123_init();
  int error = 0;
  mpg123_handle* mh = mpg123_new(nullptr, &error);
  if (!mh) return d;
  mpg123_format_none(mh);
  mpg123_format(mh, 44100, MPG123_STEREO | MPG123_MONO, MPG123_ENC_SIGNED_16);
  if (mpg123_open(mh, path.c_str()) == MPG123_OK) {
    int encoding = 0;
    mpg123_getformat(mh, &d.rate, &d.channels, &encoding);
    mpg123_frameinfo info{};
    if (mpg123_info(mh, &info) == MPG123_OK) d.layer = info.layer;
    std::vector<unsigned char> buffer(1 << 16);
    size_t done = 0;
    int result;
    while ((result = mpg123_read(mh, buffer.data(), buffer.size(), &done)) == MPG123_OK || done > 0) {
      const short* s = reinterpret_cast<const short*>(buffer.data());
      d.samples.insert(d.samples.end(), s, s + done / 2);
      if (result != MPG123_OK) break;
    }
    mpg123_close(mh);
  }
  mpg123_delete(mh);
  return d;
}

}  // namespace

TEST(Music, DecodesToTheWholeProgrammeWithSoundInEverySection) {
  Decoded d = Decode(RunDir() / "data/demosong.mp3");
  ASSERT_EQ(d.rate, 44100);
  ASSERT_EQ(d.channels, 2);
  EXPECT_EQ(d.layer, 3);
  double seconds = d.samples.size() / 2.0 / 44100.0;
  EXPECT_GE(seconds, 186.0);
  EXPECT_LT(seconds, 200.0);

  const double cuts[] = {0, 19, 47, 75, 102, 130, 158, 185.9};
  for (int s = 0; s < 7; ++s) {
    SCOPED_TRACE(cuts[s]);
    size_t from = size_t(cuts[s] * 44100) * 2, to = size_t(cuts[s + 1] * 44100) * 2;
    double energy = 0;
    int peak = 0;
    for (size_t i = from; i < to && i < d.samples.size(); ++i) {
      energy += double(d.samples[i]) * d.samples[i];
      peak = std::max(peak, std::abs(int(d.samples[i])));
    }
    double rms = std::sqrt(energy / double(to - from)) / 32768.0;
    EXPECT_GT(rms, 0.03);
    EXPECT_LT(peak, 32767);  // no clipping
    // And no long silent gap inside a section (quarter-second windows).
    for (size_t w = from; w + 22050 <= to && w + 22050 <= d.samples.size(); w += 22050) {
      double e = 0;
      for (size_t i = w; i < w + 22050; ++i) e += double(d.samples[i]) * d.samples[i];
      if (cuts[s] == 158 && w > size_t(184.0 * 44100) * 2) break;  // the closing fade
      ASSERT_GT(std::sqrt(e / 22050) / 32768.0, 0.002) << "silent at " << w / 2 / 44100.0 << " s";
    }
  }
  // The track has ended by the close of the programme.
  double tail = 0;
  for (size_t i = size_t(185.95 * 44100) * 2; i < d.samples.size(); ++i)
    tail = std::max(tail, std::fabs(double(d.samples[i])));
  EXPECT_LT(tail, 400.0);
}
