// Common ground of the ContinuousRunExercise scenarios: a fresh program with the window open,
// and readings of its wiring state by UTF-8 name.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/continuous_run/continuous_run.h"
#include "form_ids.h"
#include "tests/support/test_host.h"
#include "tests/support/wiring_probe.h"
#include "ui/gbk.h"
#include "ui/properties.h"

namespace wt::test {

// Text colours, red in the low byte.
inline constexpr std::int32_t kGreen = 65280;
inline constexpr std::int32_t kRed = 255;

// Every terminal clicked in an order that the rules accept; it shows all 39 wire labels.
inline constexpr std::string_view kFullWiring =
    "a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 "
    "sb2 sb4 c4 sb4 w2 sb3 b4";

class ContinuousRunTest : public ::testing::Test {
  protected:
    TestHost host;
    ex::ContinuousRun& cr = host.exercises.continuousRun;
    WindowRef win = host.open(forms::ContinuousRunExercise);

    void SetUp() override { host.effects(); }

    void clicks(std::string_view terminals) { host.clickAll(win, terminals); }
    void removeAt(std::string_view terminals) {
        host.setRemoveMode(win, true);
        host.clickAll(win, terminals);
        host.setRemoveMode(win, false);
    }
    void pressPower() { host.mouseDown(win, "透明标签1"); }
    void pressStart() { host.click(win, "按钮开"); }
    void pressStop() { host.click(win, "按钮关"); }

    // The wire labels that read visible.
    Names shown() { return shownLabels(host, win, cr.wiring); }
    // The terminals whose flag is 1.
    Names marked() const { return markedTerminals(cr.wiring); }
    Names allLabels() const { return labelNames(cr.wiring); }
    Names allTerminals() const { return terminalNames(cr.wiring); }
    std::int32_t color(std::string_view control) {
        return host.integer(win, control, prop::TextColor);
    }
    void reopen() {
        host.close(win);
        win = host.open(forms::ContinuousRunExercise);
    }
};

}  // namespace wt::test
