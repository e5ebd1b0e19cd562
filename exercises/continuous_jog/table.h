// The wiring table of the ContinuousJogExercise window, as data for the shared wiring engine.
#pragma once

#include <atomic>
#include <cstdint>

#include "exercises/wiring.h"

namespace wt::ex {

// The circuit's 33 terminals and 20 wire groups. The start-button terminals sb2 and sb4 carry
// own steps that use sb4's `tag` as a one-bit memory and `memoryToggle`, which the table's steps
// read and write.
wiring::Table continuousJogTable(std::atomic<std::int32_t>& memoryToggle);

}  // namespace wt::ex
