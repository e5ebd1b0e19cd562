#include "ui/qt/focus_mark.h"

#include <QPainter>
#include <QVariant>
#include <QWidget>

namespace wt::qt {
namespace {

constexpr char kKeyboardFocus[] = "wtKeyboardFocus";
// Black outside, yellow inside: one of the two stands out on the white paper, the dark wires
// and the coloured pictures alike.
constexpr int kRing = 2;
const QColor kOuter(0, 0, 0);
const QColor kInner(255, 214, 0);

}  // namespace

bool keyboardFocus(const QWidget& widget) {
    return widget.property(kKeyboardFocus).toBool();
}

void setKeyboardFocus(QWidget& widget, bool keyboard) {
    if (keyboardFocus(widget) == keyboard) return;
    widget.setProperty(kKeyboardFocus, keyboard);
    widget.update();
}

void paintFocusMark(QPainter& painter, const QWidget& widget) {
    if (!widget.hasFocus() || !keyboardFocus(widget)) return;
    const QRect r = widget.rect();
    if (r.width() < 4 * kRing || r.height() < 4 * kRing) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::NoPen);
    const QRect inner = r.adjusted(kRing, kRing, -kRing, -kRing);
    auto ring = [&](const QRect& outside, const QColor& color) {
        painter.fillRect(outside.left(), outside.top(), outside.width(), kRing, color);
        painter.fillRect(outside.left(), outside.bottom() - kRing + 1, outside.width(), kRing,
                         color);
        painter.fillRect(outside.left(), outside.top(), kRing, outside.height(), color);
        painter.fillRect(outside.right() - kRing + 1, outside.top(), kRing, outside.height(),
                         color);
    };
    ring(r, kOuter);
    ring(inner, kInner);
    painter.restore();
}

}  // namespace wt::qt
