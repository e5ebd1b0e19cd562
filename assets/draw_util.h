// Small painting helpers shared by the generated pictures: fonts, screws, plastic and metal
// surfaces. Everything paints with antialiasing on a QPainter in the caller's coordinates.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace wt::assets {

// Latin labels (terminal numbers, ratings) and Chinese labels.
QFont latinFont(double pixelSize, bool bold = false);
QFont chineseFont(double pixelSize, bool bold = false);

// A new image of that size filled with `fill`, and a painter set up for antialiased drawing.
QImage canvas(int width, int height, QColor fill);
void prepare(QPainter& p);

// A round screw head with a slot at `slotDegrees` (0 = horizontal) seen from the front; `brass`
// picks a brass rather than a zinc-plated finish. A washer ring is drawn around the head.
void drawScrew(QPainter& p, QPointF centre, double radius, double slotDegrees, bool brass);

// A plastic part lit from the top: vertical gradient from `base` lightened to `base` darkened,
// with a thin darker outline.
void drawPlastic(QPainter& p, const QRectF& r, QColor base, double cornerRadius);

// A brushed-metal strip (DIN rail, bus bars), lit from the top.
void drawMetal(QPainter& p, const QRectF& r, QColor base);

// A horizontal top-hat mounting rail across `r` with its long slots.
void drawDinRail(QPainter& p, const QRectF& r);

// Text centred in `r`.
void drawCentred(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                 QColor colour);

// A soft shadow under a rounded rectangle (a few translucent offset layers).
void drawShadow(QPainter& p, const QRectF& r, double cornerRadius, double spread);

}  // namespace wt::assets
