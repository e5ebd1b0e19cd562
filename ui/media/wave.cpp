#include "ui/media/wave.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace wt::decode {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
std::uint16_t le16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}

}  // namespace

Decoded<WaveInfo> parseWave(std::span<const std::uint8_t> bytes) {
    using R = Decoded<WaveInfo>;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return R::fail("not a RIFF/WAVE signature");
    const std::uint32_t riffSize = le32(bytes.data() + 4);
    if (riffSize < 4 || riffSize > bytes.size() - 8)
        return R::fail("RIFF size " + std::to_string(riffSize) + " does not fit the " +
                       std::to_string(bytes.size()) + " bytes present");
    // Chunks live between the form type and the end of the RIFF chunk; trailing bytes after
    // it are not part of the file.
    const std::span<const std::uint8_t> body = bytes.subspan(12, riffSize - 4);

    WaveInfo info;
    bool haveFormat = false, haveData = false;
    std::size_t pos = 0;
    while (pos < body.size()) {
        if (body.size() - pos < 8) return R::fail("truncated chunk header");
        const std::uint8_t* head = body.data() + pos;
        const std::uint32_t size = le32(head + 4);
        pos += 8;
        if (size > body.size() - pos)
            return R::fail("chunk '" + std::string(reinterpret_cast<const char*>(head), 4) +
                           "' runs past the end of the file");
        const std::span<const std::uint8_t> payload = body.subspan(pos, size);

        if (std::memcmp(head, "fmt ", 4) == 0) {
            if (haveFormat) return R::fail("more than one fmt chunk");
            if (size < 16) return R::fail("fmt chunk shorter than 16 bytes");
            const std::uint8_t* f = payload.data();
            const int tag = le16(f);
            info.channels = le16(f + 2);
            info.sampleRate = static_cast<int>(std::min<std::uint32_t>(le32(f + 4), 1u << 30));
            const std::uint32_t byteRate = le32(f + 8);
            info.blockAlign = le16(f + 12);
            info.bitsPerSample = le16(f + 14);
            if (tag != 1)
                return R::fail("not integer PCM (format tag " + std::to_string(tag) + ")");
            if (info.channels < 1 || info.channels > 8) return R::fail("bad channel count");
            if (info.sampleRate < 1000 || info.sampleRate > 384000)
                return R::fail("sample rate out of range");
            if (info.bitsPerSample != 8 && info.bitsPerSample != 16 && info.bitsPerSample != 24 &&
                info.bitsPerSample != 32)
                return R::fail("unsupported sample size");
            if (info.blockAlign != info.channels * info.bitsPerSample / 8)
                return R::fail("block align disagrees with channels and sample size");
            if (byteRate != std::uint32_t(info.sampleRate) * std::uint32_t(info.blockAlign))
                return R::fail("byte rate disagrees with sample rate and block align");
            haveFormat = true;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (haveData) return R::fail("more than one data chunk");
            info.data = payload;
            haveData = true;
        }
        // Chunks are padded to an even length; a missing pad after the last one is tolerated.
        pos += size + (size & 1);
    }
    if (!haveFormat) return R::fail("no fmt chunk");
    if (!haveData) return R::fail("no data chunk");
    if (info.data.empty()) return R::fail("data chunk holds no samples");
    if (info.data.size() % info.blockAlign != 0)
        return R::fail("data length is not a whole number of frames");
    return R::ok(info);
}

}  // namespace wt::decode
