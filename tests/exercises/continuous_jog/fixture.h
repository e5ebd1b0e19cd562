// Common ground of the ContinuousJogExercise scenarios: a fresh program with the window open,
// readings of its wiring state by UTF-8 name, and waits for the start thread that a jog press
// starts.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "exercises/continuous_jog/continuous_jog.h"
#include "exercises/ops.h"
#include "form_ids.h"
#include "tests/support/test_host.h"
#include "tests/support/wiring_probe.h"
#include "ui/gbk.h"
#include "ui/properties.h"

namespace wt::test {

// Every terminal in an order that the rules accept; it shows all 47 wire labels and leaves every
// terminal flag 1. The start-button terminals: sb7 then sb2 wires group 20, sb4 leaves its tag
// memory, sb2 spends it on group 18, sb6 then sb4 wires group 19 and marks sb4.
inline constexpr std::string_view kContinuousJogWiring =
    "a1 b1 a2 b2 a3 b3 w1 a4 f1 f2 e5 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 sb1 e4 "
    "w2 sb3 b4 c4 sb8 sb5 sb7 sb2 sb4 sb2 sb6 sb4";

class ContinuousJogTest : public ::testing::Test {
  protected:
    TestHost host;
    ex::ContinuousJog& cj = host.exercises.continuousJog;
    WindowRef win = host.open(forms::ContinuousJogExercise);

    void SetUp() override { host.effects(); }

    // Terminal clicks; the words `remove` and `connect` tick and untick the edit-wire box.
    void script(std::string_view words) {
        for (const std::string& w : test::words(words)) {
            if (w == "remove")
                host.setRemoveMode(win, true);
            else if (w == "connect")
                host.setRemoveMode(win, false);
            else
                host.click(win, w);
        }
    }
    void pressPower() { host.mouseDown(win, "透明标签1"); }
    void pressStart() { host.click(win, "按钮2"); }
    void pressStop() { host.click(win, "按钮1"); }
    // The jog press only starts a thread; these wait for what that thread does last.
    void press() { host.mouseDown(win, "按钮3"); }
    void pressAndWaitFor(const Effect& last) {
        press();
        ASSERT_TRUE(eventually([&] {
            for (const Effect& e : host.platform.snapshot())
                if (!e.fromGuiThread && e.describe() == last.describe()) return true;
            return false;
        })) << "the start thread never recorded "
            << last.describe();
    }
    void release() { host.mouseUp(win, "按钮3"); }
    // Jog press with the power open: the thread's last act is the caption, which records no effect.
    void pressAndWaitForCaption(std::string_view text) {
        press();
        ASSERT_TRUE(eventually([&] { return host.caption(win, "标签3") == text; }))
            << "the start thread never wrote " << text;
    }

    Names shown() { return shownLabels(host, win, cj.wiring); }
    Names marked() const { return markedTerminals(cj.wiring); }
    Names allLabels() const { return labelNames(cj.wiring); }
    Names allTerminals() const { return terminalNames(cj.wiring); }
    std::int32_t color(std::string_view control) {
        return host.integer(win, control, prop::TextColor);
    }
    void reopen() {
        host.close(win);
        win = host.open(forms::ContinuousJogExercise);
    }
};

}  // namespace wt::test
