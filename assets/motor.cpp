// The three-phase induction motor, side view: fan cowl on the left, finned frame, terminal box
// on the front, shaft with a coupling disc on the right. The running animation turns the
// coupling (a red marker, three holes and the shaft key) and shows the direction of rotation.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "assets/draw_util.h"
#include "assets/pictures.h"

namespace wt::assets {

namespace {

// Drawing coordinates are those of the 620 x 434 animation frame.
constexpr double kAxisY = 190;
constexpr double kFaceX = 568, kFaceA = 20, kFaceB = 68;  // coupling face ellipse
constexpr double kShaftLeft = 505, kShaftRight = 545, kShaftR = 16;
const QColor kPaint(0x3C, 0x6C, 0x9C);
const QColor kSteel(0xB8, 0xBE, 0xC6);

QLinearGradient cylinder(double top, double bottom, QColor base) {
    QLinearGradient g(QPointF(0, top), QPointF(0, bottom));
    g.setColorAt(0.0, base.darker(125));
    g.setColorAt(0.22, base.lighter(135));
    g.setColorAt(0.5, base);
    g.setColorAt(1.0, base.darker(170));
    return g;
}

void drawStaticMotor(QPainter& p) {
    // Floor shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawEllipse(QRectF(70, 372, 470, 40));

    // Feet and base.
    for (double x : {160.0, 352.0}) {
        p.setBrush(cylinder(300, 372, kPaint.darker(115)));
        p.setPen(QPen(kPaint.darker(200), 1.5));
        QPainterPath foot;
        foot.moveTo(x + 14, 300);
        foot.lineTo(x + 76, 300);
        foot.lineTo(x + 92, 356);
        foot.lineTo(x + 92, 372);
        foot.lineTo(x - 2, 372);
        foot.lineTo(x - 2, 356);
        foot.closeSubpath();
        p.drawPath(foot);
        p.setBrush(QColor(0x20, 0x24, 0x28));
        p.drawEllipse(QPointF(x + 12, 362), 5, 4);
        p.drawEllipse(QPointF(x + 78, 362), 5, 4);
    }

    // Fan cowl with its grille on the end.
    const double cowlTop = kAxisY - 112, cowlBottom = kAxisY + 112;
    p.setPen(QPen(QColor(0x30, 0x38, 0x40), 1.5));
    p.setBrush(cylinder(cowlTop, cowlBottom, QColor(0x4A, 0x54, 0x60)));
    p.drawRoundedRect(QRectF(40, cowlTop, 104, cowlBottom - cowlTop), 18, 18);
    p.setBrush(QColor(0x2A, 0x30, 0x38));
    p.drawEllipse(QRectF(26, cowlTop + 4, 34, cowlBottom - cowlTop - 8));
    p.setPen(QPen(QColor(0x5E, 0x6A, 0x76), 3, Qt::SolidLine, Qt::RoundCap));
    for (double y = cowlTop + 22; y < cowlBottom - 18; y += 13) {
        const double t = (y - kAxisY) / 112.0;
        const double half = 13 * std::sqrt(std::max(0.0, 1 - t * t));
        p.drawLine(QPointF(43 - half, y), QPointF(43 + half, y));
    }
    p.setPen(QPen(QColor(0x36, 0x3E, 0x48), 2));
    for (double x = 62; x < 140; x += 14)
        p.drawLine(QPointF(x, cowlTop + 6), QPointF(x, cowlBottom - 6));

    // Finned stator frame.
    const double top = kAxisY - 125, bottom = kAxisY + 125;
    p.setPen(QPen(kPaint.darker(220), 2));
    p.setBrush(cylinder(top, bottom, kPaint));
    p.drawRoundedRect(QRectF(132, top, 326, bottom - top), 10, 10);
    for (double y = top + 14; y < bottom - 8; y += 15) {
        p.setPen(QPen(kPaint.darker(190), 2.2));
        p.drawLine(QPointF(140, y), QPointF(450, y));
        p.setPen(QPen(QColor(255, 255, 255, 60), 1.2));
        p.drawLine(QPointF(140, y + 2.2), QPointF(450, y + 2.2));
    }
    // Lifting eye.
    p.setPen(QPen(kPaint.darker(160), 7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(282, top - 34, 36, 34));
    p.setPen(QPen(kPaint.darker(200), 2));
    p.setBrush(kPaint);
    p.drawRect(QRectF(286, top - 8, 28, 10));

    // Drive-end shield and bearing hub.
    p.setPen(QPen(kPaint.darker(220), 2));
    p.setBrush(cylinder(kAxisY - 112, kAxisY + 112, kPaint.darker(110)));
    p.drawRoundedRect(QRectF(452, kAxisY - 112, 42, 224), 14, 14);
    p.setBrush(cylinder(kAxisY - 46, kAxisY + 46, kPaint.darker(125)));
    p.drawRoundedRect(QRectF(490, kAxisY - 46, 20, 92), 6, 6);

    // Nameplate.
    const QRectF plate(166, 92, 92, 62);
    p.setPen(QPen(QColor(0x70, 0x78, 0x80), 1.2));
    p.setBrush(QColor(0xE2, 0xE6, 0xEA));
    p.drawRoundedRect(plate, 3, 3);
    drawCentred(p, QRectF(plate.left(), plate.top() + 3, plate.width(), 18), "3~  Motor",
                latinFont(12, true), QColor(0x22, 0x28, 0x30));
    drawCentred(p, QRectF(plate.left(), plate.top() + 22, plate.width(), 16), "380V  50Hz",
                latinFont(10), QColor(0x33, 0x3A, 0x42));
    drawCentred(p, QRectF(plate.left(), plate.top() + 38, plate.width(), 16), "1.5kW 1420r/min",
                latinFont(9), QColor(0x33, 0x3A, 0x42));

    // Terminal box on the front with its cable gland underneath.
    const QRectF box(254, 252, 100, 130);
    p.setPen(QPen(kPaint.darker(230), 2));
    p.setBrush(cylinder(box.top(), box.bottom(), kPaint.lighter(108)));
    p.drawRoundedRect(box, 8, 8);
    const QRectF lid = box.adjusted(8, 8, -8, -8);
    p.setBrush(cylinder(lid.top(), lid.bottom(), kPaint.lighter(118)));
    p.drawRoundedRect(lid, 6, 6);
    for (QPointF c : {lid.topLeft() + QPointF(9, 9), lid.topRight() + QPointF(-9, 9),
                      lid.bottomLeft() + QPointF(9, -9), lid.bottomRight() + QPointF(-9, -9)})
        drawScrew(p, c, 5, 45, false);
    drawCentred(p, lid.adjusted(0, 18, 0, -44), "U  V  W", latinFont(14, true),
                QColor(0xF0, 0xF4, 0xF8));
    p.setPen(QPen(QColor(0xF0, 0xF4, 0xF8), 2));
    p.setBrush(Qt::NoBrush);
    const QPointF bolt(box.center().x(), box.center().y() + 16);
    p.drawPolyline(QPolygonF({bolt + QPointF(-4, -14), bolt + QPointF(-9, 1), bolt + QPointF(3, -2),
                              bolt + QPointF(-2, 14)}));
    p.setPen(QPen(QColor(0x10, 0x12, 0x14), 1.5));
    p.setBrush(cylinder(382, 418, QColor(0x30, 0x33, 0x36)));
    p.drawRoundedRect(QRectF(284, 380, 40, 38), 5, 5);
    p.setBrush(QColor(0x50, 0x54, 0x58));
    p.drawRect(QRectF(280, 380, 48, 8));

    // Shaft and the side of the coupling disc.
    p.setPen(QPen(QColor(0x55, 0x5C, 0x64), 1.5));
    p.setBrush(cylinder(kAxisY - kShaftR, kAxisY + kShaftR, kSteel));
    p.drawRect(QRectF(kShaftLeft, kAxisY - kShaftR, kShaftRight - kShaftLeft, 2 * kShaftR));
    p.setBrush(cylinder(kAxisY - kFaceB, kAxisY + kFaceB, kSteel.darker(108)));
    QPainterPath rim;
    rim.moveTo(kFaceX - 28, kAxisY - kFaceB);
    rim.lineTo(kFaceX, kAxisY - kFaceB);
    rim.arcTo(QRectF(kFaceX - kFaceA, kAxisY - kFaceB, 2 * kFaceA, 2 * kFaceB), 90, -180);
    rim.lineTo(kFaceX - 28, kAxisY + kFaceB);
    rim.arcTo(QRectF(kFaceX - 28 - kFaceA, kAxisY - kFaceB, 2 * kFaceA, 2 * kFaceB), 270, 180);
    rim.closeSubpath();
    p.drawPath(rim);
}

// The moving parts at rotation angle `theta` (radians; growing angles turn clockwise on screen).
void drawRotor(QPainter& p, double theta) {
    // Shaft key: seen while it is on the side facing the viewer.
    if (std::cos(theta) > -0.2) {
        const double y = kAxisY + kShaftR * 0.8 * std::sin(theta);
        p.setPen(QPen(QColor(0x40, 0x44, 0x48), 1));
        p.setBrush(QColor(0x5A, 0x60, 0x66));
        p.drawRect(QRectF(kShaftLeft + 8, y - 3, 24, 6));
    }
    // Coupling face.
    const QRectF face(kFaceX - kFaceA, kAxisY - kFaceB, 2 * kFaceA, 2 * kFaceB);
    QLinearGradient g(face.topLeft(), face.bottomRight());
    g.setColorAt(0, QColor(0xE8, 0xEC, 0xF0));
    g.setColorAt(1, QColor(0x98, 0xA0, 0xA8));
    p.setPen(QPen(QColor(0x55, 0x5C, 0x64), 1.5));
    p.setBrush(g);
    p.drawEllipse(face);
    auto onFace = [&](double radiusShare, double angle) {
        return QPointF(kFaceX + kFaceA * radiusShare * std::cos(angle),
                       kAxisY + kFaceB * radiusShare * std::sin(angle));
    };
    p.setBrush(QColor(0x50, 0x56, 0x5E));
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 3; ++k) {
        const double a = theta + (k + 0.5) * 2 * std::numbers::pi / 3;
        p.drawEllipse(onFace(0.62, a), kFaceA * 0.14, kFaceB * 0.14);
    }
    // Hub and a red marker stripe from the hub to the rim.
    p.setBrush(QColor(0x70, 0x78, 0x80));
    p.drawEllipse(QPointF(kFaceX, kAxisY), kFaceA * 0.3, kFaceB * 0.3);
    p.setPen(QPen(QColor(0xE0, 0x22, 0x22), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(onFace(0.36, theta), onFace(0.9, theta));
}

void drawDirection(QPainter& p, bool forward) {
    const QColor c = forward ? QColor(0x1A, 0x9A, 0x3A) : QColor(0xE0, 0x7A, 0x10);
    const double a = 40, b = 100, start = -62, end = 62;  // degrees, clockwise from the right
    QPainterPath arc;
    const int steps = 24;
    QPointF last, beforeLast;
    for (int i = 0; i <= steps; ++i) {
        const double deg = start + (end - start) * i / steps;
        const double r = deg * std::numbers::pi / 180;
        const QPointF pt(kFaceX + 2 + a * std::cos(r), kAxisY + b * std::sin(r));
        if (i == 0)
            arc.moveTo(pt);
        else
            arc.lineTo(pt);
        beforeLast = last;
        last = pt;
    }
    QPointF tip = forward ? last : arc.elementAt(0);
    QPointF from = forward ? beforeLast : QPointF(arc.elementAt(1));
    p.setPen(QPen(c, 7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const QPointF dir = (tip - from) / std::hypot(tip.x() - from.x(), tip.y() - from.y());
    const QPointF normal(-dir.y(), dir.x());
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({tip + dir * 18, tip + normal * 12, tip - normal * 12}));
    drawCentred(p, QRectF(470, 6, 146, 48),
                forward ? QStringLiteral("正转") : QStringLiteral("反转"), chineseFont(34, true),
                c);
}

}  // namespace

QImage drawMotorAtRest() {
    QImage img = canvas(kMotorWidth, kMotorHeight, QColor(0xEE, 0xF1, 0xF4));
    QPainter p(&img);
    prepare(p);
    p.scale(double(kMotorWidth) / kAnimationWidth, double(kMotorHeight) / kAnimationHeight);
    drawStaticMotor(p);
    drawRotor(p, -std::numbers::pi / 2);
    return img;
}

std::vector<QImage> drawMotorFrames(bool forward, int count) {
    QImage base = canvas(kAnimationWidth, kAnimationHeight, QColor(0xEE, 0xF1, 0xF4));
    {
        QPainter p(&base);
        prepare(p);
        drawStaticMotor(p);
    }
    // Six turns per loop: about 31 degrees a frame, slow enough to read the direction.
    const double step = (forward ? 1.0 : -1.0) * 6 * 2 * std::numbers::pi / count;
    std::vector<QImage> frames;
    frames.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        QImage frame = base.copy();
        QPainter p(&frame);
        prepare(p);
        drawRotor(p, -std::numbers::pi / 2 + step * i);
        drawDirection(p, forward);
        frames.push_back(std::move(frame));
    }
    return frames;
}

}  // namespace wt::assets
