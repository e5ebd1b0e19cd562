// Common ground of the JogExercise scenarios: a fresh program with the window open, readings of
// its wiring state by UTF-8 name, and waits for the start thread that a jog press starts.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "exercises/jog/jog.h"
#include "exercises/ops.h"
#include "form_ids.h"
#include "tests/support/test_host.h"
#include "tests/support/wiring_probe.h"
#include "ui/gbk.h"
#include "ui/properties.h"

namespace wt::test {

// Every terminal in an order that the rules accept; it shows all 28 wire labels.
inline constexpr std::string_view kJogWiring =
    "a1 b1 a2 b2 a3 b3 w1 a4 f1 f2 e5 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 w2 sb1 sb2 e4";

class JogTest : public ::testing::Test {
  protected:
    TestHost host;
    ex::Jog& jog = host.exercises.jog;
    WindowRef win = host.open(forms::JogExercise);

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
    // The jog press only starts a thread; these wait for what that thread does last.
    void press() { host.mouseDown(win, "按钮1"); }
    void pressAndWaitFor(const Effect& last) {
        press();
        ASSERT_TRUE(eventually([&] {
            for (const Effect& e : host.platform.snapshot())
                if (!e.fromGuiThread && e.describe() == last.describe()) return true;
            return false;
        })) << "the start thread never recorded "
            << last.describe();
    }
    void release() { host.mouseUp(win, "按钮1"); }

    Names shown() { return shownLabels(host, win, jog.wiring); }
    Names marked() const { return markedTerminals(jog.wiring); }
    Names allLabels() const { return labelNames(jog.wiring); }
    Names allTerminals() const { return terminalNames(jog.wiring); }
    std::int32_t color(std::string_view control) {
        return host.integer(win, control, prop::TextColor);
    }
    void reopen() {
        host.close(win);
        win = host.open(forms::JogExercise);
    }
};

}  // namespace wt::test
