#include "ui/qt/pictures.h"

#include <cstring>
#include <memory>
#include <vector>

#include "ui/media/png_decode.h"

namespace wt::qt {
namespace {

// Decoded pictures larger than this are not kept: they are the window backgrounds, needed at one
// size only, whose scaled pixmap is kept instead.
constexpr qsizetype kKeepDecodedBytes = 4 * 1024 * 1024;

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

std::uint64_t fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

}  // namespace

std::span<const std::uint8_t> PictureCache::canonical(std::span<const std::uint8_t> png) {
    const std::pair key{png.data(), png.size()};
    if (auto it = alias_.find(key); it != alias_.end()) return it->second;
    const std::uint64_t hash = fnv1a(png);
    std::span<const std::uint8_t> same = png;
    for (auto [it, end] = byContent_.equal_range(hash); it != end; ++it) {
        if (it->second.size() == png.size() &&
            std::memcmp(it->second.data(), png.data(), png.size()) == 0) {
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
    const Key key{png.data(), png.size(), 0, 0};
    if (auto it = images_.find(key); it != images_.end()) return it->second;
    QImage img;
    if (auto it = prepared_.find(key); it != prepared_.end()) {
        img = it->second.get();
        prepared_.erase(it);
    } else {
        img = decode(png);
        ++decodes_;
    }
    if (!img.isNull() && img.sizeInBytes() <= kKeepDecodedBytes) images_.emplace(key, img);
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

QPixmap PictureCache::scaled(std::span<const std::uint8_t> png, QSize size) {
    if (png.empty() || size.isEmpty()) return {};
    png = canonical(png);
    const Key key{png.data(), png.size(), size.width(), size.height()};
    if (auto it = pixmaps_.find(key); it != pixmaps_.end()) return it->second;
    const QImage img = image(png);
    if (img.isNull()) return {};
    ++scales_;
    // Qt's smooth scaling is fastest from its 32-bit formats; from the decoder's byte formats it
    // would take a slower general path.
    const QImage::Format fast =
        img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    QPixmap pixmap = QPixmap::fromImage(
        img.size() == size ? img
                           : img.convertToFormat(fast).scaled(size, Qt::IgnoreAspectRatio,
                                                              Qt::SmoothTransformation));
    pixmaps_.emplace(key, pixmap);
    return pixmap;
}

void PictureCache::clear() {
    prepared_.clear();
    alias_.clear();
    byContent_.clear();
    images_.clear();
    pixmaps_.clear();
}

}  // namespace wt::qt
