// The uniform scale of stored layouts: how a window is sized and placed on a screen, and where
// its controls land inside a client area of another size.
#include "ui/layout.h"

#include <gtest/gtest.h>

namespace wt::layout {
namespace {

struct PlaceRow {
    const char* what;
    Size stored;
    Margins frame;  // left, top, right, bottom
    Rect available;
    double scale;
    Size client;
    Point framePos;
};

class PlaceWindow : public ::testing::TestWithParam<PlaceRow> {};

TEST_P(PlaceWindow, ChoosesScaleSizeAndPosition) {
    const PlaceRow& row = GetParam();
    const Placement at = placeWindow(row.stored, row.frame, row.available);
    EXPECT_NEAR(at.scale, row.scale, 0.0005);
    EXPECT_EQ(at.client, row.client);
    EXPECT_EQ(at.framePos, row.framePos);
    // Wherever it goes, the window with its frame lies wholly in the available area.
    const Rect outer{at.framePos.x, at.framePos.y,
                     at.client.width + row.frame.left + row.frame.right,
                     at.client.height + row.frame.top + row.frame.bottom};
    EXPECT_TRUE(row.available.contains(outer))
        << outer.left << "," << outer.top << " " << outer.width << "x" << outer.height;
    // The scale is the one the content is drawn at in that client area.
    EXPECT_DOUBLE_EQ(fitContent(row.stored, at.client).scale, at.scale);
}

const Margins kOpenbox{1, 20, 1, 1};

INSTANTIATE_TEST_SUITE_P(
    Screens, PlaceWindow,
    ::testing::Values(
        // what, stored, frame, available area, scale, client, frame position
        PlaceRow{
            "menu on a laptop", {994, 491}, kOpenbox, {0, 0, 1366, 768}, 1.0, {994, 491}, {50, 50}},
        PlaceRow{
            "full HD, no frame", {1246, 758}, {}, {0, 0, 1920, 1080}, 1.0, {1246, 758}, {50, 50}},
        PlaceRow{"fits, but not at 50, 50",
                 {1246, 758},
                 {},
                 {0, 0, 1280, 800},
                 1.0,
                 {1246, 758},
                 {34, 42}},
        PlaceRow{"too tall for a laptop",
                 {1246, 758},
                 kOpenbox,
                 {0, 0, 1366, 768},
                 1227.0 / 1246,
                 {1227, 747},
                 {50, 0}},
        PlaceRow{"fits a projector only moved",
                 {1246, 758},
                 kOpenbox,
                 {0, 0, 1280, 800},
                 1.0,
                 {1246, 758},
                 {32, 21}},
        PlaceRow{"too wide for a projector",
                 {1419, 836},
                 kOpenbox,
                 {0, 0, 1280, 800},
                 752.0 / 836,
                 {1278, 752},
                 {0, 27}},
        PlaceRow{"wide window at 150 %",
                 {1419, 836},
                 kOpenbox,
                 {0, 0, 1280, 720},
                 1186.0 / 1419,
                 {1186, 699},
                 {50, 0}},
        PlaceRow{"panel above the available area",
                 {1246, 758},
                 kOpenbox,
                 {0, 30, 1366, 738},
                 1178.0 / 1246,
                 {1178, 717},
                 {50, 30}},
        PlaceRow{"second screen to the right",
                 {994, 491},
                 {},
                 {1920, 0, 800, 600},
                 800.0 / 994,
                 {800, 395},
                 {1920, 50}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(PlaceWindow, ShrunkOnlyAsFarAsNeeded) {
    // One pixel less room than the window needs: scaled, and as large as still fits.
    const Placement at = placeWindow({1000, 500}, {}, {0, 0, 1000, 499});
    EXPECT_LT(at.scale, 1.0);
    EXPECT_EQ(at.client.height, 499);
    EXPECT_GE(at.client.width, 997);
}

struct FitRow {
    Size stored, client;
    double scale;
    Point offset;
};

class FitContent : public ::testing::TestWithParam<FitRow> {};

TEST_P(FitContent, KeepsAspectAndCentres) {
    const FitRow& row = GetParam();
    const ContentFit fit = fitContent(row.stored, row.client);
    EXPECT_DOUBLE_EQ(fit.scale, row.scale);
    EXPECT_EQ(fit.offset, row.offset);
    if (row.stored.empty() || row.client.empty()) return;
    const Rect content = fit.map(Rect{0, 0, row.stored.width, row.stored.height});
    const Rect client{0, 0, row.client.width, row.client.height};
    EXPECT_TRUE(client.contains(content));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FitContent,
                         ::testing::Values(FitRow{{1246, 758}, {1246, 758}, 1.0, {0, 0}},
                                           FitRow{{1246, 758}, {623, 379}, 0.5, {0, 0}},
                                           FitRow{{1000, 500}, {1000, 800}, 1.0, {0, 150}},
                                           FitRow{{1000, 500}, {3000, 1000}, 2.0, {500, 0}},
                                           FitRow{{1000, 500}, {501, 250}, 0.5, {0, 0}},
                                           FitRow{{0, 0}, {300, 200}, 1.0, {0, 0}},
                                           FitRow{{300, 200}, {0, 0}, 1.0, {0, 0}}));

struct MapRow {
    double scale;
    Point offset;
    Rect stored, shown;
};

class MapRect : public ::testing::TestWithParam<MapRow> {};

TEST_P(MapRect, RoundsEachEdge) {
    const MapRow& row = GetParam();
    EXPECT_EQ((ContentFit{row.scale, row.offset}.map(row.stored)), row.shown);
}

INSTANTIATE_TEST_SUITE_P(Rects, MapRect,
                         ::testing::Values(MapRow{1.0, {}, {10, 20, 30, 40}, {10, 20, 30, 40}},
                                           MapRow{0.5, {}, {10, 20, 30, 40}, {5, 10, 15, 20}},
                                           MapRow{0.5, {3, 7}, {10, 20, 30, 40}, {8, 17, 15, 20}},
                                           // A thin wire bar keeps a pixel instead of vanishing.
                                           MapRow{0.3, {}, {100, 50, 1, 200}, {30, 15, 1, 60}},
                                           // An empty control stays empty.
                                           MapRow{0.3, {}, {100, 50, 0, 0}, {30, 15, 0, 0}},
                                           MapRow{2.0, {1, 1}, {5, 5, 24, 24}, {11, 11, 48, 48}}));

TEST(MapRect, TouchingControlsStillTouch) {
    for (double s : {0.3, 0.5, 0.61, 0.7548, 0.9855, 1.37})
        for (int left = 0; left < 40; ++left)
            for (int width = 1; width < 9; ++width) {
                const ContentFit fit{s, {2, 0}};
                const Rect a = fit.map(Rect{left, 0, width, 10});
                const Rect b = fit.map(Rect{left + width, 0, 5, 10});
                // One pixel overlap at most (where a one-pixel control had to be kept).
                EXPECT_LE(b.left - (a.left + a.width - 1), 1) << s << " " << left << " " << width;
                EXPECT_GE(b.left - (a.left + a.width - 1), 0) << s << " " << left << " " << width;
            }
}

TEST(MapRect, PointsGoBackToStoredPixels) {
    const ContentFit fit{0.5, {10, 4}};
    EXPECT_EQ(fit.toStored((Point{10, 4})), (Point{0, 0}));
    EXPECT_EQ(fit.toStored((Point{60, 54})), (Point{100, 100}));
    EXPECT_EQ(fit.toStored((Point{9, 4})), (Point{-2, 0}));
    EXPECT_EQ(fit.fontPixels(19), 10);
    EXPECT_EQ((ContentFit{0.01, {}}).fontPixels(19), 1);
}

}  // namespace
}  // namespace wt::layout
