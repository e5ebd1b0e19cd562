#include "exercises/jog/table.h"

namespace wt::ex {

using wiring::Rule;

wiring::Table jogTable() {
    wiring::Table t;
    // Groups by number; the first label of each is the one a remove-mode click tests.
    t.groups = {
        {{"a1线"}, "a1线", "a1", "b1"},                                         // 1
        {{"a2线"}, "a2线", "a2", "b2"},                                         // 2
        {{"a3线"}, "a3线", "a3", "b3"},                                         // 3
        {{"a9线", "a10线", "a11线"}, "a9线", "a3", "w1"},                       // 4
        {{"a4线", "a5线", "a6线", "a7线", "a8线"}, "a4线", "a4", "f1"},         // 5
        {{"f1线", "f2线"}, "f1线", "f2", "e5"},                                 // 6
        {{"c1线"}, "c1线", "c1", "d1"},                                         // 7
        {{"c2线"}, "c2线", "c2", "d2"},                                         // 8
        {{"c3线"}, "c3线", "c3", "d3"},                                         // 9
        {{"e1线", "e4线", "e5线", "e6线"}, "e1线", "e1", "m1"},                 // 10
        {{"e2线", "e4线", "e5线", "e6线"}, "e2线", "e2", "m1"},                 // 11
        {{"e3线", "e5线", "e6线"}, "e3线", "e3", "m1"},                         // 12
        {{"sb1线"}, "sb1线", "w2", "sb1"},                                      // 13
        {{"sb2线", "sb3线", "sb4线", "sb5线", "sb6线"}, "sb2线", "sb2", "e4"},  // 14
    };
    t.terminals = {
        {"a1", {1}, {{Rule::Mark, 1}}},
        {"a2", {2}, {{Rule::Mark, 2}}},
        {"a3", {3, 4}, {{Rule::Mark, 3}, {Rule::Mark, 4}}},
        {"a4", {5}, {{Rule::Mark, 5}}},
        {"b1", {1}, {{Rule::Complete, 1}}},
        {"b2", {2}, {{Rule::Complete, 2}}},
        {"b3", {3}, {{Rule::Complete, 3}}},
        {"c1", {7}, {{Rule::Mark, 7}}},
        {"c2", {8}, {{Rule::Mark, 8}}},
        {"c3", {9}, {{Rule::Mark, 9}}},
        {"d1", {7}, {{Rule::Complete, 7}}},
        {"d2", {8}, {{Rule::Complete, 8}}},
        {"d3", {9}, {{Rule::Complete, 9}}},
        {"e1", {10}, {{Rule::Mark, 10}}},
        {"e2", {11}, {{Rule::Mark, 11}}},
        {"e3", {12}, {{Rule::Mark, 12}}},
        {"e4", {14}, {{Rule::Complete, 14}}},
        {"e5", {6}, {{Rule::Complete, 6}}},
        {"f1", {5}, {{Rule::Complete, 5}}},
        {"f2", {6}, {{Rule::Mark, 6}}},
        {"m1", {10, 11, 12}, {{Rule::Complete, 10}, {Rule::Complete, 11}, {Rule::Complete, 12}}},
        {"sb1", {13}, {{Rule::Complete, 13}}},
        {"sb2", {14}, {{Rule::Mark, 14}}},
        {"w1", {4}, {{Rule::Complete, 4}}},
        {"w2", {13}, {{Rule::Mark, 13}}},
    };
    return t;
}

}  // namespace wt::ex
