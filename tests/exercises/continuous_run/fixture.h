// Common ground of the ContinuousRunExercise scenarios: a fresh program with the window open,
// and readings of its wiring state by UTF-8 name.
#pragma once

#include <string_view>

#include "exercises/continuous_run/continuous_run.h"
#include "tests/support/exercise_fixture.h"

namespace wt::test {

// Text colours, red in the low byte.
inline constexpr std::int32_t kGreen = 65280;
inline constexpr std::int32_t kRed = 255;

// Every terminal clicked in an order that the rules accept; it shows all 39 wire labels.
inline constexpr std::string_view kFullWiring =
    "a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 "
    "sb2 sb4 c4 sb4 w2 sb3 b4";

class ContinuousRunTest : public ExerciseTest<ex::ContinuousRun, &ex::Exercises::continuousRun,
                                              forms::ContinuousRunExercise> {
  protected:
    ex::ContinuousRun& cr = exercise;

    void pressStart() { host.click(win, "按钮开"); }
    void pressStop() { host.click(win, "按钮关"); }
};

}  // namespace wt::test
