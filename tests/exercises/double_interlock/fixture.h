// Common ground of the DoubleInterlockExercise scenarios: a fresh program with the window open,
// readings of its wiring state by UTF-8 name, and the presses of its controls.
#pragma once

#include <string_view>

#include "exercises/double_interlock/double_interlock.h"
#include "tests/support/exercise_fixture.h"

namespace wt::test::di {

// Every terminal clicked in an order the rules accept: each M end before its C end, c1 before d1
// before g4 (so that g4 restores c1's mark from the drawn c1线), sb6 marked early through its
// latch so that sb2 finds it, and sb4 clicked three times (mark, latch, mark) before sb2 needs
// it. It draws all 94 wire labels and leaves only sb6 unmarked, which the start's flag
// synchronisation makes good.
inline constexpr std::string_view kFullWiring =
    "a1 b1 a2 b2 a3 b3 a4 f1 w1 h2 h3 h4 c1 d1 g4 c2 d2 c3 d3 g3 g2 e1 e2 e3 m1 f2 e5 "
    "c5 s1 s2 b4 s4 sb3 h5 sb5 g1 s3 w3 w2 h1 w4 b5 sb0 e4 sb4 c4 sb4 sb4 sb6 sb2 g5 sb6";

class DoubleInterlockTest
    : public ExerciseTest<ex::DoubleInterlock, &ex::Exercises::doubleInterlock,
                          forms::DoubleInterlockExercise> {
  protected:
    ex::DoubleInterlock& di = exercise;

    void wireAll() { clicks(kFullWiring); }
    void pressStop() { host.click(win, "按钮1"); }
    void pressForward() { host.click(win, "按钮2"); }
    void pressReverse() { host.click(win, "按钮3"); }
};

}  // namespace wt::test::di
