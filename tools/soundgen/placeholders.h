// Throw-away stand-ins for the pictures of the media catalogue, in the right formats and sizes,
// for builds without the picture generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

struct PlaceholderFile {
    std::string file;
    std::vector<std::uint8_t> bytes;
};

std::vector<PlaceholderFile> makePlaceholders();

}  // namespace soundgen
