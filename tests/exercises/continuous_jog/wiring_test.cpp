// Terminal clicks of the continuous-and-jog window: the Mark, Complete and FlagOnly rules, the own
// steps of the start-button terminals sb2 and sb4 with sb4's tag memory and the memory toggle, the
// power lock and the reset at creation.
#include <ostream>

#include "fixture.h"

namespace wt::test {
namespace {

TEST_F(ContinuousJogTest, CreatedHidesEveryStoredWireAndClearsTheFlags) {
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(host.tag(win, "sb4"), "");
    EXPECT_FALSE(host.visible(win, "标签3"));
}

TEST_F(ContinuousJogTest, FullWiringShowsEveryWireAndMarksEveryTerminal) {
    script(kContinuousJogWiring);
    EXPECT_EQ(shown(), allLabels());
    EXPECT_EQ(marked(), allTerminals());
    EXPECT_EQ(host.tag(win, "sb4"), "");
    EXPECT_TRUE(host.effects().empty());
}

struct Row {
    const char* name;
    const char* script;
    const char* shown;
    const char* marked;
    const char* tag;  // sb4's tag afterwards
    int toggle;       // the memory toggle afterwards (it starts at 0)
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << r.name;
}

class ContinuousJogWiringRows : public ContinuousJogTest,
                                public ::testing::WithParamInterface<Row> {};

TEST_P(ContinuousJogWiringRows, ShowsMarksAndRemembers) {
    const Row& row = GetParam();
    script(row.script);
    EXPECT_EQ(shown(), names(row.shown));
    EXPECT_EQ(marked(), names(row.marked));
    EXPECT_EQ(host.tag(win, "sb4"), row.tag);
    EXPECT_EQ(cj.memoryToggle.load(), row.toggle);
}

constexpr const char* kStartLine = "sb4线 sb5线 sb6线";
constexpr const char* kJogLine = "sb9线 sb8线 sb7线";

const Row kRows[] = {
    {"ConnectEndFirstDoesNothing", "d1 c1", "", "c1", "", 0},
    {"MarkThenComplete", "c1 d1", "c1线", "c1 d1", "", 0},
    {"A3MarksBothOfItsGroups", "a3 b3 w1", "a3线 a4线 a5线 a6线", "a3 b3 w1", "", 0},
    {"FuseToRelay", "f2 e5", "f1线 f2线 f3线", "f2 e5", "", 0},
    {"HoldingContactToCoil", "w2 b4", "b1线 b2线 b3线 b4线", "w2 b4", "", 0},
    {"HoldingContactToJogContact", "c4 sb8", "c4线 c5线 c6线 c7线 c8线", "c4 sb8", "", 0},
    {"StopButtonToRelay", "sb1 e4", "sb线 sb1线 sb2线 sb3线", "sb1 e4", "", 0},
    {"E4LineBelongsToE1Only", "e2 m1", "e2线 e5线", "e2 m1", "", 0},
    {"M1MarkedShowsALaterPhaseAtOnce", "e1 m1 e2", "e1线 e2线 e4线 e5线", "e1 m1 e2", "", 0},
    // sb3's M marks it although w2 is unmarked, so w2 then shows group 14 at once.
    {"Sb3MarksBeforeW2", "sb3 w2", "w2线", "sb3 w2", "", 0},
    {"Sb3ThenSb5", "sb3 sb5", "s1线 s2线 s3线", "sb3 sb5", "", 0},
    // sb4 before the jog contact is marked: only the tag memory, which sb2 spends.
    {"Sb4AloneLeavesItsTag", "sb4", "", "", "1", 0},
    {"Sb4ThenSb2ShowsTheStartLine", "sb4 sb2", kStartLine, "sb2", "", 0},
    // After sb6 every sb4 click shows the jog line; the tag comes back every second click.
    {"Sb6ThenSb4ShowsTheJogLine", "sb6 sb4", kJogLine, "sb6", "", 1},
    {"Sb2RightAfterFindsNoTag", "sb6 sb4 sb2", kJogLine, "sb6", "", 1},
    {"SecondSb4SetsTheTag", "sb6 sb4 sb4", kJogLine, "sb6", "1", 0},
    {"ThirdSb4ClearsItAgain", "sb6 sb4 sb4 sb4", kJogLine, "sb6", "", 1},
    {"Sb2SpendsTheSecondTag", "sb6 sb4 sb2 sb4 sb2", "sb4线 sb5线 sb6线 sb7线 sb8线 sb9线",
     "sb6 sb2", "", 0},
    // With the start line shown, sb4 marks itself and shows both of its groups.
    {"Sb4WithStartLineShownMarksItself", "sb4 sb2 sb6 sb4", "sb4线 sb5线 sb6线 sb7线 sb8线 sb9线",
     "sb2 sb4 sb6", "", 0},
    {"JogOpeningContactThenSb2", "sb7 sb2", "s4线 s5线 s6线 s7线", "sb7 sb2", "", 0},
    {"Sb7AfterSb2LeavesGroup20Hidden", "sb2 sb7", "", "sb7", "", 0},
    {"Sb7AfterSb2ThenSb2Again", "sb2 sb7 sb2", "s4线 s5线 s6线 s7线", "sb7 sb2", "", 0},
    // Group 20 is not wired by sb2 through group 18: both ends marked, group hidden.
    {"Group20EndsMarkedWithoutItsWires", "sb4 sb2 sb7", kStartLine, "sb2 sb7", "", 0},
    // Remove mode.
    {"RemoveAtF2", "f2 e5 remove f2", "", "", "", 0},
    {"RemoveAtSb3TakesBothGroups", "w2 sb3 sb5 remove sb3", "", "", "", 0},
    {"RemoveAtA3TakesBothGroups", "a3 b3 w1 remove a3", "", "", "", 0},
    {"RemoveAtW2LeavesSb3sOtherGroup", "w2 sb3 sb5 b4 remove w2", "s1线 s2线 s3线", "sb5", "", 0},
    {"RemoveOfAHiddenGroupStillClearsBothEnds", "sb4 sb2 sb7 remove sb7", kStartLine, "", "", 0},
    {"RemoveAtSb4TakesBothGroups", "sb4 sb2 sb6 sb4 remove sb4", "", "", "", 0},
    // Remove mode never touches the tag or the memory toggle.
    {"RemoveAtSb4KeepsTheTag", "sb6 sb4 sb4 remove sb4", "", "", "1", 0},
    {"RemoveAtSb4KeepsTheToggle", "sb6 sb4 remove sb4 sb6 sb2", "", "", "", 1},
    {"RemoveAtSb6", "sb6 sb4 remove sb6", "", "", "", 1},
};

INSTANTIATE_TEST_SUITE_P(ContinuousJog, ContinuousJogWiringRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The jog contacts sb6 and sb7 drop sb4's mark unless the start line (sb5线) is shown.
struct JogContactRow {
    const char* terminal;
    bool startLineShown;
    int sb4Afterwards;
};

void PrintTo(const JogContactRow& r, std::ostream* os) {
    *os << r.terminal << (r.startLineShown ? " with the start line" : " without it");
}

class JogContactRows : public ContinuousJogTest,
                       public ::testing::WithParamInterface<JogContactRow> {};

TEST_P(JogContactRows, ClearSb4OnlyWithoutTheStartLine) {
    const JogContactRow& row = GetParam();
    if (row.startLineShown) script("sb4 sb2");
    cj.wiring.setFlag("sb4", 1);
    script(row.terminal);
    EXPECT_EQ(cj.wiring.flag(row.terminal), 1);
    EXPECT_EQ(cj.wiring.flag("sb4"), row.sb4Afterwards);
}

INSTANTIATE_TEST_SUITE_P(ContinuousJog, JogContactRows,
                         ::testing::Values(JogContactRow{"sb6", false, 0},
                                           JogContactRow{"sb6", true, 1},
                                           JogContactRow{"sb7", false, 0},
                                           JogContactRow{"sb7", true, 1}),
                         [](const auto& info) {
                             return std::string(info.param.terminal) +
                                    (info.param.startLineShown ? "WithStartLine" : "Without");
                         });

TEST_F(ContinuousJogTest, PowerOnLocksEveryTerminalInBothModes) {
    script("a1 b1 sb6");
    pressPower();
    const Names shownBefore = shown(), markedBefore = marked();
    script("sb4 sb4 sb2 c1 d1 remove a1 sb6 sb4");
    EXPECT_EQ(shown(), shownBefore);
    EXPECT_EQ(marked(), markedBefore);
    EXPECT_EQ(host.tag(win, "sb4"), "");
    EXPECT_EQ(cj.memoryToggle.load(), 0);
}

TEST_F(ContinuousJogTest, ReopeningResetsWiresFlagsAndTagButKeepsTheToggle) {
    script("a1 b1 sb6 sb4 sb4");  // the toggle goes 1, then 0 with the tag set
    script("sb4");                // and 1 again, the tag cleared
    ASSERT_EQ(cj.memoryToggle.load(), 1);
    script("sb4 sb4 sb4");  // 0 with the tag, 1 without, 0 with the tag
    ASSERT_EQ(host.tag(win, "sb4"), "1");
    script("sb4");
    ASSERT_EQ(cj.memoryToggle.load(), 1);
    reopen();
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(host.tag(win, "sb4"), "");
    EXPECT_EQ(cj.memoryToggle.load(), 1);
    // The kept toggle decides the new window: the first sb4 click after sb6 flips it to 0 and
    // sets the tag at once (with a fresh toggle it would take two clicks).
    script("sb6 sb4");
    EXPECT_EQ(host.tag(win, "sb4"), "1");
    EXPECT_EQ(cj.memoryToggle.load(), 0);
}

}  // namespace
}  // namespace wt::test
