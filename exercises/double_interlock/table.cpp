#include "exercises/double_interlock/table.h"

namespace wt::ex {

namespace {

using wiring::Click;
using wiring::Rule;

// c1 connects like two M actions: it marks itself, shows c1线 (group 8) exactly when d1 is
// marked and group 11 exactly when g4 is marked. Then, when d1 is marked but g4 is not, it takes
// its own mark back; a later click on g4 restores it from the drawn c1线.
void c1Withdraw(Click& click) {
    if (click.flag("d1") == 1 && click.flag("g4") == 0) click.setOwnFlag(0);
}

// g4 first takes c1's mark from a drawn c1线; with c1 marked it marks itself and draws group 11,
// otherwise the click does nothing.
void g4Connect(Click& click) {
    if (click.visible("c1线")) click.setFlag("c1", 1);
    if (click.flag("c1") == 1) {
        click.setOwnFlag(1);
        click.showGroup(11);
    }
}

// sb2's extra step: while h5线 (group 22, the forward contactor's self-holding wire from c4 to
// sb4) is not drawn, c4's mark is dropped again.
void clearC4WithoutH5(Click& click) {
    if (!click.visible("h5线")) click.setFlag("c4", 0);
}

}  // namespace

// The 32 wire groups (group n is entry n) and the 49 terminals with their remove lists and
// connect actions. Groups 21 and 23 are marked from both ends (M at each); a group end that
// appears only in a remove list (sb4 of 27, sb6 of 31) removes the group but never shows it.
wiring::Table doubleInterlockTable() {
    return {
        .groups = {
            /* 1 */ {{"a1线"}, "a1线", "a1", "b1"},
            /* 2 */ {{"a2线"}, "a2线", "a2", "b2"},
            /* 3 */ {{"a3线"}, "a3线", "a3", "b3"},
            /* 4 */ {{"a4线", "a5线", "a6线", "a7线"}, "a4线", "a3", "w1"},
            /* 5 */ {{"b1线", "b2线", "b3线"}, "b1线", "b1", "h2"},
            /* 6 */ {{"b4线", "b5线", "b6线"}, "b4线", "b2", "h3"},
            /* 7 */ {{"b7线", "b8线", "b9线"}, "b7线", "b3", "h4"},
            /* 8 */ {{"c1线"}, "c1线", "c1", "d1"},
            /* 9 */ {{"c2线"}, "c2线", "c2", "d2"},
            /* 10 */ {{"c3线"}, "c3线", "c3", "d3"},
            /* 11 */ {{"d1线", "d2线", "d3线"}, "d1线", "c1", "g4"},
            /* 12 */ {{"d4线", "d5线", "d6线"}, "d4线", "c2", "g3"},
            /* 13 */ {{"d7线", "d8线", "d9线"}, "d7线", "c3", "g2"},
            /* 14 */ {{"e1线", "e4线", "e5线"}, "e1线", "e1", "m1"},
            /* 15 */ {{"e2线", "e5线"}, "e2线", "e2", "m1"},
            /* 16 */ {{"e3线", "e5线"}, "e3线", "e3", "m1"},
            /* 17 */ {{"f1线", "f2线", "f3线"}, "f1线", "a4", "f1"},
            /* 18 */ {{"f4线", "f5线", "f6线"}, "f4线", "f2", "e5"},
            /* 19 */ {{"g1线", "g2线", "g3线", "g4线"}, "g1线", "c5", "s1"},
            /* 20 */ {{"g5线", "g6线", "g7线"}, "g5线", "s2", "sb5"},
            /* 21 */ {{"h1线", "h2线", "h3线", "h4线"}, "h1线", "b4", "sb3"},
            /* 22 */ {{"h5线", "h6线", "h7线", "h8线", "h9线", "h10线"}, "h5线", "c4", "sb4"},
            /* 23 */ {{"k1线", "k2线", "k3线", "k4线"}, "k1线", "h5", "sb5"},
            /* 24 */ {{"k5线", "k6线", "k7线", "k8线", "k9线", "k10线"}, "k5线", "g5", "sb6"},
            /* 25 */ {{"s1线", "s2线"}, "s1线", "g1", "s3"},
            /* 26 */ {{"s3线", "s4线", "s5线", "s6线"}, "s3线", "s4", "sb3"},
            /* 27 */ {{"sb1线", "sb2线", "sb3线"}, "sb1线", "sb2", "sb4"},
            /* 28 */ {{"w1线", "w2线", "w3线", "w4线", "w5线"}, "w1线", "w1", "w3"},
            /* 29 */ {{"w6线", "w7线", "w8线"}, "w6线", "w2", "h1"},
            /* 30 */ {{"w9线", "w10线", "w11线", "w12线"}, "w9线", "w4", "b5"},
            /* 31 */ {{"x1线", "x2线", "x3线"}, "x1线", "sb2", "sb6"},
            /* 32 */ {{"x4线", "x5线", "x6线", "x7线"}, "x4线", "sb0", "e4"},
        },
        .terminals =
            {
                {"a1", {1}, {{Rule::Mark, 1}}},
                {"a2", {2}, {{Rule::Mark, 2}}},
                {"a3", {3, 4}, {{Rule::Mark, 3}, {Rule::Mark, 4}}},
                {"a4", {17}, {{Rule::Mark, 17}}},
                {"b1", {1, 5}, {{Rule::Complete, 1}, {Rule::Mark, 5}}},
                {"b2", {2, 6}, {{Rule::Complete, 2}, {Rule::Mark, 6}}},
                {"b3", {3, 7}, {{Rule::Complete, 3}, {Rule::Mark, 7}}},
                {"b4", {21}, {{Rule::Mark, 21}}},
                {"b5", {30}, {{Rule::Complete, 30}}},
                {"c1", {8, 11}, {{Rule::Mark, 8}, {Rule::Mark, 11}}, c1Withdraw},
                {"c2", {9, 12}, {{Rule::Mark, 9}, {Rule::Mark, 12}}},
                {"c3", {10, 13}, {{Rule::Mark, 10}, {Rule::Mark, 13}}},
                {"c4", {22}, {{Rule::FlagOnly}}},
                {"c5", {19}, {{Rule::Mark, 19}}},
                {"d1", {8}, {{Rule::Complete, 8}}},
                {"d2", {9}, {{Rule::Complete, 9}}},
                {"d3", {10}, {{Rule::Complete, 10}}},
                {"e1", {14}, {{Rule::Mark, 14}}},
                {"e2", {15}, {{Rule::Mark, 15}}},
                {"e3", {16}, {{Rule::Mark, 16}}},
                {"e4", {32}, {{Rule::Complete, 32}}},
                {"e5", {18}, {{Rule::Complete, 18}}},
                {"f1", {17}, {{Rule::Complete, 17}}},
                {"f2", {18}, {{Rule::Mark, 18}}},
                {"g1", {25}, {{Rule::Mark, 25}}},
                {"g2", {13}, {{Rule::Complete, 13}}},
                {"g3", {12}, {{Rule::Complete, 12}}},
                {"g4", {11}, {{Rule::Own, 11, g4Connect}}},
                {"g5", {24}, {{Rule::FlagOnly}}},
                {"h1", {29}, {{Rule::Complete, 29}}},
                {"h2", {5}, {{Rule::Complete, 5}}},
                {"h3", {6}, {{Rule::Complete, 6}}},
                {"h4", {7}, {{Rule::Complete, 7}}},
                {"h5", {23}, {{Rule::Mark, 23}}},
                {"m1",
                 {14, 15, 16},
                 {{Rule::Complete, 14}, {Rule::Complete, 15}, {Rule::Complete, 16}}},
                {"s1", {19}, {{Rule::Complete, 19}}},
                {"s2", {20}, {{Rule::Mark, 20}}},
                {"s3", {25}, {{Rule::Complete, 25}}},
                {"s4", {26}, {{Rule::Mark, 26}}},
                {"sb0", {32}, {{Rule::Mark, 32}}},
                {"sb2", {27, 31}, {{Rule::Complete, 27}, {Rule::Mark, 31}}, clearC4WithoutH5},
                {"sb3", {26, 21}, {{Rule::Complete, 26}, {Rule::Mark, 21}}},
                {"sb4", {27, 22}, {{Rule::Latch, 22}}},
                {"sb5", {20, 23}, {{Rule::Complete, 20}, {Rule::Mark, 23}}},
                {"sb6", {31, 24}, {{Rule::Latch, 24}}},
                {"w1", {4, 28}, {{Rule::Complete, 4}, {Rule::Mark, 28}}},
                {"w2", {29}, {{Rule::Mark, 29}}},
                {"w3", {28}, {{Rule::Complete, 28}}},
                {"w4", {30}, {{Rule::Mark, 30}}},
            },
    };
}

}  // namespace wt::ex
