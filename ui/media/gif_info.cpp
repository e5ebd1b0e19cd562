#include "ui/media/gif_info.h"

#include <cstring>
#include <string>

namespace wt::decode {

namespace {

// A cursor over the input that refuses to move past its end.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool has(std::size_t n) const { return bytes_.size() - pos_ >= n; }
    std::size_t pos() const { return pos_; }
    const std::uint8_t* peek() const { return bytes_.data() + pos_; }
    bool skip(std::size_t n) {
        if (!has(n)) return false;
        pos_ += n;
        return true;
    }
    bool u8(int& out) {
        if (!has(1)) return false;
        out = bytes_[pos_++];
        return true;
    }
    bool u16(int& out) {
        if (!has(2)) return false;
        out = bytes_[pos_] | (bytes_[pos_ + 1] << 8);
        pos_ += 2;
        return true;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Skips a chain of data sub-blocks up to and including the zero-length terminator.
bool skipSubBlocks(Reader& in, int* count = nullptr) {
    for (int n = 0;; ++n) {
        int len = 0;
        if (!in.u8(len)) return false;
        if (len == 0) {
            if (count) *count = n;
            return true;
        }
        if (!in.skip(len)) return false;
    }
}

bool skipColorTable(Reader& in, int packed) {
    if (!(packed & 0x80)) return true;
    return in.skip(3u << ((packed & 0x07) + 1));
}

}  // namespace

Decoded<GifInfo> inspectGif(std::span<const std::uint8_t> bytes) {
    using R = Decoded<GifInfo>;
    Reader in(bytes);
    GifInfo info;
    if (!in.has(6)) return R::fail("not a GIF signature");
    if (std::memcmp(in.peek(), "GIF89a", 6) == 0) {
        info.gif89a = true;
    } else if (std::memcmp(in.peek(), "GIF87a", 6) != 0) {
        return R::fail("not a GIF signature");
    }
    in.skip(6);

    int packed = 0, ignored = 0;
    if (!in.u16(info.width) || !in.u16(info.height) || !in.u8(packed) || !in.u8(ignored) ||
        !in.u8(ignored))
        return R::fail("truncated logical screen descriptor");
    if (info.width == 0 || info.height == 0) return R::fail("zero logical screen size");
    if (info.width > kMaxGifSide || info.height > kMaxGifSide)
        return R::fail("logical screen exceeds the size cap");
    if (!skipColorTable(in, packed)) return R::fail("truncated global colour table");

    int pendingDelay = 0;
    for (;;) {
        const std::size_t at = in.pos();
        int introducer = 0;
        if (!in.u8(introducer)) return R::fail("missing trailer");
        if (introducer == 0x3B) break;

        if (introducer == 0x21) {
            int label = 0;
            if (!in.u8(label)) return R::fail("truncated extension");
            if (label == 0xF9) {
                // Graphic control: size 4, packed, delay, transparent index, terminator.
                int size = 0, gcePacked = 0, delay = 0, transparent = 0, end = 0;
                if (!in.u8(size) || size != 4 || !in.u8(gcePacked) || !in.u16(delay) ||
                    !in.u8(transparent) || !in.u8(end) || end != 0)
                    return R::fail("malformed graphic control extension at " + std::to_string(at));
                pendingDelay = delay;
            } else if (label == 0xFF) {
                int size = 0;
                if (!in.u8(size) || size != 11 || !in.has(11))
                    return R::fail("malformed application extension at " + std::to_string(at));
                const bool loopBlock = std::memcmp(in.peek(), "NETSCAPE2.0", 11) == 0 ||
                                       std::memcmp(in.peek(), "ANIMEXTS1.0", 11) == 0;
                in.skip(11);
                if (loopBlock && in.has(4) && in.peek()[0] == 3 && in.peek()[1] == 1) {
                    int count = 0;
                    in.skip(2);
                    in.u16(count);
                    info.loopCount = count;
                }
                if (!skipSubBlocks(in)) return R::fail("truncated application extension");
            } else {
                // Comment, plain text or unknown extension: only its sub-blocks matter.
                if (!skipSubBlocks(in)) return R::fail("truncated extension");
            }
            continue;
        }

        if (introducer != 0x2C) return R::fail("unknown block introducer at " + std::to_string(at));
        int left = 0, top = 0, w = 0, h = 0, imagePacked = 0, codeSize = 0;
        if (!in.u16(left) || !in.u16(top) || !in.u16(w) || !in.u16(h) || !in.u8(imagePacked))
            return R::fail("truncated image descriptor at " + std::to_string(at));
        if (w == 0 || h == 0 || left + w > info.width || top + h > info.height)
            return R::fail("frame " + std::to_string(info.frameCount()) +
                           " lies outside the logical screen");
        if (!skipColorTable(in, imagePacked)) return R::fail("truncated local colour table");
        if (!(packed & 0x80) && !(imagePacked & 0x80))
            return R::fail("frame without any colour table");
        if (!in.u8(codeSize) || codeSize < 2 || codeSize > 8)
            return R::fail("bad LZW minimum code size");
        int subBlocks = 0;
        if (!skipSubBlocks(in, &subBlocks)) return R::fail("truncated image data");
        if (subBlocks == 0) return R::fail("frame without image data");
        if (info.frameCount() >= kMaxGifFrames) return R::fail("too many frames");
        info.delays.push_back(pendingDelay);
        pendingDelay = 0;
    }
    if (info.delays.empty()) return R::fail("no frames");
    return R::ok(std::move(info));
}

}  // namespace wt::decode
