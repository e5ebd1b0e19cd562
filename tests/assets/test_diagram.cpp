// The form geometry of the diagram generator and the drawing it makes: components and terminal
// pads where the form says, no wires, the stretched continuous-run background, and assetgen's
// refusal of a broken form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "assets/diagram.h"
#include "assets/form_geometry.h"
#include "image_io.h"

namespace wt::assets {
namespace {

namespace fs = std::filesystem;

TEST(FormGeometry, ReadsWindowComponentsAndControls) {
    std::string error;
    auto form = parseFormGeometry(
        "# heading\n"
        "window W 400 300 background=diagram_w on created\n"
        "component KM contactor 40 40 120 100 \"接触器\"\n"
        "control 图片框1 picturebox 200 100 100 80 picture=fuse\n"
        "control t2 terminal 10 20 24 24 parent=图片框1 on clicked\n"
        "control w线 wire 300 200 80 8 phase=L1\n",
        &error);
    ASSERT_TRUE(form) << error;
    EXPECT_EQ(form->window, "W");
    EXPECT_EQ(form->width, 400);
    EXPECT_EQ(form->height, 300);
    ASSERT_EQ(form->components.size(), 1u);
    EXPECT_EQ(form->components[0].label, "KM");
    EXPECT_EQ(form->components[0].type, "contactor");
    EXPECT_EQ(form->components[0].rect, (FormRect{40, 40, 120, 100}));
    EXPECT_EQ(form->components[0].caption, "接触器");
    ASSERT_EQ(form->controls.size(), 3u);
    EXPECT_EQ(form->controls[1].parent, "图片框1");
    EXPECT_EQ(form->controls[1].rect, (FormRect{210, 120, 24, 24}));  // relative to its box
    EXPECT_EQ(form->controls[2].kind, "wire");
}

struct BadFormRow {
    const char* text;
    const char* expected;  // part of the error
};

class BadForm : public ::testing::TestWithParam<BadFormRow> {};

TEST_P(BadForm, IsRefusedWithItsLine) {
    std::string error;
    EXPECT_FALSE(parseFormGeometry(GetParam().text, &error));
    EXPECT_NE(error.find(GetParam().expected), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadForm,
    ::testing::Values(
        BadFormRow{"control a terminal 1 2 3 4\n", "line 1: 'control' before the 'window' line"},
        BadFormRow{"# nothing\n", "no 'window' line"}, BadFormRow{"window W 0 300\n", "line 1"},
        BadFormRow{"window W 10 10\nwindow V 10 10\n", "line 2: a second 'window' line"},
        BadFormRow{"window W 10 10\ncontrol a terminal 1 2 x 4\n", "line 2: bad number 'x'"},
        BadFormRow{"window W 10 10\ncontrol a terminal 1 2 3\n", "line 2: a control line needs"},
        BadFormRow{"window W 10 10\ncomponent K coil 1 2 -3 4\n", "line 2: bad number '-3'"},
        BadFormRow{"window W 10 10\ncontrol a terminal 1 2 3 4 parent=p\n", "line 2: parent 'p'"},
        BadFormRow{"window W 10 10\ncontrol p label 0 0 5 5\ncontrol a terminal 1 1 2 2 parent=p\n",
                   "line 3: parent 'p' is not a picture box"},
        BadFormRow{"window W 10 10\n\ncontrol a label 1 2 3 4 caption=\"x\n",
                   "line 3: unterminated"}));

const char kTinyForm[] =
    "window TinyWindow 400 300\n"
    "component KM contactor 40 40 120 100 \"接触器\"\n"
    "control 图片框1 picturebox 200 100 100 80\n"
    "control t1 terminal 60 60 24 24 on clicked\n"
    "control t2 terminal 10 20 24 24 parent=图片框1\n"
    "control w1线 wire 300 200 80 8\n";

bool isPaper(std::uint32_t rgb) {
    return rgb == static_cast<std::uint32_t>(kDiagramPaper.rgb() & 0xFFFFFF);
}

TEST(Diagram, DrawsPadsAndComponentsButNoWires) {
    auto form = parseFormGeometry(kTinyForm, nullptr);
    ASSERT_TRUE(form);
    const QImage img = drawDiagram(*form, diagramSize(*form));
    ASSERT_EQ(img.size(), QSize(400, 300));
    auto at = [&](int x, int y) { return static_cast<std::uint32_t>(img.pixel(x, y) & 0xFFFFFF); };
    EXPECT_FALSE(isPaper(at(72, 72))) << "t1 has no pad";
    EXPECT_FALSE(isPaper(at(222, 132))) << "t2 is not placed relative to its picture box";
    EXPECT_FALSE(isPaper(at(57, 72))) << "no pad ring around t1";
    EXPECT_FALSE(isPaper(at(150, 130))) << "the component outline area is empty";
    EXPECT_TRUE(isPaper(at(343, 205))) << "the wire bar was drawn";
    EXPECT_TRUE(isPaper(at(381, 13))) << "the empty paper is not paper";
}

TEST(Diagram, StretchesTheContinuousRunBackground) {
    auto form = parseFormGeometry(
        "window ContinuousRunExercise 1246 758\n"
        "control a1 terminal 128 168 24 24\n",
        nullptr);
    ASSERT_TRUE(form);
    ASSERT_EQ(diagramSize(*form), QSize(2001, 1126));
    const QImage img = drawDiagram(*form, diagramSize(*form));
    ASSERT_EQ(img.size(), QSize(2001, 1126));
    const int x = static_cast<int>(140 * 2001.0 / 1246), y = static_cast<int>(180 * 1126.0 / 758);
    EXPECT_FALSE(isPaper(img.pixel(x, y) & 0xFFFFFF));
    // Where the pad would be without the stretch there is only paper.
    EXPECT_TRUE(isPaper(img.pixel(139, 182) & 0xFFFFFF));
}

TEST(Diagram, EmptyFormGivesAnEmptySheetOfTheWindowSize) {
    auto form = parseFormGeometry("window JogExercise 1159 839\n", nullptr);
    ASSERT_TRUE(form);
    const QImage img = drawDiagram(*form, diagramSize(*form));
    EXPECT_EQ(img.size(), QSize(1159, 839));
    EXPECT_TRUE(isPaper(img.pixel(13, 13) & 0xFFFFFF));
}

// The real windows: every component tag stays clear of every control (a wire bar over a tag
// would hide it once wired), of the other components and tags; and the windows whose form gives
// the edit-wire check box no caption get "修改线" drawn right beside it.
struct RealDiagramRow {
    const char* window;
    bool drawsToggleCaption;
};

class RealDiagram : public ::testing::TestWithParam<RealDiagramRow> {};

TEST_P(RealDiagram, TagsClearOfEveryControlAndTheToggleCaptioned) {
    std::string error;
    auto form = readFormGeometry(std::string(WT_TEST_FORMS_DIR) + "/" + GetParam().window + ".form",
                                 &error);
    ASSERT_TRUE(form) << error;
    const QSize size = diagramSize(*form);
    const double sx = double(size.width()) / form->width, sy = double(size.height()) / form->height;
    auto mapped = [&](const FormRect& r) {
        return QRectF(r.left * sx, r.top * sy, r.width * sx, r.height * sy);
    };
    const DiagramLayout layout = layoutDiagram(*form, size);
    const QRectF sheet(0, 0, size.width(), size.height());
    std::vector<std::pair<std::string, QRectF>> placed;
    for (const DiagramTag& t : layout.tags) placed.emplace_back(t.label, t.rect);
    if (layout.toggleCaption) placed.emplace_back(kToggleCaption, *layout.toggleCaption);
    for (const auto& [label, tag] : placed) {
        EXPECT_TRUE(sheet.contains(tag)) << label;
        for (const FormControl& c : form->controls)
            EXPECT_FALSE(mapped(c.rect).intersects(tag)) << label << " under " << c.name;
        for (const FormComponent& k : form->components) {
            if (k.label != label) {
                EXPECT_FALSE(mapped(k.rect).intersects(tag)) << label << " on " << k.label;
            }
        }
        for (const auto& [other, rect] : placed) {
            if (other != label) {
                EXPECT_FALSE(rect.intersects(tag)) << label << " on " << other;
            }
        }
    }
    ASSERT_EQ(layout.toggleCaption.has_value(), GetParam().drawsToggleCaption);
    if (!layout.toggleCaption) return;
    const QRectF caption = *layout.toggleCaption;
    for (const FormControl& c : form->controls) {
        if (c.kind != "checkbox") continue;
        const QRectF box = mapped(c.rect);
        EXPECT_LT(std::abs(caption.left() - box.right()), 6)
            << "not beside its check box: at " << caption.left() << "," << caption.top();
        EXPECT_LT(std::abs(caption.center().y() - box.center().y()), 2);
    }
    const QImage img = drawDiagram(*form, size);
    int dark = 0;
    for (int y = int(caption.top()); y < int(caption.bottom()); ++y)
        for (int x = int(caption.left()); x < int(caption.right()); ++x)
            dark += qGray(img.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 40) << "修改线 is not drawn";
}

INSTANTIATE_TEST_SUITE_P(Windows, RealDiagram,
                         ::testing::Values(RealDiagramRow{"ContinuousRunExercise", false},
                                           RealDiagramRow{"JogExercise", true},
                                           RealDiagramRow{"ContinuousJogExercise", true},
                                           RealDiagramRow{"ForwardReverseExercise", false},
                                           RealDiagramRow{"DoubleInterlockExercise", false},
                                           RealDiagramRow{"MultiLocationExercise", true}),
                         [](const auto& info) { return std::string(info.param.window); });

class AssetgenRun : public ::testing::Test {
  protected:
    void SetUp() override {
        // ctest runs the cases of this fixture in parallel: one folder per case.
        dir_ = fs::path(::testing::TempDir()) /
               (std::string("wt_assetgen_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    int run(const std::string& formText, const fs::path& out) {
        const fs::path form = dir_ / "Tiny.form";
        std::ofstream(form) << formText;
        const std::string cmd = std::string("\"") + WT_TEST_ASSETGEN + "\" --diagram \"" +
                                form.string() + "\" \"" + out.string() + "\" 2>\"" +
                                (dir_ / "stderr.txt").string() + "\"";
        return std::system(cmd.c_str());
    }
    std::string stderrText() {
        auto bytes = test::readFile((dir_ / "stderr.txt").string());
        return {bytes.begin(), bytes.end()};
    }
    fs::path dir_;
};

TEST_F(AssetgenRun, WritesTheDiagramOfAFormFile) {
    const fs::path out = dir_ / "diagram_tiny.png";
    ASSERT_EQ(run(kTinyForm, out), 0) << stderrText();
    auto header = test::readPngHeader(out.string());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 400u);
    EXPECT_EQ(header->height, 300u);
    auto img = test::readPng(out.string());
    ASSERT_TRUE(img);
    EXPECT_FALSE(isPaper(img->at(72, 72)));
    EXPECT_FALSE(isPaper(img->at(222, 132)));
    EXPECT_TRUE(isPaper(img->at(343, 205)));
}

TEST_F(AssetgenRun, RefusesABrokenFormNamingTheLine) {
    const fs::path out = dir_ / "diagram_bad.png";
    EXPECT_NE(run("window W 10 10\ncontrol a terminal 1 2 x 4\n", out), 0);
    EXPECT_NE(stderrText().find("line 2"), std::string::npos) << stderrText();
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace wt::assets
