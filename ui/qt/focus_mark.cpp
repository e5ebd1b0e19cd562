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
// The hover cue: blue, apart from both colours of the mark, so that the two can show together.
const QColor kHoverRing(0, 90, 200);
const QColor kHoverWash(0, 90, 200, 48);

bool keysLast = true;  // before any input, the window that opens is the keyboard's

void fillRing(QPainter& painter, const QRect& outside, int width, const QColor& color) {
    painter.fillRect(outside.left(), outside.top(), outside.width(), width, color);
    painter.fillRect(outside.left(), outside.bottom() - width + 1, outside.width(), width, color);
    painter.fillRect(outside.left(), outside.top(), width, outside.height(), color);
    painter.fillRect(outside.right() - width + 1, outside.top(), width, outside.height(), color);
}

}  // namespace

bool keyboardFocus(const QWidget& widget) {
    return widget.property(kKeyboardFocus).toBool();
}

void setKeyboardFocus(QWidget& widget, bool keyboard) {
    if (keyboardFocus(widget) == keyboard) return;
    widget.setProperty(kKeyboardFocus, keyboard);
    widget.update();
    // What lights up with the control beneath it (the switch picture under its click area) is
    // painted by the parent: it is drawn again too.
    if (QWidget* parent = widget.parentWidget(); parent != nullptr && !widget.isWindow())
        parent->update(widget.geometry());
}

bool keysInUse() {
    return keysLast;
}

void setKeysInUse(bool keys) {
    keysLast = keys;
}

void paintHoverCue(QPainter& painter, const QWidget& widget, bool lit) {
    if (!lit || !widget.isEnabled()) return;
    const QRect r = widget.rect();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(r, kHoverWash);
    if (r.width() >= 4 * kRing && r.height() >= 4 * kRing) fillRing(painter, r, kRing, kHoverRing);
    painter.restore();
}

void paintFocusMark(QPainter& painter, const QWidget& widget) {
    if (!widget.hasFocus() || !keyboardFocus(widget)) return;
    const QRect r = widget.rect();
    if (r.width() < 4 * kRing || r.height() < 4 * kRing) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::NoPen);
    fillRing(painter, r, kRing, kOuter);
    fillRing(painter, r.adjusted(kRing, kRing, -kRing, -kRing), kRing, kInner);
    painter.restore();
}

}  // namespace wt::qt
