// Small building blocks for synthesising the program's sounds: a seeded noise source, simple
// filters, a stereo buffer with envelopes and a light room reverb. Everything is deterministic.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace soundgen {

inline constexpr double kTwoPi = 2.0 * std::numbers::pi;

// xorshift64*: the same sequence on every platform and library, unlike std distributions.
class Noise {
  public:
    explicit Noise(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    // Uniform in [-1, 1).
    double next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        const std::uint64_t v = state_ * 0x2545F4914F6CDD1Dull;
        return double(v >> 11) * (2.0 / 9007199254740992.0) - 1.0;
    }

  private:
    std::uint64_t state_;
};

// Biquad after the well-known audio-EQ cookbook formulas.
class Biquad {
  public:
    static Biquad lowpass(double rate, double freq, double q) { return make(rate, freq, q, 0); }
    static Biquad highpass(double rate, double freq, double q) { return make(rate, freq, q, 1); }
    static Biquad bandpass(double rate, double freq, double q) { return make(rate, freq, q, 2); }

    double operator()(double x) {
        const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }
    // Moves the corner frequency without resetting the filter state (for sweeps).
    void retune(double rate, double freq, double q) {
        const Biquad n = make(rate, freq, q, kind_);
        b0_ = n.b0_, b1_ = n.b1_, b2_ = n.b2_, a1_ = n.a1_, a2_ = n.a2_;
    }

  private:
    static Biquad make(double rate, double freq, double q, int kind) {
        const double w = kTwoPi * freq / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
        Biquad f;
        f.kind_ = kind;
        double b0, b1, b2;
        if (kind == 0) {
            b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2;
        } else if (kind == 1) {
            b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2;
        } else {
            b0 = alpha, b1 = 0, b2 = -alpha;
        }
        const double a0 = 1 + alpha;
        f.b0_ = b0 / a0, f.b1_ = b1 / a0, f.b2_ = b2 / a0;
        f.a1_ = -2 * c / a0, f.a2_ = (1 - alpha) / a0;
        return f;
    }

    int kind_ = 0;
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// An oscillator whose frequency may change every sample without phase jumps.
class Oscillator {
  public:
    explicit Oscillator(double phase = 0) : phase_(phase) {}
    double operator()(double freq, double rate) {
        const double v = std::sin(phase_);
        phase_ = std::fmod(phase_ + kTwoPi * freq / rate, kTwoPi);
        return v;
    }

  private:
    double phase_;
};

// 0 -> 1 with zero slope at both ends.
inline double smoothstep(double x) {
    if (x <= 0) return 0;
    if (x >= 1) return 1;
    return x * x * (3 - 2 * x);
}

struct Stereo {
    int rate = 48000;
    std::vector<double> left, right;

    Stereo(int rate, std::size_t frames) : rate(rate), left(frames), right(frames) {}
    std::size_t frames() const { return left.size(); }
    double time(std::size_t i) const { return double(i) / rate; }
    std::size_t frameAt(double seconds) const { return std::size_t(std::lround(seconds * rate)); }
};

// A mechanical impact: a short filtered noise burst exciting a few damped resonances, with a
// soft body thump below. `brightness` scales the resonance frequencies.
struct Impact {
    double at = 0;  // seconds
    double strength = 1;
    double brightness = 1;
    double body = 0.6;      // weight of the low thump
    double bodyFreq = 120;  // Hz
    std::uint64_t seed = 1;
};
void addImpact(Stereo& out, const Impact& impact);

// A light room: a few combs and allpasses per channel, mixed in at `wet`. `decay` (0..0.8) is
// the comb feedback: higher rings longer.
void addRoom(Stereo& out, double wet, double decay);

// Removes any DC offset, then fades in over `inSeconds` and out over the last `outSeconds`
// (raised cosine).
void finish(Stereo& out, double inSeconds, double outSeconds);

// Scales so that the loudest sample of either channel sits at `peak` (below 1: no clipping) and
// converts to interleaved 16-bit samples.
std::vector<std::int16_t> toPcm16(const Stereo& s, double peak);

}  // namespace soundgen
