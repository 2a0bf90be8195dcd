// Mp3: LAME encoding of the song (see Mp3.h)
#include "Mp3.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "Writers.h"

namespace assetgen {

namespace {

short ToPcm(float s) { return static_cast<short>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f)); }

}  // namespace

bool WriteMp3(const std::filesystem::path& path, const Stereo& song, int kbps, int quality) {
  lame_global_flags* lame = lame_init();
  if (!lame) {
    std::fprintf(stderr, "assetgen: LAME could not start\n");
    return false;
  }
  lame_set_in_samplerate(lame, kSampleRate);
  lame_set_out_samplerate(lame, kSampleRate);
  lame_set_num_channels(lame, 2);
  lame_set_mode(lame, JOINT_STEREO);
  lame_set_brate(lame, kbps);
  lame_set_quality(lame, quality);
  lame_set_bWriteVbrTag(lame, 1);
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    std::fprintf(stderr, "assetgen: LAME rejected its settings\n");
    return false;
  }
  std::vector<unsigned char> bytes;
  const size_t chunk = 8192;
  std::vector<short> left(chunk), right(chunk);
  std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
  for (size_t first = 0; first < song.Frames(); first += chunk) {
    size_t n = std::min(chunk, song.Frames() - first);
    for (size_t i = 0; i < n; ++i) {
      left[i] = ToPcm(song.left[first + i]);
      right[i] = ToPcm(song.right[first + i]);
    }
    int written =
        lame_encode_buffer(lame, left.data(), right.data(), int(n), buffer.data(), int(buffer.size()));
    if (written < 0) {
      lame_close(lame);
      std::fprintf(stderr, "assetgen: LAME encoding failed (%d)\n", written);
      return false;
    }
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + written);
  }
  int written = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
  if (written > 0) bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + written);
  // The Info tag sits in the first frame; LAME fills it in only now that the length is known.
  std::vector<unsigned char> tag(8192);
  size_t tagSize = lame_get_lametag_frame(lame, tag.data(), tag.size());
  lame_close(lame);
  if (tagSize > 0 && tagSize <= bytes.size()) std::copy(tag.begin(), tag.begin() + tagSize, bytes.begin());
  return WriteBytes(path, bytes);
}

}  // namespace assetgen
