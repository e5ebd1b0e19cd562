// Decoded and scaled pictures for the Qt binding. Every picture the program shows is immutable
// data inside the executable (form records and media blobs), so each scaled size is made once,
// from the full-resolution source straight to device pixels, and repainting only copies a ready
// QPixmap. What is kept is what the open windows show plus what the learner is about to open:
// `warmUp` prepares that on a thread of its own, `trim` lets go of the rest. GUI thread only,
// except `prepare`.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <span>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

class QPainter;

namespace wt::qt {

// Draws `pixmap` into the logical rectangle `target`. A pixmap made at the screen's own pixels
// for that rectangle is copied one pixmap pixel to one screen pixel: through a fractional device
// pixel ratio (150 %) Qt would map it by scaling, several milliseconds for a window's background,
// so the painter's ratio is undone for the copy, which becomes a plain blit. A pixmap of any
// other size is scaled into the rectangle.
void blitDevicePixels(QPainter& painter, const QRectF& target, const QPixmap& pixmap);

class PictureCache {
  public:
    PictureCache();
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The PNG scaled smoothly to `size` logical pixels on a screen of `dpr` device pixels per
    // logical pixel: a pixmap of size × dpr pixels carrying that ratio. Null when the bytes are
    // not a PNG that decodes. Only the last few sizes of each picture are kept, so resizing a
    // window does not pile up pixmaps.
    QPixmap scaled(std::span<const std::uint8_t> png, QSize size, qreal dpr = 1.0);
    // The PNG at its own size (null when it does not decode).
    QImage image(std::span<const std::uint8_t> png);

    // Any thread, even before the QApplication exists: decodes the PNG on a thread of its own
    // (libpng only, no Qt drawing). Hand the result to `adopt`; the next use of that picture
    // waits for it instead of decoding again.
    static std::future<QImage> prepare(std::span<const std::uint8_t> png);
    void adopt(std::span<const std::uint8_t> png, std::future<QImage> decoded);

    // A picture that is likely to be shown soon at `device` pixels.
    struct Request {
        std::span<const std::uint8_t> png;
        QSize device;
    };
    // Decodes and scales the requests on a thread of its own, in order, replacing whatever an
    // earlier call asked for and has not started yet; finished results that these requests do
    // not name are let go. `scaled` takes a finished result instead of doing the work itself,
    // waits for one in progress, and does the work itself for anything not started.
    void warmUp(std::vector<Request> requests);
    // Runs `task` on the warm-up thread after the pictures asked for so far, so that the memory
    // it writes does not come on top of a picture being decoded; a later `warmUp` keeps it after
    // its own pictures. The future is ready once the task has run, or once it never will (the
    // cache going first).
    std::future<void> afterWarmUp(std::function<void()> task);
    // Blocks until the warm-up thread has done everything it was given (tests and benchmarks).
    void finishWarmUp();
    // Pictures the warm-up thread has finished since the cache was made.
    std::size_t warmedCount() const;

    // Lets go of every decoded picture and of every scaled one that no widget shows and `keep`
    // does not name, and gives the freed memory back to the system. Returns the bytes let go.
    std::size_t trim(const std::vector<Request>& keep);
    // Lets go of the picture's pixmap of `device` pixels unless a widget still shows it.
    void forget(std::span<const std::uint8_t> png, QSize device);
    // Lets go of the small decoded pictures kept for making further sizes (the windows on
    // screen have theirs scaled already; a new size decodes again). Returns the bytes let go.
    std::size_t dropDecoded();
    // Pixel bytes held: decoded and scaled pictures, warm-up results not taken over yet.
    std::size_t heldBytes() const;

    std::size_t decodeCount() const { return decodes_; }
    std::size_t scaleCount() const { return scales_; }
    void clear();

  private:
    // Every form record carries its own copy of its picture (forty terminals per window, the same
    // switch, contactor and motor in all six windows): map each copy to the first one seen with
    // the same bytes, so that each distinct picture is decoded and scaled once per size.
    std::span<const std::uint8_t> canonical(std::span<const std::uint8_t> png);
    QImage decoded(std::span<const std::uint8_t> png, bool keep);
    std::size_t dropDecodedOnly();
    QImage takeWarmed(std::span<const std::uint8_t> png, QSize device);
    // Tells the warm-up thread of a change to its queue, starting it first when there is work.
    void wakeWarmUp(bool work);
    void remember(std::span<const std::uint8_t> png, QSize device, qreal dpr, const QPixmap& p);

    using Picture = std::pair<const std::uint8_t*, std::size_t>;
    using Key = std::tuple<const std::uint8_t*, std::size_t, int, int>;
    struct Sized {
        QSize device;
        qreal dpr;
        QPixmap pixmap;
    };
    std::map<Key, QImage> images_;                   // small pictures; size fields 0, 0
    std::map<Picture, std::vector<Sized>> pixmaps_;  // newest last
    std::map<Key, std::future<QImage>> prepared_;
    std::map<Picture, std::span<const std::uint8_t>> alias_;
    std::multimap<std::uint64_t, std::span<const std::uint8_t>> byContent_;
    // The one large decoded picture kept: a window background asked for at a second size, that
    // is, while its window is being resized.
    Picture largeKey_{nullptr, 0};
    QImage large_;
    std::size_t decodes_ = 0;
    std::size_t scales_ = 0;

    struct Warm;
    std::shared_ptr<Warm> warm_;
    std::jthread warmThread_;
};

}  // namespace wt::qt
