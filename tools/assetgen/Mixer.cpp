// Mixer: buses, Freeverb-style reverb, ping-pong delay, master limiter (see Mixer.h)
#include "Mixer.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// Damped feedback comb (Freeverb's building block).
struct Comb {
  std::vector<float> line;
  size_t pos = 0;
  float store = 0;
  explicit Comb(size_t length) : line(length) {}
  float Process(float in, float feedback, float damp) {
    float out = line[pos];
    store = out * (1 - damp) + store * damp;
    line[pos] = in + store * feedback;
    if (++pos == line.size()) pos = 0;
    return out;
  }
};

struct Allpass {
  std::vector<float> line;
  size_t pos = 0;
  explicit Allpass(size_t length) : line(length) {}
  float Process(float in) {
    float delayed = line[pos];
    float out = delayed - in;
    line[pos] = in + delayed * 0.5f;
    if (++pos == line.size()) pos = 0;
    return out;
  }
};

// Mono in, stereo out; the right channel's lines are 23 samples longer for width.
void Reverb(const std::vector<float>& in, Stereo& out, float gain) {
  const size_t combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  const size_t allpasses[4] = {556, 441, 341, 225};
  for (int side = 0; side < 2; ++side) {
    size_t spread = side ? 23 : 0;
    std::vector<Comb> c;
    std::vector<Allpass> a;
    for (size_t l : combs) c.emplace_back(l + spread);
    for (size_t l : allpasses) a.emplace_back(l + spread);
    std::vector<float>& target = side ? out.right : out.left;
    for (size_t i = 0; i < in.size(); ++i) {
      float x = in[i] * 0.015f, sum = 0;
      for (Comb& comb : c) sum += comb.Process(x, 0.86f, 0.3f);
      for (Allpass& ap : a) sum = ap.Process(sum);
      target[i] += gain * sum;
    }
  }
}

// Ping-pong echo: the left line feeds the right, the right the left, darker each time.
void PingPong(const std::vector<float>& in, Stereo& out, double seconds, float feedback) {
  size_t length = static_cast<size_t>(seconds * kSampleRate);
  std::vector<float> left(length), right(length);
  size_t pos = 0;
  float toneL = 0, toneR = 0;
  for (size_t i = 0; i < in.size(); ++i) {
    float l = left[pos], r = right[pos];
    toneL += 0.35f * (l - toneL);
    toneR += 0.35f * (r - toneR);
    left[pos] = in[i] + toneR * feedback;
    right[pos] = toneL * feedback;
    out.left[i] += l;
    out.right[i] += r;
    if (++pos == length) pos = 0;
  }
}

}  // namespace

Mixer::Mixer(double seconds, double delaySeconds)
    : dry_(static_cast<size_t>(seconds * kSampleRate)),
      reverbSend_(dry_.Frames()),
      delaySend_(dry_.Frames()),
      delaySeconds_(delaySeconds) {}

void Mixer::SetKicks(const std::vector<double>& times) {
  duck_.assign(dry_.Frames(), 1.0f);
  for (double t : times) {
    size_t start = static_cast<size_t>(t * kSampleRate);
    for (size_t i = start; i < std::min(duck_.size(), start + kSampleRate / 3); ++i) {
      double k = (i - start) / double(kSampleRate);
      duck_[i] = std::min(duck_[i], float(1.0 - 0.55 * std::exp(-k / 0.09)));
    }
  }
}

double Mixer::DuckAt(size_t frame) const { return frame < duck_.size() ? duck_[frame] : 1.0; }

void Mixer::Add(const Stereo& sound, double start, const Send& send) {
  size_t first = static_cast<size_t>(std::max(0.0, start) * kSampleRate);
  // Equal-power pan.
  double angle = (send.pan + 1) * 0.25 * 3.141592653589793;
  double gl = std::cos(angle) * 1.41421356 * send.gain, gr = std::sin(angle) * 1.41421356 * send.gain;
  for (size_t i = 0; i < sound.Frames(); ++i) {
    size_t f = first + i;
    if (f >= dry_.Frames()) break;
    double d = send.ducked ? DuckAt(f) : 1.0;
    double l = sound.left[i] * gl * d, r = sound.right[i] * gr * d;
    dry_.left[f] += float(l);
    dry_.right[f] += float(r);
    float mono = float(0.5 * (l + r));
    reverbSend_[f] += float(mono * send.reverb);
    delaySend_[f] += float(mono * send.delay);
  }
}

Stereo Mixer::Master(double peak, double fadeStart, double fadeEnd) {
  Reverb(reverbSend_, dry_, 1.0f);
  PingPong(delaySend_, dry_, delaySeconds_, 0.45f);
  reverbSend_.clear();
  delaySend_.clear();
  Stereo out = std::move(dry_);
  // DC blocker, gentle saturation, then normalisation to the peak.
  double highest = 1e-9;
  for (std::vector<float>* channel : {&out.left, &out.right}) {
    double x1 = 0, y1 = 0;
    for (float& s : *channel) {
      double y = s - x1 + 0.9995 * y1;
      x1 = s;
      y1 = y;
      s = float(std::tanh(y * 0.9));  // once per sample of the mix: the exact curve is affordable
      highest = std::max(highest, double(std::fabs(s)));
    }
  }
  double scale = peak / highest;
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = double(i) / kSampleRate;
    double fade = t < fadeStart  ? 1.0
                  : t >= fadeEnd ? 0.0
                                 : std::cos((t - fadeStart) / (fadeEnd - fadeStart) * 1.5707963);
    fade *= std::min(1.0, t / 0.01);
    out.left[i] = float(out.left[i] * scale * fade);
    out.right[i] = float(out.right[i] * scale * fade);
  }
  return out;
}

}  // namespace assetgen
