// The window's form against its wiring table and its handlers.
#include <map>

#include "fixture.h"

namespace wt::test {
namespace {

using form::Kind;

const form::WindowBlock& block() {
    const form::WindowBlock* b = formResource().find(forms::ContinuousJogExercise);
    if (!b) throw std::runtime_error("no ContinuousJogExercise block");
    return *b;
}

const form::ControlRecord& record(std::string_view utf8Name) {
    for (const form::ControlRecord& r : block().records)
        if (r.nameGbk == gbk(utf8Name)) return r;
    throw std::runtime_error("no control " + std::string(utf8Name));
}

std::set<std::int32_t> events(const form::ControlRecord& r) {
    std::set<std::int32_t> out;
    for (const form::EventBinding& e : r.events) out.insert(e.event);
    return out;
}

bool isPushButton(const form::ControlRecord& r) {
    return r.nameGbk == gbk("按钮1") || r.nameGbk == gbk("按钮2") || r.nameGbk == gbk("按钮3");
}

TEST(ContinuousJogForm, WindowHas102RecordsOfTheExpectedKinds) {
    const form::WindowBlock& b = block();
    ASSERT_EQ(b.records.size(), 102u);
    EXPECT_EQ(b.window().kind, Kind::Window);
    EXPECT_EQ(b.window().geometry.width, 1164);
    EXPECT_EQ(b.window().geometry.height, 780);
    std::map<Kind, int> kinds;
    int wires = 0;
    for (std::size_t i = 1; i < b.records.size(); ++i) {
        ++kinds[b.records[i].kind];
        wires += b.records[i].isWireBar() ? 1 : 0;
    }
    EXPECT_EQ(wires, 47);
    // 47 wire bars, the status label and nine small labels of the drawing.
    EXPECT_EQ(kinds[Kind::Label], 57);
    EXPECT_EQ(kinds[Kind::Button], 36);  // 33 terminals and three push-buttons
    EXPECT_EQ(kinds[Kind::PictureBox], 6);
    EXPECT_EQ(kinds[Kind::CheckBox], 1);
    EXPECT_EQ(kinds[Kind::TransparentLabel], 1);
}

TEST(ContinuousJogForm, WireBarsAreExactlyTheTableLabelsAndStartVisible) {
    std::atomic<std::int32_t> toggle{0};
    wiring::Wiring w(ex::continuousJogTable(toggle));
    Names bars;
    for (const form::ControlRecord& r : block().records)
        if (r.isWireBar()) {
            bars.insert(utf8(r.nameGbk));
            EXPECT_TRUE(r.visibleAtCreation()) << utf8(r.nameGbk);
        }
    Names groups;
    for (int g = 1; g <= w.groupCount(); ++g)
        for (const std::string& l : w.groupLabels(g)) groups.insert(utf8(l));
    EXPECT_EQ(groups.size(), 47u);
    EXPECT_EQ(bars, groups);
    // The labels that the start checks read stand on the form too.
    EXPECT_TRUE(record("sb6线").isWireBar());
    EXPECT_TRUE(record("sb9线").isWireBar());
}

TEST(ContinuousJogForm, TerminalsAreTheTableTerminalsEachBoundToItsClick) {
    ex::ContinuousJog cj;
    const Names large = names("d1 d2 d3 e1 e2 e3");
    Names terminals;
    for (const form::ControlRecord& r : block().records)
        if (r.kind == Kind::Button && !isPushButton(r)) {
            const std::string name = utf8(r.nameGbk);
            terminals.insert(name);
            EXPECT_EQ(events(r), std::set<std::int32_t>{form::kEventClicked}) << name;
            const int side = large.count(name) ? 32 : 24;
            EXPECT_EQ(r.geometry.width, side) << name;
            EXPECT_EQ(r.geometry.height, side) << name;
        }
    Names table;
    for (int i = 0; i < cj.wiring.terminalCount(); ++i) table.emplace(cj.wiring.terminalName(i));
    EXPECT_EQ(table.size(), 33u);
    EXPECT_EQ(terminals, table);
}

TEST(ContinuousJogForm, PushButtonsPowerSwitchAndStatusLabel) {
    const form::WindowBlock& b = block();
    EXPECT_EQ(events(record("按钮1")), std::set<std::int32_t>{form::kEventClicked});
    EXPECT_EQ(events(record("按钮2")), std::set<std::int32_t>{form::kEventClicked});
    EXPECT_EQ(events(record("按钮3")),
              (std::set<std::int32_t>{form::kEventMouseDown, form::kEventMouseUp}));
    // The power switch picture is the box that contains two controls.
    const form::ControlRecord& area = record("透明标签1");
    EXPECT_EQ(events(area), std::set<std::int32_t>{form::kEventMouseDown});
    EXPECT_EQ(area.parent, record("图片框2").id);
    EXPECT_EQ(record("图片框2").children.size(), 2u);
    EXPECT_EQ(record("图片框2").children.front(), area.id);
    EXPECT_FALSE(record("标签3").visibleAtCreation());
    EXPECT_TRUE(record("选择框").captionGbk.empty());
    EXPECT_EQ(events(b.window()), std::set<std::int32_t>{form::kEventClicked});
    for (std::size_t i = 1; i < b.records.size(); ++i)
        EXPECT_EQ(b.records[i].visibleAtCreation(), b.records[i].nameGbk != gbk("标签3"))
            << utf8(b.records[i].nameGbk);
}

}  // namespace
}  // namespace wt::test
