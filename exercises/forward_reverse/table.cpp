#include "exercises/forward_reverse/table.h"

namespace wt::ex {

namespace {

using wiring::Click;
using wiring::Rule;

// sb2's extra step: while n1线 (group 19, the forward contactor's self-holding wire from c4 to
// sb4) is not drawn, c4's mark is dropped again.
void clearC4WithoutN1(Click& click) {
    if (!click.visible("n1线")) click.setFlag("c4", 0);
}

}  // namespace

// The 30 wire groups (group n is entry n) and the 45 terminals with their remove lists and
// connect actions. A group end that appears only in a remove list (sb5 of 22, sb4 of 24, sb6 of
// 25) removes the group but never shows it.
wiring::Table forwardReverseTable() {
    return {
        .groups = {
            /* 1 */ {{"a1线"}, "a1线", "a1", "b1"},
            /* 2 */ {{"a2线"}, "a2线", "a2", "b2"},
            /* 3 */ {{"a3线"}, "a3线", "a3", "b3"},
            /* 4 */ {{"a4线", "a5线", "a6线"}, "a4线", "a4", "f1"},
            /* 5 */ {{"a7线", "a8线", "a9线"}, "a7线", "a3", "w1"},
            /* 6 */ {{"b1线", "b2线", "b3线"}, "b1线", "b1", "g1"},
            /* 7 */ {{"b4线", "b5线", "b6线"}, "b4线", "b2", "g2"},
            /* 8 */ {{"b7线", "b8线", "b9线"}, "b7线", "b3", "g3"},
            /* 9 */ {{"c1线"}, "c1线", "c1", "d1"},
            /* 10 */ {{"c2线"}, "c2线", "c2", "d2"},
            /* 11 */ {{"c3线"}, "c3线", "c3", "d3"},
            /* 12 */ {{"c4线", "c5线", "c6线"}, "c4线", "c1", "h3"},
            /* 13 */ {{"c7线", "c8线", "c9线"}, "c7线", "c2", "h2"},
            /* 14 */ {{"c10线", "c11线", "c12线"}, "c10线", "c3", "h1"},
            /* 15 */ {{"d1线", "d4线", "d5线"}, "d1线", "e1", "m1"},
            /* 16 */ {{"d2线", "d5线"}, "d2线", "e2", "m1"},
            /* 17 */ {{"d3线", "d5线"}, "d3线", "e3", "m1"},
            /* 18 */ {{"f1线", "f2线", "f3线"}, "f1线", "f2", "e5"},
            /* 19 */ {{"n1线", "n2线", "n3线", "n4线", "n5线", "n6线"}, "n1线", "c4", "sb4"},
            /* 20 */ {{"no4线", "no3线", "no2线", "no1线"}, "no4线", "h5", "b4"},
            /* 21 */ {{"no5线", "no6线", "no7线", "no8线"}, "no5线", "h5", "sb3"},
            /* 22 */ {{"no12线", "no11线", "no10线", "no9线"}, "no12线", "g4", "sb5"},
            /* 23 */ {{"s1线", "s2线", "s3线", "s4线"}, "s1线", "sb1", "e4"},
            /* 24 */ {{"s7线", "s6线", "s5线"}, "s7线", "sb2", "sb4"},
            /* 25 */ {{"sb3线", "sb2线", "sb1线"}, "sb3线", "sb2", "sb6"},
            /* 26 */ {{"sb7线", "sb6线", "sb5线", "sb4线"}, "sb7线", "c5", "sb5"},
            /* 27 */ {{"n7线", "n8线", "n9线", "n10线", "n11线", "n12线"}, "n7线", "h4", "sb6"},
            /* 28 */ {{"w1线", "w2线", "w3线"}, "w1线", "w1", "w3"},
            /* 29 */ {{"w4线", "w5线", "w6线"}, "w4线", "w2", "g5"},
            /* 30 */ {{"w7线", "w8线", "w9线", "w10线"}, "w7线", "w4", "b5"},
        },
        .terminals =
            {
                {"a1", {1}, {{Rule::Mark, 1}}},
                {"a2", {2}, {{Rule::Mark, 2}}},
                {"a3", {3, 5}, {{Rule::Mark, 3}, {Rule::Mark, 5}}},
                {"a4", {4}, {{Rule::Mark, 4}}},
                {"b1", {1, 6}, {{Rule::Complete, 1}, {Rule::Mark, 6}}},
                {"b2", {2, 7}, {{Rule::Complete, 2}, {Rule::Mark, 7}}},
                {"b3", {3, 8}, {{Rule::Complete, 3}, {Rule::Mark, 8}}},
                {"b4", {20}, {{Rule::Complete, 20}}},
                {"b5", {30}, {{Rule::Complete, 30}}},
                {"c1", {9, 12}, {{Rule::Mark, 9}, {Rule::Mark, 12}}},
                {"c2", {10, 13}, {{Rule::Mark, 10}, {Rule::Mark, 13}}},
                {"c3", {11, 14}, {{Rule::Mark, 11}, {Rule::Mark, 14}}},
                {"c4", {19}, {{Rule::FlagOnly}}},
                {"c5", {26}, {{Rule::FlagOnly}}},
                {"d1", {9}, {{Rule::Complete, 9}}},
                {"d2", {10}, {{Rule::Complete, 10}}},
                {"d3", {11}, {{Rule::Complete, 11}}},
                {"e1", {15}, {{Rule::Mark, 15}}},
                {"e2", {16}, {{Rule::Mark, 16}}},
                {"e3", {17}, {{Rule::Mark, 17}}},
                {"e4", {23}, {{Rule::Complete, 23}}},
                {"e5", {18}, {{Rule::Complete, 18}}},
                {"f1", {4}, {{Rule::Complete, 4}}},
                {"f2", {18}, {{Rule::Mark, 18}}},
                {"g1", {6}, {{Rule::Complete, 6}}},
                {"g2", {7}, {{Rule::Complete, 7}}},
                {"g3", {8}, {{Rule::Complete, 8}}},
                {"g4", {22}, {{Rule::Mark, 22}}},
                {"g5", {29}, {{Rule::Complete, 29}}},
                {"h1", {14}, {{Rule::Complete, 14}}},
                {"h2", {13}, {{Rule::Complete, 13}}},
                {"h3", {12}, {{Rule::Complete, 12}}},
                {"h4", {27}, {{Rule::FlagOnly}}},
                {"h5", {21, 20}, {{Rule::Mark, 21}, {Rule::Mark, 20}}},
                {"m1",
                 {15, 16, 17},
                 {{Rule::Complete, 15}, {Rule::Complete, 16}, {Rule::Complete, 17}}},
                {"sb1", {23}, {{Rule::Mark, 23}}},
                {"sb2", {24, 25}, {{Rule::Complete, 24}, {Rule::Mark, 25}}, clearC4WithoutN1},
                {"sb3", {21}, {{Rule::Complete, 21}}},
                {"sb4", {24, 19}, {{Rule::Latch, 19}}},
                {"sb5", {26, 22}, {{Rule::Latch, 26}}},
                {"sb6", {25, 27}, {{Rule::Latch, 27}}},
                {"w1", {5, 28}, {{Rule::Complete, 5}, {Rule::Mark, 28}}},
                {"w2", {29}, {{Rule::Mark, 29}}},
                {"w3", {28}, {{Rule::Complete, 28}}},
                {"w4", {30}, {{Rule::Mark, 30}}},
            },
    };
}

}  // namespace wt::ex
