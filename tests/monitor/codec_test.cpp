// Register words into values: encodings, temperature codes, heating, per-phase powers, the snapshot.
#include <gtest/gtest.h>

#include "measure_array.h"
#include "register_codec.h"

namespace qav::monitor {
namespace {

TEST(Codec, Words) {
    const uint8_t bytes[] = {0x12, 0x34, 0xFF, 0xEC, 0x00, 0x01};
    EXPECT_EQ(U16(bytes), 0x1234);
    EXPECT_EQ(S16(bytes, 1), -20);
    EXPECT_EQ(U32(bytes, 1), 0xFFEC0001u);
    EXPECT_EQ(Bcd(0x1234), 1234);
    EXPECT_EQ(Bcd(0x0059), 59);
}

TEST(Codec, TemperatureCodes) {
    struct Case {
        uint16_t raw;
        SensorState state;
        int32_t stored1;
        int32_t stored2;
    };
    const Case cases[] = {
        {1000, SensorState::ShortCircuit, -80, -80},
        {990, SensorState::Temperature, 990, 990},
        {1010, SensorState::Temperature, 1010, 1010},
        {2000, SensorState::Break, 200, 300},
        {5000, SensorState::Off, 0, 0},
        {65516, SensorState::Temperature, -20, -20},
        {45, SensorState::Temperature, 45, 45},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(DecodeSensor(c.raw).state, c.state);
        EXPECT_EQ(StoredSensorValue(c.raw, 1), c.stored1);
        EXPECT_EQ(StoredSensorValue(c.raw, 2), c.stored2);
    }
}

TEST(Codec, HeatingPercent) {
    EXPECT_EQ(HeatingPercent(550000), 50);
    EXPECT_EQ(HeatingPercent(1100000), 100);
    EXPECT_EQ(HeatingPercent(20000000), 1000);
    EXPECT_EQ(HeatingPercent(0xFFFFFFFFu), 1000);
}

TEST(Codec, PhasePowers) {
    struct Case {
        int32_t volts, tenthsAmps, cos;
        PhasePower expected;
    };
    const Case cases[] = {
        {230, 100, 800, {230, 184, 138}}, {230, 100, 1000, {230, 230, 0}},
        {230, 100, 1500, {345, 345, 0}},  // cos above 1 has no reactive part
        {0, 100, 800, {0, 0, 0}},         {400, 0, 800, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cos);
        const PhasePower p = ComputePhasePower(c.volts, c.tenthsAmps, c.cos);
        EXPECT_EQ(p.apparent, c.expected.apparent);
        EXPECT_EQ(p.active, c.expected.active);
        EXPECT_EQ(p.reactive, c.expected.reactive);
    }
}

TEST(Codec, RelayClock) {
    const uint8_t bytes[] = {0x00, 0x59, 0x00, 0x07, 0x00, 0x23, 0x00, 0x31, 0x00, 0x12, 0x00, 0x26};
    const RelayClock c = DecodeRelayClock(bytes);
    EXPECT_EQ(c.seconds, 59);
    EXPECT_EQ(c.minutes, 7);
    EXPECT_EQ(c.hours, 23);
    EXPECT_EQ(c.day, 31);
    EXPECT_EQ(c.month, 12);
    EXPECT_EQ(c.year, 2026);
}

TEST(MeasureArray, Bounds) {
    MeasureArray m;
    m.SetMeasure(54, 7);
    m.SetMeasure(60, 1);
    m.SetMeasure(-1, 1);
    EXPECT_EQ(m.GetMeasure(54), 7);
    EXPECT_EQ(m.GetMeasure(55), 0);
    int32_t copy[55] = {};
    m.CopyMeasures(copy, sizeof copy - 1);
    EXPECT_EQ(copy[54], 0);
    m.CopyMeasures(copy, sizeof copy);
    EXPECT_EQ(copy[54], 7);
    m.ClearMeasures();
    EXPECT_EQ(m.GetMeasure(54), 0);
}

}  // namespace
}  // namespace qav::monitor
