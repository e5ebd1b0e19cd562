// Terminal clicks on the ContinuousRunExercise window: what each click sequence shows and marks.
#include "fixture.h"

namespace wt::test {
namespace {

using WiringTable = ContinuousRunTest;

// --- Connect mode: a click sequence from a fresh window ---------------------------------------

struct ConnectRow {
    const char* what;
    const char* clicks;
    const char* shown;
    const char* marked;
};

class ConnectSequence : public ContinuousRunTest,
                        public ::testing::WithParamInterface<ConnectRow> {};

TEST_P(ConnectSequence, ShowsAndMarks) {
    const ConnectRow& row = GetParam();
    clicks(row.clicks);
    EXPECT_EQ(shown(), names(row.shown)) << row.what;
    EXPECT_EQ(marked(), names(row.marked)) << row.what;
}

const ConnectRow kConnectRows[] = {
    {"C end first does nothing, M end then hides", "b3 a3", "", "a3"},
    {"second click on the C end completes", "b3 a3 b3", "a3线", "a3 b3"},
    {"M end again with partner marked shows", "b1 a1 b1 a1", "a1线", "a1 b1"},
    {"a3 marks both of its groups; b3 completes only G3", "a3 b3", "a3线", "a3 b3"},
    {"a3 b3 w1 shows both groups of a3", "a3 b3 w1", "a3线 a8线 a9线 a9线1 a10线", "a3 b3 w1"},
    {"M end clicked again after C hides nothing while partner marked", "a3 b3 w1 a3",
     "a3线 a8线 a9线 a9线1 a10线", "a3 b3 w1"},
    {"e2 then m1 shows G8 with the shared e5线 only", "e2 m1", "e2线 e5线", "e2 m1"},
    {"m1 alone marks nothing", "m1", "", ""},
    {"one m1 click shows every group whose M end is marked", "e1 e3 m1", "e1线 e4线 e5线 e6线 e3线",
     "e1 e3 m1"},
    {"e3 alone through m1 brings e5线 and e6线", "e3 m1", "e3线 e5线 e6线", "e3 m1"},
    {"control fuse wire", "a4 f1 f2 e6", "a5线 a6线 a7线 f1线 f2线 f3线 f2线1", "a4 f1 f2 e6"},
    {"stop button to relay contact", "sb1 e5", "sb4线 sb5线 sb6线 sb7线", "sb1 e5"},
    // The self-holding branch is drawn from sb4 only.
    {"sb2 and c4 only mark", "sb2 c4", "", "c4"},
    {"sb4 first shows nothing; sb2 and c4 never show", "sb4 sb2 c4", "", "sb4 c4"},
    {"sb2 sb4 shows G14", "sb2 sb4", "sb1线 sb2线 sb3线", "sb2 sb4"},
    {"sb2 c4 sb4: c4 unmarks sb2, so G15 only", "sb2 c4 sb4", "c5线 c7线 c8线 c9线", "c4 sb4"},
    {"sb2 sb4 c4: sb2线 shown keeps sb2 marked, G15 waits", "sb2 sb4 c4", "sb1线 sb2线 sb3线",
     "sb2 sb4 c4"},
    {"sb2 sb4 c4 sb4 shows both", "sb2 sb4 c4 sb4", "sb1线 sb2线 sb3线 c5线 c7线 c8线 c9线",
     "sb2 sb4 c4"},
    {"c4 sb2 sb4 shows both", "c4 sb2 sb4", "sb1线 sb2线 sb3线 c5线 c7线 c8线 c9线", "sb2 sb4 c4"},
    {"coil to start button and to auxiliary contact", "w2 sb3 b4", "b6线 b4线 b3线 b2线 b1线",
     "w2 sb3 b4"},
    {"w2 again after sb3 keeps G16, G17 still waits for b4", "w2 sb3 w2", "b6线", "w2 sb3"},
};
INSTANTIATE_TEST_SUITE_P(ContinuousRun, ConnectSequence, ::testing::ValuesIn(kConnectRows));

TEST_F(WiringTable, FullWiringShowsEveryLabelAndMarksEveryTerminal) {
    clicks(kFullWiring);
    EXPECT_EQ(shown(), allLabels());
    EXPECT_EQ(marked(), allTerminals());
}

// --- Remove mode -------------------------------------------------------------------------------

struct RemoveRow {
    const char* what;
    const char* connect;
    const char* removeAt;
    const char* shown;   // after the removal
    const char* marked;  // after the removal
};

class RemoveSequence : public ContinuousRunTest, public ::testing::WithParamInterface<RemoveRow> {};

TEST_P(RemoveSequence, HidesAndUnmarks) {
    const RemoveRow& row = GetParam();
    clicks(row.connect);
    removeAt(row.removeAt);
    EXPECT_EQ(shown(), names(row.shown)) << row.what;
    EXPECT_EQ(marked(), names(row.marked)) << row.what;
}

const RemoveRow kRemoveRows[] = {
    {"a3 removes both of its groups", "a3 b3 w1", "a3", "", ""},
    {"w1 removes G11 only; b3 keeps its mark", "a3 b3 w1", "w1", "a3线", "b3"},
    {"a hidden group still loses both end flags", "a1", "b1", "", ""},
    {"the C end of a shown group", "a2 b2", "b2", "", ""},
    {"m1 clears all three relay outputs", "e1 e2 e3 m1", "m1", "", ""},
    {"m1 with only G8 shown", "e2 m1", "m1", "", ""},
    {"e2 hides the shared e5线; e1 and e3 keep their marks", "e1 e2 e3 m1", "e2",
     "e1线 e4线 e6线 e3线", "e1 e3"},
    {"e1 hides e5线 and e6线 and unmarks m1", "e1 e2 e3 m1", "e1", "e2线 e3线", "e2 e3"},
    {"sb4 clears sb2 and c4 with nothing shown", "sb2 c4", "sb4", "", ""},
    {"sb4 removes both self-holding wires", "sb2 sb4 c4 sb4", "sb4", "", ""},
    {"sb2 removes G14 only", "sb2 sb4 c4 sb4", "sb2", "c5线 c7线 c8线 c9线", "c4"},
    {"c4 removes G15 only", "sb2 sb4 c4 sb4", "c4", "sb1线 sb2线 sb3线", "sb2"},
    // G16 reads b4线, a wire of G17.
    {"sb3 with G17 hidden leaves b6线", "w2 sb3", "sb3", "b6线", ""},
    {"w2 with G17 hidden leaves b6线", "w2 sb3", "w2", "b6线", ""},
    {"sb3 with G17 shown hides b6线 only", "w2 sb3 b4", "sb3", "b4线 b3线 b2线 b1线", "b4"},
    {"w2 with both shown hides both", "w2 sb3 b4", "w2", "", ""},
    {"b4 removes G17 only", "w2 sb3 b4", "b4", "b6线", "sb3"},
    {"then sb3 no longer sees G16 as shown", "w2 sb3 b4", "b4 sb3", "b6线", ""},
};
INSTANTIATE_TEST_SUITE_P(ContinuousRun, RemoveSequence, ::testing::ValuesIn(kRemoveRows));

TEST_F(WiringTable, AfterRemovingG7AtE1TheOtherRelayGroupsComeBackThroughM1) {
    clicks("e1 e2 e3 m1");
    removeAt("e1");
    clicks("m1");
    EXPECT_EQ(shown(), names("e2线 e3线 e5线 e6线"));
    EXPECT_EQ(marked(), names("e2 e3 m1"));
}

TEST_F(WiringTable, MEndWhosePartnerLostItsMarkHidesItsShownGroup) {
    clicks("e1 e2 m1");
    removeAt("e2");
    ASSERT_EQ(shown(), names("e1线 e4线 e6线"));
    clicks("e1");
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(marked(), names("e1"));
}

TEST_F(WiringTable, AfterRemovingG7AtE1AClickOnE2HidesG8) {
    clicks("e1 e2 e3 m1");
    removeAt("e1");
    clicks("e2");
    EXPECT_EQ(shown(), names("e3线"));
    EXPECT_EQ(marked(), names("e2 e3"));
}

TEST_F(WiringTable, RemovingEveryTerminalClearsAllFlagsButStrandsB6OnceB4IsGone) {
    clicks(kFullWiring);
    host.setRemoveMode(win, true);
    // In name order b4 comes before sb3 and w2: once b4线 is hidden, G16 reads as not shown.
    for (const std::string& t : allTerminals()) host.click(win, t);
    EXPECT_EQ(shown(), names("b6线"));
    EXPECT_EQ(marked(), Names{});
}

TEST_F(WiringTable, TickingTheCheckBoxChangesNothing) {
    clicks("a3 b3 e2 m1");
    const Names before = shown();
    host.setRemoveMode(win, true);
    host.setRemoveMode(win, false);
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(marked(), names("a3 b3 e2 m1"));
}

// --- Power lock --------------------------------------------------------------------------------

TEST_F(WiringTable, WhilePoweredNoTerminalChangesAnythingInEitherMode) {
    clicks("a1 b1 e2 m1 sb2 w2 sb3");
    const Names shownBefore = shown(), markedBefore = marked();
    pressPower();
    ASSERT_EQ(cr.power.load(), 1);
    for (bool remove : {false, true}) {
        host.setRemoveMode(win, remove);
        for (const std::string& t : allTerminals()) {
            host.click(win, t);
            EXPECT_EQ(shown(), shownBefore) << t << (remove ? " remove" : " connect");
            EXPECT_EQ(marked(), markedBefore) << t << (remove ? " remove" : " connect");
        }
    }
    host.setRemoveMode(win, false);
    pressPower();
    clicks("a2 b2");
    EXPECT_TRUE(host.visible(win, "a2线"));
}

// --- Window created ----------------------------------------------------------------------------

TEST_F(WiringTable, ReopeningClearsWiringButKeepsPowerRunningAndStatusFlags) {
    clicks(kFullWiring);
    pressPower();
    pressStart();
    ASSERT_EQ(cr.running.load(), 1);
    host.setRemoveMode(win, true);
    host.effects();
    reopen();

    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(marked(), Names{});
    EXPECT_EQ(cr.power.load(), 1);
    EXPECT_EQ(cr.running.load(), 1);
    EXPECT_EQ(cr.statusShown.load(), 1);
    // The controls start as stored (contactor released, motor at rest), but for the switch,
    // shown closed as the kept power flag says, with the power announced.
    EXPECT_EQ(host.picture(win, "图片框1"), media::Role::SwitchClosed);
    for (const char* box : {"图片框2", "图片框7"})
        EXPECT_EQ(host.picture(win, box), media::Role::Count) << box;
    EXPECT_EQ(host.caption(win, "标签39"), "通电源了");
    EXPECT_FALSE(host.checked(win, "选择框"));
    EXPECT_EQ(lines(host.effects()), lines({picture("图片框1", media::Role::SwitchClosed)}));

    // The power is still on, so the terminals are locked until the switch is pressed, and
    // that press switches the power off.
    clicks("a1 b1");
    EXPECT_EQ(shown(), Names{});
    pressPower();
    EXPECT_EQ(cr.power.load(), 0);
    clicks("a1 b1");
    EXPECT_EQ(shown(), names("a1线"));
}

TEST_F(WiringTable, CreatedHidesLabelsThatTheFormStoresVisible) {
    // A fresh window shows no wire although the form stores every bar visible.
    EXPECT_EQ(shown(), Names{});
    cr.wiring.setFlag("a1", 1);
    cr.wiring.setFlag("sb4", 1);
    reopen();
    EXPECT_EQ(marked(), Names{});
}

}  // namespace
}  // namespace wt::test
