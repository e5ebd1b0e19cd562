// Small byte builders for hand-made PNG, GIF and WAVE files, so that each test states exactly
// which bytes it feeds the decoders.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace wt::testing {

using Bytes = std::vector<std::uint8_t>;

inline void append(Bytes& b, std::string_view s) {
    b.insert(b.end(), s.begin(), s.end());
}
inline void append(Bytes& b, std::initializer_list<std::uint8_t> v) {
    b.insert(b.end(), v);
}
inline void le16(Bytes& b, std::uint32_t v) {
    append(b, {std::uint8_t(v), std::uint8_t(v >> 8)});
}
inline void le32(Bytes& b, std::uint32_t v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}
inline void be32(Bytes& b, std::uint32_t v) {
    append(b,
           {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
}

// PNG chunk with its CRC.
inline void pngChunk(Bytes& b, std::string_view type, const Bytes& data) {
    be32(b, std::uint32_t(data.size()));
    const std::size_t start = b.size();
    append(b, type);
    b.insert(b.end(), data.begin(), data.end());
    be32(b, std::uint32_t(crc32(0L, b.data() + start, uInt(b.size() - start))));
}

struct PngShape {
    std::uint32_t width = 1, height = 1;
    int depth = 8, colorType = 2;
    Bytes raw;      // filtered scanlines (filter byte 0 + samples per row), compressed below
    Bytes palette;  // PLTE data, if any
    Bytes trns;     // tRNS data, if any
    bool interlace = false;
};

inline Bytes ihdr(const PngShape& s) {
    Bytes h;
    be32(h, s.width);
    be32(h, s.height);
    append(h, {std::uint8_t(s.depth), std::uint8_t(s.colorType), 0, 0, std::uint8_t(s.interlace)});
    return h;
}

inline Bytes png(const PngShape& s) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    pngChunk(b, "IHDR", ihdr(s));
    if (!s.palette.empty()) pngChunk(b, "PLTE", s.palette);
    if (!s.trns.empty()) pngChunk(b, "tRNS", s.trns);
    uLongf size = compressBound(uLong(s.raw.size()));
    Bytes z(size);
    compress(z.data(), &size, s.raw.data(), uLong(s.raw.size()));
    z.resize(size);
    pngChunk(b, "IDAT", z);
    pngChunk(b, "IEND", {});
    return b;
}

// GIF pieces. A frame's LZW data need not decompress: the checker only walks the blocks.
inline Bytes gifHeader(std::string_view version, int w, int h, bool globalTable = true) {
    Bytes b;
    append(b, version);
    le16(b, w);
    le16(b, h);
    append(b, {std::uint8_t(globalTable ? 0x80 : 0x00), 0, 0});  // 2-entry table when present
    if (globalTable) append(b, {0, 0, 0, 255, 255, 255});
    return b;
}
inline void gifDelay(Bytes& b, int centiseconds) {
    append(b, {0x21, 0xF9, 4, 0});
    le16(b, centiseconds);
    append(b, {0, 0});
}
inline void gifLoop(Bytes& b, int count) {
    append(b, {0x21, 0xFF, 11});
    append(b, "NETSCAPE2.0");
    append(b, {3, 1});
    le16(b, count);
    append(b, {0});
}
inline void gifFrame(Bytes& b, int left, int top, int w, int h, bool localTable = false) {
    append(b, {0x2C});
    le16(b, left);
    le16(b, top);
    le16(b, w);
    le16(b, h);
    append(b, {std::uint8_t(localTable ? 0x80 : 0x00)});
    if (localTable) append(b, {10, 20, 30, 40, 50, 60});
    append(b, {2, 2, 0x44, 0x01, 0});  // code size 2, one sub-block, terminator
}

// WAVE: a RIFF header around chunks; `riffSize` overrides the computed size when non-zero.
inline void riffChunk(Bytes& b, std::string_view id, const Bytes& data, bool pad = true) {
    append(b, id);
    le32(b, std::uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (pad && data.size() % 2) b.push_back(0);
}
inline Bytes waveFmt(int tag, int channels, int rate, int bits) {
    Bytes f;
    le16(f, tag);
    le16(f, channels);
    le32(f, rate);
    le32(f, rate * channels * bits / 8);
    le16(f, channels * bits / 8);
    le16(f, bits);
    return f;
}
inline Bytes riff(const Bytes& chunks, std::uint32_t riffSize = 0) {
    Bytes b;
    append(b, "RIFF");
    le32(b, riffSize ? riffSize : std::uint32_t(chunks.size() + 4));
    append(b, "WAVE");
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

}  // namespace wt::testing
