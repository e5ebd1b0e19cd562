#include "ui/qt/pictures.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <set>

#include "ui/media/png_decode.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace wt::qt {
namespace {

// Decoded pictures up to this size are kept while the cache is not trimmed: the contactor,
// switch and motor pictures that the exercises swap in and out of their boxes. Larger ones are
// the backgrounds, shown at one size at a time, whose scaled pixmap is kept instead.
constexpr qsizetype kKeepDecodedBytes = 1024 * 1024;
// Sizes kept per picture: the present one and a few recent ones (a window resized back and
// forth, the menu and an exercise window sharing a picture).
constexpr std::size_t kSizesPerPicture = 3;

// Straight into Qt's 32-bit layout: smooth scaling and the window system read it as it is, so a
// large picture is never held in a byte format and a 32-bit copy at the same time.
QImage decode(std::span<const std::uint8_t> png) {
    const auto header = decode::readPngHeader(png);
    if (!header) return {};
    // Grey+alpha, RGBA and palettes (which may carry transparency) decode with alpha.
    const bool alpha = header->colorType == 3 || header->colorType == 4 || header->colorType == 6;
    auto decoded = decode::decodePng(png, decode::PixelFormat::Argb32);
    if (!decoded) return {};
    // Hand the pixel buffer to the QImage without copying it.
    auto* pixels = new std::vector<std::uint8_t>(std::move(decoded.value->pixels));
    return QImage(
        pixels->data(), decoded->width, decoded->height, static_cast<qsizetype>(decoded->stride),
        alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32,
        [](void* info) { delete static_cast<std::vector<std::uint8_t>*>(info); }, pixels);
}

// Smooth scaling straight from the source to each device size. Qt scales from premultiplied
// alpha; a picture with alpha is converted in place when no one else holds it.
std::vector<QImage> scaleTo(QImage img, const std::vector<QSize>& devices) {
    std::vector<QImage> out;
    const bool allOwn =
        std::all_of(devices.begin(), devices.end(), [&](QSize d) { return d == img.size(); });
    if (!allOwn && img.format() == QImage::Format_ARGB32)
        img = std::move(img).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (QSize device : devices)
        out.push_back(img.size() == device
                          ? img
                          : img.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return out;
}

QImage scaleTo(QImage img, QSize device) {
    return std::move(scaleTo(std::move(img), std::vector<QSize>{device}).front());
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

std::size_t bytesOf(const QPixmap& p) {
    return static_cast<std::size_t>(p.width()) * static_cast<std::size_t>(p.height()) *
           static_cast<std::size_t>(std::max(1, p.depth() / 8));
}

void giveBackToSystem() {
#ifdef __GLIBC__
    // Freed pictures below the mmap threshold stay in the heap until trimmed.
    malloc_trim(0);
#endif
}

}  // namespace

void blitDevicePixels(QPainter& painter, const QRectF& target, const QPixmap& pixmap) {
    const qreal dpr = painter.device() != nullptr ? painter.device()->devicePixelRatio() : 1.0;
    const QRectF source(pixmap.rect());
    const QSize device(static_cast<int>(std::lround(target.width() * dpr)),
                       static_cast<int>(std::lround(target.height() * dpr)));
    if (dpr == 1.0 || pixmap.size() != device) {
        painter.drawPixmap(target, pixmap, source);
        return;
    }
    painter.save();
    // Applied before the world transform and the device's own scale, so coordinates below are
    // device pixels and the whole mapping is a translation.
    painter.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr), true);
    painter.drawPixmap(QRectF(target.topLeft() * dpr, source.size()), pixmap, source);
    painter.restore();
}

// The warm-up thread's work and results, shared with the GUI thread under `mutex`.
struct PictureCache::Warm {
    std::mutex mutex;
    std::condition_variable cv;  // work arrived, a picture finished, or quit
    struct Job {
        std::span<const std::uint8_t> png;  // canonical copy
        QImage decoded;                     // already at hand on the GUI thread, or null
        std::vector<QSize> devices;
        std::packaged_task<void()> task;  // a job of afterWarmUp's instead of a picture
    };
    std::deque<Job> queue;
    const std::uint8_t* busy = nullptr;  // the picture being worked on
    std::vector<QSize> busyDevices;      // and the sizes it is being made at
    std::map<Key, QImage> scaled;        // canonical picture, device size
    std::size_t finished = 0;
    bool quit = false;

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            cv.wait(lock, [this] { return quit || !queue.empty(); });
            if (quit) {
                queue.clear();  // a task's future is told it will not run
                return;
            }
            Job job = std::move(queue.front());
            queue.pop_front();
            if (job.task.valid()) {
                lock.unlock();
                job.task();
                lock.lock();
                continue;
            }
            busy = job.png.data();
            busyDevices = job.devices;
            lock.unlock();
            QImage img = job.decoded.isNull() ? decode(job.png) : std::move(job.decoded);
            std::vector<QImage> made;
            if (!img.isNull()) made = scaleTo(std::move(img), job.devices);
            lock.lock();
            for (std::size_t i = 0; i < made.size(); ++i)
                scaled.insert_or_assign(Key{job.png.data(), job.png.size(), job.devices[i].width(),
                                            job.devices[i].height()},
                                        std::move(made[i]));
            busy = nullptr;
            ++finished;
            cv.notify_all();
        }
    }
};

PictureCache::PictureCache() : warm_(std::make_shared<Warm>()) {}

PictureCache::~PictureCache() {
    {
        std::lock_guard lock(warm_->mutex);
        warm_->quit = true;
    }
    warm_->cv.notify_all();
}

std::span<const std::uint8_t> PictureCache::canonical(std::span<const std::uint8_t> png) {
    const Picture key{png.data(), png.size()};
    if (auto it = alias_.find(key); it != alias_.end()) return it->second;
    const std::uint64_t hash = fnv1a(png);
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

QImage PictureCache::decoded(std::span<const std::uint8_t> png, bool keep) {
    const Picture pic{png.data(), png.size()};
    const Key key{png.data(), png.size(), 0, 0};
    if (auto it = images_.find(key); it != images_.end()) return it->second;
    if (pic == largeKey_) return large_;
    QImage img;
    if (auto it = prepared_.find(key); it != prepared_.end()) {
        img = it->second.get();
        prepared_.erase(it);
    } else {
        img = decode(png);
        ++decodes_;
    }
    if (img.isNull()) return img;
    if (img.sizeInBytes() <= kKeepDecodedBytes) {
        images_.emplace(key, img);
    } else if (keep) {
        largeKey_ = pic;
        large_ = img;
    }
    return img;
}

QImage PictureCache::image(std::span<const std::uint8_t> png) {
    if (png.empty()) return {};
    return decoded(canonical(png), true);
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

QImage PictureCache::takeWarmed(std::span<const std::uint8_t> png, QSize device) {
    const Key key{png.data(), png.size(), device.width(), device.height()};
    std::unique_lock lock(warm_->mutex);
    for (;;) {
        if (auto it = warm_->scaled.find(key); it != warm_->scaled.end()) {
            QImage ready = std::move(it->second);
            warm_->scaled.erase(it);
            return ready;
        }
        // Half done already: finishing it is quicker than starting over.
        if (warm_->busy != png.data()) break;
        warm_->cv.wait(lock);
    }
    // Not started: this thread makes it now, so the warm-up thread need not.
    for (auto job = warm_->queue.begin(); job != warm_->queue.end(); ++job) {
        if (job->png.data() != png.data()) continue;
        std::erase(job->devices, device);
        if (job->devices.empty()) warm_->queue.erase(job);
        break;
    }
    return {};
}

QPixmap PictureCache::scaled(std::span<const std::uint8_t> png, QSize size, qreal dpr) {
    if (png.empty() || size.isEmpty() || dpr <= 0) return {};
    png = canonical(png);
    const QSize device = deviceSize(size, dpr);
    if (device.isEmpty()) return {};
    const auto known = pixmaps_.find(Picture{png.data(), png.size()});
    if (known != pixmaps_.end()) {
        auto& sizes = known->second;
        for (auto s = sizes.begin(); s != sizes.end(); ++s)
            if (s->device == device && s->dpr == dpr) {
                // Most recently used last, so that eviction drops the stalest size.
                std::rotate(s, s + 1, sizes.end());
                return sizes.back().pixmap;
            }
    }
    QImage ready = takeWarmed(png, device);
    if (ready.isNull()) {
        // A large picture is kept decoded only once it is wanted at a second size.
        QImage img = decoded(png, known != pixmaps_.end());
        if (img.isNull()) return {};
        ++scales_;
        ready = scaleTo(std::move(img), device);
    }
    QPixmap pixmap = QPixmap::fromImage(std::move(ready));
    pixmap.setDevicePixelRatio(dpr);
    remember(png, device, dpr, pixmap);
    return pixmap;
}

void PictureCache::warmUp(std::vector<Request> requests) {
    // One job per distinct picture, with the sizes not made yet.
    std::vector<Warm::Job> jobs;
    std::set<Key> wanted;
    for (const Request& r : requests) {
        if (r.png.empty() || r.device.isEmpty()) continue;
        const std::span<const std::uint8_t> png = canonical(r.png);
        const Key key{png.data(), png.size(), r.device.width(), r.device.height()};
        if (!wanted.insert(key).second) continue;
        if (auto it = pixmaps_.find(Picture{png.data(), png.size()}); it != pixmaps_.end())
            if (std::any_of(it->second.begin(), it->second.end(),
                            [&](const Sized& s) { return s.device == r.device; }))
                continue;
        auto job = std::find_if(jobs.begin(), jobs.end(),
                                [&](const Warm::Job& j) { return j.png.data() == png.data(); });
        if (job == jobs.end()) {
            QImage known;
            if (auto it = images_.find(Key{png.data(), png.size(), 0, 0}); it != images_.end())
                known = it->second;
            else if (Picture{png.data(), png.size()} == largeKey_)
                known = large_;
            jobs.push_back(Warm::Job{png, known, {}, {}});
            job = jobs.end() - 1;
        }
        job->devices.push_back(r.device);
    }
    {
        std::lock_guard lock(warm_->mutex);
        std::erase_if(warm_->scaled,
                      [&](const auto& entry) { return !wanted.contains(entry.first); });
        // Nothing is made twice: what is finished or being made now is left out.
        std::erase_if(jobs, [&](Warm::Job& job) {
            std::erase_if(job.devices, [&](QSize d) {
                return warm_->scaled.contains(
                           Key{job.png.data(), job.png.size(), d.width(), d.height()}) ||
                       (job.png.data() == warm_->busy &&
                        std::find(warm_->busyDevices.begin(), warm_->busyDevices.end(), d) !=
                            warm_->busyDevices.end());
            });
            return job.devices.empty();
        });
        // The tasks still waiting go after the new pictures.
        for (Warm::Job& waiting : warm_->queue)
            if (waiting.task.valid()) jobs.push_back(std::move(waiting));
        warm_->queue.assign(std::make_move_iterator(jobs.begin()),
                            std::make_move_iterator(jobs.end()));
    }
    wakeWarmUp(!jobs.empty());
}

std::future<void> PictureCache::afterWarmUp(std::function<void()> task) {
    std::packaged_task<void()> job(std::move(task));
    std::future<void> done = job.get_future();
    {
        std::lock_guard lock(warm_->mutex);
        warm_->queue.push_back(Warm::Job{{}, {}, {}, std::move(job)});
    }
    wakeWarmUp(true);
    return done;
}

void PictureCache::wakeWarmUp(bool work) {
    if (work && !warmThread_.joinable())
        warmThread_ = std::jthread([warm = warm_] { warm->run(); });
    warm_->cv.notify_all();
}

void PictureCache::finishWarmUp() {
    std::unique_lock lock(warm_->mutex);
    warm_->cv.wait(lock, [this] { return warm_->queue.empty() && warm_->busy == nullptr; });
}

std::size_t PictureCache::warmedCount() const {
    std::lock_guard lock(warm_->mutex);
    return warm_->finished;
}

std::size_t PictureCache::trim(const std::vector<Request>& keep) {
    std::set<Key> wanted;
    for (const Request& r : keep) {
        if (r.png.empty() || r.device.isEmpty()) continue;
        const std::span<const std::uint8_t> png = canonical(r.png);
        wanted.emplace(png.data(), png.size(), r.device.width(), r.device.height());
    }
    std::size_t freed = 0;
    for (auto it = pixmaps_.begin(); it != pixmaps_.end();) {
        std::erase_if(it->second, [&](const Sized& s) {
            // A pixmap a widget shows is shared; letting go of the cache's copy frees nothing.
            const bool drop =
                s.pixmap.isDetached() && !wanted.contains(Key{it->first.first, it->first.second,
                                                              s.device.width(), s.device.height()});
            if (drop) freed += bytesOf(s.pixmap);
            return drop;
        });
        it = it->second.empty() ? pixmaps_.erase(it) : std::next(it);
    }
    freed += dropDecodedOnly();
    freed += static_cast<std::size_t>(large_.sizeInBytes());
    largeKey_ = {nullptr, 0};
    large_ = QImage();
    {
        std::lock_guard lock(warm_->mutex);
        std::erase_if(warm_->scaled, [&](const auto& entry) {
            if (wanted.contains(entry.first)) return false;
            freed += static_cast<std::size_t>(entry.second.sizeInBytes());
            return true;
        });
    }
    if (freed > 0) giveBackToSystem();
    return freed;
}

void PictureCache::forget(std::span<const std::uint8_t> png, QSize device) {
    if (png.empty()) return;
    png = canonical(png);
    const auto it = pixmaps_.find(Picture{png.data(), png.size()});
    if (it == pixmaps_.end()) return;
    std::erase_if(it->second,
                  [&](const Sized& s) { return s.device == device && s.pixmap.isDetached(); });
    if (it->second.empty()) pixmaps_.erase(it);
}

std::size_t PictureCache::dropDecodedOnly() {
    std::size_t freed = 0;
    for (const auto& [key, img] : images_) freed += static_cast<std::size_t>(img.sizeInBytes());
    images_.clear();
    return freed;
}

std::size_t PictureCache::dropDecoded() {
    const std::size_t freed = dropDecodedOnly();
    if (freed > 0) giveBackToSystem();
    return freed;
}

std::size_t PictureCache::heldBytes() const {
    std::size_t bytes = static_cast<std::size_t>(large_.sizeInBytes());
    for (const auto& [key, img] : images_) bytes += static_cast<std::size_t>(img.sizeInBytes());
    for (const auto& [pic, sizes] : pixmaps_)
        for (const Sized& s : sizes) bytes += bytesOf(s.pixmap);
    std::lock_guard lock(warm_->mutex);
    for (const auto& [key, img] : warm_->scaled)
        bytes += static_cast<std::size_t>(img.sizeInBytes());
    return bytes;
}

void PictureCache::clear() {
    {
        std::lock_guard lock(warm_->mutex);
        warm_->queue.clear();
    }
    finishWarmUp();
    {
        std::lock_guard lock(warm_->mutex);
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
