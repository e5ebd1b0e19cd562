// How legible the status colours are, and the outline that makes them so.
#include "ui/colour.h"

#include <gtest/gtest.h>

namespace wt::colour {
namespace {

struct LegibleRow {
    std::uint32_t text, back;
    double ratio;                         // text on its back colour
    std::optional<std::uint32_t> around;  // the outline it gets
};

class Legible : public ::testing::TestWithParam<LegibleRow> {};

TEST_P(Legible, OutlinesWhatReadsPoorly) {
    const LegibleRow& row = GetParam();
    EXPECT_NEAR(contrastRatio(row.text, row.back), row.ratio, 0.01);
    EXPECT_EQ(outlineFor(row.text, row.back), row.around);
    // Against its outline every text reads at least 3:1.
    if (row.around) {
        EXPECT_GE(contrastRatio(row.text, *row.around), 3.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    StatusColours, Legible,
    ::testing::Values(LegibleRow{65280, 0xFFFFFF, 1.37, 0x000000},  // green on white
                      LegibleRow{255, 0xFFFFFF, 4.00, 0x000000},    // red on white
                      LegibleRow{0x000000, 0xFFFFFF, 21.0, std::nullopt},
                      LegibleRow{0xFFFFFF, 0xFFFFFF, 1.0, 0x000000},
                      LegibleRow{0x000000, 0x000000, 1.0, 0xFFFFFF}));

}  // namespace
}  // namespace wt::colour
