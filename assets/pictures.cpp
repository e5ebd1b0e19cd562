// Switch, contactor, terminal, push-buttons, relay, fuse and the menu background.
#include "assets/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

#include "assets/draw_util.h"

namespace wt::assets {

namespace {

const QColor kWall(0xE4, 0xE8, 0xEC);
const QColor kRecess(0x3A, 0x40, 0x47);
const QColor kInk(0x2A, 0x2E, 0x33);

void drawRecess(QPainter& p, const QRectF& r, double radius) {
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, kRecess.darker(140));
    g.setColorAt(1.0, kRecess);
    p.setBrush(g);
    p.setPen(QPen(QColor(0x1E, 0x22, 0x26), 1.0));
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

void drawLabel(QPainter& p, const QRectF& r, const QString& text, double size, QColor colour = kInk,
               bool bold = false) {
    drawCentred(p, r, text, latinFont(size, bold), colour);
}

}  // namespace

QImage drawSwitch(bool closed) {
    QImage img = canvas(kSwitchWidth, kSwitchHeight, kWall);
    QPainter p(&img);
    prepare(p);
    drawDinRail(p, QRectF(0, 118, kSwitchWidth, 54));

    const double left = 24, poleW = 73, top = 6, bottom = 304;
    const QRectF body(left, top, poleW * 4, bottom - top);
    drawShadow(p, body, 6, 10);
    static const std::array<const char*, 4> inNames = {"1", "3", "5", "N"};
    for (int i = 0; i < 4; ++i) {
        const double x0 = left + i * poleW, cx = x0 + poleW / 2;
        drawPlastic(p, QRectF(x0, top, poleW, bottom - top), QColor(0xF1, 0xF1, 0xEE), 4);
        // Raised front between the terminal rows.
        drawPlastic(p, QRectF(x0 + 5, 62, poleW - 10, 198), QColor(0xF8, 0xF8, 0xF6), 3);
        // Input terminal on top, output terminal at the bottom.
        drawRecess(p, QRectF(x0 + 10, top + 4, poleW - 20, 44), 4);
        drawScrew(p, QPointF(cx, 28), 13, 35, false);
        drawRecess(p, QRectF(x0 + 10, 264, poleW - 20, 38), 4);
        drawScrew(p, QPointF(cx, 284), 12.5, -35, false);
        drawLabel(p, QRectF(x0, 49, poleW, 13), inNames[static_cast<std::size_t>(i)], 11, kInk,
                  true);
        // Contact position indicator.
        const QRectF ind(x0 + 16, 70, poleW - 32, 22);
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
        p.setBrush(closed ? QColor(0xD8, 0x24, 0x24) : QColor(0x2E, 0xA0, 0x44));
        p.drawRoundedRect(ind, 3, 3);
        drawLabel(p, ind, closed ? "I" : "O", 14, Qt::white, true);
        drawLabel(p, QRectF(x0, 98, poleW, 22), "C16", 16, kInk, true);
        drawLabel(p, QRectF(x0, 120, poleW, 12), "400V~", 9, QColor(0x55, 0x5A, 0x60));
        p.setPen(QPen(QColor(0x66, 0x66, 0x66), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(x0 + 20, 136, poleW - 40, 16));
        drawLabel(p, QRectF(x0 + 20, 136, poleW - 40, 16), "6000", 9, QColor(0x44, 0x44, 0x44));
        // Lever slot.
        drawRecess(p, QRectF(x0 + 14, 160, poleW - 28, 98), 5);
    }
    // Common lever bar over all four poles.
    const double leverTop = closed ? 164 : 222;
    const QRectF lever(left + 10, leverTop, poleW * 4 - 20, 34);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(lever.translated(0, closed ? 6 : -4), 6, 6);
    drawPlastic(p, lever, QColor(0x2F, 0x3A, 0x48), 6);
    p.setPen(QPen(QColor(0x55, 0x63, 0x74), 2));
    for (int k = 0; k < 5; ++k) {
        const double y = lever.top() + 8 + k * 4.5;
        p.drawLine(QPointF(lever.left() + 8, y), QPointF(lever.left() + 40, y));
        p.drawLine(QPointF(lever.right() - 40, y), QPointF(lever.right() - 8, y));
    }
    // A coloured edge shows which way the lever points.
    p.setPen(Qt::NoPen);
    p.setBrush(closed ? QColor(0xE0, 0x30, 0x30) : QColor(0x34, 0xA8, 0x4C));
    const QRectF edge = closed
                            ? QRectF(lever.left() + 50, lever.top() + 3, lever.width() - 100, 5)
                            : QRectF(lever.left() + 50, lever.bottom() - 8, lever.width() - 100, 5);
    p.drawRoundedRect(edge, 2, 2);
    drawLabel(p, lever, closed ? "I  ON" : "O  OFF", 15, Qt::white, true);
    return img;
}

QImage drawContactor(bool pulledIn) {
    const int s = kContactorSize;
    QImage img = canvas(s, s, kWall);
    QPainter p(&img);
    prepare(p);
    drawDinRail(p, QRectF(0, 216, s, 70));

    const QRectF body(80, 4, 412, 496);
    drawShadow(p, body, 10, 14);
    drawPlastic(p, body, QColor(0xD6, 0xD9, 0xDC), 10);
    const std::array<double, 4> topX = {136, 238, 340, 424};
    const std::array<double, 4> bottomX = {136, 242, 342, 424};
    static const std::array<const char*, 4> topNames = {"1/L1", "3/L2", "5/L3", "13NO"};
    static const std::array<const char*, 4> bottomNames = {"2/T1", "4/T2", "6/T3", "14NO"};
    // Terminal blocks.
    drawPlastic(p, QRectF(88, 8, 396, 86), QColor(0xC9, 0xCC, 0xD0), 6);
    drawPlastic(p, QRectF(88, 410, 396, 86), QColor(0xC9, 0xCC, 0xD0), 6);
    for (std::size_t i = 0; i < 4; ++i) {
        const double r = i < 3 ? 18 : 15;
        drawRecess(p, QRectF(topX[i] - 34, 12, 68, 48), 5);
        drawScrew(p, QPointF(topX[i], 34), r, 30, false);
        drawLabel(p, QRectF(topX[i] - 40, 64, 80, 22), topNames[i], 15, kInk, true);
        drawRecess(p, QRectF(bottomX[i] - 34, 444, 68, 48), 5);
        drawScrew(p, QPointF(bottomX[i], 466), r, -30, false);
        drawLabel(p, QRectF(bottomX[i] - 40, 416, 80, 22), bottomNames[i], 15, kInk, true);
    }
    // Front face.
    drawPlastic(p, QRectF(96, 100, 312, 304), QColor(0xE6, 0xE8, 0xEA), 8);
    drawLabel(p, QRectF(104, 106, 296, 22), "AC-3  9A  380V", 16, QColor(0x3A, 0x40, 0x48), true);
    drawLabel(p, QRectF(104, 128, 296, 16), "Ui 660V   Ith 25A", 12, QColor(0x50, 0x56, 0x5E));
    // Inspection window with the three contact sets.
    const QRectF win(114, 152, 276, 150);
    {
        QLinearGradient g(win.topLeft(), win.bottomLeft());
        g.setColorAt(0, QColor(0x1E, 0x27, 0x30));
        g.setColorAt(1, QColor(0x33, 0x40, 0x4C));
        p.setBrush(g);
        p.setPen(QPen(QColor(0x90, 0x96, 0x9C), 3));
        p.drawRoundedRect(win, 6, 6);
    }
    const QColor copper(0xC8, 0x7A, 0x3C), silver(0xE4, 0xE8, 0xEC);
    const double bridgeY = pulledIn ? 214 : 248;
    // Contact carrier (moves with the armature).
    drawPlastic(p, QRectF(win.left() + 10, bridgeY + 8, win.width() - 20, 14),
                QColor(0xF0, 0xD2, 0x4A), 3);
    for (int i = 0; i < 3; ++i) {
        const double cx = win.left() + 48 + i * 90;
        // Fixed contacts: two copper arms coming down from the terminals.
        for (int side = -1; side <= 1; side += 2) {
            const double x = cx + side * 26;
            drawMetal(p, QRectF(x - 6, win.top() + 6, 12, 50), copper);
            drawMetal(p, QRectF(x - 10, win.top() + 50, 20, 6), silver);
        }
        // Moving bridge with its silver pads on top.
        drawMetal(p, QRectF(cx - 38, bridgeY, 76, 10), copper);
        drawMetal(p, QRectF(cx - 36, bridgeY - 5, 20, 5), silver);
        drawMetal(p, QRectF(cx + 16, bridgeY - 5, 20, 5), silver);
        drawMetal(p, QRectF(cx - 4, bridgeY + 10, 8, win.bottom() - bridgeY - 12),
                  QColor(0xE8, 0xC8, 0x40));
    }
    // Glass reflection.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 28));
    QPainterPath glare;
    glare.moveTo(win.left() + 20, win.top() + 4);
    glare.lineTo(win.left() + 90, win.top() + 4);
    glare.lineTo(win.left() + 40, win.bottom() - 4);
    glare.lineTo(win.left() + 4, win.bottom() - 4);
    glare.closeSubpath();
    p.drawPath(glare);

    // Indicator flag under the window.
    const QRectF flagWin(190, 318, 124, 40);
    drawRecess(p, flagWin, 4);
    const QRectF flag = flagWin.adjusted(6, 5, -6, -5).translated(pulledIn ? 0 : 0, 0);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(pulledIn ? QColor(0xE0, 0x2A, 0x2A) : QColor(0xF4, 0xF4, 0xF4));
    p.drawRoundedRect(flag, 3, 3);
    drawLabel(p, flag, pulledIn ? "I  ON" : "O  OFF", 17, pulledIn ? Qt::white : kInk, true);
    drawLabel(p, QRectF(104, 364, 296, 20), "3P  50/60Hz", 13, QColor(0x50, 0x56, 0x5E));

    // Coil terminal block on the right.
    const QRectF coil(414, 104, 70, 300);
    drawPlastic(p, coil, QColor(0xC2, 0xC6, 0xCA), 6);
    drawRecess(p, QRectF(424, 118, 56, 48), 5);
    drawScrew(p, QPointF(452, 142), 14, 45, false);
    drawLabel(p, QRectF(414, 168, 70, 20), "A1", 16, kInk, true);
    drawRecess(p, QRectF(424, 314, 56, 48), 5);
    drawScrew(p, QPointF(452, 338), 14, 45, false);
    drawLabel(p, QRectF(414, 292, 70, 20), "A2", 16, kInk, true);
    p.save();
    p.translate(449, 242);
    p.rotate(-90);
    drawLabel(p, QRectF(-60, -12, 120, 24), "~220V 50Hz", 13, QColor(0x30, 0x36, 0x3E), true);
    p.restore();
    return img;
}

QImage drawTerminal() {
    QImage img = canvas(51, 51, QColor(0x22, 0x25, 0x29));
    QPainter p(&img);
    prepare(p);
    drawPlastic(p, QRectF(1, 1, 49, 49), QColor(0x30, 0x34, 0x3A), 5);
    drawRecess(p, QRectF(6, 6, 39, 39), 19);
    drawScrew(p, QPointF(25.5, 25.5), 14, 45, true);
    return img;
}

QImage drawPushButton(bool green) {
    const int s = 144;
    QImage img = canvas(s, s, QColor(0xC4, 0xC8, 0xCD));
    QPainter p(&img);
    prepare(p);
    drawPlastic(p, QRectF(2, 2, s - 4, s - 4), QColor(0xC8, 0xCC, 0xD1), 12);
    const QPointF c(s / 2.0, s / 2.0);
    // Chrome bezel.
    QLinearGradient chrome(QPointF(0, 8), QPointF(0, s - 8));
    chrome.setColorAt(0, QColor(0xF8, 0xF9, 0xFA));
    chrome.setColorAt(0.5, QColor(0x9A, 0xA2, 0xAA));
    chrome.setColorAt(1, QColor(0xE0, 0xE3, 0xE6));
    p.setBrush(chrome);
    p.setPen(QPen(QColor(0x60, 0x66, 0x6C), 1.5));
    p.drawEllipse(c, 64, 64);
    p.setBrush(QColor(0x1C, 0x1F, 0x22));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 55, 55);
    // Mushroom head.
    const QColor base = green ? QColor(0x1E, 0xA0, 0x3C) : QColor(0xD0, 0x1E, 0x1E);
    QRadialGradient head(c + QPointF(-14, -18), 70);
    head.setColorAt(0, base.lighter(170));
    head.setColorAt(0.45, base);
    head.setColorAt(1, base.darker(190));
    p.setBrush(head);
    p.setPen(QPen(base.darker(220), 1.5));
    p.drawEllipse(c, 50, 50);
    p.setBrush(QColor(255, 255, 255, 70));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(c.x() - 32, c.y() - 42, 50, 26));
    // Embossed symbol: "I" on start, "O" on stop.
    p.setPen(QPen(QColor(255, 255, 255, 220), 7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (green)
        p.drawLine(QPointF(c.x(), c.y() - 20), QPointF(c.x(), c.y() + 20));
    else
        p.drawEllipse(c, 18, 18);
    return img;
}

QImage drawRelay() {
    const int w = 496, h = 320;
    QImage img = canvas(w, h, kWall);
    QPainter p(&img);
    prepare(p);
    const std::array<double, 3> inX = {64, 176, 273};
    const std::array<double, 3> outX = {79, 176, 273};
    const QColor copper(0xC8, 0x7A, 0x3C);
    // Connection pins that plug into the contactor above.
    for (double x : inX) drawMetal(p, QRectF(x - 8, 4, 16, 110), copper);
    const QRectF body(22, 92, 452, 222);
    drawShadow(p, body, 8, 12);
    drawPlastic(p, body, QColor(0xD4, 0xD7, 0xDA), 8);
    drawPlastic(p, QRectF(30, 100, 290, 82), QColor(0xC6, 0xCA, 0xCE), 6);
    static const std::array<const char*, 3> outNames = {"2/T1", "4/T2", "6/T3"};
    for (std::size_t i = 0; i < 3; ++i) {
        drawRecess(p, QRectF(inX[i] - 30, 116, 60, 56), 5);
        drawScrew(p, QPointF(inX[i], 144), 19, 30, false);
        drawRecess(p, QRectF(outX[i] - 30, 228, 60, 56), 5);
        drawScrew(p, QPointF(outX[i], 256), 19, -30, false);
        drawLabel(p, QRectF(outX[i] - 40, 288, 80, 20), outNames[i], 15, kInk, true);
    }
    // Auxiliary contacts 95/96.
    static const std::array<const char*, 2> auxNames = {"95", "96"};
    const std::array<double, 2> auxX = {362, 422};
    for (std::size_t i = 0; i < 2; ++i) {
        drawRecess(p, QRectF(auxX[i] - 24, 232, 48, 48), 5);
        drawScrew(p, QPointF(auxX[i], 256), 14, 45, false);
        drawLabel(p, QRectF(auxX[i] - 30, 288, 60, 20), auxNames[i], 15, kInk, true);
    }
    // Current setting dial, test and reset buttons.
    const QPointF dial(378, 150);
    p.setBrush(QColor(0x24, 0x5C, 0xB0));
    p.setPen(QPen(QColor(0x12, 0x30, 0x60), 2));
    p.drawEllipse(dial, 36, 36);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(dial, dial + QPointF(20, -22));
    drawLabel(p, QRectF(330, 192, 96, 18), "7 - 10 A", 13, kInk, true);
    p.setPen(QPen(QColor(0x70, 0x10, 0x10), 1.5));
    p.setBrush(QColor(0xD8, 0x26, 0x26));
    p.drawRoundedRect(QRectF(434, 112, 28, 22), 4, 4);
    drawLabel(p, QRectF(430, 134, 36, 14), "TEST", 9, kInk, true);
    p.setBrush(QColor(0x2C, 0x6C, 0xC8));
    p.setPen(QPen(QColor(0x10, 0x30, 0x60), 1.5));
    p.drawEllipse(QPointF(448, 170), 13, 13);
    drawLabel(p, QRectF(435, 157, 26, 26), "R", 13, Qt::white, true);
    drawLabel(p, QRectF(30, 186, 290, 20), "1/L1      3/L2      5/L3", 13, QColor(0x40, 0x46, 0x4E),
              true);
    return img;
}

QImage drawFuse() {
    const int w = 160, h = 240;
    QImage img = canvas(w, h, kWall);
    QPainter p(&img);
    prepare(p);
    drawDinRail(p, QRectF(0, 92, w, 52));
    const QRectF body(14, 4, 116, 232);
    drawShadow(p, body, 6, 10);
    drawPlastic(p, body, QColor(0xEE, 0xEE, 0xEA), 6);
    drawRecess(p, QRectF(44, 8, 56, 38), 4);
    drawScrew(p, QPointF(72, 26), 15, 30, false);
    drawRecess(p, QRectF(44, 196, 56, 36), 4);
    drawScrew(p, QPointF(72, 214), 15, -30, false);
    // Fuse carrier with its blown-fuse window.
    const QRectF carrier(26, 54, 92, 134);
    drawPlastic(p, carrier, QColor(0x5A, 0x62, 0x6C), 8);
    p.setPen(QPen(QColor(0x78, 0x82, 0x8C), 2));
    for (int k = 0; k < 6; ++k) p.drawLine(QPointF(40, 64 + k * 6), QPointF(104, 64 + k * 6));
    p.setPen(QPen(QColor(0x22, 0x22, 0x22), 1));
    p.setBrush(QColor(0xB0, 0xE8, 0xB8));
    p.drawRoundedRect(QRectF(50, 110, 44, 18), 3, 3);
    drawLabel(p, QRectF(26, 134, 92, 26), "2A", 20, Qt::white, true);
    drawLabel(p, QRectF(26, 160, 92, 18), "500V~", 12, QColor(0xE0, 0xE4, 0xE8));
    return img;
}

QImage drawMenuBackground() {
    const int w = 1501, h = 672;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient sky(QPointF(0, 0), QPointF(w, 0));
    sky.setColorAt(0.0, QColor(0x08, 0x24, 0x5C));
    sky.setColorAt(0.55, QColor(0x1C, 0x5A, 0xB4));
    sky.setColorAt(1.0, QColor(0x62, 0xA6, 0xEA));
    p.fillRect(img.rect(), sky);
    prepare(p);
    // Curved lower edge: a thin light band, then the white ground below the curve.
    QPainterPath band;
    band.moveTo(0, 520);
    band.cubicTo(420, 650, 980, 400, w, 470);
    band.lineTo(w, h);
    band.lineTo(0, h);
    band.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xA8, 0xCC, 0xF2));
    p.drawPath(band);
    QPainterPath ground;
    ground.moveTo(0, 548);
    ground.cubicTo(420, 672, 980, 430, w, 500);
    ground.lineTo(w, h);
    ground.lineTo(0, h);
    ground.closeSubpath();
    p.setBrush(QColor(0xF5, 0xF8, 0xFC));
    p.drawPath(ground);
    return img;
}

}  // namespace wt::assets
