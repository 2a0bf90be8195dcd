// Synth: oscillators, envelopes, filter, instruments and drums (see Synth.h)
#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDt = 1.0 / kSampleRate;

double Blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}

void Advance(double& phase, double dt) {
  phase += dt;
  if (phase >= 1) phase -= std::floor(phase);
}

// sin(2 pi turns) by a Taylor series on the folded quarter wave: about 1e-6 off, far below
// what the ear or the encoder keeps, and several times faster than std::sin.
double SinTurns(double turns) {
  // Rounding by conversion: std::floor is a library call on baseline x86-64, and this runs
  // a hundred million times per song.
  double shifted = turns + 0.5;
  long long whole = static_cast<long long>(shifted);
  if (shifted < static_cast<double>(whole)) --whole;
  double x = turns - static_cast<double>(whole);  // [-0.5, 0.5)
  if (x > 0.25)
    x = 0.5 - x;
  else if (x < -0.25)
    x = -0.5 - x;
  double y = 2 * kPi * x, y2 = y * y;
  // Taylor coefficients of sin: -1/3!, 1/5!, -1/7!, 1/9!.
  constexpr double kC3 = -1.0 / 6, kC5 = 1.0 / 120, kC7 = -1.0 / 5040, kC9 = 1.0 / 362880;
  return y * (1 + y2 * (kC3 + y2 * (kC5 + y2 * (kC7 + y2 * kC9))));
}

// tanh by a rational fit (within 2 % of it, exactly +-1 beyond +-3): the soft saturation of
// the bass, the acid line and the kick, at a fraction of the cost.
double SoftClip(double x) {
  if (x > 3) return 1;
  if (x < -3) return -1;
  double x2 = x * x;
  return x * (27 + x2) / (27 + 9 * x2);
}

double Cents(double cents) { return std::pow(2.0, cents / 1200.0); }

// Vibrato fades in after the note's attack, as a player's would.
double VibratoDepth(double t) { return std::clamp((t - 0.2) / 0.3, 0.0, 1.0); }

size_t FramesFor(double seconds) { return static_cast<size_t>(std::max(0.0, seconds) * kSampleRate) + 1; }

}  // namespace

double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

double Adsr::At(double t, double held) const {
  auto level = [&](double x) {
    if (x < attack) return x / attack;
    x -= attack;
    if (x < decay) return 1.0 - (1.0 - sustain) * (x / decay);
    return sustain;
  };
  if (t < held) return level(t);
  double end = level(held);
  double r = (t - held) / release;
  return r >= 1 ? 0.0 : end * (1 - r) * (1 - r);
}

Svf::Out Svf::Process(double in, double cutoffHz, double resonance) {
  if (countdown-- <= 0) {
    double fc = std::clamp(cutoffHz, 20.0, kSampleRate * 0.45);
    g = std::tan(kPi * fc / kSampleRate);
    k = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.98);
    countdown = 15;
  }
  double a1 = 1.0 / (1.0 + g * (g + k)), a2 = g * a1, a3 = g * a2;
  double v3 = in - ic2;
  double v1 = a1 * ic1 + a2 * v3;
  double v2 = ic2 + a2 * ic1 + a3 * v3;
  ic1 = 2 * v1 - ic1;
  ic2 = 2 * v2 - ic2;
  return {v2, v1, in - k * v1 - v2};
}

double Oscillator::Saw(double hz) {
  double dt = hz * kDt;
  double v = 2 * phase - 1 - Blep(phase, dt);
  Advance(phase, dt);
  return v;
}

double Oscillator::Pulse(double hz, double width) {
  double dt = hz * kDt;
  double v = (phase < width ? 1.0 : -1.0) + Blep(phase, dt) - Blep(std::fmod(phase + 1 - width, 1.0), dt);
  Advance(phase, dt);
  return v;
}

double Oscillator::Sine(double hz) {
  double v = SinTurns(phase);
  Advance(phase, hz * kDt);
  return v;
}

double Oscillator::Triangle(double hz) {
  double v = 4 * std::fabs(phase - 0.5) - 1;
  Advance(phase, hz * kDt);
  return v;
}

double Noise::Next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state * (2.0 / 4294967296.0) - 1.0;
}

namespace {

Stereo RenderPad(const Note& n, uint32_t seed) {
  Adsr env{0.7, 1.0, 0.8, 1.4};
  Stereo out(FramesFor(n.length + env.release));
  const double ratio[4] = {Cents(-11), Cents(-4), Cents(5), Cents(12)};
  Oscillator osc[4], sub;
  Noise noise{seed | 1u};
  for (auto& o : osc) o.phase = (noise.Next() + 1) * 0.5;  // free-running voices
  Svf filterL, filterR;
  double hz = MidiToHz(n.pitch);
  double cutoff = 0;
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = i * kDt;
    double a = env.At(t, n.length) * n.velocity;
    double l = osc[0].Saw(hz * ratio[0]) + osc[2].Saw(hz * ratio[2]);
    double r = osc[1].Saw(hz * ratio[1]) + osc[3].Saw(hz * ratio[3]);
    double s = 0.3 * sub.Sine(hz);
    if (filterL.Wants()) cutoff = 700 + 1300 * a + 300 * SinTurns(0.2 * t);
    out.left[i] = float(a * 0.25 * (filterL.Process(l, cutoff, 0.2).low + s));
    out.right[i] = float(a * 0.25 * (filterR.Process(r, cutoff, 0.2).low + s));
  }
  return out;
}

Stereo RenderBass(const Note& n) {
  Adsr env{0.004, 0.2, 0.75, 0.06};
  Stereo out(FramesFor(n.length + env.release));
  Oscillator saw, sub;
  Svf filter;
  double hz = MidiToHz(n.pitch);
  double cutoff = 0;
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = i * kDt;
    double a = env.At(t, n.length) * n.velocity;
    if (filter.Wants()) cutoff = 160 + 1500 * n.velocity * std::exp(-t / 0.11);
    double x = saw.Saw(hz) * 0.7 + sub.Pulse(hz * 1.0029, 0.5) * 0.4;
    double y = SoftClip(1.6 * filter.Process(x, cutoff, 0.35).low);
    out.left[i] = out.right[i] = float(a * 0.4 * y);
  }
  return out;
}

Stereo RenderAcid(const Note& n) {
  Adsr env{0.003, 0.1, 0.85, 0.04};
  Stereo out(FramesFor(n.length + env.release));
  Oscillator saw;
  Svf filter;
  double hz = MidiToHz(n.pitch);
  double cutoff = 0;
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = i * kDt;
    double a = env.At(t, n.length);
    if (filter.Wants()) cutoff = 220 + (250 + 3200 * n.velocity) * std::exp(-t / 0.13);
    double y = filter.Process(saw.Saw(hz), cutoff, 0.88).low;
    out.left[i] = out.right[i] = float(a * 0.45 * SoftClip(2.2 * y));
  }
  return out;
}

Stereo RenderLead(const Note& n) {
  Adsr env{0.012, 0.35, 0.7, 0.3};
  Stereo out(FramesFor(n.length + env.release));
  Oscillator a1, a2, p;
  Svf filter;
  const double base = MidiToHz(n.pitch), down = Cents(-7), up = Cents(7);
  double cutoff = 0;
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = i * kDt;
    double vib = 0.22 * VibratoDepth(t) * SinTurns(5.3 * t);
    double hz = base * (1.0 + vib * 0.0577623);  // semitones to a ratio, linearised
    double a = env.At(t, n.length) * n.velocity;
    double x = 0.5 * a1.Saw(hz * down) + 0.5 * a2.Saw(hz * up) + 0.35 * p.Pulse(hz * 2, 0.3);
    if (filter.Wants()) cutoff = 2600 + 4200 * env.At(t, n.length);
    double y = filter.Process(x, cutoff, 0.25).low;
    out.left[i] = out.right[i] = float(a * 0.28 * y);
  }
  return out;
}

Stereo RenderPluck(const Note& n) {
  Adsr env{0.001, 0.3, 0.0, 0.08};
  Stereo out(FramesFor(std::min(n.length, 0.32) + env.release));
  Oscillator saw, pulse;
  Svf filter;
  double hz = MidiToHz(n.pitch);
  double cutoff = 0;
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = i * kDt;
    double a = env.At(t, 0.32) * n.velocity;
    if (filter.Wants()) cutoff = 400 + 5200 * n.velocity * std::exp(-t / 0.06);
    double x = 0.6 * saw.Saw(hz) + 0.4 * pulse.Pulse(hz * 1.0028922, 0.25);  // +5 cents
    out.left[i] = out.right[i] = float(a * 0.3 * filter.Process(x, cutoff, 0.3).low);
  }
  return out;
}

Stereo RenderBell(const Note& n) {
  const double seconds = std::max(n.length, 1.6);
  Stereo out(FramesFor(seconds));
  Oscillator carrier, modulator;
  double hz = MidiToHz(n.pitch);
  double index = 2.2 / (2 * kPi), amplitude = n.velocity;
  const double indexDecay = std::exp(-kDt / 0.35), amplitudeDecay = std::exp(-kDt / 0.9);
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = i * kDt;
    double m = modulator.Sine(hz * 3.5) * index;
    double c = SinTurns(carrier.phase + m);
    Advance(carrier.phase, hz * kDt);
    double tail = std::min(1.0, (seconds - t) / 0.3);  // fade the last of the ring away
    double a = amplitude * std::min(1.0, t / 0.002) * tail;
    index *= indexDecay;
    amplitude *= amplitudeDecay;
    out.left[i] = out.right[i] = float(a * 0.22 * c);
  }
  return out;
}

Stereo RenderStab(const Note& n) {
  Adsr env{0.004, 0.35, 0.35, 0.25};
  Stereo out(FramesFor(n.length + env.release));
  double ratio[6];
  const double detune[6] = {-18, -9, -3, 3, 9, 18};
  for (int k = 0; k < 6; ++k) ratio[k] = Cents(detune[k]);
  Oscillator osc[6];
  for (int k = 0; k < 6; ++k) osc[k].phase = k * 0.161;
  Svf filterL, filterR;
  double hz = MidiToHz(n.pitch), cutoff = 0;
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = i * kDt;
    double a = env.At(t, n.length) * n.velocity;
    double l = 0, r = 0;
    for (int k = 0; k < 6; ++k) (k % 2 ? r : l) += osc[k].Saw(hz * ratio[k]);
    if (filterL.Wants()) cutoff = 900 + 4000 * std::exp(-t / 0.18);
    out.left[i] = float(a * 0.16 * filterL.Process(l, cutoff, 0.15).low);
    out.right[i] = float(a * 0.16 * filterR.Process(r, cutoff, 0.15).low);
  }
  return out;
}

}  // namespace

Stereo RenderNote(Instrument instrument, const Note& note, uint32_t seed) {
  switch (instrument) {
    case Instrument::kPad:
      return RenderPad(note, seed);
    case Instrument::kBass:
      return RenderBass(note);
    case Instrument::kAcid:
      return RenderAcid(note);
    case Instrument::kLead:
      return RenderLead(note);
    case Instrument::kPluck:
      return RenderPluck(note);
    case Instrument::kBell:
      return RenderBell(note);
    case Instrument::kStab:
      return RenderStab(note);
  }
  return Stereo();
}

Stereo RenderDrum(Drum drum, double velocity, double length, uint32_t seed) {
  Noise noise{seed | 1u};
  Svf f1, f2;
  Oscillator tone;
  double seconds = 0.5;
  switch (drum) {
    case Drum::kKick:
      seconds = 0.5;
      break;
    case Drum::kSnare:
      seconds = 0.4;
      break;
    case Drum::kClap:
      seconds = 0.4;
      break;
    case Drum::kClosedHat:
      seconds = 0.12;
      break;
    case Drum::kOpenHat:
      seconds = 0.7;
      break;
    case Drum::kCrash:
      seconds = 3.5;
      break;
    case Drum::kRiser:
      seconds = length;
      break;
    case Drum::kTom:
      seconds = 0.6;
      break;
  }
  Stereo out(FramesFor(seconds));
  for (size_t i = 0; i < out.Frames(); ++i) {
    double t = i * kDt, v = 0;
    switch (drum) {
      case Drum::kKick: {
        double hz = 46 + 120 * std::exp(-t / 0.04);
        v = SoftClip(1.8 * tone.Sine(hz) * std::exp(-t / 0.3)) + 0.35 * noise.Next() * std::exp(-t / 0.003);
        v *= 0.7;
        break;
      }
      case Drum::kSnare: {
        double body = tone.Sine(190 - 30 * t) * std::exp(-t / 0.07) * 0.55;
        double rattle = f1.Process(noise.Next(), 3200, 0.3).band * std::exp(-t / 0.15);
        v = 0.6 * (body + 1.4 * rattle);
        break;
      }
      case Drum::kClap: {
        double bursts = 0;
        for (double s : {0.0, 0.011, 0.022}) bursts += (t >= s) ? std::exp(-(t - s) / 0.006) : 0;
        double tail = std::exp(-t / 0.13);
        v = 0.9 * f1.Process(noise.Next(), 1300, 0.45).band * std::max(bursts, tail);
        break;
      }
      case Drum::kClosedHat:
        v = 0.8 * f1.Process(noise.Next(), 7000, 0.2).high * std::exp(-t / 0.035);
        break;
      case Drum::kOpenHat:
        v = 0.6 * f1.Process(noise.Next(), 6500, 0.2).high * std::exp(-t / 0.22);
        break;
      case Drum::kCrash: {
        double x = f1.Process(noise.Next(), 4200, 0.1).high;
        v = 0.7 * (x + 0.5 * f2.Process(x, 9000, 0.5).band) * std::exp(-t / 1.0);
        break;
      }
      case Drum::kRiser: {
        double p = t / seconds;
        v = 0.35 * p * p * f1.Process(noise.Next(), 300 * std::pow(30.0, p), 0.6).band;
        break;
      }
      case Drum::kTom:
        v = 0.8 * tone.Sine(80 + 60 * std::exp(-t / 0.05)) * std::exp(-t / 0.22);
        break;
    }
    out.left[i] = out.right[i] = float(v * velocity);
  }
  return out;
}

}  // namespace assetgen
