// The page builds every window from these descriptions: texts must survive as JSON strings,
// pictures must be the ones the model shows and must lie inside their storage.
#include "ui/web/describe.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "form_ids.h"
#include "resources/embedded_forms.h"
#include "resources/gbk.h"
#include "resources/media.h"
#include "ui/properties.h"

namespace wt::web {
namespace {

TEST(WebDescribe, JsonStringsEscapeWhatJsonRequires) {
    struct Row {
        std::string_view in, out;
    };
    const Row rows[] = {
        {"", "\"\""},
        {"a1", "\"a1\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"back\\slash", "\"back\\\\slash\""},
        {"two\nlines\r", "\"two\\nlines\\r\""},
        {"tab\there", "\"tab\\there\""},
        {std::string_view("\x01\x1f", 2), "\"\\u0001\\u001f\""},
        {"请连线", "\"请连线\""},
    };
    for (const Row& r : rows) EXPECT_EQ(jsonString(r.in), r.out) << r.in;
}

TEST(WebDescribe, KindsHaveThePagesNames) {
    struct Row {
        form::Kind kind;
        std::uint32_t barMode;
        std::string_view name;
    };
    const Row rows[] = {
        {form::Kind::Window, 0, "window"},
        {form::Kind::Label, 0, "label"},
        {form::Kind::Label, 1, "wire"},
        {form::Kind::Button, 0, "button"},
        {form::Kind::PictureBox, 0, "picture"},
        {form::Kind::CheckBox, 0, "check"},
        {form::Kind::TransparentLabel, 0, "area"},
    };
    for (const Row& r : rows) {
        form::ControlRecord rec;
        rec.kind = r.kind;
        rec.barMode = r.barMode;
        EXPECT_EQ(kindName(rec), r.name);
    }
}

// A blob in the layout of the constant area: marker, length, bytes.
struct Blob {
    std::array<std::uint8_t, 16> bytes{};
    Blob(std::uint32_t marker, std::uint32_t length) {
        std::memcpy(bytes.data(), &marker, 4);
        std::memcpy(bytes.data() + 4, &length, 4);
    }
    MediaRef ref() const { return {bytes.data(), bytes.size()}; }
};

TEST(WebDescribe, APictureBoxShowsAValidBlobElseItsStoredPicture) {
    static const std::uint8_t stored[] = {0x89, 'P', 'N', 'G'};
    form::ControlRecord rec;
    rec.kind = form::Kind::PictureBox;
    rec.picture = stored;
    const Blob fits(1, 8), tooLong(1, 9), wrongMarker(2, 4);
    const MediaRef real = media::blob(media::Role::MotorForward);
    struct Row {
        const char* what;
        MediaRef set;
        const std::uint8_t* expect;
        std::size_t size;
    };
    const Row rows[] = {
        {"nothing set", MediaRef{}, stored, sizeof stored},
        {"a blob that fits", fits.ref(), fits.bytes.data() + 8, 8},
        {"a length past the storage", tooLong.ref(), stored, sizeof stored},
        {"a wrong marker", wrongMarker.ref(), stored, sizeof stored},
        {"a real animation", real, real.blob + 8, real.extent - 8},
    };
    for (const Row& r : rows) {
        ControlState s;
        s.record = &rec;
        s.picture = r.set;
        const auto file = currentPicture(s);
        EXPECT_EQ(file.data(), r.expect) << r.what;
        EXPECT_EQ(file.size(), r.size) << r.what;
    }
}

struct NullPlatform : Platform {
    void createWindow(const WindowRef&) override {}
    void showWindow(const WindowRef&) override {}
    void runModal(const WindowRef&) override {}
    void activateWindow(const WindowRef&) override {}
    void propertyChanged(const WindowRef&, int, int) override {}
    int messageBox(const std::string&, const std::string&, int, bool) override { return 1; }
    void playSound(MediaRef) override {}
    void applyVisualStyle(int) override {}
    bool onGuiThread() const override { return true; }
};

form::FormResource oneWindow() {
    form::WindowBlock b;
    b.windowId = 0x52000009;
    form::ControlRecord win;
    win.kind = form::Kind::Window;
    win.geometry = {0, 0, 300, 200};
    b.records.push_back(win);
    form::ControlRecord label;
    label.id = 0x16000001;
    label.kind = form::Kind::Label;
    label.nameGbk = gbk("标签1");
    label.captionGbk = gbk("第一行\r\n第二行");
    label.stateFlags = form::kStateVisible;
    label.events = {{form::kEventMouseDown, 0}};
    b.records.push_back(label);
    form::ControlRecord box;
    box.id = 0x16000002;
    box.kind = form::Kind::PictureBox;
    box.nameGbk = gbk("图片框1");
    box.geometry = {5, 6, 7, 8};
    b.records.push_back(box);
    return form::FormResource::fromBlocks({b});
}

TEST(WebDescribe, WindowsAndStatesCarryWhatThePageShows) {
    const form::FormResource forms = oneWindow();
    ModelWindow w(forms.blocks().front(), 7);
    const std::string all = describeWindow(w, "标题");
    struct Row {
        const char* fragment;
    };
    const Row rows[] = {
        {"\"serial\":7,"},
        {"\"title\":\"标题\""},
        {"\"w\":300,\"h\":200"},
        {"\"bg\":null"},
        {"\"name\":\"标签1\""},
        {"\"onDown\":1,\"onUp\":0"},
        {"\"caption\":\"第一行\\n第二行\""},
        {"\"kind\":\"picture\""},
        {"\"x\":5,\"y\":6,\"w\":7,\"h\":8"},
        {"\"visible\":0"},
    };
    for (const Row& r : rows) EXPECT_NE(all.find(r.fragment), std::string::npos) << r.fragment;

    // A state follows the model: the box shows the picture the logic set, the label its caption.
    NullPlatform platform;
    Ui ui(forms, platform, {});
    ASSERT_TRUE(ui.openWindow(0x52000009, nullptr, false));
    WindowRef open = ui.openInstance(0x52000009);
    const MediaRef closed = media::blob(media::Role::SwitchClosed);
    ui.setProperty(open, gbk("图片框1"), prop::Picture, closed);
    ui.setProperty(open, gbk("标签1"), prop::Caption, gbk("通电源了"));
    ui.setProperty(open, gbk("标签1"), prop::TextColor, 65280);
    const std::string pic = jsonPicture(*mediaFile(closed));
    EXPECT_EQ(describeState(*open, 2),
              "{\"i\":2,\"visible\":0,\"caption\":\"\",\"color\":0,"
              "\"checked\":0,\"pic\":" +
                  pic + "}");
    EXPECT_EQ(describeState(*open, 1),
              "{\"i\":1,\"visible\":1,\"caption\":\"通电源了\","
              "\"color\":65280,\"checked\":0}");
    EXPECT_EQ(describeState(*open, 9), "{\"i\":9}");
}

// The page names, describes and orders the controls as the desktop does: what each control's
// object in the window's description carries, up to the next control's.
TEST(WebDescribe, ControlsThatActCarryTheDesktopsNamesAndMoves) {
    static const auto forms =
        form::FormResource::parse(form::embeddedFormResource(), wt::forms::kHandlerCount);
    ASSERT_TRUE(forms);
    const auto control = [](const std::string& all, std::string_view name) {
        const std::size_t at = all.find("\"name\":" + jsonString(name));
        if (at == std::string::npos) return std::string();
        return all.substr(at, all.find("{\"i\":", at) - at);
    };
    struct Row {
        std::uint32_t window;
        std::string_view control, fragment;
    };
    const Row rows[] = {
        {wt::forms::ContinuousRunExercise, "透明标签1", "\"spoken\":\"QS 电源开关\""},
        {wt::forms::ContinuousRunExercise, "透明标签1", "\"desc\":\"按下合上或断开电源\""},
        {wt::forms::ContinuousRunExercise, "按钮开", "\"spoken\":\"SB2 启动\""},
        {wt::forms::ContinuousRunExercise, "a1",
         "\"spoken\":\"a1\",\"desc\":\"电源开关 QS，下端第1极\""},
        {wt::forms::ContinuousRunExercise, "a1", "\"nav\":["},
        {wt::forms::ExerciseMenu, "点动", "\"spoken\":\"电路点动\""},
    };
    for (const Row& r : rows) {
        ModelWindow w(*forms->find(r.window), 1);
        const std::string all = describeWindow(w, "");
        EXPECT_NE(control(all, r.control).find(r.fragment), std::string::npos)
            << r.control << ": " << control(all, r.control);
    }
    // Labels and wires take no focus; the menu's Tab order runs down the buttons as drawn.
    ModelWindow run(*forms->find(wt::forms::ContinuousRunExercise), 1);
    EXPECT_EQ(control(describeWindow(run, ""), "标签39").find("\"nav\""), std::string::npos);
    ModelWindow menu(*forms->find(wt::forms::ExerciseMenu), 1);
    const std::string all = describeWindow(menu, "");
    const auto indexOf = [&](std::string_view name) {
        const std::size_t at = all.rfind("{\"i\":", all.find("\"name\":" + jsonString(name)));
        return std::stoi(all.substr(at + 5));
    };
    EXPECT_NE(all.find("\"tab\":[" + std::to_string(indexOf("点动")) + "," +
                       std::to_string(indexOf("长动")) + ","),
              std::string::npos);
}

}  // namespace
}  // namespace wt::web
