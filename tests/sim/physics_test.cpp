// What the relay measures: plausible, consistent and repeatable values.
#include <gtest/gtest.h>

#include <cmath>

#include "relay.h"
#include "relay_helpers.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;
using test::MotorSettings50;
using test::StartAndRun;
using test::Step;
using test::U32;

std::vector<uint16_t> Measurements(const Relay& relay) {
    std::vector<uint16_t> words(46 + 8);
    EXPECT_EQ(relay.Read(30, 46, words.data()), ExceptionCode::kNone);
    EXPECT_EQ(relay.Read(90, 8, words.data() + 46), ExceptionCode::kNone);
    return words;
}

TEST(Physics, StoppedMotorDrawsNothingOnAHealthySupply) {
    Relay relay{MotorSettings50()};
    Step(relay, 2s);
    for (uint16_t reg = 30; reg <= 43; ++reg) {
        EXPECT_EQ(relay.Value(reg), 0) << reg;
    }
    for (uint16_t reg = 48; reg <= 50; ++reg) {
        EXPECT_NEAR(relay.Value(reg), 400, 8) << reg;
    }
    for (uint16_t reg = 45; reg <= 47; ++reg) {
        EXPECT_NEAR(relay.Value(reg), 231, 5) << reg;
    }
    EXPECT_NEAR(relay.Value(56), 500, 2);
    EXPECT_EQ(U32(relay, 62), 0u);
    EXPECT_EQ(relay.Value(66), 0);
    EXPECT_EQ(relay.Value(57), 999) << "no auto-reclose pending";
    EXPECT_EQ(relay.Value(58), 999) << "no overload countdown";
    EXPECT_GT(relay.Value(55), 2000) << "insulation in tenths of a megaohm";
}

TEST(Physics, StartingCurrentPeaksThenSettlesNearTheRunningCurrent) {
    Relay relay{MotorSettings50()};
    ASSERT_TRUE(relay.Start(CommandSource::kLocal));
    Step(relay, 100ms);
    EXPECT_EQ(relay.Motor(), MotorState::kStarting);
    EXPECT_GT(relay.Value(30), 3 * 500) << "several times the 50.0 A rated current, in tenths";
    Step(relay, 5s);
    EXPECT_EQ(relay.Motor(), MotorState::kRunning);
    for (uint16_t reg = 30; reg <= 32; ++reg) {
        EXPECT_NEAR(relay.Value(reg), 450, 15) << "0.9 of the rated current";
    }
    EXPECT_GT(relay.Value(42), 2500) << "starting current kept";
    EXPECT_EQ(relay.Value(44), 3) << "start time in seconds";
    EXPECT_NEAR(relay.Value(66), 855, 15) << "cos phi in thousandths";
    EXPECT_LT(relay.Value(96), 5) << "unbalance percent";
    EXPECT_NEAR(relay.Value(33), 450, 10) << "positive sequence near the phase currents";
    EXPECT_LT(relay.Value(34), 10) << "little earth current";
}

TEST(Physics, PowersAreConsistentWithVoltagesCurrentsAndCosPhi) {
    Relay relay{MotorSettings50()};
    StartAndRun(relay);
    double active = 0;
    for (uint16_t k = 0; k < 3; ++k) {
        const double volts = relay.Value(45 + k);
        const double amps = relay.Value(30 + k) / 10.0;
        active += volts * amps * relay.Value(66 + k) / 1000.0;
    }
    const double p = U32(relay, 62) / 100.0;
    const double q = U32(relay, 64) / 100.0;
    const double s = U32(relay, 60) / 100.0;
    EXPECT_NEAR(p, active / 1000, 0.01 * p);
    EXPECT_NEAR(s, std::hypot(p, q), 0.01 * s);
    EXPECT_GT(s, p);
    EXPECT_NEAR(p, std::sqrt(3.0) * 0.4 * 45 * 0.855, 1.0) << "about 26.6 kW";
}

TEST(Physics, EnergiesAndHoursAccumulateWhileRunning) {
    Relay relay{MotorSettings50()};
    StartAndRun(relay);
    const double kw = U32(relay, 62) / 100.0;
    const uint32_t before = U32(relay, 92);
    Step(relay, 1h, 1s);
    EXPECT_NEAR((U32(relay, 92) - before) / 10.0, kw, 0.02 * kw) << "kWh in tenths";
    EXPECT_GT(U32(relay, 90), U32(relay, 92)) << "apparent above active";
    EXPECT_GT(U32(relay, 94), 0u);
    EXPECT_EQ(relay.Value(54), 1);
}

TEST(Physics, CurrentUnitsFollowTheTransformerRating) {
    struct Case {
        int16_t ct;
        int16_t rated;
        uint16_t expected;  // phase 1 at 0.9 of the rated current
    };
    const Case cases[] = {
        {100, 50, 455},  // tenths of an ampere up to a 100 A transformer
        {101, 50, 45},   // whole amperes above
        {20, 10, 91},
        {800, 630, 573},
    };
    for (const Case& c : cases) {
        Relay relay{MotorSettings50({{150, c.ct}, {151, c.rated}})};
        StartAndRun(relay);
        EXPECT_NEAR(relay.Value(30), c.expected, c.expected * 0.01 + 1) << c.ct;
    }
}

TEST(Physics, RepeatsItselfForTheSameSeedOnly) {
    const auto trace = [](uint64_t seed) {
        RelaySettings settings = MotorSettings50();
        settings.seed = seed;
        Relay relay(settings);
        StartAndRun(relay);
        std::vector<uint16_t> all;
        for (int k = 0; k < 20; ++k) {
            Step(relay, 700ms);
            const auto words = Measurements(relay);
            all.insert(all.end(), words.begin(), words.end());
        }
        return all;
    };
    EXPECT_EQ(trace(7), trace(7));
    EXPECT_NE(trace(7), trace(8));
}

TEST(Physics, ThermalModelHeatsAboveRatingAndCoolsWhenStopped) {
    Relay relay{MotorSettings50({{167, 0}})};  // watch the model without its protection
    StartAndRun(relay);
    relay.Plant().load = 1.0;
    Step(relay, 30min, 1s);
    const uint32_t atRating = U32(relay, 73);
    relay.Plant().load = 1.5;
    Step(relay, 10s);
    const uint32_t overloaded = U32(relay, 73);
    EXPECT_GT(overloaded, atRating);
    EXPECT_LT(relay.Value(58), 600) << "seconds left before an overload trip";
    Step(relay, 10s);
    EXPECT_GT(U32(relay, 73), overloaded);
    relay.Stop(CommandSource::kLocal);
    uint32_t previous = U32(relay, 73);
    for (int k = 0; k < 5; ++k) {
        Step(relay, 1min, 1s);
        EXPECT_LT(U32(relay, 73), previous);
        previous = U32(relay, 73);
    }
    EXPECT_EQ(relay.Value(58), 999);
}

TEST(Physics, CoolingIsSlowerStoppedByParameter169) {
    const auto heatAfterCooling = [](int16_t factor) {
        Relay relay{MotorSettings50({{167, 0}, {169, factor}})};
        StartAndRun(relay);
        relay.Plant().load = 2.0;
        Step(relay, 30s);
        relay.Stop(CommandSource::kLocal);
        Step(relay, 20min, 1s);
        return U32(relay, 73);
    };
    EXPECT_GT(heatAfterCooling(40), 3 * heatAfterCooling(10));
}

TEST(Physics, TemperatureRegistersCarryCodesOrDegrees) {
    struct Case {
        uint16_t reg;
        int16_t type;
        SensorFault fault;
        int16_t correction;
        double ambient;
        uint16_t expected;
    };
    const Case cases[] = {
        {69, 0, SensorFault::kNone, 0, 20, 5000},
        {69, 0, SensorFault::kShort, 0, 20, 5000},  // a sensor switched off reports nothing else
        {69, 1, SensorFault::kShort, 0, 20, 1000},
        {69, 2, SensorFault::kBreak, 0, 20, 2000},
        {69, 1, SensorFault::kNone, 0, 20, 20},
        {69, 1, SensorFault::kNone, -9, -15, static_cast<uint16_t>(-24)},
        {70, 0, SensorFault::kNone, 0, 20, 5000},
        {70, 3, SensorFault::kBreak, 0, 20, 2000},
        {70, 1, SensorFault::kNone, 5, 20, 25},
    };
    for (const Case& c : cases) {
        const bool first = c.reg == 69;
        Relay relay{MotorSettings50({{first ? uint16_t{201} : uint16_t{204}, c.type},
                                     {first ? uint16_t{203} : uint16_t{207}, c.correction}})};
        relay.Plant().ambientCelsius = c.ambient;
        relay.SensorFaults()[first ? 0 : 1] = c.fault;
        Step(relay, 1h, 10s);
        EXPECT_EQ(relay.Value(c.reg), c.expected) << c.reg << " type " << c.type;
    }
}

TEST(Physics, ARunningMotorWarmsItsWindings) {
    Relay relay{MotorSettings50({{201, 1}})};
    StartAndRun(relay);
    Step(relay, 1h, 1s);
    const auto celsius = static_cast<int16_t>(relay.Value(69));
    EXPECT_GT(celsius, 50);
    EXPECT_LT(celsius, 90);
}

}  // namespace
}  // namespace qav::sim
