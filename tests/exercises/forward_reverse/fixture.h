// Common ground of the ForwardReverseExercise scenarios: a fresh program with the window open,
// readings of its wiring state by UTF-8 name, and the presses of its controls.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/forward_reverse/forward_reverse.h"
#include "form_ids.h"
#include "tests/support/test_host.h"
#include "tests/support/wiring_probe.h"
#include "ui/gbk.h"
#include "ui/properties.h"

namespace wt::test::fr {

// Every terminal clicked in an order the rules accept: each M end before its C end, sb5 and sb6
// marked early through their latches (partner still unmarked) so that g4 and sb2 find them, and
// sb4 clicked three times (mark, latch, mark) before sb2 needs it. It draws all 86 wire labels and
// leaves only sb5 and sb6 unmarked, which the start's flag synchronisation makes good.
inline constexpr std::string_view kFullWiring =
    "a1 b1 a2 b2 a3 b3 a4 f1 w1 g1 g2 g3 c1 d1 c2 d2 c3 d3 h3 h2 h1 e1 e2 e3 m1 f2 e5 "
    "h5 b4 sb3 sb5 g4 c5 sb5 sb1 e4 w3 w2 g5 w4 b5 sb4 c4 sb4 sb4 sb6 sb2 h4 sb6";

class ForwardReverseTest : public ::testing::Test {
  protected:
    TestHost host;
    ex::ForwardReverse& fr = host.exercises.forwardReverse;
    WindowRef win = host.open(forms::ForwardReverseExercise);

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

    Names shown() { return shownLabels(host, win, fr.wiring); }
    Names marked() const { return markedTerminals(fr.wiring); }
    Names allLabels() const { return labelNames(fr.wiring); }
    Names allTerminals() const { return terminalNames(fr.wiring); }
    std::int32_t flag(std::string_view terminal) const { return fr.wiring.flag(terminal); }
    std::int32_t color(std::string_view control) {
        return host.integer(win, control, prop::TextColor);
    }
    void reopen() {
        host.close(win);
        win = host.open(forms::ForwardReverseExercise);
    }
};

}  // namespace wt::test::fr
