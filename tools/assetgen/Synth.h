// Synth: the building blocks of the generator's small software synthesiser
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Oscillators (band-limited saw/pulse, sine, noise), ADSR envelopes, a state-variable filter, and the
// instruments built from them. Instruments render one note into a short buffer; the song (Song.cpp) places
// the buffers on its buses.

namespace assetgen {

constexpr int kSampleRate = 44100;

double MidiToHz(double note);

// Stereo float samples.
struct Stereo {
  std::vector<float> left;
  std::vector<float> right;
  explicit Stereo(size_t frames = 0) : left(frames), right(frames) {}
  size_t Frames() const { return left.size(); }
};

struct Adsr {
  double attack = 0.01, decay = 0.1, sustain = 0.7, release = 0.2;  // seconds, level, seconds
  // Level at time t (s) after note-on for a note held `held` seconds.
  double At(double t, double held) const;
};

// Zero-delay-feedback state-variable filter (Zavalishin's topology): stable under fast cutoff
// sweeps, which the acid bass and plucks do every note.
struct Svf {
  double ic1 = 0, ic2 = 0;
  double g = 0.1, k = 2;
  int countdown = 0;
  struct Out {
    double low, band, high;
  };
  // Cutoff and resonance (0 .. ~0.95) are taken at control rate, every 16 samples: the tan()
  // per sample would otherwise dominate the song's rendering time.
  Out Process(double in, double cutoffHz, double resonance);
  // True when the next Process takes a new cutoff: callers compute costly sweeps only then.
  bool Wants() const { return countdown <= 0; }
};

// Band-limited oscillator: phase in [0, 1), PolyBLEP-corrected edges.
struct Oscillator {
  double phase = 0;
  double Saw(double hz);
  double Pulse(double hz, double width);
  double Sine(double hz);
  double Triangle(double hz);
};

// Deterministic white noise in [-1, 1].
struct Noise {
  uint32_t state = 0x12345678u;
  double Next();
};

// One note to play: start (s), held length (s), MIDI pitch, velocity 0..1.
struct Note {
  double start = 0;
  double length = 0;
  double pitch = 60;
  double velocity = 1;
};

// The instruments. Each returns the note's whole sound (attack to end of release) as a mono
// or stereo buffer starting at the note's start.
enum class Instrument { kPad, kBass, kAcid, kLead, kPluck, kBell, kStab };
Stereo RenderNote(Instrument instrument, const Note& note, uint32_t seed);

enum class Drum { kKick, kSnare, kClap, kClosedHat, kOpenHat, kCrash, kRiser, kTom };
// `length` matters only to the riser (its sweep time).
Stereo RenderDrum(Drum drum, double velocity, double length, uint32_t seed);

}  // namespace assetgen
