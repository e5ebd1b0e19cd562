// Pictures for the Windows binding: PNG and animated GIF decoded by the system (WIC) and scaled
// to device pixels for GDI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
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
    int loopCount = 0;           // 0 = for ever
};

// Decodes `file` (PNG or GIF); nullptr when it is neither or is damaged. Any thread.
std::shared_ptr<const Picture> decodePicture(std::span<const std::uint8_t> file);

class PictureCache {  // GUI thread
  public:
    PictureCache();
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    std::shared_ptr<const Picture> picture(std::span<const std::uint8_t> file);  // decoded once
    // Frame `frame` scaled smoothly to `width` x `height` device pixels, as a 32-bit DIB section
    // ready for AlphaBlend/BitBlt; made once per size and kept (a few sizes per picture).
    HBITMAP scaled(std::span<const std::uint8_t> file, int frame, int width, int height);
    void release(std::span<const std::uint8_t> file);  // a closed window lets go of its sizes

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace wt::win32
