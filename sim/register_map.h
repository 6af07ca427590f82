// Which holding registers the relay has, and what each area holds.
#pragma once

#include <cstdint>

namespace qav::sim {

enum class Area {
    kNone,          // no such register: illegal data address
    kIdentity,      // 0 identity, 1 firmware version
    kMeasurement,   // 30-74 and 90-97
    kJournalIndex,  // 75
    kClock,         // 80-85, BCD, writable
    kParameter,     // 150-246, writable within limits
    kTripValue,     // 300-331
    kStatus,        // 900 status word, 901-902 alarm bits
    kCommand,       // 903, writable
    kJournal,       // 1000-1249
};

Area AreaOf(uint16_t reg);
bool IsWritable(Area area);

namespace reg {
constexpr uint16_t kIdentity = 0;
constexpr uint16_t kFirmware = 1;
constexpr uint16_t kPhaseCurrent1 = 30;
constexpr uint16_t kLineVoltageAB = 48;
constexpr uint16_t kLineVoltageCA = 50;
constexpr uint16_t kSensor1 = 69;
constexpr uint16_t kSensor2 = 70;
constexpr uint16_t kHeatHigh = 73;
constexpr uint16_t kJournalIndex = 75;
constexpr uint16_t kClockSeconds = 80;
constexpr uint16_t kLastMeasurement = 97;
constexpr uint16_t kTripValues = 300;
constexpr uint16_t kStatus = 900;
constexpr uint16_t kAlarmsLow = 901;
constexpr uint16_t kAlarmsHigh = 902;
constexpr uint16_t kCommand = 903;
constexpr uint16_t kJournal = 1000;
constexpr uint16_t kJournalEnd = 1250;
}  // namespace reg

// Values written to the command register.
namespace command {
constexpr uint16_t kStop = 0;
constexpr uint16_t kStart = 2;
constexpr uint16_t kResetAlarms = 55;
constexpr uint16_t kRestart = 88;
}  // namespace command

// Status word bits.
namespace status {
constexpr uint16_t kAlarm = 1u << 0;
constexpr uint16_t kMotorRelay = 1u << 1;
constexpr uint16_t kFunctionalRelay = 1u << 2;
constexpr unsigned kFunctionalModeShift = 4;
constexpr uint16_t kMinimalSet = 1u << 6;
}  // namespace status

// Temperature register codes.
namespace temperature {
constexpr uint16_t kShort = 1000;
constexpr uint16_t kBreak = 2000;
constexpr uint16_t kOff = 5000;
}  // namespace temperature

// The relay counts current in tenths of an ampere behind a current transformer of up to 100 A, in whole
// amperes behind a larger one.
constexpr double CurrentUnitsPerAmpere(int ctRating) {
    return ctRating <= 100 ? 10.0 : 1.0;
}

}  // namespace qav::sim
