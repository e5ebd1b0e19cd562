#include "exercises/continuous_run/table.h"

namespace wt::ex {

using wiring::ActionDef;
using wiring::Click;
using wiring::Rule;

wiring::Table continuousRunTable() {
    wiring::Table t;
    // Groups 1..17: labels in switching order, test label, end 1, end 2. G1..G9 are the main
    // circuit, G10..G17 the control circuit.
    t.groups = {
        {{"a1线"}, "a1线", "a1", "b1"},                                // G1
        {{"a2线"}, "a2线", "a2", "b2"},                                // G2
        {{"a3线"}, "a3线", "a3", "b3"},                                // G3
        {{"c1线"}, "c1线", "c1", "d1"},                                // G4
        {{"c2线"}, "c2线", "c2", "d2"},                                // G5
        {{"c3线"}, "c3线", "c3", "d3"},                                // G6
        {{"e1线", "e4线", "e5线", "e6线"}, "e1线", "e1", "m1"},        // G7
        {{"e2线", "e5线"}, "e2线", "e2", "m1"},                        // G8
        {{"e3线", "e5线", "e6线"}, "e3线", "e3", "m1"},                // G9
        {{"a5线", "a6线", "a7线"}, "a5线", "a4", "f1"},                // G10
        {{"a8线", "a9线", "a9线1", "a10线"}, "a8线", "a3", "w1"},      // G11
        {{"f1线", "f2线", "f3线", "f2线1"}, "f1线", "f2", "e6"},       // G12
        {{"sb4线", "sb5线", "sb6线", "sb7线"}, "sb4线", "sb1", "e5"},  // G13
        {{"sb3线", "sb2线", "sb1线"}, "sb3线", "sb2", "sb4"},          // G14
        {{"c5线", "c7线", "c8线", "c9线"}, "c7线", "c4", "sb4"},       // G15
        // The coil-to-start-button wire is judged by a wire of G17: it reads as shown exactly
        // when b4线 is visible.
        {{"b6线"}, "b4线", "w2", "sb3"},                         // G16
        {{"b4线", "b3线", "b2线", "b1线"}, "b4线", "w2", "b4"},  // G17
    };

    auto m = [](int g) { return ActionDef{Rule::Mark, g}; };
    auto c = [](int g) { return ActionDef{Rule::Complete, g}; };
    auto s = [](int g) { return ActionDef{Rule::ShowIfMarked, g}; };
    const ActionDef f{Rule::FlagOnly, 0};

    t.terminals = {
        {"a1", {1}, {m(1)}},
        {"a2", {2}, {m(2)}},
        {"a3", {3, 11}, {m(3), m(11)}},
        {"a4", {10}, {m(10)}},
        {"b1", {1}, {c(1)}},
        {"b2", {2}, {c(2)}},
        {"b3", {3}, {c(3)}},
        {"b4", {17}, {c(17)}},
        {"c1", {4}, {m(4)}},
        {"c2", {5}, {m(5)}},
        {"c3", {6}, {m(6)}},
        // The auxiliary contact only marks itself; with the stop-to-start wire not drawn it
        // also takes back the mark of sb2, so a later sb4 click shows just the wires whose far
        // end is still marked.
        {"c4",
         {15},
         {f},
         [](Click& k) {
             if (!k.visible("sb2线")) k.setFlag("sb2", 0);
         }},
        {"d1", {4}, {c(4)}},
        {"d2", {5}, {c(5)}},
        {"d3", {6}, {c(6)}},
        {"e1", {7}, {m(7)}},
        {"e2", {8}, {m(8)}},
        {"e3", {9}, {m(9)}},
        {"e5", {13}, {c(13)}},
        {"e6", {12}, {c(12)}},
        {"f1", {10}, {c(10)}},
        {"f2", {12}, {m(12)}},
        {"m1", {7, 8, 9}, {c(7), c(8), c(9)}},
        {"w1", {11}, {c(11)}},
        {"w2", {16, 17}, {m(16), m(17)}},
        {"sb1", {13}, {m(13)}},
        {"sb2", {14}, {f}},
        {"sb3", {16}, {c(16)}},
        // The self-holding branch is drawn from the start button's right side only.
        {"sb4", {14, 15}, {s(14), s(15)}},
    };
    return t;
}

}  // namespace wt::ex
