#include <gtest/gtest.h>

#include "qt_color.h"
#include "widget_check.h"

namespace qav::controls {
namespace {

struct ColorCase {
    ColorRef ref;
    QColor color;
};

class FromColorRefTable : public testing::TestWithParam<ColorCase> {};

TEST_P(FromColorRefTable, ReadsRedFromTheLowByte) {
    EXPECT_EQ(FromColorRef(GetParam().ref), GetParam().color);
}

TEST_P(FromColorRefTable, ConvertsBack) {
    EXPECT_EQ(ToColorRef(GetParam().color), GetParam().ref & 0xFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Table, FromColorRefTable,
                         testing::Values(ColorCase{0x0000FF, QColor(0xFF, 0x00, 0x00)},
                                         ColorCase{0x00FFFF, QColor(0xFF, 0xFF, 0x00)},
                                         ColorCase{0x4BDB59, QColor(0x59, 0xDB, 0x4B)},
                                         ColorCase{0xC1D1D0, QColor(0xD0, 0xD1, 0xC1)},
                                         ColorCase{0x030098, QColor(0x98, 0x00, 0x03)},
                                         ColorCase{0xB76208, QColor(0x08, 0x62, 0xB7)},
                                         // The unused high byte is not alpha.
                                         ColorCase{0xFF0067FF, QColor(0xFF, 0x67, 0x00)}));

TEST(ToColorRef, DropsAlpha) {
    EXPECT_EQ(ToColorRef(QColor(0x12, 0x34, 0x56, 0x10)), 0x563412u);
}

}  // namespace
}  // namespace qav::controls
