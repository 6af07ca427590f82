// Protections that trip from what the relay measures: alarm bits, trip values, motor, journal.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "relay.h"
#include "relay_helpers.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;
using test::MotorSettings50;
using test::StartAndRun;
using test::Step;

struct Case {
    std::string name;
    std::vector<std::pair<uint16_t, int16_t>> parameters;
    std::function<void(Relay&)> fault;
    std::chrono::milliseconds delay;  // the protection's delay: nothing before it, the trip soon after
    uint8_t alarm;
    uint16_t valueRegister;  // 0: none kept
    uint16_t valueLow;
    uint16_t valueHigh;
    bool stopsMotor;
};

const Case kCases[] = {
    // The thermal model would trip first at these currents.
    {"over-current", {{167, 0}}, [](Relay& r) { r.Plant().load = 5.0; }, 10s, 0, 300, 2500, 2560, true},
    {"over-current, shorter delay",
     {{156, 5}, {155, 20}, {167, 0}},
     [](Relay& r) { r.Plant().load = 2.5; },
     500ms,
     0,
     300,
     1250,
     1280,
     true},
    {"minimum voltage", {}, [](Relay& r) { r.Plant().supplyVolts = 300; }, 10s, 12, 312, 290, 305, true},
    {"maximum voltage", {}, [](Relay& r) { r.Plant().supplyVolts = 450; }, 2s, 13, 313, 446, 458, true},
    {"voltage imbalance", {}, [](Relay& r) { r.Set(48, 350); }, 5s, 14, 314, 40, 60, true},
    {"sensor 1 short, warning only",
     {{201, 1}},
     [](Relay& r) { r.SensorFaults()[0] = SensorFault::kShort; },
     0ms,
     21,
     0,
     0,
     0,
     false},
    {"sensor 1 short, stopping",
     {{201, 1}, {209, 1}},
     [](Relay& r) { r.SensorFaults()[0] = SensorFault::kShort; },
     0ms,
     21,
     0,
     0,
     0,
     true},
    {"contact manometer closes",
     {{201, 3}},
     [](Relay& r) { r.SensorFaults()[0] = SensorFault::kShort; },
     0ms,
     21,
     0,
     0,
     0,
     true},
    {"sensor 2 break",
     {{204, 2}},
     [](Relay& r) { r.SensorFaults()[1] = SensorFault::kBreak; },
     0ms,
     24,
     0,
     0,
     0,
     false},
    {"sensor 2 over temperature",
     {{204, 1}, {205, 30}},
     [](Relay& r) { r.Plant().ambientCelsius = 40; },
     0ms,
     9,
     0,
     0,
     0,
     true},
};

class ProtectionTrips : public testing::TestWithParam<Case> {};

TEST_P(ProtectionTrips, AfterItsDelay) {
    const Case& c = GetParam();
    RelaySettings settings = MotorSettings50(c.parameters);
    settings.clock = {2024, 5, 6, 7, 8, 0};
    Relay relay(settings);
    StartAndRun(relay);
    ASSERT_EQ(relay.Motor(), MotorState::kRunning);
    ASSERT_EQ(relay.Alarms(), 0u);
    c.fault(relay);
    // A slow quantity (a temperature) reaches its threshold in its own time.
    if (c.alarm == 9) {
        Step(relay, 30min, 1s);
    } else if (c.delay > 200ms) {
        Step(relay, c.delay - 200ms);
        EXPECT_EQ(relay.Alarms(), 0u) << "tripped before its delay";
    }
    Step(relay, 600ms);
    ASSERT_EQ(relay.Alarms(), 1u << c.alarm);
    EXPECT_EQ(relay.Value(900) & 1, 1);
    EXPECT_EQ(relay.Value(c.alarm < 16 ? 901 : 902), 1u << (c.alarm % 16));
    if (c.valueRegister != 0) {
        EXPECT_GE(relay.Value(c.valueRegister), c.valueLow);
        EXPECT_LE(relay.Value(c.valueRegister), c.valueHigh);
    }
    EXPECT_EQ(relay.Motor() == MotorState::kStopped, c.stopsMotor);
    ASSERT_EQ(relay.AlarmJournal().Count(), 1u);
    const uint16_t newest = relay.Value(75);
    const uint16_t entry = static_cast<uint16_t>(1000 + 5 * newest);
    EXPECT_EQ(relay.Value(entry), c.alarm);
    if (c.valueRegister != 0) {
        EXPECT_EQ(relay.Value(entry + 1), relay.Value(c.valueRegister));
    }
    EXPECT_EQ(relay.Value(entry + 4), 0x2405) << "stamped with the relay's clock";

    Step(relay, 20s);
    EXPECT_EQ(relay.AlarmJournal().Count(), 1u) << "a standing alarm is journalled once";
}

INSTANTIATE_TEST_SUITE_P(Protections, ProtectionTrips, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                             std::string name = param.param.name;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

TEST(Protections, ThermalOverloadTripsAndCountsTheCoolingWait) {
    Relay relay{MotorSettings50()};
    StartAndRun(relay);
    relay.Plant().load = 2.0;
    Step(relay, 20s);
    EXPECT_EQ(relay.Alarms(), 0u);
    EXPECT_LT(relay.Value(58), 60) << "the countdown to the trip runs";
    Step(relay, 60s);
    ASSERT_EQ(relay.Alarms(), 1u << 1);
    EXPECT_EQ(relay.Motor(), MotorState::kStopped);
    EXPECT_EQ(relay.Value(301), 100) << "heating percent at the trip";
    const uint16_t wait = relay.Value(59);
    EXPECT_GT(wait, 0);
    EXPECT_LE(wait, 900);
    Step(relay, 1min, 1s);
    EXPECT_LT(relay.Value(59), wait);
    ASSERT_EQ(relay.Write(903, 55), ExceptionCode::kNone);
    EXPECT_EQ(relay.Alarms(), 0u);
    Step(relay, 100ms);
    EXPECT_EQ(relay.Value(59), 999);
}

TEST(Protections, TripOnTheStepThatCompletesTheirDelay) {
    Relay relay{MotorSettings50({{181, 10}})};  // 1.0 s
    relay.Plant().supplyVolts = 450;
    Step(relay, 900ms);
    EXPECT_EQ(relay.Alarms(), 0u);
    Step(relay, 100ms);
    EXPECT_EQ(relay.Alarms(), 1u << 13);
}

TEST(Protections, SwitchedOffProtectionsDoNotTrip) {
    Relay relay{MotorSettings50({{182, 0}, {157, 0}})};
    StartAndRun(relay);
    relay.Plant().supplyVolts = 450;
    relay.Plant().load = 5.0;
    Step(relay, 15s);
    EXPECT_EQ(relay.Alarms() & ((1u << 13) | 1u), 0u);
}

TEST(Protections, OverCurrentWaitsForTheEndOfTheStart) {
    Relay relay{MotorSettings50({{156, 3}})};  // 0.3 s, shorter than the start
    relay.Start(CommandSource::kLocal);
    Step(relay, 2s);
    EXPECT_EQ(relay.Alarms(), 0u);
}

TEST(Protections, ResetWhileTheFaultPersistsTripsAgainAfterTheDelay) {
    Relay relay{MotorSettings50()};
    relay.Plant().supplyVolts = 450;
    Step(relay, 2100ms);
    ASSERT_EQ(relay.Alarms(), 1u << 13) << "voltage protections watch a stopped motor too";
    relay.ResetAlarms();
    Step(relay, 1500ms);
    EXPECT_EQ(relay.Alarms(), 0u);
    Step(relay, 600ms);
    EXPECT_EQ(relay.Alarms(), 1u << 13);
    EXPECT_EQ(relay.AlarmJournal().Count(), 2u);
}

TEST(Protections, ForcedMeasurementsActOnTheProtections) {
    Relay relay{MotorSettings50()};
    ASSERT_EQ(relay.Set(49, 200), ExceptionCode::kNone);
    Step(relay, 10100ms);
    EXPECT_NE(relay.Alarms() & (1u << 12), 0u);
    EXPECT_EQ(relay.Value(312), 200);
}

}  // namespace
}  // namespace qav::sim
