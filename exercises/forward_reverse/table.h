// The wiring table of the ForwardReverseExercise window, as data for the shared wiring engine.
#pragma once

#include "exercises/wiring.h"

namespace wt::ex {

wiring::Table forwardReverseTable();

}  // namespace wt::ex
