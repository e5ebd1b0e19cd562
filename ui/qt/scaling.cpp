#include "ui/qt/scaling.h"

#include <algorithm>
#include <cmath>

namespace wt::qt {
namespace {

int scaled(int v, double s) {
    return static_cast<int>(std::lround(v * s));
}

// Edges rounded one by one; a non-empty extent never collapses to nothing.
std::pair<int, int> span(int start, int length, double s) {
    const int a = scaled(start, s);
    int b = scaled(start + length, s);
    if (length > 0 && b <= a) b = a + 1;
    return {a, std::max(0, b - a)};
}

// Where an extent of `size` goes inside [lo, hi]: at `wanted`, pushed back inside if it sticks
// out, at `lo` when it is too large anyway.
int clampStart(int wanted, int size, int lo, int hi) {
    return std::max(lo, std::min(wanted, hi - size));
}

}  // namespace

QRect ContentFit::mapInside(const QRect& stored) const {
    const auto [x, w] = span(stored.x(), stored.width(), scale);
    const auto [y, h] = span(stored.y(), stored.height(), scale);
    return QRect(x, y, w, h);
}

QRect ContentFit::map(const QRect& stored) const {
    return mapInside(stored).translated(offset);
}

QPoint ContentFit::toStored(QPoint client) const {
    const QPoint p = client - offset;
    return QPoint(static_cast<int>(std::floor(p.x() / scale)),
                  static_cast<int>(std::floor(p.y() / scale)));
}

int ContentFit::fontPixels(int storedPixels) const {
    return std::max(1, scaled(storedPixels, scale));
}

ContentFit fitContent(QSize stored, QSize client) {
    if (stored.width() <= 0 || stored.height() <= 0 || client.isEmpty()) return {};
    const double s = std::min(double(client.width()) / stored.width(),
                              double(client.height()) / stored.height());
    ContentFit fit;
    fit.scale = s;
    const QSize used(scaled(stored.width(), s), scaled(stored.height(), s));
    fit.offset = QPoint((client.width() - used.width()) / 2, (client.height() - used.height()) / 2);
    return fit;
}

Placement placeWindow(QSize stored, QMargins frame, const QRect& available, QPoint preferred) {
    Placement place;
    const int frameW = frame.left() + frame.right(), frameH = frame.top() + frame.bottom();
    const int roomW = available.width() - frameW, roomH = available.height() - frameH;
    place.client = stored;
    if (stored.width() > roomW || stored.height() > roomH) {
        // Round the client size down so that it stays inside; the scale is what the content
        // will really be drawn at in that client area.
        const double s = std::min(double(std::max(1, roomW)) / std::max(1, stored.width()),
                                  double(std::max(1, roomH)) / std::max(1, stored.height()));
        place.client = QSize(std::max(1, static_cast<int>(std::floor(stored.width() * s))),
                             std::max(1, static_cast<int>(std::floor(stored.height() * s))));
        place.scale = fitContent(stored, place.client).scale;
    }
    const QSize outer(place.client.width() + frameW, place.client.height() + frameH);
    place.framePos =
        QPoint(clampStart(preferred.x(), outer.width(), available.left(), available.right() + 1),
               clampStart(preferred.y(), outer.height(), available.top(), available.bottom() + 1));
    return place;
}

}  // namespace wt::qt
