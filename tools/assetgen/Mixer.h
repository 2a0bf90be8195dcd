// Mixer: the song's buses (dry stereo, reverb and delay sends), the effects and the master
#pragma once

#include <vector>

#include "Synth.h"

namespace assetgen {

struct Send {
  double gain = 1;
  double pan = 0;     // -1 left .. +1 right
  double reverb = 0;  // send levels
  double delay = 0;
  bool ducked = false;  // pumped by the kick drum
};

class Mixer {
 public:
  // seconds of output; delaySeconds is the echo time (a dotted eighth of the song's tempo).
  Mixer(double seconds, double delaySeconds);

  // Kick times, so ducked sounds can breathe with the beat. Call before adding ducked sounds.
  void SetKicks(const std::vector<double>& times);
  void Add(const Stereo& sound, double start, const Send& send);

  // Runs the effects, sums, soft-limits, normalises to `peak` and fades out over
  // [fadeStart, fadeEnd] seconds (silence after it). The buses are consumed.
  Stereo Master(double peak, double fadeStart, double fadeEnd);

 private:
  double DuckAt(size_t frame) const;

  Stereo dry_;
  std::vector<float> reverbSend_;
  std::vector<float> delaySend_;
  std::vector<float> duck_;
  double delaySeconds_;
};

}  // namespace assetgen
