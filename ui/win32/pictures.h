// Pictures for the Windows binding: PNG and animated GIF decoded by the system's imaging
// component (WIC) from files held in memory, and scaled smoothly to device pixels for drawing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace wt::win32 {

// A decoded picture: 32-bit premultiplied BGRA, top-down rows.
struct Bitmap {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

// A still or an animation, decoded once from a file held in memory (PNG or GIF).
struct Picture {
    std::vector<Bitmap> frames;  // composited, full size; one for a still
    std::vector<int> delaysMs;   // per frame (GIF), empty for a still
    // How many times the animation plays through: 0 = for ever. A GIF's NETSCAPE2.0 repeat
    // count n > 0 plays it n + 1 times; a GIF without that extension plays once.
    int loopCount = 0;
};

// Decodes `file` (PNG or GIF) with every frame at full size; nullptr when it is neither or is
// damaged. Any thread.
std::shared_ptr<const Picture> decodePicture(std::span<const std::uint8_t> file);

// How a picture plays, without its pixels.
struct PictureInfo {
    int frameCount = 0;
    std::vector<int> delaysMs;  // per frame (GIF), empty for a still
    int loopCount = 0;          // as Picture::loopCount
};

// Walks a file frame by frame, compositing each GIF frame over the one before on one full-size
// canvas. Defined in pictures.cpp.
class FrameWalker;

// Scales `source` to `width` x `height` with a smooth filter: area-weighted when shrinking,
// interpolated when growing. Done here rather than by WIC's scaler, whose smooth modes differ
// between Windows versions and are nearest-neighbour under Wine. An empty bitmap when a size is
// not positive or too large.
Bitmap scaleBitmap(const Bitmap& source, int width, int height);

// Pictures by file (keyed by the address of the bytes, which are the program's embedded media),
// holding only the scaled frames of the few sizes last asked for. Full-size pixels are kept just
// while a size still lacks frames: one canvas per such size, walked forward as the frames are
// asked for (an animation asks for them in order), and let go once every frame of the size is
// made. A size asked for later (a resize, a DPI change) decodes the file again. GUI thread.
class PictureCache {
  public:
    PictureCache() = default;
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;
    ~PictureCache();

    // How `file` plays; nullptr when it is not a PNG or GIF or its first frame does not decode.
    // Read once; the pointer stays valid until release(file).
    const PictureInfo* info(std::span<const std::uint8_t> file);
    // Frame `frame` scaled smoothly to `width` x `height` device pixels, as a 32-bit DIB section
    // ready for AlphaBlend/BitBlt; made once per size and kept (a few sizes per picture). The
    // cache owns the handle: it stays valid until release(file) or until its size is the least
    // recently used one of more than kSizesKept, so fetch it when painting rather than keep it.
    // nullptr when the file does not decode, the frame does not exist or the size is not
    // positive.
    HBITMAP scaled(std::span<const std::uint8_t> file, int frame, int width, int height);
    // A closed window lets go of everything held for `file`.
    void release(std::span<const std::uint8_t> file);
    // Bytes of full-size pixels held at the moment (the canvases of sizes not yet complete).
    std::size_t fullSizeBytes() const;

    static constexpr std::size_t kSizesKept = 4;

  private:
    struct Size {
        int width = 0, height = 0;
        std::vector<HBITMAP> frames;  // made on first use
        std::size_t made = 0;
        std::uint64_t lastUse = 0;
        std::shared_ptr<FrameWalker> walk;  // until every frame is made
    };
    struct Entry {
        PictureInfo info;
        std::shared_ptr<FrameWalker> first;  // past frame 0, for the first size asked for
        std::vector<Size> sizes;
    };
    Entry* entry(std::span<const std::uint8_t> file);
    static void drop(Size& size);

    std::map<std::pair<const std::uint8_t*, std::size_t>, std::optional<Entry>> entries_;
    std::uint64_t uses_ = 0;
};

// A 32-bit top-down DIB section holding `bitmap`; nullptr on failure. The caller owns it.
HBITMAP makeDibSection(const Bitmap& bitmap);

}  // namespace wt::win32
