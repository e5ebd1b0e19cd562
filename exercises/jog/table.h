// The wiring table of the JogExercise window, as data for the shared wiring engine.
#pragma once

#include "exercises/wiring.h"

namespace wt::ex {

// The jog circuit's 25 terminals and 14 wire groups, with plain Mark and Complete rules only.
wiring::Table jogTable();

}  // namespace wt::ex
