#include "ui/qt/preload.h"

#include <cmath>

#include "ui/media/png_decode.h"

namespace wt::qt {
namespace {

QSize pixelsOf(std::span<const std::uint8_t> png) {
    const auto header = decode::readPngHeader(png);
    if (!header) return {};
    return QSize(static_cast<int>(header->width), static_cast<int>(header->height));
}

QSize device(QSize logical, qreal dpr) {
    return QSize(static_cast<int>(std::lround(logical.width() * dpr)),
                 static_cast<int>(std::lround(logical.height() * dpr)));
}

}  // namespace

std::vector<PictureCache::Request> windowPictures(
    const form::WindowBlock& block, const ContentFit& fit, qreal dpr,
    std::span<const std::span<const std::uint8_t>> stills) {
    std::vector<PictureCache::Request> out;
    if (block.records.empty()) return out;
    const form::ControlRecord& own = block.window();
    const QSize stored(std::max(1, own.geometry.width), std::max(1, own.geometry.height));
    if (!own.picture.empty())
        out.push_back({own.picture, device(fit.map(QRect(QPoint(), stored)).size(), dpr)});
    for (std::size_t i = 1; i < block.records.size(); ++i) {
        const form::ControlRecord& rec = block.records[i];
        if (rec.picture.empty()) continue;
        if (rec.kind != form::Kind::Button && rec.kind != form::Kind::PictureBox) continue;
        // Inside a picture box or not, a control's scaled size is the same.
        const QSize size = device(
            fit.mapInside(QRect(rec.geometry.left, rec.geometry.top,
                                std::max(0, rec.geometry.width), std::max(0, rec.geometry.height)))
                .size(),
            dpr);
        if (size.isEmpty()) continue;
        out.push_back({rec.picture, size});
        if (rec.kind != form::Kind::PictureBox) continue;
        const QSize own = pixelsOf(rec.picture);
        for (std::span<const std::uint8_t> still : stills)
            if (still.data() != rec.picture.data() && !own.isEmpty() && pixelsOf(still) == own)
                out.push_back({still, size});
    }
    return out;
}

}  // namespace wt::qt
