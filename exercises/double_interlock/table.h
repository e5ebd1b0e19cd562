// The wiring table of the DoubleInterlockExercise window, as data for the shared wiring engine.
#pragma once

#include "exercises/wiring.h"

namespace wt::ex {

wiring::Table doubleInterlockTable();

}  // namespace wt::ex
