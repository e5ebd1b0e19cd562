#include "ui/colour.h"

#include <algorithm>
#include <cmath>

namespace wt::colour {
namespace {

// Relative luminance of an sRGB colour.
double luminance(std::uint32_t c) {
    const auto channel = [](std::uint32_t byte) {
        const double v = (byte & 0xFF) / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c) + 0.7152 * channel(c >> 8) + 0.0722 * channel(c >> 16);
}

}  // namespace

double contrastRatio(std::uint32_t a, std::uint32_t b) {
    // Lighter over darker, each offset by 0.05.
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::optional<std::uint32_t> outlineFor(std::uint32_t text, std::uint32_t back) {
    if (contrastRatio(text, back) >= kLegibleContrast) return std::nullopt;
    constexpr std::uint32_t black = 0x000000, white = 0xFFFFFF;
    return contrastRatio(text, black) >= contrastRatio(text, white) ? black : white;
}

}  // namespace wt::colour
