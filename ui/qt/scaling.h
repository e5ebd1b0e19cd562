// Uniform scaling of a stored window layout. The model keeps every window's stored pixel
// geometry; the Qt binding alone shows it smaller when a screen is too small for it, and larger
// or smaller when the learner resizes the window. One scale applies to everything inside.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace wt::qt {

// Where the stored layout lands inside a client area: scaled by `scale` about the origin, then
// moved by `offset`, which centres it.
struct ContentFit {
    double scale = 1.0;
    QPoint offset;

    // A stored rectangle of a control whose parent is the window. Each edge is rounded on its
    // own, so controls that touch in the stored layout still touch; a control with a size keeps
    // at least one pixel each way.
    QRect map(const QRect& stored) const;
    // The same for a control inside another control: relative to that parent, no offset.
    QRect mapInside(const QRect& stored) const;
    // A point of the client area back in stored coordinates.
    QPoint toStored(QPoint client) const;
    // A font's pixel size at this scale (at least 1).
    int fontPixels(int storedPixels) const;
    bool operator==(const ContentFit&) const = default;
};

// The largest uniform scale at which `stored` fits `client`, centred there. A degenerate stored
// size gives scale 1.
ContentFit fitContent(QSize stored, QSize client);

// How a window opens on a screen: its client size and the position to give QWidget::move (the
// frame's top-left corner).
struct Placement {
    double scale = 1.0;
    QSize client;
    QPoint framePos;
    bool operator==(const Placement&) const = default;
};

// A window whose stored client size plus `frame` fits `available` opens at scale 1 at `preferred`
// (moved only as far as needed to lie wholly inside). Otherwise it opens at the largest scale
// below 1 whose client plus frame fits, frame included, inside `available`.
Placement placeWindow(QSize stored, QMargins frame, const QRect& available,
                      QPoint preferred = QPoint(50, 50));

}  // namespace wt::qt
