// GIF89a animation output with giflib: one palette computed for the whole animation, the first
// frame whole and every later frame as the rectangle that changed (unchanged pixels in it
// transparent, frames left in place), a fixed frame delay and the NETSCAPE2.0 loop count.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

namespace wt::assets {

// Up to 255 colours; index 255 is kept for transparency.
struct Palette {
    std::vector<std::array<std::uint8_t, 3>> colours;
    // Index of the palette colour nearest to 0xRRGGBB.
    std::uint8_t nearest(std::uint32_t rgb) const;
};

// Median cut over the colours of all frames, weighted by how often each occurs. When the frames
// hold no more than 255 distinct colours the palette is exactly those colours.
Palette buildPalette(const std::vector<QImage>& frames);

// The GIF file bytes. All frames must have the same size. `delayCs` in hundredths of a second;
// `loopCount` 0 loops without end. Empty on a giflib failure.
std::vector<unsigned char> encodeGif(const std::vector<QImage>& frames, int delayCs, int loopCount);

}  // namespace wt::assets
