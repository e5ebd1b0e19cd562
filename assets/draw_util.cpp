#include "assets/draw_util.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace wt::assets {

QFont latinFont(double pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont chineseFont(double pixelSize, bool bold) {
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QImage canvas(int width, int height, QColor fill) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void drawScrew(QPainter& p, QPointF c, double r, double slotDegrees, bool brass) {
    p.save();
    const QColor light = brass ? QColor(0xF6, 0xE2, 0x9A) : QColor(0xF2, 0xF4, 0xF6);
    const QColor mid = brass ? QColor(0xC9, 0xA2, 0x3F) : QColor(0xA9, 0xB0, 0xB8);
    const QColor dark = brass ? QColor(0x7A, 0x5A, 0x18) : QColor(0x5E, 0x66, 0x6E);
    // Washer.
    QRadialGradient washer(c, r * 1.35);
    washer.setColorAt(0.7, mid.darker(110));
    washer.setColorAt(1.0, dark);
    p.setPen(QPen(dark.darker(130), std::max(0.6, r * 0.06)));
    p.setBrush(washer);
    p.drawEllipse(c, r * 1.3, r * 1.3);
    // Domed head lit from the top left.
    QRadialGradient head(c + QPointF(-r * 0.35, -r * 0.4), r * 1.4);
    head.setColorAt(0.0, light);
    head.setColorAt(0.55, mid);
    head.setColorAt(1.0, dark);
    p.setBrush(head);
    p.setPen(QPen(dark, std::max(0.6, r * 0.07)));
    p.drawEllipse(c, r, r);
    // Slot.
    p.translate(c);
    p.rotate(slotDegrees);
    const double w = r * 0.26;
    p.setPen(Qt::NoPen);
    p.setBrush(dark.darker(170));
    p.drawRoundedRect(QRectF(-r * 0.82, -w / 2, r * 1.64, w), w * 0.3, w * 0.3);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRect(QRectF(-r * 0.8, w / 2 - w * 0.18, r * 1.6, w * 0.18));
    p.restore();
}

void drawPlastic(QPainter& p, const QRectF& r, QColor base, double cornerRadius) {
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, base.lighter(112));
    g.setColorAt(0.5, base);
    g.setColorAt(1.0, base.darker(112));
    p.setBrush(g);
    p.setPen(QPen(base.darker(160), 1.2));
    p.drawRoundedRect(r, cornerRadius, cornerRadius);
    p.restore();
}

void drawMetal(QPainter& p, const QRectF& r, QColor base) {
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, base.lighter(135));
    g.setColorAt(0.35, base.lighter(110));
    g.setColorAt(0.6, base);
    g.setColorAt(1.0, base.darker(135));
    p.setBrush(g);
    p.setPen(QPen(base.darker(170), 1.0));
    p.drawRect(r);
    p.restore();
}

void drawDinRail(QPainter& p, const QRectF& r) {
    const QColor steel(0xB4, 0xBA, 0xC0);
    drawMetal(p, r, steel);
    const double lip = r.height() * 0.18;
    drawMetal(p, QRectF(r.left(), r.top(), r.width(), lip), steel.lighter(108));
    drawMetal(p, QRectF(r.left(), r.bottom() - lip, r.width(), lip), steel.darker(108));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x5C, 0x63));
    const double slotW = r.height() * 0.9, slotH = r.height() * 0.22;
    for (double x = r.left() + slotW * 0.4; x + slotW < r.right(); x += slotW * 1.6)
        p.drawRoundedRect(QRectF(x, r.center().y() - slotH / 2, slotW, slotH), slotH / 2,
                          slotH / 2);
    p.restore();
}

void drawCentred(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                 QColor colour) {
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
    p.restore();
}

void drawShadow(QPainter& p, const QRectF& r, double cornerRadius, double spread) {
    p.save();
    p.setPen(Qt::NoPen);
    const int layers = 5;
    for (int i = layers; i >= 1; --i) {
        const double grow = spread * i / layers;
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(r.adjusted(-grow * 0.5, -grow * 0.2, grow * 0.7, grow),
                          cornerRadius + grow, cornerRadius + grow);
    }
    p.restore();
}

}  // namespace wt::assets
