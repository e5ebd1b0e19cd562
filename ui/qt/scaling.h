// The shared layout arithmetic (ui/layout.h) in Qt's geometry types, for the Qt binding's
// widgets. Nothing is computed here beyond the conversion.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "ui/layout.h"

namespace wt::qt {

inline layout::Point fromQt(QPoint p) {
    return {p.x(), p.y()};
}
inline layout::Size fromQt(QSize s) {
    return {s.width(), s.height()};
}
inline layout::Rect fromQt(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}
inline layout::Margins fromQt(QMargins m) {
    return {m.left(), m.top(), m.right(), m.bottom()};
}
inline QPoint toQt(layout::Point p) {
    return {p.x, p.y};
}
inline QSize toQt(layout::Size s) {
    return {s.width, s.height};
}
inline QRect toQt(const layout::Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

// layout::ContentFit with Qt geometry.
struct ContentFit {
    double scale = 1.0;
    QPoint offset;

    layout::ContentFit shared() const { return {scale, fromQt(offset)}; }
    QRect map(const QRect& stored) const { return toQt(shared().map(fromQt(stored))); }
    QRect mapInside(const QRect& stored) const { return toQt(shared().mapInside(fromQt(stored))); }
    QPoint toStored(QPoint client) const { return toQt(shared().toStored(fromQt(client))); }
    int fontPixels(int storedPixels) const { return shared().fontPixels(storedPixels); }
    bool operator==(const ContentFit&) const = default;
};

inline ContentFit fitContent(QSize stored, QSize client) {
    const layout::ContentFit fit = layout::fitContent(fromQt(stored), fromQt(client));
    return {fit.scale, toQt(fit.offset)};
}

// layout::Placement with Qt geometry: `framePos` is what QWidget::move takes.
struct Placement {
    double scale = 1.0;
    QSize client;
    QPoint framePos;
    bool operator==(const Placement&) const = default;
};

inline Placement placeWindow(QSize stored, QMargins frame, const QRect& available,
                             QPoint preferred = QPoint(50, 50)) {
    const layout::Placement at =
        layout::placeWindow(fromQt(stored), fromQt(frame), fromQt(available), fromQt(preferred));
    return {at.scale, toQt(at.client), toQt(at.framePos)};
}

}  // namespace wt::qt
