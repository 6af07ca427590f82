// The relay's register map, parameters, commands, restart and journal, on the model itself.
#include <gtest/gtest.h>

#include "relay.h"
#include "relay_helpers.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;
using test::MotorSettings50;
using test::StartAndRun;
using test::Step;

TEST(RegisterMap, ReadsExistingSpansAndRefusesAnyOtherRegister) {
    struct Case {
        uint16_t first;
        uint16_t count;
        ExceptionCode expected;
    };
    const Case cases[] = {
        {0, 2, ExceptionCode::kNone},
        {1, 2, ExceptionCode::kIllegalAddress},
        {29, 1, ExceptionCode::kIllegalAddress},
        {30, 46, ExceptionCode::kNone},  // 30-75
        {30, 47, ExceptionCode::kIllegalAddress},
        {76, 1, ExceptionCode::kIllegalAddress},
        {79, 2, ExceptionCode::kIllegalAddress},
        {80, 6, ExceptionCode::kNone},
        {80, 7, ExceptionCode::kIllegalAddress},
        {89, 1, ExceptionCode::kIllegalAddress},
        {90, 8, ExceptionCode::kNone},
        {97, 2, ExceptionCode::kIllegalAddress},
        {149, 1, ExceptionCode::kIllegalAddress},
        {150, 97, ExceptionCode::kNone},
        {246, 2, ExceptionCode::kIllegalAddress},
        {299, 1, ExceptionCode::kIllegalAddress},
        {300, 32, ExceptionCode::kNone},
        {300, 33, ExceptionCode::kIllegalAddress},
        {899, 1, ExceptionCode::kIllegalAddress},
        {900, 4, ExceptionCode::kNone},
        {903, 2, ExceptionCode::kIllegalAddress},
        {999, 1, ExceptionCode::kIllegalAddress},
        {1000, 125, ExceptionCode::kNone},
        {1125, 125, ExceptionCode::kNone},
        {1249, 1, ExceptionCode::kNone},
        {1249, 2, ExceptionCode::kIllegalAddress},
        {65535, 1, ExceptionCode::kIllegalAddress},
        {65535, 2, ExceptionCode::kIllegalAddress},
    };
    const Relay relay{RelaySettings{}};
    for (const Case& c : cases) {
        uint16_t words[125];
        EXPECT_EQ(relay.Read(c.first, c.count, words), c.expected) << c.first << "+" << c.count;
    }
}

TEST(RegisterMap, OnlyClockParametersAndCommandAreWritable) {
    Relay relay{MotorSettings50()};
    const uint16_t readOnly[] = {0,   1,   30,  44,   73,   75, 90, 97,  300, 331,
                                 900, 901, 902, 1000, 1249, 2,  86, 904, 1250};
    for (const uint16_t reg : readOnly) {
        EXPECT_EQ(relay.Write(reg, 0), ExceptionCode::kIllegalAddress) << reg;
    }
    EXPECT_EQ(relay.Write(85, 0x24), ExceptionCode::kNone);
    EXPECT_EQ(relay.Write(151, 40), ExceptionCode::kNone);
    EXPECT_EQ(relay.Write(903, 55), ExceptionCode::kNone);
}

TEST(Identity, RegistersZeroAndOneAndParameter230) {
    RelaySettings settings;
    settings.identity = 26;
    settings.firmware = 9;
    const Relay relay(settings);
    EXPECT_EQ(relay.Value(0), 26);
    EXPECT_EQ(relay.Value(1), 9);
    EXPECT_EQ(relay.Value(230), 9);
}

// Factory defaults and limits as the relay's catalogue gives them, in register units (tenths for T rows).
TEST(Parameters, FactoryDefaultsAndLimits) {
    struct Case {
        uint16_t reg;
        int16_t factory;
        int16_t min;
        int16_t max;
    };
    const Case cases[] = {
        {150, 100, 20, 800},  {151, 0, 0, 630},     {152, 5, 1, 5},       {155, 40, 8, 90},
        {156, 100, 3, 6000},  {157, 2, 0, 2},       {177, 320, 270, 415}, {180, 415, 330, 475},
        {189, 497, 350, 600}, {192, 510, 500, 650}, {200, 0, 0, 2},       {203, 0, -9, 9},
        {216, 4, 1, 20},      {222, 1, 1, 247},     {232, 0, -100, 100},  {246, 15, 5, 20},
    };
    for (const Case& c : cases) {
        Relay relay{RelaySettings{}};
        EXPECT_EQ(static_cast<int16_t>(relay.Value(c.reg)), c.factory) << c.reg;
        for (const int16_t good : {c.min, c.max}) {
            EXPECT_EQ(relay.Write(c.reg, static_cast<uint16_t>(good)), ExceptionCode::kNone)
                << c.reg << "=" << good;
            EXPECT_EQ(static_cast<int16_t>(relay.Value(c.reg)), good);
        }
        for (const int bad : {c.min - 1, c.max + 1}) {
            EXPECT_EQ(relay.Write(c.reg, static_cast<uint16_t>(bad)), ExceptionCode::kIllegalValue)
                << c.reg << "=" << bad;
            EXPECT_EQ(static_cast<int16_t>(relay.Value(c.reg)), c.max) << "a refused write changes nothing";
        }
    }
}

TEST(Parameters, EveryRowAcceptsItsLimitsAndRefusesBeyond) {
    for (uint16_t reg = 150; reg <= 246; ++reg) {
        const ParameterDef* def = FindParameter(reg);
        ASSERT_NE(def, nullptr);
        ASSERT_EQ(def->reg, reg);
        if (!def->writable) {
            continue;
        }
        Relay relay{RelaySettings{}};
        EXPECT_EQ(relay.Write(reg, static_cast<uint16_t>(def->min)), ExceptionCode::kNone) << reg;
        EXPECT_EQ(relay.Write(reg, static_cast<uint16_t>(def->max)), ExceptionCode::kNone) << reg;
        EXPECT_EQ(relay.Write(reg, static_cast<uint16_t>(def->min - 1)), ExceptionCode::kIllegalValue) << reg;
        EXPECT_EQ(relay.Write(reg, static_cast<uint16_t>(def->max + 1)), ExceptionCode::kIllegalValue) << reg;
        EXPECT_EQ(relay.Value(reg), static_cast<uint16_t>(def->max));
    }
    EXPECT_EQ(FindParameter(149), nullptr);
    EXPECT_EQ(FindParameter(247), nullptr);
}

TEST(Parameters, TheRelaysOwnParametersAreNeverWritable) {
    RelaySettings settings;
    settings.firmware = 12;
    const uint16_t own[] = {217, 218, 219, 220, 230};
    for (const uint16_t reg : own) {
        Relay relay(settings);
        const uint16_t before = relay.Value(reg);
        EXPECT_EQ(relay.Write(reg, before), ExceptionCode::kIllegalValue) << reg;
        EXPECT_EQ(relay.Write(reg, 1), ExceptionCode::kIllegalValue) << reg;
        EXPECT_EQ(relay.Value(reg), before);
    }
}

TEST(Parameters, NegativeValuesTravelAsTwosComplement) {
    Relay relay{RelaySettings{}};
    EXPECT_EQ(relay.Write(203, 0xFFF7), ExceptionCode::kNone);  // -9
    EXPECT_EQ(relay.Value(203), 0xFFF7);
    EXPECT_EQ(relay.Write(232, 0xFF9C), ExceptionCode::kNone);  // -10.0
    EXPECT_EQ(relay.Value(232), 0xFF9C);
    EXPECT_EQ(relay.Write(203, 0xFFF6), ExceptionCode::kIllegalValue);  // -10
    EXPECT_EQ(relay.Write(150, 0xFFFF), ExceptionCode::kIllegalValue);  // not 65535, and not -1 either
}

TEST(Parameters, HourCountersFollowTheDeviceAndTheMotor) {
    Relay relay{MotorSettings50()};
    StartAndRun(relay);
    Step(relay, 2h, 1s);
    EXPECT_EQ(relay.Value(217), 2);
    EXPECT_EQ(relay.Value(218), 2);
    EXPECT_EQ(relay.Value(54), 2);
    relay.Stop(CommandSource::kLocal);
    Step(relay, 1h, 1s);
    EXPECT_EQ(relay.Value(217), 3);
    EXPECT_EQ(relay.Value(218), 2);
}

TEST(Commands, RemoteStartAndStopNeedPermissionAndARatedCurrent) {
    struct Case {
        int16_t remote;
        int16_t rated;
        bool starts;
    };
    const Case cases[] = {{0, 50, false}, {1, 0, false}, {1, 50, true}, {2, 50, true}};
    for (const Case& c : cases) {
        RelaySettings settings;
        settings.parameters = {{200, c.remote}, {151, c.rated}};
        Relay relay(settings);
        EXPECT_EQ(relay.Write(903, 2), ExceptionCode::kNone) << "a refused command is still acknowledged";
        Step(relay, 200ms);
        EXPECT_EQ(relay.Motor() != MotorState::kStopped, c.starts) << c.remote << " " << c.rated;
        EXPECT_EQ((relay.Value(900) & 2) != 0, c.starts);
    }
}

TEST(Commands, RemoteStopIsIgnoredWithoutPermission) {
    Relay relay{MotorSettings50({{200, 0}})};
    StartAndRun(relay);
    ASSERT_EQ(relay.Motor(), MotorState::kRunning);
    EXPECT_EQ(relay.Write(903, 0), ExceptionCode::kNone);
    EXPECT_EQ(relay.Motor(), MotorState::kRunning);
    ASSERT_EQ(relay.Write(200, 1), ExceptionCode::kNone);
    EXPECT_EQ(relay.Write(903, 0), ExceptionCode::kNone);
    EXPECT_EQ(relay.Motor(), MotorState::kStopped);
    EXPECT_EQ(relay.Value(903), 0);
}

TEST(Commands, UnknownValuesAreRefused) {
    Relay relay{MotorSettings50()};
    ASSERT_EQ(relay.Write(903, 55), ExceptionCode::kNone);
    const uint16_t unknown[] = {1, 3, 54, 56, 87, 89, 0xFFFF};
    for (const uint16_t value : unknown) {
        EXPECT_EQ(relay.Write(903, value), ExceptionCode::kIllegalValue) << value;
    }
    EXPECT_EQ(relay.Value(903), 55) << "the register keeps the last command carried out";
}

TEST(Commands, ResetClearsAlarmsAndKeepsJournalAndTripValues) {
    Relay relay{MotorSettings50()};
    relay.RaiseAlarm(13, 452, true);
    relay.RaiseAlarm(20, 0, false);
    EXPECT_EQ(relay.Value(900) & 1, 1);
    EXPECT_EQ(relay.Value(901), 1u << 13);
    EXPECT_EQ(relay.Value(902), 1u << 4);
    EXPECT_FALSE(relay.Start(CommandSource::kLocal)) << "no start while an alarm stands";
    ASSERT_EQ(relay.Write(903, 55), ExceptionCode::kNone);
    EXPECT_EQ(relay.Value(900) & 1, 0);
    EXPECT_EQ(relay.Value(901), 0);
    EXPECT_EQ(relay.Value(902), 0);
    EXPECT_EQ(relay.Value(313), 452);
    EXPECT_EQ(relay.AlarmJournal().Count(), 2u);
    EXPECT_TRUE(relay.Start(CommandSource::kLocal));
}

TEST(Commands, RestartSilencesTheRelayStopsTheMotorAndStartsValuesAfresh) {
    Relay relay{MotorSettings50()};
    StartAndRun(relay);
    Step(relay, 60s);
    relay.RaiseAlarm(5, 10, false);
    ASSERT_GT(relay.Value(39), 0) << "a peak average current to forget";
    ASSERT_EQ(relay.Write(222, 7), ExceptionCode::kNone);
    EXPECT_EQ(relay.Address(), 1) << "the address changes at the restart";
    const uint32_t energy = test::U32(relay, 92);

    ASSERT_EQ(relay.Write(903, 88), ExceptionCode::kNone);
    EXPECT_FALSE(relay.Answering());
    EXPECT_EQ(relay.Motor(), MotorState::kStopped);
    Step(relay, 1900ms);
    EXPECT_FALSE(relay.Answering());
    Step(relay, 200ms);
    EXPECT_TRUE(relay.Answering());
    EXPECT_EQ(relay.Address(), 7);
    EXPECT_EQ(relay.Alarms(), 0u);
    EXPECT_EQ(relay.Value(39), 0);
    EXPECT_EQ(relay.Value(42), 0) << "no start since the restart";
    EXPECT_EQ(test::U32(relay, 92), energy) << "energy counters survive a restart";
    EXPECT_EQ(relay.AlarmJournal().Count(), 1u);
}

TEST(Commands, FactoryResetTakesEffectAtTheRestart) {
    Relay relay{MotorSettings50()};
    ASSERT_EQ(relay.Write(221, 1), ExceptionCode::kNone);
    ASSERT_EQ(relay.Write(177, 300), ExceptionCode::kNone);
    ASSERT_EQ(relay.Write(903, 88), ExceptionCode::kNone);
    Step(relay, 2100ms);
    EXPECT_EQ(relay.Value(151), 0);
    EXPECT_EQ(relay.Value(177), 320);
    EXPECT_EQ(relay.Value(221), 0);
}

TEST(Commands, EnergyResetClearsTheCounters) {
    Relay relay{MotorSettings50()};
    StartAndRun(relay);
    Step(relay, 60s);
    ASSERT_GT(test::U32(relay, 92), 0u);
    ASSERT_EQ(relay.Write(242, 1), ExceptionCode::kNone);
    const uint16_t counters[] = {90, 92, 94};
    for (const uint16_t reg : counters) {
        EXPECT_EQ(test::U32(relay, reg), 0u) << reg;
    }
}

TEST(Journal, StartsEmpty) {
    const Relay relay{RelaySettings{}};
    EXPECT_EQ(relay.Value(75), 0);
    for (uint16_t reg = 1000; reg < 1250; ++reg) {
        ASSERT_EQ(relay.Value(reg), 0xFFFF) << reg;
    }
}

TEST(Journal, EntryHoldsCodeValueAndBcdTimeStamp) {
    RelaySettings settings;
    settings.clock = {2019, 12, 14, 6, 23, 15};
    Relay relay(settings);
    relay.RaiseAlarm(0, 57, true);
    EXPECT_EQ(relay.Value(75), 0);
    uint16_t entry[5];
    ASSERT_EQ(relay.Read(1000, 5, entry), ExceptionCode::kNone);
    EXPECT_EQ(entry[0], 0);
    EXPECT_EQ(entry[1], 57);
    EXPECT_EQ(entry[2], 0x2315);  // minutes, seconds
    EXPECT_EQ(entry[3], 0x1406);  // day, hours
    EXPECT_EQ(entry[4], 0x1912);  // year - 2000, month
    EXPECT_EQ(relay.Value(1005), 0xFFFF);
}

TEST(Journal, RingWrapsAfterFiftyEntries) {
    Relay relay{RelaySettings{}};
    for (uint16_t k = 0; k < 53; ++k) {
        relay.RaiseAlarm(static_cast<uint8_t>(k % 32), k, false);
    }
    EXPECT_EQ(relay.Value(75), 2);
    EXPECT_EQ(relay.Value(1000 + 5 * 2 + 1), 52) << "newest value";
    EXPECT_EQ(relay.Value(1000 + 5 * 3 + 1), 3) << "oldest kept value";
    EXPECT_EQ(relay.Value(1000 + 5 * 2), 52 % 32);
}

TEST(Forcing, ReadOnlyRegistersHoldAForcedValueUntilReleased) {
    Relay relay{MotorSettings50()};
    ASSERT_EQ(relay.Set(30, 1234), ExceptionCode::kNone);
    Step(relay, 1s);
    EXPECT_EQ(relay.Value(30), 1234);
    relay.Release(30);
    EXPECT_EQ(relay.Value(30), 0);
    EXPECT_EQ(relay.Set(2, 1), ExceptionCode::kIllegalAddress);
    EXPECT_EQ(relay.Set(151, 700), ExceptionCode::kNone) << "parameters are forced beyond their limits";
    EXPECT_EQ(relay.Value(151), 700);
    EXPECT_EQ(relay.Set(80, 0x61), ExceptionCode::kIllegalValue) << "the clock stays a clock";
}

}  // namespace
}  // namespace qav::sim
