// The wiring of the multi-location circuit: three stop push-buttons in series (SB1-SB3), three
// start push-buttons in parallel (SB4-SB6) with the contactor's auxiliary contact across them.
// 23 wire groups over 62 bars, 37 terminals. Two terminals, s4 and s6, close the loop of the
// parallel start buttons with rules of their own (X and H below).
#include "exercises/multi_location/table.h"

namespace wt::ex {

namespace {

using wiring::ActionDef;
using wiring::Click;
using wiring::Rule;

constexpr int kGroupSb6Aux = 22;  // right sides of SB5 and SB6 (x4线 ...)
constexpr int kGroupAuxSb6 = 23;  // right side of SB6 to the auxiliary contact's bottom c4

// Rule H at s6 (group 23): while c4 is unmarked, or once the group shows, s6 just takes its
// mark; otherwise the click draws the group and leaves s6 unmarked.
void ruleH(Click& click) {
    if (click.flag("c4") == 0 || click.visible("h5线")) {
        click.setOwnFlag(1);
        return;
    }
    click.showGroup(kGroupAuxSb6);
    click.setOwnFlag(0);
}

// Rule X at s4 (group 22): a marked c4 marks s6 first; the group is drawn only when s6 is
// marked and the group is not shown yet; s4 always ends marked.
void ruleX(Click& click) {
    if (click.flag("c4") == 1) click.setFlag("s6", 1);
    if (click.flag("s6") == 0 || click.visible("x4线")) {
        click.setOwnFlag(1);
        return;
    }
    click.showGroup(kGroupSb6Aux);
    click.setOwnFlag(1);
}

}  // namespace

wiring::Table multiLocationTable() {
    wiring::Table t;
    t.groups = {
        /*  1 */ {{"a1线"}, "a1线", "a1", "b1"},
        /*  2 */ {{"a2线"}, "a2线", "a2", "b2"},
        /*  3 */ {{"a3线"}, "a3线", "a3", "b3"},
        /*  4 */ {{"w1线", "w2线", "w3线", "w4线"}, "w1线", "a3", "w1"},
        /*  5 */ {{"a4线", "a5线", "a6线"}, "a4线", "a4", "f1"},
        /*  6 */ {{"b1线"}, "b1线", "c1", "d1"},
        /*  7 */ {{"b2线"}, "b2线", "c2", "d2"},
        /*  8 */ {{"b3线"}, "b3线", "c3", "d3"},
        /*  9 */ {{"c1线", "c4线", "c5线"}, "c1线", "e1", "m1"},
        /* 10 */ {{"c2线", "c5线"}, "c2线", "e2", "m1"},
        /* 11 */ {{"c3线", "c5线"}, "c3线", "e3", "m1"},
        /* 12 */ {{"f1线", "f2线", "f3线", "f4线"}, "f1线", "f2", "e5"},
        /* 13 */ {{"sb1线", "sb2线", "sb3线", "sb4线"}, "sb1线", "sb2", "e4"},
        /* 14 */ {{"s9线", "s10线", "s11线", "s12线", "s13线"}, "s9线", "sb4", "sb1"},
        /* 15 */ {{"s4线", "s5线", "s6线", "s7线", "s8线"}, "s5线", "sb6", "sb3"},
        /* 16 */ {{"s1线", "s2线", "s3线"}, "s1线", "s2", "sb5"},
        /* 17 */ {{"w5线", "w6线", "w7线"}, "w5线", "w2", "s1"},
        /* 18 */ {{"ss1线", "ss2线", "ss3线"}, "ss1线", "s1", "s3"},
        /* 19 */ {{"x1线", "x2线", "x3线"}, "x1线", "s3", "s5"},
        /* 20 */ {{"h1线", "h2线", "h3线", "h4线"}, "h1线", "b4", "s5"},
        /* 21 */ {{"ss4线", "ss5线", "ss6线"}, "ss4线", "s2", "s4"},
        /* 22 */ {{"x4线", "x5线", "x6线"}, "x4线", "s4", "s6"},
        /* 23 */ {{"h5线", "h6线", "h7线", "h8线"}, "h5线", "s6", "c4"},
    };
    // An end that has a group in its remove list but no action for it (s2 in 16, s4 in 21,
    // s6 in 22) can take the group away but never draws it.
    t.terminals = {
        {"a1", {1}, {{Rule::Mark, 1}}},
        {"b1", {1}, {{Rule::Complete, 1}}},
        {"a2", {2}, {{Rule::Mark, 2}}},
        {"b2", {2}, {{Rule::Complete, 2}}},
        {"a3", {3, 4}, {{Rule::Mark, 3}, {Rule::Mark, 4}}},
        {"b3", {3}, {{Rule::Complete, 3}}},
        {"w1", {4}, {{Rule::Complete, 4}}},
        {"a4", {5}, {{Rule::Mark, 5}}},
        {"f1", {5}, {{Rule::Complete, 5}}},
        {"c1", {6}, {{Rule::Mark, 6}}},
        {"c2", {7}, {{Rule::Mark, 7}}},
        {"c3", {8}, {{Rule::Mark, 8}}},
        {"d1", {6}, {{Rule::Complete, 6}}},
        {"d2", {7}, {{Rule::Complete, 7}}},
        {"d3", {8}, {{Rule::Complete, 8}}},
        {"e1", {9}, {{Rule::Mark, 9}}},
        {"e2", {10}, {{Rule::Mark, 10}}},
        {"e3", {11}, {{Rule::Mark, 11}}},
        {"m1", {9, 10, 11}, {{Rule::Complete, 9}, {Rule::Complete, 10}, {Rule::Complete, 11}}},
        {"f2", {12}, {{Rule::Mark, 12}}},
        {"e5", {12}, {{Rule::Complete, 12}}},
        {"sb2", {13}, {{Rule::Mark, 13}}},
        {"e4", {13}, {{Rule::Complete, 13}}},
        {"sb4", {14}, {{Rule::Mark, 14}}},
        {"sb1", {14}, {{Rule::Complete, 14}}},
        {"sb6", {15}, {{Rule::Mark, 15}}},
        {"sb3", {15}, {{Rule::Complete, 15}}},
        {"sb5", {16}, {{Rule::Complete, 16}}},
        {"s2", {16, 21}, {{Rule::Mark, 21}}},
        {"w2", {17}, {{Rule::Mark, 17}}},
        {"s1", {17, 18}, {{Rule::Complete, 17}, {Rule::Mark, 18}}},
        {"s3", {18, 19}, {{Rule::Complete, 18}, {Rule::Mark, 19}}},
        {"s5", {19, 20}, {{Rule::Complete, 19}, {Rule::Mark, 20}}},
        {"b4", {20}, {{Rule::Mark, 20}}},
        {"c4", {23}, {{Rule::FlagOnly, 23}}},
        {"s4", {21, 22}, {ActionDef{Rule::Own, kGroupSb6Aux, ruleX}}},
        {"s6", {22, 23}, {ActionDef{Rule::Own, kGroupAuxSb6, ruleH}}},
    };
    return t;
}

}  // namespace wt::ex
