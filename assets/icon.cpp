#include "assets/icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace wt::assets {
namespace {

// Drawn on a 256-unit square; small sizes leave out the screw terminals and thicken the strokes
// so that the motor and its wires still read at 16 pixels.
void paintIcon(QPainter& p, bool small) {
    // The tile: the menu's blue, darker towards the bottom, with a light rim.
    const QRectF tile(12, 12, 232, 232);
    QLinearGradient back(tile.topLeft(), tile.bottomLeft());
    back.setColorAt(0.0, QColor(0x3C, 0x8D, 0xE0));
    back.setColorAt(1.0, QColor(0x0E, 0x3F, 0x8C));
    p.setPen(QPen(QColor(0x0A, 0x2E, 0x66), small ? 10 : 4));
    p.setBrush(back);
    p.drawRoundedRect(tile, 40, 40);

    // Three phase wires, yellow, green and red, from the terminals down into the motor.
    const QColor phase[3] = {QColor(0xF2, 0xC4, 0x1B), QColor(0x2E, 0xA0, 0x43),
                             QColor(0xD8, 0x2C, 0x20)};
    const double xs[3] = {84, 128, 172};
    for (int i = 0; i < 3; ++i) {
        QPainterPath wire;
        wire.moveTo(xs[i], 58);
        wire.lineTo(xs[i], 96);
        wire.cubicTo(xs[i], 112, 128 + (xs[i] - 128) * 0.45, 112, 128 + (xs[i] - 128) * 0.45, 128);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x10, 0x1C, 0x2C), small ? 26 : 16, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wire);
        p.setPen(QPen(phase[i], small ? 18 : 10, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wire);
    }
    if (!small) {
        for (double x : xs) {
            QRadialGradient brass(QPointF(x - 4, 48), 16);
            brass.setColorAt(0.0, QColor(0xFF, 0xEE, 0xB0));
            brass.setColorAt(1.0, QColor(0xB8, 0x8A, 0x2A));
            p.setPen(QPen(QColor(0x5A, 0x42, 0x10), 3));
            p.setBrush(brass);
            p.drawEllipse(QPointF(x, 52), 14, 14);
            p.setPen(QPen(QColor(0x5A, 0x42, 0x10), 4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(x - 8, 52), QPointF(x + 8, 52));
        }
    }

    // The motor: a white disc with a dark ring and an M.
    const QPointF centre(128, small ? 170 : 166);
    const double radius = small ? 72 : 58;
    QRadialGradient face(centre - QPointF(18, 18), radius * 1.4);
    face.setColorAt(0.0, Qt::white);
    face.setColorAt(1.0, QColor(0xC8, 0xD4, 0xE2));
    p.setPen(QPen(QColor(0x10, 0x1C, 0x2C), small ? 12 : 9));
    p.setBrush(face);
    p.drawEllipse(centre, radius, radius);

    QPainterPath m;
    const double w = small ? 42 : 34, h = small ? 40 : 32;
    m.moveTo(centre.x() - w, centre.y() + h);
    m.lineTo(centre.x() - w, centre.y() - h);
    m.lineTo(centre.x(), centre.y() + h * 0.35);
    m.lineTo(centre.x() + w, centre.y() - h);
    m.lineTo(centre.x() + w, centre.y() + h);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x0E, 0x3F, 0x8C), small ? 18 : 14, Qt::SolidLine, Qt::SquareCap,
                  Qt::MiterJoin));
    p.drawPath(m);
}

}  // namespace

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    paintIcon(p, size < 40);
    return image;
}

}  // namespace wt::assets
