// Common ground of the JogExercise scenarios: a fresh program with the window open, readings of
// its wiring state by UTF-8 name, and waits for the start thread that a jog press starts.
#pragma once

#include <string_view>

#include "exercises/jog/jog.h"
#include "tests/support/exercise_fixture.h"

namespace wt::test {

// Every terminal in an order that the rules accept; it shows all 28 wire labels.
inline constexpr std::string_view kJogWiring =
    "a1 b1 a2 b2 a3 b3 w1 a4 f1 f2 e5 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 w2 sb1 sb2 e4";

class JogTest : public ExerciseTest<ex::Jog, &ex::Exercises::jog, forms::JogExercise> {
  protected:
    ex::Jog& jog = exercise;

    // The jog press only starts a thread; pressAndWaitFor waits for what that thread does last.
    void press() { host.mouseDown(win, "按钮1"); }
    void pressAndWaitFor(const Effect& last) { ExerciseTest::pressAndWaitFor("按钮1", last); }
    void release() { host.mouseUp(win, "按钮1"); }
};

}  // namespace wt::test
