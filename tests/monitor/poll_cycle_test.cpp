// Polling passes against a register table: rhythm, decoding, stale-value rules, alarms, rate.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_relay.h"
#include "poll_cycle.h"

namespace qav::monitor {
namespace {

using test::RecordingDisplay;
using test::TableSource;

class PollCycleTest : public ::testing::Test {
protected:
    PollCycleTest() {
        source.registers[150] = 100;  // relay counts tenths of an ampere
        source.registers[151] = 50;   // rated current set
    }

    PollCycle MakeCycle() { return PollCycle(deps, 1, running, PollCycle::Clock::now()); }

    // Passes on which a block starting at `first` was read, counting from 1.
    std::vector<int> PassesReading(int first, int passes) {
        PollCycle cycle = MakeCycle();
        std::vector<int> result;
        for (int pass = 1; pass <= passes; ++pass) {
            source.reads.clear();
            EXPECT_TRUE(cycle.RunPass());
            if (std::any_of(source.reads.begin(), source.reads.end(),
                            [&](const auto& r) { return r.first == first; })) {
                result.push_back(pass);
            }
        }
        return result;
    }

    TableSource source;
    MeasureArray measures;
    AlarmMarks marks;
    RecordingDisplay display;
    LinkStatus status;
    int32_t retries = 3;
    PollerDeps deps{source, measures, marks, display, status, [this] { return retries; }};
    std::atomic<bool> running{true};
};

TEST_F(PollCycleTest, GroupRhythm) {
    EXPECT_EQ(PassesReading(36, 13), (std::vector<int>{1, 4, 7, 10, 13}));
    EXPECT_EQ(PassesReading(150, 25), (std::vector<int>{1, 13, 25}));
    EXPECT_EQ(PassesReading(30, 3), (std::vector<int>{1, 2, 3}));
}

TEST_F(PollCycleTest, BlocksInOrder) {
    PollCycle cycle = MakeCycle();
    cycle.RunPass();
    const std::vector<std::pair<int, int>> expected = {
        {30, 6}, {45, 9}, {60, 9},  {90, 6},  {96, 2},  {80, 6},  {36, 9},  {54, 6},
        {69, 4}, {73, 2}, {900, 3}, {150, 3}, {177, 4}, {195, 2}, {200, 2},
    };
    EXPECT_EQ(source.reads, expected);
}

TEST_F(PollCycleTest, CurrentMultiplierFollowsTheTransformerRating) {
    source.registers[30] = 52;
    PollCycle cycle = MakeCycle();
    cycle.RunPass();  // currents come before the first settings block: tenths assumed
    EXPECT_EQ(measures.GetMeasure(0), 520);
    cycle.RunPass();
    EXPECT_EQ(cycle.CurrentMultiplier(), 1);
    EXPECT_EQ(measures.GetMeasure(0), 52);

    source.registers[150] = 101;
    for (int pass = 3; pass <= 14; ++pass) {
        cycle.RunPass();
    }
    EXPECT_EQ(cycle.CurrentMultiplier(), 10);
    EXPECT_EQ(measures.GetMeasure(0), 520);
    EXPECT_EQ(display.currents.phase[0], 520);
}

TEST_F(PollCycleTest, DecodesIntoTheSnapshot) {
    source.registers[45] = 230;  // phase voltage 1
    source.registers[30] = 100;  // 10.0 A once the multiplier is 1
    source.registers[66] = 800;  // cos phi 1
    source.Set32(60, 123456);
    source.Set32(90, 4567);
    source.registers[57] = 900;
    source.registers[69] = 2000;
    source.registers[70] = 2000;
    source.Set32(73, 550000);
    source.registers[80] = 0x59;
    source.registers[85] = 0x26;
    PollCycle cycle = MakeCycle();
    cycle.RunPass();
    cycle.RunPass();
    EXPECT_EQ(measures.GetMeasure(15), 230);
    EXPECT_EQ(measures.GetMeasure(30), 123456);
    EXPECT_EQ(measures.GetMeasure(50), 4567);
    EXPECT_EQ(measures.GetMeasure(41), 230);
    EXPECT_EQ(measures.GetMeasure(44), 184);
    EXPECT_EQ(measures.GetMeasure(47), 138);
    EXPECT_EQ(display.powers.phaseActive[0], 184);
    EXPECT_EQ(measures.GetMeasure(27), 900);
    EXPECT_EQ(measures.GetMeasure(36), 200);
    EXPECT_EQ(measures.GetMeasure(37), 300);
    EXPECT_EQ(measures.GetMeasure(40), 50);
    EXPECT_EQ(display.clock.seconds, 59);
    EXPECT_EQ(display.clock.year, 2026);
}

TEST_F(PollCycleTest, FailedOrShortReadKeepsOldValues) {
    source.registers[45] = 230;
    PollCycle cycle = MakeCycle();
    cycle.RunPass();
    EXPECT_EQ(status.linkActivity.load(), 1);

    source.registers[45] = 240;
    source.failing = {45, 30, 60, 90, 96, 80};
    cycle.RunPass();
    EXPECT_EQ(measures.GetMeasure(15), 230);
    EXPECT_EQ(status.linkActivity.load(), 0);

    source.failing.clear();
    source.shortReply = {45, 30, 60, 90, 96, 80};
    cycle.RunPass();
    EXPECT_EQ(measures.GetMeasure(15), 230);
    EXPECT_EQ(status.linkActivity.load(), 0);

    source.shortReply.clear();
    cycle.RunPass();
    EXPECT_EQ(measures.GetMeasure(15), 240);
    EXPECT_EQ(status.linkActivity.load(), 1);
}

TEST_F(PollCycleTest, AlarmsListedOnceNewestOnTopAndRemoved) {
    source.registers[900] = 0x01;
    source.registers[901] = 1u << 0 | 1u << 12;  // over-current, minimum voltage
    source.registers[300] = 52;
    source.registers[312] = 320;
    PollCycle cycle = MakeCycle();
    cycle.RunPass();  // multiplier still 10 for the current alarm's value
    ASSERT_EQ(display.rows.size(), 2u);
    EXPECT_EQ(display.rows[0].alarm, 12);  // inserted in index order, each at the top
    EXPECT_EQ(display.rows[1].alarm, 0);
    EXPECT_EQ(display.rows[1].value, QString::fromUtf8("52.0 А"));
    EXPECT_EQ(display.rows[0].value, QString::fromUtf8("320 В"));
    EXPECT_TRUE(marks.IsMarked(0));

    for (int pass = 2; pass <= 4; ++pass) {
        cycle.RunPass();
    }
    EXPECT_EQ(display.rows.size(), 2u);  // still active: not listed again

    source.registers[901] = 1u << 12;
    for (int pass = 5; pass <= 7; ++pass) {
        cycle.RunPass();
    }
    ASSERT_EQ(display.rows.size(), 1u);
    EXPECT_EQ(display.rows[0].alarm, 12);
    EXPECT_TRUE(marks.HasMarks());

    source.registers[900] = 0;
    source.registers[901] = 0;
    for (int pass = 8; pass <= 10; ++pass) {
        cycle.RunPass();
    }
    EXPECT_TRUE(display.rows.empty());
    EXPECT_FALSE(marks.HasMarks());
    EXPECT_EQ(display.log.back().rfind("reclose", 0), 0u);
}

TEST_F(PollCycleTest, AlarmHandlingOrderAndFailedValueRead) {
    source.registers[900] = 0x03;  // alarm, motor relay on
    source.registers[901] = 1u << 2;
    source.failing = {304};
    PollCycle cycle = MakeCycle();
    cycle.RunPass();
    const auto at = std::find(display.log.begin(), display.log.end(), "status 3");
    ASSERT_NE(at, display.log.end());
    const std::vector<std::string> afterStatus(at + 1, at + 5);
    EXPECT_EQ(afterStatus, (std::vector<std::string>{"insert 2 err", "banner 2", "reset on", "reclose 0"}));
}

TEST_F(PollCycleTest, MissingRatedCurrentListsAlarm39WithoutAlarmBit) {
    source.registers[151] = 0;
    PollCycle cycle = MakeCycle();
    for (int pass = 1; pass <= 4; ++pass) {  // the settings block comes after the first status block
        cycle.RunPass();
    }
    ASSERT_EQ(display.rows.size(), 1u);
    EXPECT_EQ(display.rows[0].alarm, 39);
    EXPECT_EQ(display.rows[0].value, QString::fromUtf8("Нет"));
}

TEST_F(PollCycleTest, ManometerShortIsListedAs37) {
    source.registers[900] = 0x01;
    source.registers[902] = 1u << (21 - 16);
    source.registers[201] = 3;
    PollCycle cycle = MakeCycle();
    for (int pass = 1; pass <= 4; ++pass) {
        cycle.RunPass();
    }
    ASSERT_FALSE(display.rows.empty());
    EXPECT_EQ(display.rows[0].alarm, 37);
    EXPECT_FALSE(marks.IsMarked(21));
}

TEST_F(PollCycleTest, StopsAfterTheCurrentBlock) {
    PollCycle cycle = MakeCycle();
    running = false;
    EXPECT_FALSE(cycle.RunPass());
    EXPECT_EQ(source.reads.size(), 1u);
}

TEST_F(PollCycleTest, RateStatistic) {
    const auto start = PollCycle::Clock::now();
    PollCycle cycle(deps, 1, running, start);
    cycle.RunPass();
    int registers = 0;
    for (const auto& read : source.reads) {
        registers += read.second;
    }
    cycle.UpdateRate(start + std::chrono::milliseconds(1000));
    EXPECT_EQ(status.rate.load(), 0.0f);  // not more than a second yet
    cycle.UpdateRate(start + std::chrono::milliseconds(1100));
    EXPECT_FLOAT_EQ(status.rate.load(), static_cast<float>(registers) * 1000.0f / 1100.0f);
    cycle.UpdateRate(start + std::chrono::milliseconds(2200));
    EXPECT_EQ(status.rate.load(), 0.0f);
}

}  // namespace
}  // namespace qav::monitor
