// Colours as the model keeps them (32 bits, red in the low byte, then green, then blue) and how
// legible a text colour is on its background, the same for every binding.
#pragma once

#include <cstdint>
#include <optional>

namespace wt::colour {

// The contrast ratio of two colours, from 1 (alike) to 21 (black and white).
double contrastRatio(std::uint32_t a, std::uint32_t b);

// The contrast below which a label's text gets an outline.
inline constexpr double kLegibleContrast = 4.5;

// A text colour that reads poorly on its background, such as pure green on white, is drawn
// inside a thin outline of black or white, whichever sets it off more: that colour, or nothing
// when the text reads well as it is.
std::optional<std::uint32_t> outlineFor(std::uint32_t text, std::uint32_t back);

}  // namespace wt::colour
