// formc end to end: the exact bytes of a small resource, a round trip of every kind and attribute
// through the reader, the rejections of bad forms, and outputs left alone when unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "form_test_support.h"
#include "resources/form_reader.h"
#include "tiny_resource.h"

namespace fs = std::filesystem;
using namespace formtest;
using wt::form::FormResource;
using wt::form::Kind;

namespace {

std::string picture(char tag) {
    return std::string(kTinyPicture) + tag;
}

void writeAssets(const fs::path& dir) {
    writeFile(dir / "pic.png", kTinyPicture);
    writeFile(dir / "bg.png", picture('b'));
    writeFile(dir / "box.png", picture('x'));
    writeFile(dir / "btn.png", picture('n'));
    writeFile(dir / "terminal.png", picture('t'));
    writeFile(dir / "notpng.png", "plain text");
}

std::vector<fs::path> writeForms(const fs::path& dir,
                                 const std::vector<std::pair<std::string, std::string>>& forms) {
    std::vector<fs::path> paths;
    for (const auto& [name, text] : forms) {
        paths.push_back(dir / (name + ".form"));
        writeFile(paths.back(), text);
    }
    return paths;
}

TEST(FormCompiler, TinyFormGivesTheExactResourceBytes) {
    TempDir dir;
    writeAssets(dir.path());
    auto run = runFormc(dir.path(), dir.path(),
                        writeForms(dir.path(), {{"Tiny", std::string(kTinyForm)}}));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::uint8_t> got = bytesOf(readFile(dir.path() / "forms.bin"));
    const std::vector<std::uint8_t> want = tinyResource();
    ASSERT_EQ(want.size(), at::kEnd);
    for (std::size_t i = 0; i < std::min(got.size(), want.size()); ++i)
        ASSERT_EQ(got[i], want[i]) << "first difference at byte " << i;
    EXPECT_EQ(got.size(), want.size());

    const std::string header = readFile(dir.path() / "form_ids.h");
    EXPECT_NE(header.find("inline constexpr std::uint32_t Tiny = 0x52000001;"), std::string::npos);
    const char* names[] = {"Tiny.created", "Tiny.k1.clicked", "Tiny.k1.mouseDown",
                           "Tiny.k1.mouseUp", "Tiny.透明标签1.mouseDown"};
    std::size_t pos = 0;
    for (const char* name : names) {
        // Appended, not `"\"" + std::string(name)`: that inserts at the front, which GCC 12 at
        // -O3 takes for an overlapping copy (-Wrestrict).
        pos = header.find(std::string("\"").append(name).append("\""), pos);
        EXPECT_NE(pos, std::string::npos) << name << " missing or out of order";
    }
    EXPECT_NE(header.find("kHandlerCount = 5;"), std::string::npos);
}

// Two windows that between them use every kind and attribute.
const char* const kAlpha =
    "# every kind\n"
    "window Alpha 640 480 background=bg on created\n"
    "component QS switch 1 2 3 4 \"电源开关\"  # diagram only\n"
    "control 图片框1 picturebox 10 10 200 100 picture=box\n"
    "control e1线 wire 12 14 8 80 parent=图片框1 phase=L3\n"
    "control sb2 button 20 30 40 40 picture=btn on mouseDown on mouseUp\n"
    "control 标签39 label 528 56 152 72 caption=\"请合上电源\" color=255 back=0x00FF00 "
    "border=0 font=16 hidden\n"
    "control 选择框 checkbox 5 6 70 20 caption=\"修改线\" font=14,bold\n"
    "control 透明标签1 transparent 168 96 32 48 parent=图片框1 on mouseDown\n"
    "control e1 terminal 100 100 24 24 id=0x16000100 on clicked\n";
const char* const kBeta =
    "window Beta 100 50\n"
    "control 标签1 label 1 1 10 10 caption=\"第一行\\n第二行 \\\"引号\\\"\"\n"
    "control b1 button 1 1 10 10\n";

TEST(FormCompiler, RoundTripOfEveryKindAndAttribute) {
    TempDir dir;
    writeAssets(dir.path());
    auto run = runFormc(dir.path(), dir.path(),
                        writeForms(dir.path(), {{"Alpha", kAlpha}, {"Beta", kBeta}}));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::uint8_t> bin = bytesOf(readFile(dir.path() / "forms.bin"));
    std::string error;
    auto res = FormResource::parse(bin, 5, &error);
    ASSERT_TRUE(res) << error;
    ASSERT_EQ(res->blocks().size(), 2u);
    EXPECT_EQ(res->find(0x52000003), nullptr);

    const auto* alpha = res->find(0x52000001);
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->moduleId, 0x19000001u);
    ASSERT_EQ(alpha->records.size(), 8u);
    const auto& win = alpha->window();
    EXPECT_EQ(win.id, 0x06000001u);
    EXPECT_EQ(win.kind, Kind::Window);
    EXPECT_EQ(win.geometry.left, 50);
    EXPECT_EQ(win.geometry.width, 640);
    EXPECT_EQ(win.geometry.height, 480);
    EXPECT_EQ(std::string(win.picture.begin(), win.picture.end()), picture('b'));
    ASSERT_EQ(win.events.size(), 1u);
    EXPECT_EQ(win.events[0].handler, 0u);

    // Serials 1 and 2 name the windows; Alpha's six numbered controls take 8 down to 3.
    const std::uint32_t ids[] = {0x06000001, 0x16000008, 0x16000007, 0x16000006,
                                 0x16000005, 0x16000004, 0x16000003, 0x16000100};
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(alpha->records[i].id, ids[i]) << i;

    const auto& box = alpha->records[1];
    EXPECT_EQ(box.kind, Kind::PictureBox);
    EXPECT_EQ(box.stateFlags, 1u);
    EXPECT_EQ(box.children, (std::vector<std::uint32_t>{0x16000007, 0x16000003}));
    EXPECT_EQ(std::string(box.picture.begin(), box.picture.end()), picture('x'));

    const auto& wire = alpha->records[2];
    EXPECT_EQ(wire.nameGbk, gbk("e1线"));
    EXPECT_TRUE(wire.isWireBar());
    EXPECT_EQ(wire.parent, 0x16000008u);
    EXPECT_EQ(wire.textColor, 0x808080u);
    EXPECT_EQ(wire.backColor, 0xFFFFFFu);
    EXPECT_EQ(wire.borderColor, 0x808080u);
    EXPECT_EQ(wire.barColors[0], 0xCBC0FFu);
    EXPECT_EQ(wire.barColors[1], 0xFF00FFu);
    EXPECT_EQ(wire.barColors[2], 0x0000FFu);
    EXPECT_TRUE(wire.captionGbk.empty());

    const auto& sb2 = alpha->records[3];
    EXPECT_EQ(sb2.kind, Kind::Button);
    EXPECT_EQ(sb2.stateFlags, 5u);
    EXPECT_FALSE(sb2.font.has_value());
    EXPECT_EQ(std::string(sb2.picture.begin(), sb2.picture.end()), picture('n'));
    ASSERT_EQ(sb2.events.size(), 2u);
    EXPECT_EQ(sb2.events[0].event, wt::form::kEventMouseDown);
    EXPECT_EQ(sb2.events[0].handler, 1u);
    EXPECT_EQ(sb2.events[1].event, wt::form::kEventMouseUp);
    EXPECT_EQ(sb2.events[1].handler, 2u);

    const auto& prompt = alpha->records[4];
    EXPECT_EQ(prompt.kind, Kind::Label);
    EXPECT_FALSE(prompt.visibleAtCreation());
    EXPECT_EQ(prompt.stateFlags, 0u);
    EXPECT_FALSE(prompt.isWireBar());
    EXPECT_EQ(prompt.geometry.left, 528);
    EXPECT_EQ(prompt.geometry.height, 72);
    EXPECT_EQ(prompt.textColor, 255u);
    EXPECT_EQ(prompt.backColor, 0x00FF00u);
    EXPECT_EQ(prompt.borderColor, 0u);
    EXPECT_EQ(prompt.captionGbk, gbk("请合上电源"));
    ASSERT_TRUE(prompt.font.has_value());
    EXPECT_EQ(prompt.font->height, -16);
    EXPECT_EQ(prompt.font->weight, 400);
    EXPECT_EQ(prompt.font->charSet, 134);
    EXPECT_EQ(prompt.font->faceGbk, gbk("宋体"));

    const auto& check = alpha->records[5];
    EXPECT_EQ(check.kind, Kind::CheckBox);
    EXPECT_EQ(check.stateFlags, 5u);
    EXPECT_EQ(check.captionGbk, gbk("修改线"));
    ASSERT_TRUE(check.font.has_value());
    EXPECT_EQ(check.font->height, -14);
    EXPECT_EQ(check.font->weight, 700);

    const auto& area = alpha->records[6];
    EXPECT_EQ(area.kind, Kind::TransparentLabel);
    EXPECT_EQ(area.parent, 0x16000008u);
    EXPECT_EQ(area.geometry.top, 96);
    ASSERT_EQ(area.events.size(), 1u);
    EXPECT_EQ(area.events[0].handler, 3u);

    const auto& terminal = alpha->records[7];
    EXPECT_EQ(terminal.kind, Kind::Button);
    EXPECT_EQ(terminal.captionGbk, gbk("按钮"));
    EXPECT_EQ(std::string(terminal.picture.begin(), terminal.picture.end()), picture('t'));
    EXPECT_EQ(alpha->indexOfId(0x16000100), 7);

    const auto* beta = res->find(0x52000002);
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(beta->moduleId, 0x19000002u);
    EXPECT_TRUE(beta->window().events.empty());
    EXPECT_TRUE(beta->window().picture.empty());
    ASSERT_EQ(beta->records.size(), 3u);
    EXPECT_EQ(beta->records[1].id, 0x1600000Au);
    EXPECT_EQ(beta->records[1].captionGbk, gbk("第一行\r\n第二行 \"引号\""));
    EXPECT_EQ(beta->records[2].id, 0x16000009u);
    EXPECT_TRUE(beta->records[2].captionGbk.empty());
    EXPECT_TRUE(beta->records[2].picture.empty());
}

struct Rejection {
    const char* what;
    std::vector<std::pair<std::string, std::string>> forms;  // file stem, text
    const char* where;                                       // "File.form:line:"
    const char* message;
};

const char* const kW = "window W 100 100\n";

std::vector<Rejection> rejections() {
    auto w = [](std::string rest) {
        return std::vector<std::pair<std::string, std::string>>{{"W", std::string(kW) + rest}};
    };
    return {
        {"unknown directive", w("widget x\n"), "W.form:2:", "unknown directive 'widget'"},
        {"unknown kind", w("control x slider 1 1 1 1\n"), "W.form:2:", "unknown kind 'slider'"},
        {"unknown attribute", w("control x label 1 1 1 1 colour=3\n"),
         "W.form:2:", "unknown attribute 'colour'"},
        {"attribute of another kind", w("control x wire 1 1 1 1 font=12\n"),
         "W.form:2:", "attribute 'font' is not valid for kind 'wire'"},
        {"window attribute",
         {{"W", "window W 1 1 hidden\n"}},
         "W.form:1:",
         "unknown attribute 'hidden'"},
        {"unknown event", w("control x button 1 1 1 1 on doubleClicked\n"),
         "W.form:2:", "unknown event 'doubleClicked'"},
        {"clicked on a label", w("control x label 1 1 1 1 on clicked\n"),
         "W.form:2:", "event 'clicked' is not valid for kind 'label'"},
        {"mouseUp on a terminal", w("control x terminal 1 1 1 1 on mouseUp\n"),
         "W.form:2:", "event 'mouseUp' is not valid for kind 'terminal'"},
        {"mouseDown on a check box", w("control x checkbox 1 1 1 1 on mouseDown\n"),
         "W.form:2:", "event 'mouseDown' is not valid for kind 'checkbox'"},
        {"clicked on a transparent label", w("control x transparent 1 1 1 1 on clicked\n"),
         "W.form:2:", "event 'clicked' is not valid for kind 'transparent'"},
        {"part of a button", w("control x button 1 1 1 1 part=\"主触点\"\n"),
         "W.form:2:", "attribute 'part' is not valid for kind 'button'"},
        {"hint on a wire", w("control x wire 1 1 1 1 hint=\"导线\"\n"),
         "W.form:2:", "attribute 'hint' is not valid for kind 'wire'"},
        {"spoken name of a label", w("control x label 1 1 1 1 spoken=\"状态\"\n"),
         "W.form:2:", "attribute 'spoken' is not valid for kind 'label'"},
        {"clicked on the window",
         {{"W", "window W 1 1 on clicked\n"}},
         "W.form:1:",
         "event 'clicked' is not valid for the window"},
        {"event bound twice", w("control x button 1 1 1 1 on clicked on clicked\n"),
         "W.form:2:", "bound twice"},
        {"duplicate name", w("control x label 1 1 1 1\n\ncontrol x button 1 1 1 1\n"),
         "W.form:4:", "duplicate control name 'x'"},
        {"duplicate id across windows",
         {{"W", std::string(kW) + "control x label 1 1 1 1 id=0x16000100\n"},
          {"V", "window V 1 1\ncontrol y label 1 1 1 1 id=0x16000100\n"}},
         "V.form:2:",
         "duplicate id"},
        {"id with the wrong top byte", w("control x label 1 1 1 1 id=0x17000005\n"),
         "W.form:2:", "bad control id"},
        {"id on a window serial", w("control x label 1 1 1 1 id=0x16000001\n"),
         "W.form:2:", "duplicate id"},
        {"parent declared later",
         w("control l wire 1 1 1 1 parent=box\ncontrol box picturebox 1 1 9 9\n"),
         "W.form:2:", "parent 'box' is not a picture box declared earlier"},
        {"parent not a picture box",
         w("control t label 1 1 9 9\ncontrol l wire 1 1 1 1 parent=t\n"),
         "W.form:3:", "parent 't' is not a picture box declared earlier"},
        {"missing asset", w("control p picturebox 1 1 1 1 picture=nosuch\n"),
         "W.form:2:", "missing asset file"},
        {"missing background",
         {{"W", "window W 1 1 background=nosuch\n"}},
         "W.form:1:",
         "missing asset file"},
        {"asset not a picture", w("control p picturebox 1 1 1 1 picture=notpng\n"),
         "W.form:2:", "is not a PNG or GIF picture"},
        {"bad number", w("control x label 1 1 1x 1\n"), "W.form:2:", "bad number '1x'"},
        {"negative size", w("control x label 1 1 -5 1\n"), "W.form:2:", "bad number '-5'"},
        {"number too large", w("control x label 99999 1 1 1\n"), "W.form:2:", "bad number"},
        {"bad window size", {{"W", "window W wide 1\n"}}, "W.form:1:", "bad number 'wide'"},
        {"bad colour", w("control x label 1 1 1 1 color=0x1000000\n"),
         "W.form:2:", "bad number '0x1000000'"},
        {"bad font", w("control x label 1 1 1 1 font=19,italic\n"), "W.form:2:", "bad font"},
        {"unknown phase", w("control x wire 1 1 1 1 phase=L4\n"), "W.form:2:", "unknown phase"},
        {"hidden with a value", w("control x label 1 1 1 1 hidden=1\n"),
         "W.form:2:", "'hidden' takes no value"},
        {"empty value", w("control x label 1 1 1 1 font=\n"), "W.form:2:", "needs a value"},
        {"caption not in GBK", w("control x label 1 1 1 1 caption=\"笑😀\"\n"),
         "W.form:2:", "not representable in GBK"},
        {"name not in GBK", w("control 😀 label 1 1 1 1\n"),
         "W.form:2:", "not representable in GBK"},
        {"unterminated quote", w("control x label 1 1 1 1 caption=\"open\n"),
         "W.form:2:", "unterminated quoted text"},
        {"unknown escape", w("control x label 1 1 1 1 caption=\"a\\tb\"\n"),
         "W.form:2:", "unknown escape"},
        {"control before window",
         {{"W", "control x label 1 1 1 1\nwindow W 1 1\n"}},
         "W.form:1:",
         "before the 'window' line"},
        {"two window lines",
         {{"W", "window W 1 1\nwindow W 1 1\n"}},
         "W.form:2:",
         "a second 'window' line"},
        {"no window line", {{"W", "# empty\n"}}, "W.form:1:", "no 'window' line"},
        {"window in the wrong file", {{"W", "window X 1 1\n"}}, "W.form:1:", "must be in X.form"},
        {"unknown component type", w("component Q lamp 1 1 1 1\n"),
         "W.form:2:", "unknown component type 'lamp'"},
        {"menu with 长动 not first",
         {{"ExerciseMenu",
           "window ExerciseMenu 9 9\ncontrol 点动 button 1 1 1 1 on clicked\n"
           "control 长动 button 1 1 1 1 on clicked\n"}},
         "ExerciseMenu.form:3:",
         "ExerciseMenu.长动.clicked must be handler 0"},
        {"menu after another window",
         {{"W", "window W 1 1 on created\n"},
          {"ExerciseMenu", "window ExerciseMenu 9 9\ncontrol 长动 button 1 1 1 1 on clicked\n"}},
         "ExerciseMenu.form:2:",
         "must be handler 0"},
        {"menu without 长动",
         {{"ExerciseMenu", "window ExerciseMenu 9 9\n"}},
         "ExerciseMenu.form:1:",
         "handler 0"},
    };
}

TEST(FormCompiler, RejectsBadFormsWithFileAndLine) {
    for (const Rejection& r : rejections()) {
        SCOPED_TRACE(r.what);
        TempDir dir;
        writeAssets(dir.path());
        auto run = runFormc(dir.path(), dir.path(), writeForms(dir.path(), r.forms));
        EXPECT_NE(run.exitCode, 0);
        std::string expected = std::string(r.where) + " ";
        std::size_t pos = run.output.find(expected);
        ASSERT_NE(pos, std::string::npos) << run.output;
        EXPECT_NE(run.output.find(r.message, pos), std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(dir.path() / "forms.bin"));
        EXPECT_FALSE(fs::exists(dir.path() / "form_ids.h"));
    }
}

// The screen-reader table: component lines and the part/hint/spoken attributes in, one row per
// control that acts out, with its Tab position.
TEST(FormCompiler, WritesTheAccessTable) {
    TempDir dir;
    writeAssets(dir.path());
    auto forms =
        writeForms(dir.path(), {{"W",
                                 "window W 200 200\n"
                                 "component KM contactor 0 0 100 100 \"接触器\"\n"
                                 "control t2 terminal 50 0 24 24 part=\"主触点\"\n"
                                 "control t1 terminal 10 0 24 24 part=\"主触点\"\n"
                                 "control b button 60 60 30 30 hint=\"按下启动\"\n"
                                 "control 选择框 checkbox 150 150 40 20 spoken=\"修改线\"\n"
                                 "control x label 1 1 1 1\n"}});
    const fs::path access = dir.path() / "form_access.h";
    auto run = runFormc(dir.path(), dir.path(), forms, " --access '" + access.string() + "'");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string header = readFile(access);
    for (const char* row : {
             R"({W, "t2", "", "接触器 KM，主触点，上端第2极", 2},)",
             R"({W, "t1", "", "接触器 KM，主触点，上端第1极", 1},)",
             R"({W, "b", "KM 接触器", "按下启动", 0},)",
             R"({W, "选择框", "修改线", "", 3},)",
             "kControlAccessCount = 4;",
         })
        EXPECT_NE(header.find(row), std::string::npos) << row << "\n" << header;
}

TEST(FormCompiler, LeavesUnchangedOutputsUntouched) {
    TempDir dir;
    writeAssets(dir.path());
    auto forms = writeForms(dir.path(), {{"Tiny", std::string(kTinyForm)}});
    ASSERT_EQ(runFormc(dir.path(), dir.path(), forms).exitCode, 0);
    const fs::path bin = dir.path() / "forms.bin", header = dir.path() / "form_ids.h";
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(bin, old);
    fs::last_write_time(header, old);

    ASSERT_EQ(runFormc(dir.path(), dir.path(), forms).exitCode, 0);
    EXPECT_EQ(fs::last_write_time(bin), old);
    EXPECT_EQ(fs::last_write_time(header), old);
    EXPECT_FALSE(fs::exists(dir.path() / "forms.bin.tmp"));

    writeFile(forms[0], std::string(kTinyForm) + "control k2 button 1 1 1 1\n");
    ASSERT_EQ(runFormc(dir.path(), dir.path(), forms).exitCode, 0);
    EXPECT_NE(fs::last_write_time(bin), old);
    EXPECT_NE(bytesOf(readFile(bin)), tinyResource());
    EXPECT_EQ(fs::last_write_time(header), old);  // same windows, same handlers
}

}  // namespace
