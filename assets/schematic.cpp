// Circuit schematics in the usual symbol style: the main circuit on the left (four-pole switch
// QS, fuses FU1, the main contacts of KM or of KM1 and KM2 with the phase swap, the heaters of FR,
// motor M 3~), the control circuit on the right as a series-parallel ladder of contacts and coils
// fed from the switch's fourth pole and returning to its third pole.
#include <QPainter>
#include <QPainterPath>
#include <map>
#include <memory>
#include <vector>

#include "assets/draw_util.h"
#include "assets/pictures.h"

namespace wt::assets {

namespace {

const QColor kBlack(0x10, 0x10, 0x10);

// Main circuit geometry.
constexpr double kPhaseX[4] = {94, 144, 194, 244};  // L1, L2, L3, N
constexpr double kTopY = 48;
constexpr double kNRailY = 150, kL3TapY = 166;
constexpr double kReturnX = 404;
constexpr double kControlLeft = 410, kBottomRailY = 664;

enum class Sym { Fuse, No, Nc, PushNo, PushNc, ThermalNc, Coil };

void dot(QPainter& p, QPointF c) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kBlack);
    p.drawEllipse(c, 3.6, 3.6);
    p.restore();
}

void label(QPainter& p, QPointF leftCentre, const QString& text, double size = 15) {
    p.save();
    p.setFont(latinFont(size));
    p.setPen(kBlack);
    p.drawText(QRectF(leftCentre.x(), leftCentre.y() - 12, 80, 24),
               Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

void dashed(QPainter& p, QPointF a, QPointF b) {
    p.save();
    QPen pen = p.pen();
    pen.setStyle(Qt::CustomDashLine);
    pen.setDashPattern({3, 2.5});
    pen.setWidthF(1.6);
    p.setPen(pen);
    p.drawLine(a, b);
    p.restore();
}

// Draws a vertical symbol on axis x between y0 and y1 (wire leads fill the rest) and returns
// the point where a mechanical link (dashed line) attaches, on the left of the symbol.
QPointF symbol(QPainter& p, Sym s, double x, double y0, double y1) {
    const double c = (y0 + y1) / 2;
    QPointF link(x - 6, c);
    switch (s) {
        case Sym::Fuse: {
            p.drawLine(QPointF(x, y0), QPointF(x, y1));
            p.drawRect(QRectF(x - 7, c - 17, 14, 34));
            break;
        }
        case Sym::Coil: {
            p.drawLine(QPointF(x, y0), QPointF(x, c - 12));
            p.drawLine(QPointF(x, c + 12), QPointF(x, y1));
            p.drawRect(QRectF(x - 20, c - 12, 40, 24));
            break;
        }
        case Sym::No:
        case Sym::PushNo: {
            p.drawLine(QPointF(x, y0), QPointF(x, c - 13));
            p.drawLine(QPointF(x, c + 13), QPointF(x, y1));
            p.drawLine(QPointF(x, c + 13), QPointF(x - 13, c - 15));
            link = QPointF(x - 6.5, c - 1);
            break;
        }
        case Sym::Nc:
        case Sym::PushNc:
        case Sym::ThermalNc: {
            p.drawLine(QPointF(x, y0), QPointF(x, c - 13));
            p.drawLine(QPointF(x, c - 13), QPointF(x + 11, c - 13));
            p.drawLine(QPointF(x, c + 13), QPointF(x, y1));
            p.drawLine(QPointF(x, c + 13), QPointF(x + 13, c - 17));
            link = QPointF(x + 5.5, c);
            break;
        }
    }
    if (s == Sym::PushNo || s == Sym::PushNc) {
        const double ax = x - 26;
        dashed(p, link, QPointF(ax, link.y()));
        p.drawLine(QPointF(ax, link.y() - 8), QPointF(ax, link.y() + 8));
        p.drawLine(QPointF(ax, link.y() - 8), QPointF(ax - 5, link.y() - 8));
        p.drawLine(QPointF(ax, link.y() + 8), QPointF(ax - 5, link.y() + 8));
    } else if (s == Sym::ThermalNc) {
        const double ax = x - 24;
        dashed(p, link, QPointF(ax + 4, link.y()));
        QPolygonF step({QPointF(ax + 4, c), QPointF(ax + 4, c - 6), QPointF(ax - 2, c - 6),
                        QPointF(ax - 2, c + 6), QPointF(ax - 8, c + 6), QPointF(ax - 8, c)});
        p.drawPolyline(step);
    }
    return link;
}

// Control-circuit ladder: elements in series and branches in parallel.
struct Node {
    enum Kind { Element, Series, Parallel } kind = Element;
    Sym sym = Sym::No;
    QString text;
    QString linkKey;  // elements with the same key are worked by one push-button
    std::vector<std::unique_ptr<Node>> children;
};
using NodePtr = std::unique_ptr<Node>;

NodePtr el(Sym s, const QString& text, const QString& link = {}) {
    auto n = std::make_unique<Node>();
    n->sym = s;
    n->text = text;
    n->linkKey = link;
    return n;
}

template <typename... T>
NodePtr group(Node::Kind kind, T&&... parts) {
    auto n = std::make_unique<Node>();
    n->kind = kind;
    (n->children.push_back(std::forward<T>(parts)), ...);
    return n;
}
template <typename... T>
NodePtr ser(T&&... parts) {
    return group(Node::Series, std::forward<T>(parts)...);
}
template <typename... T>
NodePtr par(T&&... parts) {
    return group(Node::Parallel, std::forward<T>(parts)...);
}

constexpr double kGap = 6, kRail = 14, kLabelSize = 15;

// Room an element needs left of its axis (a push-button's actuator, a thermal actuator) and
// right of it (the symbol and its label).
double leftOf(Sym s) {
    switch (s) {
        case Sym::PushNo:
        case Sym::PushNc:
            return 34;
        case Sym::ThermalNc:
            return 30;
        case Sym::Coil:
            return 22;
        default:
            return 16;
    }
}
double rightOf(Sym s, const QString& text) {
    return (s == Sym::Coil ? 24 : 16) +
           QFontMetricsF(latinFont(kLabelSize)).horizontalAdvance(text) + 4;
}

struct Ladder {
    double elemH = 62;
    std::map<QString, std::vector<QPointF>> links;

    double axis(const Node& n) const {
        if (n.kind == Node::Element) return leftOf(n.sym);
        if (n.kind == Node::Parallel) return axis(*n.children.front());
        double a = 0;
        for (const auto& c : n.children) a = std::max(a, axis(*c));
        return a;
    }
    double width(const Node& n) const {
        if (n.kind == Node::Element) return leftOf(n.sym) + rightOf(n.sym, n.text);
        if (n.kind == Node::Parallel) {
            double w = 0;
            for (const auto& c : n.children) w += width(*c) + kGap;
            return w - kGap;
        }
        const double a = axis(n);
        double right = 0;
        for (const auto& c : n.children) right = std::max(right, width(*c) - axis(*c));
        return a + right;
    }
    double height(const Node& n) const {
        if (n.kind == Node::Element) return elemH;
        double h = 0;
        for (const auto& c : n.children)
            h = n.kind == Node::Series ? h + height(*c) : std::max(h, height(*c));
        return n.kind == Node::Parallel ? h + 2 * kRail : h;
    }

    // Draws `n` with its axis at x, from y down to y + h (h >= natural height: the last part of
    // a series and every branch of a parallel are stretched with wire).
    void draw(QPainter& p, const Node& n, double x, double y, double h) {
        if (n.kind == Node::Element) {
            const QPointF link = symbol(p, n.sym, x, y, y + h);
            label(p, QPointF(x + (n.sym == Sym::Coil ? 24 : 16), y + h / 2), n.text);
            if (!n.linkKey.isEmpty()) links[n.linkKey].push_back(link);
            return;
        }
        if (n.kind == Node::Series) {
            double cy = y;
            for (std::size_t i = 0; i < n.children.size(); ++i) {
                const Node& c = *n.children[i];
                const double ch = i + 1 == n.children.size() ? y + h - cy : height(c);
                draw(p, c, x, cy, ch);
                cy += ch;
            }
            return;
        }
        // Parallel: branches side by side between two rails.
        double left = x - axis(n);
        const double top = y + kRail, bottom = y + h - kRail;
        std::vector<double> axes;
        for (const auto& c : n.children) {
            const double ax = left + axis(*c);
            axes.push_back(ax);
            draw(p, *c, ax, top, bottom - top);
            left += width(*c) + kGap;
        }
        p.drawLine(QPointF(x, y), QPointF(x, top));
        p.drawLine(QPointF(x, bottom), QPointF(x, y + h));
        p.drawLine(QPointF(axes.front(), top), QPointF(axes.back(), top));
        p.drawLine(QPointF(axes.front(), bottom), QPointF(axes.back(), bottom));
        for (std::size_t i = 0; i + 1 < axes.size(); ++i) {
            dot(p, QPointF(axes[i], top));
            dot(p, QPointF(axes[i], bottom));
        }
    }
    void drawLinks(QPainter& p) {
        for (const auto& [key, points] : links)
            for (std::size_t i = 0; i + 1 < points.size(); ++i) dashed(p, points[i], points[i + 1]);
    }
};

NodePtr controlCircuit(Exercise e) {
    auto head = [] { return std::make_pair(el(Sym::Fuse, "FU2"), el(Sym::ThermalNc, "FR")); };
    auto [fu, fr] = head();
    switch (e) {
        case Exercise::ContinuousRun:
            return ser(std::move(fu), std::move(fr), el(Sym::PushNc, "SB1"),
                       par(el(Sym::PushNo, "SB2"), el(Sym::No, "KM")), el(Sym::Coil, "KM"));
        case Exercise::Jog:
            return ser(std::move(fu), std::move(fr), el(Sym::PushNo, "SB"), el(Sym::Coil, "KM"));
        case Exercise::ContinuousJog:
            return ser(std::move(fu), std::move(fr), el(Sym::PushNc, "SB1"),
                       par(el(Sym::PushNo, "SB2"), el(Sym::PushNo, "SB3", "sb3"),
                           ser(el(Sym::PushNc, "SB3", "sb3"), el(Sym::No, "KM"))),
                       el(Sym::Coil, "KM"));
        case Exercise::ForwardReverse:
            return ser(std::move(fu), std::move(fr), el(Sym::PushNc, "SB1"),
                       par(ser(par(el(Sym::PushNo, "SB2"), el(Sym::No, "KM1")), el(Sym::Nc, "KM2"),
                               el(Sym::Coil, "KM1")),
                           ser(par(el(Sym::PushNo, "SB3"), el(Sym::No, "KM2")), el(Sym::Nc, "KM1"),
                               el(Sym::Coil, "KM2"))));
        case Exercise::DoubleInterlock:
            return ser(
                std::move(fu), std::move(fr), el(Sym::PushNc, "SB1"),
                par(ser(par(el(Sym::PushNo, "SB2", "sb2"), el(Sym::No, "KM1")),
                        el(Sym::PushNc, "SB3", "sb3"), el(Sym::Nc, "KM2"), el(Sym::Coil, "KM1")),
                    ser(par(el(Sym::PushNo, "SB3", "sb3"), el(Sym::No, "KM2")),
                        el(Sym::PushNc, "SB2", "sb2"), el(Sym::Nc, "KM1"), el(Sym::Coil, "KM2"))));
        case Exercise::MultiLocation:
            return ser(std::move(fu), std::move(fr), el(Sym::PushNc, "SB1"), el(Sym::PushNc, "SB2"),
                       el(Sym::PushNc, "SB3"),
                       par(el(Sym::PushNo, "SB4"), el(Sym::PushNo, "SB5"), el(Sym::PushNo, "SB6"),
                           el(Sym::No, "KM")),
                       el(Sym::Coil, "KM"));
    }
    return nullptr;
}

bool reversing(Exercise e) {
    return e == Exercise::ForwardReverse || e == Exercise::DoubleInterlock;
}

// Three (or four) poles side by side with a dashed link between them.
void poleRow(QPainter& p, Sym s, const double* xs, int n, double y0, double y1,
             const QString& name) {
    QPointF first, last;
    for (int i = 0; i < n; ++i) {
        const QPointF link = symbol(p, s, xs[i], y0, y1);
        if (i == 0) first = link;
        last = link;
    }
    dashed(p, first + QPointF(-16, 0), last);
    label(p, QPointF(first.x() - 58, first.y()), name);
}

void heaters(QPainter& p, const double* xs, double y0, double y1) {
    const double c = (y0 + y1) / 2;
    for (int i = 0; i < 3; ++i) {
        const double x = xs[i];
        p.drawLine(QPointF(x, y0), QPointF(x, c - 10));
        p.drawLine(QPointF(x, c + 10), QPointF(x, y1));
        p.drawPolyline(
            QPolygonF({QPointF(x, c - 10), QPointF(x - 7, c - 10), QPointF(x - 7, c + 2),
                       QPointF(x + 7, c + 2), QPointF(x + 7, c + 10), QPointF(x, c + 10)}));
    }
    p.drawRect(QRectF(xs[0] - 16, c - 18, xs[2] - xs[0] + 32, 36));
    label(p, QPointF(xs[0] - 58, c), "FR");
}

void mainCircuit(QPainter& p, Exercise e) {
    const char* names[4] = {"L1", "L2", "L3", "N"};
    for (int i = 0; i < 4; ++i) {
        drawCentred(p, QRectF(kPhaseX[i] - 20, 18, 40, 24), names[i], latinFont(15, true), kBlack);
        dot(p, QPointF(kPhaseX[i], kTopY));
    }
    poleRow(p, Sym::No, kPhaseX, 4, kTopY, 138, "QS");
    // N turns right to feed the control circuit; L3 is tapped for its return.
    p.drawLine(QPointF(kPhaseX[3], 138), QPointF(kPhaseX[3], kNRailY));
    p.drawLine(QPointF(kPhaseX[2], 138), QPointF(kPhaseX[2], 186));
    for (int i = 0; i < 2; ++i) p.drawLine(QPointF(kPhaseX[i], 138), QPointF(kPhaseX[i], 186));
    dot(p, QPointF(kPhaseX[2], kL3TapY));
    p.drawLine(QPointF(kPhaseX[2], kL3TapY), QPointF(kReturnX, kL3TapY));
    p.drawLine(QPointF(kReturnX, kL3TapY), QPointF(kReturnX, kBottomRailY));

    poleRow(p, Sym::Fuse, kPhaseX, 3, 186, 250, "FU1");
    const double fy0 = 400, fy1 = 470;
    if (!reversing(e)) {
        poleRow(p, Sym::No, kPhaseX, 3, 250, 400, "KM");
    } else {
        const double km2X[3] = {272, 314, 356};
        for (int i = 0; i < 3; ++i) {
            const double yTop = 276 - 8 * i, yBottom = 364 + 8 * (2 - i);
            // KM2 takes the phases in order and gives them back with L1 and L3 swapped.
            dot(p, QPointF(kPhaseX[i], yTop));
            p.drawLine(QPointF(kPhaseX[i], yTop), QPointF(km2X[i], yTop));
            p.drawLine(QPointF(km2X[i], yTop), QPointF(km2X[i], 290));
            p.drawLine(QPointF(km2X[i], 350), QPointF(km2X[i], yBottom));
            p.drawLine(QPointF(km2X[i], yBottom), QPointF(kPhaseX[2 - i], yBottom));
            dot(p, QPointF(kPhaseX[2 - i], yBottom));
        }
        for (int i = 0; i < 3; ++i) p.drawLine(QPointF(kPhaseX[i], 250), QPointF(kPhaseX[i], 290));
        for (int i = 0; i < 3; ++i) p.drawLine(QPointF(kPhaseX[i], 350), QPointF(kPhaseX[i], fy0));
        QPointF first, last;
        for (int i = 0; i < 3; ++i) {
            const QPointF l1 = symbol(p, Sym::No, kPhaseX[i], 290, 350);
            if (i == 0) first = l1;
            last = symbol(p, Sym::No, km2X[i], 290, 350);
        }
        dashed(p, first + QPointF(-16, 0), QPointF(kPhaseX[2] - 6.5, first.y()));
        dashed(p, QPointF(km2X[0] - 6.5, last.y()), last);
        label(p, QPointF(first.x() - 58, first.y()), "KM1");
        label(p, QPointF(km2X[2] + 10, last.y()), "KM2");
    }
    heaters(p, kPhaseX, fy0, fy1);
    // Motor.
    const QPointF m(kPhaseX[1], 556);
    const double r = 46;
    p.drawLine(QPointF(kPhaseX[0], fy1), QPointF(kPhaseX[0], 500));
    p.drawLine(QPointF(kPhaseX[0], 500), m + QPointF(-r * 0.7, -r * 0.7));
    p.drawLine(QPointF(kPhaseX[1], fy1), m + QPointF(0, -r));
    p.drawLine(QPointF(kPhaseX[2], fy1), QPointF(kPhaseX[2], 500));
    p.drawLine(QPointF(kPhaseX[2], 500), m + QPointF(r * 0.7, -r * 0.7));
    p.setBrush(Qt::white);
    p.drawEllipse(m, r, r);
    p.setBrush(Qt::NoBrush);
    drawCentred(p, QRectF(m.x() - r, m.y() - 30, 2 * r, 32), "M", latinFont(24, true), kBlack);
    drawCentred(p, QRectF(m.x() - r, m.y() + 2, 2 * r, 24), "3~", latinFont(17), kBlack);
}

QString title(Exercise e) {
    switch (e) {
        case Exercise::ContinuousRun:
            return QStringLiteral("接触器自锁控制电路");
        case Exercise::Jog:
            return QStringLiteral("点动控制电路");
        case Exercise::ContinuousJog:
            return QStringLiteral("长动与点动控制电路");
        case Exercise::ForwardReverse:
            return QStringLiteral("接触器联锁正反转控制电路");
        case Exercise::DoubleInterlock:
            return QStringLiteral("双重联锁正反转控制电路");
        case Exercise::MultiLocation:
            return QStringLiteral("多地控制电路");
    }
    return {};
}

}  // namespace

std::string exerciseName(Exercise e) {
    switch (e) {
        case Exercise::ContinuousRun:
            return "continuous_run";
        case Exercise::Jog:
            return "jog";
        case Exercise::ContinuousJog:
            return "continuous_jog";
        case Exercise::ForwardReverse:
            return "forward_reverse";
        case Exercise::DoubleInterlock:
            return "double_interlock";
        case Exercise::MultiLocation:
            return "multi_location";
    }
    return {};
}

std::string exerciseWindow(Exercise e) {
    switch (e) {
        case Exercise::ContinuousRun:
            return "ContinuousRunExercise";
        case Exercise::Jog:
            return "JogExercise";
        case Exercise::ContinuousJog:
            return "ContinuousJogExercise";
        case Exercise::ForwardReverse:
            return "ForwardReverseExercise";
        case Exercise::DoubleInterlock:
            return "DoubleInterlockExercise";
        case Exercise::MultiLocation:
            return "MultiLocationExercise";
    }
    return {};
}

QImage drawSchematic(Exercise e) {
    QImage img = canvas(kSchematicSize, kSchematicSize, Qt::white);
    QPainter p(&img);
    prepare(p);
    p.setPen(QPen(kBlack, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    mainCircuit(p, e);

    Ladder ladder;
    NodePtr control = controlCircuit(e);
    const double top = kNRailY + 8, available = kBottomRailY - top;
    ladder.elemH = std::min(64.0, 62.0 * available / ladder.height(*control));
    const double x = kControlLeft + ladder.axis(*control);
    p.drawLine(QPointF(kPhaseX[3], kNRailY), QPointF(x, kNRailY));
    p.drawLine(QPointF(x, kNRailY), QPointF(x, top));
    ladder.draw(p, *control, x, top, kBottomRailY - top);
    p.drawLine(QPointF(kReturnX, kBottomRailY), QPointF(x, kBottomRailY));
    ladder.drawLinks(p);

    drawCentred(p, QRectF(44, 620, 200, 30), QStringLiteral("主电路"), chineseFont(17), kBlack);
    drawCentred(p, QRectF(kControlLeft, 680, 360, 30), QStringLiteral("控制电路"), chineseFont(17),
                kBlack);
    p.setPen(QPen(kBlack, 1.5));
    p.drawRect(QRectF(6, 6, kSchematicSize - 12, kSchematicSize - 12));
    p.drawLine(QPointF(6, 716), QPointF(kSchematicSize - 6, 716));
    drawCentred(p, QRectF(6, 716, kSchematicSize - 12, 46), title(e), chineseFont(22, true),
                kBlack);
    return img;
}

}  // namespace wt::assets
