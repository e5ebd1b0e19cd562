#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>

#include "synth.h"

namespace soundgen {

namespace {

Stereo silence(int rate, double seconds) {
    return Stereo(rate, static_cast<std::size_t>(std::lround(rate * seconds)));
}

// The magnetic hum of a mains-fed coil or motor: mostly twice the mains frequency, with the
// mains frequency and a few harmonics, slightly saturated so that it buzzes a little.
void addHum(Stereo& out, double from, const std::function<double(double)>& level,
            double mains = 50) {
    struct Partial {
        double multiple, amp;
    };
    static constexpr Partial kPartials[] = {{1, 0.35}, {2, 1.0},  {3, 0.12},
                                            {4, 0.30}, {6, 0.18}, {8, 0.08}};
    for (std::size_t i = out.frameAt(from); i < out.frames(); ++i) {
        const double t = out.time(i), g = level(t - from);
        if (g <= 0) continue;
        double l = 0, r = 0;
        for (const Partial& p : kPartials) {
            const double w = kTwoPi * mains * p.multiple * t;
            l += p.amp * std::sin(w);
            r += p.amp * std::sin(w + 0.15 * p.multiple);
        }
        out.left[i] += g * std::tanh(0.8 * l) / 0.8;
        out.right[i] += g * std::tanh(0.8 * r) / 0.8;
    }
}

// A squirrel-cage motor at relative speed s(t) (0 standing, 1 full speed): slot whine rising
// with speed, rotor rumble, fan noise, and the magnetic hum while `powered(t)` is above 0.
void addMotor(Stereo& out, const std::function<double(double)>& speed,
              const std::function<double(double)>& powered, std::uint64_t seed) {
    Noise noiseL(seed), noiseR(seed * 7919 + 1);
    Biquad fanL = Biquad::bandpass(out.rate, 300, 1.1), fanR = fanL;
    Oscillator whine1(0), whine2(1.3), rumble(0.4), whineR1(0.7), whineR2(2.1);
    constexpr double kRotorHz = 24.5;  // four poles on 50 Hz, with a little slip
    constexpr double kSlots = 36;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = out.time(i), s = std::clamp(speed(t), 0.0, 1.0);
        const double fr = kRotorHz * s;
        if (i % 64 == 0) {
            fanL.retune(out.rate, 250 + 1500 * s, 1.1);
            fanR.retune(out.rate, 265 + 1480 * s, 1.1);
        }
        const double fw = std::max(1.0, kSlots * fr);
        const double wobble = 1 + 0.18 * std::sin(kTwoPi * fr * t);
        const double whineLevel = 0.30 * std::pow(s, 1.3) * wobble;
        const double l = whineLevel * (whine1(fw, out.rate) + 0.25 * whine2(2 * fw, out.rate));
        const double r = whineLevel * (whineR1(fw, out.rate) + 0.25 * whineR2(2 * fw, out.rate));
        const double rotor = 0.22 * s * rumble(std::max(1.0, fr), out.rate);
        const double fanLevel = 0.6 * s * s;
        const double common = noiseL.next();
        out.left[i] += l + rotor + fanLevel * fanL(common);
        out.right[i] += r + rotor + fanLevel * fanR(0.7 * common + 0.7 * noiseR.next());
    }
    addHum(out, 0, [&](double t) { return 0.16 * powered(t); });
}

// The power switch closing: a short lever travel, then the contacts slam home with a bounce.
Sound switchClose() {
    Stereo s = silence(48000, 0.91);
    Noise travel(11);
    Biquad soft = Biquad::lowpass(s.rate, 1800, 0.7);
    for (std::size_t i = 0; i < s.frameAt(0.055); ++i) {
        const double t = s.time(i), env = 0.05 * smoothstep(t / 0.05);
        const double v = env * soft(travel.next());
        s.left[i] += v;
        s.right[i] += 0.8 * v;
    }
    addImpact(s, {.at = 0.055, .strength = 1.0, .brightness = 1.0, .body = 0.7, .seed = 12});
    addImpact(s, {.at = 0.067, .strength = 0.32, .brightness = 1.08, .body = 0.2, .seed = 13});
    addImpact(s, {.at = 0.076, .strength = 0.10, .brightness = 1.15, .body = 0.0, .seed = 14});
    addRoom(s, 0.12, 0.55);
    finish(s, 0.0, 0.08);
    return {"switch_close.wav", s.rate, toPcm16(s, 0.70)};
}

// The power switch opening: the spring snaps the contacts apart, lighter and higher.
Sound switchOpen() {
    Stereo s = silence(48000, 0.60);
    addImpact(s, {.at = 0.012,
                  .strength = 0.85,
                  .brightness = 1.25,
                  .body = 0.35,
                  .bodyFreq = 160,
                  .seed = 21});
    addImpact(s, {.at = 0.030, .strength = 0.22, .brightness = 1.1, .body = 0.3, .seed = 22});
    addRoom(s, 0.10, 0.5);
    finish(s, 0.0, 0.06);
    return {"switch_open.wav", s.rate, toPcm16(s, 0.60)};
}

// The contactor pulls in with a heavy clunk; its coil hum then swells.
Sound start1() {
    Stereo s = silence(48000, 2.05);
    addImpact(
        s,
        {.at = 0.010, .strength = 0.8, .brightness = 0.8, .body = 1.0, .bodyFreq = 85, .seed = 31});
    addImpact(s, {.at = 0.019, .strength = 0.25, .brightness = 0.9, .body = 0.3, .seed = 32});
    addHum(s, 0.03, [](double t) { return 0.03 + 0.12 * smoothstep(t / 1.6); });
    addRoom(s, 0.10, 0.6);
    finish(s, 0.0, 0.12);
    return {"start1.wav", s.rate, toPcm16(s, 0.60)};
}

// The motor runs up to speed from standstill.
Sound start2() {
    Stereo s = silence(44100, 6.01);
    addMotor(
        s, [](double t) { return 1 - std::exp(-t / 1.5); }, [](double) { return 1.0; }, 41);
    addRoom(s, 0.08, 0.7);
    finish(s, 1.0, 0.6);
    return {"start2.wav", s.rate, toPcm16(s, 0.38)};
}

// The contactor drops out with a lighter clack; the hum dies away.
Sound stop1() {
    Stereo s = silence(48000, 1.90);
    addHum(s, 0, [](double t) { return 0.15 * std::exp(-t / 0.35); });
    addImpact(s, {.at = 0.015,
                  .strength = 0.75,
                  .brightness = 1.1,
                  .body = 0.5,
                  .bodyFreq = 110,
                  .seed = 51});
    addImpact(s, {.at = 0.026, .strength = 0.2, .brightness = 1.2, .body = 0.1, .seed = 52});
    addRoom(s, 0.10, 0.6);
    finish(s, 0.004, 0.15);
    return {"stop1.wav", s.rate, toPcm16(s, 0.60)};
}

// The motor, without power, runs down to standstill.
Sound stop2() {
    Stereo s = silence(44100, 2.75);
    addMotor(
        s, [](double t) { return std::exp(-t / 0.8); }, [](double) { return 0.0; }, 61);
    addRoom(s, 0.08, 0.7);
    finish(s, 0.02, 0.4);
    return {"stop2.wav", s.rate, toPcm16(s, 0.38)};
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
// Byte by byte: GCC 12 takes a range insert after reserve() for an overflow (-Wstringop-overflow).
void putTag(std::vector<std::uint8_t>& out, std::string_view tag) {
    for (char c : tag) out.push_back(static_cast<std::uint8_t>(c));
}

}  // namespace

std::vector<Sound> makeSounds() {
    return {switchClose(), switchOpen(), start1(), start2(), stop1(), stop2()};
}

std::vector<std::uint8_t> waveFile(const Sound& sound) {
    constexpr std::uint32_t kChannels = 2, kBits = 16, kBlock = kChannels * kBits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVEfmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, kChannels);
    put32(out, std::uint32_t(sound.rate));
    put32(out, std::uint32_t(sound.rate) * kBlock);
    put16(out, kBlock);
    put16(out, kBits);
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t v : sound.samples) put16(out, std::uint16_t(v));
    return out;
}

}  // namespace soundgen
