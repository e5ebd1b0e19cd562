// The window's form against its wiring table and its handlers.
#include <map>

#include "fixture.h"

namespace wt::test {
namespace {

using form::Kind;

const form::WindowBlock& block() {
    const form::WindowBlock* b = formResource().find(forms::JogExercise);
    if (!b) throw std::runtime_error("no JogExercise block");
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

TEST(JogForm, WindowHas66RecordsOfTheExpectedKinds) {
    const form::WindowBlock& b = block();
    ASSERT_EQ(b.records.size(), 66u);
    EXPECT_EQ(b.window().kind, Kind::Window);
    EXPECT_EQ(b.window().geometry.width, 1159);
    EXPECT_EQ(b.window().geometry.height, 839);
    std::map<Kind, int> kinds;
    int wires = 0;
    for (std::size_t i = 1; i < b.records.size(); ++i) {
        ++kinds[b.records[i].kind];
        wires += b.records[i].isWireBar() ? 1 : 0;
    }
    EXPECT_EQ(wires, 28);
    EXPECT_EQ(kinds[Kind::Label], 30);   // 28 wire bars, the status label, 标签27
    EXPECT_EQ(kinds[Kind::Button], 26);  // 25 terminals and the jog push-button
    EXPECT_EQ(kinds[Kind::PictureBox], 7);
    EXPECT_EQ(kinds[Kind::CheckBox], 1);
    EXPECT_EQ(kinds[Kind::TransparentLabel], 1);
}

TEST(JogForm, WireBarsAreExactlyTheTableLabelsAndStartVisible) {
    ex::Jog jog;
    Names bars;
    for (const form::ControlRecord& r : block().records)
        if (r.isWireBar()) {
            bars.insert(utf8(r.nameGbk));
            EXPECT_TRUE(r.visibleAtCreation()) << utf8(r.nameGbk);
        }
    Names groups;
    for (int g = 1; g <= jog.wiring.groupCount(); ++g)
        for (const std::string& l : jog.wiring.groupLabels(g)) groups.insert(utf8(l));
    EXPECT_EQ(groups.size(), 28u);
    EXPECT_EQ(bars, groups);
}

TEST(JogForm, TerminalsAreTheTableTerminalsEachBoundToItsClick) {
    ex::Jog jog;
    Names terminals;
    for (const form::ControlRecord& r : block().records)
        if (r.kind == Kind::Button && r.nameGbk != gbk("按钮1")) {
            terminals.insert(utf8(r.nameGbk));
            EXPECT_EQ(events(r), std::set<std::int32_t>{form::kEventClicked}) << utf8(r.nameGbk);
            EXPECT_EQ(r.geometry.width, 24);
            EXPECT_EQ(r.geometry.height, 24);
        }
    Names table;
    for (int i = 0; i < jog.wiring.terminalCount(); ++i) table.emplace(jog.wiring.terminalName(i));
    EXPECT_EQ(table.size(), 25u);
    EXPECT_EQ(terminals, table);
}

TEST(JogForm, HeldButtonPowerSwitchAndStatusLabel) {
    const form::WindowBlock& b = block();
    const form::ControlRecord& button = record("按钮1");
    EXPECT_EQ(events(button), (std::set<std::int32_t>{form::kEventMouseDown, form::kEventMouseUp}));
    EXPECT_EQ(button.parent, record("图片框7").id);
    const form::ControlRecord& area = record("透明标签1");
    EXPECT_EQ(area.kind, Kind::TransparentLabel);
    EXPECT_EQ(events(area), std::set<std::int32_t>{form::kEventMouseDown});
    EXPECT_EQ(area.parent, record("图片框1").id);
    EXPECT_EQ(record("图片框1").children, std::vector<std::uint32_t>{area.id});
    EXPECT_FALSE(record("标签1").visibleAtCreation());
    EXPECT_TRUE(record("选择框").captionGbk.empty());
    EXPECT_EQ(events(b.window()), std::set<std::int32_t>{form::kEventClicked});
    // Only the status label starts hidden.
    for (std::size_t i = 1; i < b.records.size(); ++i)
        EXPECT_EQ(b.records[i].visibleAtCreation(), b.records[i].nameGbk != gbk("标签1"))
            << utf8(b.records[i].nameGbk);
}

}  // namespace
}  // namespace wt::test
