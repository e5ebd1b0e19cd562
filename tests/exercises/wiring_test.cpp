// The rules of the shared wiring engine, each on a small table of its own. The table borrows the
// terminals and wire labels of the ContinuousRunExercise window, which the test opens for real,
// but wires them its own way.
#include "exercises/wiring.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "form_ids.h"
#include "resources/gbk.h"
#include "tests/support/test_host.h"
#include "tests/support/wiring_probe.h"

namespace wt::test {
namespace {

using wiring::ActionDef;
using wiring::Click;
using wiring::Rule;
// G1 M-C; G2 and G3 share e5线 and end at the S terminal b2; G4 L at c1; G5 reads another label
// when removed at its second end; G6 has an extra step; G7 is shown by an own step.
wiring::Table ruleTable() {
    wiring::Table t;
    t.groups = {
        {{"a1线"}, "a1线", "a1", "b1"},          // 1
        {{"a2线", "e5线"}, "a2线", "a2", "b2"},  // 2
        {{"a3线", "e5线"}, "a3线", "a3", "b2"},  // 3
        {{"c1线"}, "c1线", "c1", "d1"},          // 4
        {{"c2线"}, "c2线", "c2", "d2", "c3线"},  // 5
        {{"e3线"}, "e3线", "e3", "m1"},          // 6
        {{"e1线"}, "e1线", "e1", "e2"},          // 7
    };
    t.terminals = {
        {"a1", {1}, {{Rule::Mark, 1}}},
        {"b1", {1}, {{Rule::Complete, 1}}},
        {"a2", {2}, {{Rule::FlagOnly, 0}}},
        {"a3", {3}, {{Rule::FlagOnly, 0}}},
        {"b2", {2, 3}, {{Rule::ShowIfMarked, 2}, {Rule::ShowIfMarked, 3}}},
        {"c1", {4}, {{Rule::Latch, 4}}},
        {"d1", {4}, {{Rule::FlagOnly, 0}}},
        {"c2", {5}, {{Rule::Mark, 5}}},
        {"d2", {5}, {{Rule::Complete, 5}}},
        {"e3", {6}, {{Rule::Mark, 6}}, [](Click& k) { k.setFlag("m1", 1); }},
        {"m1", {6}, {{Rule::Complete, 6}}},
        {"e1",
         {7},
         {{Rule::Own, 7,
           [](Click& k) {
               k.setOwnFlag(1);
               k.showGroup(7);
           }}}},
        {"e2", {7}, {}},
    };
    return t;
}

class WiringRules : public ::testing::Test {
  protected:
    TestHost host;
    WindowRef win = host.open(forms::ContinuousRunExercise);
    wiring::Wiring engine{ruleTable()};
    std::atomic<std::int32_t> power{0};

    void run(std::string_view terminals, bool remove = false) {
        host.setRemoveMode(win, remove);
        const HandlerCall call{*host.ui, win};
        for (const std::string& t : split(terminals))
            engine.click(call, engine.terminalIndex(t), power);
        host.setRemoveMode(win, false);
    }
    static std::vector<std::string> split(std::string_view s) {
        std::vector<std::string> out;
        std::size_t pos = 0;
        while (pos < s.size()) {
            std::size_t end = s.find(' ', pos);
            if (end == std::string_view::npos) end = s.size();
            if (end > pos) out.emplace_back(s.substr(pos, end - pos));
            pos = end + 1;
        }
        return out;
    }
    Names shown() {
        auto v = host.visibleOf(win, engine.allLabels());
        return Names(v.begin(), v.end());
    }
    Names marked() const {
        Names out;
        for (int i = 0; i < engine.terminalCount(); ++i)
            if (engine.flag(i) == 1) out.emplace(engine.terminalName(i));
        return out;
    }
};

struct RuleRow {
    const char* what;
    const char* connect;
    const char* removeAt;  // then clicked in remove mode
    const char* shown;
    const char* marked;
};

class RuleCase : public WiringRules, public ::testing::WithParamInterface<RuleRow> {};

TEST_P(RuleCase, Applies) {
    const RuleRow& row = GetParam();
    run(row.connect);
    run(row.removeAt, true);
    EXPECT_EQ(shown(), names(row.shown)) << row.what;
    EXPECT_EQ(marked(), names(row.marked)) << row.what;
}

const RuleRow kRuleRows[] = {
    {"M, partner unmarked: marks, hides", "a1", "", "", "a1"},
    {"C, partner unmarked: nothing", "b1", "", "", ""},
    {"M then C shows", "a1 b1", "", "a1线", "a1 b1"},
    {"C then M: C was refused, so M hides", "b1 a1", "", "", "a1"},
    {"M again with partner marked shows", "b1 a1 b1 a1", "", "a1线", "a1 b1"},
    {"F only marks", "a2", "", "", "a2"},
    {"S marks once even with no partner marked", "b2", "", "", "b2"},
    {"S shows the marked partner's group only", "a2 b2", "", "a2线 e5线", "a2 b2"},
    {"S shows every marked partner's group", "a2 a3 b2", "", "a2线 a3线 e5线", "a2 a3 b2"},
    // G3 (partner a3 unmarked) comes after G2: hiding it would take the shared e5线 along.
    {"S never hides", "a2 b2 b2", "", "a2线 e5线", "a2 b2"},
    {"L, partner unmarked: marks", "c1", "", "", "c1"},
    {"L, partner marked, group hidden: shows and unmarks", "d1 c1", "", "c1线", "d1"},
    {"L, partner marked, group shown: marks", "d1 c1 c1", "", "c1线", "c1 d1"},
    {"extra step runs after the actions", "e3 m1", "", "e3线", "e3 m1"},
    {"own step", "e1", "", "e1线", "e1"},
    {"remove a shown group at either end", "a1 b1", "b1", "", ""},
    {"remove a hidden group still clears both ends", "a1", "b1", "", ""},
    {"remove hides a shared label that another group shows", "a2 a3 b2", "a2", "a3线", "a3"},
    {"remove at end 1 reads the test label", "c2 d2", "c2", "", ""},
    {"remove at end 2 reads its own test label", "c2 d2", "d2", "c2线", ""},
};
INSTANTIATE_TEST_SUITE_P(Engine, RuleCase, ::testing::ValuesIn(kRuleRows));

TEST_F(WiringRules, PowerOnLocksBothModes) {
    run("a1 b1 a2");
    power.store(1);
    run("c1 d1 b2 a1");
    run("a1 b1 a2", true);
    EXPECT_EQ(shown(), names("a1线"));
    EXPECT_EQ(marked(), names("a1 b1 a2"));
}

TEST_F(WiringRules, ResetClearsFlagsAndHidesLabels) {
    run("a1 b1 a2 a3 b2");
    engine.reset(HandlerCall{*host.ui, win});
    EXPECT_EQ(shown(), Names{});
    EXPECT_EQ(marked(), Names{});
}

TEST(WiringTables, InconsistentTablesAreRefused) {
    auto withGroupEnd = [](std::string_view end) {
        wiring::Table t;
        t.groups = {{{"a1线"}, "a1线", "a1", end}};
        t.terminals = {{"a1", {1}, {{Rule::Mark, 1}}}, {"b1", {1}, {{Rule::Complete, 1}}}};
        return t;
    };
    EXPECT_NO_THROW(wiring::Wiring{withGroupEnd("b1")});
    EXPECT_THROW(wiring::Wiring{withGroupEnd("zz")}, std::logic_error);

    wiring::Table badRemove = withGroupEnd("b1");
    badRemove.terminals[0].removeList = {2};
    EXPECT_THROW(wiring::Wiring{badRemove}, std::logic_error);

    wiring::Table notAnEnd = withGroupEnd("b1");
    notAnEnd.terminals.push_back({"c1", {}, {{Rule::Complete, 1}}});
    EXPECT_THROW(wiring::Wiring{notAnEnd}, std::logic_error);

    wiring::Table duplicate = withGroupEnd("b1");
    duplicate.terminals.push_back({"a1", {}, {}});
    EXPECT_THROW(wiring::Wiring{duplicate}, std::logic_error);
}

}  // namespace
}  // namespace wt::test
