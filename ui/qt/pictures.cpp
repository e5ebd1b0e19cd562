#include "ui/qt/pictures.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "ui/media/png_decode.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace wt::qt {
namespace {

// Decoded pictures larger than this are not kept for good: they are the window backgrounds,
// needed at one size at a time, whose scaled pixmap is kept instead.
constexpr qsizetype kKeepDecodedBytes = 4 * 1024 * 1024;
// Sizes kept per picture: the present one and a few recent ones (a window resized back and
// forth, the menu and an exercise window sharing a picture).
constexpr std::size_t kSizesPerPicture = 3;

QImage decode(std::span<const std::uint8_t> png) {
    const auto header = decode::readPngHeader(png);
    if (!header) return {};
    // Grey+alpha, RGBA and palettes (which may carry transparency) decode with alpha.
    const bool alpha = header->colorType == 3 || header->colorType == 4 || header->colorType == 6;
    auto decoded =
        decode::decodePng(png, alpha ? decode::PixelFormat::Rgba8 : decode::PixelFormat::Rgb8);
    if (!decoded) return {};
    // Hand the pixel buffer to the QImage without copying it.
    auto* pixels = new std::vector<std::uint8_t>(std::move(decoded.value->pixels));
    return QImage(
        pixels->data(), decoded->width, decoded->height, static_cast<qsizetype>(decoded->stride),
        alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888,
        [](void* info) { delete static_cast<std::vector<std::uint8_t>*>(info); }, pixels);
}

// Smooth scaling straight from the source to the device size. Qt's smooth scaling is fastest
// from its 32-bit formats; from the decoder's byte formats it would take a slower general path.
QImage scaleTo(const QImage& img, QSize device) {
    if (img.size() == device) return img;
    const QImage::Format fast =
        img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return img.convertToFormat(fast).scaled(device, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation);
}

std::uint64_t fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

QSize deviceSize(QSize logical, qreal dpr) {
    return QSize(static_cast<int>(std::lround(logical.width() * dpr)),
                 static_cast<int>(std::lround(logical.height() * dpr)));
}

bool sameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0;
}

void lowerThisThreadsPriority() {
#ifdef __linux__
    // Linux keeps a nice value per thread: the warm-up yields to the GUI thread and to anything
    // else the learner runs.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
#endif
}

}  // namespace

// What the warm-up thread has finished, waiting to be taken over by the GUI thread.
struct PictureCache::Warm {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    std::size_t finished = 0;
    struct Alias {
        std::span<const std::uint8_t> canonical;
        std::uint64_t hash;
    };
    std::map<Picture, Alias> alias;
    std::map<Picture, QImage> decoded;  // small pictures only
    std::map<Key, QImage> scaled;       // canonical picture, device size
};

PictureCache::PictureCache() : warm_(std::make_shared<Warm>()) {
    warm_->done = true;
}

PictureCache::~PictureCache() {
    if (warmThread_.joinable()) {
        warmThread_.request_stop();
        warmThread_.join();
    }
}

std::span<const std::uint8_t> PictureCache::canonical(std::span<const std::uint8_t> png) {
    const Picture key{png.data(), png.size()};
    if (auto it = alias_.find(key); it != alias_.end()) return it->second;
    std::uint64_t hash = 0;
    bool hashed = false;
    {
        std::lock_guard lock(warm_->mutex);
        if (auto it = warm_->alias.find(key); it != warm_->alias.end()) {
            png = it->second.canonical;
            hash = it->second.hash;
            hashed = true;
        }
    }
    if (!hashed) hash = fnv1a(png);
    std::span<const std::uint8_t> same = png;
    for (auto [it, end] = byContent_.equal_range(hash); it != end; ++it) {
        if (sameBytes(it->second, png)) {
            same = it->second;
            break;
        }
    }
    if (same.data() == png.data()) byContent_.emplace(hash, png);
    alias_.emplace(key, same);
    return same;
}

QImage PictureCache::image(std::span<const std::uint8_t> png) {
    if (png.empty()) return {};
    png = canonical(png);
    const Picture pic{png.data(), png.size()};
    const Key key{png.data(), png.size(), 0, 0};
    if (auto it = images_.find(key); it != images_.end()) return it->second;
    if (pic == largeKey_) return large_;
    QImage img;
    {
        std::lock_guard lock(warm_->mutex);
        if (auto it = warm_->decoded.find(pic); it != warm_->decoded.end()) {
            img = it->second;
            warm_->decoded.erase(it);
        }
    }
    if (img.isNull()) {
        if (auto it = prepared_.find(key); it != prepared_.end()) {
            img = it->second.get();
            prepared_.erase(it);
        } else {
            img = decode(png);
            ++decodes_;
        }
    }
    if (img.isNull()) return img;
    if (img.sizeInBytes() <= kKeepDecodedBytes) {
        images_.emplace(key, img);
    } else {
        largeKey_ = pic;
        large_ = img;
    }
    return img;
}

std::future<QImage> PictureCache::prepare(std::span<const std::uint8_t> png) {
    return std::async(std::launch::async, [png] { return decode(png); });
}

void PictureCache::adopt(std::span<const std::uint8_t> png, std::future<QImage> decoded) {
    if (!decoded.valid() || png.empty()) return;
    png = canonical(png);
    prepared_[Key{png.data(), png.size(), 0, 0}] = std::move(decoded);
}

void PictureCache::remember(std::span<const std::uint8_t> png, QSize device, qreal dpr,
                            const QPixmap& pixmap) {
    auto& sizes = pixmaps_[Picture{png.data(), png.size()}];
    if (sizes.size() >= kSizesPerPicture) sizes.erase(sizes.begin());
    sizes.push_back(Sized{device, dpr, pixmap});
}

QPixmap PictureCache::scaled(std::span<const std::uint8_t> png, QSize size, qreal dpr) {
    if (png.empty() || size.isEmpty() || dpr <= 0) return {};
    png = canonical(png);
    const QSize device = deviceSize(size, dpr);
    if (device.isEmpty()) return {};
    if (auto it = pixmaps_.find(Picture{png.data(), png.size()}); it != pixmaps_.end()) {
        auto& sizes = it->second;
        for (auto s = sizes.begin(); s != sizes.end(); ++s)
            if (s->device == device && s->dpr == dpr) {
                // Most recently used last, so that eviction drops the stalest size.
                std::rotate(s, s + 1, sizes.end());
                return sizes.back().pixmap;
            }
    }
    QImage ready;
    {
        std::lock_guard lock(warm_->mutex);
        const Key key{png.data(), png.size(), device.width(), device.height()};
        if (auto it = warm_->scaled.find(key); it != warm_->scaled.end()) {
            ready = it->second;
            warm_->scaled.erase(it);
        }
    }
    if (ready.isNull()) {
        const QImage img = image(png);
        if (img.isNull()) return {};
        ++scales_;
        ready = scaleTo(img, device);
    }
    QPixmap pixmap = QPixmap::fromImage(ready);
    pixmap.setDevicePixelRatio(dpr);
    remember(png, device, dpr, pixmap);
    return pixmap;
}

void PictureCache::warmUp(std::vector<Request> requests) {
    {
        std::lock_guard lock(warm_->mutex);
        if (!warm_->done) return;
        warm_->done = false;
    }
    if (warmThread_.joinable()) warmThread_.join();
    // Pictures already known to the GUI thread are handed over under their canonical copy, so
    // that both sides agree.
    for (Request& r : requests)
        if (auto it = alias_.find(Picture{r.png.data(), r.png.size()}); it != alias_.end())
            r.png = it->second;
    warmThread_ =
        std::jthread([warm = warm_, requests = std::move(requests)](std::stop_token stop) mutable {
            lowerThisThreadsPriority();
            // Group the copies of one picture, so that each is decoded once.
            std::multimap<std::uint64_t, std::span<const std::uint8_t>> seen;
            std::map<Picture, std::vector<QSize>> work;
            std::vector<std::span<const std::uint8_t>> order;
            for (const Request& r : requests) {
                if (stop.stop_requested()) break;
                if (r.png.empty()) continue;
                const std::uint64_t hash = fnv1a(r.png);
                std::span<const std::uint8_t> same = r.png;
                for (auto [it, end] = seen.equal_range(hash); it != end; ++it)
                    if (sameBytes(it->second, r.png)) same = it->second;
                if (same.data() == r.png.data()) {
                    seen.emplace(hash, r.png);
                    order.push_back(r.png);
                }
                auto& sizes = work[Picture{same.data(), same.size()}];
                if (!r.device.isEmpty() &&
                    std::find(sizes.begin(), sizes.end(), r.device) == sizes.end())
                    sizes.push_back(r.device);
                std::lock_guard lock(warm->mutex);
                warm->alias.emplace(Picture{r.png.data(), r.png.size()}, Warm::Alias{same, hash});
            }
            for (std::span<const std::uint8_t> png : order) {
                if (stop.stop_requested()) break;
                const QImage img = decode(png);
                if (img.isNull()) continue;
                const Picture pic{png.data(), png.size()};
                std::vector<std::pair<Key, QImage>> done;
                for (QSize device : work[pic]) {
                    if (stop.stop_requested()) break;
                    done.emplace_back(Key{png.data(), png.size(), device.width(), device.height()},
                                      scaleTo(img, device));
                }
                std::lock_guard lock(warm->mutex);
                if (img.sizeInBytes() <= kKeepDecodedBytes) warm->decoded.emplace(pic, img);
                for (auto& [key, scaled] : done) warm->scaled.emplace(key, std::move(scaled));
                ++warm->finished;
            }
            {
                std::lock_guard lock(warm->mutex);
                warm->done = true;
            }
            warm->cv.notify_all();
        });
}

void PictureCache::finishWarmUp() {
    std::unique_lock lock(warm_->mutex);
    warm_->cv.wait(lock, [this] { return warm_->done; });
}

std::size_t PictureCache::warmedCount() const {
    std::lock_guard lock(warm_->mutex);
    return warm_->finished;
}

void PictureCache::clear() {
    finishWarmUp();
    {
        std::lock_guard lock(warm_->mutex);
        warm_->alias.clear();
        warm_->decoded.clear();
        warm_->scaled.clear();
        warm_->finished = 0;
    }
    prepared_.clear();
    alias_.clear();
    byContent_.clear();
    images_.clear();
    pixmaps_.clear();
    largeKey_ = {nullptr, 0};
    large_ = QImage();
}

}  // namespace wt::qt
