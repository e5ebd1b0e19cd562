// The form resource linked into the program: it parses with the program's handler count, holds
// the seven windows in order, binds every event to the handler form_ids.h names for it, and the
// exercise menu is exactly as the menu form describes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "form_ids.h"
#include "form_test_support.h"
#include "resources/embedded_forms.h"
#include "resources/form_reader.h"

using namespace formtest;
using wt::form::ControlRecord;
using wt::form::FormResource;
using wt::form::Kind;

namespace {

const FormResource& resource() {
    static const FormResource res = [] {
        std::string error;
        auto parsed =
            FormResource::parse(wt::form::embeddedFormResource(), wt::forms::kHandlerCount, &error);
        if (!parsed) {
            ADD_FAILURE() << error;
            return FormResource{};
        }
        return *parsed;
    }();
    return res;
}

struct WindowRow {
    std::uint32_t id;
    const char* name;
    const char* background;
    int width, height;
};

const WindowRow kWindows[] = {
    {wt::forms::ExerciseMenu, "ExerciseMenu", "menu_background", 994, 491},
    {wt::forms::ContinuousRunExercise, "ContinuousRunExercise", "diagram_continuous_run", 1246,
     758},
    {wt::forms::JogExercise, "JogExercise", "diagram_jog", 1159, 839},
    {wt::forms::ContinuousJogExercise, "ContinuousJogExercise", "diagram_continuous_jog", 1164,
     780},
    {wt::forms::ForwardReverseExercise, "ForwardReverseExercise", "diagram_forward_reverse", 1259,
     800},
    {wt::forms::DoubleInterlockExercise, "DoubleInterlockExercise", "diagram_double_interlock",
     1368, 778},
    {wt::forms::MultiLocationExercise, "MultiLocationExercise", "diagram_multi_location", 1419,
     836},
};

std::string eventName(const ControlRecord& rec, std::int32_t event) {
    if (rec.kind == Kind::Window) return "created";
    return event == 0 ? "clicked" : event == -1 ? "mouseDown" : "mouseUp";
}

TEST(EmbeddedForms, HoldsTheSevenWindowsInOrder) {
    const auto& blocks = resource().blocks();
    ASSERT_EQ(blocks.size(), 7u);
    ASSERT_EQ(wt::forms::kWindowCount, 7u);
    for (std::uint32_t n = 0; n < 7; ++n) {
        const WindowRow& row = kWindows[n];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.id, 0x52000001 + n);
        EXPECT_STREQ(wt::forms::kWindowNames[n], row.name);
        EXPECT_EQ(blocks[n].windowId, row.id);
        EXPECT_EQ(resource().find(row.id), &blocks[n]);
        EXPECT_EQ(blocks[n].moduleId, 0x19000001 + n);
        const ControlRecord& win = blocks[n].window();
        EXPECT_EQ(win.id, 0x06000001 + n);
        EXPECT_EQ(win.geometry.left, 50);
        EXPECT_EQ(win.geometry.top, 50);
        EXPECT_EQ(win.geometry.width, row.width);
        EXPECT_EQ(win.geometry.height, row.height);
        EXPECT_EQ(win.stateFlags, 1u);
        const std::string picture = readFile(std::filesystem::path(WT_FORM_ASSET_DIR) /
                                             (std::string(row.background) + ".png"));
        EXPECT_EQ(std::string(win.picture.begin(), win.picture.end()), picture);
        // The menu has no created handler; every exercise window has one.
        EXPECT_EQ(win.events.size(), n == 0 ? 0u : 1u);
    }
}

TEST(EmbeddedForms, EveryBindingReachesTheHandlerNamedForIt) {
    ASSERT_GT(wt::forms::kHandlerCount, 0u);
    EXPECT_STREQ(wt::forms::kHandlerNames[0], "ExerciseMenu.长动.clicked");
    std::set<std::uint32_t> used;
    for (std::size_t n = 0; n < resource().blocks().size(); ++n) {
        for (const ControlRecord& rec : resource().blocks()[n].records) {
            for (const auto& ev : rec.events) {
                std::string want = std::string(kWindows[n].name) + ".";
                if (rec.kind != Kind::Window) want += utf8(rec.nameGbk) + ".";
                want += eventName(rec, ev.event);
                ASSERT_LT(ev.handler, wt::forms::kHandlerCount);
                EXPECT_EQ(wt::forms::kHandlerNames[ev.handler], want);
                EXPECT_TRUE(used.insert(ev.handler).second) << want << " bound twice";
            }
        }
    }
    EXPECT_EQ(used.size(), wt::forms::kHandlerCount);
}

TEST(EmbeddedForms, StateFlagsFollowTheKinds) {
    for (const auto& block : resource().blocks())
        for (const ControlRecord& rec : block.records) {
            SCOPED_TRACE(utf8(rec.nameGbk));
            bool focusable = rec.kind == Kind::Button || rec.kind == Kind::CheckBox;
            std::uint32_t shown = focusable ? 5u : 1u;
            EXPECT_TRUE(rec.stateFlags == shown ||
                        (rec.stateFlags == 0 && rec.kind != Kind::Window));
        }
}

struct MenuButton {
    const char* name;
    int left, top, width, height;
    const char* caption;
};

TEST(EmbeddedForms, MenuIsAsDescribed) {
    const auto* menu = resource().find(wt::forms::ExerciseMenu);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->records.size(), 9u);
    const MenuButton buttons[] = {
        {"长动", 40, 112, 96, 40, "电路长动"},          {"点动", 40, 40, 96, 48, "电路点动"},
        {"长动加点动", 40, 184, 96, 40, "长动点动"},    {"按钮1", 32, 248, 112, 48, "多地控制"},
        {"正反转电路", 32, 320, 120, 40, "正反转电路"}, {"三重互锁", 40, 376, 104, 48, "双重互锁"},
    };
    for (std::size_t i = 0; i < 6; ++i) {
        const MenuButton& b = buttons[i];
        SCOPED_TRACE(b.name);
        const ControlRecord& rec = menu->records[1 + i];
        EXPECT_EQ(rec.kind, Kind::Button);
        EXPECT_EQ(rec.nameGbk, gbk(b.name));
        EXPECT_EQ(rec.geometry.left, b.left);
        EXPECT_EQ(rec.geometry.top, b.top);
        EXPECT_EQ(rec.geometry.width, b.width);
        EXPECT_EQ(rec.geometry.height, b.height);
        EXPECT_EQ(rec.captionGbk, gbk(b.caption));
        EXPECT_EQ(rec.stateFlags, 5u);
        EXPECT_EQ(rec.parent, 0u);
        EXPECT_TRUE(rec.picture.empty());
        ASSERT_TRUE(rec.font);
        EXPECT_EQ(rec.font->height, -19);
        EXPECT_EQ(rec.font->weight, 700);
        EXPECT_EQ(rec.font->charSet, 134);
        ASSERT_EQ(rec.events.size(), 1u);
        EXPECT_EQ(rec.events[0].event, wt::form::kEventClicked);
        EXPECT_EQ(rec.events[0].handler, i);
    }
    const ControlRecord& info = menu->records[7];
    EXPECT_EQ(info.nameGbk, gbk("标签1"));
    EXPECT_EQ(info.kind, Kind::Label);
    EXPECT_EQ(info.geometry.left, 408);
    EXPECT_EQ(info.geometry.width, 360);
    EXPECT_EQ(info.captionGbk, gbk("后续电路图\r\n正在开发中\r\n静请等待...."));
    const ControlRecord& contact = menu->records[8];
    EXPECT_EQ(contact.nameGbk, gbk("标签2"));
    EXPECT_EQ(contact.geometry.top, 280);
    EXPECT_EQ(contact.geometry.height, 80);
    EXPECT_FALSE(contact.captionGbk.empty());
    for (const ControlRecord* label : {&info, &contact}) {
        EXPECT_EQ(label->stateFlags, 1u);
        EXPECT_FALSE(label->isWireBar());
        EXPECT_TRUE(label->events.empty());
        ASSERT_TRUE(label->font);
        EXPECT_EQ(label->font->height, -21);
        EXPECT_EQ(label->font->weight, 700);
        EXPECT_EQ(label->font->faceGbk, gbk("宋体"));
    }
}

}  // namespace
