// The background of an exercise window: a technical drawing of the circuit's components at the
// places the window's form gives them, with a connection pad under every terminal. The wires are
// not drawn; the learner lays them.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <optional>
#include <string>
#include <vector>

#include "assets/form_geometry.h"

namespace wt::assets {

// The drawing's paper colour; anything drawn differs from it.
inline const QColor kDiagramPaper(0xF7, 0xF9, 0xFB);

// `size` empty: the window's client size. Otherwise the drawing is stretched to `size`, each
// axis by its own factor, as the program stretches the background into the window.
QImage drawDiagram(const FormGeometry& form, QSize size = {});

// Where the drawing puts what the learner reads, in pixels of the drawing at `size` (empty: the
// window's client size): each component's tag, clear of every control of the form (wire bars
// included, which would hide it once wired), of the other components and of the other tags; and
// the caption "修改线" beside an edit-wire check box that the form stores with no caption and
// no caption label of its own.
struct DiagramTag {
    std::string label;  // the component's
    QRectF rect;
    // Label and caption on one line; else the caption in smaller type under the label, where a
    // one-line tag finds no room; else the label alone.
    enum class Shape { OneLine, TwoLines, LabelOnly } shape = Shape::OneLine;
};
struct DiagramLayout {
    std::vector<DiagramTag> tags;
    std::optional<QRectF> toggleCaption;
};
DiagramLayout layoutDiagram(const FormGeometry& form, QSize size = {});

// The caption the edit-wire check box carries in every window.
inline constexpr const char* kToggleCaption = "修改线";

// Size of the diagram file of a window: 2001 x 1126 for the continuous-run window, whose
// background is drawn larger than its client area; the client size for every other window.
QSize diagramSize(const FormGeometry& form);

}  // namespace wt::assets
