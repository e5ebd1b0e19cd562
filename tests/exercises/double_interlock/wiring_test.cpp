// Terminal clicks of the DoubleInterlockExercise window: the own rules of c1 and g4, the groups
// marked from both ends, the latches, sb2's extra step, the remove mode and the reset.
#include "fixture.h"

namespace wt::test::di {
namespace {

using Wiring = DoubleInterlockTest;

TEST_F(Wiring, FullWiringDrawsEveryLabelAndLeavesOnlySb6Unmarked) {
    wireAll();
    EXPECT_EQ(shown(), allLabels());
    Names expected = allTerminals();
    expected.erase("sb6");
    EXPECT_EQ(marked(), expected);
}

TEST_F(Wiring, PowerOnLocksEveryTerminalInBothModes) {
    clicks("a1 b1 c1 d1");
    di.power.store(1);
    const Names labels = shown();
    const Names flags = marked();
    clicks("g4 a2 b2 b4 sb3 sb2");
    removeAt("a1 c1 d1");
    EXPECT_EQ(shown(), labels);
    EXPECT_EQ(marked(), flags);
}

TEST_F(Wiring, C1WithdrawsItsMarkWhenD1IsMarkedButG4IsNot) {
    clicks("c1 d1");  // group 8 complete
    EXPECT_EQ(shown(), names("c1线"));
    clicks("c1");
    EXPECT_EQ(shown(), names("c1线"));  // group 11 stays hidden
    EXPECT_EQ(flag("c1"), 0);
    clicks("g4");  // takes c1's mark back from the drawn c1线
    EXPECT_EQ(flag("c1"), 1);
    EXPECT_EQ(flag("g4"), 1);
    EXPECT_EQ(shown(), names("c1线 d1线 d2线 d3线"));
}

TEST_F(Wiring, C1KeepsItsMarkWhileD1IsUnmarked) {
    clicks("c1");
    EXPECT_EQ(flag("c1"), 1);
    EXPECT_EQ(shown(), Names{});
    clicks("g4");
    EXPECT_EQ(shown(), names("d1线 d2线 d3线"));
    clicks("c1");  // g4 marked now: group 11 matched, group 8 hidden (d1 unmarked)
    EXPECT_EQ(shown(), names("d1线 d2线 d3线"));
    EXPECT_EQ(flag("c1"), 1);
}

TEST_F(Wiring, C1SetsBothGroupsToItsPartnersFlags) {
    clicks("c1 d1 g4");
    EXPECT_EQ(shown(), names("c1线 d1线 d2线 d3线"));
    removeAt("d1");  // clears c1 and d1, hides c1线
    clicks("c1");    // d1 unmarked, g4 marked
    EXPECT_EQ(shown(), names("d1线 d2线 d3线"));
    EXPECT_EQ(flag("c1"), 1);
}

TEST_F(Wiring, G4WithoutAMarkedC1OrADrawnC1WireDoesNothing) {
    clicks("g4");
    EXPECT_EQ(flag("g4"), 0);
    EXPECT_EQ(flag("c1"), 0);
    EXPECT_EQ(shown(), Names{});
}

TEST_F(Wiring, GroupsMarkedFromBothEndsAreDrawnBySecondClick) {
    struct Row {
        const char* first;
        const char* second;
        const char* testLabel;
    };
    const Row rows[] = {
        {"b4", "sb3", "h1线"}, {"sb3", "b4", "h1线"}, {"h5", "sb5", "k1线"}, {"sb5", "h5", "k1线"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.first) + " then " + row.second);
        removeAt("b4 sb3 h5 sb5");
        clicks(row.first);
        EXPECT_FALSE(host.visible(win, row.testLabel));
        clicks(row.second);
        EXPECT_TRUE(host.visible(win, row.testLabel));
        // Either end clicked again while the other is marked keeps the group drawn.
        clicks(row.first);
        clicks(row.second);
        EXPECT_TRUE(host.visible(win, row.testLabel));
    }
}

TEST_F(Wiring, LatchShowsItsGroupAndLeavesItsFlagForTheNextClick) {
    clicks("g5 sb6");
    EXPECT_EQ(shown(), names("k5线 k6线 k7线 k8线 k9线 k10线"));
    EXPECT_EQ(flag("sb6"), 0);
    clicks("sb6");
    EXPECT_EQ(flag("sb6"), 1);
    EXPECT_TRUE(host.visible(win, "k5线"));
}

TEST_F(Wiring, EndsWithoutAConnectActionNeverDrawTheirGroup) {
    clicks("sb2 sb4 sb4 sb6 sb6");
    EXPECT_FALSE(host.visible(win, "sb1线"));
    EXPECT_FALSE(host.visible(win, "x1线"));
    removeAt("sb4");  // still removes group 27 (hidden) and clears both of its ends
    EXPECT_EQ(flag("sb2"), 0);
    EXPECT_EQ(flag("sb4"), 0);
}

TEST_F(Wiring, Sb2DropsC4sMarkWhileTheSelfHoldingWireIsMissing) {
    clicks("c4 sb2");
    EXPECT_EQ(flag("c4"), 0);
    clicks("c4 sb4");  // draws h5线
    ASSERT_TRUE(host.visible(win, "h5线"));
    clicks("sb2");
    EXPECT_EQ(flag("c4"), 1);
}

TEST_F(Wiring, TheMotorTrunkBelongsToAllThreeMotorGroups) {
    clicks("e1 e2 e3 m1");
    EXPECT_EQ(shown(), names("e1线 e2线 e3线 e4线 e5线"));
    removeAt("e2");  // group 15 takes e5线 with it
    EXPECT_EQ(shown(), names("e1线 e3线 e4线"));
    EXPECT_EQ(marked(), names("e1 e3"));
    clicks("e2 m1");
    removeAt("m1");
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(marked(), Names{});
}

TEST_F(Wiring, RemovingAHiddenGroupStillClearsBothEnds) {
    clicks("sb0");
    di.wiring.setFlag("e4", 1);
    removeAt("e4");
    EXPECT_EQ(flag("sb0"), 0);
    EXPECT_EQ(flag("e4"), 0);
}

TEST_F(Wiring, OpeningTheWindowResetsTheWiringButNotPowerOrRunning) {
    wireAll();
    di.power.store(1);
    di.running.store(1);
    reopen();
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(marked(), Names{});
    EXPECT_EQ(di.power.load(), 1);
    EXPECT_EQ(di.running.load(), 1);
    clicks("a1 b1");
    EXPECT_EQ(shown(), Names{});
}

}  // namespace
}  // namespace wt::test::di
