// The background of an exercise window: a technical drawing of the circuit's components at the
// places the window's form gives them, with a connection pad under every terminal. The wires are
// not drawn; the learner lays them.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include "assets/form_geometry.h"

namespace wt::assets {

// The drawing's paper colour; anything drawn differs from it.
inline const QColor kDiagramPaper(0xF7, 0xF9, 0xFB);

// `size` empty: the window's client size. Otherwise the drawing is stretched to `size`, each
// axis by its own factor, as the program stretches the background into the window.
QImage drawDiagram(const FormGeometry& form, QSize size = {});

// Size of the diagram file of a window: 2001 x 1126 for the continuous-run window, whose
// background is drawn larger than its client area; the client size for every other window.
QSize diagramSize(const FormGeometry& form);

}  // namespace wt::assets
