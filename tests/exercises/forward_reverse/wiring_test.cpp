// Terminal clicks of the ForwardReverseExercise window: the rules Mark, Complete, FlagOnly and
// Latch, the remove mode, sb2's extra step, the power lock and the reset when the window opens.
#include "fixture.h"

namespace wt::test::fr {
namespace {

using Wiring = ForwardReverseTest;

TEST_F(Wiring, FullWiringDrawsEveryLabelAndLeavesOnlyTheLatchedEndsUnmarked) {
    wireAll();
    EXPECT_EQ(shown(), allLabels());
    Names expected = allTerminals();
    expected.erase("sb5");
    expected.erase("sb6");
    EXPECT_EQ(marked(), expected);
}

TEST_F(Wiring, PowerOnLocksEveryTerminalInBothModes) {
    clicks("a1 b1 c1");
    fr.power.store(1);
    const Names labels = shown();
    const Names flags = marked();
    clicks("d1 a2 b2 c4 sb4 sb2");
    removeAt("a1 b1 c1");
    EXPECT_EQ(shown(), labels);
    EXPECT_EQ(marked(), flags);
}

TEST_F(Wiring, CompleteEndClickedBeforeItsPartnerNeedsASecondClick) {
    clicks("d1 c1");
    EXPECT_FALSE(host.visible(win, "c1线"));
    EXPECT_EQ(flag("d1"), 0);
    clicks("d1");
    EXPECT_TRUE(host.visible(win, "c1线"));
    EXPECT_EQ(flag("d1"), 1);
}

TEST_F(Wiring, ACompleteEndMarkedByItsOwnMarkActionIsMatchedAtOnce) {
    // b1's M action for group 6 marks b1, so a1's M action finds its partner marked.
    clicks("b1 a1");
    EXPECT_EQ(shown(), names("a1线"));
}

TEST_F(Wiring, MarkEndClickedAgainAfterThePartnerLostItsFlagHidesTheGroup) {
    clicks("a1 b1 g1");
    EXPECT_EQ(shown(), names("a1线 b1线 b2线 b3线"));
    removeAt("g1");  // clears b1's flag, which a1线 relies on too
    EXPECT_EQ(shown(), names("a1线"));
    EXPECT_EQ(flag("b1"), 0);
    clicks("a1");
    EXPECT_EQ(shown(), Names{});
}

TEST_F(Wiring, RemovingAHiddenGroupStillClearsBothEnds) {
    clicks("a4");  // marks a4, f1 never clicked: group 4 stays hidden
    fr.wiring.setFlag("f1", 1);
    removeAt("f1");
    EXPECT_EQ(flag("a4"), 0);
    EXPECT_EQ(flag("f1"), 0);
}

TEST_F(Wiring, RemoveModeClearsEveryGroupOfTheTerminalInOrder) {
    clicks("a3 b3 w1 g3");
    EXPECT_EQ(shown(), names("a3线 a7线 a8线 a9线 b7线 b8线 b9线"));
    removeAt("a3");  // groups 3 and 5
    EXPECT_EQ(shown(), names("b7线 b8线 b9线"));
    EXPECT_EQ(marked(), names("g3"));
}

TEST_F(Wiring, TheMotorTrunkBelongsToAllThreeMotorGroups) {
    clicks("e1 e2 e3 m1");
    EXPECT_EQ(shown(), names("d1线 d2线 d3线 d4线 d5线"));
    removeAt("e2");  // group 16 takes d5线 with it
    EXPECT_EQ(shown(), names("d1线 d3线 d4线"));
    EXPECT_EQ(marked(), names("e1 e3"));
    clicks("e2 m1");
    EXPECT_EQ(shown(), names("d1线 d2线 d3线 d4线 d5线"));
    removeAt("m1");  // all three groups at once
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(marked(), Names{});
}

TEST_F(Wiring, LatchShowsItsGroupAndLeavesItsFlagForTheNextClick) {
    clicks("h4 sb6");
    EXPECT_EQ(shown(), names("n7线 n8线 n9线 n10线 n11线 n12线"));
    EXPECT_EQ(flag("sb6"), 0);
    EXPECT_EQ(flag("h4"), 1);
    clicks("sb6");
    EXPECT_EQ(flag("sb6"), 1);
    EXPECT_TRUE(host.visible(win, "n7线"));
}

TEST_F(Wiring, LatchWithAnUnmarkedPartnerOnlyMarksItself) {
    clicks("sb4");
    EXPECT_EQ(flag("sb4"), 1);
    EXPECT_EQ(shown(), Names{});
    clicks("c4 sb4");  // now the partner is marked: the group is drawn, the flag dropped
    EXPECT_EQ(shown(), names("n1线 n2线 n3线 n4线 n5线 n6线"));
    EXPECT_EQ(flag("sb4"), 0);
}

TEST_F(Wiring, EndsWithoutAConnectActionNeverDrawTheirGroup) {
    struct Row {
        const char* partnerClicks;
        const char* end;
        const char* testLabel;
    };
    const Row rows[] = {{"g4", "sb5", "no12线"}, {"sb2", "sb4", "s7线"}, {"sb2", "sb6", "sb3线"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.end);
        removeAt("g4 sb2 sb4 sb5 sb6");
        clicks(row.partnerClicks);
        clicks(row.end);
        clicks(row.end);
        EXPECT_FALSE(host.visible(win, row.testLabel));
    }
}

TEST_F(Wiring, EndsWithoutAConnectActionStillRemoveTheirGroup) {
    clicks("sb5 g4");  // sb5 marked through its latch, so g4 draws group 22
    EXPECT_TRUE(host.visible(win, "no9线"));
    removeAt("sb5");
    EXPECT_FALSE(host.visible(win, "no12线"));
    EXPECT_EQ(flag("g4"), 0);
    EXPECT_EQ(flag("sb5"), 0);
}

TEST_F(Wiring, Sb2DropsC4sMarkWhileTheSelfHoldingWireIsMissing) {
    clicks("c4");
    EXPECT_EQ(flag("c4"), 1);
    clicks("sb2");
    EXPECT_EQ(flag("c4"), 0);

    clicks("c4 sb4");  // draws n1线
    ASSERT_TRUE(host.visible(win, "n1线"));
    clicks("sb2");
    EXPECT_EQ(flag("c4"), 1);
}

TEST_F(Wiring, OpeningTheWindowResetsTheWiringButNotPowerOrRunning) {
    wireAll();
    fr.power.store(1);
    fr.running.store(1);
    reopen();
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(marked(), Names{});
    EXPECT_EQ(fr.power.load(), 1);
    EXPECT_EQ(fr.running.load(), 1);
    // The reopened window shows the closed switch, and its terminals stay locked until the
    // switch is pressed, which then turns the power off.
    EXPECT_EQ(host.picture(win, "图片框1"), media::Role::SwitchClosed);
    clicks("a1 b1");
    EXPECT_EQ(shown(), Names{});
    pressPower();
    EXPECT_EQ(fr.power.load(), 0);
    clicks("a1 b1");
    EXPECT_EQ(shown(), names("a1线"));
}

TEST_F(Wiring, TickingTheCheckBoxAloneChangesNothing) {
    clicks("a1 b1");
    host.setRemoveMode(win, true);
    EXPECT_EQ(shown(), names("a1线"));
    EXPECT_EQ(marked(), names("a1 b1"));
    EXPECT_TRUE(host.effects().empty());
}

}  // namespace
}  // namespace wt::test::fr
