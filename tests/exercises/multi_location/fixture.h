// Shared set-up of the multi-location scenarios: a fresh program with the window open, and a
// small click script where "-x" is a remove-mode click on terminal x.
#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/multi_location/multi_location.h"
#include "tests/support/exercise_fixture.h"

namespace wt::test::ml {

// Every terminal once, in an order in which each click draws what it can: the whole circuit.
inline constexpr std::string_view kFullWiring =
    "a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e5 sb2 e4 sb4 sb1 sb6 sb3 "
    "w2 s1 s3 s5 b4 c4 s6 s4 s2 sb5";

class MultiLocationTest : public ExerciseTest<ex::MultiLocation, &ex::Exercises::multiLocation,
                                              forms::MultiLocationExercise> {
  protected:
    // These scenarios read the effects of opening the window too.
    void SetUp() override {}

    ex::MultiLocation& ml() { return exercise; }
    WindowRef& w = win;

    // Runs a click script; remove-mode clicks tick the edit-wire box only for their click.
    void run(std::string_view script) {
        for (const std::string& step : words(script)) {
            if (step.front() == '-') {
                host.setRemoveMode(w, true);
                host.click(w, step.substr(1));
                host.setRemoveMode(w, false);
            } else {
                host.click(w, step);
            }
        }
    }
    void wireAll() { run(kFullWiring); }

    // Wire labels (UTF-8) of the window that read visible, sorted.
    std::vector<std::string> shownWires() {
        std::vector<std::string> v = host.visibleOf(w, ml().wiring.allLabels());
        std::sort(v.begin(), v.end());
        return v;
    }
    std::set<std::string> groupLabels(int group) {
        std::set<std::string> out;
        for (const std::string& gbkName : ml().wiring.groupLabels(group)) out.insert(utf8(gbkName));
        return out;
    }
    std::vector<std::string> labelsOf(const std::vector<int>& groups) {
        std::set<std::string> all;
        for (int g : groups) all.merge(groupLabels(g));
        return {all.begin(), all.end()};
    }
    std::vector<std::string> allWires() {
        std::vector<int> every;
        for (int g = 1; g <= ml().wiring.groupCount(); ++g) every.push_back(g);
        return labelsOf(every);
    }

    std::int32_t textColor(std::string_view control) {
        return host.integer(w, control, prop::TextColor);
    }
};

}  // namespace wt::test::ml
