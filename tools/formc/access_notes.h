// What a screen reader says about the controls that act, and the order Tab visits them in,
// worked out from the geometry of a window's form: the diagram components (rectangle, label,
// caption) and the controls that lie on them. Plain structs in, plain structs out, so any form
// reader can feed it.
#pragma once

#include <string>
#include <vector>

namespace wt::access {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct Component {
    std::string label;    // "KM"
    std::string type;     // "contactor"; "text" components carry no controls
    std::string caption;  // "接触器"
    Rect rect;            // window pixels
};

enum class ActorKind { Terminal, Button, Switch, CheckBox };

// A control the learner works: a terminal, a push-button (or menu button), the click area over
// the power switch, the edit-wire check box.
struct Actor {
    std::string name;  // control name
    ActorKind kind = ActorKind::Terminal;
    Rect rect;           // window pixels (picture-box offsets already added)
    std::string part;    // terminals: the part of the component, "主触点"; may be empty
    std::string hint;    // buttons, switch: what it does; replaces the derived description
    std::string spoken;  // an explicit accessible name; replaces the derived one
};

struct Note {
    std::string name;         // control name
    std::string spoken;       // accessible name; empty: the control's own caption or name
    std::string description;  // accessible description and tooltip; may be empty
    int order = 0;            // 0.. Tab order over the window
};

// One note per actor, in the actors' order. A terminal belongs to the smallest component whose
// rectangle holds its centre and is described as "caption label，part，side第n极" (part left out
// when empty, the pole number when the terminal is alone on that side of that part). Buttons and
// the switch on a component are named "label caption". Tab goes component by component as the
// components are listed; within one, the buttons and switch first, then the terminals side by
// side (top, left, right, bottom) along each side; controls on no component come last, in
// reading order.
std::vector<Note> describe(const std::vector<Component>& components,
                           const std::vector<Actor>& actors);

}  // namespace wt::access
