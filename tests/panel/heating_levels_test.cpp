#include <gtest/gtest.h>

#include <string>

#include "heating_levels.h"

namespace qav::panel {
namespace {

using controls::MakeColorRef;

constexpr int kHeight = 160;  // 130 pixels from 0 % to 100 %

struct LevelCase {
    uint32_t raw;
    int level;
    int percent;
};

class HeatingLevelTable : public testing::TestWithParam<LevelCase> {};

TEST_P(HeatingLevelTable, LevelAndPercent) {
    const LevelCase c = GetParam();
    EXPECT_EQ(HeatingLevel(c.raw, kHeight), c.level) << c.raw;
    EXPECT_EQ(HeatingPercent(c.raw), c.percent) << c.raw;
}

INSTANTIATE_TEST_SUITE_P(Table, HeatingLevelTable,
                         testing::Values(LevelCase{0, 160, 0},                // nothing painted
                                         LevelCase{8'000, 160, 0},            // under one pixel
                                         LevelCase{10'999, 159, 0},           // a pixel, under one per cent
                                         LevelCase{11'000, 159, 1},           //
                                         LevelCase{550'000, 95, 50},          //
                                         LevelCase{1'100'000, 30, 100},       // the 100 % line
                                         LevelCase{2'200'000, -100, 200},     // above the chart
                                         LevelCase{11'000'000, -1140, 1000},  // the clamp
                                         LevelCase{20'000'000, -1140, 1000},  // clamped
                                         LevelCase{0xFFFFFFFFu, -1140, 1000}));  //

TEST(HeatingLevel, TallChartsDoNotOverflow) {
    // 970 x 11 000 000 exceeds 32 bits.
    EXPECT_EQ(HeatingLevel(11'000'000, 1000), 1000 - 9700);
    EXPECT_EQ(HeatingLevel(1'100'000, 1000), 30);
}

TEST(HeatingLevel, Line66) {
    EXPECT_EQ(Line66Row(160), 75);  // 160 - 8580 / 100
    EXPECT_EQ(Line66Row(130), 64);
    EXPECT_EQ(Line66Row(30), 30);
}

struct ColorCase {
    int row;
    controls::ColorRef color;
};

class ColumnColorTable : public testing::TestWithParam<ColorCase> {};

TEST_P(ColumnColorTable, BlendsRedOrangeBlue) {
    EXPECT_EQ(ColumnColor(GetParam().row, kHeight), GetParam().color) << "row " << GetParam().row;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnColorTable,
    testing::Values(ColorCase{0, MakeColorRef(255, 0, 0)},     // red at the top
                    ColorCase{15, MakeColorRef(255, 51, 0)},   // halfway: 103 / 2 truncated
                    ColorCase{29, MakeColorRef(255, 99, 0)},   // 103 x 29 / 30
                    ColorCase{30, MakeColorRef(255, 103, 0)},  // orange on the 100 % row
                    ColorCase{
                        95, MakeColorRef(131, 100, 91)},  // halfway down: 255 - 247 / 2, 103 - 5 / 2, 183 / 2
                    ColorCase{159, MakeColorRef(9, 98, 181)}));  // one row short of the blue

TEST(Blend, InterpolatesEachChannel) {
    EXPECT_EQ(Blend(MakeColorRef(0, 100, 200), MakeColorRef(100, 0, 200), 1, 4), MakeColorRef(25, 75, 200));
    EXPECT_EQ(Blend(MakeColorRef(0, 100, 200), MakeColorRef(100, 0, 200), 4, 4), MakeColorRef(100, 0, 200));
    // An empty span has nothing to blend.
    EXPECT_EQ(Blend(MakeColorRef(1, 2, 3), MakeColorRef(100, 0, 200), 0, 0), MakeColorRef(1, 2, 3));
}

struct TipCase {
    int y;
    int height;
    int percent;
};

class TooltipTable : public testing::TestWithParam<TipCase> {};

TEST_P(TooltipTable, ReadsFourPixelsBelowThePointer) {
    const TipCase c = GetParam();
    EXPECT_EQ(TooltipPercent(c.y, c.height), c.percent) << "y " << c.y << " height " << c.height;
}

INSTANTIATE_TEST_SUITE_P(Table, TooltipTable,
                         testing::Values(TipCase{160, 160, 3},    // bottom edge: 4 x 100 / 130
                                         TipCase{30, 160, 103},   // 100 % line: 134 x 100 / 130
                                         TipCase{0, 160, 126},    // top edge
                                         TipCase{95, 160, 53},    //
                                         TipCase{200, 160, -27},  // below the chart
                                         TipCase{10, 30, 0},      // no scale
                                         TipCase{10, 20, 0}));

TEST(TooltipText, Format) {
    EXPECT_EQ(TooltipText(103), QStringLiteral("Нагрев - 103%"));
    EXPECT_EQ(TooltipText(-2), QStringLiteral("Нагрев - -2%"));
}

TEST(TimeMarkers, FirstStepThenEveryWidthLessThreeSteps) {
    TimeMarkers markers;
    std::string drawn;
    for (int step = 0; step < 16; ++step) {
        drawn += markers.Step(10) ? '|' : '.';
    }
    EXPECT_EQ(drawn, "|......|......|.");
}

TEST(TimeMarkers, NarrowChartMarksEveryStep) {
    TimeMarkers markers;
    for (int step = 0; step < 3; ++step) {
        EXPECT_TRUE(markers.Step(3)) << step;
    }
}

}  // namespace
}  // namespace qav::panel
