// The wiring data of the ContinuousRunExercise window: 17 wire groups and, for each of the 29
// terminals, its remove list and connect actions. The shared engine interprets it.
#pragma once

#include <array>
#include <string_view>

#include "exercises/wiring.h"

namespace wt::ex {

wiring::Table continuousRunTable();

// The terminals the start button tests, in the order it tests them. c3 is left out: d3 can only
// be marked after c3 was, so testing d3 covers it.
inline constexpr std::array<std::string_view, 28> kContinuousRunStartCheck = {
    "a1", "b1", "a2", "b2",  "a3",  "b3",  "c1",  "d1", "c2", "d2", "d3", "e1", "e2", "e3",
    "m1", "w1", "w2", "sb3", "sb4", "sb2", "sb1", "e5", "e6", "f2", "f1", "a4", "b4", "c4"};

}  // namespace wt::ex
