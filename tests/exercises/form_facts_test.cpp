// Each exercise window's stored form against its wiring table and its handlers: one row of facts
// per window, checked by the same cases.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "exercises/ops.h"
#include "exercises/registry.h"
#include "form_ids.h"
#include "resources/gbk.h"
#include "tests/support/test_host.h"
#include "tests/support/wiring_probe.h"
#include "ui/properties.h"

namespace wt::test {
namespace {

using form::Kind;
using Events = std::set<std::int32_t>;

const Events kNone{};
const Events kClick{form::kEventClicked};
const Events kPress{form::kEventMouseDown};
const Events kHold{form::kEventMouseDown, form::kEventMouseUp};
constexpr const char* kWindowItself = nullptr;
constexpr const char* kAnyParent = "*";

// A control the window's logic drives.
struct ControlFact {
    const char* name;
    Kind kind;
    const char* parent;  // a picture box, kWindowItself, or kAnyParent (not pinned)
    std::optional<Events> events;
};

struct WindowFacts {
    const char* window;
    std::uint32_t id;
    std::function<const wiring::Wiring&(const ex::Exercises&)> wiring;
    std::size_t records;
    int width, height;
    int wires, labels, buttons, pictureBoxes;  // plus one check box and one transparent label
    int terminals;
    int groups;         // 0: not pinned
    int terminalWidth;  // 0: not pinned (heights are)
    std::map<std::string, std::pair<int, int>> otherTerminalSizes;
    const char* status;            // the status label, the only record that starts hidden
    const char* powerBox;          // the switch picture holding the click area 透明标签1
    std::size_t powerBoxChildren;  // 0: not pinned
    const char* toggleCaption;     // of 选择框
    // The status label says nothing about the power until a start was tried (continuous run,
    // jog, continuous run with jog); else every press of the switch announces it.
    bool quietUntilAStart;
    std::vector<ControlFact> controls;
    std::vector<const char*> namedWireBars;  // labels the logic reads by name
};

const WindowFacts kWindows[] = {
    {"ContinuousRunExercise",
     forms::ContinuousRunExercise,
     [](const ex::Exercises& e) -> const wiring::Wiring& { return e.continuousRun.wiring; },
     82,
     1246,
     758,
     39,
     40,  // 39 wire bars and the status label
     31,  // 29 terminals and two push-buttons
     8,
     29,
     0,
     0,
     {},
     "标签39",
     "图片框1",
     0,
     "修改线",
     true,
     {{"透明标签1", Kind::TransparentLabel, "图片框1", kPress},
      {"按钮开", Kind::Button, "图片框6", kClick},
      {"按钮关", Kind::Button, "图片框5", kClick},
      {"标签39", Kind::Label, kWindowItself, kNone},
      {"选择框", Kind::CheckBox, kWindowItself, kNone},
      {"图片框2", Kind::PictureBox, kWindowItself, kNone},
      {"图片框7", Kind::PictureBox, kWindowItself, kNone}},
     {}},
    {"JogExercise",
     forms::JogExercise,
     [](const ex::Exercises& e) -> const wiring::Wiring& { return e.jog.wiring; },
     66,
     1159,
     839,
     28,
     30,  // 28 wire bars, the status label, 标签27
     26,  // 25 terminals and the jog push-button
     7,
     25,
     0,
     24,
     {},
     "标签1",
     "图片框1",
     1,
     "",
     true,
     {{"按钮1", Kind::Button, "图片框7", kHold},
      {"透明标签1", Kind::TransparentLabel, "图片框1", kPress},
      {"标签1", Kind::Label, kAnyParent, kNone}},
     {}},
    {"ContinuousJogExercise",
     forms::ContinuousJogExercise,
     [](const ex::Exercises& e) -> const wiring::Wiring& { return e.continuousJog.wiring; },
     102,
     1164,
     780,
     47,
     57,  // 47 wire bars, the status label and nine small labels of the drawing
     36,  // 33 terminals and three push-buttons
     6,
     33,
     0,
     24,
     {{"d1", {32, 32}},
      {"d2", {32, 32}},
      {"d3", {32, 32}},
      {"e1", {32, 32}},
      {"e2", {32, 32}},
      {"e3", {32, 32}}},
     "标签3",
     "图片框2",
     2,
     "",
     true,
     {{"按钮1", Kind::Button, kAnyParent, kClick},
      {"按钮2", Kind::Button, kAnyParent, kClick},
      {"按钮3", Kind::Button, kAnyParent, kHold},
      {"透明标签1", Kind::TransparentLabel, "图片框2", kPress},
      {"标签3", Kind::Label, kAnyParent, kNone}},
     {"sb6线", "sb9线"}},
    {"ForwardReverseExercise",
     forms::ForwardReverseExercise,
     [](const ex::Exercises& e) -> const wiring::Wiring& { return e.forwardReverse.wiring; },
     147,
     1259,
     800,
     86,
     89,  // wire bars, the status label, two captions
     48,  // 45 terminals, three push-buttons
     7,
     45,
     30,
     24,
     {{"d1", {32, 32}},
      {"d2", {32, 32}},
      {"d3", {32, 32}},
      {"e1", {32, 32}},
      {"e2", {32, 32}},
      {"e3", {32, 32}}},
     "标签3",
     "图片框1",
     1,
     "",
     false,
     {{"透明标签1", Kind::TransparentLabel, "图片框1", kPress},
      {"按钮1", Kind::Button, kAnyParent, kClick},
      {"按钮2", Kind::Button, kAnyParent, kClick},
      {"按钮3", Kind::Button, kAnyParent, kClick},
      {"标签3", Kind::Label, kAnyParent, kNone}},
     {}},
    {"DoubleInterlockExercise",
     forms::DoubleInterlockExercise,
     [](const ex::Exercises& e) -> const wiring::Wiring& { return e.doubleInterlock.wiring; },
     168,
     1368,
     778,
     94,
     106,  // wire bars, the status label, eleven captions
     52,   // 49 terminals, three push-buttons
     7,
     49,
     32,
     24,
     {{"d1", {40, 32}}, {"d2", {32, 32}}, {"d3", {32, 32}}, {"f1", {24, 16}}, {"s1", {24, 16}}},
     "标签2",
     "图片框1",
     1,
     "",
     false,
     {{"透明标签1", Kind::TransparentLabel, "图片框1", kPress},
      {"按钮1", Kind::Button, kAnyParent, kClick},
      {"按钮2", Kind::Button, kAnyParent, kClick},
      {"按钮3", Kind::Button, kAnyParent, kClick},
      {"标签2", Kind::Label, kAnyParent, kNone},
      {"标签1", Kind::Label, kAnyParent, kNone},
      {"标签42", Kind::Label, kAnyParent, kNone},
      {"标签45", Kind::Label, kAnyParent, kNone},
      {"标签71", Kind::Label, kAnyParent, kNone},
      {"标签98", Kind::Label, kAnyParent, kNone},
      {"标签99", Kind::Label, kAnyParent, kNone},
      {"标签100", Kind::Label, kAnyParent, kNone},
      {"标签101", Kind::Label, kAnyParent, kNone},
      {"标签102", Kind::Label, kAnyParent, kNone},
      {"标签103", Kind::Label, kAnyParent, kNone},
      {"标签104", Kind::Label, kAnyParent, kNone}},
     {}},
};

class FormFacts : public ::testing::TestWithParam<WindowFacts> {
  protected:
    const WindowFacts& facts = GetParam();
    ex::Exercises exercises;
    const wiring::Wiring& wiring = facts.wiring(exercises);

    const form::WindowBlock& block() const {
        const form::WindowBlock* b = formResource().find(facts.id);
        if (!b) throw std::runtime_error(std::string("no block for ") + facts.window);
        return *b;
    }
    const form::ControlRecord& record(std::string_view utf8Name) const {
        for (const form::ControlRecord& r : block().records)
            if (r.nameGbk == gbk(utf8Name)) return r;
        throw std::runtime_error("no control " + std::string(utf8Name));
    }
    static Events events(const form::ControlRecord& r) {
        Events out;
        for (const form::EventBinding& e : r.events) out.insert(e.event);
        return out;
    }
    bool isControlFact(const form::ControlRecord& r) const {
        for (const ControlFact& c : facts.controls)
            if (r.nameGbk == gbk(c.name)) return true;
        return false;
    }
};

TEST_P(FormFacts, RecordsOfTheExpectedKinds) {
    const form::WindowBlock& b = block();
    ASSERT_EQ(b.records.size(), facts.records);
    EXPECT_EQ(b.window().kind, Kind::Window);
    EXPECT_EQ(b.window().geometry.width, facts.width);
    EXPECT_EQ(b.window().geometry.height, facts.height);
    std::map<Kind, int> kinds;
    int wires = 0;
    for (std::size_t i = 1; i < b.records.size(); ++i) {
        ++kinds[b.records[i].kind];
        wires += b.records[i].isWireBar() ? 1 : 0;
    }
    EXPECT_EQ(wires, facts.wires);
    EXPECT_EQ(kinds[Kind::Label], facts.labels);
    EXPECT_EQ(kinds[Kind::Button], facts.buttons);
    EXPECT_EQ(kinds[Kind::PictureBox], facts.pictureBoxes);
    EXPECT_EQ(kinds[Kind::CheckBox], 1);
    EXPECT_EQ(kinds[Kind::TransparentLabel], 1);
}

TEST_P(FormFacts, WireBarsAreExactlyTheLabelsOfTheGroups) {
    Names bars;
    for (const form::ControlRecord& r : block().records)
        if (r.isWireBar()) bars.insert(utf8(r.nameGbk));
    Names grouped;
    for (int g = 1; g <= wiring.groupCount(); ++g)
        for (const std::string& l : wiring.groupLabels(g)) grouped.insert(utf8(l));
    if (facts.groups != 0) {
        EXPECT_EQ(wiring.groupCount(), facts.groups);
    }
    EXPECT_EQ(grouped.size(), static_cast<std::size_t>(facts.wires));
    EXPECT_EQ(bars, grouped);
    EXPECT_EQ(labelNames(wiring), grouped);
    for (const char* name : facts.namedWireBars) EXPECT_TRUE(record(name).isWireBar()) << name;
}

TEST_P(FormFacts, TerminalsAreTheTableTerminalsEachBoundToItsClick) {
    ASSERT_EQ(wiring.terminalCount(), facts.terminals);
    for (int i = 0; i < wiring.terminalCount(); ++i) {
        const std::string name(wiring.terminalName(i));
        const form::ControlRecord& r = record(name);
        EXPECT_EQ(r.kind, Kind::Button) << name;
        auto other = facts.otherTerminalSizes.find(name);
        const std::pair<int, int> size =
            other == facts.otherTerminalSizes.end() ? std::pair{24, 24} : other->second;
        if (facts.terminalWidth != 0) {
            EXPECT_EQ(r.geometry.width, size.first) << name;
        }
        EXPECT_EQ(r.geometry.height, size.second) << name;
        ASSERT_EQ(r.events.size(), 1u) << name;
        EXPECT_EQ(r.events[0].event, form::kEventClicked) << name;
        ASSERT_LT(r.events[0].handler, forms::kHandlerCount) << name;
        EXPECT_EQ(std::string(forms::kHandlerNames[r.events[0].handler]),
                  std::string(facts.window) + "." + name + ".clicked");
    }
    // The buttons that are not push-buttons are exactly the terminals.
    Names buttons;
    for (const form::ControlRecord& r : block().records)
        if (r.kind == Kind::Button && !isControlFact(r)) buttons.insert(utf8(r.nameGbk));
    EXPECT_EQ(buttons, terminalNames(wiring));
}

TEST_P(FormFacts, BindingsAreTheCreatedEventTerminalsAndTheDrivenControls) {
    std::multiset<std::string> expected = {"created"};
    for (int i = 0; i < wiring.terminalCount(); ++i)
        expected.insert(std::string(wiring.terminalName(i)) + ".clicked");
    for (const ControlFact& c : facts.controls)
        for (std::int32_t e : c.events.value_or(kNone))
            expected.insert(std::string(c.name) + (e == form::kEventClicked     ? ".clicked"
                                                   : e == form::kEventMouseDown ? ".mouseDown"
                                                                                : ".mouseUp"));
    // Each handler number names the handler of its own control and event.
    std::multiset<std::string> bound;
    for (const form::ControlRecord& r : block().records)
        for (const form::EventBinding& e : r.events) {
            const char* event = e.event == form::kEventClicked     ? "clicked"
                                : e.event == form::kEventMouseDown ? "mouseDown"
                                                                   : "mouseUp";
            const std::string own = r.nameGbk.empty() ? "created" : utf8(r.nameGbk) + "." + event;
            EXPECT_EQ(forms::kHandlerNames[e.handler], std::string(facts.window) + "." + own);
            bound.insert(own);
        }
    EXPECT_EQ(bound, expected);
    EXPECT_EQ(events(block().window()), kClick);
}

TEST_P(FormFacts, ControlsSitWhereTheLogicExpectsThem) {
    for (const ControlFact& c : facts.controls) {
        const form::ControlRecord& r = record(c.name);
        EXPECT_EQ(r.kind, c.kind) << c.name;
        EXPECT_EQ(r.visibleAtCreation(), std::string_view(c.name) != facts.status) << c.name;
        if (c.events) {
            EXPECT_EQ(events(r), *c.events) << c.name;
        }
        if (c.parent == kWindowItself) {
            EXPECT_EQ(r.parent, 0u) << c.name;
        } else if (c.parent != kAnyParent) {
            EXPECT_EQ(r.parent, record(c.parent).id) << c.name;
        }
    }
    const form::ControlRecord& box = record(facts.powerBox);
    EXPECT_EQ(record("透明标签1").parent, box.id);
    if (facts.powerBoxChildren != 0) {
        ASSERT_EQ(box.children.size(), facts.powerBoxChildren);
        EXPECT_EQ(box.children.front(), record("透明标签1").id);
    }
    EXPECT_FALSE(record(facts.status).visibleAtCreation());
    EXPECT_EQ(utf8(record("选择框").captionGbk), facts.toggleCaption);
}

TEST_P(FormFacts, OnlyTheStatusLabelStartsHidden) {
    for (std::size_t i = 1; i < block().records.size(); ++i) {
        const form::ControlRecord& r = block().records[i];
        EXPECT_EQ(r.visibleAtCreation(), utf8(r.nameGbk) != facts.status) << utf8(r.nameGbk);
    }
}

// The power flag outlives the window; the switch picture and status label come back as stored.
// Opened again with the power on, the window shows the switch closed (and plays nothing: nothing
// was switched), announces the power only where its switch would, and the next press opens the
// switch. Opened with the power off, it stays as stored.
TEST_P(FormFacts, ReopenedWindowShowsTheSwitchAsThePowerFlagSays) {
    TestHost host;
    WindowRef win = host.open(facts.id);
    host.mouseDown(win, "透明标签1");
    host.close(win);
    host.effects();
    win = host.open(facts.id);
    EXPECT_EQ(lines(host.effects()), lines({picture(facts.powerBox, media::Role::SwitchClosed)}));
    EXPECT_EQ(host.visible(win, facts.status), !facts.quietUntilAStart);
    if (!facts.quietUntilAStart) {
        EXPECT_EQ(host.caption(win, facts.status), "通电源了");
        EXPECT_EQ(host.integer(win, facts.status, prop::TextColor), ops::kGreen);
    }
    host.mouseDown(win, "透明标签1");
    EXPECT_EQ(host.picture(win, facts.powerBox), media::Role::SwitchOpen);
    host.close(win);
    host.effects();
    win = host.open(facts.id);
    EXPECT_TRUE(host.effects().empty());
    EXPECT_EQ(host.picture(win, facts.powerBox), media::Role::Count);
    EXPECT_FALSE(host.visible(win, facts.status));
}

INSTANTIATE_TEST_SUITE_P(Windows, FormFacts, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<WindowFacts>& info) {
                             return std::string(info.param.window);
                         });

TEST(DoubleInterlockForm, ControlIdentifiersAreNotInDescendingOrder) {
    const form::WindowBlock* b = formResource().find(forms::DoubleInterlockExercise);
    ASSERT_NE(b, nullptr);
    bool descending = true;
    for (std::size_t i = 2; i < b->records.size(); ++i)
        descending = descending && b->records[i].id < b->records[i - 1].id;
    EXPECT_FALSE(descending);
    // The records are still found by identifier.
    for (std::size_t i = 0; i < b->records.size(); ++i)
        EXPECT_EQ(b->indexOfId(b->records[i].id), static_cast<int>(i));
}

}  // namespace
}  // namespace wt::test
