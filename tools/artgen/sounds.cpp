#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "art.h"
#include "devices/sound_slots.h"

// The game's sound effects, built from oscillators, seeded noise and a few filters. Everything is
// mixed in doubles and only rounded to 16 bits at the end, after the fades and the level.
namespace kav::artgen {
namespace {

constexpr int kRate = 44100;
constexpr double kTau = 2 * std::numbers::pi;

using Wave = std::vector<double>;

size_t Samples(double seconds) {
  return static_cast<size_t>(std::lround(seconds * kRate));
}
double Time(size_t i) {
  return static_cast<double>(i) / kRate;
}

// xorshift64*: small, and the same numbers with every compiler.
class Noise {
 public:
  explicit Noise(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  // Uniform in [-1, 1).
  double operator()() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<double>((state_ * 0x2545F4914F6CDD1Dull) >> 11) * (2.0 / 9007199254740992.0) - 1.0;
  }
  // Uniform in [0, 1).
  double Unit() { return 0.5 * ((*this)() + 1.0); }

 private:
  uint64_t state_;
};

// Second-order sections after the audio EQ cookbook. Retuning keeps the state, so a filter can
// sweep while it runs.
class Biquad {
 public:
  static Biquad LowPass(double hz, double q) {
    Biquad f;
    f.SetLowPass(hz, q);
    return f;
  }
  static Biquad HighPass(double hz, double q) {
    Biquad f;
    f.SetHighPass(hz, q);
    return f;
  }
  static Biquad BandPass(double hz, double q) {
    Biquad f;
    f.SetBandPass(hz, q);
    return f;
  }
  void SetLowPass(double hz, double q) {
    const auto [c, a] = Prewarp(hz, q);
    Set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + a, -2 * c, 1 - a);
  }
  void SetHighPass(double hz, double q) {
    const auto [c, a] = Prewarp(hz, q);
    Set((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + a, -2 * c, 1 - a);
  }
  // Unity gain at the centre.
  void SetBandPass(double hz, double q) {
    const auto [c, a] = Prewarp(hz, q);
    Set(a, 0, -a, 1 + a, -2 * c, 1 - a);
  }
  double operator()(double x) {
    const double y = b0_ * x + z1_;
    z1_ = b1_ * x - a1_ * y + z2_;
    z2_ = b2_ * x - a2_ * y;
    return y;
  }

 private:
  static std::pair<double, double> Prewarp(double hz, double q) {
    const double w = kTau * std::min(hz, 0.45 * kRate) / kRate;
    return {std::cos(w), std::sin(w) / (2 * q)};
  }
  void Set(double b0, double b1, double b2, double a0, double a1, double a2) {
    b0_ = b0 / a0;
    b1_ = b1 / a0;
    b2_ = b2 / a0;
    a1_ = a1 / a0;
    a2_ = a2 / a0;
  }
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double z1_ = 0, z2_ = 0;
};

// A raised-cosine rise over `attack` seconds, then an exponential fall; silent before t = 0.
double Hit(double t, double attack, double decay) {
  if (t < 0) return 0;
  if (t < attack) return 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
  return std::exp(-(t - attack) / decay);
}

// 0 before `from`, 1 after `to`, a raised cosine between.
double Rise(double t, double from, double to) {
  if (t <= from) return 0;
  if (t >= to) return 1;
  return 0.5 - 0.5 * std::cos(std::numbers::pi * (t - from) / (to - from));
}

// On from `start` to `end` with `edge`-second raised-cosine ramps inside that span.
double Gate(double t, double start, double end, double edge) {
  return Rise(t, start, start + edge) * (1 - Rise(t, end - edge, end));
}

Wave WhiteNoise(size_t n, Noise& rnd) {
  Wave w(n);
  for (double& s : w) s = rnd();
  return w;
}

void Filter(Wave& w, Biquad f) {
  for (double& s : w) s = f(s);
}

// Filters a loop as if it had been playing forever: a first pass only settles the filter, so the
// output runs on from the end into the start without a seam.
void FilterLooped(Wave& w, Biquad f) {
  for (const double s : w) f(s);
  for (double& s : w) s = f(s);
}

double Peak(const Wave& w) {
  double p = 0;
  for (const double s : w) p = std::max(p, std::abs(s));
  return p;
}

// Scales each part to a peak of 1 before weighting, so the weights read as relative peak levels.
Wave Mix(std::initializer_list<std::pair<const Wave*, double>> parts) {
  Wave out;
  for (const auto& [w, weight] : parts) {
    if (out.size() < w->size()) out.resize(w->size(), 0.0);
    const double scale = Peak(*w) > 0 ? weight / Peak(*w) : 0;
    for (size_t i = 0; i < w->size(); ++i) out[i] += (*w)[i] * scale;
  }
  return out;
}

// Saturates gently for body; `drive` 0 leaves the wave alone.
void Warm(Wave& w, double drive) {
  const double peak = Peak(w);
  if (peak <= 0 || drive <= 0) return;
  for (double& s : w) s = std::tanh(drive * s / peak) / std::tanh(drive) * peak;
}

// An additive tone with harmonic partials; each upper partial dies away faster than the one below.
void AddNote(Wave& w, double start, double hz, double level, double attack, double decay,
             std::initializer_list<double> partials) {
  int k = 1;
  for (const double amp : partials) {
    const double partialDecay = decay / std::pow(k, 0.6);
    for (size_t i = Samples(start); i < w.size(); ++i) {
      const double t = Time(i) - start;
      w[i] += level * amp * std::sin(kTau * hz * k * t) * Hit(t, attack, partialDecay);
    }
    ++k;
  }
}

std::vector<int16_t> Quantise(const Wave& w, double peakDb) {
  const double peak = Peak(w);
  const double scale = peak > 0 ? std::pow(10.0, peakDb / 20) * 32767 / peak : 0;
  std::vector<int16_t> out(w.size());
  for (size_t i = 0; i < w.size(); ++i) {
    out[i] = static_cast<int16_t>(std::clamp(std::lround(w[i] * scale), -32766l, 32766l));
  }
  return out;
}

Clip MakeClip(int slot, std::string about, std::vector<int16_t> samples, bool loops) {
  const char digits[] = {static_cast<char>('0' + slot / 10), static_cast<char>('0' + slot % 10), 0};
  return Clip{"kavrona_w" + std::string(digits) + ".wav", std::move(about), kRate, 1, std::move(samples), loops};
}

// A clip played once: any DC drained off, both ends faded to exactly zero, the loudest sample
// set to peakDb.
Clip OneShot(int slot, std::string about, Wave w, double peakDb, double fadeIn, double fadeOut) {
  const double r = 1 - kTau * 12 / kRate;  // 12 Hz DC blocker
  double x1 = 0, y1 = 0;
  for (double& s : w) {
    const double y = s - x1 + r * y1;
    x1 = s;
    s = y1 = y;
  }
  const size_t in = std::min(Samples(fadeIn), w.size()), out = std::min(Samples(fadeOut), w.size());
  for (size_t i = 0; i < in; ++i) w[i] *= std::pow(std::sin(0.5 * std::numbers::pi * i / in), 2);
  for (size_t i = 0; i < out; ++i) w[w.size() - 1 - i] *= std::pow(std::sin(0.5 * std::numbers::pi * i / out), 2);
  return MakeClip(slot, std::move(about), Quantise(w, peakDb), false);
}

// A loop: the wave is already periodic over its length. It is turned to begin at a zero crossing
// in its quietest stretch, so it also starts and stops cleanly when it is not looping.
Clip Loop(int slot, std::string about, Wave w, double peakDb) {
  const size_t n = w.size();
  double mean = 0;
  for (const double s : w) mean += s / static_cast<double>(n);
  for (double& s : w) s -= mean;

  const size_t half = Samples(0.003);
  double energy = 0;
  for (size_t k = n - half; k < n + half; ++k) energy += w[k % n] * w[k % n];
  size_t best = 0;
  double bestScore = 1e300;
  for (size_t i = 0; i < n; ++i) {
    // energy covers [i - half, i + half)
    const double before = w[(i + n - 1) % n];
    if ((before <= 0) != (w[i] <= 0)) {
      const double score = energy + 10 * (w[i] * w[i] + before * before);
      if (score < bestScore) {
        bestScore = score;
        best = std::abs(w[i]) <= std::abs(before) ? i : (i + n - 1) % n;
      }
    }
    energy += w[(i + half) % n] * w[(i + half) % n] - w[(i + n - half) % n] * w[(i + n - half) % n];
  }
  std::rotate(w.begin(), w.begin() + static_cast<std::ptrdiff_t>(best), w.end());
  return MakeClip(slot, std::move(about), Quantise(w, peakDb), true);
}

// A smooth pulse once per period, 1 at the start of each and 0 half way: periodic and without
// corners, so it can shape a loop.
double Pulsing(size_t i, size_t period, double sharpness) {
  const double phase = static_cast<double>(i % period) / static_cast<double>(period);
  return std::pow(0.5 + 0.5 * std::cos(kTau * phase), sharpness);
}

// 1: the helicopter. Two blades slap 15 times a second over the turbine; 30 slaps make the loop,
// and every periodic part repeats a whole number of times in it.
Clip Rotor() {
  constexpr size_t kPeriod = kRate / 15;
  constexpr size_t kSlaps = 30;
  constexpr size_t n = kPeriod * kSlaps;
  constexpr double kLoopHz = static_cast<double>(kRate) / n;  // 0.5 Hz
  Noise rnd(1001);

  Wave slapLow = WhiteNoise(n, rnd), slapHigh = WhiteNoise(n, rnd), wash = WhiteNoise(n, rnd);
  FilterLooped(slapLow, Biquad::BandPass(460, 1.1));
  FilterLooped(slapHigh, Biquad::BandPass(1300, 1.4));
  FilterLooped(wash, Biquad::LowPass(170, 0.7));
  FilterLooped(wash, Biquad::LowPass(170, 0.7));

  Wave thump(n, 0.0), slap(n, 0.0), crack(n, 0.0);
  for (size_t j = 0; j < kSlaps; ++j) {
    const double blade = j % 2 == 0 ? 1.0 : 0.84;  // the two blades never slap quite alike
    double phase = 0;
    for (size_t d = 0; d < 2 * kPeriod; ++d) {  // the tail runs into the next slap
      const size_t i = (j * kPeriod + d) % n;
      const double t = Time(d);
      phase += kTau * (58 + 42 * std::exp(-t / 0.03)) / kRate;  // the whop drops in pitch
      thump[i] += blade * std::sin(phase) * Hit(t, 0.005, 0.026);
      slap[i] += blade * slapLow[i] * Hit(t, 0.003, 0.014);
      crack[i] += blade * slapHigh[i] * Hit(t, 0.0015, 0.006);
    }
  }
  Wave turbine(n), hum(n), air(n);
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i);
    const double wobble = std::sin(kTau * kLoopHz * t);
    // 1650 Hz and its neighbours: all whole numbers of cycles per loop. The blades chop the whine.
    const double chop = 1 - 0.35 * Pulsing(i, kPeriod, 3);
    turbine[i] = chop * (std::sin(kTau * 1650 * t + 12 * wobble) + 0.6 * std::sin(kTau * 1653 * t) +
                         0.3 * std::sin(kTau * 3300 * t + 24 * wobble) + 0.15 * std::sin(kTau * 4950.5 * t));
    hum[i] = std::sin(kTau * 105 * t) + 0.5 * std::sin(kTau * 210 * t + 0.7);
    air[i] = wash[i] * (0.45 + 0.55 * Pulsing(i, kPeriod, 2));
  }
  Wave w = Mix({{&thump, 1.0}, {&slap, 0.45}, {&crack, 0.16}, {&air, 0.4}, {&turbine, 0.1}, {&hum, 0.05}});
  return Loop(kEngineSound, "helicopter engine: blade slap at 15 Hz over a turbine whine", std::move(w), -3.0);
}

// 2: something hit and blew up: a bright burst, a falling boom, a rumble that dies away with debris.
Clip Explosion() {
  const size_t n = Samples(1.75);
  Noise rnd(2002);
  constexpr double kBright = 0.002;  // the bright parts follow the first pressure rise
  Wave crack(n), burst(n), boom(n), rumble(n), debris(n);
  // The rumble surges and ebbs a few times a second.
  Wave swell = WhiteNoise(n, rnd);
  Filter(swell, Biquad::LowPass(4, 0.7));
  const double swellPeak = Peak(swell);
  Biquad crackHp = Biquad::HighPass(900, 0.7), burstLp, rumbleLp1 = Biquad::LowPass(230, 0.7),
         rumbleLp2 = Biquad::LowPass(230, 0.7), debrisBp = Biquad::BandPass(2600, 5);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i);
    crack[i] = crackHp(rnd()) * Hit(t - kBright, 0.001, 0.03);
    if (i % 16 == 0) burstLp.SetLowPass(380 + 5200 * std::exp(-t / 0.11), 0.8);
    burst[i] = burstLp(rnd()) * Hit(t - kBright, 0.004, 0.17);
    phase += kTau * (36 + 92 * std::exp(-t / 0.14)) / kRate;
    boom[i] = std::sin(phase) * Hit(t, 0.009, 0.36);
    rumble[i] = rumbleLp2(rumbleLp1(rnd())) * Hit(t, 0.09, 0.6) * (0.65 + 0.35 * swell[i] / swellPeak);
    const double chance = 0.0025 * std::exp(-t / 0.3) * Rise(t, 0.05, 0.1);
    debris[i] = debrisBp(rnd.Unit() < chance ? rnd() : 0.0);
  }
  Wave w = Mix({{&crack, 0.6}, {&burst, 1.0}, {&boom, 0.85}, {&rumble, 0.8}, {&debris, 0.12}});
  Warm(w, 1.6);
  return OneShot(kExplosionSound, "impact and explosion: burst, falling boom, rumble", std::move(w), -1.0, 0.002, 0.3);
}

// 3: a radio blip: a crackle of static, a beep, the squelch closing.
Clip RadioBlip() {
  const size_t n = Samples(0.3);
  Noise rnd(3003);
  Wave staticOpen(n), tone(n), squelch(n);
  Biquad openBp = Biquad::BandPass(2200, 0.9), toneBp = Biquad::BandPass(1400, 0.7),
         closeBp = Biquad::BandPass(2700, 0.8);
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i);
    staticOpen[i] = openBp(rnd()) * Hit(t, 0.004, 0.018) * (1 - Rise(t, 0.04, 0.06));
    const double square = std::sin(kTau * 1400 * t) + std::sin(kTau * 4200 * t) / 3 + std::sin(kTau * 7000 * t) / 5;
    tone[i] = toneBp(square) * Gate(t, 0.03, 0.15, 0.005) * (0.5 + 0.5 * std::exp(-std::max(t - 0.03, 0.0) / 0.04));
    squelch[i] = closeBp(rnd()) * Hit(t - 0.15, 0.003, 0.03);
  }
  Wave w = Mix({{&staticOpen, 0.5}, {&tone, 1.0}, {&squelch, 0.6}});
  return OneShot(kRadioSound, "radio blip: static, a beep, squelch", std::move(w), -3.0, 0.003, 0.03);
}

// 4: a warning alarm: a two-tone warble, the pitch gliding between tones so nothing clicks.
Clip Alarm() {
  const size_t n = Samples(1.4);
  Wave w(n);
  Biquad soften = Biquad::LowPass(5000, 0.7);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i);
    const double swing = std::tanh(10 * std::sin(kTau * t / 0.35));  // a square with rounded corners
    phase += kTau * (825 + 125 * swing) / kRate;
    const double square = std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 5 + std::sin(7 * phase) / 7;
    // Each tone hits and settles; the level it settles to is where the next one starts from.
    const double since = std::fmod(t, 0.175);
    w[i] = soften(square) * (0.45 + 0.55 * Rise(since, 0, 0.008) * std::exp(-since / 0.06));
  }
  return OneShot(kAlarmSound, "alarm: two-tone warble", std::move(w), -3.0, 0.012, 0.05);
}

// 5: a whoosh: noise through a band that sweeps up as it swells and back down as it passes.
Clip Whoosh() {
  const size_t n = Samples(0.9);
  Noise rnd(5005);
  Wave air(n), body(n);
  Biquad band1, band2, low = Biquad::LowPass(300, 0.7);
  double top = 0;
  for (size_t i = 0; i < n; ++i) {
    const double x = Time(i) / 0.9;
    top = std::max(top, std::pow(x, 1.3) * std::pow(1 - x, 1.8));
  }
  for (size_t i = 0; i < n; ++i) {
    const double x = Time(i) / 0.9;
    const double swell = std::pow(x, 1.3) * std::pow(1 - x, 1.8) / top;
    if (i % 16 == 0) {
      band1.SetBandPass(320 + 2500 * swell, 1.3);
      band2.SetBandPass(320 + 2500 * swell, 1.3);
    }
    const double noise = rnd();
    air[i] = band2(band1(noise)) * swell;
    body[i] = low(noise) * swell * swell;
  }
  Wave w = Mix({{&air, 1.0}, {&body, 0.35}});
  return OneShot(kWhooshSound, "whoosh: swept noise passing by", std::move(w), -3.0, 0.01, 0.05);
}

// 6: the success jingle: a quick rising arpeggio, the top note left to ring.
Clip Jingle() {
  Wave w(Samples(1.25), 0.0);
  const double notes[] = {783.99, 1046.50, 1318.51, 1567.98};  // G5 C6 E6 G6
  for (int k = 0; k < 4; ++k) {
    const bool last = k == 3;
    AddNote(w, 0.085 * k, notes[k], last ? 1.0 : 0.8, k == 0 ? 0.006 : 0.003, last ? 0.34 : 0.17,
            {1.0, 0.5, 0.25, 0.12});
  }
  AddNote(w, 0.255, 2 * notes[3], 0.12, 0.004, 0.2, {1.0});  // a little sparkle over the top
  return OneShot(kSuccessSound, "success jingle: G5 C6 E6 G6 arpeggio", std::move(w), -3.0, 0.002, 0.15);
}

// 7: the rifle: a sharp crack, the blast, a short thump and an echo off the hills.
Clip Rifle() {
  const size_t n = Samples(0.45);
  Noise rnd(7007);
  constexpr double kBright = 0.002;  // as for the explosion: the crack rides on the first push
  Wave crack(n), blast(n), thump(n), tail(n);
  Biquad crackHp = Biquad::HighPass(1300, 0.7), blastBp = Biquad::BandPass(750, 0.8),
         tailLp = Biquad::LowPass(1600, 0.7), echoLp = Biquad::LowPass(2200, 0.7);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i);
    const double noise = rnd();
    crack[i] = crackHp(noise) * Hit(t - kBright, 0.0006, 0.009);
    blast[i] = blastBp(noise) * Hit(t - kBright, 0.0008, 0.045);
    phase += kTau * (55 + 75 * std::exp(-t / 0.02)) / kRate;
    thump[i] = std::sin(phase) * Hit(t, 0.002, 0.032);
    tail[i] = tailLp(rnd()) * Hit(t, 0.012, 0.1);
  }
  Wave echo(n, 0.0);
  const size_t delay = Samples(0.11);
  for (size_t i = delay; i < n; ++i) echo[i] = echoLp(crack[i - delay] + 2 * blast[i - delay]);
  Wave w = Mix({{&crack, 1.0}, {&blast, 0.9}, {&thump, 0.35}, {&tail, 0.25}, {&echo, 0.25}});
  Warm(w, 2.4);
  return OneShot(kRifleSound, "rifle shot: crack, blast, short echo", std::move(w), -1.0, 0.0005, 0.06);
}

// 8: one typed glyph: a tiny bright tick, a few ringing modes and a breath of noise.
Clip Tick() {
  const size_t n = Samples(0.026);
  Noise rnd(8008);
  constexpr double kStart = 0.0016;
  Wave w(n);
  Biquad airHp = Biquad::HighPass(4500, 0.7);
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i) - kStart;
    const double modes = std::sin(kTau * 2900 * t) * Hit(t, 0.001, 0.0022) +
                         0.6 * std::sin(kTau * 4700 * t) * Hit(t, 0.001, 0.0014) +
                         0.35 * std::sin(kTau * 1800 * t) * Hit(t, 0.001, 0.0035);
    w[i] = modes + 0.4 * airHp(rnd()) * Hit(t, 0.001, 0.0008);
  }
  return OneShot(kTickSound, "text tick: one typed character", std::move(w), -3.0, 0.0005, 0.006);
}

// 9: the briefing opens: two chirped tones over radio hiss, then the squelch.
Clip Briefing() {
  const size_t n = Samples(0.55);
  Noise rnd(9009);
  Wave tones(n), hiss(n), squelch(n);
  Biquad radio = Biquad::BandPass(1300, 0.6), hissBp = Biquad::BandPass(1800, 0.5),
         squelchBp = Biquad::BandPass(2500, 0.9);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i);
    // Each tone starts a little flat and slides up, like a modem catching its carrier.
    const bool second = t >= 0.155;
    const double since = t - (second ? 0.17 : 0.03);
    phase += kTau * (second ? 1575 : 1050) * (1 - 0.08 * std::exp(-std::max(since, 0.0) / 0.012)) / kRate;
    const double square = std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 5;
    const double settle = 0.5 + 0.5 * std::exp(-std::max(since, 0.0) / 0.04);
    tones[i] = radio(square * settle * (Gate(t, 0.03, 0.14, 0.004) + Gate(t, 0.17, 0.34, 0.004)));
    hiss[i] = hissBp(rnd()) * Gate(t, 0.0, 0.5, 0.03);
    squelch[i] = squelchBp(rnd()) * Hit(t - 0.36, 0.003, 0.025);
  }
  Wave w = Mix({{&tones, 1.0}, {&hiss, 0.09}, {&squelch, 0.45}});
  return OneShot(kBriefingSound, "briefing opener: two-tone radio chirp and squelch", std::move(w), -3.0, 0.01, 0.05);
}

// 10: the menu chime: two soft bell notes, a fifth apart.
Clip Chime() {
  Wave w(Samples(0.85), 0.0);
  AddNote(w, 0.0, 880.0, 0.8, 0.008, 0.22, {1.0, 0.15, 0.04});
  AddNote(w, 0.13, 1318.51, 1.0, 0.008, 0.3, {1.0, 0.15, 0.04});
  for (size_t i = 0; i < w.size(); ++i) {  // a faint inharmonic partial gives the bell its ring
    const double t = Time(i) - 0.13;
    w[i] += 0.05 * std::sin(kTau * 1318.51 * 2.76 * t) * Hit(t, 0.008, 0.08);
  }
  return OneShot(kMenuSound, "menu chime: two soft notes", std::move(w), -3.0, 0.003, 0.12);
}

// 11: the rescue boat: a single cylinder putting 7.5 times a second, water slapping at the hull.
// Eighteen beats make the loop.
Clip Boat() {
  constexpr size_t kPeriod = kRate * 2 / 15;
  constexpr size_t kBeats = 18;
  constexpr size_t n = kPeriod * kBeats;
  constexpr double kLoopHz = static_cast<double>(kRate) / n;
  Noise rnd(11011);

  Wave exhaustNoise = WhiteNoise(n, rnd), clatterNoise = WhiteNoise(n, rnd), water = WhiteNoise(n, rnd);
  FilterLooped(exhaustNoise, Biquad::BandPass(230, 1.4));
  FilterLooped(clatterNoise, Biquad::HighPass(2500, 0.7));
  FilterLooped(water, Biquad::LowPass(500, 0.7));

  Wave firing(n, 0.0), exhaust(n, 0.0), clatter(n, 0.0), drone(n), slosh(n);
  for (size_t j = 0; j < kBeats; ++j) {
    const double strength = 0.9 + 0.2 * rnd.Unit();
    double phase = 0;
    for (size_t d = 0; d < 2 * kPeriod; ++d) {
      const size_t i = (j * kPeriod + d) % n;
      const double t = Time(d);
      phase += kTau * (50 + 26 * std::exp(-t / 0.025)) / kRate;
      firing[i] += strength * std::sin(phase) * Hit(t, 0.006, 0.045);
      exhaust[i] += strength * exhaustNoise[i] * Hit(t, 0.004, 0.035);
      clatter[i] += clatterNoise[i] * Hit(t - 0.02, 0.001, 0.003);
    }
  }
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i);
    drone[i] = std::sin(kTau * 60 * t) + 0.6 * std::sin(kTau * 97.5 * t + 1.1) + 0.3 * std::sin(kTau * 135 * t);
    slosh[i] = water[i] * (0.6 + 0.4 * std::sin(kTau * 2 * kLoopHz * t) * std::sin(kTau * 3 * kLoopHz * t));
  }
  Wave w = Mix({{&firing, 1.0}, {&exhaust, 0.5}, {&clatter, 0.06}, {&drone, 0.12}, {&slosh, 0.12}});
  return Loop(kBoatSound, "rescue boat engine: low putting motor", std::move(w), -3.0);
}

// 12: touching down: a soft low thump, the skids knocking, a short scrape.
Clip Landing() {
  const size_t n = Samples(0.48);
  Noise rnd(12012);
  Wave thump(n), body(n), knock(n), skid(n);
  Biquad bodyLp = Biquad::LowPass(300, 0.7), skidBp = Biquad::BandPass(1800, 1.0), grit = Biquad::LowPass(60, 0.7);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = Time(i);
    phase += kTau * (45 + 40 * std::exp(-t / 0.03)) / kRate;
    thump[i] = std::sin(phase) * Hit(t, 0.005, 0.055);
    body[i] = bodyLp(rnd()) * Hit(t, 0.003, 0.03);
    knock[i] = (std::sin(kTau * 420 * t) + 0.7 * std::sin(kTau * 610 * t)) * Hit(t - 0.003, 0.002, 0.025);
    const double roughness = std::abs(grit(rnd()));
    skid[i] = skidBp(rnd()) * roughness * Gate(t, 0.025, 0.25, 0.015) * Hit(t - 0.025, 0.015, 0.07);
  }
  Wave w = Mix({{&thump, 1.0}, {&body, 0.45}, {&knock, 0.15}, {&skid, 0.22}});
  Warm(w, 1.2);
  return OneShot(kLandingSound, "landing thud: low thump and a little skid", std::move(w), -2.0, 0.001, 0.06);
}

}  // namespace

std::vector<Clip> MakeSounds() {
  std::vector<Clip> clips;
  clips.push_back(Rotor());
  clips.push_back(Explosion());
  clips.push_back(RadioBlip());
  clips.push_back(Alarm());
  clips.push_back(Whoosh());
  clips.push_back(Jingle());
  clips.push_back(Rifle());
  clips.push_back(Tick());
  clips.push_back(Briefing());
  clips.push_back(Chime());
  clips.push_back(Boat());
  clips.push_back(Landing());
  return clips;
}

}  // namespace kav::artgen
