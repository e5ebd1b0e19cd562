// Keyboard and screen-reader access to a window, the same on every edition: which controls a
// learner can act on, what a screen reader calls them, the Tab order along the diagram, and the
// control that an arrow key moves to. Worked out from the window's block and the generated
// form_access.h table alone, so the bindings only carry it out.
#pragma once

#include <string>
#include <vector>

#include "resources/form_reader.h"

namespace wt::focus {

// A control the learner can act on: a button, the check box or the power switch's click area.
struct Stop {
    int index = 0;       // control index in the window's block
    std::string spoken;  // accessible name (UTF-8): the table's, else the caption, else the name
    std::string description;  // accessible description and tooltip (UTF-8), may be empty
    form::Geometry at;        // the control's rectangle in window coordinates (stored pixels)
};

bool acts(const form::ControlRecord& record);

// Every control that acts, in Tab order: the table's order, then top to bottom, left to right.
std::vector<Stop> stops(const form::WindowBlock& block);

// The position in `stops` of control `controlIndex`; -1 when that control is not a stop.
int stopOf(const std::vector<Stop>& stops, int controlIndex);

enum class Direction { Left, Right, Up, Down };

// The stop an arrow key moves to from stop `from` (an index into `stops`): the nearest one whose
// centre lies in that direction, distance sideways counting twice distance ahead.
// `from` itself when there is none that way.
int nearest(const std::vector<Stop>& stops, int from, Direction direction);

}  // namespace wt::focus
