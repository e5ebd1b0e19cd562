#include "ui/qt/pictures.h"

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

}  // namespace

QImage PictureCache::image(std::span<const std::uint8_t> png) {
    if (png.empty()) return {};
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
    prepared_[Key{png.data(), png.size(), 0, 0}] = std::move(decoded);
}

QPixmap PictureCache::scaled(std::span<const std::uint8_t> png, QSize size) {
    if (png.empty() || size.isEmpty()) return {};
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
    images_.clear();
    pixmaps_.clear();
}

}  // namespace wt::qt
