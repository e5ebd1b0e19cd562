// The wiring table of the MultiLocationExercise window, as data for the shared wiring engine.
#pragma once

#include "exercises/wiring.h"

namespace wt::ex {

wiring::Table multiLocationTable();

}  // namespace wt::ex
