// PNG decoding from memory with libpng, for pictures embedded in the program. Every input is
// treated as untrusted: bad signatures, CRC errors, truncation and absurd dimensions are refused
// with a reason instead of reaching an allocation or a renderer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ui/media/decoded.h"

namespace wt::decode {

// Largest width and height accepted; the pictures in use are far smaller.
inline constexpr std::uint32_t kMaxPngSide = 8192;

// What the IHDR chunk declares (read without decoding any pixels).
struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colorType = 0;  // 0 gray, 2 RGB, 3 palette, 4 gray+alpha, 6 RGBA
    bool interlaced = false;
};

// Rgb8 and Rgba8 are bytes in that order. Argb32 is one 32-bit word per pixel, 0xAARRGGBB in the
// machine's byte order (alpha 0xFF where the picture has none, not premultiplied): the layout a
// 32-bit blitter or a smooth scaler reads without converting.
enum class PixelFormat { Rgb8, Rgba8, Argb32 };

struct Image {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;  // bytes per row, a multiple of 4
    PixelFormat format = PixelFormat::Rgb8;
    std::vector<std::uint8_t> pixels;  // height * stride bytes, rows top to bottom

    int channels() const { return format == PixelFormat::Rgb8 ? 3 : 4; }
    const std::uint8_t* row(int y) const { return pixels.data() + std::size_t(y) * stride; }
};

// Checks the signature and the IHDR chunk (length, CRC, field values, size cap).
Decoded<PngHeader> readPngHeader(std::span<const std::uint8_t> bytes);

// Decodes the whole picture into 8-bit RGB, RGBA or ARGB words: palettes and gray are expanded,
// 16-bit samples reduced, transparency becomes alpha (or is dropped for Rgb8).
Decoded<Image> decodePng(std::span<const std::uint8_t> bytes,
                         PixelFormat format = PixelFormat::Rgb8);

}  // namespace wt::decode
