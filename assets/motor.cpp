// The three-phase induction motor seen from its drive end: the finned frame on its feet, the
// end shield with its bolts, the terminal box low in front (where the windows put the motor's
// terminal), and in the middle a large coupling
// disc painted half yellow, half dark, with a red marker. Running, the whole disc turns, so
// the motion reads at a glance even in a small box; an arrow and a word give the direction.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "assets/draw_util.h"
#include "assets/pictures.h"

namespace wt::assets {

namespace {

// Drawing coordinates are those of the 620 x 434 animation frame.
constexpr double kCx = kMotorHubX, kCy = kMotorHubY;
constexpr double kFrameR = 138;   // finned frame
constexpr double kShieldR = 120;  // end shield
constexpr double kDiscR = kMotorDiscRadius;
const QColor kPaint(0x3C, 0x6C, 0x9C);
const QColor kYellow(0xF2, 0xC2, 0x00);
const QColor kDark(0x26, 0x2A, 0x30);
const QColor kMarker(0xE0, 0x22, 0x22);
const QColor kBackground(0xEE, 0xF1, 0xF4);

constexpr double deg(double d) {
    return d * std::numbers::pi / 180;
}

QPointF polar(double r, double angle) {
    return QPointF(kCx + r * std::cos(angle), kCy + r * std::sin(angle));
}

QLinearGradient vertical(double top, double bottom, QColor base) {
    QLinearGradient g(QPointF(0, top), QPointF(0, bottom));
    g.setColorAt(0.0, base.lighter(125));
    g.setColorAt(0.5, base);
    g.setColorAt(1.0, base.darker(150));
    return g;
}

void drawStaticMotor(QPainter& p) {
    // Floor shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawEllipse(QRectF(kCx - 220, 398, 440, 30));

    // Feet, one each side, bolted down.
    for (double side : {-1.0, 1.0}) {
        QPainterPath foot;
        foot.moveTo(kCx + side * 70, kCy + 100);
        foot.lineTo(kCx + side * 120, kCy + 100);
        foot.lineTo(kCx + side * 205, 392);
        foot.lineTo(kCx + side * 205, 410);
        foot.lineTo(kCx + side * 60, 410);
        foot.closeSubpath();
        p.setPen(QPen(kPaint.darker(200), 1.5));
        p.setBrush(vertical(kCy + 100, 410, kPaint.darker(115)));
        p.drawPath(foot);
        p.setBrush(QColor(0x20, 0x24, 0x28));
        p.drawEllipse(QPointF(kCx + side * 185, 401), 6, 4);
    }

    // Finned frame: cooling fins all round a round body.
    p.setPen(QPen(kPaint.darker(220), 1.5));
    p.setBrush(kPaint.darker(108));
    for (int k = 0; k < 36; ++k) {
        const double a = deg(k * 10.0 + 5);
        const QPointF dir(std::cos(a), std::sin(a));
        const QPointF side(-dir.y() * 4.5, dir.x() * 4.5);
        const QPointF base = polar(kFrameR - 4, a), tip = polar(kFrameR + 18, a);
        p.drawPolygon(QPolygonF({base + side, tip + side, tip - side, base - side}));
    }
    QRadialGradient body(QPointF(kCx - 50, kCy - 60), kFrameR * 1.6);
    body.setColorAt(0, kPaint.lighter(130));
    body.setColorAt(1, kPaint.darker(150));
    p.setBrush(body);
    p.setPen(QPen(kPaint.darker(220), 2));
    p.drawEllipse(QPointF(kCx, kCy), kFrameR, kFrameR);

    // End shield with its bolts.
    QRadialGradient shield(QPointF(kCx + 40, kCy + 50), kShieldR * 1.5);
    shield.setColorAt(0, kPaint.darker(105));
    shield.setColorAt(1, kPaint.lighter(120));
    p.setBrush(shield);
    p.setPen(QPen(kPaint.darker(230), 2));
    p.drawEllipse(QPointF(kCx, kCy), kShieldR, kShieldR);
    for (int k = 0; k < 4; ++k) drawScrew(p, polar(kShieldR - 9, deg(45 + 90 * k)), 5, 30, false);

    // Terminal box low on the front, with its lid screws and the cable gland underneath.
    const QRectF box(kCx - 64, 296, 128, 112);
    p.setPen(QPen(QColor(0x10, 0x12, 0x14), 1.5));
    p.setBrush(vertical(box.bottom() - 4, box.bottom() + 22, QColor(0x30, 0x33, 0x36)));
    p.drawRoundedRect(QRectF(kCx - 20, box.bottom() - 4, 40, 24), 5, 5);
    p.setPen(QPen(kPaint.darker(230), 2));
    p.setBrush(vertical(box.top(), box.bottom(), kPaint.lighter(108)));
    p.drawRoundedRect(box, 8, 8);
    const QRectF lid = box.adjusted(8, 8, -8, -8);
    p.setBrush(vertical(lid.top(), lid.bottom(), kPaint.lighter(118)));
    p.drawRoundedRect(lid, 6, 6);
    for (QPointF c : {lid.topLeft() + QPointF(9, 9), lid.topRight() + QPointF(-9, 9),
                      lid.bottomLeft() + QPointF(9, -9), lid.bottomRight() + QPointF(-9, -9)})
        drawScrew(p, c, 5, 45, false);
    drawCentred(p, lid.adjusted(0, 4, 0, -58), "U  V  W", latinFont(14, true),
                QColor(0xF0, 0xF4, 0xF8));
}

// The coupling disc at rotation angle `theta` (radians; growing angles turn clockwise on screen).
void drawDisc(QPainter& p, double theta) {
    const QRectF disc(kCx - kDiscR, kCy - kDiscR, 2 * kDiscR, 2 * kDiscR);
    p.setPen(QPen(QColor(0x40, 0x44, 0x4A), 3));
    p.setBrush(kDark);
    p.drawEllipse(disc);
    // A yellow half and a dark half: turned by any amount short of a whole turn, a large part of
    // the disc has changed colour. Qt counts angles counter-clockwise in sixteenths of a degree.
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawPie(disc.adjusted(2, 2, -2, -2),
              static_cast<int>(std::lround(-theta * 180 / std::numbers::pi * 16)), -180 * 16);
    // Red marker across the yellow half, so that the disc has one way round.
    p.setPen(QPen(kMarker, 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(polar(36, theta + deg(90)), polar(kDiscR - 14, theta + deg(90)));
    // Steel rim ring and bolt holes turning with the disc.
    p.setPen(QPen(QColor(0xB8, 0xBE, 0xC6), 5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(disc.adjusted(3, 3, -3, -3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x16, 0x18));
    for (int k = 0; k < 6; ++k) p.drawEllipse(polar(kDiscR * 0.72, theta + deg(60 * k)), 5.5, 5.5);
    // Hub, shaft end and key.
    QRadialGradient hub(QPointF(kCx - 8, kCy - 8), 40);
    hub.setColorAt(0, QColor(0xF0, 0xF2, 0xF4));
    hub.setColorAt(1, QColor(0x80, 0x88, 0x90));
    p.setPen(QPen(QColor(0x55, 0x5C, 0x64), 2));
    p.setBrush(hub);
    p.drawEllipse(QPointF(kCx, kCy), 30, 30);
    p.setBrush(QColor(0x9A, 0xA2, 0xAA));
    p.drawEllipse(QPointF(kCx, kCy), 15, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x34, 0x38));
    const QPointF keyAt = polar(13, theta + deg(225));
    p.save();
    p.translate(keyAt);
    p.rotate((theta + deg(225)) * 180 / std::numbers::pi);
    p.drawRect(QRectF(-4, -4, 8, 8));
    p.restore();
}

void drawDirection(QPainter& p, bool forward) {
    const QColor c = forward ? QColor(0x1A, 0x9A, 0x3A) : QColor(0xE0, 0x7A, 0x10);
    // An arc beside the motor, its head at the end the disc turns towards.
    const double r = kFrameR + 36, from = deg(-50), to = deg(50);
    QPainterPath arc;
    const int steps = 30;
    for (int i = 0; i <= steps; ++i) {
        const QPointF pt = polar(r, from + (to - from) * i / steps);
        if (i == 0)
            arc.moveTo(pt);
        else
            arc.lineTo(pt);
    }
    p.setPen(QPen(c, 9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const double end = forward ? to : from;
    const double sense = forward ? 1.0 : -1.0;  // clockwise is growing angle
    const QPointF tip = polar(r, end + sense * deg(6));
    const QPointF dir(-std::sin(end) * sense, std::cos(end) * sense);
    const QPointF normal(-dir.y(), dir.x());
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({tip + dir * 22, tip + normal * 16, tip - normal * 16}));
    drawCentred(p, QRectF(478, 6, 136, 48),
                forward ? QStringLiteral("正转") : QStringLiteral("反转"), chineseFont(36, true),
                c);
}

}  // namespace

QImage drawMotorAtRest() {
    QImage img = canvas(kMotorWidth, kMotorHeight, kBackground);
    QPainter p(&img);
    prepare(p);
    p.scale(double(kMotorWidth) / kAnimationWidth, double(kMotorHeight) / kAnimationHeight);
    drawStaticMotor(p);
    drawDisc(p, 0);
    return img;
}

std::vector<QImage> drawMotorFrames(bool forward, int count) {
    QImage base = canvas(kAnimationWidth, kAnimationHeight, kBackground);
    {
        QPainter p(&base);
        prepare(p);
        drawStaticMotor(p);
        drawDirection(p, forward);
    }
    // Four turns per loop, about 21 degrees a frame: slow enough to follow the marker, and a
    // turn takes long enough (1.7 s) that a second look a fraction of a second later never
    // finds the disc where it was.
    const double step = (forward ? 1.0 : -1.0) * 4 * 2 * std::numbers::pi / count;
    std::vector<QImage> frames;
    frames.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        QImage frame = base.copy();
        QPainter p(&frame);
        prepare(p);
        drawDisc(p, step * i);
        frames.push_back(std::move(frame));
    }
    return frames;
}

}  // namespace wt::assets
