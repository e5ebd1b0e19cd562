// The one fixture of the exercise scenarios: a fresh program (its own TestHost, so every scenario
// starts from the flags of a fresh program) with the window open and the effects of opening it
// taken, clicks and presses, readings of the wiring state by UTF-8 name, and waits for what a
// start thread records. Each window's fixture.h names its presses and wirings on top of it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "exercises/ops.h"
#include "exercises/registry.h"
#include "form_ids.h"
#include "resources/gbk.h"
#include "tests/support/test_host.h"
#include "tests/support/wiring_probe.h"
#include "ui/properties.h"

namespace wt::test {

template <typename Exercise, Exercise ex::Exercises::*kMember, std::uint32_t kWindow>
class ExerciseTest : public ::testing::Test {
  protected:
    TestHost host;
    Exercise& exercise = host.exercises.*kMember;
    WindowRef win = host.open(kWindow);

    void SetUp() override { host.effects(); }

    void clicks(std::string_view terminals) { host.clickAll(win, terminals); }
    // Clicks with the edit-wire box ticked, then unticks it.
    void removeAt(std::string_view terminals) {
        host.setRemoveMode(win, true);
        host.clickAll(win, terminals);
        host.setRemoveMode(win, false);
    }
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
    // The power switch: a press on the transparent label over its picture.
    void pressPower() { host.mouseDown(win, "透明标签1"); }
    // A press that only starts a thread; waits until that thread recorded `last`.
    void pressAndWaitFor(std::string_view button, const Effect& last) {
        host.mouseDown(win, button);
        ASSERT_TRUE(eventually([&] {
            for (const Effect& e : host.platform.snapshot())
                if (!e.fromGuiThread && e.describe() == last.describe()) return true;
            return false;
        })) << "the start thread never recorded "
            << last.describe();
    }

    // The wire labels that read visible.
    Names shown() { return shownLabels(host, win, exercise.wiring); }
    // The terminals whose flag is 1.
    Names marked() const { return markedTerminals(exercise.wiring); }
    Names allLabels() const { return labelNames(exercise.wiring); }
    Names allTerminals() const { return terminalNames(exercise.wiring); }
    std::int32_t flag(std::string_view terminal) const { return exercise.wiring.flag(terminal); }
    std::int32_t color(std::string_view control) {
        return host.integer(win, control, prop::TextColor);
    }
    void reopen() {
        host.close(win);
        win = host.open(kWindow);
    }
};

}  // namespace wt::test
