// The window's stored form against its wiring table and its handlers.
#include <map>
#include <stdexcept>

#include "fixture.h"

namespace wt::test::di {
namespace {

using form::Kind;

const form::WindowBlock& block() {
    const form::WindowBlock* b = formResource().find(forms::DoubleInterlockExercise);
    if (!b) throw std::runtime_error("no DoubleInterlockExercise block");
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
    const std::string prefix = "DoubleInterlockExercise.";
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

TEST(DoubleInterlockForm, WindowHas168RecordsOfTheExpectedKinds) {
    const form::WindowBlock& b = block();
    ASSERT_EQ(b.records.size(), 168u);
    EXPECT_EQ(b.window().kind, Kind::Window);
    EXPECT_EQ(b.window().geometry.width, 1368);
    EXPECT_EQ(b.window().geometry.height, 778);
    std::map<Kind, int> kinds;
    int wires = 0;
    for (std::size_t i = 1; i < b.records.size(); ++i) {
        ++kinds[b.records[i].kind];
        wires += b.records[i].isWireBar() ? 1 : 0;
    }
    EXPECT_EQ(wires, 94);
    EXPECT_EQ(kinds[Kind::Label], 106);  // wire bars, the status label, eleven captions
    EXPECT_EQ(kinds[Kind::Button], 52);  // 49 terminals, three push-buttons
    EXPECT_EQ(kinds[Kind::PictureBox], 7);
    EXPECT_EQ(kinds[Kind::CheckBox], 1);
    EXPECT_EQ(kinds[Kind::TransparentLabel], 1);
    for (const char* caption : {"标签1", "标签42", "标签45", "标签71", "标签98", "标签99",
                                "标签100", "标签101", "标签102", "标签103", "标签104"})
        EXPECT_EQ(record(caption).kind, Kind::Label) << caption;
}

TEST(DoubleInterlockForm, ControlIdentifiersAreNotInDescendingOrder) {
    const form::WindowBlock& b = block();
    bool descending = true;
    for (std::size_t i = 2; i < b.records.size(); ++i)
        descending = descending && b.records[i].id < b.records[i - 1].id;
    EXPECT_FALSE(descending);
    // The records are still found by identifier.
    for (std::size_t i = 0; i < b.records.size(); ++i)
        EXPECT_EQ(b.indexOfId(b.records[i].id), static_cast<int>(i));
}

TEST(DoubleInterlockForm, WireBarsAreExactlyTheLabelsOfTheGroups) {
    ex::DoubleInterlock exercise;
    Names bars;
    for (const form::ControlRecord& r : block().records)
        if (r.isWireBar()) bars.insert(utf8(r.nameGbk));
    Names grouped;
    for (int g = 1; g <= exercise.wiring.groupCount(); ++g)
        for (const std::string& l : exercise.wiring.groupLabels(g)) grouped.insert(utf8(l));
    EXPECT_EQ(exercise.wiring.groupCount(), 32);
    EXPECT_EQ(grouped.size(), 94u);
    EXPECT_EQ(bars, grouped);
}

TEST(DoubleInterlockForm, EveryTerminalIsAButtonBoundToItsClickHandler) {
    ex::DoubleInterlock exercise;
    ASSERT_EQ(exercise.wiring.terminalCount(), 49);
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"d1", {40, 32}}, {"d2", {32, 32}}, {"d3", {32, 32}}, {"f1", {24, 16}}, {"s1", {24, 16}}};
    for (int i = 0; i < exercise.wiring.terminalCount(); ++i) {
        const std::string name(exercise.wiring.terminalName(i));
        const form::ControlRecord& r = record(name);
        EXPECT_EQ(r.kind, Kind::Button) << name;
        auto it = sizes.find(name);
        const std::pair<int, int> size = it == sizes.end() ? std::pair{24, 24} : it->second;
        EXPECT_EQ(r.geometry.width, size.first) << name;
        EXPECT_EQ(r.geometry.height, size.second) << name;
        ASSERT_EQ(r.events.size(), 1u) << name;
        EXPECT_EQ(r.events[0].event, form::kEventClicked);
    }
}

TEST(DoubleInterlockForm, BindingsAreTheCreatedEventTerminalsPowerSwitchAndPushButtons) {
    ex::DoubleInterlock exercise;
    std::multiset<std::string> expected = {"created", "透明标签1.mouseDown", "按钮1.clicked",
                                           "按钮2.clicked", "按钮3.clicked"};
    for (int i = 0; i < exercise.wiring.terminalCount(); ++i)
        expected.insert(std::string(exercise.wiring.terminalName(i)) + ".clicked");
    EXPECT_EQ(bindings(), expected);
}

TEST(DoubleInterlockForm, OnlyTheStatusLabelStartsHidden) {
    for (std::size_t i = 1; i < block().records.size(); ++i) {
        const form::ControlRecord& r = block().records[i];
        EXPECT_EQ(r.visibleAtCreation(), utf8(r.nameGbk) != "标签2") << utf8(r.nameGbk);
    }
}

TEST(DoubleInterlockForm, TheClickAreaLiesInsideTheSwitchPicture) {
    const form::ControlRecord& box = record("图片框1");
    EXPECT_EQ(record("透明标签1").parent, box.id);
    EXPECT_EQ(box.children, std::vector<std::uint32_t>{record("透明标签1").id});
    EXPECT_TRUE(record("选择框").captionGbk.empty());
}

}  // namespace
}  // namespace wt::test::di
