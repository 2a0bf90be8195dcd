// Song: the arrangement, A minor at 124 beats per minute, section by section
#include "Song.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Mixer.h"

// Each section keeps its own beat grid from its start time, so every change lands exactly on its scene cut.

namespace assetgen {

namespace {

constexpr double kBeat = 60.0 / 124.0;
constexpr double kBar = 4 * kBeat;

struct Section {
  double start, end;
  double At(double beat) const { return start + beat * kBeat; }
  int Bars() const { return static_cast<int>(std::ceil((end - start) / kBar)); }
};

// A chord as a root pitch class (0 = C) and its intervals.
struct Chord {
  int root;
  bool minor;
  int Tone(int k) const {
    const int minorSteps[3] = {0, 3, 7}, majorSteps[3] = {0, 4, 7};
    return root + (minor ? minorSteps[k] : majorSteps[k]);
  }
};

// Pitch classes (0 = C) and the chords built on them.
constexpr int kPitchC = 0, kPitchD = 2, kPitchE = 4, kPitchF = 5, kPitchG = 7, kPitchA = 9;
const Chord kAm{kPitchA, true}, kF{kPitchF, false}, kC{kPitchC, false}, kG{kPitchG, false},
    kDm{kPitchD, true}, kE{kPitchE, false};

// Pitch class placed in [low, low + 12).
int Place(int pitchClass, int low) {
  int p = low + ((pitchClass - low) % 12 + 12) % 12;
  return p;
}

// Natural minor scale degree (0 = A4) to MIDI; '#' raises G to G sharp (the E major chord).
int Degree(int d, bool sharp) {
  const int steps[7] = {0, 2, 3, 5, 7, 8, 10};
  int octave = d >= 0 ? d / 7 : -((-d + 6) / 7);
  int within = d - octave * 7;
  return 69 + 12 * octave + steps[within] + (sharp ? 1 : 0);
}

struct Event {
  bool isDrum = false;
  Instrument instrument = Instrument::kPad;
  Drum drum = Drum::kKick;
  Note note;
  Send send;
};

class Arranger {
 public:
  void Play(Instrument instrument, double start, double length, double pitch, double velocity,
            const Send& send) {
    Event e;
    e.instrument = instrument;
    e.note = {start, length, pitch, velocity};
    e.send = send;
    events_.push_back(e);
  }
  void Hit(Drum drum, double time, double velocity, const Send& send, double length = 0) {
    Event e;
    e.isDrum = true;
    e.drum = drum;
    e.note = {time, length, 0, velocity};
    e.send = send;
    events_.push_back(e);
    if (drum == Drum::kKick) kicks_.push_back(time);
  }
  // Notes are rendered by two threads in batches, then added to the mix strictly in event
  // order, so the sum (and the file) is the same whatever the threads' timing.
  Stereo Render() {
    Mixer mixer(kSongSeconds, 0.75 * kBeat);
    mixer.SetKicks(kicks_);
    constexpr size_t kBatch = 64;
    std::vector<Stereo> sounds(kBatch);
    for (size_t first = 0; first < events_.size(); first += kBatch) {
      size_t count = std::min(kBatch, events_.size() - first);
      auto renderRange = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) sounds[i] = RenderEvent(first + i);
      };
      std::thread helper(renderRange, count / 2, count);
      renderRange(0, count / 2);
      helper.join();
      for (size_t i = 0; i < count; ++i)
        mixer.Add(sounds[i], events_[first + i].note.start, events_[first + i].send);
    }
    return mixer.Master(0.93, kProgrammeEnd - 1.6, kProgrammeEnd - 0.05);
  }

 private:
  Stereo RenderEvent(size_t index) const {
    const Event& e = events_[index];
    uint32_t seed = static_cast<uint32_t>(index) + 2;
    return e.isDrum ? RenderDrum(e.drum, e.note.velocity, e.note.length, seed * 2654435761u)
                    : RenderNote(e.instrument, e.note, seed * 2246822519u);
  }

  std::vector<Event> events_;
  std::vector<double> kicks_;
};

// Sends per part.
const Send kPadSend{1.1, 0, 0.55, 0, true};
const Send kBassSend{0.65, 0, 0.05, 0, true};
const Send kKickSend{0.5, 0, 0.04, 0, false};
const Send kSnareSend{0.55, 0.05, 0.3, 0, false};
const Send kHatSend{0.6, 0.3, 0.1, 0, false};
const Send kCrashSend{0.6, -0.2, 0.3, 0, false};
const Send kLeadSend{1.1, 0, 0.35, 0.35, false};
const Send kStabSend{0.9, 0, 0.3, 0.25, true};

Send Panned(Send s, double pan) {
  s.pan = pan;
  return s;
}

// Sustained pad chords, `barsPerChord` bars each, voiced around middle C.
void Pads(Arranger& a, const Section& s, const std::vector<Chord>& chords, int barsPerChord,
          double velocity) {
  for (int bar = 0; bar < s.Bars(); bar += barsPerChord) {
    const Chord& c = chords[(bar / barsPerChord) % chords.size()];
    double start = s.At(bar * 4), length = std::min(barsPerChord * kBar, s.end - start);
    for (int k = 0; k < 3; ++k)
      a.Play(Instrument::kPad, start, length, Place(c.Tone(k), 55), velocity, kPadSend);
  }
}

// How an arpeggio sounds and where it starts.
struct ArpeggioPart {
  Instrument instrument = Instrument::kBell;
  double step = 0.5;    // beats from one note to the next
  int low = 69;         // chord tones are placed from this pitch up
  double velocity = 1;  // of the accented notes; the others play at 3/4 of it
  double fromBeat = 0;  // first note, in beats from the section's start
  Send send;            // panned left and right note by note
};

// Arpeggio of chord tones over two octaves, one note per `part.step` beats.
void Arpeggio(Arranger& a, const Section& s, const std::vector<Chord>& chords, int barsPerChord,
              const ArpeggioPart& part) {
  const int order[8] = {0, 1, 2, 3, 4, 3, 2, 1};
  int i = 0;
  for (double beat = part.fromBeat; s.At(beat) < s.end - 0.01; beat += part.step, ++i) {
    int bar = static_cast<int>(beat / 4);
    const Chord& c = chords[(bar / barsPerChord) % chords.size()];
    int k = order[i % 8];
    int pitch = Place(c.Tone(k % 3), part.low) + 12 * (k / 3);
    double accent = (i % 4 == 0) ? 1.0 : 0.75;
    a.Play(part.instrument, s.At(beat), part.step * kBeat * 0.9, pitch, part.velocity * accent,
           Panned(part.send, (i % 2) ? 0.35 : -0.35));
  }
}

// Bass notes on the chord roots, placed by a one-bar rhythm of (beat, length) pairs.
void Bass(Arranger& a, const Section& s, const std::vector<Chord>& chords, int barsPerChord,
          const std::vector<std::pair<double, double>>& rhythm, double velocity, bool octaveJumps) {
  for (int bar = 0; bar < s.Bars(); ++bar) {
    const Chord& c = chords[(bar / barsPerChord) % chords.size()];
    int root = Place(c.root, 36);
    int n = 0;
    for (auto [beat, length] : rhythm) {
      double start = s.At(bar * 4 + beat);
      if (start >= s.end - 0.01) break;
      int pitch = root + ((octaveJumps && (n++ % 4 == 3)) ? 12 : 0);
      a.Play(Instrument::kBass, start, std::min(length * kBeat, s.end - start), pitch, velocity, kBassSend);
    }
  }
}

enum class Beat { kFour, kHalfTime, kBreak };

void Drums(Arranger& a, const Section& s, Beat style, int fromBar, int toBar, bool sixteenths, double level) {
  for (int bar = fromBar; bar < std::min(toBar, s.Bars()); ++bar) {
    for (int step = 0; step < 16; ++step) {
      double beat = bar * 4 + step * 0.25;
      double t = s.At(beat);
      if (t >= s.end - 0.01) return;
      bool quarter = step % 4 == 0;
      if (style == Beat::kFour) {
        if (quarter) a.Hit(Drum::kKick, t, level, kKickSend);
        if (step == 4 || step == 12) a.Hit(Drum::kClap, t, 0.8 * level, kSnareSend);
        if (step == 4 || step == 12) a.Hit(Drum::kSnare, t, 0.5 * level, kSnareSend);
        if (step % 4 == 2) a.Hit(Drum::kOpenHat, t, 0.55 * level, kHatSend);
      } else if (style == Beat::kHalfTime) {
        if (step == 0 || step == 10) a.Hit(Drum::kKick, t, level, kKickSend);
        if (step == 8) a.Hit(Drum::kSnare, t, 0.9 * level, kSnareSend);
        if (step == 14 && bar % 2 == 1) a.Hit(Drum::kKick, t, 0.6 * level, kKickSend);
      } else if (quarter && step == 0) {
        a.Hit(Drum::kKick, t, 0.8 * level, kKickSend);
      }
      if (sixteenths || step % 2 == 0) {
        double accent = (step % 2 == 0) ? 0.8 : 0.45;
        if (style != Beat::kFour || step % 4 != 2) a.Hit(Drum::kClosedHat, t, accent * level, kHatSend);
      }
    }
  }
}

// A snare roll rising into the next section over the last `beats` beats, with a noise riser.
void BuildUp(Arranger& a, const Section& s, double beats, bool roll) {
  double from = s.end - beats * kBeat;
  a.Hit(Drum::kRiser, from, 0.9, Send{0.9, 0, 0.4, 0.2, false}, s.end - from);
  if (!roll) return;
  int steps = static_cast<int>(beats * 4);
  for (int i = 0; i < steps; ++i) {
    double t = from + i * kBeat / 4;
    a.Hit(Drum::kSnare, t, 0.25 + 0.6 * i / steps, kSnareSend);
  }
}

// A melody and how it is played.
struct MelodyPart {
  const char* phrase = "";  // "beat:length:degree ..." (degree in A minor from A4; a trailing # raises it)
  Instrument instrument = Instrument::kLead;
  Send send;
  double fromBeat = 0;   // first repeat's start, in beats from the section's start
  double transpose = 0;  // semitones
  double velocity = 1;
  int repeats = 1;
  double phraseBeats = 32;  // from one repeat to the next
};

void Melody(Arranger& a, const Section& s, const MelodyPart& part) {
  for (int r = 0; r < part.repeats; ++r) {
    std::string text(part.phrase);
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find(' ', pos);
      if (end == std::string::npos) end = text.size();
      std::string token = text.substr(pos, end - pos);
      pos = end + 1;
      if (token.empty()) continue;
      double beat = 0, length = 0;
      int degree = 0;
      char sharp = 0;
      if (std::sscanf(token.c_str(), "%lf:%lf:%d%c", &beat, &length, &degree, &sharp) < 3) continue;
      double start = s.At(part.fromBeat + r * part.phraseBeats + beat);
      if (start >= s.end - 0.01) return;
      double held = std::min(length * kBeat * 0.95, s.end - start);
      a.Play(part.instrument, start, held, Degree(degree, sharp == '#') + part.transpose, part.velocity,
             part.send);
    }
  }
}

// The main theme over Am F C G (one bar each), eight bars.
const char* const kTheme =
    "0:1.5:4 1.5:0.5:2 2:1:4 3:0.5:5 3.5:0.5:4 "
    "4:1.5:5 5.5:0.5:4 6:2:2 "
    "8:1:4 9:1:6 10:1.5:7 11.5:0.5:6 "
    "12:3:6 15:0.5:4 15.5:0.5:5 "
    "16:1.5:7 17.5:0.5:6 18:1:4 19:1:2 "
    "20:1.5:3 21.5:0.5:2 22:2:0 "
    "24:1:2 25:1:4 26:1:6 27:1:9 "
    "28:4:8";

// Over Dm Am F E (two bars each): long, high notes.
const char* const kDreamTheme =
    "0:3:3 3:1:5 4:4:7 "
    "8:2:7 10:2:4 12:4:2 "
    "16:3:5 19:1:4 20:4:2 "
    "24:2:1 26:2:4 28:4:6#";

// Over F G Am Am / F G C E (one bar each).
const char* const kFlightTheme =
    "0:0.5:5 0.5:0.5:7 1:1:9 2:1:8 3:1:7 "
    "4:1.5:6 5.5:0.5:7 6:2:8 "
    "8:1:9 9:1:11 10:1:9 11:1:7 "
    "12:4:9 "
    "16:0.5:5 16.5:0.5:7 17:1:9 18:1:8 19:1:7 "
    "20:1.5:6 21.5:0.5:7 22:2:8 "
    "24:1:9 25:1:8 26:1:7 27:1:4 "
    "28:4:4";

// Over C G Am F (one bar each): a lighter, bouncing line.
const char* const kGrooveTheme =
    "0:0.5:2 0.75:0.5:4 1.5:1:6 3:0.5:4 3.5:0.5:6 "
    "4:0.5:8 4.75:0.5:6 5.5:1.5:4 7:1:1 "
    "8:0.5:0 8.75:0.5:2 9.5:1:4 11:0.5:2 11.5:0.5:4 "
    "12:1.5:5 13.5:0.5:4 14:2:2";

void Credits(Arranger& a, const Section& s) {
  const std::vector<Chord> chords = {kAm, kF, kC, kG};
  Pads(a, s, chords, 2, 0.8);
  Arpeggio(a, s, chords, 2,
           {.instrument = Instrument::kBell,
            .step = 0.5,
            .low = 69,
            .velocity = 0.55,
            .fromBeat = 8,
            .send = Send{0.9, 0, 0.4, 0.45, false}});
  Bass(a, s, chords, 2, {{0, 7.5}}, 0.5, false);
  Drums(a, s, Beat::kBreak, 4, 99, false, 0.6);
  BuildUp(a, s, 8, true);
}

void TunnelOne(Arranger& a, const Section& s) {
  const std::vector<Chord> chords = {kAm, kF, kC, kG};
  a.Hit(Drum::kCrash, s.start, 1.0, kCrashSend);
  Pads(a, s, chords, 1, 0.6);
  Drums(a, s, Beat::kFour, 0, 99, true, 1.0);
  Bass(a, s, chords, 1, {{0.5, 0.45}, {1.5, 0.45}, {2.5, 0.45}, {3.5, 0.45}}, 0.95, true);
  Arpeggio(a, s, chords, 1,
           {.instrument = Instrument::kPluck,
            .step = 0.25,
            .low = 64,
            .velocity = 0.7,
            .fromBeat = 0,
            .send = Send{0.81, 0, 0.2, 0.3, true}});
  Melody(a, s,
         {.phrase = kTheme,
          .instrument = Instrument::kLead,
          .send = kLeadSend,
          .fromBeat = 32,
          .velocity = 0.8});
  BuildUp(a, s, 4, true);
}

void WireTorus(Arranger& a, const Section& s) {
  const std::vector<Chord> chords = {kDm, kAm, kF, kE};
  a.Hit(Drum::kCrash, s.start, 0.8, kCrashSend);
  Pads(a, s, chords, 2, 0.75);
  Arpeggio(a, s, chords, 2,
           {.instrument = Instrument::kBell,
            .step = 0.5,
            .low = 69,
            .velocity = 0.45,
            .fromBeat = 0,
            .send = Send{0.81, 0, 0.45, 0.5, false}});
  Drums(a, s, Beat::kHalfTime, 0, 99, false, 0.8);
  Bass(a, s, chords, 2, {{0, 1.5}, {1.5, 2.5}}, 0.7, false);
  Melody(a, s,
         {.phrase = kDreamTheme,
          .instrument = Instrument::kLead,
          .send = Send{0.81, 0, 0.55, 0.5, false},
          .fromBeat = 16,
          .velocity = 0.6});
  BuildUp(a, s, 8, false);
  for (int i = 0; i < 4; ++i) a.Hit(Drum::kTom, s.end - (4 - i) * kBeat / 2, 0.6 + 0.1 * i, kSnareSend);
}

void Flight(Arranger& a, const Section& s) {
  const std::vector<Chord> chords = {kF, kG, kAm, kAm, kF, kG, kC, kE};
  a.Hit(Drum::kCrash, s.start, 1.0, kCrashSend);
  Pads(a, s, chords, 1, 0.6);
  Drums(a, s, Beat::kFour, 0, 99, true, 1.0);
  Bass(a, s, chords, 1,
       {{0, 0.4}, {0.5, 0.4}, {1, 0.4}, {1.5, 0.4}, {2, 0.4}, {2.5, 0.4}, {3, 0.4}, {3.5, 0.4}}, 0.85, true);
  for (int bar = 0; bar < s.Bars(); ++bar) {
    const Chord& c = chords[bar % chords.size()];
    for (double beat : {0.0, 0.75, 1.5, 2.5, 3.25}) {
      double t = s.At(bar * 4 + beat);
      if (t >= s.end - 0.01) break;
      for (int k = 0; k < 3; ++k)
        a.Play(Instrument::kStab, t, 0.3 * kBeat, Place(c.Tone(k), 60), 0.7, kStabSend);
    }
    if (bar % 8 == 0 && bar > 0) a.Hit(Drum::kCrash, s.At(bar * 4), 0.7, kCrashSend);
  }
  Melody(a, s,
         {.phrase = kFlightTheme,
          .instrument = Instrument::kLead,
          .send = kLeadSend,
          .fromBeat = 0,
          .velocity = 0.85,
          .repeats = 2});
  BuildUp(a, s, 4, true);
}

void TunnelTwo(Arranger& a, const Section& s) {
  const std::vector<Chord> chords = {kAm, kAm, kG, kF};
  a.Hit(Drum::kCrash, s.start, 1.0, kCrashSend);
  Drums(a, s, Beat::kFour, 0, 99, true, 1.0);
  Pads(a, s, chords, 1, 0.4);
  const int riff[16] = {0, 0, 12, 0, 3, 0, 7, 0, 0, 12, 0, 10, 0, 7, 3, 0};
  const double accent[16] = {1, .3, .8, .3, .6, .3, 1, .3, .4, .9, .3, .7, .3, .8, .5, .3};
  for (int bar = 0; bar < s.Bars(); ++bar) {
    const Chord& c = chords[bar % chords.size()];
    double open = 0.4 + 0.6 * (0.5 - 0.5 * std::cos(bar * 0.5));  // the filter breathes
    for (int step = 0; step < 16; ++step) {
      double t = s.At(bar * 4 + step * 0.25);
      if (t >= s.end - 0.01) break;
      a.Play(Instrument::kAcid, t, 0.22 * kBeat, Place(c.root, 36) + riff[step], accent[step] * open,
             Send{1.2, 0, 0.08, 0.12, true});
    }
  }
  Arpeggio(a, s, chords, 1,
           {.instrument = Instrument::kPluck,
            .step = 0.75,
            .low = 69,
            .velocity = 0.55,
            .fromBeat = 32,
            .send = Send{0.72, 0, 0.3, 0.45, true}});
  Melody(a, s,
         {.phrase = kTheme,
          .instrument = Instrument::kStab,
          .send = kStabSend,
          .fromBeat = 32,
          .velocity = 0.8});
  BuildUp(a, s, 4, true);
}

void SolidTorus(Arranger& a, const Section& s) {
  const std::vector<Chord> chords = {kC, kG, kAm, kF};
  a.Hit(Drum::kCrash, s.start, 1.0, kCrashSend);
  Pads(a, s, chords, 1, 0.55);
  Drums(a, s, Beat::kFour, 0, 99, false, 0.9);
  Bass(a, s, chords, 1, {{0, 0.6}, {0.75, 0.5}, {1.5, 0.4}, {2, 0.6}, {2.75, 0.5}, {3.5, 0.4}}, 0.9, true);
  Arpeggio(a, s, chords, 1,
           {.instrument = Instrument::kBell,
            .step = 0.5,
            .low = 72,
            .velocity = 0.4,
            .fromBeat = 0,
            .send = Send{0.72, 0, 0.4, 0.4, false}});
  Melody(a, s,
         {.phrase = kGrooveTheme,
          .instrument = Instrument::kLead,
          .send = kLeadSend,
          .fromBeat = 0,
          .velocity = 0.75,
          .repeats = 3,
          .phraseBeats = 16});
  BuildUp(a, s, 4, false);
}

void Farewell(Arranger& a, const Section& s) {
  const std::vector<Chord> chords = {kAm, kF, kC, kG};
  a.Hit(Drum::kCrash, s.start, 0.9, kCrashSend);
  Section body{s.start, 178.4};
  Pads(a, body, chords, 2, 0.75);
  Drums(a, body, Beat::kHalfTime, 0, 4, false, 0.7);
  Bass(a, body, chords, 2, {{0, 7.5}}, 0.6, false);
  Arpeggio(a, body, chords, 2,
           {.instrument = Instrument::kBell,
            .step = 0.5,
            .low = 69,
            .velocity = 0.5,
            .fromBeat = 0,
            .send = Send{0.81, 0, 0.45, 0.5, false}});
  Melody(a, body,
         {.phrase = kTheme,
          .instrument = Instrument::kLead,
          .send = Send{0.9, 0, 0.55, 0.45, false},
          .fromBeat = 8,
          .transpose = -12,
          .velocity = 0.55});
  // The last chord rings out into the end of the programme.
  double last = 178.4, held = 5.0;
  for (int k = 0; k < 3; ++k) a.Play(Instrument::kPad, last, held, Place(kAm.Tone(k), 55), 0.85, kPadSend);
  a.Play(Instrument::kBass, last, held, Place(kPitchA, 36), 0.6, kBassSend);
  a.Play(Instrument::kBell, last, 2.0, 69, 0.6, Send{0.9, 0, 0.6, 0.5, false});
  a.Play(Instrument::kBell, last, 2.0, 76, 0.5, Send{0.9, 0.3, 0.6, 0.5, false});
  a.Hit(Drum::kCrash, last, 0.6, kCrashSend);
}

}  // namespace

Stereo MakeSong() {
  Arranger a;
  const double* t = kSectionStarts;
  Credits(a, {t[0], t[1]});
  TunnelOne(a, {t[1], t[2]});
  WireTorus(a, {t[2], t[3]});
  Flight(a, {t[3], t[4]});
  TunnelTwo(a, {t[4], t[5]});
  SolidTorus(a, {t[5], t[6]});
  Farewell(a, {t[6], kProgrammeEnd});
  return a.Render();
}

}  // namespace assetgen
