// Active alarms, the banner, the reclose bar and the alarm value texts.
#include <gtest/gtest.h>

#include "alarm_marks.h"
#include "alarm_rules.h"

namespace qav::monitor {
namespace {

TEST(AlarmRules, ActiveSet) {
    const uint32_t bit21 = 1u << 21;
    EXPECT_TRUE(DeriveAlarmSet(bit21, 2, false).test(21));
    const AlarmSet manometer = DeriveAlarmSet(bit21 | 1u, 3, false);
    EXPECT_FALSE(manometer.test(21));
    EXPECT_TRUE(manometer.test(37));
    EXPECT_TRUE(manometer.test(0));
    EXPECT_EQ(DeriveAlarmSet(0, 0, true), AlarmSet().set(39));
    EXPECT_TRUE(AlarmPresent(0, true));
    EXPECT_TRUE(AlarmPresent(1, false));
    EXPECT_FALSE(AlarmPresent(0x02, false));
}

TEST(AlarmRules, BannerState) {
    struct Case {
        uint16_t status;
        bool present, ratedMissing;
        int state;
    };
    const Case cases[] = {
        {0x03, false, false, 0}, {0x03, true, true, 1},  {0x01, true, false, 1},
        {0x03, true, false, 2},  {0x25, true, false, 2},  // star-delta: the functional relay counts too
        {0x05, true, false, 1},  {0x21, true, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(AlarmBannerState(c.status, c.present, c.ratedMissing), c.state);
    }
}

TEST(AlarmRules, RecloseRange) {
    EXPECT_EQ(RecloseBarRange(true, 1u << 5, 600, 30), 600);
    EXPECT_EQ(RecloseBarRange(true, 1u << 4, 600, 30), 30);
    EXPECT_EQ(RecloseBarRange(false, 1u << 5, 600, 30), 30);
}

TEST(AlarmRules, ValueTexts) {
    struct Case {
        int alarm;
        std::optional<uint16_t> raw;
        int multiplier;
        const char* text;
    };
    const Case cases[] = {
        {8, 123, 1, "Нет"}, {0, std::nullopt, 1, "err"}, {0, 52, 1, "5.2 А"},     {0, 52, 10, "52.0 А"},
        {1, 52, 10, "52 "}, {12, 380, 10, "380 В"},      {15, 25, 10, "2.5 МОм"}, {30, 3, 1, "3.0 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alarm);
        EXPECT_EQ(AlarmValueText(c.alarm, c.raw, c.multiplier), QString::fromUtf8(c.text));
    }
}

TEST(AlarmMarks, RowsAddedFlag) {
    AlarmMarks marks;
    EXPECT_EQ(marks.SetMark(40), 0);
    EXPECT_FALSE(marks.HasMarks());
    EXPECT_EQ(marks.SetMark(39), 1);
    EXPECT_TRUE(marks.IsMarked(39));
    marks.ClearMark(39);
    EXPECT_FALSE(marks.IsMarked(39));
    EXPECT_TRUE(marks.HasMarks());
    marks.ClearMarks();
    EXPECT_FALSE(marks.HasMarks());
}

}  // namespace
}  // namespace qav::monitor
