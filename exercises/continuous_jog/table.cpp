#include "exercises/continuous_jog/table.h"

#include <string>

#include "resources/media.h"
#include "ui/properties.h"

namespace wt::ex {

using wiring::Click;
using wiring::Rule;

namespace {

constexpr int kStartLineGroup = 18;  // sb4 -> sb2, through the start button's contact
constexpr int kJogLineGroup = 19;    // sb6 -> sb4, the jog button's closing contact

bool tagMarked(const Click& c) {
    return c.text("sb4", prop::Tag) == text::kMark;
}

// The jog button's contacts sb6 and sb7: without the start line (sb5线) there is nothing for sb4
// to hold on to, so its flag is dropped.
void dropStartMarkWithoutLine(Click& c) {
    if (!c.visible("sb5线")) c.setFlag("sb4", 0);
}

// sb2 completes the start line when sb4 is marked by its flag or by its tag memory; the memory
// is spent by the completion.
void completeStartLine(Click& c) {
    if (c.flag("sb4") != 1 && !tagMarked(c)) return;
    c.setOwnFlag(1);
    c.showGroup(kStartLineGroup);
    c.setFlag("sb4", 0);
    c.setText("sb4", prop::Tag, text::kEmpty);
}

// sb4 joins both of its groups in one step. Before the jog contact sb6 is marked, a click only
// leaves the memory in sb4's tag. Afterwards every click shows the jog line; if the start line is
// already shown sb4 is marked, otherwise the tag memory is re-armed on every second click.
void startButtonTerminal(Click& c, std::atomic<std::int32_t>& toggle) {
    if (c.flag("sb6") != 1) {
        c.setText("sb4", prop::Tag, text::kMark);
        toggle.store(0);
        return;
    }
    c.showGroup(kJogLineGroup);
    c.setText("sb4", prop::Tag, text::kEmpty);
    if (c.visible("sb6线")) {
        c.setOwnFlag(1);
        c.showGroup(kStartLineGroup);
        return;
    }
    c.setOwnFlag(0);
    if ((toggle.fetch_xor(1) ^ 1) == 0) c.setText("sb4", prop::Tag, text::kMark);
}

}  // namespace

wiring::Table continuousJogTable(std::atomic<std::int32_t>& memoryToggle) {
    wiring::Table t;
    t.groups = {
        {{"a1线"}, "a1线", "a1", "b1"},                                   // 1
        {{"a2线"}, "a2线", "a2", "b2"},                                   // 2
        {{"a3线"}, "a3线", "a3", "b3"},                                   // 3
        {{"a4线", "a5线", "a6线"}, "a4线", "a3", "w1"},                   // 4
        {{"a7线", "a8线", "a9线"}, "a7线", "a4", "f1"},                   // 5
        {{"f1线", "f2线", "f3线"}, "f1线", "f2", "e5"},                   // 6
        {{"c1线"}, "c1线", "c1", "d1"},                                   // 7
        {{"c2线"}, "c2线", "c2", "d2"},                                   // 8
        {{"c3线"}, "c3线", "c3", "d3"},                                   // 9
        {{"e1线", "e4线", "e5线"}, "e1线", "e1", "m1"},                   // 10
        {{"e2线", "e5线"}, "e2线", "e2", "m1"},                           // 11
        {{"e3线", "e5线"}, "e3线", "e3", "m1"},                           // 12
        {{"sb线", "sb1线", "sb2线", "sb3线"}, "sb线", "sb1", "e4"},       // 13
        {{"w2线"}, "w2线", "w2", "sb3"},                                  // 14
        {{"b4线", "b3线", "b2线", "b1线"}, "b4线", "w2", "b4"},           // 15
        {{"c4线", "c5线", "c6线", "c7线", "c8线"}, "c4线", "c4", "sb8"},  // 16
        {{"s1线", "s2线", "s3线"}, "s1线", "sb3", "sb5"},                 // 17
        {{"sb4线", "sb5线", "sb6线"}, "sb6线", "sb4", "sb2"},             // 18
        // Removed at sb6 it is tested on sb9线, at sb4 on sb7线.
        {{"sb9线", "sb8线", "sb7线"}, "sb9线", "sb6", "sb4", "sb7线"},  // 19
        {{"s7线", "s6线", "s5线", "s4线"}, "s7线", "sb7", "sb2"},       // 20
    };
    t.terminals = {
        {"a1", {1}, {{Rule::Mark, 1}}},
        {"a2", {2}, {{Rule::Mark, 2}}},
        {"a3", {3, 4}, {{Rule::Mark, 3}, {Rule::Mark, 4}}},
        {"a4", {5}, {{Rule::Mark, 5}}},
        {"b1", {1}, {{Rule::Complete, 1}}},
        {"b2", {2}, {{Rule::Complete, 2}}},
        {"b3", {3}, {{Rule::Complete, 3}}},
        {"b4", {15}, {{Rule::Complete, 15}}},
        {"c1", {7}, {{Rule::Mark, 7}}},
        {"c2", {8}, {{Rule::Mark, 8}}},
        {"c3", {9}, {{Rule::Mark, 9}}},
        {"c4", {16}, {{Rule::Mark, 16}}},
        {"d1", {7}, {{Rule::Complete, 7}}},
        {"d2", {8}, {{Rule::Complete, 8}}},
        {"d3", {9}, {{Rule::Complete, 9}}},
        {"e1", {10}, {{Rule::Mark, 10}}},
        {"e2", {11}, {{Rule::Mark, 11}}},
        {"e3", {12}, {{Rule::Mark, 12}}},
        {"e4", {13}, {{Rule::Complete, 13}}},
        {"e5", {6}, {{Rule::Complete, 6}}},
        {"f1", {5}, {{Rule::Complete, 5}}},
        {"f2", {6}, {{Rule::Mark, 6}}},
        {"m1", {10, 11, 12}, {{Rule::Complete, 10}, {Rule::Complete, 11}, {Rule::Complete, 12}}},
        {"w1", {4}, {{Rule::Complete, 4}}},
        {"w2", {14, 15}, {{Rule::Mark, 14}, {Rule::Mark, 15}}},
        {"sb1", {13}, {{Rule::Mark, 13}}},
        {"sb2", {18, 20}, {{Rule::Own, kStartLineGroup, completeStartLine}, {Rule::Complete, 20}}},
        {"sb3", {14, 17}, {{Rule::Complete, 14}, {Rule::Mark, 17}}},
        {"sb4",
         {18, 19},
         {{Rule::Own, 0, [&memoryToggle](Click& c) { startButtonTerminal(c, memoryToggle); }}}},
        {"sb5", {17}, {{Rule::Complete, 17}}},
        {"sb6", {19}, {{Rule::FlagOnly}}, dropStartMarkWithoutLine},
        {"sb7", {20}, {{Rule::FlagOnly}}, dropStartMarkWithoutLine},
        {"sb8", {16}, {{Rule::Complete, 16}}},
    };
    return t;
}

}  // namespace wt::ex
