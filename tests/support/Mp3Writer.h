// Test support: a small MP3 made on the spot with LAME, so sound tests need no data file
#pragma once

#include <lame/lame.h>

#include <cmath>
#include <cstdint>
#include <vector>

// Header-only: a suite that includes it links mp3lame (its libs.txt).

namespace testsupport {

// A mono sine of `hz` at `rate` Hz lasting `seconds`, amplitude 0.5, as MP3 bytes.
inline std::vector<unsigned char> MakeSineMp3(double hz, double seconds, int rate = 44100) {
  const int samples = static_cast<int>(seconds * rate);
  std::vector<short> pcm(static_cast<size_t>(samples));
  for (int i = 0; i < samples; ++i) {
    pcm[static_cast<size_t>(i)] = static_cast<short>(16384.0 * std::sin(2.0 * M_PI * hz * i / rate));
  }
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, 1);
  lame_set_mode(lame, MONO);
  lame_set_brate(lame, 64);
  lame_init_params(lame);
  std::vector<unsigned char> out(static_cast<size_t>(1.25 * samples + 7200) + 7200);
  int used =
      lame_encode_buffer(lame, pcm.data(), pcm.data(), samples, out.data(), static_cast<int>(out.size()));
  used += lame_encode_flush(lame, out.data() + used, static_cast<int>(out.size()) - used);
  lame_close(lame);
  out.resize(static_cast<size_t>(used));
  return out;
}

}  // namespace testsupport
