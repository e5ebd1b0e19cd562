#include "ui/media/media_kind.h"

#include <algorithm>

namespace wt::decode {

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view prefix, std::size_t at = 0) {
    if (bytes.size() < at + prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), bytes.begin() + at,
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

}  // namespace

MediaKind mediaKind(std::span<const std::uint8_t> bytes) {
    static constexpr std::string_view kPng("\x89PNG\r\n\x1a\n", 8);
    if (startsWith(bytes, kPng)) return MediaKind::Png;
    if (startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a")) return MediaKind::Gif;
    if (startsWith(bytes, "RIFF") && startsWith(bytes, "WAVE", 8)) return MediaKind::Wave;
    return MediaKind::Unknown;
}

std::string_view kindName(MediaKind kind) {
    switch (kind) {
        case MediaKind::Png:
            return "PNG";
        case MediaKind::Gif:
            return "GIF";
        case MediaKind::Wave:
            return "WAVE";
        case MediaKind::Unknown:
            break;
    }
    return "unknown";
}

}  // namespace wt::decode
