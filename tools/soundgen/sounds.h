// The six sounds of the program, synthesised: switch clacks, contactor pull-in and release with
// their hum, and the motor running up and down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

struct Sound {
    std::string file;                   // e.g. "switch_close.wav"
    int rate = 0;                       // frames per second
    std::vector<std::int16_t> samples;  // interleaved stereo

    std::size_t frames() const { return samples.size() / 2; }
};

std::vector<Sound> makeSounds();

// A RIFF WAVE file: PCM, 16-bit, stereo.
std::vector<std::uint8_t> waveFile(const Sound& sound);

}  // namespace soundgen
