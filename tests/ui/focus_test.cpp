// Keyboard and screen-reader access worked out from the embedded forms: names, Tab order and the
// controls the arrow keys move to.
#include "ui/focus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "form_ids.h"
#include "resources/embedded_forms.h"
#include "resources/gbk.h"

namespace wt::focus {
namespace {

const form::FormResource& forms() {
    static const std::optional<form::FormResource> parsed =
        form::FormResource::parse(form::embeddedFormResource(), wt::forms::kHandlerCount);
    return *parsed;
}

std::vector<Stop> stopsOf(std::uint32_t window) {
    return stops(*forms().find(window));
}

int stopNamed(const std::vector<Stop>& all, std::uint32_t window, const char* control) {
    const form::WindowBlock& block = *forms().find(window);
    for (std::size_t k = 0; k < all.size(); ++k)
        if (utf8(block.records[all[k].index].nameGbk) == control) return static_cast<int>(k);
    return -1;
}

TEST(FocusStops, MenuInTheOrderTheEyeReadsWithCaptionsAsNames) {
    const std::vector<Stop> menu = stopsOf(wt::forms::ExerciseMenu);
    std::vector<std::string> spoken;
    for (const Stop& s : menu) spoken.push_back(s.spoken);
    EXPECT_EQ(spoken, (std::vector<std::string>{"电路点动", "电路长动", "长动点动", "多地控制",
                                                "正反转电路", "双重互锁"}));
    for (std::size_t k = 1; k < menu.size(); ++k) EXPECT_GT(menu[k].at.top, menu[k - 1].at.top);
}

struct NameRow {
    std::uint32_t window;
    const char* control;
    const char* spoken;
    const char* description;
};

class FocusNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(FocusNames, ReadAsTheLearnerSeesThem) {
    const NameRow& row = GetParam();
    const std::vector<Stop> all = stopsOf(row.window);
    const int k = stopNamed(all, row.window, row.control);
    ASSERT_GE(k, 0) << row.control;
    EXPECT_EQ(all[k].spoken, row.spoken);
    if (row.description != nullptr) {
        EXPECT_EQ(all[k].description, row.description);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, FocusNames,
    ::testing::Values(
        NameRow{wt::forms::ContinuousRunExercise, "透明标签1", "QS 电源开关", nullptr},
        NameRow{wt::forms::ContinuousRunExercise, "a1", "a1", "电源开关 QS，下端第1极"},
        NameRow{wt::forms::ContinuousRunExercise, "按钮开", "SB2 启动", nullptr},
        NameRow{wt::forms::ContinuousRunExercise, "选择框", "修改线", nullptr},
        NameRow{wt::forms::JogExercise, "选择框", "修改线", nullptr},
        NameRow{wt::forms::MultiLocationExercise, "选择框", "修改线", nullptr}));

struct MoveRow {
    std::uint32_t window;
    const char* from;
    Direction direction;
    const char* to;
};

class FocusMoves : public ::testing::TestWithParam<MoveRow> {};

TEST_P(FocusMoves, GoToTheNearestControlThatWay) {
    const MoveRow& row = GetParam();
    const std::vector<Stop> all = stopsOf(row.window);
    const int from = stopNamed(all, row.window, row.from);
    ASSERT_GE(from, 0) << row.from;
    EXPECT_EQ(nearest(all, from, row.direction), stopNamed(all, row.window, row.to));
}

INSTANTIATE_TEST_SUITE_P(
    Diagram, FocusMoves,
    ::testing::Values(
        MoveRow{wt::forms::ExerciseMenu, "点动", Direction::Down, "长动"},
        MoveRow{wt::forms::ExerciseMenu, "长动", Direction::Up, "点动"},
        MoveRow{wt::forms::ExerciseMenu, "点动", Direction::Up, "点动"},            // nothing above
        MoveRow{wt::forms::ExerciseMenu, "三重互锁", Direction::Down, "三重互锁"},  // nothing below
        MoveRow{wt::forms::ContinuousRunExercise, "a1", Direction::Right, "a2"},
        MoveRow{wt::forms::ContinuousRunExercise, "a2", Direction::Left, "a1"}));

TEST(FocusMoves, EveryStopOfEveryWindowCanBeReachedByArrows) {
    // From the first stop, the four arrows together reach every control that acts: none is
    // stranded where only Tab finds it.
    for (const form::WindowBlock& block : forms().blocks()) {
        const std::vector<Stop> all = stops(block);
        std::vector<bool> seen(all.size(), false);
        std::vector<int> todo{0};
        seen[0] = true;
        while (!todo.empty()) {
            const int k = todo.back();
            todo.pop_back();
            for (Direction d : {Direction::Left, Direction::Right, Direction::Up, Direction::Down})
                if (const int n = nearest(all, k, d); !seen[n]) {
                    seen[n] = true;
                    todo.push_back(n);
                }
        }
        for (std::size_t k = 0; k < all.size(); ++k)
            EXPECT_TRUE(seen[k]) << utf8(block.records[all[k].index].nameGbk) << " in window "
                                 << block.windowId;
    }
}

}  // namespace
}  // namespace wt::focus
