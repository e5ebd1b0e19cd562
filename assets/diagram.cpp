#include "assets/diagram.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "assets/draw_util.h"

namespace wt::assets {

namespace {

const QColor kGridMinor(0xEA, 0xEF, 0xF4);
const QColor kGridMajor(0xD9, 0xE1, 0xEA);
const QColor kLine(0x2F, 0x3E, 0x4E);
const QColor kLabel(0x1C, 0x3A, 0x6E);
const QColor kPadRing(0x8A, 0x5A, 0x22);
const QColor kPadFill(0xE2, 0xB0, 0x62);

struct Mapper {
    double sx, sy;
    QRectF rect(const FormRect& r) const {
        return QRectF(r.left * sx, r.top * sy, r.width * sx, r.height * sy);
    }
    double unit() const { return std::min(sx, sy); }
};

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QString titleOf(const std::string& window) {
    static const std::map<std::string, QString> titles = {
        {"ContinuousRunExercise", QStringLiteral("电动机长动控制电路")},
        {"JogExercise", QStringLiteral("电动机点动控制电路")},
        {"ContinuousJogExercise", QStringLiteral("电动机长动与点动控制电路")},
        {"ForwardReverseExercise", QStringLiteral("电动机正反转控制电路")},
        {"DoubleInterlockExercise", QStringLiteral("电动机双重互锁正反转控制电路")},
        {"MultiLocationExercise", QStringLiteral("电动机多地控制电路")},
    };
    auto it = titles.find(window);
    return it == titles.end() ? qs(window) : it->second;
}

void drawGrid(QPainter& p, const FormGeometry& form, const Mapper& m, QSize size) {
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(QPen(pass == 0 ? kGridMinor : kGridMajor, 1));
        for (int x = 0; x <= form.width; x += 8) {
            if ((x % 40 == 0) != (pass == 1)) continue;
            const int px = static_cast<int>(std::lround(x * m.sx));
            p.drawLine(px, 0, px, size.height());
        }
        for (int y = 0; y <= form.height; y += 8) {
            if ((y % 40 == 0) != (pass == 1)) continue;
            const int py = static_cast<int>(std::lround(y * m.sy));
            p.drawLine(0, py, size.width(), py);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    const double inset = 4 * m.unit();
    p.setPen(QPen(kLine, 1.5 * m.unit()));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(inset, inset, size.width() - 2 * inset, size.height() - 2 * inset));
}

// A normally open contact drawn in `r`, vertical or horizontal along the longer side.
void contactSymbol(QPainter& p, const QRectF& r, bool pushed) {
    const bool vertical = r.height() >= r.width();
    const double len = vertical ? r.height() : r.width();
    const QPointF c = r.center();
    p.save();
    p.translate(c);
    if (!vertical) p.rotate(-90);
    const double gap = len * 0.22;
    p.drawLine(QPointF(0, -len / 2), QPointF(0, -gap));
    p.drawLine(QPointF(0, gap), QPointF(0, len / 2));
    p.drawLine(QPointF(0, gap), QPointF(-len * 0.18, -gap * 1.1));
    if (pushed) {
        QPen dashed = p.pen();
        dashed.setStyle(Qt::DashLine);
        p.save();
        p.setPen(dashed);
        p.drawLine(QPointF(-len * 0.09, 0), QPointF(-len * 0.36, 0));
        p.restore();
        p.drawLine(QPointF(-len * 0.36, -len * 0.1), QPointF(-len * 0.36, len * 0.1));
        p.drawLine(QPointF(-len * 0.36, -len * 0.1), QPointF(-len * 0.42, -len * 0.1));
        p.drawLine(QPointF(-len * 0.36, len * 0.1), QPointF(-len * 0.42, len * 0.1));
    }
    p.restore();
}

void drawComponentSymbol(QPainter& p, const FormComponent& c, const QRectF& r, double unit) {
    const QRectF inner =
        r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.2, -r.height() * 0.2);
    const double d = std::min(inner.width(), inner.height());
    p.setPen(QPen(kLine.lighter(130), std::max(1.0, 1.6 * unit), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (c.type == "motor") {
        p.drawEllipse(inner.center(), d / 2, d / 2);
        drawCentred(p, QRectF(inner.center().x() - d / 2, inner.center().y() - d * 0.4, d, d * 0.5),
                    "M", latinFont(d * 0.34, true), kLine);
        drawCentred(p,
                    QRectF(inner.center().x() - d / 2, inner.center().y() + d * 0.02, d, d * 0.4),
                    "3~", latinFont(d * 0.24), kLine);
    } else if (c.type == "fuse" || c.type == "coil" || c.type == "relay") {
        const bool vertical = inner.height() >= inner.width();
        QRectF body = vertical ? QRectF(0, 0, d * 0.45, inner.height() * 0.7)
                               : QRectF(0, 0, inner.width() * 0.7, d * 0.45);
        if (c.type == "coil") body = QRectF(0, 0, d * 0.9, d * 0.5);
        body.moveCenter(inner.center());
        p.drawRect(body);
        if (c.type == "fuse") {
            if (vertical)
                p.drawLine(QPointF(body.center().x(), inner.top()),
                           QPointF(body.center().x(), inner.bottom()));
            else
                p.drawLine(QPointF(inner.left(), body.center().y()),
                           QPointF(inner.right(), body.center().y()));
        } else if (c.type == "relay") {
            QPolygonF zig;
            const int n = 4;
            for (int i = 0; i <= n; ++i) {
                const double t = double(i) / n;
                zig << QPointF(body.left() + body.width() * t,
                               body.center().y() + ((i % 2) ? -1 : 1) * body.height() * 0.25);
            }
            p.drawPolyline(zig);
        }
    } else if (c.type == "switch" || c.type == "contactor") {
        const bool wide = inner.width() >= inner.height();
        const int poles = c.type == "switch" ? 4 : 3;
        QPointF first, last;
        for (int i = 0; i < poles; ++i) {
            const double t = (i + 0.5) / poles;
            QRectF pole =
                wide ? QRectF(inner.left() + inner.width() * (t - 0.5 / poles), inner.top(),
                              inner.width() / poles, inner.height())
                     : QRectF(inner.left(), inner.top() + inner.height() * (t - 0.5 / poles),
                              inner.width(), inner.height() / poles);
            contactSymbol(p, pole, false);
            if (i == 0) first = pole.center();
            last = pole.center();
        }
        QPen dashed = p.pen();
        dashed.setStyle(Qt::DashLine);
        p.save();
        p.setPen(dashed);
        p.drawLine(first, last);
        p.restore();
    } else if (c.type == "pushbutton" || c.type == "auxcontact") {
        contactSymbol(p, inner, c.type == "pushbutton");
    }
}

using Shape = DiagramTag::Shape;

QFont tagLabelFont(double u) {
    return latinFont(13 * u, true);
}
QFont tagCaptionFont(double u, Shape shape) {
    return chineseFont((shape == Shape::TwoLines ? 10 : 12) * u);
}

// The tag's size in each shape, and the height of its label line.
QSizeF tagSize(const FormComponent& c, double u, Shape shape) {
    const QFontMetricsF fm(tagLabelFont(u));
    const double labelW = fm.horizontalAdvance(qs(c.label)) + 8 * u, line = fm.height() + 2 * u;
    if (c.caption.empty() || shape == Shape::LabelOnly) return {labelW, line};
    const QFontMetricsF cm(tagCaptionFont(u, shape));
    const double captionW = cm.horizontalAdvance(qs(c.caption)) + 6 * u;
    if (shape == Shape::OneLine) return {labelW + captionW + 2 * u, line};
    return {std::max(labelW, captionW), line + cm.height()};
}

double labelLine(double u) {
    return QFontMetricsF(tagLabelFont(u)).height() + 2 * u;
}

bool clear(const QRectF& t, const QRectF& page, const std::vector<QRectF>& occupied) {
    if (!page.contains(t)) return false;
    for (const QRectF& o : occupied)
        if (o.intersects(t)) return false;
    return true;
}

// Places for a tag of size `s` around the outline `r`, nearest first: above it, below it, beside
// it (first flush with the outline's corner, then slid along the edge by up to a tag's width),
// lifted further off, and last inside the outline's free corners.
std::vector<QRectF> tagPlaces(const QRectF& r, QSizeF s, double u) {
    const double g = 1 * u, step = 4 * u;
    const double above = r.top() - s.height() - g, below = r.bottom() + g;
    const double right = r.right() + g, left = r.left() - s.width() - g;
    std::vector<QRectF> places = {
        QRectF(QPointF(r.left(), above), s),
        QRectF(QPointF(r.left(), below), s),
        QRectF(QPointF(right, r.top()), s),
        QRectF(QPointF(left, r.top()), s),
    };
    for (double d = step; d <= r.width() + s.width(); d += step)
        for (double x : {r.left() + d, r.left() - d}) {
            places.push_back(QRectF(QPointF(x, above), s));
            places.push_back(QRectF(QPointF(x, below), s));
        }
    for (double y = r.top() + step; y + s.height() <= r.bottom() + s.height(); y += step) {
        places.push_back(QRectF(QPointF(right, y), s));
        places.push_back(QRectF(QPointF(left, y), s));
    }
    for (double lift = step; lift <= 3 * s.height(); lift += step) {
        places.push_back(QRectF(QPointF(r.left(), above - lift), s));
        places.push_back(QRectF(QPointF(r.left(), below + lift), s));
    }
    for (double y = r.top() + 2 * u; y + s.height() <= r.bottom() - 2 * u; y += step)
        for (double x : {r.left() + 2 * u, r.right() - 2 * u - s.width()})
            places.push_back(QRectF(QPointF(x, y), s));
    return places;
}

// Where a component's label tag goes: the first place, in the first shape, that covers no other
// component, no control and no other tag and stays on the sheet; with no such place, the
// one-line tag above the outline, pulled onto the sheet.
DiagramTag placeTag(const FormComponent& c, const QRectF& r, double u, QSize sheet,
                    const std::vector<QRectF>& occupied) {
    const QRectF page(2 * u, 2 * u, sheet.width() - 4 * u, sheet.height() - 4 * u);
    for (Shape shape : {Shape::OneLine, Shape::TwoLines, Shape::LabelOnly}) {
        if (shape != Shape::OneLine && c.caption.empty()) break;
        for (const QRectF& t : tagPlaces(r, tagSize(c, u, shape), u))
            if (clear(t, page, occupied)) return {c.label, t, shape};
    }
    QRectF fallback = tagPlaces(r, tagSize(c, u, Shape::OneLine), u).front();
    fallback.moveTop(std::max(page.top(), fallback.top()));
    fallback.moveLeft(std::clamp(fallback.left(), page.left(),
                                 std::max(page.left(), page.right() - fallback.width())));
    return {c.label, fallback, Shape::OneLine};
}

void drawComponent(QPainter& p, const FormComponent& c, const Mapper& m,
                   const std::optional<DiagramTag>& tag) {
    const QRectF r = m.rect(c.rect);
    const double u = m.unit();
    if (c.type == "text") {
        const QString text = c.caption.empty() ? qs(c.label) : qs(c.caption);
        drawCentred(p, r, text, chineseFont(std::max(10.0, std::min(r.height() * 0.6, 16 * u))),
                    kLabel);
        return;
    }
    p.setPen(QPen(kLine, std::max(1.0, 1.8 * u)));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, 150));
    p.drawRoundedRect(r, 4 * u, 4 * u);
    drawComponentSymbol(p, c, r, u);
    if (!tag) return;
    const QRectF& t = tag->rect;
    p.setPen(QPen(kLabel, std::max(1.0, 1.2 * u)));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRoundedRect(t, 3 * u, 3 * u);
    const double line = labelLine(u);
    const double labelW = tagSize(c, u, Shape::LabelOnly).width();
    const QFont captionFont = tagCaptionFont(u, tag->shape);
    switch (tag->shape) {
        case Shape::OneLine:
            drawCentred(p, QRectF(t.left(), t.top(), labelW, line), qs(c.label), tagLabelFont(u),
                        kLabel);
            drawCentred(p, QRectF(t.left() + labelW, t.top(), t.width() - labelW, line),
                        qs(c.caption), captionFont, kLabel.lighter(130));
            break;
        case Shape::TwoLines:
            drawCentred(p, QRectF(t.left(), t.top(), t.width(), line), qs(c.label), tagLabelFont(u),
                        kLabel);
            drawCentred(p, QRectF(t.left(), t.top() + line - u, t.width(), t.height() - line),
                        qs(c.caption), captionFont, kLabel.lighter(130));
            break;
        case Shape::LabelOnly:
            drawCentred(p, t, qs(c.label), tagLabelFont(u), kLabel);
            break;
    }
}

void drawPictureMount(QPainter& p, const QRectF& r, double u) {
    drawShadow(p, r, 3 * u, 8 * u);
    p.setPen(QPen(QColor(0x9A, 0xA6, 0xB2), std::max(1.0, 1.2 * u)));
    p.setBrush(QColor(0xE3, 0xE8, 0xED));
    p.drawRoundedRect(r.adjusted(-3 * u, -3 * u, 3 * u, 3 * u), 3 * u, 3 * u);
}

bool covers(const FormRect& r, double x, double y) {
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}

// A terminal that lies on a picture (a device photograph) sits on that picture's terminal
// strip: a pad on the sheet under it would only peek out around the picture's edge.
bool onPicture(const FormGeometry& form, const FormControl& terminal) {
    const double x = terminal.rect.left + terminal.rect.width / 2.0;
    const double y = terminal.rect.top + terminal.rect.height / 2.0;
    for (const FormControl& c : form.controls)
        if (c.kind == "picturebox" && !c.picture.empty() && covers(c.rect, x, y)) return true;
    return false;
}

QFont toggleFont(double u) {
    return chineseFont(14 * u, true);
}

// The edit-wire check box, when the form stores it with no caption and shows none beside it.
const FormControl* uncaptionedToggle(const FormGeometry& form) {
    const FormControl* box = nullptr;
    for (const FormControl& c : form.controls) {
        if (c.kind == "label" && c.caption == kToggleCaption) return nullptr;
        if (c.kind == "checkbox" && c.caption.empty()) box = &c;
    }
    return box;
}

void drawTerminalPad(QPainter& p, const QRectF& r, double u) {
    const double grow = std::max(3.0 * u, std::min(r.width(), r.height()) * 0.22);
    const QRectF pad = r.adjusted(-grow, -grow, grow, grow);
    p.setPen(QPen(kPadRing, std::max(1.0, 1.6 * u)));
    p.setBrush(kPadFill);
    p.drawRoundedRect(pad, pad.width() * 0.3, pad.height() * 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(kPadRing.darker(120));
    p.drawRect(r);
}

bool overlapsAnything(const FormGeometry& form, const FormRect& area) {
    auto hits = [&](const FormRect& r) {
        return r.left < area.left + area.width && area.left < r.left + r.width &&
               r.top < area.top + area.height && area.top < r.top + r.height;
    };
    for (const auto& c : form.components)
        if (hits(c.rect)) return true;
    for (const auto& c : form.controls)
        if (hits(c.rect)) return true;
    return false;
}

void drawTitle(QPainter& p, const FormGeometry& form, const Mapper& m) {
    const QString title = titleOf(form.window);
    const double u = m.unit();
    if (form.components.empty() && form.controls.empty()) {
        drawCentred(p, QRectF(0, 0, form.width * m.sx, form.height * m.sy), title,
                    chineseFont(40 * u, true), kGridMajor.darker(125));
        return;
    }
    // A title block in the lower right corner, only where no control or component lies.
    const FormRect area{form.width - 300, form.height - 52, 292, 44};
    if (area.left < 0 || area.top < 0 || overlapsAnything(form, area)) return;
    const QRectF r = m.rect(area);
    p.setPen(QPen(kLine, std::max(1.0, 1.4 * u)));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRect(r);
    drawCentred(p, r, title, chineseFont(18 * u, true), kLine);
}

}  // namespace

QSize diagramSize(const FormGeometry& form) {
    if (form.window == "ContinuousRunExercise") return {2001, 1126};
    return {form.width, form.height};
}

DiagramLayout layoutDiagram(const FormGeometry& form, QSize size) {
    if (size.isEmpty()) size = QSize(form.width, form.height);
    const Mapper m{double(size.width()) / form.width, double(size.height()) / form.height};
    const double u = m.unit();
    const QRectF page(2 * u, 2 * u, size.width() - 4 * u, size.height() - 4 * u);
    DiagramLayout layout;
    std::vector<QRectF> occupied;  // every control, then what the layout places
    for (const FormControl& c : form.controls) occupied.push_back(m.rect(c.rect));
    std::vector<QRectF> components;
    for (const FormComponent& c : form.components) components.push_back(m.rect(c.rect));
    // The caption first: it belongs right beside its box, where the other windows show it.
    if (const FormControl* box = uncaptionedToggle(form)) {
        const QRectF r = m.rect(box->rect);
        const QSizeF s(
            QFontMetricsF(toggleFont(u)).horizontalAdvance(QString::fromUtf8(kToggleCaption)) +
                2 * u,
            std::min(r.height(), 24 * u));
        const double cy = r.center().y() - s.height() / 2;
        for (const QRectF& t : {QRectF(QPointF(r.right() + u, cy), s),
                                QRectF(QPointF(r.left() - s.width() - u, cy), s),
                                QRectF(QPointF(r.left(), r.bottom() + 2 * u), s),
                                QRectF(QPointF(r.left(), r.top() - s.height() - 2 * u), s)}) {
            if (clear(t, page, occupied) &&
                !std::any_of(components.begin(), components.end(),
                             [&](const QRectF& k) { return k.intersects(t); })) {
                layout.toggleCaption = t;
                occupied.push_back(t);
                break;
            }
        }
    }
    for (const FormComponent& c : form.components) {
        if (c.type == "text") continue;
        // Everything but the component's own outline counts against its tag: wire bars too,
        // and the picture that fills the outline (a tag inside it would be hidden).
        std::vector<QRectF> others = occupied;
        for (const FormComponent& k : form.components)
            if (&k != &c) others.push_back(m.rect(k.rect));
        layout.tags.push_back(placeTag(c, m.rect(c.rect), u, size, others));
        occupied.push_back(layout.tags.back().rect);
    }
    return layout;
}

QImage drawDiagram(const FormGeometry& form, QSize size) {
    if (size.isEmpty()) size = QSize(form.width, form.height);
    const Mapper m{double(size.width()) / form.width, double(size.height()) / form.height};
    const DiagramLayout layout = layoutDiagram(form, size);
    QImage img = canvas(size.width(), size.height(), kDiagramPaper);
    QPainter p(&img);
    prepare(p);
    drawGrid(p, form, m, size);
    for (const FormControl& c : form.controls)
        if (c.kind == "picturebox" && c.parent.empty())
            drawPictureMount(p, m.rect(c.rect), m.unit());
    for (const FormComponent& c : form.components) {
        std::optional<DiagramTag> tag;
        for (const DiagramTag& t : layout.tags)
            if (t.label == c.label) tag = t;
        drawComponent(p, c, m, tag);
    }
    for (const FormControl& c : form.controls)
        if (c.kind == "terminal" && !onPicture(form, c))
            drawTerminalPad(p, m.rect(c.rect), m.unit());
    if (layout.toggleCaption) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(*layout.toggleCaption);
        drawCentred(p, *layout.toggleCaption, QString::fromUtf8(kToggleCaption),
                    toggleFont(m.unit()), Qt::black);
    }
    drawTitle(p, form, m);
    return img;
}

}  // namespace wt::assets
