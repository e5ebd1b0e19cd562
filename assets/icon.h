// The program's icon: a blue tile with a three-phase motor fed by three coloured wires from
// screw terminals. Drawn as paths only, so it needs no fonts and no application object.
#pragma once

#include <QImage>

namespace wt::assets {

// The icon at `size` × `size` pixels with a transparent surround (ARGB32, premultiplied).
QImage drawIcon(int size);

}  // namespace wt::assets
