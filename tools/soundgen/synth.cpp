#include "synth.h"

#include <algorithm>
#include <array>

namespace soundgen {

void addImpact(Stereo& out, const Impact& im) {
    struct Mode {
        double freq, decay, amp;
    };
    // Resonances of a small metal-and-plastic mechanism; the inharmonic ratios keep the click
    // from sounding like a tone.
    static constexpr std::array<Mode, 5> kModes{{{1130, 0.040, 0.50},
                                                 {2480, 0.028, 0.38},
                                                 {3870, 0.018, 0.27},
                                                 {5650, 0.011, 0.16},
                                                 {7420, 0.007, 0.08}}};
    Noise noise(im.seed);
    const std::size_t start = out.frameAt(im.at);
    const std::size_t length = out.frameAt(0.3);
    for (int ch = 0; ch < 2; ++ch) {
        auto& buf = ch == 0 ? out.left : out.right;
        // The right channel hears the impact a fraction of a millisecond later and a little
        // differently, which gives the sound some width.
        const std::size_t offset = start + (ch == 0 ? 0 : out.frameAt(0.00035));
        Biquad burstFilter = Biquad::bandpass(out.rate, 3200 * im.brightness, 0.8);
        Biquad lowCut = Biquad::highpass(out.rate, 400, 0.7);
        for (std::size_t i = 0; i < length && offset + i < buf.size(); ++i) {
            const double t = double(i) / out.rate;
            const double attack = std::min(1.0, t / 0.0004);
            const double burst = lowCut(burstFilter(noise.next())) * std::exp(-t / 0.0025);
            double ring = 0;
            for (std::size_t m = 0; m < kModes.size(); ++m) {
                const Mode& mode = kModes[m];
                const double detune = ch == 0 ? 1.0 : 1.0 + 0.004 * double(m + 1);
                ring += mode.amp * std::exp(-t / mode.decay) *
                        std::sin(kTwoPi * mode.freq * im.brightness * detune * t + m);
            }
            // The thump drops a little in pitch as it dies away.
            const double bodyFreq = im.bodyFreq * (1 + 0.3 * std::exp(-t / 0.01));
            const double thump = im.body * std::exp(-t / 0.022) * std::sin(kTwoPi * bodyFreq * t);
            buf[offset + i] += im.strength * attack * (0.9 * burst + 0.35 * ring + thump);
        }
    }
}

namespace {

class Comb {
  public:
    Comb(std::size_t delay, double feedback) : line_(delay), feedback_(feedback) {}
    double operator()(double x) {
        const double y = line_[pos_];
        damped_ = 0.7 * y + 0.3 * damped_;  // high frequencies die first, as in a real room
        line_[pos_] = x + damped_ * feedback_;
        pos_ = (pos_ + 1) % line_.size();
        return y;
    }

  private:
    std::vector<double> line_;
    double feedback_, damped_ = 0;
    std::size_t pos_ = 0;
};

class Allpass {
  public:
    explicit Allpass(std::size_t delay) : line_(delay) {}
    double operator()(double x) {
        const double d = line_[pos_];
        const double y = d - 0.5 * x;
        line_[pos_] = x + 0.5 * d;
        pos_ = (pos_ + 1) % line_.size();
        return y;
    }

  private:
    std::vector<double> line_;
    std::size_t pos_ = 0;
};

}  // namespace

void addRoom(Stereo& out, double wet, double decay) {
    const double scale = out.rate / 44100.0;
    for (int ch = 0; ch < 2; ++ch) {
        auto& buf = ch == 0 ? out.left : out.right;
        const std::size_t spread = ch == 0 ? 0 : 23;
        std::vector<Comb> combs;
        for (std::size_t d : {1116, 1188, 1277, 1356})
            combs.emplace_back(std::size_t((d + spread) * scale), decay);
        Allpass a1(std::size_t((556 + spread) * scale)), a2(std::size_t((341 + spread) * scale));
        for (double& s : buf) {
            double r = 0;
            for (Comb& c : combs) r += c(s);
            s += wet * a2(a1(r * 0.25));
        }
    }
}

void finish(Stereo& out, double inSeconds, double outSeconds) {
    // A high-pass at 15 Hz takes out the slight offset that damped thumps leave behind; the
    // fades come after it so that both ends of the file are silent.
    for (auto* buf : {&out.left, &out.right}) {
        Biquad dcBlock = Biquad::highpass(out.rate, 15, 0.7);
        for (double& v : *buf) v = dcBlock(v);
    }
    const std::size_t n = out.frames();
    const std::size_t fadeIn = out.frameAt(inSeconds), fadeOut = out.frameAt(outSeconds);
    for (std::size_t i = 0; i < n; ++i) {
        double g = 1;
        if (i < fadeIn) g *= 0.5 - 0.5 * std::cos(std::numbers::pi * double(i) / double(fadeIn));
        if (n - i <= fadeOut)
            g *= 0.5 - 0.5 * std::cos(std::numbers::pi * double(n - 1 - i) / double(fadeOut));
        out.left[i] *= g;
        out.right[i] *= g;
    }
}

std::vector<std::int16_t> toPcm16(const Stereo& s, double peak) {
    double loudest = 1e-9;
    for (std::size_t i = 0; i < s.frames(); ++i)
        loudest = std::max({loudest, std::abs(s.left[i]), std::abs(s.right[i])});
    const double gain = peak * 32767.0 / loudest;
    std::vector<std::int16_t> pcm(2 * s.frames());
    for (std::size_t i = 0; i < s.frames(); ++i) {
        pcm[2 * i] = static_cast<std::int16_t>(std::lround(s.left[i] * gain));
        pcm[2 * i + 1] = static_cast<std::int16_t>(std::lround(s.right[i] * gain));
    }
    return pcm;
}

}  // namespace soundgen
