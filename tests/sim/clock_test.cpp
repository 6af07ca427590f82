// The relay's clock: BCD registers that read back what was written and keep time from there.
#include <gtest/gtest.h>

#include "bcd.h"
#include "relay.h"
#include "relay_helpers.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;
using test::Step;

TEST(Bcd, EncodesAndDecodesFourDigits) {
    EXPECT_EQ(ToBcd(59), 0x0059);
    EXPECT_EQ(ToBcd(2019), 0x2019);
    EXPECT_EQ(ToBcd(0), 0x0000);
    EXPECT_EQ(FromBcd(0x0059), 59u);
    EXPECT_EQ(FromBcd(0x9999), 9999u);
    EXPECT_FALSE(FromBcd(0x005A).has_value());
    EXPECT_FALSE(FromBcd(0xF000).has_value());
}

std::array<uint16_t, 6> ReadClock(const Relay& relay) {
    std::array<uint16_t, 6> words{};
    EXPECT_EQ(relay.Read(80, 6, words.data()), ExceptionCode::kNone);
    return words;
}

TEST(RelayClock, ReadsTheStartTimeInBcd) {
    RelaySettings settings;
    settings.clock = {2019, 12, 14, 6, 23, 15};
    const Relay relay(settings);
    EXPECT_EQ(ReadClock(relay), (std::array<uint16_t, 6>{0x15, 0x23, 0x06, 0x14, 0x12, 0x19}));
}

TEST(RelayClock, WrittenFieldsReadBackAndRunOn) {
    Relay relay{RelaySettings{}};
    const std::array<uint16_t, 6> written = {0x58, 0x59, 0x23, 0x31, 0x12, 0x25};
    for (uint16_t k = 0; k < 6; ++k) {
        ASSERT_EQ(relay.Write(80 + k, written[k]), ExceptionCode::kNone) << k;
    }
    EXPECT_EQ(ReadClock(relay), written);
    Step(relay, 2s);
    EXPECT_EQ(ReadClock(relay), (std::array<uint16_t, 6>{0x00, 0x00, 0x00, 0x01, 0x01, 0x26}));
}

TEST(RelayClock, RefusesValuesThatAreNotBcdOrOutOfRange) {
    struct Case {
        uint16_t reg;
        uint16_t value;
    };
    const Case refused[] = {{80, 0x60}, {80, 0x5A}, {81, 0x60},  {82, 0x24}, {83, 0x00},  {83, 0x32},
                            {84, 0x00}, {84, 0x13}, {85, 0x100}, {85, 0x9A}, {80, 0xFFFF}};
    for (const Case& c : refused) {
        Relay relay{RelaySettings{}};
        const uint16_t before = relay.Value(c.reg);
        EXPECT_EQ(relay.Write(c.reg, c.value), ExceptionCode::kIllegalValue) << c.reg << " " << c.value;
        EXPECT_EQ(relay.Value(c.reg), before);
    }
    const Case accepted[] = {{80, 0x59}, {82, 0x23}, {83, 0x01}, {83, 0x31},
                             {84, 0x12}, {85, 0x00}, {85, 0x99}};
    for (const Case& c : accepted) {
        Relay relay{RelaySettings{}};
        EXPECT_EQ(relay.Write(c.reg, c.value), ExceptionCode::kNone) << c.reg << " " << c.value;
        EXPECT_EQ(relay.Value(c.reg), c.value);
    }
}

TEST(RelayClock, KeepsTheCalendar) {
    struct Case {
        CivilTime start;
        std::chrono::milliseconds step;
        CivilTime expected;
    };
    const Case cases[] = {
        {{2024, 2, 28, 23, 59, 59}, 1s, {2024, 2, 29, 0, 0, 0}},  // leap year
        {{2023, 2, 28, 23, 59, 59}, 1s, {2023, 3, 1, 0, 0, 0}},
        {{2100 - 1, 12, 31, 23, 59, 59}, 1s, {2000, 1, 1, 0, 0, 0}},  // two BCD digits of year
        {{2024, 4, 30, 12, 0, 0}, 36h, {2024, 5, 2, 0, 0, 0}},
        {{2024, 1, 1, 0, 0, 0}, 999ms, {2024, 1, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        RelayClock clock(c.start);
        clock.Advance(c.step);
        EXPECT_EQ(clock.Now(), c.expected) << c.start.year << "-" << c.start.month << "-" << c.start.day;
    }
}

TEST(RelayClock, FractionsOfASecondAddUpAndSettingSecondsStartsAfresh) {
    RelayClock clock({2024, 1, 1, 0, 0, 0});
    clock.Advance(600ms);
    clock.Advance(600ms);
    EXPECT_EQ(clock.Now().second, 1u);
    ASSERT_EQ(clock.WriteBcd(RelayClock::kSecond, 0x30), ExceptionCode::kNone);
    clock.Advance(900ms);
    EXPECT_EQ(clock.Now().second, 30u);
    clock.Advance(100ms);
    EXPECT_EQ(clock.Now().second, 31u);
}

// A master sets the fields one at a time, so a day may briefly be wrong for the month; the clock keeps it
// as written and only moves on at midnight.
TEST(RelayClock, ADayBeyondTheMonthIsKeptUntilMidnight) {
    RelayClock clock({2024, 2, 10, 23, 59, 58});
    ASSERT_EQ(clock.WriteBcd(RelayClock::kDay, 0x31), ExceptionCode::kNone);
    clock.Advance(1s);
    EXPECT_EQ(clock.Now(), (CivilTime{2024, 2, 31, 23, 59, 59}));
    clock.Advance(1s);
    EXPECT_EQ(clock.Now(), (CivilTime{2024, 3, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace qav::sim
