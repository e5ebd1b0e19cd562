// The window's form against its wiring table and its handlers.
#include <map>

#include "fixture.h"

namespace wt::test {
namespace {

using form::Kind;

const form::WindowBlock& block() {
    const form::WindowBlock* b = formResource().find(forms::ContinuousRunExercise);
    if (!b) throw std::runtime_error("no ContinuousRunExercise block");
    return *b;
}

const form::ControlRecord* record(std::string_view utf8Name) {
    for (const form::ControlRecord& r : block().records)
        if (r.nameGbk == gbk(utf8Name)) return &r;
    return nullptr;
}

TEST(ContinuousRunForm, WindowHas82RecordsOfTheExpectedKinds) {
    const form::WindowBlock& b = block();
    ASSERT_EQ(b.records.size(), 82u);
    EXPECT_EQ(b.window().kind, Kind::Window);
    EXPECT_EQ(b.window().geometry.width, 1246);
    EXPECT_EQ(b.window().geometry.height, 758);
    std::map<Kind, int> kinds;
    int wires = 0;
    for (std::size_t i = 1; i < b.records.size(); ++i) {
        ++kinds[b.records[i].kind];
        wires += b.records[i].isWireBar() ? 1 : 0;
    }
    EXPECT_EQ(wires, 39);
    EXPECT_EQ(kinds[Kind::Label], 40);   // 39 wire bars and the status label
    EXPECT_EQ(kinds[Kind::Button], 31);  // 29 terminals and two push-buttons
    EXPECT_EQ(kinds[Kind::PictureBox], 8);
    EXPECT_EQ(kinds[Kind::CheckBox], 1);
    EXPECT_EQ(kinds[Kind::TransparentLabel], 1);
}

TEST(ContinuousRunForm, WireBarsAreExactlyTheTableLabels) {
    ex::ContinuousRun cr;
    Names bars;
    for (const form::ControlRecord& r : block().records)
        if (r.isWireBar()) bars.insert(utf8(r.nameGbk));
    Names table;
    for (const std::string& l : cr.wiring.allLabels()) table.insert(utf8(l));
    EXPECT_EQ(table.size(), 39u);
    EXPECT_EQ(bars, table);
    // Every group's test label is a wire bar too (G16's is one of G17's).
    for (int g = 1; g <= cr.wiring.groupCount(); ++g)
        for (const std::string& l : cr.wiring.groupLabels(g))
            EXPECT_TRUE(bars.count(utf8(l))) << utf8(l);
}

TEST(ContinuousRunForm, EveryTerminalIsAClickableButton) {
    ex::ContinuousRun cr;
    ASSERT_EQ(cr.wiring.terminalCount(), 29);
    for (int i = 0; i < cr.wiring.terminalCount(); ++i) {
        const std::string name(cr.wiring.terminalName(i));
        const form::ControlRecord* r = record(name);
        ASSERT_NE(r, nullptr) << name;
        EXPECT_EQ(r->kind, Kind::Button) << name;
        EXPECT_EQ(r->geometry.height, 24) << name;
        const std::string handler = "ContinuousRunExercise." + name + ".clicked";
        ASSERT_EQ(r->events.size(), 1u) << name;
        EXPECT_EQ(r->events[0].event, form::kEventClicked) << name;
        ASSERT_LT(r->events[0].handler, forms::kHandlerCount) << name;
        EXPECT_EQ(std::string(forms::kHandlerNames[r->events[0].handler]), handler);
    }
}

TEST(ContinuousRunForm, OperationControlsSitWhereTheLogicExpectsThem) {
    struct Row {
        const char* name;
        Kind kind;
        const char* parent;  // nullptr: the window
        bool visible;
    };
    const Row rows[] = {
        {"透明标签1", Kind::TransparentLabel, "图片框1", true},
        {"按钮开", Kind::Button, "图片框6", true},
        {"按钮关", Kind::Button, "图片框5", true},
        {"标签39", Kind::Label, nullptr, false},
        {"选择框", Kind::CheckBox, nullptr, true},
        {"图片框2", Kind::PictureBox, nullptr, true},
        {"图片框7", Kind::PictureBox, nullptr, true},
    };
    for (const Row& row : rows) {
        const form::ControlRecord* r = record(row.name);
        ASSERT_NE(r, nullptr) << row.name;
        EXPECT_EQ(r->kind, row.kind) << row.name;
        EXPECT_EQ(r->visibleAtCreation(), row.visible) << row.name;
        if (row.parent) {
            const form::ControlRecord* p = record(row.parent);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(r->parent, p->id) << row.name;
        } else {
            EXPECT_EQ(r->parent, 0u) << row.name;
        }
    }
    EXPECT_EQ(utf8(record("选择框")->captionGbk), "修改线");
}

}  // namespace
}  // namespace wt::test
