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

void drawMarkings(QPainter& p, const DeviceLayout& layout, double size) {
    for (const DeviceMarking& m : layout.markings) drawLabel(p, m.rect, m.text, size, kInk, true);
}

// Breaker: four poles of 73 pixels from x 24; supply screws on top, the outputs a1..a4 below.
constexpr double kPoleLeft = 24, kPoleW = 73;

DeviceLayout makeSwitchLayout() {
    DeviceLayout l{kSwitchWidth, kSwitchHeight, {}, {}, {}};
    static const std::array<const char*, 4> names = {"1", "3", "5", "N"};
    for (int i = 0; i < 4; ++i) {
        const double x0 = kPoleLeft + i * kPoleW, cx = x0 + kPoleW / 2;
        l.strips.push_back(QRectF(x0 + 4, 252, kPoleW - 8, 56));
        l.markings.push_back({QRectF(x0, 49, kPoleW, 13), names[static_cast<std::size_t>(i)]});
        l.screws.push_back(QRectF(cx - 17, 28 - 17, 34, 34));
    }
    return l;
}

// Contactor: a top and a bottom terminal row (a normally closed auxiliary contact 21/22 on the
// left, the three main poles, the normally open 13/14 on the right) and the coil A1/A2 on the
// right edge.
DeviceLayout makeContactorLayout() {
    DeviceLayout l{kContactorSize, kContactorSize, {}, {}, {}};
    l.strips = {QRectF(30, 2, 448, 74), QRectF(30, 414, 450, 89), QRectF(416, 98, 76, 98),
                QRectF(416, 298, 76, 92)};
    static const std::array<const char*, 5> top = {"21NC", "1/L1", "3/L2", "5/L3", "13NO"};
    static const std::array<const char*, 5> bottom = {"22NC", "2/T1", "4/T2", "6/T3", "14NO"};
    static const std::array<double, 5> x = {70, 140, 242, 342, 428};
    for (std::size_t i = 0; i < 5; ++i) {
        l.markings.push_back({QRectF(x[i] - 30, 78, 60, 18), top[i]});
        l.markings.push_back({QRectF(x[i] - 30, 394, 60, 18), bottom[i]});
    }
    l.markings.push_back({QRectF(420, 198, 68, 18), "A1"});
    l.markings.push_back({QRectF(420, 278, 68, 18), "A2"});
    return l;
}

// Thermal relay: three tall bays for the heater inputs d1..d3 (the windows put them at quite
// different heights), three for the outputs e1..e3 and one for the contact 95/96.
DeviceLayout makeRelayLayout() {
    DeviceLayout l{496, 320, {}, {}, {}};
    l.strips = {QRectF(16, 22, 102, 158), QRectF(130, 22, 104, 158), QRectF(236, 22, 106, 158),
                QRectF(20, 184, 98, 116), QRectF(140, 184, 92, 116), QRectF(236, 184, 92, 116),
                QRectF(333, 208, 150, 94)};
    l.markings = {{QRectF(36, 3, 60, 18), "1/L1"},    {QRectF(152, 3, 60, 18), "3/L2"},
                  {QRectF(259, 3, 60, 18), "5/L3"},   {QRectF(39, 301, 60, 17), "2/T1"},
                  {QRectF(156, 301, 60, 17), "4/T2"}, {QRectF(252, 301, 60, 17), "6/T3"},
                  {QRectF(346, 301, 48, 17), "95"},   {QRectF(422, 301, 48, 17), "96"}};
    return l;
}

// Fuse holder: one strip above and one below the carrier, for f1 and f2.
DeviceLayout makeFuseLayout() {
    return {160, 240, {QRectF(42, 0, 76, 58), QRectF(42, 182, 76, 58)}, {}, {}};
}

struct Layouts {
    DeviceLayout breaker = makeSwitchLayout();
    DeviceLayout contactor = makeContactorLayout();
    DeviceLayout relay = makeRelayLayout();
    DeviceLayout fuse = makeFuseLayout();
};

const Layouts& layouts() {
    static const Layouts all;
    return all;
}

}  // namespace

const DeviceLayout* deviceLayout(const std::string& picture) {
    if (picture == "switch_open" || picture == "switch_closed") return &layouts().breaker;
    if (picture == "contactor_released" || picture == "contactor_pulled_in")
        return &layouts().contactor;
    if (picture == "relay") return &layouts().relay;
    if (picture == "fuse") return &layouts().fuse;
    return nullptr;
}

QImage drawSwitch(bool closed) {
    QImage img = canvas(kSwitchWidth, kSwitchHeight, kWall);
    QPainter p(&img);
    prepare(p);
    drawDinRail(p, QRectF(0, 118, kSwitchWidth, 54));

    const DeviceLayout& layout = layouts().breaker;
    const double left = kPoleLeft, poleW = kPoleW, top = 6, bottom = 309;
    const QRectF body(left, top, poleW * 4, bottom - top);
    drawShadow(p, body, 6, 10);
    for (int i = 0; i < 4; ++i) {
        const double x0 = left + i * poleW, cx = x0 + poleW / 2;
        drawPlastic(p, QRectF(x0, top, poleW, bottom - top), QColor(0xF1, 0xF1, 0xEE), 4);
        // Raised front between the terminal rows.
        drawPlastic(p, QRectF(x0 + 5, 62, poleW - 10, 188), QColor(0xF8, 0xF8, 0xF6), 3);
        // Supply screw on top; the output terminal's strip at the bottom.
        drawRecess(p, QRectF(x0 + 10, top + 4, poleW - 20, 44), 4);
        drawScrew(p, QPointF(cx, 28), 13, 35, false);
        drawRecess(p, layout.strips[static_cast<std::size_t>(i)], 4);
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
        drawRecess(p, QRectF(x0 + 14, 160, poleW - 28, 90), 5);
    }
    drawMarkings(p, layout, 11);
    // Common lever bar over all four poles.
    const double leverTop = closed ? 164 : 214;
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

    const DeviceLayout& layout = layouts().contactor;
    const QRectF body(26, 4, 471, 497);
    drawShadow(p, body, 10, 14);
    drawPlastic(p, body, QColor(0xD6, 0xD9, 0xDC), 10);
    // Terminal blocks with their strips and markings; the coil's block on the right edge.
    drawPlastic(p, QRectF(28, 4, 454, 94), QColor(0xC9, 0xCC, 0xD0), 6);
    drawPlastic(p, QRectF(28, 390, 454, 111), QColor(0xC9, 0xCC, 0xD0), 6);
    drawPlastic(p, QRectF(412, 96, 84, 296), QColor(0xC2, 0xC6, 0xCA), 6);
    for (const QRectF& strip : layout.strips) drawRecess(p, strip, 5);
    drawMarkings(p, layout, 15);
    // Front face.
    drawPlastic(p, QRectF(96, 100, 312, 288), QColor(0xE6, 0xE8, 0xEA), 8);
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
    drawLabel(p, QRectF(104, 362, 296, 20), "3P  50/60Hz", 13, QColor(0x50, 0x56, 0x5E));

    p.save();
    p.translate(454, 247);
    p.rotate(-90);
    drawLabel(p, QRectF(-30, -10, 60, 20), "~220V", 12, QColor(0x30, 0x36, 0x3E), true);
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
    const DeviceLayout& layout = layouts().relay;
    QImage img = canvas(layout.width, layout.height, kWall);
    QPainter p(&img);
    prepare(p);
    const QRectF body(8, 2, 480, 316);
    drawShadow(p, body, 8, 12);
    drawPlastic(p, body, QColor(0xD4, 0xD7, 0xDA), 8);
    drawPlastic(p, QRectF(12, 20, 334, 164), QColor(0xC6, 0xCA, 0xCE), 6);
    for (const QRectF& bay : layout.strips) drawRecess(p, bay, 5);
    drawMarkings(p, layout, 15);
    // Current setting dial, test and reset buttons.
    const QPointF dial(386, 112);
    p.setBrush(QColor(0x24, 0x5C, 0xB0));
    p.setPen(QPen(QColor(0x12, 0x30, 0x60), 2));
    p.drawEllipse(dial, 32, 32);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(dial, dial + QPointF(18, -20));
    drawLabel(p, QRectF(338, 152, 96, 18), "7 - 10 A", 13, kInk, true);
    p.setPen(QPen(QColor(0x70, 0x10, 0x10), 1.5));
    p.setBrush(QColor(0xD8, 0x26, 0x26));
    p.drawRoundedRect(QRectF(436, 56, 28, 22), 4, 4);
    drawLabel(p, QRectF(432, 78, 36, 14), "TEST", 9, kInk, true);
    p.setBrush(QColor(0x2C, 0x6C, 0xC8));
    p.setPen(QPen(QColor(0x10, 0x30, 0x60), 1.5));
    p.drawEllipse(QPointF(450, 124), 13, 13);
    drawLabel(p, QRectF(437, 111, 26, 26), "R", 13, Qt::white, true);
    drawLabel(p, QRectF(350, 176, 130, 18), "FR  3P", 13, QColor(0x40, 0x46, 0x4E), true);
    return img;
}

QImage drawFuse() {
    const DeviceLayout& layout = layouts().fuse;
    const int w = layout.width, h = layout.height;
    QImage img = canvas(w, h, kWall);
    QPainter p(&img);
    prepare(p);
    drawDinRail(p, QRectF(0, 92, w, 52));
    const QRectF body(14, 2, 116, 236);
    drawShadow(p, body, 6, 10);
    drawPlastic(p, body, QColor(0xEE, 0xEE, 0xEA), 6);
    for (const QRectF& strip : layout.strips) drawRecess(p, strip, 4);
    // Fuse carrier with its blown-fuse window.
    const QRectF carrier(26, 62, 92, 114);
    drawPlastic(p, carrier, QColor(0x5A, 0x62, 0x6C), 8);
    p.setPen(QPen(QColor(0x78, 0x82, 0x8C), 2));
    for (int k = 0; k < 6; ++k) p.drawLine(QPointF(40, 72 + k * 6), QPointF(104, 72 + k * 6));
    p.setPen(QPen(QColor(0x22, 0x22, 0x22), 1));
    p.setBrush(QColor(0xB0, 0xE8, 0xB8));
    p.drawRoundedRect(QRectF(50, 108, 44, 16), 3, 3);
    drawLabel(p, QRectF(26, 126, 92, 26), "2A", 20, Qt::white, true);
    drawLabel(p, QRectF(26, 152, 92, 18), "500V~", 12, QColor(0xE0, 0xE4, 0xE8));
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
