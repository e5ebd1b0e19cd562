// The wiring table of the ForwardReverseExercise window, as data for the shared wiring engine.
#pragma once

#include "exercises/wiring.h"

namespace wt::ex::forward_reverse {

wiring::Table table();

}  // namespace wt::ex::forward_reverse
