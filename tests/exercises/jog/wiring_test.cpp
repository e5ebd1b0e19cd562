// Terminal clicks of the jog window: the Mark and Complete rules on its 14 groups, shared labels
// and shared terminal flags, the power lock and the reset at creation.
#include <ostream>

#include "fixture.h"

namespace wt::test {
namespace {

TEST_F(JogTest, CreatedHidesEveryStoredWireAndClearsTheFlags) {
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(marked().empty());
    EXPECT_FALSE(host.visible(win, "标签1"));
    EXPECT_FALSE(host.checked(win, "选择框"));
}

TEST_F(JogTest, FullWiringShowsEveryWireAndMarksEveryTerminal) {
    script(kJogWiring);
    EXPECT_EQ(shown(), allLabels());
    EXPECT_EQ(marked(), allTerminals());
    EXPECT_TRUE(host.effects().empty());  // wiring makes no sound and changes no picture
}

struct Row {
    const char* name;
    const char* script;
    const char* shown;
    const char* marked;
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << r.name;
}

class JogWiringRows : public JogTest, public ::testing::WithParamInterface<Row> {};

TEST_P(JogWiringRows, ShowsAndMarks) {
    const Row& row = GetParam();
    script(row.script);
    EXPECT_EQ(shown(), names(row.shown));
    EXPECT_EQ(marked(), names(row.marked));
}

const Row kRows[] = {
    {"ConnectEndFirstDoesNothing", "d1", "", ""},
    {"MarkThenComplete", "c1 d1", "c1线", "c1 d1"},
    {"CompleteFirstThenMarkStaysHidden", "d1 c1", "", "c1"},
    {"SecondCompleteAfterMarkShows", "d1 c1 d1", "c1线", "c1 d1"},
    {"ButtonLineFromSb2", "sb2 e4", "sb2线 sb3线 sb4线 sb5线 sb6线", "sb2 e4"},
    {"ButtonLineFromE4DoesNothing", "e4 sb2", "", "sb2"},
    {"A3MarksBothOfItsGroups", "a3 w1 b3", "a3线 a9线 a10线 a11线", "a3 b3 w1"},
    {"A3GroupsInTheOtherOrder", "a3 b3 w1", "a3线 a9线 a10线 a11线", "a3 b3 w1"},
    {"EarlyCompletesBeforeA3DoNothing", "w1 b3 a3", "", "a3"},
    {"M1MarkedShowsALaterPhaseAtOnce", "e1 m1 e2", "e1线 e2线 e4线 e5线 e6线", "e1 m1 e2"},
    {"M1CompletesAllThreePhases", "e1 e2 e3 m1", "e1线 e2线 e3线 e4线 e5线 e6线", "e1 e2 e3 m1"},
    {"PowerTapAndFuse", "a4 f1 f2 e5", "a4线 a5线 a6线 a7线 a8线 f1线 f2线", "a4 f1 f2 e5"},
    {"CoilToButton", "w2 sb1", "sb1线", "w2 sb1"},
    // Remove mode.
    {"RemoveOfAHiddenGroupStillClearsBothEnds", "a1 remove b1", "", ""},
    {"RemoveAtA3TakesBothGroups", "a3 b3 w1 remove a3", "", ""},
    {"RemoveAtB3LeavesA3sOtherGroupButClearsA3", "a3 b3 w1 remove b3", "a9线 a10线 a11线", "w1"},
    {"RemoveAtE1HidesTheSharedLabels", "e1 e2 m1 remove e1", "e2线", "e2"},
    {"RemoveAtE2AfterE1HidesTheSharedLabelsAgain", "e1 e2 m1 remove e1 e2", "", ""},
    {"RemoveAtM1TakesAllThreePhases", "e1 e2 e3 m1 remove m1", "", ""},
    // A removal at e2 (its group hidden) clears m1; e3's mark then hides the shared labels.
    {"MarkWithClearedPartnerHidesSharedLabels", "e1 m1 remove e2 connect e3", "e1线 e4线", "e1 e3"},
    {"RemoveAtButtonTerminal", "sb2 e4 remove e4", "", ""},
    {"ReconnectAfterRemove", "c1 d1 remove c1 connect c1 d1", "c1线", "c1 d1"},
};

INSTANTIATE_TEST_SUITE_P(Jog, JogWiringRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(JogTest, PowerOnLocksEveryTerminalInBothModes) {
    script("a1 b1 c1");
    pressPower();
    const Names shownBefore = shown(), markedBefore = marked();
    script("a2 b2 d1 e1 m1 remove a1 b1 c1 m1");
    EXPECT_EQ(shown(), shownBefore);
    EXPECT_EQ(marked(), markedBefore);
    pressPower();  // off again: the wiring answers once more
    script("remove a1");
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(marked(), names("c1"));
}

TEST_F(JogTest, TickingTheEditBoxAloneChangesNothing) {
    script("a1 b1");
    host.setRemoveMode(win, true);
    EXPECT_EQ(shown(), names("a1线"));
    EXPECT_EQ(marked(), names("a1 b1"));
}

TEST_F(JogTest, ReopeningStartsWithNoWireAndNoFlagWhateverWasWired) {
    script(kJogWiring);
    reopen();
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(marked().empty());
    script("c1 d1");  // and the new window wires as before
    EXPECT_EQ(shown(), names("c1线"));
}

TEST_F(JogTest, FlagsOutliveAClosedWindowUntilTheNextOpening) {
    script("a1 b1");
    host.close(win);
    EXPECT_EQ(marked(), names("a1 b1"));
    win = host.open(forms::JogExercise);
    EXPECT_TRUE(marked().empty());
}

}  // namespace
}  // namespace wt::test
