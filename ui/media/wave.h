// RIFF/WAVE parsing for sounds held in memory. Chunks are walked with bounds checks; a file whose
// sizes disagree with each other or with the bytes present is refused, so what passes can be
// handed to the sound output as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "ui/media/decoded.h"

namespace wt::decode {

struct WaveInfo {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int blockAlign = 0;                  // bytes per frame
    std::span<const std::uint8_t> data;  // the sample bytes, inside the parsed span

    std::size_t frames() const { return blockAlign ? data.size() / blockAlign : 0; }
    double seconds() const { return sampleRate ? double(frames()) / sampleRate : 0.0; }
};

// Accepts integer PCM (format tag 1) with 1..8 channels of 8, 16, 24 or 32 bits.
Decoded<WaveInfo> parseWave(std::span<const std::uint8_t> bytes);

}  // namespace wt::decode
