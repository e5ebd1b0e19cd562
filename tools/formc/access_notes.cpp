#include "tools/formc/access_notes.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <tuple>

namespace wt::access {
namespace {

enum class Side { Top, Left, Right, Bottom };

// Terminal centres closer than this in height count as one row.
constexpr int kRowTolerance = 12;
// A row of at least this many terminals sits on the top or bottom side of its component,
// however near a corner it starts.
constexpr int kRowMinimum = 3;

int centreX(const Rect& r) {
    return r.left + r.width / 2;
}
int centreY(const Rect& r) {
    return r.top + r.height / 2;
}

bool holds(const Rect& outer, int x, int y) {
    return x >= outer.left && x < outer.left + outer.width && y >= outer.top &&
           y < outer.top + outer.height;
}

long long area(const Rect& r) {
    return static_cast<long long>(r.width) * r.height;
}

// The smallest component (other than a text tag) whose rectangle holds the actor's centre, or -1.
int ownerOf(const std::vector<Component>& components, const Actor& actor) {
    int best = -1;
    for (std::size_t i = 0; i < components.size(); ++i) {
        const Component& c = components[i];
        if (c.type == "text" || c.rect.width <= 0 || c.rect.height <= 0) continue;
        if (!holds(c.rect, centreX(actor.rect), centreY(actor.rect))) continue;
        if (best < 0 || area(c.rect) < area(components[best].rect)) best = static_cast<int>(i);
    }
    return best;
}

// The nearest edge, with distances taken as shares of the component's width and height, so a
// wide, shallow component does not pull every terminal to its top or bottom. A long row of
// terminals is on the top or bottom, whichever half of the component it lies in.
Side sideOf(const Rect& box, const Rect& terminal, int rowSize) {
    const double x = centreX(terminal), y = centreY(terminal);
    const double u = (x - box.left) / box.width, v = (y - box.top) / box.height;
    if (rowSize >= kRowMinimum) return v < 0.5 ? Side::Top : Side::Bottom;
    const double top = v, bottom = 1.0 - v, left = u, right = 1.0 - u;
    const double nearest = std::min({top, bottom, left, right});
    if (nearest == top) return Side::Top;
    if (nearest == bottom) return Side::Bottom;
    return nearest == left ? Side::Left : Side::Right;
}

const char* sideWord(Side side) {
    switch (side) {
        case Side::Top:
            return "上端";
        case Side::Left:
            return "左端";
        case Side::Right:
            return "右端";
        case Side::Bottom:
            return "下端";
    }
    return "";
}

// Position along the side: left to right on top and bottom, top to bottom on the others.
int along(Side side, const Rect& r) {
    return side == Side::Top || side == Side::Bottom ? centreX(r) : centreY(r);
}

}  // namespace

std::vector<Note> describe(const std::vector<Component>& components,
                           const std::vector<Actor>& actors) {
    const std::size_t n = actors.size();
    std::vector<int> owner(n);
    std::vector<Side> side(n, Side::Top);
    for (std::size_t i = 0; i < n; ++i) owner[i] = ownerOf(components, actors[i]);

    auto terminalOf = [&](std::size_t i, int component) {
        return actors[i].kind == ActorKind::Terminal && owner[i] == component && component >= 0;
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (!terminalOf(i, owner[i])) continue;
        int row = 0;
        for (std::size_t j = 0; j < n; ++j)
            if (terminalOf(j, owner[i]) &&
                std::abs(centreY(actors[j].rect) - centreY(actors[i].rect)) <= kRowTolerance)
                ++row;
        side[i] = sideOf(components[owner[i]].rect, actors[i].rect, row);
    }

    std::vector<Note> notes(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Actor& a = actors[i];
        Note& note = notes[i];
        note.name = a.name;
        note.spoken = a.spoken;
        note.description = a.hint;
        if (owner[i] < 0) {
            if (note.description.empty() && a.kind == ActorKind::Terminal)
                note.description = a.part;
            continue;
        }
        const Component& c = components[owner[i]];
        const std::string tag = c.caption.empty() ? c.label : c.caption + " " + c.label;
        if (a.kind != ActorKind::Terminal) {
            if (note.spoken.empty())
                note.spoken = c.caption.empty() ? c.label : c.label + " " + c.caption;
            continue;
        }
        if (!note.description.empty()) continue;
        int pole = 1, poles = 0;
        for (std::size_t j = 0; j < n; ++j) {
            if (!terminalOf(j, owner[i]) || side[j] != side[i] || actors[j].part != a.part)
                continue;
            ++poles;
            const int pj = along(side[j], actors[j].rect), pi = along(side[i], a.rect);
            if (pj < pi || (pj == pi && j < i)) ++pole;
        }
        note.description = tag + "，";
        if (!a.part.empty()) note.description += a.part + "，";
        note.description += sideWord(side[i]);
        if (poles > 1) note.description += "第" + std::to_string(pole) + "极";
    }

    // Tab order: by component, then buttons before terminals, sides in a fixed order, and the
    // position along the side; controls on no component in reading order after all others.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    auto key = [&](std::size_t i) {
        const Rect& r = actors[i].rect;
        const bool unowned = owner[i] < 0;
        const bool terminal = actors[i].kind == ActorKind::Terminal && !unowned;
        return std::tuple(unowned ? 1 : 0, unowned ? 0 : owner[i], terminal ? 1 : 0,
                          terminal ? static_cast<int>(side[i]) : 0,
                          terminal ? along(side[i], r) : r.top, terminal ? 0 : r.left, i);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    for (std::size_t k = 0; k < n; ++k) notes[order[k]].order = static_cast<int>(k);
    return notes;
}

}  // namespace wt::access
