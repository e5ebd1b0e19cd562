// The window's stored form against its wiring table and its handlers.
#include <map>
#include <stdexcept>

#include "fixture.h"

namespace wt::test::fr {
namespace {

using form::Kind;

const form::WindowBlock& block() {
    const form::WindowBlock* b = formResource().find(forms::ForwardReverseExercise);
    if (!b) throw std::runtime_error("no ForwardReverseExercise block");
    return *b;
}

const form::ControlRecord& record(std::string_view utf8Name) {
    for (const form::ControlRecord& r : block().records)
        if (r.nameGbk == gbk(utf8Name)) return r;
    throw std::runtime_error("no control " + std::string(utf8Name));
}

// "<control>.<event>" of every binding in the block ("created" for the window's own), after
// checking that each handler number names the handler of its own control and event.
std::multiset<std::string> bindings() {
    const std::string prefix = "ForwardReverseExercise.";
    std::multiset<std::string> out;
    for (const form::ControlRecord& r : block().records)
        for (const form::EventBinding& e : r.events) {
            const char* event = e.event == form::kEventClicked     ? "clicked"
                                : e.event == form::kEventMouseDown ? "mouseDown"
                                                                   : "mouseUp";
            const std::string own = r.nameGbk.empty() ? "created" : utf8(r.nameGbk) + "." + event;
            EXPECT_EQ(forms::kHandlerNames[e.handler], prefix + own);
            out.insert(own);
        }
    return out;
}

TEST(ForwardReverseForm, WindowHas147RecordsOfTheExpectedKinds) {
    const form::WindowBlock& b = block();
    ASSERT_EQ(b.records.size(), 147u);
    EXPECT_EQ(b.window().kind, Kind::Window);
    EXPECT_EQ(b.window().geometry.width, 1259);
    EXPECT_EQ(b.window().geometry.height, 800);
    std::map<Kind, int> kinds;
    int wires = 0;
    for (std::size_t i = 1; i < b.records.size(); ++i) {
        ++kinds[b.records[i].kind];
        wires += b.records[i].isWireBar() ? 1 : 0;
    }
    EXPECT_EQ(wires, 86);
    EXPECT_EQ(kinds[Kind::Label], 89);   // wire bars, the status label, two captions
    EXPECT_EQ(kinds[Kind::Button], 48);  // 45 terminals, three push-buttons
    EXPECT_EQ(kinds[Kind::PictureBox], 7);
    EXPECT_EQ(kinds[Kind::CheckBox], 1);
    EXPECT_EQ(kinds[Kind::TransparentLabel], 1);
}

TEST(ForwardReverseForm, WireBarsAreExactlyTheLabelsOfTheGroups) {
    ex::ForwardReverse exercise;
    Names bars;
    for (const form::ControlRecord& r : block().records)
        if (r.isWireBar()) bars.insert(utf8(r.nameGbk));
    Names grouped;
    for (int g = 1; g <= exercise.wiring.groupCount(); ++g)
        for (const std::string& l : exercise.wiring.groupLabels(g)) grouped.insert(utf8(l));
    EXPECT_EQ(exercise.wiring.groupCount(), 30);
    EXPECT_EQ(grouped.size(), 86u);
    EXPECT_EQ(bars, grouped);
}

TEST(ForwardReverseForm, EveryTerminalIsAButtonBoundToItsClickHandler) {
    ex::ForwardReverse exercise;
    ASSERT_EQ(exercise.wiring.terminalCount(), 45);
    const Names big = names("d1 d2 d3 e1 e2 e3");
    for (int i = 0; i < exercise.wiring.terminalCount(); ++i) {
        const std::string name(exercise.wiring.terminalName(i));
        const form::ControlRecord& r = record(name);
        EXPECT_EQ(r.kind, Kind::Button) << name;
        const int side = big.count(name) ? 32 : 24;
        EXPECT_EQ(r.geometry.width, side) << name;
        EXPECT_EQ(r.geometry.height, side) << name;
        ASSERT_EQ(r.events.size(), 1u) << name;
        EXPECT_EQ(r.events[0].event, form::kEventClicked);
    }
}

TEST(ForwardReverseForm, BindingsAreTheCreatedEventTerminalsPowerSwitchAndPushButtons) {
    ex::ForwardReverse exercise;
    std::multiset<std::string> expected = {"created", "透明标签1.mouseDown", "按钮1.clicked",
                                           "按钮2.clicked", "按钮3.clicked"};
    for (int i = 0; i < exercise.wiring.terminalCount(); ++i)
        expected.insert(std::string(exercise.wiring.terminalName(i)) + ".clicked");
    EXPECT_EQ(bindings(), expected);
}

TEST(ForwardReverseForm, OnlyTheStatusLabelStartsHidden) {
    for (std::size_t i = 1; i < block().records.size(); ++i) {
        const form::ControlRecord& r = block().records[i];
        EXPECT_EQ(r.visibleAtCreation(), utf8(r.nameGbk) != "标签3") << utf8(r.nameGbk);
    }
}

TEST(ForwardReverseForm, TheClickAreaLiesInsideTheSwitchPicture) {
    const form::ControlRecord& box = record("图片框1");
    EXPECT_EQ(record("透明标签1").parent, box.id);
    EXPECT_EQ(box.children, std::vector<std::uint32_t>{record("透明标签1").id});
    EXPECT_TRUE(record("选择框").captionGbk.empty());
}

}  // namespace
}  // namespace wt::test::fr
