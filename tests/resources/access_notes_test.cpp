// What the form compiler derives for screen readers from a form's geometry: which component a
// terminal sits on, its side and pole, the names of push-buttons and switches, and the Tab order.
#include "tools/formc/access_notes.h"

#include <gtest/gtest.h>

#include <map>

namespace wt::access {
namespace {

Actor terminal(const char* name, int left, int top, const char* part = "") {
    return {name, ActorKind::Terminal, {left, top, 24, 24}, part, "", ""};
}

// A small contactor drawing: three main poles on top and bottom, an auxiliary contact beside
// them, the coil on the right edge; a wide, shallow relay with two rows; a push-button with
// its two terminals at its ends; a fuse; a check box outside every component.
struct Drawing {
    std::vector<Component> components = {
        {"QS", "switch", "电源开关", {100, 20, 200, 160}},
        {"KM", "contactor", "接触器", {60, 220, 240, 210}},
        {"FR", "relay", "热继电器", {100, 450, 180, 130}},
        {"SB1", "pushbutton", "停止", {420, 200, 100, 80}},
        {"FU", "fuse", "", {380, 20, 80, 140}},
        {"T", "text", "标题", {0, 0, 1000, 1000}},
    };
    std::vector<Actor> actors = {
        {"选择框", ActorKind::CheckBox, {600, 160, 72, 40}, "", "", "修改线"},
        terminal("c2", 164, 400, "主触点"),
        terminal("c1", 116, 400, "主触点"),
        terminal("b1", 116, 228, "主触点"),
        terminal("b2", 164, 228, "主触点"),
        terminal("b3", 212, 228, "主触点"),
        terminal("b4", 252, 228, "辅助触点"),
        terminal("w1", 264, 280, "线圈"),
        terminal("w2", 264, 350, "线圈"),
        terminal("d1", 116, 492),
        terminal("d2", 156, 492),
        terminal("d3", 196, 484),
        terminal("e1", 116, 532),
        terminal("e2", 156, 532),
        terminal("e3", 196, 540),
        terminal("sb1", 424, 230),
        terminal("sb2", 494, 230),
        terminal("f1", 408, 28),
        {"按钮关", ActorKind::Button, {436, 204, 72, 72}, "", "按下停止电动机", ""},
        {"透明标签1", ActorKind::Switch, {260, 110, 32, 48}, "", "合上或断开电源", ""},
        terminal("x9", 900, 900, "端子"),
    };
    std::map<std::string, Note> notes() const {
        std::map<std::string, Note> byName;
        for (const Note& n : describe(components, actors)) byName[n.name] = n;
        return byName;
    }
};

TEST(AccessNotes, DescriptionsNameComponentSideAndPole) {
    const auto notes = Drawing().notes();
    const struct {
        const char* control;
        const char* spoken;
        const char* description;
    } rows[] = {
        {"b1", "", "接触器 KM，主触点，上端第1极"},
        {"b3", "", "接触器 KM，主触点，上端第3极"},
        {"b4", "", "接触器 KM，辅助触点，上端"},  // alone in its part: no pole number
        {"c1", "", "接触器 KM，主触点，下端第1极"},
        {"c2", "", "接触器 KM，主触点，下端第2极"},  // listed before c1, still the second pole
        {"w1", "", "接触器 KM，线圈，右端第1极"},
        {"w2", "", "接触器 KM，线圈，右端第2极"},
        // The relay is wide and shallow: rows of three are top and bottom, not left.
        {"d1", "", "热继电器 FR，上端第1极"},
        {"d3", "", "热继电器 FR，上端第3极"},
        {"e1", "", "热继电器 FR，下端第1极"},
        // A push-button's terminals sit at its two ends.
        {"sb1", "", "停止 SB1，左端"},
        {"sb2", "", "停止 SB1，右端"},
        // A component without caption is named by its label; the text tag holds nothing.
        {"f1", "", "FU，上端"},
        {"x9", "", "端子"},
        {"按钮关", "SB1 停止", "按下停止电动机"},
        {"透明标签1", "QS 电源开关", "合上或断开电源"},
        {"选择框", "修改线", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.control);
        ASSERT_TRUE(notes.count(row.control));
        EXPECT_EQ(notes.at(row.control).spoken, row.spoken);
        EXPECT_EQ(notes.at(row.control).description, row.description);
    }
}

TEST(AccessNotes, TabFollowsTheComponentsThenReadingOrder) {
    const auto notes = Drawing().notes();
    const char* const expected[] = {
        "透明标签1",  // the switch, then its terminals (none)
        "b1",        "b2",     "b3", "b4", "w1", "w2", "c1",     "c2",  // top, right side, bottom
        "d1",        "d2",     "d3", "e1", "e2", "e3", "按钮关", "sb1",
        "sb2",                        // the button before its terminals, left before right
        "f1",        "选择框", "x9",  // on no component: reading order
    };
    std::vector<std::string> got(notes.size());
    for (const auto& [name, note] : notes) {
        ASSERT_GE(note.order, 0);
        ASSERT_LT(static_cast<std::size_t>(note.order), got.size());
        got[note.order] = name;
    }
    EXPECT_EQ(got, std::vector<std::string>(std::begin(expected), std::end(expected)));
}

TEST(AccessNotes, ExplicitWordingWins) {
    Drawing d;
    d.actors[3].hint = "接触器主触点 L1 进线";
    d.actors[18].spoken = "停止按钮";
    const auto notes = d.notes();
    EXPECT_EQ(notes.at("b1").description, "接触器主触点 L1 进线");
    EXPECT_EQ(notes.at("按钮关").spoken, "停止按钮");
    // The other poles keep their numbers.
    EXPECT_EQ(notes.at("b2").description, "接触器 KM，主触点，上端第2极");
}

}  // namespace
}  // namespace wt::access
