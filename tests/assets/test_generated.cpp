// The generated files in the build's asset directory: formats and sizes the program relies on,
// and pictures that must visibly differ between their states.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "assets/form_geometry.h"
#include "assets/pictures.h"
#include "image_io.h"

namespace wt::assets {
namespace {

using test::readPng;

std::string asset(const std::string& file) {
    return std::string(WT_TEST_ASSET_DIR) + "/" + file;
}

struct PngRow {
    const char* file;
    std::uint32_t width, height;
};

const PngRow kPngs[] = {
    {"menu_background.png", 1501, 672},
    {"terminal.png", 51, 51},
    {"button_green.png", 144, 144},
    {"button_red.png", 144, 144},
    {"switch_open.png", 340, 310},
    {"switch_closed.png", 340, 310},
    {"contactor_released.png", 505, 505},
    {"contactor_pulled_in.png", 505, 505},
    {"motor_at_rest.png", 619, 431},
    {"relay.png", 496, 320},
    {"fuse.png", 160, 240},
    {"schematic_continuous_run.png", 768, 768},
    {"schematic_jog.png", 768, 768},
    {"schematic_continuous_jog.png", 768, 768},
    {"schematic_forward_reverse.png", 768, 768},
    {"schematic_double_interlock.png", 768, 768},
    {"schematic_multi_location.png", 768, 768},
    // The continuous-run background is larger than its 1246 x 758 window; the others match
    // their client areas.
    {"diagram_continuous_run.png", 2001, 1126},
    {"diagram_jog.png", 1159, 839},
    {"diagram_continuous_jog.png", 1164, 780},
    {"diagram_forward_reverse.png", 1259, 800},
    {"diagram_double_interlock.png", 1368, 778},
    {"diagram_multi_location.png", 1419, 836},
};

class GeneratedPng : public ::testing::TestWithParam<PngRow> {};

TEST_P(GeneratedPng, IsEightBitRgbOfItsSize) {
    const PngRow& row = GetParam();
    auto header = test::readPngHeader(asset(row.file));
    ASSERT_TRUE(header) << row.file << " missing or not a PNG";
    EXPECT_EQ(header->width, row.width) << row.file;
    EXPECT_EQ(header->height, row.height) << row.file;
    EXPECT_EQ(header->bitDepth, 8) << row.file;
    EXPECT_EQ(header->colourType, PNG_COLOR_TYPE_RGB) << row.file;
}

INSTANTIATE_TEST_SUITE_P(AllPictures, GeneratedPng, ::testing::ValuesIn(kPngs),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             for (char& c : name)
                                 if (c == '.') c = '_';
                             return name;
                         });

struct GifRow {
    const char* file;
    int frames;
};

class GeneratedGif : public ::testing::TestWithParam<GifRow> {};

TEST_P(GeneratedGif, LoopsForeverAtTenFramesASecond) {
    const GifRow& row = GetParam();
    auto gif = test::readGif(test::readFile(asset(row.file)));
    ASSERT_TRUE(gif) << row.file;
    EXPECT_EQ(gif->signature, "GIF89a");
    EXPECT_EQ(gif->width, 620);
    EXPECT_EQ(gif->height, 434);
    EXPECT_EQ(static_cast<int>(gif->delays.size()), row.frames);
    for (std::size_t k = 0; k < gif->delays.size(); ++k)
        EXPECT_EQ(gif->delays[k], 10) << "frame " << k;
    EXPECT_EQ(gif->loopCount, 0);
    EXPECT_TRUE(gif->framesInside);
    // Every frame shows a new position of the rotor, and the loop does not stand still where it
    // wraps around.
    ASSERT_EQ(static_cast<int>(gif->composed.size()), row.frames);
    for (std::size_t k = 1; k < gif->composed.size(); ++k)
        EXPECT_GT(test::differingShare(gif->composed[k - 1], gif->composed[k], 40), 0.001)
            << "frame " << k << " repeats frame " << k - 1;
    EXPECT_GT(test::differingShare(gif->composed.back(), gif->composed.front(), 40), 0.001);
}

INSTANTIATE_TEST_SUITE_P(BothDirections, GeneratedGif,
                         ::testing::Values(GifRow{"motor_forward.gif", 69},
                                           GifRow{"motor_reverse.gif", 68}));

TEST(GeneratedGif, ReverseTurnsTheOtherWay) {
    auto fwd = test::readGif(test::readFile(asset("motor_forward.gif")));
    auto rev = test::readGif(test::readFile(asset("motor_reverse.gif")));
    ASSERT_TRUE(fwd && rev);
    ASSERT_GT(fwd->composed.size(), 2u);
    ASSERT_GT(rev->composed.size(), 2u);
    // Both start from the same rotor position and then move apart.
    EXPECT_GT(test::differingShare(fwd->composed[1], rev->composed[1], 40), 0.001);
    EXPECT_GT(test::differingShare(fwd->composed[2], rev->composed[2], 40), 0.001);
}

// Shown in a small box, the running motor must still read as turning: between any two frames
// three or four apart (a glance 0.35 s later) a good part of the picture changes clearly, and the
// red marker on the disc moves clockwise forward and counter-clockwise in reverse.
struct TurnRow {
    const char* file;
    int sense;  // +1 clockwise on screen
};

class MotorTurns : public ::testing::TestWithParam<TurnRow> {};

double markerAngle(const test::Rgb& img) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const double dx = x - kMotorHubX, dy = y - kMotorHubY;
            if (dx * dx + dy * dy > kMotorDiscRadius * kMotorDiscRadius) continue;
            const std::uint32_t c = img.at(x, y);
            if ((c >> 16) > 180 && ((c >> 8) & 0xFF) < 80 && (c & 0xFF) < 80) {
                sx += dx;
                sy += dy;
                ++n;
            }
        }
    EXPECT_GT(n, 100) << "no red marker on the disc";
    return std::atan2(sy, sx);
}

TEST_P(MotorTurns, VisiblyAndItsOwnWay) {
    auto gif = test::readGif(test::readFile(asset(GetParam().file)));
    ASSERT_TRUE(gif);
    const auto& frames = gif->composed;
    const std::size_t n = frames.size();
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t apart : {3u, 4u})
            EXPECT_GT(test::differingShare(frames[k], frames[(k + apart) % n], 38), 0.04)
                << "frames " << k << " and " << (k + apart) % n;
    for (std::size_t k = 0; k < 6; ++k) {
        double turn = markerAngle(frames[k + 1]) - markerAngle(frames[k]);
        turn = std::remainder(turn, 2 * std::numbers::pi);
        EXPECT_GT(turn * GetParam().sense, 0.2) << "frame " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(BothDirections, MotorTurns,
                         ::testing::Values(TurnRow{"motor_forward.gif", 1},
                                           TurnRow{"motor_reverse.gif", -1}));

struct PairRow {
    const char* a;
    const char* b;
    double minShare;  // pixels that change by more than a faint shade
};

class PictureStates : public ::testing::TestWithParam<PairRow> {};

TEST_P(PictureStates, DifferClearly) {
    auto a = readPng(asset(GetParam().a));
    auto b = readPng(asset(GetParam().b));
    ASSERT_TRUE(a && b);
    EXPECT_GT(test::differingShare(*a, *b, 48), GetParam().minShare);
}

INSTANTIATE_TEST_SUITE_P(Pairs, PictureStates,
                         ::testing::Values(PairRow{"switch_open.png", "switch_closed.png", 0.05},
                                           PairRow{"contactor_released.png",
                                                   "contactor_pulled_in.png", 0.01},
                                           PairRow{"button_green.png", "button_red.png", 0.3}));

// A device picture honours its layout: its terminal strips hold no screw head (the terminal
// buttons bring theirs), its markings are printed, and the screws it draws are there.
class DevicePicture : public ::testing::TestWithParam<const char*> {};

int countIn(const test::Rgb& img, const QRectF& r, bool (*pick)(std::uint32_t)) {
    int n = 0;
    for (int y = std::max(0, int(r.top())); y < std::min(img.height, int(r.bottom())); ++y)
        for (int x = std::max(0, int(r.left())); x < std::min(img.width, int(r.right())); ++x)
            n += pick(img.at(x, y)) ? 1 : 0;
    return n;
}
int maxChannel(std::uint32_t c) {
    return std::max({int(c >> 16), int((c >> 8) & 0xFF), int(c & 0xFF)});
}
bool bright(std::uint32_t c) {
    return maxChannel(c) > 0xB0;
}
bool ink(std::uint32_t c) {
    return maxChannel(c) < 0x70;
}

TEST_P(DevicePicture, StripsAreBareMarkingsPrintedScrewsDrawn) {
    const DeviceLayout* layout = deviceLayout(GetParam());
    ASSERT_NE(layout, nullptr);
    auto img = readPng(asset(std::string(GetParam()) + ".png"));
    ASSERT_TRUE(img);
    ASSERT_EQ(img->width, layout->width);
    ASSERT_EQ(img->height, layout->height);
    for (const QRectF& strip : layout->strips) {
        const QRectF inner = strip.adjusted(4, 4, -4, -4);
        EXPECT_LT(countIn(*img, inner, bright), inner.width() * inner.height() * 0.01)
            << "a screw drawn in the strip at " << strip.x() << "," << strip.y();
    }
    for (const DeviceMarking& m : layout->markings)
        EXPECT_GT(countIn(*img, m.rect, ink), 15) << m.text.toStdString() << " not printed";
    for (const QRectF& screw : layout->screws)
        EXPECT_GT(countIn(*img, screw, bright), screw.width() * screw.height() * 0.1)
            << "no screw at " << screw.x() << "," << screw.y();
}

INSTANTIATE_TEST_SUITE_P(Devices, DevicePicture,
                         ::testing::Values("switch_open", "switch_closed", "contactor_released",
                                           "contactor_pulled_in", "relay", "fuse"));

// The real forms: every terminal sits on a drawn component, so that its pad is part of a
// component and not a loose dot on the grid.
class RealForm : public ::testing::TestWithParam<Exercise> {
  protected:
    std::optional<FormGeometry> read() {
        std::string error;
        auto form = readFormGeometry(
            std::string(WT_TEST_FORMS_DIR) + "/" + exerciseWindow(GetParam()) + ".form", &error);
        EXPECT_TRUE(form) << error;
        return form;
    }
};

TEST_P(RealForm, TerminalsLieOnComponents) {
    auto form = read();
    ASSERT_TRUE(form);
    if (form->components.empty()) GTEST_SKIP() << "no components yet";
    for (const FormControl& c : form->controls) {
        if (c.kind != "terminal") continue;
        const double x = c.rect.left + c.rect.width / 2.0, y = c.rect.top + c.rect.height / 2.0;
        bool inside = false;
        for (const FormComponent& k : form->components)
            inside = inside || (x >= k.rect.left && x <= k.rect.left + k.rect.width &&
                                y >= k.rect.top && y <= k.rect.top + k.rect.height);
        EXPECT_TRUE(inside) << c.name << " lies on no component";
    }
}

// Every terminal that a window lays over a device picture sits in one of the picture's terminal
// strips (so its own screw is the only one there: none drawn beside it, no terminal loose on the
// rail), and hides neither a marking nor a screw of the picture.
TEST_P(RealForm, TerminalsOnDevicePicturesSitInTheirStripsHidingNothing) {
    auto form = read();
    ASSERT_TRUE(form);
    int checked = 0;
    for (const FormControl& box : form->controls) {
        const DeviceLayout* layout = deviceLayout(box.picture);
        if (box.kind != "picturebox" || !layout) continue;
        const QRectF area(0, 0, layout->width, layout->height);
        const double sx = double(layout->width) / box.rect.width;
        const double sy = double(layout->height) / box.rect.height;
        for (const FormControl& t : form->controls) {
            if (t.kind != "terminal") continue;
            const QRectF r((t.rect.left - box.rect.left) * sx, (t.rect.top - box.rect.top) * sy,
                           t.rect.width * sx, t.rect.height * sy);
            if (!area.contains(r.center())) continue;  // on the background beside it
            ++checked;
            const QRectF on = r.intersected(area);
            bool inStrip = false;
            for (const QRectF& strip : layout->strips)
                inStrip = inStrip || strip.adjusted(-3, -3, 3, 3).contains(on);
            EXPECT_TRUE(inStrip) << t.name << " on " << box.name << " (" << box.picture
                                 << ") lies outside every terminal strip";
            for (const DeviceMarking& m : layout->markings)
                EXPECT_FALSE(m.rect.intersects(r))
                    << t.name << " hides " << m.text.toStdString() << " on " << box.name;
            const QRectF beside =
                r.adjusted(-r.width() / 2, -r.height() / 2, r.width() / 2, r.height() / 2);
            for (const QRectF& screw : layout->screws)
                EXPECT_FALSE(screw.intersects(beside))
                    << t.name << " sits by a drawn screw on " << box.name;
        }
    }
    EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(Exercises, RealForm, ::testing::ValuesIn(kExercises),
                         [](const auto& info) { return exerciseName(info.param); });

}  // namespace
}  // namespace wt::assets
