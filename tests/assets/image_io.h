// Independent readers for the tests: PNG header and pixels through libpng, GIF frames through
// giflib's decoder, composed the way a viewer shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wt::assets::test {

struct PngHeader {
    std::uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = -1;
};
std::optional<PngHeader> readPngHeader(const std::string& path);

struct Rgb {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;  // RGB, rows without padding
    std::uint32_t at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return (pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2];
    }
};
std::optional<Rgb> readPng(const std::string& path);
std::optional<Rgb> decodePng(const std::vector<unsigned char>& bytes);

struct GifInfo {
    std::string signature;  // "GIF89a"
    int width = 0, height = 0;
    std::vector<int> delays;    // hundredths of a second, one per frame
    int loopCount = -1;         // -1: no NETSCAPE2.0 block
    bool framesInside = true;   // every frame lies within the logical screen
    std::vector<Rgb> composed;  // what a viewer shows at each frame
};
std::optional<GifInfo> readGif(const std::vector<unsigned char>& bytes);
std::vector<unsigned char> readFile(const std::string& path);

// Share of pixels whose colours differ by more than `threshold` in some channel.
double differingShare(const Rgb& a, const Rgb& b, int threshold);

}  // namespace wt::assets::test
