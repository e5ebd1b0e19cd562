// Common ground of the ContinuousJogExercise scenarios: a fresh program with the window open,
// readings of its wiring state by UTF-8 name, and waits for the start thread that a jog press
// starts.
#pragma once

#include <string_view>

#include "exercises/continuous_jog/continuous_jog.h"
#include "tests/support/exercise_fixture.h"

namespace wt::test {

// Every terminal in an order that the rules accept; it shows all 47 wire labels and leaves every
// terminal flag 1. The start-button terminals: sb7 then sb2 wires group 20, sb4 leaves its tag
// memory, sb2 spends it on group 18, sb6 then sb4 wires group 19 and marks sb4.
inline constexpr std::string_view kContinuousJogWiring =
    "a1 b1 a2 b2 a3 b3 w1 a4 f1 f2 e5 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 sb1 e4 "
    "w2 sb3 b4 c4 sb8 sb5 sb7 sb2 sb4 sb2 sb6 sb4";

class ContinuousJogTest : public ExerciseTest<ex::ContinuousJog, &ex::Exercises::continuousJog,
                                              forms::ContinuousJogExercise> {
  protected:
    ex::ContinuousJog& cj = exercise;

    void pressStart() { host.click(win, "按钮2"); }
    void pressStop() { host.click(win, "按钮1"); }
    // The jog press only starts a thread; pressAndWaitFor waits for what that thread does last.
    void press() { host.mouseDown(win, "按钮3"); }
    void pressAndWaitFor(const Effect& last) { ExerciseTest::pressAndWaitFor("按钮3", last); }
    void release() { host.mouseUp(win, "按钮3"); }
    // Jog press with the power open: the thread's last act is the caption, which records no effect.
    void pressAndWaitForCaption(std::string_view text) {
        press();
        ASSERT_TRUE(eventually([&] { return host.caption(win, "标签3") == text; }))
            << "the start thread never wrote " << text;
    }
};

}  // namespace wt::test
