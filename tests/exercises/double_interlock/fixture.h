// Common ground of the DoubleInterlockExercise scenarios: a fresh program with the window open,
// readings of its wiring state by UTF-8 name, and the presses of its controls.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/double_interlock/double_interlock.h"
#include "form_ids.h"
#include "tests/support/test_host.h"
#include "tests/support/wiring_probe.h"
#include "ui/gbk.h"
#include "ui/properties.h"

namespace wt::test::di {

// Every terminal clicked in an order the rules accept: each M end before its C end, c1 before d1
// before g4 (so that g4 restores c1's mark from the drawn c1线), sb6 marked early through its
// latch so that sb2 finds it, and sb4 clicked three times (mark, latch, mark) before sb2 needs
// it. It draws all 94 wire labels and leaves only sb6 unmarked, which the start's flag
// synchronisation makes good.
inline constexpr std::string_view kFullWiring =
    "a1 b1 a2 b2 a3 b3 a4 f1 w1 h2 h3 h4 c1 d1 g4 c2 d2 c3 d3 g3 g2 e1 e2 e3 m1 f2 e5 "
    "c5 s1 s2 b4 s4 sb3 h5 sb5 g1 s3 w3 w2 h1 w4 b5 sb0 e4 sb4 c4 sb4 sb4 sb6 sb2 g5 sb6";

class DoubleInterlockTest : public ::testing::Test {
  protected:
    TestHost host;
    ex::DoubleInterlock& di = host.exercises.doubleInterlock;
    WindowRef win = host.open(forms::DoubleInterlockExercise);

    void SetUp() override { host.effects(); }

    void clicks(std::string_view terminals) { host.clickAll(win, terminals); }
    void removeAt(std::string_view terminals) {
        host.setRemoveMode(win, true);
        host.clickAll(win, terminals);
        host.setRemoveMode(win, false);
    }
    void wireAll() { clicks(kFullWiring); }
    void pressPower() { host.mouseDown(win, "透明标签1"); }
    void pressStop() { host.click(win, "按钮1"); }
    void pressForward() { host.click(win, "按钮2"); }
    void pressReverse() { host.click(win, "按钮3"); }

    Names shown() { return shownLabels(host, win, di.wiring); }
    Names marked() const { return markedTerminals(di.wiring); }
    Names allLabels() const { return labelNames(di.wiring); }
    Names allTerminals() const { return terminalNames(di.wiring); }
    std::int32_t flag(std::string_view terminal) const { return di.wiring.flag(terminal); }
    std::int32_t color(std::string_view control) {
        return host.integer(win, control, prop::TextColor);
    }
    void reopen() {
        host.close(win);
        win = host.open(forms::DoubleInterlockExercise);
    }
};

}  // namespace wt::test::di
