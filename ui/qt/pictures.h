// Decoded and scaled pictures for the Qt binding. Every picture the program shows is immutable
// data inside the executable (form records and media blobs), so a decoded image is kept under
// its data pointer and each scaled size is made once; repainting only copies a ready QPixmap.
// GUI thread only, except `prepare`.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <cstdint>
#include <future>
#include <map>
#include <span>
#include <tuple>
#include <utility>

namespace wt::qt {

class PictureCache {
  public:
    // The PNG scaled smoothly to `size`, or a null pixmap when the bytes are not a PNG that
    // decodes.
    QPixmap scaled(std::span<const std::uint8_t> png, QSize size);
    // The PNG at its own size (null when it does not decode).
    QImage image(std::span<const std::uint8_t> png);

    // Any thread, even before the QApplication exists: decodes the PNG on a thread of its own
    // (libpng only, no Qt drawing). Hand the result to `adopt`; the next use of that picture
    // waits for it instead of decoding again.
    static std::future<QImage> prepare(std::span<const std::uint8_t> png);
    void adopt(std::span<const std::uint8_t> png, std::future<QImage> decoded);

    std::size_t decodeCount() const { return decodes_; }
    std::size_t scaleCount() const { return scales_; }
    void clear();

  private:
    // Every form record carries its own copy of its picture (forty terminals per window, the same
    // switch, contactor and motor in all six windows): map each copy to the first one seen with
    // the same bytes, so that each distinct picture is decoded and scaled once per size.
    std::span<const std::uint8_t> canonical(std::span<const std::uint8_t> png);

    using Key = std::tuple<const std::uint8_t*, std::size_t, int, int>;
    std::map<Key, QImage> images_;  // size fields 0, 0
    std::map<Key, QPixmap> pixmaps_;
    std::map<Key, std::future<QImage>> prepared_;
    std::map<std::pair<const std::uint8_t*, std::size_t>, std::span<const std::uint8_t>> alias_;
    std::multimap<std::uint64_t, std::span<const std::uint8_t>> byContent_;
    std::size_t decodes_ = 0;
    std::size_t scales_ = 0;
};

}  // namespace wt::qt
