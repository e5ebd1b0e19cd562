#include "ui/layout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wt::layout {
namespace {

int scaled(int v, double s) {
    return static_cast<int>(std::lround(v * s));
}

// Edges rounded one by one; a non-empty extent never collapses to nothing.
std::pair<int, int> span(int start, int length, double s) {
    const int a = scaled(start, s);
    int b = scaled(start + length, s);
    if (length > 0 && b <= a) b = a + 1;
    return {a, std::max(0, b - a)};
}

// Where an extent of `size` goes inside [lo, hi): at `wanted`, pushed back inside if it sticks
// out, at `lo` when it is too large anyway.
int clampStart(int wanted, int size, int lo, int hi) {
    return std::max(lo, std::min(wanted, hi - size));
}

}  // namespace

Rect ContentFit::mapInside(const Rect& stored) const {
    const auto [x, w] = span(stored.left, stored.width, scale);
    const auto [y, h] = span(stored.top, stored.height, scale);
    return Rect{x, y, w, h};
}

Rect ContentFit::map(const Rect& stored) const {
    Rect r = mapInside(stored);
    r.left += offset.x;
    r.top += offset.y;
    return r;
}

Point ContentFit::toStored(Point client) const {
    return Point{static_cast<int>(std::floor((client.x - offset.x) / scale)),
                 static_cast<int>(std::floor((client.y - offset.y) / scale))};
}

int ContentFit::fontPixels(int storedPixels) const {
    return std::max(1, scaled(storedPixels, scale));
}

ContentFit fitContent(Size stored, Size client) {
    if (stored.empty() || client.empty()) return {};
    const double s =
        std::min(double(client.width) / stored.width, double(client.height) / stored.height);
    ContentFit fit;
    fit.scale = s;
    const Size used{scaled(stored.width, s), scaled(stored.height, s)};
    fit.offset = Point{(client.width - used.width) / 2, (client.height - used.height) / 2};
    return fit;
}

Placement placeWindow(Size stored, Margins frame, const Rect& available, Point preferred) {
    Placement place;
    const int frameW = frame.left + frame.right, frameH = frame.top + frame.bottom;
    const int roomW = available.width - frameW, roomH = available.height - frameH;
    place.client = stored;
    if (stored.width > roomW || stored.height > roomH) {
        // Round the client size down so that it stays inside; the scale is what the content
        // will really be drawn at in that client area.
        const double s = std::min(double(std::max(1, roomW)) / std::max(1, stored.width),
                                  double(std::max(1, roomH)) / std::max(1, stored.height));
        place.client = Size{std::max(1, static_cast<int>(std::floor(stored.width * s))),
                            std::max(1, static_cast<int>(std::floor(stored.height * s)))};
        place.scale = fitContent(stored, place.client).scale;
    }
    const Size outer{place.client.width + frameW, place.client.height + frameH};
    place.framePos = Point{
        clampStart(preferred.x, outer.width, available.left, available.left + available.width),
        clampStart(preferred.y, outer.height, available.top, available.top + available.height)};
    return place;
}

}  // namespace wt::layout
