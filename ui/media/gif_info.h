// Structural check of a GIF held in memory. Every block is walked with bounds checks and nothing
// the file says about lengths is trusted; a GIF that passes is safe to hand to a full decoder.
// The LZW data itself is not decompressed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ui/media/decoded.h"

namespace wt::decode {

inline constexpr int kMaxGifSide = 8192;
inline constexpr int kMaxGifFrames = 10000;

struct GifInfo {
    bool gif89a = false;
    int width = 0;  // logical screen
    int height = 0;
    // One entry per image, in centiseconds, from the graphic control extension that precedes
    // the image (0 without one).
    std::vector<int> delays;
    // NETSCAPE2.0 repeat count: 0 loops for ever; absent means play once.
    std::optional<int> loopCount;

    int frameCount() const { return static_cast<int>(delays.size()); }
};

Decoded<GifInfo> inspectGif(std::span<const std::uint8_t> bytes);

}  // namespace wt::decode
