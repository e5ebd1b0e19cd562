// Common ground of the ForwardReverseExercise scenarios: a fresh program with the window open,
// readings of its wiring state by UTF-8 name, and the presses of its controls.
#pragma once

#include <string_view>

#include "exercises/forward_reverse/forward_reverse.h"
#include "tests/support/exercise_fixture.h"

namespace wt::test::fr {

// Every terminal clicked in an order the rules accept: each M end before its C end, sb5 and sb6
// marked early through their latches (partner still unmarked) so that g4 and sb2 find them, and
// sb4 clicked three times (mark, latch, mark) before sb2 needs it. It draws all 86 wire labels and
// leaves only sb5 and sb6 unmarked, which the start's flag synchronisation makes good.
inline constexpr std::string_view kFullWiring =
    "a1 b1 a2 b2 a3 b3 a4 f1 w1 g1 g2 g3 c1 d1 c2 d2 c3 d3 h3 h2 h1 e1 e2 e3 m1 f2 e5 "
    "h5 b4 sb3 sb5 g4 c5 sb5 sb1 e4 w3 w2 g5 w4 b5 sb4 c4 sb4 sb4 sb6 sb2 h4 sb6";

class ForwardReverseTest : public ExerciseTest<ex::ForwardReverse, &ex::Exercises::forwardReverse,
                                               forms::ForwardReverseExercise> {
  protected:
    ex::ForwardReverse& fr = exercise;

    void wireAll() { clicks(kFullWiring); }
    void pressStop() { host.click(win, "按钮1"); }
    void pressForward() { host.click(win, "按钮2"); }
    void pressReverse() { host.click(win, "按钮3"); }
};

}  // namespace wt::test::fr
