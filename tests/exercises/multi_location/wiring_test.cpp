// Wiring of the multi-location window: the form against the table, the click rules with the own
// rules of s4 and s6, remove mode, the power lock and the reset on reopening.
#include <map>

#include "tests/exercises/multi_location/fixture.h"

namespace wt::test::ml {
namespace {

// --- The form and the table ------------------------------------------------------------------

TEST_F(MultiLocationTest, FormHoldsEveryControlOfTheWindow) {
    const form::WindowBlock& block = *formResource().find(forms::MultiLocationExercise);
    ASSERT_EQ(block.records.size(), 121u);
    EXPECT_EQ(block.window().geometry.width, 1419);
    EXPECT_EQ(block.window().geometry.height, 836);

    std::map<form::Kind, int> kinds;
    std::set<std::string> wireBars;
    for (const form::ControlRecord& r : block.records) {
        ++kinds[r.kind];
        if (r.isWireBar()) {
            wireBars.insert(utf8(r.nameGbk));
            EXPECT_TRUE(r.visibleAtCreation()) << utf8(r.nameGbk) << " must be stored visible";
        }
    }
    EXPECT_EQ(kinds[form::Kind::Label], 69);   // 62 wires, 6 captions, the status label
    EXPECT_EQ(kinds[form::Kind::Button], 43);  // 37 terminals, 6 push-buttons
    EXPECT_EQ(kinds[form::Kind::PictureBox], 6);
    EXPECT_EQ(kinds[form::Kind::CheckBox], 1);
    EXPECT_EQ(kinds[form::Kind::TransparentLabel], 1);

    // The groups' labels together are exactly the window's wire bars.
    const std::vector<std::string> table = allWires();
    EXPECT_EQ(table.size(), 62u);
    EXPECT_EQ(std::set<std::string>(table.begin(), table.end()), wireBars);

    // Every terminal of the table is a button of the form with a click binding.
    for (int t = 0; t < ml().wiring.terminalCount(); ++t) {
        const std::string name(ml().wiring.terminalName(t));
        const int i = w->indexOf(gbk(name));
        ASSERT_GE(i, 0) << name;
        const form::ControlRecord& r = block.records[i];
        EXPECT_EQ(r.kind, form::Kind::Button) << name;
        ASSERT_EQ(r.events.size(), 1u) << name;
        EXPECT_EQ(r.events[0].event, form::kEventClicked) << name;
    }
    EXPECT_EQ(ml().wiring.terminalCount(), 37);
}

TEST_F(MultiLocationTest, FixedControlsAsStored) {
    EXPECT_FALSE(host.visible(w, "标签1"));
    EXPECT_FALSE(host.checked(w, "选择框"));
    const std::pair<const char*, const char*> captions[] = {
        {"标签23", "SB4"}, {"标签24", "SB5"}, {"标签22", "SB6"},
        {"标签19", "SB1"}, {"标签20", "SB2"}, {"标签21", "SB3"},
    };
    for (auto [label, text] : captions) {
        EXPECT_EQ(host.caption(w, label), text) << label;
        EXPECT_TRUE(host.visible(w, label)) << label;
    }
    for (const char* box : {"图片框1", "图片框2", "图片框6"})
        EXPECT_EQ(host.picture(w, box), media::Role::Count) << box << " shows its stored picture";
}

// --- Connect mode --------------------------------------------------------------------------

struct ConnectCase {
    const char* name;
    const char* script;
    std::vector<int> groups;          // groups whose labels all show afterwards; nothing else shows
    std::vector<std::string> marked;  // terminals whose flag is 1
    std::vector<std::string> unmarked;  // terminals whose flag is 0
};
void PrintTo(const ConnectCase& c, std::ostream* os) {
    *os << c.script;
}

class ConnectRules : public MultiLocationTest, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(ConnectRules, ShowsExactlyTheseGroups) {
    const ConnectCase& c = GetParam();
    run(c.script);
    EXPECT_EQ(shownWires(), labelsOf(c.groups));
    for (const std::string& t : c.marked) EXPECT_EQ(flag(t), 1) << t;
    for (const std::string& t : c.unmarked) EXPECT_EQ(flag(t), 0) << t;
    EXPECT_TRUE(host.effects().empty()) << "terminal clicks neither sound nor message";
}

INSTANTIATE_TEST_SUITE_P(
    MultiLocation, ConnectRules,
    ::testing::Values(
        ConnectCase{"CBeforeItsMarkDoesNothing", "b1", {}, {}, {"b1", "a1"}},
        ConnectCase{"MarkThenComplete", "a1 b1", {1}, {"a1", "b1"}, {}},
        ConnectCase{"CompleteRefusedThenAccepted", "b1 a1 b1", {1}, {"a1", "b1"}, {}},
        ConnectCase{"MarkWithUnmarkedPartnerStaysHidden", "b1 a1", {}, {"a1"}, {"b1"}},
        ConnectCase{"OneMarkFeedsTwoGroups", "a3 b3 w1", {3, 4}, {"a3", "b3", "w1"}, {}},
        ConnectCase{"SecondMarkWithOnePartnerMissing", "a3 b3 a3", {3}, {"a3", "b3"}, {"w1"}},
        ConnectCase{"MotorWithOnlyE2Marked", "e2 m1", {10}, {"e2", "m1"}, {"e1", "e3"}},
        ConnectCase{"MotorCompletesAllThree", "e1 e2 e3 m1", {9, 10, 11}, {"m1"}, {}},
        ConnectCase{"S5WithB4MarkedAndS3Not", "b4 s5", {20}, {"b4", "s5"}, {"s3"}},
        ConnectCase{"StartButtonChain", "w2 s1 s3 s5", {17, 18, 19}, {"s1", "s3", "s5"}, {}},
        ConnectCase{"RemoveOnlyEndS2StillMarks", "s2 sb5", {16}, {"s2", "sb5"}, {"s4"}},
        ConnectCase{"Sb5AloneDoesNothing", "sb5", {}, {}, {"sb5"}},
        ConnectCase{"C4S6S4", "c4 s6 s4", {22, 23}, {"c4", "s4", "s6"}, {}},
        ConnectCase{"C4ThenS4Alone", "c4 s4", {22}, {"c4", "s4", "s6"}, {}},
        ConnectCase{"HLeavesS6UnmarkedWhenItDraws", "c4 s6", {23}, {"c4"}, {"s6"}},
        ConnectCase{"HMarksOnceTheGroupShows", "c4 s6 s6", {23}, {"c4", "s6"}, {}},
        ConnectCase{"HWithoutC4OnlyMarks", "s6", {}, {"s6"}, {"c4"}},
        ConnectCase{"XAfterS6WithoutC4", "s6 s4", {22}, {"s4", "s6"}, {"c4"}},
        ConnectCase{"XWithNothingMarkedOnlyMarks", "s4", {}, {"s4"}, {"s6"}},
        ConnectCase{"XKeepsAShownGroup", "s6 s4 s4", {22}, {"s4", "s6"}, {}},
        ConnectCase{"C4NeverDraws", "s6 c4", {}, {"c4", "s6"}, {}},
        ConnectCase{"S6NeverDrawsGroup22", "s4 s6", {}, {"s4", "s6"}, {}},
        ConnectCase{"MarkOfS4FeedsS2", "s4 s2", {21}, {"s2", "s4"}, {}},
        // b4 s5 draw 20; -s3 clears s5 while 20 stays; b4 then hides it (partner unmarked).
        ConnectCase{"MarkHidesAShownGroup", "b4 s5 -s3 b4", {}, {"b4"}, {"s5", "s3"}},
        ConnectCase{
            "FullWiring",
            kFullWiring.data(),
            {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23},
            {},
            {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MultiLocationTest, FullWiringMarksEveryTerminal) {
    wireAll();
    for (int t = 0; t < ml().wiring.terminalCount(); ++t)
        EXPECT_EQ(ml().wiring.flag(t), 1) << ml().wiring.terminalName(t);
}

// --- Remove mode ---------------------------------------------------------------------------

struct RemoveCase {
    const char* name;
    const char* script;                // after the full wiring
    std::vector<int> hiddenGroups;     // their labels are hidden, every other label shows
    std::vector<std::string> cleared;  // terminals whose flag is 0; every other flag is 1
};
void PrintTo(const RemoveCase& c, std::ostream* os) {
    *os << c.script;
}

class RemoveRules : public MultiLocationTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(RemoveRules, HidesAndClears) {
    const RemoveCase& c = GetParam();
    wireAll();
    run(c.script);
    const std::vector<std::string> hidden = labelsOf(c.hiddenGroups);
    std::vector<std::string> expected;
    for (const std::string& l : allWires())
        if (std::find(hidden.begin(), hidden.end(), l) == hidden.end()) expected.push_back(l);
    EXPECT_EQ(shownWires(), expected);
    for (int t = 0; t < ml().wiring.terminalCount(); ++t) {
        const std::string name(ml().wiring.terminalName(t));
        const bool clear = std::find(c.cleared.begin(), c.cleared.end(), name) != c.cleared.end();
        EXPECT_EQ(flag(name), clear ? 0 : 1) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    MultiLocation, RemoveRules,
    ::testing::Values(
        RemoveCase{"MotorTakesAllThree", "-m1", {9, 10, 11}, {"e1", "e2", "e3", "m1"}},
        RemoveCase{"OneSideOfASharedLead", "-e1", {9}, {"e1", "m1"}},
        RemoveCase{"RemoveOnlyEndS2", "-s2", {16, 21}, {"s2", "sb5", "s4"}},
        RemoveCase{"S4TakesBothRightSides", "-s4", {21, 22}, {"s2", "s4", "s6"}},
        RemoveCase{"S6TakesGroups22And23", "-s6", {22, 23}, {"s4", "s6", "c4"}},
        RemoveCase{"C4", "-c4", {23}, {"s6", "c4"}},
        RemoveCase{"TwoGroupsAtA3", "-a3", {3, 4}, {"a3", "b3", "w1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MultiLocationTest, RemoveAtMotorLeavesCommonLeadOfHiddenGroups) {
    // Only group 10 shows; m1's groups 9 and 11 are hidden, so c5线 goes with group 10 alone.
    run("e2 m1 -e1");
    EXPECT_EQ(shownWires(), labelsOf({10}));  // c5线 stays: group 9's test label was hidden
    EXPECT_EQ(flag("m1"), 0);
    EXPECT_EQ(flag("e2"), 1);
    run("-m1");
    EXPECT_TRUE(shownWires().empty());
    EXPECT_EQ(flag("e2"), 0);
}

TEST_F(MultiLocationTest, RemovingOneLeadHidesTheSharedBar) {
    run("e1 e2 e3 m1 -e1");
    // c5线 belongs to group 9 too: it goes while groups 10 and 11 keep their own bars and flags.
    EXPECT_EQ(shownWires(), (std::vector<std::string>{"c2线", "c3线"}));
    EXPECT_EQ(flag("e2"), 1);
    EXPECT_EQ(flag("e3"), 1);
    EXPECT_EQ(flag("m1"), 0);
}

TEST_F(MultiLocationTest, RemoveOnHiddenGroupsStillClearsBothEnds) {
    run("a3 e1 e2 e3 s1");
    run("-w1 -b3 -m1 -s1");
    EXPECT_TRUE(shownWires().empty());
    for (const char* t : {"a3", "e1", "e2", "e3", "s1"}) EXPECT_EQ(flag(t), 0) << t;
}

TEST_F(MultiLocationTest, TickingTheBoxAloneChangesNothing) {
    wireAll();
    host.setRemoveMode(w, true);
    EXPECT_EQ(shownWires(), allWires());
    EXPECT_EQ(flag("a1"), 1);
}

// --- Power lock ----------------------------------------------------------------------------

TEST_F(MultiLocationTest, PowerOnLocksTheWiringInBothModes) {
    run("a1 b1 a3 e2");
    const std::vector<std::string> before = shownWires();
    host.mouseDown(w, "透明标签1");
    ASSERT_EQ(ml().power.load(), 1);
    host.effects();

    run(kFullWiring);  // connect mode
    host.setRemoveMode(w, true);
    run(kFullWiring);  // remove mode
    EXPECT_EQ(shownWires(), before);
    for (int t = 0; t < ml().wiring.terminalCount(); ++t) {
        const std::string name(ml().wiring.terminalName(t));
        const bool marked = name == "a1" || name == "b1" || name == "a3" || name == "e2";
        EXPECT_EQ(flag(name), marked ? 1 : 0) << name;
    }
    EXPECT_TRUE(host.effects().empty());
}

// --- Reopening -----------------------------------------------------------------------------

TEST_F(MultiLocationTest, CreatedHidesEveryWireAndClearsEveryFlag) {
    // Stored visible, hidden by the created handler.
    EXPECT_TRUE(shownWires().empty());
    wireAll();
    host.close(w);
    w = host.open(forms::MultiLocationExercise);
    EXPECT_TRUE(shownWires().empty());
    for (int t = 0; t < ml().wiring.terminalCount(); ++t)
        EXPECT_EQ(ml().wiring.flag(t), 0) << ml().wiring.terminalName(t);
    // A fresh start: the circuit wires up again as on the first opening.
    wireAll();
    EXPECT_EQ(shownWires(), allWires());
}

}  // namespace
}  // namespace wt::test::ml
