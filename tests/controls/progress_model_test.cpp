#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <utility>
#include <vector>

#include "progress_model.h"

namespace qav::controls {

void PrintTo(const BarSegment& s, std::ostream* out) {
    *out << "[" << s.x1 << ", " << s.x2 << ") 0x" << std::hex << s.color << std::dec;
}
void PrintTo(const MarkLine& l, std::ostream* out) {
    *out << "line " << l.x << " 0x" << std::hex << l.color << std::dec;
}

namespace {

constexpr ColorRef kGreen = ProgressModel::kNormal;
constexpr ColorRef kYellow = 0x00FFFF;
constexpr ColorRef kRed = 0x0000FF;

// A line-voltage bar: 190 pixels, range 0 to 475, marks upper 380 and lower 100 (scale 0.4).
ProgressModel LineVoltageBar() {
    ProgressModel bar;
    bar.SetWidth(190);
    bar.SetRange(0, 475);
    bar.SetMarks(380, 100);
    return bar;
}

struct BarCase {
    int pos;
    std::vector<BarSegment> segments;
};

class LineVoltageBarTable : public testing::TestWithParam<BarCase> {};

TEST_P(LineVoltageBarTable, DrawsTheZoneColour) {
    ProgressModel bar = LineVoltageBar();
    bar.SetPos(GetParam().pos);
    const BarPicture picture = bar.Picture();
    EXPECT_EQ(picture.segments, GetParam().segments);
    EXPECT_EQ(picture.lines, (std::vector<MarkLine>{{40, kRed}, {152, kRed}}));
    EXPECT_EQ(picture.background, 0xC1D1D0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineVoltageBarTable,
    testing::Values(BarCase{90, {{0, 36, kYellow}}},    // below the lower mark
                    BarCase{100, {{0, 40, kYellow}}},   // at the lower mark still counts as low
                    BarCase{101, {{0, 40, kGreen}}},    // 40.4 pixels truncate to 40
                    BarCase{200, {{0, 80, kGreen}}},    // between the marks
                    BarCase{380, {{0, 152, kGreen}}},   // at the upper mark still normal
                    BarCase{381, {{0, 152, kYellow}}},  // above it
                    BarCase{400, {{0, 160, kYellow}}},  //
                    BarCase{475, {{0, 190, kYellow}}},  // full range fills the bar
                    BarCase{600, {{0, 190, kYellow}}},  // beyond the range stops at the edge
                    BarCase{0, {}},                     // empty bar
                    BarCase{-20, {}},                   // below the range
                    BarCase{INT_MAX, {{0, 190, kYellow}}}));

TEST(ProgressModel, ScaleIsPixelsPerRangeUnit) {
    const ProgressModel bar = LineVoltageBar();
    EXPECT_FLOAT_EQ(bar.Scale(), 0.4f);
    EXPECT_EQ(bar.ToPixel(100), 40);
    EXPECT_EQ(bar.ToPixel(380), 152);
}

struct UpperOnlyCase {
    int pos;
    std::vector<BarSegment> segments;
};

class UpperMarkOnly : public testing::TestWithParam<UpperOnlyCase> {};

// A phase-voltage bar: range 0 to 300 on 300 pixels, upper mark 220 only.
TEST_P(UpperMarkOnly, IsNormalToTheMarkAndHighBeyond) {
    ProgressModel bar;
    bar.SetWidth(300);
    bar.SetRange(0, 300);
    bar.SetMarks(220, 0);
    bar.SetPos(GetParam().pos);
    const BarPicture picture = bar.Picture();
    EXPECT_EQ(picture.segments, GetParam().segments);
    EXPECT_EQ(picture.lines, (std::vector<MarkLine>{{220, kRed}}));
}

INSTANTIATE_TEST_SUITE_P(Table, UpperMarkOnly,
                         testing::Values(UpperOnlyCase{150, {{0, 150, kGreen}}},
                                         UpperOnlyCase{220, {{0, 220, kGreen}}},
                                         // The mark's own column is left to the mark line.
                                         UpperOnlyCase{250, {{0, 220, kGreen}, {221, 250, kYellow}}},
                                         UpperOnlyCase{221, {{0, 220, kGreen}}}));

TEST(ProgressModel, HighColourPaintsBeyondTheUpperMark) {
    ProgressModel bar;
    bar.SetWidth(300);
    bar.SetRange(0, 300);
    bar.SetMarks(220, 0);
    bar.SetPos(250);
    EXPECT_EQ(bar.SetHighColor(kRed), kYellow);
    EXPECT_EQ(bar.Picture().segments, (std::vector<BarSegment>{{0, 220, kGreen}, {221, 250, kRed}}));
    EXPECT_EQ(bar.SetHighColor(kYellow), kRed);
}

TEST(ProgressModel, LowerMarkOnly) {
    ProgressModel bar;
    bar.SetWidth(100);
    bar.SetRange(0, 100);
    bar.SetMarks(0, 30);
    bar.SetPos(30);
    EXPECT_EQ(bar.Picture().segments, (std::vector<BarSegment>{{0, 30, kYellow}}));
    bar.SetPos(31);
    EXPECT_EQ(bar.Picture().segments, (std::vector<BarSegment>{{0, 31, kGreen}}));
    EXPECT_EQ(bar.Picture().lines, (std::vector<MarkLine>{{30, kRed}}));
}

TEST(ProgressModel, NoMarksIsAllNormal) {
    ProgressModel bar;
    bar.SetWidth(200);
    bar.SetRange(0, 2000);
    bar.SetPos(1500);
    EXPECT_EQ(bar.Picture().segments, (std::vector<BarSegment>{{0, 150, kGreen}}));
    EXPECT_TRUE(bar.Picture().lines.empty());
}

// Without a rated current the phase bars get range 0 to 1, marks (1, 1) and a red high colour.
TEST(ProgressModel, MissingRatedCurrentShowsAFullRedBar) {
    ProgressModel bar;
    bar.SetWidth(190);
    bar.SetRange(0, 1);
    bar.SetHighColor(kRed);
    bar.SetMarks(1, 1);
    bar.SetPos(52);
    EXPECT_EQ(bar.Picture().segments, (std::vector<BarSegment>{{0, 190, kRed}}));
    bar.SetPos(0);
    EXPECT_TRUE(bar.Picture().segments.empty());
}

TEST(ProgressModel, SetRangeIgnoresACallWithTheSameMaximum) {
    ProgressModel bar;
    bar.SetWidth(190);
    EXPECT_TRUE(bar.SetRange(10, 1));
    EXPECT_FALSE(bar.SetRange(0, 1));
    EXPECT_EQ(bar.Minimum(), 10);
    EXPECT_EQ(bar.Maximum(), 1);
    EXPECT_TRUE(bar.SetRange(0, 2));
    EXPECT_EQ(bar.Minimum(), 0);
    EXPECT_FLOAT_EQ(bar.Scale(), 95.0f);
}

TEST(ProgressModel, SettersReportOnlyChanges) {
    ProgressModel bar = LineVoltageBar();
    EXPECT_FALSE(bar.SetMarks(380, 100));
    EXPECT_TRUE(bar.SetMarks(380, 0));
    EXPECT_FALSE(bar.SetPos(0));
    EXPECT_TRUE(bar.SetPos(5));
    EXPECT_FALSE(bar.SetPos(5));
    EXPECT_FALSE(bar.SetWidth(190));
    EXPECT_TRUE(bar.SetWidth(95));
}

TEST(ProgressModel, EmptyOrReversedRangeShowsNoBar) {
    for (const auto& [minimum, maximum] : {std::pair{5, 5}, std::pair{10, 1}, std::pair{INT_MIN, INT_MIN}}) {
        ProgressModel bar;
        bar.SetWidth(190);
        bar.SetRange(minimum, maximum);
        bar.SetPos(3);
        EXPECT_EQ(bar.Scale(), 0.0f) << minimum << ".." << maximum;
        EXPECT_TRUE(bar.Picture().segments.empty()) << minimum << ".." << maximum;
    }
}

TEST(ProgressModel, TheDefaultRangeScalesToTheWidth) {
    ProgressModel bar;
    bar.SetWidth(200);
    EXPECT_FALSE(bar.SetRange(0, 100));  // already the range
    bar.SetPos(50);
    EXPECT_EQ(bar.Picture().segments, (std::vector<BarSegment>{{0, 100, kGreen}}));
}

TEST(ProgressModel, MarksFollowTheScaleInForce) {
    // Marks set before the range and a width change afterwards still land on their values.
    ProgressModel bar;
    bar.SetWidth(190);
    bar.SetMarks(380, 100);
    bar.SetRange(0, 950);
    EXPECT_EQ(bar.Picture().lines, (std::vector<MarkLine>{{20, kRed}, {76, kRed}}));
    bar.SetWidth(380);
    EXPECT_EQ(bar.Picture().lines, (std::vector<MarkLine>{{40, kRed}, {152, kRed}}));
}

TEST(ProgressModel, ARangeStartingAboveZeroStartsTheBarAtItsMinimum) {
    ProgressModel bar;
    bar.SetWidth(100);
    bar.SetRange(100, 200);
    bar.SetMarks(180, 0);
    bar.SetPos(150);
    EXPECT_EQ(bar.Picture().segments, (std::vector<BarSegment>{{0, 50, kGreen}}));
    EXPECT_EQ(bar.Picture().lines, (std::vector<MarkLine>{{80, kRed}}));
}

TEST(ProgressModel, SegmentGradientIsDarkAtTheEdgesAndFullInTheMiddle) {
    // Each channel times 66 / 100, truncated.
    EXPECT_EQ(GradientOf(kGreen), (SegmentGradient{MakeColorRef(58, 144, 49), kGreen}));
    EXPECT_EQ(GradientOf(kYellow), (SegmentGradient{MakeColorRef(168, 168, 0), kYellow}));
    EXPECT_EQ(GradientOf(kRed), (SegmentGradient{MakeColorRef(168, 0, 0), kRed}));
}

}  // namespace
}  // namespace qav::controls
