// The wiring table of the DoubleInterlockExercise window, as data for the shared wiring engine.
#pragma once

#include "exercises/wiring.h"

namespace wt::ex::double_interlock {

wiring::Table table();

}  // namespace wt::ex::double_interlock
