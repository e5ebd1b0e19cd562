// Uniform scaling of a stored window layout, shared by the desktop bindings. The model keeps
// every window's stored pixel geometry; a binding alone shows it smaller when a screen is too
// small for it, and larger or smaller when the learner resizes the window. One scale applies to
// everything inside. Plain integer geometry, no toolkit types: each binding converts at its edge.
#pragma once

namespace wt::layout {

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const Size&) const = default;
};

// Left, top, width and height; the last column and row inside are left + width - 1 and
// top + height - 1.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool contains(const Rect& r) const {
        return r.left >= left && r.top >= top && r.left + r.width <= left + width &&
               r.top + r.height <= top + height;
    }
    bool operator==(const Rect&) const = default;
};

// A window frame's thickness on each side.
struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Margins&) const = default;
};

// Where the stored layout lands inside a client area: scaled by `scale` about the origin, then
// moved by `offset`, which centres it.
struct ContentFit {
    double scale = 1.0;
    Point offset;

    // A stored rectangle of a control whose parent is the window. Each edge is rounded on its
    // own, so controls that touch in the stored layout still touch; a control with a size keeps
    // at least one pixel each way.
    Rect map(const Rect& stored) const;
    // The same for a control inside another control: relative to that parent, no offset.
    Rect mapInside(const Rect& stored) const;
    // A point of the client area back in stored coordinates.
    Point toStored(Point client) const;
    // A font's pixel size at this scale (at least 1).
    int fontPixels(int storedPixels) const;
    bool operator==(const ContentFit&) const = default;
};

// The largest uniform scale at which `stored` fits `client`, centred there. A degenerate stored
// size gives scale 1.
ContentFit fitContent(Size stored, Size client);

// How a window opens on a screen: its client size and the position of its frame's top-left
// corner.
struct Placement {
    double scale = 1.0;
    Size client;
    Point framePos;
    bool operator==(const Placement&) const = default;
};

// A window whose stored client size plus `frame` fits `available` opens at scale 1 at `preferred`
// (moved only as far as needed to lie wholly inside). Otherwise it opens at the largest scale
// below 1 whose client plus frame fits, frame included, inside `available`.
Placement placeWindow(Size stored, Margins frame, const Rect& available,
                      Point preferred = Point{50, 50});

}  // namespace wt::layout
