// A MediaBlob as stored in the constant area: u32 marker 1, u32 byte length L, then the L bytes
// of a whole media file (PNG, GIF89a or RIFF/WAVE). The program passes blobs around by a view
// that also knows how many bytes of storage lie behind the blob, so that a reader can refuse a
// length that would run past the end instead of trusting it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace wt {

struct MediaRef {
    const std::uint8_t* blob = nullptr;  // first byte of the marker
    std::size_t extent = 0;              // bytes of storage from `blob` on

    bool empty() const { return blob == nullptr; }
    friend bool operator==(const MediaRef& a, const MediaRef& b) {
        return a.blob == b.blob && a.extent == b.extent;
    }
};

// The file bytes of a blob, or nothing when the marker is not 1 or the length does not fit.
inline std::optional<std::span<const std::uint8_t>> mediaFile(MediaRef ref) {
    if (ref.blob == nullptr || ref.extent < 8) return std::nullopt;
    std::uint32_t marker = 0, length = 0;
    std::memcpy(&marker, ref.blob, 4);
    std::memcpy(&length, ref.blob + 4, 4);
    if (marker != 1 || length > ref.extent - 8) return std::nullopt;
    return std::span<const std::uint8_t>(ref.blob + 8, length);
}

}  // namespace wt
